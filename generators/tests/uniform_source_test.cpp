// The thread's uniform source and its clock seeding. Sequences are the source's
// reference figures, checked against the recurrence written out again.
#include "generators/uniform_source.h"

#include <gtest/gtest.h>

#include <thread>
#include <vector>

#include "generators/clock_timer.h"
#include "generators/tests/source_probe.h"
#include "platform/system_time.h"

namespace {

std::vector<int> Draws(int count) {
  std::vector<int> values;
  for (int i = 0; i < count; ++i) values.push_back(olvend::rand());
  return values;
}

TEST(UniformSource, KnownSequencesAfterSeedingAndTheRecurrenceOverALongRun) {
  olvend::srand(1);
  EXPECT_EQ(Draws(5), (std::vector<int>{130, 10982, 1090, 11656, 7117}));
  olvend::srand(0);
  EXPECT_EQ(Draws(5), (std::vector<int>{346, 130, 10982, 1090, 11656}));
  olvend::srand(999);
  EXPECT_EQ(Draws(5), (std::vector<int>{14277, 27712, 25053, 5034, 31899}));
  olvend::srand(123456789u);
  ReferenceLcg reference(123456789u);
  for (int i = 0; i < 100000; ++i) ASSERT_EQ(olvend::rand(), reference.Next()) << "step " << i;
}

TEST(UniformSource, EveryThreadStartsAtOneAndKeepsItsOwnState) {
  olvend::srand(999);
  std::vector<int> other;
  std::thread([&other] { other = Draws(5); }).join();
  EXPECT_EQ(other, (std::vector<int>{346, 130, 10982, 1090, 11656}));
  // Seeding on the other thread left this one where it was.
  std::thread([] { olvend::srand(5); }).join();
  EXPECT_EQ(Draws(1), std::vector<int>{14277});
}

TEST(ClockTimer, SeedsWithTheUtcMillisecond) {
  platform::FixUtcMillisecond(999);
  InitClockTimer();
  platform::FixUtcMillisecond(-1);
  EXPECT_EQ(Draws(2), (std::vector<int>{14277, 27712}));
}

}  // namespace
