// The library Olvend as its callers see it: the staged shared library's exported
// names, its start-up seeding, and generators created with `new` here and ended
// with `delete` through their virtual destructors inside the library.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <set>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "generators/bulk_draw.h"
#include "generators/univariate.h"
#include "generators/value_biexp.h"
#include "generators/value_multi.h"
#include "generators/value_rav.h"
#include "platform/exceptions.h"

namespace {

// A caller allocates each object by the size that the published fields give
// (interface_layout_test.cpp builds such a caller); here on x86-64.
static_assert(sizeof(void*) != 8 ||
              (sizeof(TCValueRav) == 32 && sizeof(TCValueNorm) == 40 && sizeof(TCValueLog) == 24 &&
               sizeof(TCValueLaplas) == 24 && sizeof(TCValueKoshi) == 24 && sizeof(TCValueBiExp) == 32 &&
               sizeof(TCValueMulti) == 40));

// The draw a kind-1 generator uses right after its constructor's draw, as an integer.
int NextSystemDraw() {
  TCValueRav uniform(rtSystem);
  return static_cast<int>(std::lround(uniform.CValue() * 32767.0));
}

// Taken while the program starts, before any test has drawn: the thread that
// loaded the library was seeded with 1, so 130 is dropped and 10982 follows.
const int first_draw_of_loading_thread = NextSystemDraw();

TEST(OlvendStartUp, TheLoadingThreadIsSeededWithOneAndOtherThreadsStartAtStateOne) {
  EXPECT_EQ(first_draw_of_loading_thread, 10982);
  int draw = -1;
  std::thread([&draw] { draw = NextSystemDraw(); }).join();
  EXPECT_EQ(draw, 130);  // 346 dropped
}

// Every demangled name the library defines in its dynamic symbol table.
std::set<std::string> ExportedNames() {
  std::set<std::string> names;
  FILE* pipe = popen("nm -D --defined-only -C '" WB_STAGE_DIR "/Libraries/libOlvend.so'", "r");
  if (pipe == nullptr) return names;
  char line[1024];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::string text(line);
    text.erase(text.find_last_not_of('\n') + 1);
    const auto second = text.find(' ', text.find(' ') + 1);  // "address type name"
    if (second == std::string::npos) continue;
    names.insert(text.substr(second + 1));
  }
  pclose(pipe);
  return names;
}

// The size in bytes of TCValueUni's table of virtual operations in the library.
std::size_t InterfaceTableSize() {
  std::size_t size = 0;
  FILE* pipe = popen("nm -D -S --defined-only -C '" WB_STAGE_DIR "/Libraries/libOlvend.so'", "r");
  if (pipe == nullptr) return size;
  char line[1024];
  while (std::fgets(line, sizeof line, pipe) != nullptr) {
    std::istringstream fields(line);  // "address size type name"
    std::string address, size_text, type, name;
    fields >> address >> size_text >> type;
    std::getline(fields >> std::ws, name);
    if (name == "vtable for TCValueUni") size = std::stoul(size_text, nullptr, 16);
  }
  pclose(pipe);
  return size;
}

TEST(OlvendInterface, ExportsExactlyTheListedMembers) {
  std::set<std::string> expected;
  std::istringstream listed(
      "InitClockTimer();TCValueUni::operator>>(double&);TCValueUni::~TCValueUni();"
      "TCValueRav::TCValueRav(TRavType);TCValueRav::TCValueRav(double, TRavType);TCValueRav::CValue();"
      "TCValueRav::~TCValueRav();TCValueNorm::TCValueNorm(double, double);TCValueNorm::CValue();"
      "TCValueNorm::~TCValueNorm();TCValueLog::TCValueLog(double, double);TCValueLog::CValue();"
      "TCValueLog::~TCValueLog();TCValueLaplas::TCValueLaplas(double, double);TCValueLaplas::CValue();"
      "TCValueLaplas::~TCValueLaplas();TCValueKoshi::TCValueKoshi(double, double);TCValueKoshi::CValue();"
      "TCValueKoshi::~TCValueKoshi();TCValueBiExp::F(double);TCValueBiExp::f(double);"
      "TCValueBiExp::InvF(double, double);TCValueBiExp::TCValueBiExp(double, double, double);"
      "TCValueBiExp::CValue();TCValueBiExp::~TCValueBiExp();"
      "TCValueMulti::TCValueMulti(Vector*, Matrix*, TCValueUni*);TCValueMulti::~TCValueMulti();"
      "TCValueMulti::CValueMulti();TCValueMulti::DimVector();TCValueMulti::Display()");
  for (std::string name; std::getline(listed, name, ';');) expected.insert(name);
  // The tables that `new` in a caller and `delete` through the base need.
  for (const std::string polymorphic : {"TCValueUni", "TCValueRav", "TCValueNorm", "TCValueLog",
                                        "TCValueLaplas", "TCValueKoshi", "TCValueBiExp"}) {
    for (const char* table : {"vtable for ", "typeinfo for ", "typeinfo name for "})
      expected.insert(table + polymorphic);
  }
  // Nothing else: no piece of the C++ library's templates, no linker marker.
  EXPECT_EQ(ExportedNames(), expected);
  // Offset to top, type information, the destructor's two entries, CValue and
  // operator>>: a generator compiled against these three operations is never
  // called through a slot it does not have.
  EXPECT_EQ(InterfaceTableSize(), 6 * sizeof(void*));
}

TEST(OlvendInterface, GeneratorsAndTheirErrorsCrossTheLibraryBoundary) {
  std::unique_ptr<TCValueUni> generators[] = {
      std::make_unique<TCValueRav>(rtSystem),       std::make_unique<TCValueRav>(0.5, rtFracPi),
      std::make_unique<TCValueNorm>(0.0, 1.0),      std::make_unique<TCValueLog>(0.0, 1.0),
      std::make_unique<TCValueLaplas>(0.0, 1.0),    std::make_unique<TCValueKoshi>(0.0, 1.0),
      std::make_unique<TCValueBiExp>(0.0, 1.0, 2.0)};
  for (auto& generator : generators) {  // each ended with `delete` through TCValueUni
    double value = NAN;
    *generator >> value;
    EXPECT_TRUE(std::isfinite(value) && std::isfinite(generator->CValue()));
  }
  Vector mean(2);
  Matrix covariance(2, 2, 1.0);
  auto* normal = new TCValueNorm(0.0, 1.0);
  auto* multi = new TCValueMulti(&mean, &covariance, normal);
  for (int i = 0; i < 3; ++i) {
    Vector* observation = multi->CValueMulti();
    EXPECT_EQ(observation->Size(), 2);
    delete observation;
  }
  delete multi;
  delete normal;

  EXPECT_THROW(new TCValueBiExp(0.0, 0.0, 2.0), Exception);
  Matrix negative(2, 2, -1.0);
  TCValueNorm kept(0.0, 1.0);
  EXPECT_THROW(TCValueMulti(&mean, &negative, &kept), Exception);
}

// A generator of the caller's own over any base: its values count its calls.
template <class Base>
class Counting : public Base {
 public:
  using Base::Base;
  double CValue() override { return ++calls_; }

 private:
  double calls_ = 0;
};

TEST(OlvendInterface, TheCallersOwnGeneratorGivesTheMultivariateValuesOfItsCValue) {
  // Derived from a library class, it must not be taken for that class.
  Counting<TCValueUni> own;
  Counting<TCValueLog> derived(0.0, 1.0);
  Vector mean(2);
  Matrix identity(2, 2, 1.0);
  for (TCValueUni* generator : {static_cast<TCValueUni*>(&own), static_cast<TCValueUni*>(&derived)}) {
    TCValueMulti multi(&mean, &identity, generator);
    const std::unique_ptr<Vector> first(multi.CValueMulti());
    EXPECT_EQ((*first)[0], 1.0);
    EXPECT_EQ((*first)[1], 2.0);
    // Two more observations in bulk, a row per component.
    olvend::ObservationRows rows(multi);
    std::uint32_t state = 0;
    olvend::HeldSource source(state);
    double values[4];
    rows.Draw(source, values, 2);
    EXPECT_EQ(std::vector<double>(values, values + 4), (std::vector<double>{3, 5, 4, 6}));
  }
}

}  // namespace
