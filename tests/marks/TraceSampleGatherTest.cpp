#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "core/Limits.h"
#include "marks/TraceSampleGather.h"

namespace velmora {
namespace {

using Source = TraceSampleGather::Source;

class TraceSampleGatherTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::mt19937 random(3);
    for (int32_t& value : store) value = int32_t(random() % 65536) - 32768;
  }
  int32_t Expected(const Source& source, int row) const {
    const int32_t* values = store.data() + size_t(row) * kChannels;
    return source.neighbour < 0 ? values[source.column] : values[source.column] - values[source.neighbour];
  }
  // Gathers and checks every value, and that nothing beyond the last source's values is written.
  void ExpectGathered(int firstRow, int step, int count, const std::vector<Source>& sources) {
    const size_t size = sources.size() * size_t(count);
    std::vector<int32_t> out(size + 1, 123456789);
    TraceSampleGather::Gather(store.data(), firstRow, step, count, sources, out.data());
    for (size_t i = 0; i < sources.size(); ++i)
      for (int j = 0; j < count; ++j)
        ASSERT_EQ(out[i * size_t(count) + size_t(j)], Expected(sources[i], firstRow + j * step))
            << "source " << i << " (column " << sources[i].column << "), value " << j << " of " << count
            << ", step " << step;
    EXPECT_EQ(out[size], 123456789);
  }
  static std::vector<Source> Sequential(int firstColumn, int count, bool bipolar) {
    std::vector<Source> sources;
    for (int column = firstColumn; column < firstColumn + count; ++column)
      sources.push_back({column, bipolar && column + 1 < kChannels ? column + 1 : -1});
    return sources;
  }

  std::vector<int32_t> store = std::vector<int32_t>(size_t(kStartSignalRows) * kChannels);
};

TEST_F(TraceSampleGatherTest, NeighbouringChannelsInChannelOrder) {
  for (int count : {1, 3, 4, 15, 16, 17, 4000})
    for (int step : {1, 5}) ExpectGathered(10000, step, count, Sequential(16, 24, false));
}

TEST_F(TraceSampleGatherTest, BipolarNeighbouringChannels) {
  for (int count : {2, 16, 21, 13000}) ExpectGathered(0, 5, count, Sequential(16, 24, true));
}

TEST_F(TraceSampleGatherTest, BipolarUpToTheLastChannelWhichHasNoNeighbour) {
  // Channels 233..256: the last four are 253..256, and 256 is drawn raw.
  ExpectGathered(100, 1, 4000, Sequential(232, 24, true));
  ExpectGathered(100, 3, 50, Sequential(252, 4, true));
}

TEST_F(TraceSampleGatherTest, FourNeighbouringColumnsThatDoNotAllSubtractAlike) {
  ExpectGathered(7, 2, 33, {{16, -1}, {17, -1}, {18, -1}, {19, 20}, {20, -1}});
  ExpectGathered(7, 2, 33, {{16, 17}, {17, 18}, {18, 30}, {19, 20}});
}

TEST_F(TraceSampleGatherTest, ChannelsInAnyOrderWithRepeats) {
  ExpectGathered(50, 1, 100, {{40, -1}, {16, -1}, {16, -1}, {255, -1}, {0, -1}, {3, 2}, {39, -1}, {38, -1}});
  std::vector<Source> descending;
  for (int column = 200; column > 150; --column) descending.push_back({column, -1});
  ExpectGathered(65000, 1, 500, descending);
}

TEST_F(TraceSampleGatherTest, TheLastRowsOfTheStore) {
  ExpectGathered(kStartSignalRows - 65, 1, 65, Sequential(16, 24, false));
  ExpectGathered(kStartSignalRows - 5 * 13 - 1, 5, 14, Sequential(0, 256, false));
}

TEST_F(TraceSampleGatherTest, NothingIsWrittenForNoRowsOrNoSources) {
  ExpectGathered(0, 1, 0, Sequential(16, 24, false));
  ExpectGathered(0, 1, 100, {});
}

}  // namespace
}  // namespace velmora
