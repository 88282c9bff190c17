#include "generators/bulk_draw.h"

#include <typeinfo>

#include "generators/univariate.h"
#include "generators/value_biexp.h"

namespace olvend {

namespace {

template <class Generator>
void DrawInOneLoop(TCValueUni& generator, double* values, std::int32_t count) {
  static_cast<Generator&>(generator).CValues(values, count);
}

void DrawOneByOne(TCValueUni& generator, double* values, std::int32_t count) {
  for (std::int32_t i = 0; i < count; ++i) values[i] = generator.CValue();
}

}  // namespace

BulkDraw BulkDrawOf(const TCValueUni* generator) {
  if (generator == nullptr) return DrawOneByOne;
  // The exact type: a derived class may have its own CValue.
  const std::type_info& type = typeid(*generator);
  if (type == typeid(TCValueNorm)) return DrawInOneLoop<TCValueNorm>;
  if (type == typeid(TCValueLog)) return DrawInOneLoop<TCValueLog>;
  if (type == typeid(TCValueLaplas)) return DrawInOneLoop<TCValueLaplas>;
  if (type == typeid(TCValueKoshi)) return DrawInOneLoop<TCValueKoshi>;
  if (type == typeid(TCValueBiExp)) return DrawInOneLoop<TCValueBiExp>;
  return DrawOneByOne;
}

}  // namespace olvend
