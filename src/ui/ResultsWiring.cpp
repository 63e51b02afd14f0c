#include "ui/ResultsWiring.h"

#include <filesystem>
#include <optional>
#include <string>

#include <QPointer>

#include "core/AnalysisState.h"
#include "core/Errors.h"
#include "core/Ui.h"
#include "marks/RecordingFiles.h"
#include "output/ReportPages.h"
#include "results/StudyRow.h"
#include "ui/MainMenu.h"
#include "ui/PanePanel.h"
#include "ui/PaneWaves.h"
#include "ui/ReportPdf.h"
#include "ui/ResultWindows.h"
#include "ui/TMainF.h"
#include "ui/TitleBar.h"

namespace velmora {

namespace {

// The windows, made when first asked for; the main window owns them.
struct ResultWindows {
  QPointer<WaveTableWindow> table;
  QPointer<WavePlotsWindow> plots;
  QPointer<SpectrumWindow> spectrum;
};

ResultWindows& Windows() {
  static ResultWindows windows;
  return windows;
}

// The waves of the active pane's mark kind, calculated first when marks changed.
WaveTable CurrentTable(TMainF& w) {
  AnalysisState& s = w.State();
  const WaveMap& waves = w.Waves().CalculatedWaves();
  return WaveTable::Build(s, waves.Search(), {s.MinSitesPerWave, double(s.NormalDirection)});
}

// A click in the table shows the wave in the active pane as a wave map.
void ShowWave(TMainF& w, int wave) {
  AnalysisState& s = w.State();
  const int pane = s.ActivePane == 2 && s.TwoPanes ? 2 : 1;
  (pane == 2 ? s.WaveNrB : s.WaveNrA) = wave;
  (pane == 2 ? w.PaneB() : w.PaneA())->Bar()->SetKindButton(2);
  w.SetPaneKind(pane, 2);
}

WavePlotsWindow& Plots(TMainF& w) {
  if (!Windows().plots) Windows().plots = new WavePlotsWindow(&w);
  return *Windows().plots;
}

void ShowPlots(TMainF& w, const WaveTable& table) {
  WavePlotsWindow& plots = Plots(w);
  plots.SetTable(table);
  plots.show();
  plots.raise();
}

void ShowTable(TMainF& w) {
  if (!w.State().FileLoaded) return w.ActiveUi().Beep();
  if (!Windows().table) {
    Windows().table = new WaveTableWindow(w.State(), w.ActiveUi(), &w);
    QObject::connect(Windows().table, &WaveTableWindow::waveChosen, &w, [&w](int wave) { ShowWave(w, wave); });
    QObject::connect(Windows().table, &WaveTableWindow::plotsAsked, &w,
                     [&w] { ShowPlots(w, Windows().table->Table()); });
  }
  WaveTableWindow& window = *Windows().table;
  window.SetTable(CurrentTable(w));
  window.setWindowTitle(QString("Wave Table: %1").arg(
      QString::fromStdString(std::filesystem::path(w.State().ElgFileName).filename().string())));
  window.show();
  window.raise();
}

void ShowSpectrum(TMainF& w) {
  AnalysisState& s = w.State();
  if (!s.FileLoaded) return w.ActiveUi().Beep();
  const int preset = s.PointerChannel >= 1 && s.PointerChannel <= kChannels ? s.PointerChannel : s.FirstChannel;
  const std::optional<std::string> text = w.ActiveUi().InputQuery("Spectrum", "Give channel number:", std::to_string(preset));
  if (!text) return;
  int channel = 0;
  try {
    channel = std::stoi(*text);
  } catch (const std::exception&) {
  }
  if (channel < 1 || channel > kChannels) return w.ActiveUi().Beep();
  if (!Windows().spectrum) Windows().spectrum = new SpectrumWindow(&w);
  Windows().spectrum->SetChannel(channel, Spectrum::ChannelSamples(s, channel));
  Windows().spectrum->show();
  Windows().spectrum->raise();
}

void SaveReport(TMainF& w) {
  AnalysisState& s = w.State();
  if (!s.FileLoaded) return w.ActiveUi().Beep();
  const auto chosen = w.ActiveUi().SaveFileDialog({"Save report", {"PDF files (*.pdf)"}, 1, ""});
  if (!chosen) return;
  try {
    RecordingFiles::CheckTarget(s, chosen->path);
    const WaveTable table = CurrentTable(w);
    const ReportPages pages(table, ReportPages::Facts(s, StudyRow::Of(s.ElgFileName, s, table), s.MinSitesPerWave),
                            QualityPicture::Of(s));
    RecordingFiles::Write(s, chosen->path, ReportPdf::Bytes(pages));
  } catch (const std::exception& error) {
    w.ActiveUi().Error(error.what());
  }
}

}  // namespace

void ResultsWiring::Wire(TMainF& w) {
  MainMenu& m = w.Menu();
  m.Connect("WaveTable1", [&w] { ShowTable(w); });
  m.Connect("WavePlots1", [&w] { ShowPlots(w, CurrentTable(w)); });
  m.Connect("Spectrum1", [&w] { ShowSpectrum(w); });
  m.Connect("Report1", [&w] { SaveReport(w); });
}

}  // namespace velmora
