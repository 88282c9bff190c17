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
  return rc == static_cast<size_t>(-1) ? std::string() : std::string(out, out_ptr);
}

TEST(Cp1251, EveryDefinedByteAgreesWithTheCLibraryConverterAndTextsRoundTrip) {
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
  const std::string text = "Безымянный проект №5 — «отчёт»";
  const std::string bytes = platform::Utf8ToCp1251(text);
  EXPECT_EQ(bytes.size(), 30u);
  EXPECT_EQ(static_cast<unsigned char>(bytes[0]), 0xC1);  // Б
  EXPECT_EQ(platform::Cp1251ToUtf8(bytes), text);
  EXPECT_EQ(platform::Utf8ToCp1251(""), "");
  EXPECT_EQ(platform::Cp1251ToUtf8("Parameters.dat"), "Parameters.dat");
}

TEST(Cp1251, CharactersOutsideTheCodePageAndMalformedUtf8AreRefused) {
  for (const char* text : {"日本", "Straße", "\xD0" /* truncated */, "\xC0\xB1" /* overlong */,
                           "\xED\xA0\x80" /* surrogate */, "\xFF"}) {
    EXPECT_THROW(platform::Utf8ToCp1251(text), EConvertError) << text;
  }
  EXPECT_FALSE(platform::FitsCp1251("α"));
  EXPECT_FALSE(platform::FitsCp1251("\xD0"));
  EXPECT_TRUE(platform::FitsCp1251("Проект 1"));
  // The message names the first character refused, one outside the BMP too.
  for (const auto& [text, refused] : {std::pair{"a€ωb", "ω"}, std::pair{"a😀b", "😀"}}) {
    try {
      platform::Utf8ToCp1251(text);
      ADD_FAILURE() << text;
    } catch (const EConvertError& e) {
      EXPECT_EQ(e.Message(),
                std::string("Символ «") + refused + "» невозможно записать в кодировке Windows-1251");
    }
  }
}

}  // namespace
