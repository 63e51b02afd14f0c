#include "output/RealBasicExport.h"

#include <iterator>

#include <fmt/format.h>

#include "core/AnalysisState.h"
#include "core/AtomicFile.h"
#include "marks/RecordingFiles.h"
#include "core/Ui.h"
#include "output/ExportNames.h"

namespace velmora {

namespace {

// The tool reads the reference marks of this electrode, then a block of 32 electrodes.
constexpr int kReferenceElectrode = 4;
constexpr int kFirstBlockElectrode = 65;
constexpr int kLastBlockElectrode = 96;

int ActiveMarkType(const AnalysisState& s) { return s.MarkType[s.ActivePane == 2 ? 1 : 0]; }

}  // namespace

std::string RealBasicExport::MarksText(const AnalysisState& s) {
  std::string text;
  auto out = std::back_inserter(text);
  for (int n = 1; n <= s.MarkCount; ++n) {
    const MarkRecord& mark = s.Mark(n);
    if (mark.Electrode == kReferenceElectrode && mark.Kind == kReferenceMark)
      fmt::format_to(out, "{} {} \n", kReferenceElectrode, mark.Time);
  }
  const int kind = ActiveMarkType(s);
  for (int electrode = kFirstBlockElectrode; electrode <= kLastBlockElectrode; ++electrode) {
    fmt::format_to(out, "{} ", electrode - kFirstBlockElectrode + 1);
    for (int n = 1; n <= s.MarkCount && kind != 0; ++n) {
      const MarkRecord& mark = s.Mark(n);
      if (mark.Electrode == electrode && mark.Kind == kind) fmt::format_to(out, "{} ", mark.Time);
    }
    text += " \n";
  }
  return text;
}

std::optional<std::string> RealBasicExport::SaveMarksToRealBasic(const AnalysisState& s, Ui& ui) {
  Ui::FileDialogRequest request;
  // The dialog opens on the suggested file itself, in the recording's folder.
  request.folder = ExportNames::TextBesideRecording(s.ElgFileName);
  const std::optional<Ui::FileDialogResult> chosen = ui.SaveFileDialog(request);
  if (!chosen || chosen->path.empty()) return std::nullopt;
  RecordingFiles::Write(s, chosen->path, MarksText(s));
  return chosen->path;
}

}  // namespace velmora
