// The criteria called from several threads at once give, bit for bit, what
// the same calls give one after another on one thread.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <thread>
#include <vector>

#include "criteria/quessel.h"

namespace {

// Sorted samples that follow the uniform law more or less closely, so that
// each call's Omega-square law integrates with parameters of its own.
std::vector<std::vector<double>> Samples() {
  std::vector<std::vector<double>> samples;
  for (int s = 0; s < 12; ++s) {
    std::vector<double> x;
    const double power = 0.8 + 0.04 * s;
    for (int i = 0; i < 300; ++i) {
      x.push_back(std::pow(std::fmod(0.6180339887 * (i + 1) + 0.01 * s, 1.0), power));
    }
    sort_up(static_cast<int>(x.size()), x.data());
    samples.push_back(std::move(x));
  }
  return samples;
}

CritVA Fit(std::vector<double> x) {
  DistribFunc uniform{dfBeta, 1.0, 1.0};
  CritVA criteria{};
  KolmSmOm(x.data(), static_cast<int>(x.size()), &uniform, criteria);
  ChiRTrueStats(x.data(), static_cast<int>(x.size()), &uniform, 1, 5, criteria, "./Tables/");
  return criteria;
}

TEST(Concurrency, ThreadsGetTheSingleThreadedResultsExactly) {
  const std::vector<std::vector<double>> samples = Samples();
  std::vector<CritVA> expected;
  for (const auto& x : samples) expected.push_back(Fit(x));
  // The Omega-square law must really integrate: below its upper limit 13.18
  // and different from sample to sample.
  for (std::size_t s = 0; s < samples.size(); ++s) {
    EXPECT_GT(expected[s].BigOmegaStat, 0.0);
    EXPECT_LT(expected[s].BigOmegaStat, 13.18);
    if (s > 0) {
      EXPECT_NE(expected[s].BigOmegaStat, expected[s - 1].BigOmegaStat);
    }
  }

  constexpr int kThreads = 6;
  constexpr int kRounds = 4;
  std::vector<std::vector<CritVA>> got(kThreads);
  std::vector<std::thread> threads;
  for (int t = 0; t < kThreads; ++t) {
    // Each thread starts at a sample of its own, so that different laws are
    // integrated at the same moment.
    threads.emplace_back([&, t] {
      for (int round = 0; round < kRounds; ++round) {
        for (std::size_t i = 0; i < samples.size(); ++i) {
          got[t].push_back(Fit(samples[(i + t) % samples.size()]));
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();

  for (int t = 0; t < kThreads; ++t) {
    ASSERT_EQ(got[t].size(), kRounds * samples.size());
    for (std::size_t i = 0; i < got[t].size(); ++i) {
      const CritVA& want = expected[(i + t) % samples.size()];
      EXPECT_EQ(std::memcmp(&got[t][i], &want, sizeof want), 0) << "thread " << t << ", call " << i;
    }
  }
}

}  // namespace
