#include "lusmere/html_text.h"

#include <gtest/gtest.h>

#include "platform/exceptions.h"

namespace {

using lusmere::HtmlText;

// Reserved characters are escaped, Cyrillic and white space kept, the labels'
// markup shown as Greek letters with superscripts, and markup the writer does
// not know left as written.
TEST(HtmlText, EscapesTextAndShowsTheLabelsMarkup) {
  const std::pair<std::string, std::string> cases[] = {
      {R"(a & b < c > d "e" 'f')", "a &amp; b &lt; c &gt; d &quot;e&quot; &#39;f&#39;"},
      {"&amp;", "&amp;amp;"},
      {"<script>", "&lt;script&gt;"},
      {"Оценка ковариационной матрицы", "Оценка ковариационной матрицы"},
      {"a\tb\nc\rd", "a\tb\nc\rd"},
      {"", ""},
      {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"},  // U+1F600
      {"Критерий \\omega^{2}", "Критерий ω<sup>2</sup>"},
      {"Критерий \\Omega^{2}", "Критерий Ω<sup>2</sup>"},
      {"Критерий \\chi^{2}", "Критерий χ<sup>2</sup>"},
      {"\\Sigma", "Σ"},
      {"\\Sigma 1", "Σ 1"},
      {"e^{\\chi^{2}}", "e<sup>χ<sup>2</sup></sup>"},
      {"x^{a<b}", "x<sup>a&lt;b</sup>"},
      {"x^{}", "x<sup></sup>"},
      {"\\alpha", "\\alpha"},
      {"\\Sigmas", "\\Sigmas"},
      {"a\\", "a\\"},
      {"\\\\omega", "\\ω"},
      {"x^2", "x^2"},
      {"x^{2", "x^{2"},
      {"x^", "x^"},
  };
  for (const auto& [text, html] : cases) EXPECT_EQ(HtmlText(text), html) << text;
}

TEST(HtmlText, RefusesTextThatIsNotUtf8AndControlCharacters) {
  const std::string refused[] = {
      "\xD0",              // cut after the lead byte
      "\xD0\x41",          // no continuation byte
      "\xC0\x80",          // overlong zero
      "\xE0\x80\xAF",      // overlong slash
      "\xED\xA0\x80",      // surrogate
      "\xF4\x90\x80\x80",  // past U+10FFFF
      "\xFF",
      "x^{\xFF}",
      std::string("a\0b", 3),
      "\x01",
      "\x7F",
      "\xC2\x85",  // U+0085, a C1 control
  };
  for (const std::string& text : refused) EXPECT_THROW(HtmlText(text), EConvertError) << text;
}

}  // namespace
