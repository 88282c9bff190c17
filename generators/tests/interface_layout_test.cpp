// A caller built from the generators' interface alone: the classes declared
// here with nothing but their published fields, in their order after the
// table pointer, and none of the library's headers. Such a caller allocates
// each object by these sizes, so the exported constructors, the draws and the
// destructors must stay inside them: each object is built in storage of
// exactly its size between guard bytes, drawn from and destroyed, and the
// guards must be intact and the values those of the library's own classes
// (the generators' reference figures after srand(1), which the library's
// white-box tests hold its classes to).
#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <memory>
#include <new>

#include "linalg/matrix.h"
#include "linalg/vector.h"
#include "platform/export.h"

class WB_EXPORT TCValueUni {
 public:
  virtual ~TCValueUni();
  virtual double CValue() = 0;
  virtual TCValueUni& operator>>(double& value);
};

enum TRavType : std::uint8_t { rtSystem = 1, rtMultCongruent = 2, rtFracPi = 3 };

// The fields are never touched here; they only give each class its size.
class WB_EXPORT TCValueRav : public TCValueUni {
 public:
  explicit TCValueRav(TRavType kind);
  TCValueRav(double seed, TRavType kind);
  ~TCValueRav() override;
  double CValue() override;

 protected:
  TRavType Kind;
  double X;
  double Mult;
};

class WB_EXPORT TCValueNorm : public TCValueUni {
 public:
  TCValueNorm(double mean, double sd);
  ~TCValueNorm() override;
  double CValue() override;

 protected:
  double mean;
  double sd;
  bool new_pair;
  double kept;
};

class WB_EXPORT TCValueLog : public TCValueUni {
 public:
  TCValueLog(double mean, double s);
  ~TCValueLog() override;
  double CValue() override;

 protected:
  double mean;
  double s;
};

class WB_EXPORT TCValueLaplas : public TCValueUni {
 public:
  TCValueLaplas(double mean, double s);
  ~TCValueLaplas() override;
  double CValue() override;

 protected:
  double mean;
  double b;
};

class WB_EXPORT TCValueKoshi : public TCValueUni {
 public:
  TCValueKoshi(double location, double scale);
  ~TCValueKoshi() override;
  double CValue() override;

 protected:
  double location;
  double scale;
};

class WB_EXPORT TCValueBiExp : public TCValueUni {
 public:
  TCValueBiExp(double a, double b, double c);
  ~TCValueBiExp() override;
  double F(double x);
  double f(double x);
  double InvF(double p, double tol);
  double CValue() override;

 protected:
  double a;
  double b;
  double c;
};

class WB_EXPORT TCValueMulti {
 public:
  TCValueMulti(Vector* mean, Matrix* covariance, TCValueUni* generator);
  ~TCValueMulti();
  Vector* CValueMulti();
  std::int32_t DimVector();
  void Display();

 protected:
  std::int32_t dimension;
  Vector* mean;
  Matrix* covariance;
  Matrix* factor;
  TCValueUni* generator;
};

namespace {

static_assert(sizeof(void*) != 8 ||
              (sizeof(TCValueRav) == 32 && sizeof(TCValueNorm) == 40 && sizeof(TCValueLog) == 24 &&
               sizeof(TCValueLaplas) == 24 && sizeof(TCValueKoshi) == 24 && sizeof(TCValueBiExp) == 32 &&
               sizeof(TCValueMulti) == 40));

constexpr std::size_t kGuard = 64;
constexpr unsigned char kGuardByte = 0xA5;

// Storage of exactly sizeof(T) between two guards.
template <class T>
class Fenced {
 public:
  Fenced() { std::memset(bytes_, kGuardByte, sizeof bytes_); }
  void* Storage() { return bytes_ + kGuard; }
  bool GuardsIntact() const {
    for (std::size_t i = 0; i < kGuard; ++i) {
      if (bytes_[i] != kGuardByte || bytes_[kGuard + sizeof(T) + i] != kGuardByte) return false;
    }
    return true;
  }

 private:
  alignas(alignof(std::max_align_t)) unsigned char bytes_[kGuard + sizeof(T) + kGuard];
};

// srand(1) through the interface: kind 1 seeds with the seed's integer part.
void SeedWithOne() {
  Fenced<TCValueRav> fence;
  static_cast<TCValueRav*>(new (fence.Storage()) TCValueRav(1.0, rtSystem))->~TCValueRav();
  EXPECT_TRUE(fence.GuardsIntact());
}

// Builds a T in its fence, hands it to `use`, destroys it through the
// interface's virtual destructor and checks the guards.
template <class T, class Use, class... Arguments>
void Fence(Use&& use, Arguments... arguments) {
  Fenced<T> fence;
  T* object = new (fence.Storage()) T(arguments...);
  use(*object);
  static_cast<TCValueUni*>(object)->~TCValueUni();
  EXPECT_TRUE(fence.GuardsIntact()) << typeid(T).name();
}

// The first value of a T(0, 1) built in its fence.
template <class T>
double FirstValue() {
  double value = 0.0;
  Fence<T>([&value](T& law) { value = law.CValue(); }, 0.0, 1.0);
  return value;
}

TEST(InterfaceLayout, UnivariateGeneratorsStayInsideTheirPublishedSize) {
  SeedWithOne();
  Fence<TCValueNorm>(
      [](TCValueNorm& normal) {
        EXPECT_EQ(normal.CValue(), 0.30680378789940793);
        EXPECT_EQ(normal.CValue(), 1.4464439570075664);
      },
      0.0, 1.0);
  const struct {
    double (*first_value)();
    double expected;
  } laws[] = {
      {FirstValue<TCValueLog>, -0.3776404955362386},
      {FirstValue<TCValueLaplas>, -0.5657096859393387},
      {FirstValue<TCValueKoshi>, -0.5697477697757012},
  };
  for (const auto& law : laws) {
    SeedWithOne();
    EXPECT_EQ(law.first_value(), law.expected);
  }
  SeedWithOne();
  Fence<TCValueBiExp>([](TCValueBiExp& law) { EXPECT_EQ(law.CValue(), law.InvF(10982.0 / 32767.0, 1e-10)); },
                      1.0, 3.0, 1.5);
  SeedWithOne();
  Fence<TCValueRav>([](TCValueRav& uniform) { EXPECT_EQ(uniform.CValue(), 10982.0 / 32767.0); }, rtSystem);
  Fence<TCValueRav>([](TCValueRav& uniform) { EXPECT_EQ(uniform.CValue(), 0.6415926535897931); }, 0.5,
                    rtFracPi);
}

TEST(InterfaceLayout, MultivariateGeneratorStaysInsideItsPublishedSize) {
  Vector mean(2);
  mean[0] = 1;
  mean[1] = -1;
  Matrix covariance(2, 2, 0.0);  // L = [[2, 0], [1, sqrt 2]]
  covariance[0][0] = 4;
  covariance[0][1] = covariance[1][0] = 2;
  covariance[1][1] = 3;
  SeedWithOne();
  Fence<TCValueNorm>(
      [&](TCValueNorm& normal) {
        Fenced<TCValueMulti> fence;
        auto* multi = new (fence.Storage()) TCValueMulti(&mean, &covariance, &normal);
        EXPECT_EQ(multi->DimVector(), 2);
        const std::unique_ptr<Vector> observation(multi->CValueMulti());
        multi->~TCValueMulti();
        EXPECT_TRUE(fence.GuardsIntact());
        // z from the normal generator's reference figures, summed as the
        // vector product sums.
        const double z0 = 0.30680378789940793;
        const double z1 = 1.4464439570075664;
        EXPECT_EQ((*observation)[0], ((0.0 + z0 * 2.0) + z1 * 0.0) + 1.0);
        EXPECT_EQ((*observation)[1], ((0.0 + z0 * 1.0) + z1 * 1.4142135623730951) - 1.0);
      },
      0.0, 1.0);
}

}  // namespace
