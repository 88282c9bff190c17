#include "criteria/chi_tables.h"

#include <cstddef>
#include <fstream>
#include <locale>
#include <sstream>
#include <string>

#include "platform/exceptions.h"

namespace quessel::internal {

namespace {

constexpr std::size_t kMaxPathCharacters = 255;
// A skipped line is dropped with at most 255 characters including its line
// feed; a longer one would shift every later line, so it is refused.
constexpr std::size_t kMaxSkippedLineCharacters = 254;

std::size_t Utf8Characters(const std::string& text) {
  std::size_t characters = 0;
  for (unsigned char byte : text) {
    if ((byte & 0xC0) != 0x80) ++characters;
  }
  return characters;
}

std::string Quoted(const std::string& path) { return "\"" + path + "\""; }

std::ifstream OpenTable(const std::string& path) {
  if (Utf8Characters(path) > kMaxPathCharacters) {
    throw EFOpenError("Путь к файлу таблицы длиннее 255 символов: " + Quoted(path) + "!");
  }
  std::ifstream file(path);
  if (!file) throw EFOpenError("Невозможно открыть файл таблицы " + Quoted(path) + "!");
  return file;
}

std::string Corrupt(const std::string& path) { return "Файл таблицы " + Quoted(path) + " поврежден: "; }

std::string ReadLine(std::ifstream& file, const std::string& path, int k) {
  std::string line;
  for (int number = 1; number <= k; ++number) {
    if (!std::getline(file, line)) {
      throw EReadError(Corrupt(path) + "нет строки " + std::to_string(number) + "!");
    }
    if (number < k && line.size() > kMaxSkippedLineCharacters) {
      throw EReadError(Corrupt(path) + "строка " + std::to_string(number) + " длиннее 254 символов!");
    }
  }
  return line;
}

// Only line k counts: numbers missing from it are not sought on the next one.
template <class Number>
std::vector<Number> ReadNumbers(std::ifstream& file, const std::string& path, int k, int count) {
  std::istringstream line(ReadLine(file, path, k));
  line.imbue(std::locale::classic());
  std::vector<Number> numbers(count);
  for (Number& number : numbers) {
    if (!(line >> number)) {
      throw EReadError(Corrupt(path) + "в строке " + std::to_string(k) + " нет нужных " + std::to_string(count) +
                       " чисел!");
    }
  }
  return numbers;
}

}  // namespace

ChiTable ReadChiTable(const char* folder, int k) {
  const std::string prefix = folder ? folder : "";
  const std::string boundaries_path = prefix + "Table 28.txt";
  std::ifstream boundaries_file = OpenTable(boundaries_path);
  const std::string probabilities_path = prefix + "Table 29.txt";
  std::ifstream probabilities_file = OpenTable(probabilities_path);

  ChiTable table;
  table.boundaries = ReadNumbers<float>(boundaries_file, boundaries_path, k, k - 1);
  table.probabilities = ReadNumbers<double>(probabilities_file, probabilities_path, k, k);
  return table;
}

}  // namespace quessel::internal
