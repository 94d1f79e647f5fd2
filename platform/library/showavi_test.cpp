#include "library/showavi.h"

#include <gtest/gtest.h>

#include "library/recording_operator_test.h"

using Showavi::ActiveShowAvi;
using Showavi::BusyDepth;
using Showavi::DeactiveShowAvi;

TEST(Showavi, NestedActivationsAreCountedAndReported) {
  RecordingOperator op;
  ASSERT_EQ(BusyDepth(), 0);
  ActiveShowAvi(nullptr, 6);
  ActiveShowAvi(nullptr, 1);
  EXPECT_EQ(BusyDepth(), 2);
  DeactiveShowAvi();
  DeactiveShowAvi();
  EXPECT_EQ(BusyDepth(), 0);
  EXPECT_EQ(op.Busy, (std::vector<std::pair<int, int>>{{1, 6}, {2, 1}, {1, 6}, {0, 0}}));
}

TEST(Showavi, ExtraDeactivationNeverGoesBelowZero) {
  RecordingOperator op;
  DeactiveShowAvi();
  EXPECT_EQ(BusyDepth(), 0);
  EXPECT_TRUE(op.Busy.empty());
  ActiveShowAvi(nullptr, 6);
  EXPECT_EQ(op.Busy.back(), (std::pair<int, int>{1, 6}));
  DeactiveShowAvi();
}

TEST(Showavi, FailedActivationLeavesNothingOpen) {
  RecordingOperator op;
  op.FailBusy = true;
  EXPECT_THROW(ActiveShowAvi(nullptr, 6), std::runtime_error);
  EXPECT_EQ(BusyDepth(), 0);
}
