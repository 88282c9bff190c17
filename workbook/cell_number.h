// Numbers in cell texts: which texts a data set takes as numbers, and the text
// a number read from a file is shown as.
#pragma once

#include <QString>
#include <QStringView>
#include <optional>

#include "platform/export.h"

namespace workbook {

// The value of a text that is a plain decimal number with `separator` as its
// decimal point: blanks around it, an optional sign, digits with at most one
// separator, an optional exponent ("e" or "E", an optional sign, digits). At
// least one digit before the exponent. Nothing else is a number: no
// thousands separators, no "inf" or "nan", no hexadecimal; a value beyond the
// range of a double (overflow, or underflow to zero) is not a number either.
WB_EXPORT std::optional<double> ParseNumber(QStringView text, QChar separator);

// The same with "." and "," both taken as the decimal point: the texts that a
// data set holds as numbers, whatever separator the user typed.
WB_EXPORT std::optional<double> ParseCellNumber(QStringView text);

// The shortest text, with "." as its point, that ParseCellNumber reads back as
// exactly the same double (negative zero included). Finite values only.
WB_EXPORT QString NumberText(double value);

// The value rounded to at most `significant_digits` (1 to 17) significant
// digits, in the shorter of the fixed and the exponent form and without
// trailing zeros, with "." as its point: a number shown in a narrow cell.
WB_EXPORT QString RoundedNumberText(double value, int significant_digits);

}  // namespace workbook
