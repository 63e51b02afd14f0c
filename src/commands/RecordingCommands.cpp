#include "commands/RecordingCommands.h"

#include <ctime>
#include <filesystem>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/SignalStore.h"
#include "core/AtomicFile.h"
#include "core/Limits.h"
#include "core/Errors.h"
#include "core/Ui.h"
#include "commands/ValuePrompt.h"
#include "conditioning/FilterChain.h"
#include "core/StateRollback.h"
#include "input/AcquisitionReader.h"
#include "input/E00Reader.h"
#include "input/NITextReader.h"
#include "marks/MarkSaving.h"

namespace velmora {

namespace {

const std::vector<std::string>& OpenFilters() {
  static const std::vector<std::string> filters = {
      "E00 files (*.E* *.e*)",        "M00 files (*.M* *.m*)",
      "NI-txt files (*.txt)",         "Nashville text files (*.txt)",
      "Auckland text files (*.txt)",  "Manchester text files (*.txt)",
      "EDF, BDF and GDF recordings (*.edf *.EDF *.bdf *.BDF *.gdf *.GDF)",
  };
  return filters;
}

}  // namespace

bool RecordingCommands::OpenFile() {
  Ui::FileDialogRequest request{"Open electrogram file", OpenFilters(), filterIndex_, folder_};
  const auto chosen = ui_.OpenFileDialog(request);
  if (!chosen) return false;
  filterIndex_ = chosen->filterIndex;
  folder_ = std::filesystem::path(chosen->path).parent_path().string();
  switch (chosen->filterIndex) {
    case kE00Filter:
      return OpenE00(chosen->path);
    case kM00Filter:
      ui_.Beep();  // a mark file is not a recording
      return false;
    case AcquisitionReader::kKind:
      return OpenAcquisition(chosen->path);
    default:
      return OpenByKind(chosen->filterIndex, chosen->path);
  }
}

// A laboratory file is read only once its panel is confirmed, so nothing is loaded yet.
bool RecordingCommands::OpenByKind(int kind, const std::string& path) {
  if (kind == kNIFilter) return ReadNITextFile(path);
  if (kind >= kNashvilleFilter && kind <= kManchesterFilter && importPanelOpener_) {
    importPanelOpener_(kind, path);
    return false;
  }
  ui_.Beep();
  return false;
}

bool RecordingCommands::ReadNITextFile(const std::string& path) {
  AnalysisState& s = state_;
  s.NISampleCount = 1000;
  const auto samples =
      ValuePrompt::AskInteger(ui_, fmt::format("Input nr of samples (Max {}) ", SignalStore::LargestRows(s)),
                              "Give new nr of samples:", 1000, 1);
  if (!samples.HasValue()) return false;
  s.NISampleCount = samples.value;
  const auto length =
      ValuePrompt::AskInteger(ui_, "  ", "Give new signal length if necessary:", 30000, 1);
  if (!length.HasValue() || !MarkSaving::SaveAlert(s, ui_)) return false;
  MarksSettled();
  if (!UndoneOnFailure([&] { NITextReader(s, ui_, reader_.Root()).Read(path, length.value); })) return false;
  OfferJournal();
  return true;
}

bool RecordingCommands::OpenE00(const std::string& path) {
  state_.ClickArmed = false;
  const bool textBefore = TextRecordingLoaded();
  if (!Load([&] { reader_.Open(path); })) return false;
  // A text recording lays its channels out in one sequential row from channel 1; an E00
  // recording is shown over its grid again, as at start.
  if (textBefore) ShowElectrodesFromTheGridStart();
  state_.InputFileKind = kE00Filter;
  state_.ConnectionCount = 0;
  ResetPanes();
  return true;
}

bool RecordingCommands::OpenAcquisition(const std::string& path) {
  state_.ClickArmed = false;
  const bool textBefore = TextRecordingLoaded();
  if (!Load([&] { AcquisitionReader(state_, ui_, reader_.Root()).Open(path); })) return false;
  // Its channels are placed on the grid of the matrix, as an E00 recording's are.
  if (textBefore) ShowElectrodesFromTheGridStart();
  state_.InputFileKind = AcquisitionReader::kKind;
  state_.ConnectionCount = 0;
  ResetPanes();
  return true;
}

bool RecordingCommands::ReapplyFilters(const FilterChain& earlier) {
  if (!state_.FileLoaded || state_.InputFileKind != AcquisitionReader::kKind) return false;
  if (UndoneOnFailure([&] { AcquisitionReader(state_, ui_, reader_.Root()).Reload(); })) return true;
  // The preferences would otherwise name a chain the samples never went through.
  earlier.Store(state_);
  return false;
}

bool RecordingCommands::OpenRecent(int item) {
  if (item < 1 || item > kRecentFiles) return false;
  const std::string kind = state_.RecentFileKinds[size_t(item - 1)];
  const std::string path = state_.RecentFileNames[size_t(item - 1)];
  if (kind == std::to_string(AcquisitionReader::kKind)) return OpenAcquisition(path);
  if (kind != "1") {
    if (kind.empty()) {
      ui_.Error("'' is not a valid integer value");
      return false;
    }
    return OpenByKind(ValuePrompt::ParseInteger(kind).value_or(0), path);
  }
  ui_.Log(path);
  if (!Load([&] { reader_.Open(path); })) return false;
  state_.PaneKindA = 1;
  state_.TraceOrder = 1;
  state_.FirstChannel = 65;
  ResetPanes();
  return true;
}

bool RecordingCommands::TextRecordingLoaded() const {
  return state_.InputFileKind >= kNIFilter && state_.InputFileKind <= kManchesterFilter;
}

bool RecordingCommands::Load(const std::function<void()>& open) {
  if (!MarkSaving::SaveAlert(state_, ui_)) return false;
  MarksSettled();
  if (!UndoneOnFailure(open)) return false;
  OfferJournal();
  state_.ClickArmed = false;
  return true;
}

bool RecordingCommands::UndoneOnFailure(const std::function<void()>& read) {
  StateRollback rollback(state_);
  try {
    read();
    return true;
  } catch (const Cancelled&) {
    rollback.Restore();
  } catch (const IoError& error) {
    rollback.Restore();
    ui_.Beep();
    ui_.Error(error.what());
  }
  return false;
}

void RecordingCommands::OfferJournal() {
  AnalysisState& s = state_;
  history_.Reset(s);
  if (!TakeMarkFile()) return journal_.Unbind();
  try {
    const std::optional<PendingJournal> pending = MarkJournal::Find(s.MarkFileName);
    if (pending && !AskAboutPendingEdits(*pending)) {
      s.MarkFileReadOnly = true;
      return journal_.Unbind();
    }
  } catch (const IoError& error) {
    ui_.Beep();
    ui_.Error(std::string(error.what()) + "\nThe unsaved mark edits have not been restored.");
    SetBrokenJournalAside();
  }
  journal_.Bind(s);
  history_.Reset(s);
}

bool RecordingCommands::TakeMarkFile() {
  AnalysisState& s = state_;
  s.MarkFileReadOnly = false;
  if (s.MarkFileName.empty()) {
    lock_.Release();
    return true;
  }
  if (lock_.Held() && lock_.File() == s.MarkFileName) return true;
  // Where no lock can be made (a read-only folder) no session can save either.
  if (lock_.Take(s.MarkFileName) != SessionLock::Outcome::HeldElsewhere) return true;
  s.MarkFileReadOnly = true;
  ui_.Message(fmt::format("{} is open in another session of the workbench.\n"
                          "It is shown here read-only: marks made here cannot be saved to it.",
                          s.MarkFileName));
  return false;
}

bool RecordingCommands::AskAboutPendingEdits(const PendingJournal& pending) {
  AnalysisState& s = state_;
  const std::time_t when = std::time_t(pending.lastEditMs / 1000);
  char stamp[32] = "";
  std::tm local{};
  if (localtime_r(&when, &local) != nullptr) std::strftime(stamp, sizeof stamp, "%Y-%m-%d %H:%M:%S", &local);
  const std::string question = fmt::format(
      "{} mark edit(s) made until {} were not saved (the workbench was ended without saving).\n"
      "Restore them?",
      pending.edits, stamp);
  switch (ui_.AskYesNoCancel(question)) {
    case Ui::Answer::Yes:
      MarkJournal::Replay(s);
      return true;
    case Ui::Answer::No:
      ui_.Message("The unsaved mark edits have been kept in " + MarkJournal::SetAside(s.MarkFileName));
      return true;
    case Ui::Answer::Cancel:
      break;
  }
  ui_.Message("The unsaved mark edits stay in " + pending.path +
              " to be offered again when the recording is next opened.\n"
              "Until then the marks shown here are not saved.");
  return false;
}

// New edits must not be appended to a journal that cannot be read; it is kept for a look.
void RecordingCommands::SetBrokenJournalAside() {
  if (!FileExists(MarkJournal::PathFor(state_.MarkFileName))) return;
  try {
    ui_.Message("The journal has been kept as " + MarkJournal::SetAside(state_.MarkFileName));
  } catch (const IoError& error) {
    ui_.Error(error.what());
  }
}

void RecordingCommands::RecordMarkEdits(std::string_view name) {
  history_.Commit(state_, name);
  try {
    journal_.Record(state_, true);
  } catch (const IoError& error) {
    ui_.Log(error.what());
  }
}

bool RecordingCommands::UndoMarkEdit() {
  const bool undone = history_.Undo(state_);
  RecordMarkEdits();
  return undone;
}

bool RecordingCommands::RedoMarkEdit() {
  const bool redone = history_.Redo(state_);
  RecordMarkEdits();
  return redone;
}

void RecordingCommands::MarksSettled() {
  history_.Settle(state_);
  try {
    journal_.Discard(state_);
  } catch (const IoError& error) {
    ui_.Log(error.what());
  }
}

// A new recording is shown whole from its start in both panes, as electrograms in pane A,
// marking slow waves: nothing of the window the recording before was looked at stays.
void RecordingCommands::ResetPanes() {
  AnalysisState& s = state_;
  s.BeginAll = s.BeginA = s.BeginB = 0;
  s.WindowAll = s.WindowA = s.WindowB = s.SigLength;
  s.PaneKindA = 1;
  s.MarkType = {1, 1};
  s.ActivePane = 1;
  s.MapKindA = s.MapKindB = 0;
  s.ShapeDragging = false;
  s.PointerReady = true;
}

void RecordingCommands::ShowElectrodesFromTheGridStart() {
  AnalysisState& s = state_;
  s.TraceOrder = kStartTraceOrder;
  s.FirstChannel = kFirstElectrode;
  s.FirstCol = s.FirstRow = 1;
  s.Bipolar = 0;
}

}  // namespace velmora
