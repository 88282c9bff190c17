#include "method/parameter_block.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstring>
#include <string>

#include "platform/exceptions.h"

namespace {

static_assert(std::endian::native == std::endian::little, "the hand-built blocks copy host bytes");

// A block built by hand, field by field, as the layout table lists them.
struct Block {
  template <typename Value>
  Block& Put(Value value) {
    char raw[sizeof value];
    std::memcpy(raw, &value, sizeof value);
    bytes.append(raw, sizeof value);
    return *this;
  }
  Block& Byte(std::uint8_t value) { return Put(value); }
  Block& Int16(std::int16_t value) { return Put(value); }
  Block& Int32(std::int32_t value) { return Put(value); }
  Block& Float(float value) { return Put(value); }
  Block& Double(double value) { return Put(value); }
  Block& Text(const std::string& text) {
    bytes += text;
    return *this;
  }
  std::string bytes;
};

std::string FromHex(const std::string& hex) {
  std::string bytes;
  for (std::size_t at = 0; at + 1 < hex.size(); at += 3)
    bytes.push_back(static_cast<char>(std::stoi(hex.substr(at, 2), nullptr, 16)));
  return bytes;
}

// p = 2, test kind 1, normal law, everything optional left out.
RunParameters SmallParameters() {
  RunParameters parameters;
  parameters.TestKind = 1;
  parameters.GeneratorKind = 1;
  parameters.GenParam1 = 0.0;
  parameters.GenParam2 = 1.0;
  parameters.Dimension = 2;
  parameters.Mean = {1.0, 2.0};
  parameters.Covariance = {1.0, 0.5, 2.0};
  parameters.N = 20;
  parameters.M = 100;
  parameters.K = 10;
  return parameters;
}

// The 77-byte example, written out byte by byte from the layout table.
const std::string kSmallBlock = FromHex(
    "01 "                                               // TestKind
    "01 "                                               // GeneratorKind
    "00 00 00 00 00 00 00 00 00 00 00 00 00 00 F0 3F "  // GenParam1 0.0, GenParam2 1.0
    "02 00 "                                            // Dimension
    "00 00 00 00 00 00 F0 3F 00 00 00 00 00 00 00 40 "  // Mean 1.0, 2.0
    "00 00 00 00 00 00 F0 3F 00 00 00 00 00 00 E0 3F "  // Covariance (1,1) 1.0, (1,2) 0.5
    "00 00 00 00 00 00 00 40 "                          // (2,2) 2.0
    "14 00 00 00 64 00 00 00 0A 00 00 00 "              // N 20, M 100, K 10
    "00 00 00 00 00 ");  // SaveValues, EstimateMean, EstimateCovariance, reserved, Alternative

TEST(ParameterBlock, TheSmallestExampleHas77Bytes) {
  ASSERT_EQ(kSmallBlock.size(), 77u);
  EXPECT_EQ(EncodeRunParameters(SmallParameters()), kSmallBlock);
  const RunParameters decoded = DecodeRunParameters(kSmallBlock);
  EXPECT_EQ(decoded, SmallParameters());
  EXPECT_EQ(decoded.CovarianceAt(1, 0), 0.5);
  EXPECT_EQ(decoded.CovarianceAt(0, 1), 0.5);
}

// The bytes of the test-kind group, by kind, from the table of the group.
TEST(ParameterBlock, TheTestKindGroupHoldsItsFieldsInOrder) {
  struct Case {
    int kind;
    std::string group;
  };
  const Case cases[] = {
      {1, ""},
      {2, ""},
      {3, Block().Int32(2).Int32(3).bytes},
      {4, Block().Int32(2).Int32(3).Double(0.25).bytes},
      {5, Block().Int32(2).Int32(3).Int32(4).bytes},
      {6, Block().Int32(2).Int32(3).Double(0.25).Int32(4).bytes},
      {7, Block().Int32(2).Int32(4).bytes},
  };
  for (const Case& c : cases) {
    RunParameters parameters = SmallParameters();
    parameters.TestKind = static_cast<std::int8_t>(c.kind);
    parameters.VarI = TestKindHasVarI(c.kind) ? 2 : 0;
    parameters.VarJ = TestKindHasVarJ(c.kind) ? 3 : 0;
    parameters.R0 = TestKindHasR0(c.kind) ? 0.25 : 0;
    parameters.Q = TestKindHasQ(c.kind) ? 4 : 0;
    std::string expected = kSmallBlock;
    expected[0] = static_cast<char>(c.kind);
    expected.insert(1, c.group);
    EXPECT_EQ(EncodeRunParameters(parameters), expected) << "test kind " << c.kind;
    EXPECT_EQ(DecodeRunParameters(expected), parameters) << "test kind " << c.kind;
  }
}

TEST(ParameterBlock, TheTriangleRunsRowByRow) {
  // Test kind 2, normal law, p = 3, zero mean; element (a, b) holds 10a + b.
  Block block;
  block.Byte(2).Byte(1).Double(0).Double(1).Int16(3).Double(0).Double(0).Double(0);
  for (const double value : {11, 12, 13, 22, 23, 33}) block.Double(value);
  block.Int32(20).Int32(100).Int32(10).Byte(0).Byte(0).Byte(0).Byte(0).Byte(0);
  const RunParameters parameters = DecodeRunParameters(block.bytes);
  for (int a = 0; a < 3; ++a) {
    for (int b = 0; b < 3; ++b) {
      const int low = std::min(a, b) + 1;
      const int high = std::max(a, b) + 1;
      EXPECT_EQ(parameters.CovarianceAt(a, b), low * 10 + high) << a << ", " << b;
    }
  }
  EXPECT_EQ(EncodeRunParameters(parameters), block.bytes);
}

// The shape, the path and the alternative pair go where the layout puts
// them, each only when its kind or flag asks for it.
TEST(ParameterBlock, OptionalFieldsStandWhereTheLayoutPutsThem) {
  RunParameters parameters = SmallParameters();
  parameters.GeneratorKind = 5;
  parameters.GenParam3 = 0.5f;
  std::string expected = kSmallBlock;
  expected[1] = 5;
  expected.insert(18, FromHex("00 00 00 3F "));  // 0.5 in single precision, before Dimension
  EXPECT_EQ(EncodeRunParameters(parameters), expected);
  EXPECT_EQ(DecodeRunParameters(expected), parameters);
  parameters.GeneratorKind = 4;  // the shape is not written for other laws
  EXPECT_EQ(EncodeRunParameters(parameters).size(), 77u);

  parameters = SmallParameters();
  parameters.SaveValues = 1;
  parameters.StatisticsPath = "\xF1\xF2\xE0\xF2.txt";  // "стат.txt" in code page 1251
  expected = kSmallBlock;
  expected.insert(73, Block().Int32(8).Text(parameters.StatisticsPath).bytes);
  expected[72] = 1;
  EXPECT_EQ(EncodeRunParameters(parameters), expected);
  EXPECT_EQ(DecodeRunParameters(expected), parameters);
  parameters.StatisticsPath.clear();
  EXPECT_EQ(EncodeRunParameters(parameters).size(), 81u);
  EXPECT_EQ(DecodeRunParameters(EncodeRunParameters(parameters)), parameters);
  parameters.StatisticsPath = std::string(260, 'a');
  EXPECT_EQ(DecodeRunParameters(EncodeRunParameters(parameters)), parameters);

  parameters = SmallParameters();
  parameters.Alternative = 1;
  parameters.AltMean = {5.0, 6.0};
  parameters.AltCovariance = {7.0, 8.0, 9.0};
  expected = kSmallBlock;
  expected[76] = 1;
  expected += Block().Double(5).Double(6).Double(7).Double(8).Double(9).bytes;
  EXPECT_EQ(EncodeRunParameters(parameters), expected);
  EXPECT_EQ(DecodeRunParameters(expected).AltCovarianceAt(1, 0), 8.0);
}

// Every combination of kinds and optional fields: the size follows the
// formula 37 + G + T + 8p + 4p(p+1) + S + A, and the block reads back exactly.
TEST(ParameterBlock, EveryCombinationRoundTripsAtItsSize) {
  const int group_size[] = {0, 0, 0, 8, 16, 12, 20, 8};
  for (int kind = 1; kind <= 7; ++kind) {
    for (int generator = 1; generator <= 5; ++generator) {
      for (const bool save : {false, true}) {
        for (const bool alternative : {false, true}) {
          RunParameters parameters;
          parameters.TestKind = static_cast<std::int8_t>(kind);
          parameters.VarI = TestKindHasVarI(kind) ? 1 : 0;
          parameters.VarJ = TestKindHasVarJ(kind) ? 2 : 0;
          parameters.R0 = TestKindHasR0(kind) ? -0.3 : 0;
          parameters.Q = TestKindHasQ(kind) ? 2 : 0;
          parameters.GeneratorKind = static_cast<std::int8_t>(generator);
          parameters.GenParam1 = -1.25;
          parameters.GenParam2 = 3.5;
          parameters.GenParam3 = generator == 5 ? 1.5f : 0.0f;
          parameters.Dimension = 3;
          parameters.Mean = {1, 2, 3};
          parameters.Covariance = {4, 1, 0.5, 3, 0.25, 2};
          parameters.N = 30;
          parameters.M = 200;
          parameters.K = 4;
          parameters.SaveValues = save ? 3 : 0;  // any non-zero byte, kept as it is
          parameters.StatisticsPath = save ? "out/stat.txt" : "";
          parameters.EstimateMean = 1;
          parameters.EstimateCovariance = 2;
          parameters.Reserved = 0x7F;
          parameters.Alternative = alternative ? 1 : 0;
          if (alternative) {
            parameters.AltMean = {-1, -2, -3};
            parameters.AltCovariance = {9, 8, 7, 6, 5, 4};
          }
          const int p = 3;
          const std::size_t size = 37 + (generator == 5 ? 4 : 0) + group_size[kind] + 8 * p +
                                   4 * p * (p + 1) + (save ? 4 + 12 : 0) +
                                   (alternative ? 8 * p + 4 * p * (p + 1) : 0);
          const std::string block = EncodeRunParameters(parameters);
          EXPECT_EQ(block.size(), size) << kind << generator << save << alternative;
          EXPECT_EQ(DecodeRunParameters(block), parameters) << kind << generator << save << alternative;
        }
      }
    }
  }
}

void ExpectReadError(const std::string& block, const std::string& message) {
  try {
    DecodeRunParameters(block);
    ADD_FAILURE() << "no error for: " << message;
  } catch (const EReadError& error) {
    EXPECT_EQ(error.Message(), message);
  }
}

TEST(ParameterBlock, ACutBlockNamesTheFieldItEndsIn) {
  RunParameters parameters = SmallParameters();
  parameters.TestKind = 6;
  parameters.GeneratorKind = 5;
  parameters.SaveValues = 1;
  parameters.StatisticsPath = "stat.txt";
  parameters.Alternative = 1;
  parameters.AltMean = {0, 0};
  parameters.AltCovariance = {1, 0, 1};
  const std::string block = EncodeRunParameters(parameters);
  for (std::size_t length = 0; length < block.size(); ++length) {
    EXPECT_THROW(DecodeRunParameters(block.substr(0, length)), EReadError) << length;
  }
  // Offsets from the layout: kind 6 has a 20-byte group, the law a 4-byte shape.
  const std::pair<std::size_t, const char*> cuts[] = {
      {0, "вид гипотезы"},
      {3, "номер первой переменной i"},
      {8, "номер второй переменной j"},
      {20, "число переменных q"},
      {40, "третий параметр распределения"},
      {50, "математическое ожидание"},
      {70, "ковариационная матрица"},
      {99, "длина пути файлов статистик"},
      {105, "путь файлов статистик"},
      {block.size() - 1, "альтернативная ковариационная матрица"},
  };
  for (const auto& [length, field] : cuts) {
    ExpectReadError(block.substr(0, length),
                    std::string("Блок параметров обрывается на поле «") + field + "»");
  }
}

TEST(ParameterBlock, RefusesCodesAndSizesOutsideTheirRanges) {
  const auto with_bytes = [](std::size_t at, std::initializer_list<char> bytes) {
    std::string block = kSmallBlock;
    return block.replace(at, bytes.size(), std::string(bytes));
  };
  const auto with_path_length = [](std::int32_t length) {
    std::string block = kSmallBlock;
    block[72] = 1;
    return block.insert(73, Block().Int32(length).bytes);
  };
  const std::pair<std::string, std::string> cases[] = {
      {with_bytes(0, {'\x00'}), "Вид гипотезы 0 вне пределов от 1 до 7"},
      {with_bytes(0, {'\x08'}), "Вид гипотезы 8 вне пределов от 1 до 7"},
      {with_bytes(0, {'\x80'}), "Вид гипотезы -128 вне пределов от 1 до 7"},
      {with_bytes(1, {'\x00'}), "Код закона распределения 0 вне пределов от 1 до 5"},
      {with_bytes(1, {'\x06'}), "Код закона распределения 6 вне пределов от 1 до 5"},
      {with_bytes(1, {'\xFF'}), "Код закона распределения -1 вне пределов от 1 до 5"},
      {with_bytes(18, {'\x00'}), "Размерность p = 0 меньше 1"},
      {with_bytes(18, {'\xFF', '\xFF'}), "Размерность p = -1 меньше 1"},
      // The largest dimension asks for gigabytes that a short block does not hold.
      {with_bytes(18, {'\xFF', '\x7F'}), "Блок параметров обрывается на поле «математическое ожидание»"},
      {with_path_length(-1), "Длина пути файлов статистик -1 вне пределов от 0 до 260"},
      {with_path_length(261), "Длина пути файлов статистик 261 вне пределов от 0 до 260"},
      {with_path_length(0x7FFFFFFF), "Длина пути файлов статистик 2147483647 вне пределов от 0 до 260"},
      {kSmallBlock + '\0', "В блоке параметров после последнего поля лишние байты: 1"},
      // A flag left at zero keeps its field out, so the bytes meant for it are extra.
      {kSmallBlock + Block().Double(0).Double(0).Double(1).Double(0).Double(1).bytes,
       "В блоке параметров после последнего поля лишние байты: 40"},
  };
  for (const auto& [block, message] : cases) ExpectReadError(block, message);
}

TEST(ParameterBlock, TheEncoderRefusesWhatNoBlockCanCarry) {
  auto refused = [](auto change) {
    RunParameters parameters = SmallParameters();
    change(parameters);
    EXPECT_THROW(EncodeRunParameters(parameters), EConvertError);
  };
  refused([](RunParameters& p) { p.TestKind = 0; });
  refused([](RunParameters& p) { p.GeneratorKind = 6; });
  refused([](RunParameters& p) { p.Dimension = 0; });
  refused([](RunParameters& p) { p.Mean.push_back(0); });
  refused([](RunParameters& p) { p.Covariance.pop_back(); });
  refused([](RunParameters& p) { p.Alternative = 1; });
  refused([](RunParameters& p) {
    p.SaveValues = 1;
    p.StatisticsPath = std::string(261, 'a');
  });
}

}  // namespace
