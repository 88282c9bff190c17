#include "platform/number_format.h"

#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstring>
#include <mutex>
#include <optional>

#include "platform/exceptions.h"

namespace platform {
namespace {

std::mutex fixed_separator_mutex;
std::optional<std::string> fixed_separator;

bool IsAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// A decimal number as its significant digits (the first one non-zero) and
// the power of ten of the first digit.
struct Decimal {
  std::string digits;
  int exponent = 0;
};

// The shortest decimal that reads back as `magnitude` (finite, positive).
Decimal ShortestDecimal(double magnitude) {
  char text[64];
  const auto result = std::to_chars(text, text + sizeof text, magnitude, std::chars_format::scientific);
  // The form is d[.ddd]e±XX.
  const char* exponent_mark = std::find(text, result.ptr, 'e');
  Decimal decimal;
  for (const char* c = text; c != exponent_mark; ++c) {
    if (*c != '.') decimal.digits.push_back(*c);
  }
  std::from_chars(exponent_mark + (exponent_mark[1] == '+' ? 2 : 1), result.ptr, decimal.exponent);
  return decimal;
}

// Rounds half away from zero so that the last kept digit stands at the power
// of ten `last`. The result's digits run from its exponent down to `last`
// exactly; an empty result means the value rounds to zero.
Decimal RoundAt(const Decimal& value, int last) {
  const int kept = value.exponent - last + 1;
  if (kept < 0) return {};
  if (kept == 0) {
    if (value.digits[0] >= '5') return {"1", last};
    return {};
  }
  Decimal rounded{value.digits.substr(0, std::min<std::size_t>(kept, value.digits.size())), value.exponent};
  rounded.digits.resize(kept, '0');
  const bool round_up = static_cast<std::size_t>(kept) < value.digits.size() && value.digits[kept] >= '5';
  if (round_up) {
    int position = kept - 1;
    while (position >= 0 && rounded.digits[position] == '9') rounded.digits[position--] = '0';
    if (position >= 0) {
      ++rounded.digits[position];
    } else {
      rounded.digits.insert(rounded.digits.begin(), '1');
      ++rounded.exponent;
    }
  }
  return rounded;
}

std::string ExponentText(const Decimal& magnitude, int precision, std::string_view separator) {
  Decimal mantissa = RoundAt(magnitude, magnitude.exponent - precision + 1);
  // A carry adds a trailing zero beyond the significant digits.
  mantissa.digits.resize(precision);
  std::string text(1, mantissa.digits[0]);
  if (precision > 1) {
    text += separator;
    text += mantissa.digits.substr(1);
  }
  const int exponent = std::abs(mantissa.exponent);
  text += mantissa.exponent < 0 ? "E-" : "E+";
  if (exponent < 10) text += '0';
  text += std::to_string(exponent);
  return text;
}

std::string FixedText(const Decimal& rounded, int digits, std::string_view separator) {
  std::string integer_part = "0";
  std::string fraction;
  if (rounded.digits.empty()) {
    // A zero shows only the filling zeros.
  } else if (rounded.exponent >= 0) {
    integer_part = rounded.digits.substr(0, rounded.exponent + 1);
    fraction = rounded.digits.substr(rounded.exponent + 1);
  } else {
    fraction = std::string(-rounded.exponent - 1, '0') + rounded.digits;
  }
  fraction.resize(digits, '0');
  if (digits == 0) return integer_part;
  return integer_part + std::string(separator) + fraction;
}

}  // namespace

std::string LocaleDecimalSeparator(const std::string& locale_name) {
  // The character category comes along to tell the code set of the separator.
  const locale_t locale =
      newlocale(LC_NUMERIC_MASK | LC_CTYPE_MASK, locale_name.c_str(), static_cast<locale_t>(nullptr));
  if (locale == static_cast<locale_t>(nullptr)) return ".";
  const std::string separator = nl_langinfo_l(RADIXCHAR, locale);
  const bool utf8 = std::strcmp(nl_langinfo_l(CODESET, locale), "UTF-8") == 0;
  freelocale(locale);
  // Every text in memory is UTF-8; a separator in another code set is not
  // worth converting for the few locales that would need it.
  if (separator.empty() || !(utf8 || IsAscii(separator))) return ".";
  return separator;
}

std::string DecimalSeparator() {
  {
    const std::lock_guard lock(fixed_separator_mutex);
    if (fixed_separator) return *fixed_separator;
  }
  static const std::string user_separator = LocaleDecimalSeparator("");
  return user_separator;
}

void FixDecimalSeparator(const std::string& separator) {
  const std::lock_guard lock(fixed_separator_mutex);
  if (separator.empty()) {
    fixed_separator.reset();
  } else {
    fixed_separator = separator;
  }
}

std::string FormatFixed(double value, int precision, int digits, std::string_view separator) {
  if (precision < 1 || digits < 0) {
    throw EConvertError("Неверный формат числа: значащих цифр " + std::to_string(precision) +
                        ", цифр после разделителя " + std::to_string(digits));
  }
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value < 0 ? "-∞" : "∞";
  const std::string sign = std::signbit(value) ? "-" : "";
  if (value == 0) return FixedText({}, digits, separator);

  const Decimal magnitude = ShortestDecimal(std::fabs(value));
  const Decimal rounded = RoundAt(magnitude, std::max(-digits, magnitude.exponent - precision + 1));
  if (rounded.digits.empty()) return FixedText(rounded, digits, separator);
  if (rounded.exponent + 1 > precision) return sign + ExponentText(magnitude, precision, separator);
  return sign + FixedText(rounded, digits, separator);
}

std::string FormatFixed(double value, int precision, int digits) {
  return FormatFixed(value, precision, digits, DecimalSeparator());
}

}  // namespace platform
