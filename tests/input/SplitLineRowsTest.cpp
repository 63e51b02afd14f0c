#include "input/SplitLineRows.h"

#include <gtest/gtest.h>

#include <condition_variable>
#include <functional>
#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include <fmt/format.h>

#include "core/Errors.h"
#include "input/LabTextReader.h"
#include "input/RowProgress.h"
#include "input/TextLines.h"
#include "support/ScriptedUi.h"

namespace velmora {
namespace {

constexpr int kChannels = 8;
constexpr int kFileRows = 20000;  // about 1 MB: read on two threads

// A Nashville text whose row r holds r * 8 + c in channel c, with some rows replaced.
std::string Text(const std::map<int, std::string>& replaced, const std::string& tail = "") {
  std::string text = "Nashville export\n8 channels\nvalues\n";
  for (int r = 0; r < kFileRows; ++r) {
    const auto replacement = replaced.find(r);
    if (replacement != replaced.end()) {
      text += replacement->second + "\r\n";
      continue;
    }
    for (int c = 0; c < kChannels; ++c) text += fmt::format("{}{}", c == 0 ? "" : "\t", r * kChannels + c);
    text += "\r\n";
  }
  return text + tail;
}

// Rows, refusals and progress come out as if the rows were read one after the other, wherever
// the rows asked for and the broken lines fall, and however the pieces of the text are shared
// out between the two threads.
TEST(SplitLineRowsTest, ReadsAsInOrderWhereverTheRowsAndBrokenLinesFall) {
  const std::string broken = "1\t2\tthree\t4\t5\t6\t7\t8";
  struct Case {
    const char* what;
    int rowsAsked;
    std::map<int, std::string> replaced;
    std::string tail;
    int rows;       // read, when no refusal
    int errorLine;  // of the refusal, 0 for none
  } cases[] = {
      {"the whole file, blank lines after it", 1 << 30, {}, "\n  \n\t\n", kFileRows, 0},
      {"fewer rows than the first half holds", 3000, {}, "", 3000, 0},
      {"fewer rows than both halves hold", 15000, {}, "", 15000, 0},
      {"a broken line in the second half", 1 << 30, {{15000, broken}}, "", 0, 3 + 15001},
      {"broken lines in both halves", 1 << 30, {{500, broken}, {15000, broken}}, "", 0, 3 + 501},
      {"broken lines in two pieces near the end", 1 << 30, {{17000, broken}, {19000, broken}}, "", 0, 3 + 17001},
      {"a broken line beyond the rows asked", 12000, {{15000, broken}}, "", 12000, 0},
      {"a blank line in the second half", 1 << 30, {{19998, ""}}, "", 0, 3 + 19999},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string text = Text(c.replaced, c.tail);
    testing::ScriptedUi ui;
    const LabTextReader::Request request{LabTextReader::Layout::Nashville, kChannels, c.rowsAsked, 3};
    try {
      const TextSamples samples = LabTextReader::Parse("run.txt", text, request, ui);
      ASSERT_EQ(c.errorLine, 0) << "read without refusal";
      ASSERT_EQ(samples.rows, c.rows);
      ASSERT_EQ(samples.values.size(), size_t(c.rows) * kChannels);
      for (int v = 0; v < c.rows * kChannels; ++v) ASSERT_EQ(samples.values[size_t(v)], v);
      EXPECT_EQ(ui.progressSteps, c.rows / 100);
      EXPECT_EQ(ui.progressTexts.back(), fmt::format("reading line nr = {}", c.rows / 100 * 100));
    } catch (const ConversionError& error) {
      EXPECT_EQ(error.Line(), c.errorLine) << error.what();
      EXPECT_EQ(error.Path(), "run.txt");
      EXPECT_NE(std::string(error.what()).find(c.replaced.begin()->second.empty() ? "0 of the 8" : "'three'"),
                std::string::npos)
          << error.what();
    }
  }
}

// The second thread waits at its first row until the calling thread has been cancelled, so
// the calling thread reads alone and shows a step every 100 rows, and Cancel at the third
// stops both, however the machine shares out its processors.
TEST(SplitLineRowsTest, CancelStopsBothThreads) {
  std::mutex mutex;
  std::condition_variable released;
  bool cancelled = false;
  struct CancelTellingUi : testing::ScriptedUi {
    std::function<void()> onCancel;
    bool CancelRequested() override {
      const bool cancel = ScriptedUi::CancelRequested();
      if (cancel) onCancel();
      return cancel;
    }
  } ui;
  ui.cancelAtEvents = 3;
  ui.onCancel = [&] {
    const std::lock_guard<std::mutex> lock(mutex);
    cancelled = true;
    released.notify_all();
  };
  const std::thread::id caller = std::this_thread::get_id();
  const SplitLineRows::ReadRow readRow = [&](TextLines& lines, int32_t* row) {
    if (std::this_thread::get_id() != caller) {
      std::unique_lock<std::mutex> lock(mutex);
      released.wait(lock, [&] { return cancelled; });
    }
    if (!lines.NextDataLine()) return false;
    lines.ReadScaledRow(1.0, row, kChannels);
    return true;
  };
  const std::string text = Text({});
  TextLines lines("run.txt", text);
  lines.SkipHeader(3);
  lines.FinishLine();
  RowProgress progress(ui, "run.txt");
  std::vector<int32_t> values;
  EXPECT_THROW(SplitLineRows::Read(lines, kFileRows, kChannels, values, readRow, progress), Cancelled);
  EXPECT_EQ(ui.processEventsCalls, 3);
  EXPECT_EQ(ui.progressTexts.back(), "reading line nr = 300");
}

}  // namespace
}  // namespace velmora
