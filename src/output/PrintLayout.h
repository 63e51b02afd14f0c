#pragma once

namespace velmora {

// Where everything sits on the printed page, in printer units (device pixels): the caption
// at the top, a bar and a content area per printed pane, the statistics bar and the status
// block at the bottom. A pane that is not printed has height 0 and no bar.
struct PrintLayout {
  static constexpr int kMargin = 200;
  static constexpr int kTitleBand = 200;
  static constexpr int kBarHeight = 100;
  static constexpr int kStatisticsHeight = 100;
  static constexpr int kStatusHeight = 300;
  static constexpr int kReserve = 200;  // left free below a pane's content for its labels

  int PageWidth = 0, PageHeight = 0;
  int PrintWidth = 0;  // Wp: the page width inside the margins
  int PaneHeightA = 0, PaneHeightB = 0;
  int BarHeightA = 0, BarHeightB = 0;
  int BarTopA = 0, ContentTopA = 0, BarTopB = 0, ContentTopB = 0;
  int StatisticsHeight = 0, StatisticsTop = 0, StatusTop = 0;

  // `printPanel` 0 prints pane A, 1 pane B, 2 both (any other value prints pane A). Only one
  // bar is taken from the available height, also when both panes are printed.
  static PrintLayout CalcPrintPage(int pageWidth, int pageHeight, int printPanel, bool showStatistics);
};

// One printed pane: which (1 for A, 2 for B) and its content area's top and height.
struct PrintPane {
  int pane = 1;
  int top = 0, height = 0;
};

}  // namespace velmora
