// The callers bind Quessel by name, so its exported names are its interface.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace {

TEST(QuesselLibrary, ExportsExactlyItsInterface) {
  const std::string path = std::string(WB_STAGE_DIR) + "/Libraries/libQuessel.so";
  void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(library, nullptr) << dlerror();
  for (const char* exported :
       {"_Z8KolmSmOmPdiP11DistribFuncR6CritVA", "_ZN11DistribFunc11ProbabilityEdb",
        "_Z13ChiRTrueStatsPdiP11DistribFunciiR6CritVAPKc", "_Z7sort_upiPd", "_Z7blsimp0PddddPFddEPi"}) {
    EXPECT_NE(dlsym(library, exported), nullptr) << exported;
  }
  for (const char* internal : {"_ZN7quessel8internal14KolmLimitDistrEd", "_ZN7quessel8internal5gammaEd"}) {
    EXPECT_EQ(dlsym(library, internal), nullptr) << internal;
  }
  // The library's own gamma must not shadow the C library's, which is ln Gamma.
  const auto c_gamma = reinterpret_cast<double (*)(double)>(dlsym(library, "gamma"));
  ASSERT_NE(c_gamma, nullptr);
  EXPECT_NEAR(c_gamma(4.0), std::log(6.0), 1e-15);
  dlclose(library);
}

}  // namespace
