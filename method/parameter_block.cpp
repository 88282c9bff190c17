#include "method/parameter_block.h"

#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>
#include <utility>
#include <vector>

#include "platform/exceptions.h"
#include "platform/quoted.h"
#include "platform/whole_file.h"

namespace {

template <std::size_t Size>
using UnsignedOfSize =
    std::conditional_t<Size == 1, std::uint8_t,
                       std::conditional_t<Size == 2, std::uint16_t,
                                          std::conditional_t<Size == 4, std::uint32_t, std::uint64_t>>>;

std::string TestKindOutOfRange(int test_kind) {
  return "Вид гипотезы " + std::to_string(test_kind) + " вне пределов от 1 до 7";
}

std::string GeneratorKindOutOfRange(int generator_kind) {
  return "Код закона распределения " + std::to_string(generator_kind) + " вне пределов от 1 до 5";
}

std::string DimensionBelowOne(int dimension) {
  return "Размерность p = " + std::to_string(dimension) + " меньше 1";
}

bool TestKindInRange(int test_kind) { return test_kind >= kTestKindX2 && test_kind <= kTestKindF; }

bool GeneratorKindInRange(int generator_kind) {
  return generator_kind >= kGeneratorNormal && generator_kind <= kGeneratorExpPower;
}

class BlockWriter {
 public:
  template <typename Value>
  void Write(Value value) {
    auto bits = std::bit_cast<UnsignedOfSize<sizeof(Value)>>(value);
    for (std::size_t k = 0; k < sizeof(Value); ++k) {
      bytes_.push_back(static_cast<char>(bits & 0xFF));
      bits = static_cast<decltype(bits)>(bits >> 8);
    }
  }

  void WriteDoubles(const std::vector<double>& values) {
    for (const double value : values) Write(value);
  }

  void WriteBytes(const std::string& bytes) { bytes_ += bytes; }

  std::string Bytes() && { return std::move(bytes_); }

 private:
  std::string bytes_;
};

class BlockReader {
 public:
  explicit BlockReader(platform::SequentialReader& source) : source_(source) {}

  // `field` names the field in the user's words for the message of a cut block.
  template <typename Value>
  Value Read(std::string_view field) {
    unsigned char bytes[sizeof(Value)];
    Take(bytes, sizeof bytes, field);
    return FromLittleEndian<Value>(bytes);
  }

  std::vector<double> ReadDoubles(std::size_t count, std::string_view field) {
    // Checked before anything is allocated or read: a damaged dimension must
    // not make a block of a few bytes ask for gigabytes.
    if (count > source_.Remaining() / sizeof(double)) Cut(field);
    std::vector<double> values(count);
    Take(values.data(), count * sizeof(double), field);
    for (double& value : values) {
      unsigned char bytes[sizeof(double)];
      std::memcpy(bytes, &value, sizeof bytes);
      value = FromLittleEndian<double>(bytes);
    }
    return values;
  }

  std::string ReadBytes(std::size_t count, std::string_view field) {
    std::string bytes(count, '\0');
    Take(bytes.data(), count, field);
    return bytes;
  }

  std::uint64_t Remaining() const { return source_.Remaining(); }

 private:
  template <typename Value>
  static Value FromLittleEndian(const unsigned char (&bytes)[sizeof(Value)]) {
    UnsignedOfSize<sizeof(Value)> bits = 0;
    for (std::size_t k = sizeof(Value); k-- > 0;) bits = static_cast<decltype(bits)>((bits << 8) | bytes[k]);
    return std::bit_cast<Value>(bits);
  }

  void Take(void* into, std::size_t count, std::string_view field) {
    if (!source_.Read(into, count)) Cut(field);
  }

  [[noreturn]] static void Cut(std::string_view field) {
    throw EReadError("Блок параметров обрывается на поле " + platform::Quoted(field));
  }

  platform::SequentialReader& source_;
};

void RequireEncodable(const RunParameters& parameters) {
  if (!TestKindInRange(parameters.TestKind)) throw EConvertError(TestKindOutOfRange(parameters.TestKind));
  if (!GeneratorKindInRange(parameters.GeneratorKind)) {
    throw EConvertError(GeneratorKindOutOfRange(parameters.GeneratorKind));
  }
  if (parameters.Dimension < 1) throw EConvertError(DimensionBelowOne(parameters.Dimension));
  const auto p = static_cast<std::size_t>(parameters.Dimension);
  auto require_sizes = [&](const std::vector<double>& mean, const std::vector<double>& covariance,
                           const std::string& what) {
    if (mean.size() != p || covariance.size() != TriangleSize(parameters.Dimension)) {
      throw EConvertError(what + " не соответствуют размерности p = " + std::to_string(p));
    }
  };
  require_sizes(parameters.Mean, parameters.Covariance, "Математическое ожидание и ковариационная матрица");
  if (parameters.Alternative != 0) {
    require_sizes(parameters.AltMean, parameters.AltCovariance,
                  "Альтернативные математическое ожидание и ковариационная матрица");
  }
  if (parameters.SaveValues != 0 &&
      parameters.StatisticsPath.size() > static_cast<std::size_t>(kMaxStatisticsPathLength)) {
    throw EConvertError("Путь файлов статистик длиннее " + std::to_string(kMaxStatisticsPathLength) +
                        " байт");
  }
}

}  // namespace

std::string EncodeRunParameters(const RunParameters& parameters) {
  RequireEncodable(parameters);
  BlockWriter block;
  block.Write(parameters.TestKind);
  if (TestKindHasVarI(parameters.TestKind)) block.Write(parameters.VarI);
  if (TestKindHasVarJ(parameters.TestKind)) block.Write(parameters.VarJ);
  if (TestKindHasR0(parameters.TestKind)) block.Write(parameters.R0);
  if (TestKindHasQ(parameters.TestKind)) block.Write(parameters.Q);
  block.Write(parameters.GeneratorKind);
  block.Write(parameters.GenParam1);
  block.Write(parameters.GenParam2);
  if (GeneratorKindHasGenParam3(parameters.GeneratorKind)) block.Write(parameters.GenParam3);
  block.Write(parameters.Dimension);
  block.WriteDoubles(parameters.Mean);
  block.WriteDoubles(parameters.Covariance);
  block.Write(parameters.N);
  block.Write(parameters.M);
  block.Write(parameters.K);
  block.Write(parameters.SaveValues);
  if (parameters.SaveValues != 0) {
    block.Write(static_cast<std::int32_t>(parameters.StatisticsPath.size()));
    block.WriteBytes(parameters.StatisticsPath);
  }
  block.Write(parameters.EstimateMean);
  block.Write(parameters.EstimateCovariance);
  block.Write(parameters.Reserved);
  block.Write(parameters.Alternative);
  if (parameters.Alternative != 0) {
    block.WriteDoubles(parameters.AltMean);
    block.WriteDoubles(parameters.AltCovariance);
  }
  return std::move(block).Bytes();
}

RunParameters DecodeRunParameters(std::string_view bytes) {
  platform::SequentialReader source(bytes);
  return DecodeRunParameters(source);
}

RunParameters DecodeRunParameters(platform::SequentialReader& source) {
  BlockReader block(source);
  RunParameters parameters;
  parameters.TestKind = block.Read<std::int8_t>("вид гипотезы");
  if (!TestKindInRange(parameters.TestKind)) throw EReadError(TestKindOutOfRange(parameters.TestKind));
  if (TestKindHasVarI(parameters.TestKind))
    parameters.VarI = block.Read<std::int32_t>("номер первой переменной i");
  if (TestKindHasVarJ(parameters.TestKind))
    parameters.VarJ = block.Read<std::int32_t>("номер второй переменной j");
  if (TestKindHasR0(parameters.TestKind)) parameters.R0 = block.Read<double>("коэффициент корреляции r0");
  if (TestKindHasQ(parameters.TestKind)) parameters.Q = block.Read<std::int32_t>("число переменных q");

  parameters.GeneratorKind = block.Read<std::int8_t>("закон распределения");
  if (!GeneratorKindInRange(parameters.GeneratorKind)) {
    throw EReadError(GeneratorKindOutOfRange(parameters.GeneratorKind));
  }
  parameters.GenParam1 = block.Read<double>("первый параметр распределения");
  parameters.GenParam2 = block.Read<double>("второй параметр распределения");
  if (GeneratorKindHasGenParam3(parameters.GeneratorKind)) {
    parameters.GenParam3 = block.Read<float>("третий параметр распределения");
  }

  parameters.Dimension = block.Read<std::int16_t>("размерность p");
  if (parameters.Dimension < 1) throw EReadError(DimensionBelowOne(parameters.Dimension));
  const auto p = static_cast<std::size_t>(parameters.Dimension);
  parameters.Mean = block.ReadDoubles(p, "математическое ожидание");
  parameters.Covariance = block.ReadDoubles(TriangleSize(parameters.Dimension), "ковариационная матрица");

  parameters.N = block.Read<std::int32_t>("объем выборки N");
  parameters.M = block.Read<std::int32_t>("число выборок M");
  parameters.K = block.Read<std::int32_t>("число повторений K");
  parameters.SaveValues = block.Read<std::uint8_t>("признак сохранения статистик");
  if (parameters.SaveValues != 0) {
    const auto length = block.Read<std::int32_t>("длина пути файлов статистик");
    if (length < 0 || length > kMaxStatisticsPathLength) {
      throw EReadError("Длина пути файлов статистик " + std::to_string(length) + " вне пределов от 0 до " +
                       std::to_string(kMaxStatisticsPathLength));
    }
    parameters.StatisticsPath = block.ReadBytes(static_cast<std::size_t>(length), "путь файлов статистик");
  }
  parameters.EstimateMean = block.Read<std::uint8_t>("признак оценки математического ожидания");
  parameters.EstimateCovariance = block.Read<std::uint8_t>("признак оценки ковариационной матрицы");
  parameters.Reserved = block.Read<std::uint8_t>("резервный байт");
  parameters.Alternative = block.Read<std::uint8_t>("признак альтернативы");
  if (parameters.Alternative != 0) {
    parameters.AltMean = block.ReadDoubles(p, "альтернативное математическое ожидание");
    parameters.AltCovariance =
        block.ReadDoubles(TriangleSize(parameters.Dimension), "альтернативная ковариационная матрица");
  }
  if (block.Remaining() != 0) {
    throw EReadError("В блоке параметров после последнего поля лишние байты: " +
                     std::to_string(block.Remaining()));
  }
  return parameters;
}
