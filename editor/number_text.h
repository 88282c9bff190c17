// Real numbers in the editor's fields: written as the shortest text that reads
// back as the same value, with the user's decimal separator, and read with
// either separator, so the block carries exactly the number the user sees.
#pragma once

#include <QString>
#include <optional>
#include <string>

QString NumberText(double value);
QString NumberText(float value);

// Nothing for a text that is not a number of the type's range.
std::optional<double> ParseDouble(const QString& text);
std::optional<float> ParseFloat(const QString& text);

// The reason shown beside a field whose text is not a number (or is empty).
std::string NotANumberMessage(const QString& text);
