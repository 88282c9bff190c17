#include "platform/exceptions.h"

#include <gtest/gtest.h>

namespace {

TEST(ExceptionFamily, CarriesTheMessageText) {
  const Exception error("Невозможно открыть файл");
  EXPECT_EQ(error.Message(), "Невозможно открыть файл");
  EXPECT_STREQ(error.what(), "Невозможно открыть файл");
}

TEST(ExceptionFamily, EveryMemberIsCaughtAsException) {
  auto caught_as_base = [](auto thrown) {
    try {
      throw thrown;
    } catch (const Exception& e) {
      return e.Message();
    }
  };
  EXPECT_EQ(caught_as_base(EOutOfMemory("a")), "a");
  EXPECT_EQ(caught_as_base(EFOpenError("b")), "b");
  EXPECT_EQ(caught_as_base(EFCreateError("c")), "c");
  EXPECT_EQ(caught_as_base(EReadError("d")), "d");
  EXPECT_EQ(caught_as_base(EConvertError("e")), "e");
}

TEST(ExceptionFamily, OutOfMemoryIsAHeapException) {
  try {
    throw EOutOfMemory("нет памяти");
  } catch (const EHeapException& e) {
    EXPECT_EQ(e.Message(), "нет памяти");
    return;
  }
  FAIL();
}

}  // namespace
