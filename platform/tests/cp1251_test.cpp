#include "platform/cp1251.h"

#include <gtest/gtest.h>
#include <iconv.h>

#include <string>

#include "platform/exceptions.h"

namespace {

// The C library's own converter is an independent reference for the table.
std::string IconvToUtf8(unsigned char byte) {
  iconv_t cd = iconv_open("UTF-8", "CP1251");
  char in[1] = {static_cast<char>(byte)};
  char out[8] = {};
  char* in_ptr = in;
  char* out_ptr = out;
  size_t in_left = 1, out_left = sizeof out;
  const size_t rc = iconv(cd, &in_ptr, &in_left, &out_ptr, &out_left);
  iconv_close(cd);
  if (rc == static_cast<size_t>(-1)) return {};
  return std::string(out, out_ptr);
}

TEST(Cp1251, EveryDefinedByteAgreesWithTheCLibraryConverter) {
  for (int byte = 1; byte < 256; ++byte) {
    const std::string expected = IconvToUtf8(static_cast<unsigned char>(byte));
    const std::string single(1, static_cast<char>(byte));
    if (expected.empty()) {
      EXPECT_THROW(platform::Cp1251ToUtf8(single), EConvertError) << byte;
      continue;
    }
    EXPECT_EQ(platform::Cp1251ToUtf8(single), expected) << byte;
    EXPECT_EQ(platform::Utf8ToCp1251(expected), single) << byte;
  }
}

TEST(Cp1251, RussianTextRoundTrips) {
  const std::string text = "Безымянный проект №5 — «отчёт»";
  const std::string bytes = platform::Utf8ToCp1251(text);
  EXPECT_EQ(bytes.size(), 30u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xC1);  // Б
  EXPECT_EQ(platform::Cp1251ToUtf8(bytes), text);
}

TEST(Cp1251, CharactersOutsideTheCodePageAreRefused) {
  EXPECT_THROW(platform::Utf8ToCp1251("日本"), EConvertError);
  EXPECT_THROW(platform::Utf8ToCp1251("Straße"), EConvertError);
  EXPECT_FALSE(platform::FitsCp1251("α"));
  EXPECT_TRUE(platform::FitsCp1251("Проект 1"));
  try {
    platform::Utf8ToCp1251("a€ωb");
    FAIL();
  } catch (const EConvertError& e) {
    EXPECT_NE(e.Message().find("ω"), std::string::npos) << e.Message();
  }
}

TEST(Cp1251, MalformedUtf8IsRefused) {
  EXPECT_THROW(platform::Utf8ToCp1251("\xD0"), EConvertError);          // truncated
  EXPECT_THROW(platform::Utf8ToCp1251("\xC0\xB1"), EConvertError);      // overlong
  EXPECT_THROW(platform::Utf8ToCp1251("\xED\xA0\x80"), EConvertError);  // surrogate
  EXPECT_THROW(platform::Utf8ToCp1251("\xFF"), EConvertError);
  EXPECT_FALSE(platform::FitsCp1251("\xD0"));
}

TEST(Cp1251, EmptyAndAsciiTextsAreUnchanged) {
  EXPECT_EQ(platform::Utf8ToCp1251(""), "");
  EXPECT_EQ(platform::Cp1251ToUtf8("Parameters.dat"), "Parameters.dat");
}

}  // namespace
