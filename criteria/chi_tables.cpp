#include "criteria/chi_tables.h"

#include <cstddef>
#include <cstdio>
#include <locale>
#include <memory>
#include <sstream>
#include <string>

#include "platform/exceptions.h"
#include "platform/quoted.h"
#include "platform/whole_file.h"

namespace quessel::internal {

namespace {

using platform::Quoted;

constexpr std::size_t kMaxPathCharacters = 255;
// A skipped line is dropped with at most 255 characters including its line
// feed; a longer one would shift every later line, so it is refused.
constexpr std::size_t kMaxSkippedLineCharacters = 254;
// The line read holds at most 15 numbers: this is room for each of them
// written to the last digit of a double and padded to align in columns, so
// that a table is never read further than any table can reach.
constexpr std::size_t kMaxNumbersLineCharacters = 4095;

std::size_t Utf8Characters(const std::string& text) {
  std::size_t characters = 0;
  for (unsigned char byte : text) {
    if ((byte & 0xC0) != 0x80) ++characters;
  }
  return characters;
}

using TableFile = std::unique_ptr<std::FILE, int (*)(std::FILE*)>;

// Only regular files: a pipe or device in a table's place is refused at once
// rather than waited on.
TableFile OpenTable(const std::string& path) {
  if (Utf8Characters(path) > kMaxPathCharacters) {
    throw EFOpenError("Путь к файлу таблицы длиннее 255 символов: " + Quoted(path) + "!");
  }
  return TableFile(platform::OpenRegularFile(path, "Невозможно открыть файл таблицы " + Quoted(path) + "!"),
                   &std::fclose);
}

// The next line without its line feed, as std::getline gives it, but read
// no further than one character past `limit`, so that a line too long is
// refused as soon as it shows and a file that keeps growing is not read for
// ever: false only when the file has ended before any character.
bool GetLine(std::FILE* file, std::string& line, std::size_t limit) {
  line.clear();
  for (;;) {
    const int c = std::getc(file);
    if (c == '\n') return true;
    if (c == EOF) return !line.empty();
    line += static_cast<char>(c);
    if (line.size() > limit) return true;
  }
}

std::string Corrupt(const std::string& path) { return "Файл таблицы " + Quoted(path) + " поврежден: "; }

std::string ReadLine(std::FILE* file, const std::string& path, int k) {
  std::string line;
  for (int number = 1; number <= k; ++number) {
    const std::size_t limit = number < k ? kMaxSkippedLineCharacters : kMaxNumbersLineCharacters;
    if (!GetLine(file, line, limit)) {
      throw EReadError(Corrupt(path) + "нет строки " + std::to_string(number) + "!");
    }
    if (line.size() > limit) {
      throw EReadError(Corrupt(path) + "строка " + std::to_string(number) + " длиннее " +
                       std::to_string(limit) + " символов!");
    }
  }
  return line;
}

// Only line k counts: numbers missing from it are not sought on the next one.
template <class Number>
std::vector<Number> ReadNumbers(std::FILE* file, const std::string& path, int k, int count) {
  std::istringstream line(ReadLine(file, path, k));
  line.imbue(std::locale::classic());
  std::vector<Number> numbers(count);
  for (Number& number : numbers) {
    if (!(line >> number)) {
      throw EReadError(Corrupt(path) + "в строке " + std::to_string(k) + " нет нужных " +
                       std::to_string(count) + " чисел!");
    }
  }
  return numbers;
}

}  // namespace

ChiTable ReadChiTable(const char* folder, int k) {
  const std::string prefix = folder ? folder : "";
  const std::string boundaries_path = prefix + "Table 28.txt";
  const TableFile boundaries_file = OpenTable(boundaries_path);
  const std::string probabilities_path = prefix + "Table 29.txt";
  const TableFile probabilities_file = OpenTable(probabilities_path);

  ChiTable table;
  table.boundaries = ReadNumbers<float>(boundaries_file.get(), boundaries_path, k, k - 1);
  table.probabilities = ReadNumbers<double>(probabilities_file.get(), probabilities_path, k, k);
  return table;
}

}  // namespace quessel::internal
