// Workbench.ini as a run finds it in the data root: the window as it was left, the dialogs'
// folders and the saved defaults of [MyDefaults], which are checked as the run checks them.
#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzRecording.h"
#include "FuzzScratch.h"
#include "commands/PreferenceForm.h"
#include "core/DataRoot.h"
#include "ui/WorkbenchSettings.h"

using namespace velmora;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const DataRoot root(fuzz::FuzzScratch::Folder());
  fuzz::FuzzScratch::Write(WorkbenchSettings::kFileName, data, size);
  const WorkbenchSettings settings(root);
  settings.LoadWindow();
  settings.Recall({"Open electrogram file", {"E00 files (*.E* *.e*)"}, 1, ""}, false);
  if (const std::optional<PreferenceTexts> defaults = settings.LoadDefaults())
    PreferenceForm::Check(fuzz::FuzzRecording::Shared().State(), *defaults);
  return 0;
}
