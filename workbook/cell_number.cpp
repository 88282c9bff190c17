#include "workbook/cell_number.h"

#include <charconv>
#include <cmath>
#include <string>
#include <system_error>

namespace workbook {
namespace {

bool IsBlank(QChar ch) { return ch == u' ' || ch == u'\t'; }

bool IsDigit(QChar ch) { return ch >= u'0' && ch <= u'9'; }

// Rewrites the text in the C form from_chars reads ("." as the point), or
// returns false when it does not follow the grammar. The form is never longer
// than the text.
bool CanonicalForm(QStringView text, QChar separator, bool either_separator, char*& out) {
  qsizetype pos = 0;
  qsizetype end = text.size();
  while (pos < end && IsBlank(text[pos])) ++pos;
  while (end > pos && IsBlank(text[end - 1])) --end;
  if (pos < end && (text[pos] == u'+' || text[pos] == u'-')) {
    if (text[pos] == u'-') *out++ = '-';
    ++pos;
  }
  int digits = 0;
  bool seen_point = false;
  for (; pos < end; ++pos) {
    const QChar ch = text[pos];
    if (IsDigit(ch)) {
      *out++ = static_cast<char>(ch.unicode());
      ++digits;
    } else if (!seen_point && (ch == separator || (either_separator && (ch == u'.' || ch == u',')))) {
      *out++ = '.';
      seen_point = true;
    } else {
      break;
    }
  }
  if (digits == 0) return false;
  if (pos < end && (text[pos] == u'e' || text[pos] == u'E')) {
    *out++ = 'e';
    ++pos;
    if (pos < end && (text[pos] == u'+' || text[pos] == u'-'))
      *out++ = static_cast<char>(text[pos++].unicode());
    int exponent_digits = 0;
    for (; pos < end && IsDigit(text[pos]); ++pos, ++exponent_digits)
      *out++ = static_cast<char>(text[pos].unicode());
    if (exponent_digits == 0) return false;
  }
  return pos == end;
}

std::optional<double> Parse(QStringView text, QChar separator, bool either_separator) {
  // Cell texts are short; a long one gets a buffer of its own.
  char short_form[64];
  std::string long_form;
  char* first = short_form;
  if (text.size() > qsizetype{sizeof short_form}) {
    long_form.resize(static_cast<std::size_t>(text.size()));
    first = long_form.data();
  }
  char* last = first;
  if (!CanonicalForm(text, separator, either_separator, last)) return std::nullopt;
  // from_chars takes no leading "+" and reads "1." and ".5" as 1 and 0.5.
  double value = 0;
  const auto [ptr, error] = std::from_chars(first, last, value);
  if (error != std::errc() || ptr != last || !std::isfinite(value)) return std::nullopt;
  return value;
}

}  // namespace

std::optional<double> ParseNumber(QStringView text, QChar separator) { return Parse(text, separator, false); }

std::optional<double> ParseCellNumber(QStringView text) { return Parse(text, u'.', true); }

QString NumberText(double value) {
  char buffer[64];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

QString RoundedNumberText(double value, int significant_digits) {
  char buffer[64];
  const auto result =
      std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::general, significant_digits);
  return QString::fromLatin1(buffer, result.ptr - buffer);
}

}  // namespace workbook
