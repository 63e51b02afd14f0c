#include <QtTest>

#include <memory>
#include <string>
#include <vector>

#include "core/AnalysisState.h"
#include "core/RecordingCanvas.h"
#include "ui/PreviewTraces.h"

using velmora::AnalysisState;
using velmora::RecordingCanvas;

namespace {

std::vector<std::string> Polylines(const RecordingCanvas& canvas) {
  std::vector<std::string> polylines;
  for (const std::string& line : canvas.Lines())
    if (line.rfind("polyline", 0) == 0) polylines.push_back(line);
  return polylines;
}

bool HasLine(const RecordingCanvas& canvas, const std::string& wanted) {
  for (const std::string& line : canvas.Lines())
    if (line == wanted) return true;
  return false;
}

// Two traces of channels 17 and 18 (sequential order), 4 samples each.
void LoadFourSamples(AnalysisState& s) {
  s.FileLoaded = true;
  s.SigLength = 4;
  s.TraceOrder = 0;
  s.FirstChannel = 17;
  s.NrTraces = 2;
  s.CurBegin = 0;
  s.CurWindow = 4;
  s.Amplification = 0.1;
  const int values[4] = {100, -100, 100, -100};
  for (int r = 0; r < 4; ++r) {
    s.Signal(r, 16) = values[r];
    s.Signal(r, 17) = 5000;  // flat: the mean puts it on the centre line
  }
}

}  // namespace

class PreviewTracesTest : public QObject {
  Q_OBJECT

 private slots:
  void withoutRecordingOnlyClears() {
    auto state = std::make_unique<AnalysisState>();
    RecordingCanvas canvas;
    velmora::DrawPreviewTraces(*state, canvas, 200, 150);
    QVERIFY(HasLine(canvas, "rect 0 0 200 150"));
    QVERIFY(Polylines(canvas).empty());
  }

  void eachTraceIsOnePolylineCentredInItsBand() {
    auto state = std::make_unique<AnalysisState>();
    LoadFourSamples(*state);
    RecordingCanvas canvas;
    // Trace height (150 - 50) / 2 = 50: centres at 35 and 85; the area is 200 - 70 = 130 wide.
    velmora::DrawPreviewTraces(*state, canvas, 200, 150);
    const auto polylines = Polylines(canvas);
    QCOMPARE(polylines.size(), size_t(2));
    QCOMPARE(polylines[0], std::string("polyline 4 30 25 62 45 95 25 127 45"));
    QCOMPARE(polylines[1], std::string("polyline 4 30 85 62 85 95 85 127 85"));
    QVERIFY(HasLine(canvas, "text 4 31 17"));
    QVERIFY(HasLine(canvas, "text 4 81 18"));
    QVERIFY(HasLine(canvas, "pen 008000 1 copy"));
  }

  void longWindowsKeepTheExtremesOfEveryColumn() {
    auto state = std::make_unique<AnalysisState>();
    LoadFourSamples(*state);
    state->SigLength = 1000;
    state->CurWindow = 1000;
    state->NrTraces = 1;
    for (int r = 0; r < 1000; ++r) state->Signal(r, 16) = 0;
    state->Signal(500, 16) = 1000;  // one spike in the middle
    RecordingCanvas canvas;
    velmora::DrawPreviewTraces(*state, canvas, 170, 150);  // 100 columns for 1000 samples
    const auto polylines = Polylines(canvas);
    QCOMPARE(polylines.size(), size_t(1));
    // Trace centre 10 + 100 - 50 = 60; the spike is 999 above the mean of 1: 100 pixels up.
    QVERIFY(polylines[0].find(" 80 -40") != std::string::npos);
    QVERIFY(polylines[0].rfind("polyline 101 ", 0) == 0);
  }

  void tracesWithoutChannelAreLeftOut() {
    auto state = std::make_unique<AnalysisState>();
    LoadFourSamples(*state);
    state->FirstChannel = 256;  // trace 2 would be channel 257
    RecordingCanvas canvas;
    velmora::DrawPreviewTraces(*state, canvas, 200, 150);
    QCOMPARE(Polylines(canvas).size(), size_t(1));
    QVERIFY(HasLine(canvas, "text 4 31 256"));
  }
};

QTEST_MAIN(PreviewTracesTest)
#include "PreviewTracesTest.moc"
