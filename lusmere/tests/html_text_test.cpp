#include "lusmere/html_text.h"

#include <gtest/gtest.h>

#include "platform/exceptions.h"

namespace {

using lusmere::HtmlText;

TEST(HtmlText, EscapesTheCharactersThatHtmlReserves) {
  EXPECT_EQ(HtmlText(R"(a & b < c > d "e" 'f')"), "a &amp; b &lt; c &gt; d &quot;e&quot; &#39;f&#39;");
  EXPECT_EQ(HtmlText("&amp;"), "&amp;amp;");
  EXPECT_EQ(HtmlText("<script>"), "&lt;script&gt;");
}

TEST(HtmlText, KeepsCyrillicAndWhitespace) {
  EXPECT_EQ(HtmlText("Оценка ковариационной матрицы"), "Оценка ковариационной матрицы");
  EXPECT_EQ(HtmlText("a\tb\nc\rd"), "a\tb\nc\rd");
  EXPECT_EQ(HtmlText(""), "");
}

TEST(HtmlText, ShowsTheLabelsMarkupAsGreekLettersWithSuperscripts) {
  EXPECT_EQ(HtmlText("Критерий \\omega^{2}"), "Критерий ω<sup>2</sup>");
  EXPECT_EQ(HtmlText("Критерий \\Omega^{2}"), "Критерий Ω<sup>2</sup>");
  EXPECT_EQ(HtmlText("Критерий \\chi^{2}"), "Критерий χ<sup>2</sup>");
  EXPECT_EQ(HtmlText("\\Sigma"), "Σ");
  EXPECT_EQ(HtmlText("\\Sigma 1"), "Σ 1");
}

TEST(HtmlText, SuperscriptsNestAndAreEscapedInside) {
  EXPECT_EQ(HtmlText("e^{\\chi^{2}}"), "e<sup>χ<sup>2</sup></sup>");
  EXPECT_EQ(HtmlText("x^{a<b}"), "x<sup>a&lt;b</sup>");
  EXPECT_EQ(HtmlText("x^{}"), "x<sup></sup>");
}

TEST(HtmlText, LeavesMarkupItDoesNotKnowAsWritten) {
  EXPECT_EQ(HtmlText("\\alpha"), "\\alpha");
  EXPECT_EQ(HtmlText("\\Sigmas"), "\\Sigmas");
  EXPECT_EQ(HtmlText("a\\"), "a\\");
  EXPECT_EQ(HtmlText("\\\\omega"), "\\ω");
  EXPECT_EQ(HtmlText("x^2"), "x^2");
  EXPECT_EQ(HtmlText("x^{2"), "x^{2");
  EXPECT_EQ(HtmlText("x^"), "x^");
}

TEST(HtmlText, RefusesTextThatIsNotUtf8) {
  EXPECT_THROW(HtmlText("\xD0"), EConvertError);              // cut after the lead byte
  EXPECT_THROW(HtmlText("\xD0\x41"), EConvertError);          // no continuation byte
  EXPECT_THROW(HtmlText("\xC0\x80"), EConvertError);          // overlong zero
  EXPECT_THROW(HtmlText("\xE0\x80\xAF"), EConvertError);      // overlong slash
  EXPECT_THROW(HtmlText("\xED\xA0\x80"), EConvertError);      // surrogate
  EXPECT_THROW(HtmlText("\xF4\x90\x80\x80"), EConvertError);  // past U+10FFFF
  EXPECT_THROW(HtmlText("\xFF"), EConvertError);
  EXPECT_THROW(HtmlText("x^{\xFF}"), EConvertError);
  EXPECT_EQ(HtmlText("\xF0\x9F\x98\x80"), "\xF0\x9F\x98\x80");  // U+1F600 is fine
}

TEST(HtmlText, RefusesControlCharacters) {
  EXPECT_THROW(HtmlText(std::string("a\0b", 3)), EConvertError);
  EXPECT_THROW(HtmlText("\x01"), EConvertError);
  EXPECT_THROW(HtmlText("\x7F"), EConvertError);
  EXPECT_THROW(HtmlText("\xC2\x85"), EConvertError);  // U+0085, a C1 control
}

}  // namespace
