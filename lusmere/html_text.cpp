#include "lusmere/html_text.h"

#include <optional>

#include "platform/exceptions.h"

namespace lusmere {
namespace {

struct GreekLetter {
  std::string_view name;
  std::string_view letter;
};

constexpr GreekLetter kGreekLetters[] = {
    {"omega", "ω"},
    {"Omega", "Ω"},
    {"chi", "χ"},
    {"Sigma", "Σ"},
};

std::optional<std::string_view> GreekLetterNamed(std::string_view name) {
  for (const GreekLetter& greek : kGreekLetters) {
    if (greek.name == name) return greek.letter;
  }
  return std::nullopt;
}

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

[[noreturn]] void RefuseEncoding() { throw EConvertError("Текст отчета не в кодировке UTF-8"); }

[[noreturn]] void RefuseControlCharacter() {
  throw EConvertError("Текст отчета содержит управляющий символ, недопустимый в HTML");
}

bool IsAllowedWhitespace(unsigned char c) { return c == '\t' || c == '\n' || c == '\r'; }

// The length of the well-formed UTF-8 sequence that starts at `at`, refusing
// overlong forms, surrogates, code points past U+10FFFF and the C1 controls.
std::size_t MultiByteLength(std::string_view text, std::size_t at) {
  const auto lead = static_cast<unsigned char>(text[at]);
  std::size_t length = 0;
  char32_t code_point = 0;
  char32_t smallest = 0;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    code_point = lead & 0x1F;
    smallest = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    code_point = lead & 0x0F;
    smallest = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    code_point = lead & 0x07;
    smallest = 0x10000;
  } else {
    RefuseEncoding();
  }
  if (at + length > text.size()) RefuseEncoding();
  for (std::size_t k = 1; k < length; ++k) {
    const auto next = static_cast<unsigned char>(text[at + k]);
    if ((next & 0xC0) != 0x80) RefuseEncoding();
    code_point = (code_point << 6) | (next & 0x3F);
  }
  if (code_point < smallest || code_point > 0x10FFFF || (code_point >= 0xD800 && code_point <= 0xDFFF)) {
    RefuseEncoding();
  }
  if (code_point >= 0x80 && code_point <= 0x9F) RefuseControlCharacter();
  return length;
}

// Appends the character at `at`, escaped, and moves `at` past it.
void AppendCharacter(std::string& html, std::string_view text, std::size_t& at) {
  const auto c = static_cast<unsigned char>(text[at]);
  if (c >= 0x80) {
    const std::size_t length = MultiByteLength(text, at);
    html.append(text.substr(at, length));
    at += length;
    return;
  }
  switch (c) {
    case '&':
      html += "&amp;";
      break;
    case '<':
      html += "&lt;";
      break;
    case '>':
      html += "&gt;";
      break;
    case '"':
      html += "&quot;";
      break;
    case '\'':
      html += "&#39;";
      break;
    default:
      if ((c < 0x20 && !IsAllowedWhitespace(c)) || c == 0x7F) RefuseControlCharacter();
      html += static_cast<char>(c);
  }
  ++at;
}

// The '}' that closes the group opened at `open`, or npos. UTF-8 continuation
// bytes never look like braces, so bytes can be counted as they come.
std::size_t ClosingBrace(std::string_view text, std::size_t open) {
  int depth = 0;
  for (std::size_t at = open; at < text.size(); ++at) {
    if (text[at] == '{') {
      ++depth;
    } else if (text[at] == '}' && --depth == 0) {
      return at;
    }
  }
  return std::string_view::npos;
}

}  // namespace

std::string HtmlText(std::string_view text) {
  std::string html;
  std::size_t at = 0;
  while (at < text.size()) {
    if (text[at] == '\\') {
      std::size_t end = at + 1;
      while (end < text.size() && IsAsciiLetter(text[end])) ++end;
      if (const auto letter = GreekLetterNamed(text.substr(at + 1, end - at - 1))) {
        html += *letter;
        at = end;
        continue;
      }
    } else if (text[at] == '^' && at + 1 < text.size() && text[at + 1] == '{') {
      const std::size_t close = ClosingBrace(text, at + 1);
      if (close != std::string_view::npos) {
        html += "<sup>" + HtmlText(text.substr(at + 2, close - at - 2)) + "</sup>";
        at = close + 1;
        continue;
      }
    }
    AppendCharacter(html, text, at);
  }
  return html;
}

}  // namespace lusmere
