#pragma once

#include <optional>
#include <string>
#include <vector>

#include "cli/ElectrogramPane.h"
#include "cli/MapSettings.h"

namespace velmora {
struct AnalysisState;
class Ui;
}  // namespace velmora

namespace velmora::cli {

// The pane the export verb stands for, from its options (checked before anything is read).
struct ExportPane {
  ElectrogramPane electrograms;
  std::optional<int> electrode;
  MapSettings map;
};

// What one kind of export gets to build its bytes: the opened recording with its marks and
// the pane settings. Each kind prepares what it reads (an electrogram pane, a map).
class ExportContext {
 public:
  ExportContext(AnalysisState& state, Ui& ui, const ExportPane& pane) : state_(state), ui_(ui), pane_(pane) {}

  AnalysisState& State() { return state_; }
  Ui& UiOut() { return ui_; }
  const ExportPane& Pane() const { return pane_; }
  // Pane A as electrograms in the sequential order, over --begin and --window (from 0 over
  // the whole signal unless told otherwise), as if it had just been drawn.
  void ShowElectrogramPane();
  // The map of the map options, as pane A would compute it.
  void ComputeMap();
  // --electrode; a UsageError when the kind needs it and it was not given.
  int Electrode(const char* what) const;

 private:
  AnalysisState& state_;
  Ui& ui_;
  const ExportPane& pane_;
};

// One WHAT of `velmora-cli export`. A new export is one more entry of ExportKinds().
struct ExportKind {
  const char* what;
  const char* description;
  std::string (*bytes)(ExportContext& context);
};

const std::vector<ExportKind>& ExportKinds();
// The entry named `what`; a UsageError naming the known ones otherwise.
const ExportKind& FindExportKind(const std::string& what);

}  // namespace velmora::cli
