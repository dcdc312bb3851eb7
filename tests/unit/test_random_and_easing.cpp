// The shared random generator, the cosine ease and the oscillator read-out.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "core/easing.h"
#include "core/oscillators.h"
#include "core/random.h"
#include "support/state.h"
#include "unit/reference_random.h"

namespace {

constexpr uint32_t kMultiplier = 214013u;
constexpr uint32_t kIncrement = 2531011u;

// The seed whose first draw leaves the generator in the given state:
// (state - increment) times the inverse of the multiplier modulo 2^32.
uint32_t seedLeadingTo(uint32_t state) {
  uint32_t inverse = kMultiplier;  // right in the low 3 bits for any odd number
  for (int i = 0; i < 4; ++i) inverse *= 2u - kMultiplier * inverse;
  return (state - kIncrement) * inverse;
}

class RandomAndEasing : public ::testing::Test {
 protected:
  void SetUp() override { restoreProgramState(); }
  void TearDown() override { restoreProgramState(); }
};

TEST_F(RandomAndEasing, SeedOneGivesTheWellKnownSequenceOfThisGenerator) {
  const int expected[] = {41, 18467, 6334, 26500, 19169, 15724, 11478, 29358, 26962, 24464};
  seedRandom(1);
  for (int value : expected) EXPECT_EQ(nextRandom(), value);
}

TEST_F(RandomAndEasing, SequenceFollowsTheFormulaFromAnySeed) {
  for (uint32_t seed : {0u, 4242u, 0xdeadbeefu, 0xffffffffu}) {
    seedRandom(seed);
    ReferenceRandom reference(seed);
    for (int i = 0; i < 1000; ++i) ASSERT_EQ(nextRandom(), reference.next()) << "seed " << seed;
  }
}

TEST_F(RandomAndEasing, DrawsUseAllFifteenBitsAndNoMore) {
  seedRandom(7);
  int lowest = 1 << 30;
  int highest = -1;
  int highBitSeen = 0;
  for (int i = 0; i < 200000; ++i) {
    const int r = nextRandom();
    lowest = std::min(lowest, r);
    highest = std::max(highest, r);
    highBitSeen |= r & 0x4000;
  }
  EXPECT_GE(lowest, 0);
  EXPECT_LE(highest, 32767);
  EXPECT_GT(highest, 32700);
  EXPECT_LT(lowest, 60);
  EXPECT_NE(highBitSeen, 0);
}

TEST_F(RandomAndEasing, RandomValueScalesTheDrawBy32768) {
  seedRandom(99);
  ReferenceRandom reference(99);
  for (int i = 0; i < 100; ++i) {
    const int r = reference.next();
    ASSERT_DOUBLE_EQ(randomValue(360.0), r * (360.0 / 32768.0));
  }
  // A negative range gives values in (range, 0].
  for (int i = 0; i < 1000; ++i) {
    const double v = randomValue(-2.0);
    ASSERT_LE(v, 0.0);
    ASSERT_GT(v, -2.0);
  }
}

TEST_F(RandomAndEasing, TheLargestDrawStaysBelowTheRange) {
  const uint32_t seed = seedLeadingTo(0x7fff0000u);
  ReferenceRandom check(seed);
  ASSERT_EQ(check.next(), 32767);
  seedRandom(seed);
  const double largest = randomValue(1.0);
  EXPECT_DOUBLE_EQ(largest, 32767.0 / 32768.0);
  EXPECT_LT(largest, 1.0);

  seedRandom(seedLeadingTo(0x80000000u));  // bit 31 is not part of the draw
  EXPECT_DOUBLE_EQ(randomValue(1.0), 0.0);
}

TEST_F(RandomAndEasing, CosineBlendEndsMeanAndQuarter) {
  EXPECT_NEAR(cosineBlend(3.0f, 7.0f, 0.0f), 3.0, 1e-6);
  EXPECT_NEAR(cosineBlend(3.0f, 7.0f, 1.0f), 7.0, 1e-6);
  EXPECT_NEAR(cosineBlend(0.0f, 1.0f, 0.5f), 0.5, 1e-7);
  EXPECT_NEAR(cosineBlend(-4.0f, 4.0f, 0.5f), 0.0, 1e-6);
  EXPECT_NEAR(cosineBlend(0.0f, 1.0f, 0.25f), (1.0 - std::sqrt(0.5)) / 2.0, 1e-6);
  EXPECT_NEAR(cosineBlend(10.0f, 20.0f, 0.75f), 10.0 + 10.0 * (1.0 + std::sqrt(0.5)) / 2.0, 1e-5);
}

TEST_F(RandomAndEasing, CosineBlendIsFlatAtTheEndsAndNotClamped) {
  // An ease, not a straight line: one percent in, it has moved far less.
  EXPECT_LT(cosineBlend(0.0f, 1.0f, 0.01f), 0.001);
  EXPECT_GT(cosineBlend(0.0f, 1.0f, 0.99f), 0.999);
  EXPECT_NEAR(cosineBlend(3.0f, 7.0f, 2.0f), 3.0, 1e-6);
  EXPECT_NEAR(cosineBlend(3.0f, 7.0f, 1.5f), 5.0, 1e-6);
  EXPECT_NEAR(cosineBlend(3.0f, 7.0f, -1.0f), 7.0, 1e-6);
  for (float t = 0.0f; t <= 1.0f; t += 0.125f) {
    EXPECT_NEAR(cosineBlend(2.0f, 5.0f, t), cosineBlend(5.0f, 2.0f, 1.0f - t), 1e-6) << t;
  }
}

TEST_F(RandomAndEasing, OscillatorValueReadsTheChannelPhase) {
  // A channel at phase 0 sits in the middle of its swing.
  EXPECT_DOUBLE_EQ(oscillatorValue(70, 0.01, 720.0, -360.0), 0.0);
  EXPECT_DOUBLE_EQ(oscillatorValue(98, 3.0, 0.1, 0.25), 0.3);

  oscillators.phase[11] = std::acos(-1.0) / 6.0;  // frequency 3: the top of the swing
  EXPECT_NEAR(oscillatorValue(11, 3.0, 0.1, 0.0), 0.1, 1e-12);
  oscillators.phase[11] = -std::acos(-1.0) / 6.0;
  EXPECT_NEAR(oscillatorValue(11, 3.0, 0.1, 0.0), 0.0, 1e-12);
  // A negative amplitude mirrors the swing.
  EXPECT_NEAR(oscillatorValue(11, 3.0, -0.1, 0.0), 0.0, 1e-12);
  oscillators.phase[11] = std::acos(-1.0) / 6.0;
  EXPECT_NEAR(oscillatorValue(11, 3.0, -0.1, 0.0), -0.1, 1e-12);
  // Only the named channel is read.
  EXPECT_DOUBLE_EQ(oscillatorValue(12, 3.0, 0.1, 0.0), 0.05);
}

}  // namespace
