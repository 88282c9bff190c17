#include "editor/number_text.h"

#include <array>
#include <charconv>
#include <string>
#include <system_error>

#include "platform/number_format.h"
#include "platform/quoted.h"

namespace {

template <typename Value>
QString ShortestText(Value value) {
  std::array<char, 64> buffer{};
  const auto result = std::to_chars(buffer.data(), buffer.data() + buffer.size(), value);
  QString text = QString::fromLatin1(buffer.data(), static_cast<int>(result.ptr - buffer.data()));
  text.replace('.', QString::fromStdString(platform::DecimalSeparator()));
  return text;
}

template <typename Value>
std::optional<Value> ParseNumber(const QString& text) {
  QString normal = text.trimmed();
  const QString separator = QString::fromStdString(platform::DecimalSeparator());
  if (separator != ".") normal.replace(separator, ".");
  normal.replace(',', '.');
  // from_chars takes no plus sign, which users do type.
  if (normal.startsWith('+') && !normal.startsWith("+-")) normal.remove(0, 1);
  const std::string bytes = normal.toStdString();
  Value value{};
  const char* const end = bytes.data() + bytes.size();
  const auto result = std::from_chars(bytes.data(), end, value);
  if (bytes.empty() || result.ec != std::errc() || result.ptr != end) return std::nullopt;
  return value;
}

}  // namespace

QString NumberText(double value) { return ShortestText(value); }

QString NumberText(float value) { return ShortestText(value); }

std::optional<double> ParseDouble(const QString& text) { return ParseNumber<double>(text); }

std::optional<float> ParseFloat(const QString& text) { return ParseNumber<float>(text); }

std::string NotANumberMessage(const QString& text) {
  if (text.trimmed().isEmpty()) return "Введите число";
  return "Значение " + platform::Quoted(text.trimmed().toStdString()) + " не может быть прочитано как число";
}
