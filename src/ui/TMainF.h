#pragma once

#include <map>
#include <memory>
#include <string>

#include <QMainWindow>

#include "core/DataRoot.h"
#include "core/ForwardingCanvas.h"
#include "maps/MapDrawingHooks.h"

class QPlainTextEdit;

namespace velmora {

struct AnalysisState;
class AnalysisDisplay;
class AnalyseElgWindow;
class DataPadWindow;
class WhichElectrodePanel;
class E00Reader;
class ElectrogramDrawing;
class FloatingPanels;
class LoadMessagePanel;
class MainMenu;
class MiniWindows;
class PaneInput;
class PaneMaps;
class PaneWaves;
class PaneAnimation;
class WindowPlacement;
class WindowSet;
class StatisticsWindow;
class MarkStatisticsWindow;
class MapStatistics;
class SpikeStatistics;
class PanePanel;
class QtUi;
class ReferenceTableWindow;
class RecordingCommands;
class StatusPanel;
class TImportF;
class Ui;
class ViewCommands;
class WaveFormDrawing;
enum class Redraw;

// The main window: the two display panes over the status bar, the memo and the floating
// panels, the menu, the keys and the pointer. It owns the one analysis state of the run;
// every command changes the state and ends by redrawing the panes from it.
class TMainF : public QMainWindow {
  Q_OBJECT

 public:
  static constexpr const char* kCaption = "Velmora304 (12 March  2009)";

  // Dialogs, beeps, progress and log go through `uiOverride` when one is given (a test
  // answers them from a script), otherwise through the window's own Qt dialogs.
  explicit TMainF(Ui* uiOverride = nullptr, QWidget* parent = nullptr);
  ~TMainF() override;

  AnalysisState& State() { return *state_; }
  Ui& ActiveUi() { return *ui_; }
  // What the commands of the other window `window` talk to the user through: its own messages
  // keep it in front. A Ui given to the constructor answers for every window.
  Ui& UiFor(QWidget* window);
  const DataRoot& Root() const { return root_; }
  PanePanel* PaneA() const { return paneA_; }
  PanePanel* PaneB() const { return paneB_; }
  StatusPanel* Status() const { return status_; }
  QPlainTextEdit* Memo() const { return memo_; }
  LoadMessagePanel* MessagePanel() const { return messagePanel_; }
  MainMenu& Menu() const { return *menu_; }
  FloatingPanels& Panels() const { return *panels_; }
  PaneMaps& Maps() const { return *maps_; }
  PaneWaves& Waves() const { return *waves_; }
  PaneAnimation& Animation() const { return *animation_; }
  ViewCommands& View() const { return *view_; }
  RecordingCommands& Recordings() const { return *recordings_; }
  // The other windows, made right after this one.
  const WindowSet& Windows() const { return *windows_; }
  StatisticsWindow& Statistics() const { return *statistics_; }
  MarkStatisticsWindow& MarkStats() const { return *markStats_; }
  MiniWindows& Mini() const { return *mini_; }
  ReferenceTableWindow& References() const { return *references_; }
  AnalyseElgWindow& AnalyseElg() const { return *analyseElg_; }
  TImportF& ImportF() const { return *importF_; }
  DataPadWindow& DataPad() const { return *dataPad_; }
  WhichElectrodePanel* WhichElectrode() const { return whichElectrode_; }
  WindowPlacement& Placement() const { return *placement_; }

  // Opens an E00 recording as "Open File" does. Returns true when it is loaded now.
  bool OpenRecording(const std::string& path);
  // A recording has been loaded, by a command or the import window: the window shows it.
  void RecordingLoaded();

  // The update cycle.
  void UpdateDisplay();
  void UpdateDisplayA();
  void UpdateDisplayB();
  void Apply(Redraw redraw);
  void UpdateStatusBar();
  void UpdateHints();
  void UpdateChecks();
  void SetPanels();
  void SetPanelTile();
  void SetTitleBars();
  void DisplayCaptionA();
  void DisplayCaptionB();

  // Commands of the window itself.
  void OpenFile1Click();
  void ShowPrevFileClick(int item);
  void SaveMarks1Click();
  void Quit1Click();
  void UndoDeletedMarks1Click();
  void UnhideMarks1Click();
  void SetTileStacked(bool stacked);
  void SetPaneKind(int pane, int kind);
  void SetMapKind(int pane, int kind, bool showMap);
  void SetMarkType(int pane, int type);
  void FlipSwitch(const QString& item);
  void FileInfo1Click();
  void ChangeMatrix(bool newFormat);
  void ShowAnalyse();
  void ShowElectrograms(int pane);
  void ShowMapStatistics1Click();
  void SpikeStats1Click();
  void showmarkstatistics1Click();

  // Lays the electrogram pane `pane` out (pane A's size, the pane's begin and window), as
  // pointer read-outs and keys need it for the pane under the pointer.
  void PrepareElectrogramLayout(int pane);

  // Keys, as the window sees them before any control does.
  bool FormKeyDown(int key, Qt::KeyboardModifiers modifiers);
  bool FormKeyPress(QChar character);
  void FormKeyUp();
  // The pointer over pane A or B, in pane pixels.
  void PaintAMouseMove(int x, int y);
  void PaintBMouseMove(int x, int y);
  void PaintAClick(int x, int y);
  void PaintBClick(int x, int y);
  void Zoom(bool narrow);
  void AutomaticSWmarking1Click();

 protected:
  // Leaving the program offers changed marks for saving; Cancel keeps the window open.
  void closeEvent(QCloseEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void BuildLayout();
  void BuildFloatingPanels();
  void PrepareDataRoot();
  void FormCreate();
  void CreateOtherWindows();
  void JournalEveryMenuCommand();
  void ShowPanesAtStart();
  void DrawElectrogramPane(int pane);
  MapDrawingHooks MapHooks();
  void UpdatePaneCaption(int pane);
  void ReturnToPointerPane(int32_t pointerPane);

  std::unique_ptr<AnalysisState> state_;
  DataRoot root_;
  QWidget* mainPanel_ = nullptr;
  PanePanel* paneA_ = nullptr;
  PanePanel* paneB_ = nullptr;
  StatusPanel* status_ = nullptr;
  QPlainTextEdit* memo_ = nullptr;
  LoadMessagePanel* messagePanel_ = nullptr;
  FloatingPanels* panels_ = nullptr;
  MainMenu* menu_ = nullptr;
  std::unique_ptr<QtUi> qtUi_;
  Ui* ui_ = nullptr;
  std::map<QWidget*, std::unique_ptr<QtUi>> windowUis_;
  std::unique_ptr<E00Reader> reader_;
  std::unique_ptr<ViewCommands> view_;
  std::unique_ptr<RecordingCommands> recordings_;
  std::unique_ptr<PaneInput> input_;
  std::unique_ptr<PaneMaps> maps_;
  std::unique_ptr<PaneWaves> waves_;
  std::unique_ptr<PaneAnimation> animation_;
  std::unique_ptr<WindowSet> windows_;
  StatisticsWindow* statistics_ = nullptr;
  MarkStatisticsWindow* markStats_ = nullptr;
  std::unique_ptr<MapStatistics> mapStats_;
  std::unique_ptr<SpikeStatistics> spikeStats_;
  ForwardingCanvas paneCanvas_;
  std::unique_ptr<ElectrogramDrawing> drawingA_, drawingB_;
  std::unique_ptr<AnalysisDisplay> analysis_;
  std::unique_ptr<WaveFormDrawing> waveForms_;
  MiniWindows* mini_ = nullptr;
  ReferenceTableWindow* references_ = nullptr;
  AnalyseElgWindow* analyseElg_ = nullptr;
  TImportF* importF_ = nullptr;
  DataPadWindow* dataPad_ = nullptr;
  WhichElectrodePanel* whichElectrode_ = nullptr;
  WindowPlacement* placement_ = nullptr;
};

}  // namespace velmora
