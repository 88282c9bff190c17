// Numbers as the user reads them: fixed-point text with the decimal separator
// of the user's regional settings. The process's C and C++ locales are never
// changed, so files and streams written elsewhere keep "." as their point.
#pragma once

#include <string>
#include <string_view>

#include "platform/export.h"

namespace platform {

// The decimal separator of the named locale's numeric category, read without
// touching the process's locale; "" names the user's settings (LC_ALL, then
// LC_NUMERIC, then LANG, as the C library resolves them). A locale that is
// not installed, or whose separator is not valid UTF-8, gives ".".
WB_EXPORT std::string LocaleDecimalSeparator(const std::string& locale_name);

// The separator of the user's settings, read once per process, or the one
// fixed by FixDecimalSeparator.
WB_EXPORT std::string DecimalSeparator();

// Fixes the separator DecimalSeparator returns (tests); "" releases it.
WB_EXPORT void FixDecimalSeparator(const std::string& separator);

// Fixed-point text with at most `precision` significant digits and exactly
// `digits` digits after the separator (the report uses 7/4 and 5/2).
//
// The value is taken as the shortest decimal that reads back as the same
// double, then rounded half away from zero at whichever limit cuts first.
// The text has a "-" when the rounded value is negative (never for a value
// that rounds to zero), at least one digit before the separator and zeros
// filling the places beyond the significant digits: 1234.56789 in the 7/4
// form gives "1234.5680", 0.5 in the 5/2 form "0.50".
//
// A value that has more integer digits than `precision` after rounding is
// written as a mantissa of `precision` significant digits, "E", a sign and
// an exponent of at least two digits: 1.234568E+15. NaN gives "NaN", the
// infinities "∞" and "-∞".
//
// Throws EConvertError when precision < 1 or digits < 0.
WB_EXPORT std::string FormatFixed(double value, int precision, int digits, std::string_view separator);

// The same with the user's separator (DecimalSeparator).
WB_EXPORT std::string FormatFixed(double value, int precision, int digits);

}  // namespace platform
