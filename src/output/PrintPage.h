#pragma once

#include <string>

#include "core/Canvas.h"
#include "output/PrintLayout.h"
#include "output/PrintSettings.h"

namespace velmora {

struct AnalysisState;

// What the main window shows, on one page in black: pane A (top), pane B (bottom) or both,
// each under a bar with its title, the caption line at the top and a status block with the
// file names and time settings at the bottom. The state's pane settings (times, map kind,
// focus, cell sizes) are as they were afterwards; the map grid holds the map printed last.
class PrintPage {
 public:
  PrintPage(AnalysisState& state, PrintSettings& settings, const PrintSources& sources)
      : state_(state), settings_(settings), sources_(sources) {}

  // Draws the page on `paper`, `pageWidth` x `pageHeight` printer units.
  void Print(Canvas& paper, int pageWidth, int pageHeight);

  // The status block's name for pane A: "Time Map: ", "Count Map: ", "Electrode Map: " or
  // the wave-map caption; other panes leave `paneCaption` as it was.
  static void FillCaptionA(const AnalysisState& state, std::string& paneCaption);
  // The wave difference of the mark type the active pane marks.
  static int32_t ActiveWaveDifference(const AnalysisState& state);

 private:
  void PrintPaneA(Canvas& canvas, const PrintLayout& layout);
  void PrintPaneB(Canvas& canvas, const PrintLayout& layout);
  void PrintMapOrElectrograms(Canvas& canvas, const PrintLayout& layout, const PrintPane& pane);
  void PrintPaneBar(Canvas& canvas, const PrintLayout& layout, int barTop, const std::string& title);
  void PrintStatusBar(Canvas& canvas, const PrintLayout& layout);
  void PrintTitleBar(Canvas& canvas, const PrintLayout& layout);
  // Makes `pane` the one the computations read, as a redraw of that pane does.
  void TakePaneSettings(int pane);

  AnalysisState& state_;
  PrintSettings& settings_;
  const PrintSources& sources_;
};

}  // namespace velmora
