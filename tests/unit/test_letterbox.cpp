// The rows of the window that the letterbox setting leaves for the picture.
#include <gtest/gtest.h>

#include "scene/projection.h"

namespace {

TEST(Letterbox, ZeroUsesTheWholeWindow) {
  for (int height : {1, 480, 512, 768, 1000, 1080}) {
    const LetterboxViewport v = letterboxViewport(0, height);
    EXPECT_EQ(v.bottom, 0) << height;
    EXPECT_EQ(v.top, height) << height;
  }
}

TEST(Letterbox, SixStepsKeepTheMiddleFortyPercent) {
  const LetterboxViewport v = letterboxViewport(6, 1000);
  EXPECT_EQ(v.bottom, 300);
  // The top is truncated from a product just short of 700.
  EXPECT_GE(v.top, 699);
  EXPECT_LE(v.top, 700);
}

TEST(Letterbox, EachStepTakesFivePercentFromTopAndBottom) {
  for (int height : {480, 512, 600, 768, 1000, 1080, 1200}) {
    int lastHeight = height + 1;
    for (int step = 0; step <= 6; ++step) {
      const LetterboxViewport v = letterboxViewport(step, height);
      const double bar = step * 0.05 * height;
      EXPECT_NEAR(v.bottom, bar, 1.0) << step << " on " << height;
      EXPECT_NEAR(height - v.top, bar, 1.0) << step << " on " << height;
      EXPECT_LE(v.bottom, bar) << "rows are truncated, never rounded up";
      EXPECT_LT(v.top - v.bottom, lastHeight) << "each step narrows the picture";
      lastHeight = v.top - v.bottom;
    }
  }
}

TEST(Letterbox, FractionalBarsAreTruncated) {
  const LetterboxViewport v = letterboxViewport(1, 768);  // 38.4 and 729.6
  EXPECT_EQ(v.bottom, 38);
  EXPECT_EQ(v.top, 729);
}

TEST(Letterbox, ZeroHeightGivesAnEmptyViewport) {
  for (int step = 0; step <= 6; ++step) {
    const LetterboxViewport v = letterboxViewport(step, 0);
    EXPECT_EQ(v.bottom, 0);
    EXPECT_EQ(v.top, 0);
  }
}

}  // namespace
