#include <gtest/gtest.h>

#include <memory>

#include "core/AnalysisState.h"

namespace velmora {
namespace {

TEST(StartValues, PanesStartWithElectrogramsInPaneAOnly) {
  auto s = std::make_unique<AnalysisState>();
  EXPECT_FALSE(s->TwoPanes);
  EXPECT_TRUE(s->FocusA);
  EXPECT_FALSE(s->FocusB);
  EXPECT_EQ(s->PaneKindA, 1);
  EXPECT_EQ(s->PaneKindB, 1);
  EXPECT_EQ(s->NrTraces, 24);
  EXPECT_EQ(s->WindowA, 4000);
  EXPECT_EQ(s->WindowB, 4000);
  EXPECT_EQ(s->TraceOrder, 1);
  EXPECT_EQ(s->FirstChannel, 17);
  EXPECT_DOUBLE_EQ(s->Amplification, 0.01);
}

TEST(StartValues, OnlyChannels17To256AreElectrodes) {
  auto s = std::make_unique<AnalysisState>();
  for (int channel = 1; channel <= 16; ++channel) EXPECT_EQ(s->ChannelValid[size_t(channel - 1)], kNoValue) << channel;
  for (int channel = 17; channel <= 256; ++channel) EXPECT_EQ(s->ChannelValid[size_t(channel - 1)], 1) << channel;
}

TEST(StartValues, MarkingParametersPerMarkType) {
  auto s = std::make_unique<AnalysisState>();
  EXPECT_EQ(s->MinDiffValSW, -100);
  EXPECT_EQ(s->MinDiffValSpike, -200);
  EXPECT_EQ(s->MinDiffValType3, -1);
  EXPECT_EQ(s->SearchWidthSpike, 100);
  EXPECT_EQ(s->DiffDistType3, 50);
  EXPECT_EQ(s->WaveDifference[1], 150);
  EXPECT_EQ(s->AnimEnd, kNoValue);
  EXPECT_EQ(s->SamplingF, 1000);
  EXPECT_FALSE(s->SamplingFChanged);
  for (int32_t entry : s->FreeOrderList) EXPECT_EQ(entry, kNoValue);
}

TEST(StartValues, SetDefaultsUndoesChangedSettings) {
  auto s = std::make_unique<AnalysisState>();
  s->NrTraces = 3;
  s->ShowGrid = false;
  s->MarkType = {2, 3};
  s->ChannelValid[0] = 1;
  SetDefaults(*s);
  EXPECT_EQ(s->NrTraces, 24);
  EXPECT_TRUE(s->ShowGrid);
  EXPECT_EQ(s->MarkType[0], 1);
  EXPECT_EQ(s->MarkType[1], 1);
  EXPECT_EQ(s->ChannelValid[0], kNoValue);
}

TEST(StartValues, StoresHaveTheirFixedCapacity) {
  auto s = std::make_unique<AnalysisState>();
  EXPECT_EQ(s->Signals.size(), size_t(65535) * 256);
  EXPECT_EQ(s->Marks.size(), size_t(32767));
  EXPECT_EQ(s->GridElectrode.size(), size_t(100) * 100);
  EXPECT_EQ(s->GridCell(100, 100), -1);
  EXPECT_EQ(s->MarkCount, 0);
}

}  // namespace
}  // namespace velmora
