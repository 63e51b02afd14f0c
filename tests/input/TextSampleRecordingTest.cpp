#include "input/TextSampleRecording.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <memory>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/DataRoot.h"
#include "input/E00Reader.h"
#include "input/NITextReader.h"
#include "marks/AutomaticMarking.h"
#include "core/MarkRecord.h"
#include "support/ScriptedUi.h"
#include "support/TempDir.h"

namespace velmora {
namespace {

using Layout = TextSampleRecording::Layout;

SampleSettings Short(Layout layout, double seconds) {
  SampleSettings settings = TextSampleRecording::DefaultSettings(layout);
  settings.seconds = seconds;
  return settings;
}

std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

std::vector<std::string> Fields(const std::string& line, char separator) {
  std::vector<std::string> fields;
  std::istringstream in(line);
  for (std::string field; std::getline(in, field, separator);) fields.push_back(field);
  return fields;
}

std::vector<std::string> Words(const std::string& text) {
  std::vector<std::string> words;
  std::istringstream in(text);
  for (std::string word; in >> word;) words.push_back(word);
  return words;
}

// The stored value a number of the file stands for, at the layout's scale.
int32_t Scaled(const std::string& number, double scale) { return int32_t(std::llround(std::stod(number) * scale)); }

TEST(TextSampleRecordingTest, NIFileReadsBackToTheGeneratedSamples) {
  const SampleSettings settings = Short(Layout::NI, 2.5);
  const std::string text = TextSampleRecording::RecordingText(Layout::NI, settings, "");
  testing::ScriptedUi ui;
  const TextSamples samples = NITextReader::Parse("sample-ni.txt", text, 60000, ui);
  ASSERT_EQ(samples.rows, 2500);
  for (int c = 1; c <= 64; ++c) {
    const std::vector<int32_t> meant = TextSampleRecording::ChannelSamples(settings, c);
    const std::vector<double> signal = SampleRecording::ChannelSignal(settings, c);
    ASSERT_EQ(meant.size(), 2500u);
    for (int r = 0; r < samples.rows; ++r) {
      ASSERT_EQ(samples.values[size_t(r) * 64 + size_t(c - 1)], meant[size_t(r)]) << "channel " << c << " row " << r;
      // Data line r + 1 is the signal at r + 1 ms, within the rounding to whole microvolts.
      ASSERT_LE(std::fabs(meant[size_t(r)] - signal[size_t(r) + 1]), 0.5) << "channel " << c << " row " << r;
    }
  }
}

// The text files carry the E00 sample's signals on the same time base, so that the slow waves
// fall on the same samples whichever file is opened.
TEST(TextSampleRecordingTest, ChannelsMatchTheE00SampleRowForRow) {
  const SampleSettings settings = Short(Layout::NI, 2.5);
  testing::TempDir dir;
  const SampleFiles files = SampleRecording::Write(settings, dir.File("e00"));
  auto state = std::make_unique<AnalysisState>();
  state->SmoothElectrograms = false;
  state->DefaultMatrixFileName = files.matrix;
  testing::ScriptedUi ui;
  const DataRoot root(dir.File("root"));
  E00Reader(*state, ui, root).Open(files.recording, RecordingOpenOptions{false, false});
  ASSERT_EQ(state->SigLength, 2500);
  for (const int channel : {1, 16, 17, 40, 64}) {
    const std::vector<int32_t> text = TextSampleRecording::ChannelSamples(settings, channel);
    for (int r = 0; r < 2500; ++r) ASSERT_EQ(text[size_t(r)], state->Signal(r, channel - 1)) << channel << " " << r;
  }
}

TEST(TextSampleRecordingTest, NIAndManchesterLinesHoldTheTwoFieldsAndTheChannelsInVolts) {
  for (const Layout layout : {Layout::NI, Layout::Manchester}) {
    SCOPED_TRACE(TextSampleRecording::Name(layout));
    const SampleSettings settings = Short(layout, 1.2);
    const auto lines = Lines(TextSampleRecording::RecordingText(layout, settings, ""));
    ASSERT_EQ(lines.size(), 3u + 1200u);
    const std::vector<int32_t> channel64 = TextSampleRecording::ChannelSamples(settings, 64);
    for (const int row : {1, 1001, 1200}) {
      const std::string& line = lines[size_t(2 + row)];
      const std::string fields = row == 1 ? "2026-01-05\t00:00:00.001" : row == 1001 ? "2026-01-05\t00:00:01.001"
                                                                                     : "2026-01-05\t00:00:01.200";
      EXPECT_EQ(line.substr(0, 23), fields);
      const auto values = Fields(line.substr(24), '\t');
      ASSERT_EQ(values.size(), 64u);
      EXPECT_EQ(values[63].size() - values[63].find('.'), 7u) << values[63];  // six decimals
      EXPECT_EQ(Scaled(values[63], 1e6), channel64[size_t(row - 1)]);
    }
  }
}

TEST(TextSampleRecordingTest, NashvilleLinesAreTheChannelsTabDelimitedInUnits) {
  const SampleSettings settings = Short(Layout::Nashville, 1.0);
  const auto lines = Lines(TextSampleRecording::RecordingText(Layout::Nashville, settings, ""));
  ASSERT_EQ(lines.size(), 3u + 1000u);
  const std::vector<int32_t> channel30 = TextSampleRecording::ChannelSamples(settings, 30);
  for (const int row : {1, 500, 1000}) {
    const auto values = Fields(lines[size_t(2 + row)], '\t');
    ASSERT_EQ(values.size(), 48u);
    EXPECT_EQ(values[29], std::to_string(channel30[size_t(row - 1)]));
  }
}

TEST(TextSampleRecordingTest, AucklandHeaderDescribesTheFileAndTheValuesRunAsOneStream) {
  const SampleSettings settings = Short(Layout::Auckland, 0.25);
  const std::string text = TextSampleRecording::RecordingText(Layout::Auckland, settings, "/data/grid.txt");
  const auto lines = Lines(text);
  ASSERT_GT(lines.size(), 10u);
  const std::vector<std::string> leading = {"10", "64", "250", "1000", "0.01"};
  for (size_t n = 0; n < leading.size(); ++n) EXPECT_EQ(Words(lines[n]).at(0), leading[n]) << "line " << n + 1;
  EXPECT_EQ(lines[5], "/data/grid.txt");
  for (size_t n = 7; n < 10; ++n) EXPECT_EQ(Words(lines[n]).at(0), "0") << "line " << n + 1;
  // 64 values a row, 10 to a line: the rows break across lines.
  EXPECT_EQ(Words(lines[10]).size(), 10u);
  std::string stream;
  for (size_t n = 10; n < lines.size(); ++n) stream += lines[n] + "\n";
  const auto numbers = Words(stream);
  ASSERT_EQ(numbers.size(), 250u * 64u);
  for (const int channel : {1, 17, 64}) {
    const std::vector<int32_t> meant = TextSampleRecording::ChannelSamples(settings, channel);
    for (const int row : {1, 123, 250})
      EXPECT_EQ(Scaled(numbers[size_t(row - 1) * 64 + size_t(channel - 1)], 100), meant[size_t(row - 1)])
          << "channel " << channel << " row " << row;
  }
}

TEST(TextSampleRecordingTest, RefusesAGridBeyondTheLayoutsElectrodeChannels) {
  SampleSettings settings = Short(Layout::Nashville, 1.0);
  settings.cols = 8;
  settings.rows = 5;  // 40 electrodes; a Nashville file holds channels 17..48
  EXPECT_THROW(TextSampleRecording::Check(Layout::Nashville, settings), std::invalid_argument);
  EXPECT_NO_THROW(TextSampleRecording::Check(Layout::NI, settings));
  EXPECT_EQ(TextSampleRecording::LayoutNamed("manchester"), Layout::Manchester);
  EXPECT_FALSE(TextSampleRecording::LayoutNamed("e00").has_value());
}

// What the sample is for: opened as an NI recording, the automatic marking finds each slow
// wave on every live electrode, within 2 ms of where the generator put it.
TEST(TextSampleRecordingTest, AutomaticMarkingFindsTheWavesOfTheNISample) {
  const SampleSettings settings = Short(Layout::NI, 45);
  testing::TempDir dir;
  const SampleFiles files = TextSampleRecording::Write(Layout::NI, settings, dir.File("ni"));
  auto s = std::make_unique<AnalysisState>();
  testing::ScriptedUi ui;
  const DataRoot root(dir.File("root"));
  NITextReader(*s, ui, root).Read(files.recording, 60000, RecordingOpenOptions{false, false});
  s->BeginA = s->CurBegin = 0;
  s->CurWindow = s->SigLength;
  AutomaticMarking(*s, ui).MarkAllSlowWaves();
  const std::vector<Activation> activations = SampleRecording::ActivationTimes(settings);
  ASSERT_EQ(activations.size(), 2u * (48 - 3));  // two waves on the live electrodes
  for (const Activation& a : activations) {
    int nearest = 1 << 30;
    for (int n = 1; n <= s->MarkCount; ++n)
      if (s->Mark(n).Electrode == a.channel) nearest = std::min(nearest, std::abs(s->Mark(n).Time - a.timeMs));
    EXPECT_LE(nearest, 2) << "channel " << a.channel << " wave " << a.wave << " at " << a.timeMs;
  }
}

}  // namespace
}  // namespace velmora
