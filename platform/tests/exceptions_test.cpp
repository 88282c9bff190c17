#include "platform/exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(ExceptionFamily, EveryMemberCarriesItsTextAndIsCaughtAsException) {
  const Exception error("Невозможно открыть файл");
  EXPECT_EQ(error.Message(), "Невозможно открыть файл");
  EXPECT_STREQ(error.what(), "Невозможно открыть файл");
  const auto caught_as_base = [](auto thrown) {
    try {
      throw thrown;
    } catch (const Exception& e) {
      return e.Message();
    }
  };
  EXPECT_EQ(caught_as_base(EOutOfMemory("a")) + caught_as_base(EFOpenError("b")) +
                caught_as_base(EFCreateError("c")) + caught_as_base(EReadError("d")) +
                caught_as_base(EConvertError("e")),
            "abcde");
  try {
    throw EOutOfMemory("нет памяти");
  } catch (const EHeapException& e) {
    EXPECT_EQ(e.Message(), "нет памяти");
  }
}

}  // namespace
