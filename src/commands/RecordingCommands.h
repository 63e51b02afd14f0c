#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include <string_view>

#include "core/SessionLock.h"
#include "history/MarkHistory.h"
#include "marks/MarkJournal.h"

namespace velmora {

struct AnalysisState;
struct FilterChain;
class E00Reader;
class Ui;

// Opening recordings from the "Open File" dialog and from the recent-file items, and
// resetting the panes to show what was opened.
class RecordingCommands {
 public:
  // The dialog's filters, in order; their 1-based index is the kind of file chosen.
  static constexpr int kE00Filter = 1;
  static constexpr int kM00Filter = 2;
  static constexpr int kNIFilter = 3;
  static constexpr int kNashvilleFilter = 4;
  static constexpr int kManchesterFilter = 6;

  // Shows the import window's panel for a laboratory file of kind 4 to 6; the window reads
  // the file once the user confirms.
  using ImportPanelOpener = std::function<void(int kind, const std::string& path)>;

  RecordingCommands(AnalysisState& state, Ui& ui, E00Reader& reader) : state_(state), ui_(ui), reader_(reader) {}

  // "Open File". Returns true when a recording was loaded (the panes need redrawing).
  bool OpenFile();
  // Recent-file item `item` (1..10). Returns true when a recording was loaded.
  bool OpenRecent(int item);
  // Loads an E00 recording as "Open File" does, after offering changed marks for saving.
  bool OpenE00(const std::string& path);
  // Loads an EDF, BDF or GDF recording as "Open File" does with their filter.
  bool OpenAcquisition(const std::string& path);
  // Reads the samples of the EDF, BDF or GDF recording loaded again and runs the filter chain
  // as the preferences now set it; a cancel or a failure puts back the samples shown before
  // and the chain they went through, `earlier`. Returns true when the samples changed.
  bool ReapplyFilters(const FilterChain& earlier);

  // An NI text recording: asks for the number of samples and the signal length, then reads.
  bool ReadNITextFile(const std::string& path);

  int FilterIndex() const { return filterIndex_; }
  void SetImportPanelOpener(ImportPanelOpener opener) { importPanelOpener_ = std::move(opener); }

  // The journal of the mark edits not yet saved, and the undo step of the command, called
  // `name`. Called at the end of every command that may have changed marks; a journal that
  // cannot be written is said in the log.
  void RecordMarkEdits(std::string_view name = MarkHistory::kUnnamedEdit);
  // Undo and redo of the mark edits of this recording. False when there was nothing to do.
  bool UndoMarkEdit();
  bool RedoMarkEdit();
  const MarkHistory& History() const { return history_; }
  // A recording was read other than through these commands (the import window): the edits
  // a session that ended without saving left beside its mark file are offered, then its
  // journal follows the store; its marks have no history.
  void RecordingRead() { OfferJournal(); }
  // The marks were saved, or the user chose not to save them: their journal goes.
  void MarksSettled();

 private:
  // Reads the recording; changed marks are offered for saving first. False when the user
  // cancelled or the recording could not be read (the one loaded before stays).
  bool Load(const std::function<void()>& open);
  // Runs `read`; when it is cancelled or fails the state is put back as it was (and a failure
  // said). False then.
  bool UndoneOnFailure(const std::function<void()>& read);
  // The recording loaded now is a text recording (NI or laboratory layout).
  bool TextRecordingLoaded() const;
  void ResetPanes();
  // The trace layout the workbench starts with: horizontal from the first electrode.
  void ShowElectrodesFromTheGridStart();
  static constexpr uint8_t kStartTraceOrder = 1;
  bool OpenByKind(int kind, const std::string& path);
  // Offers the edits a session that ended without saving left in the journal beside the
  // mark file just read, then follows the store from there.
  void OfferJournal();
  // Holds the mark file just read for this session; false (the marks shown read-only) when
  // another live session holds it.
  bool TakeMarkFile();
  // Asks about the edits an ended session left; false when the user leaves them for later.
  bool AskAboutPendingEdits(const PendingJournal& pending);
  void SetBrokenJournalAside();

  AnalysisState& state_;
  Ui& ui_;
  E00Reader& reader_;
  int filterIndex_ = 5;  // the dialog starts on the fifth filter and remembers the last one
  std::string folder_;
  ImportPanelOpener importPanelOpener_;
  SessionLock lock_;
  MarkJournal journal_;
  MarkHistory history_;
};

}  // namespace velmora
