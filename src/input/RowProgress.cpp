#include "input/RowProgress.h"

#include <fmt/format.h>

#include "core/Errors.h"
#include "core/Ui.h"

namespace velmora {

void RowProgress::Reach(int rowsRead) {
  if (shown_ + kRowsPerStep > rowsRead) return;
  while (shown_ + kRowsPerStep <= rowsRead) {
    shown_ += kRowsPerStep;
    ui_.SetProgressText(fmt::format("reading line nr = {}", shown_));
    ui_.StepProgress();
  }
  ui_.ProcessEvents();
  if (ui_.CancelRequested()) throw Cancelled("reading " + path_);
}

}  // namespace velmora
