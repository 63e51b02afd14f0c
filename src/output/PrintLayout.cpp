#include "output/PrintLayout.h"

#include <algorithm>

namespace velmora {

PrintLayout PrintLayout::CalcPrintPage(int pageWidth, int pageHeight, int printPanel, bool showStatistics) {
  PrintLayout l;
  l.PageWidth = pageWidth;
  l.PageHeight = pageHeight;
  l.PrintWidth = std::max(0, pageWidth - 2 * kMargin);
  l.StatisticsHeight = showStatistics ? kStatisticsHeight : 0;
  const int available =
      std::max(0, pageHeight - (2 * kMargin + kBarHeight + kTitleBand + kStatusHeight + l.StatisticsHeight));
  if (printPanel == 1) {
    l.PaneHeightB = available;
    l.BarHeightB = kBarHeight;
  } else if (printPanel == 2) {
    l.PaneHeightA = l.PaneHeightB = available / 2;
    l.BarHeightA = l.BarHeightB = kBarHeight;
  } else {
    l.PaneHeightA = available;
    l.BarHeightA = kBarHeight;
  }
  l.BarTopA = kMargin + kTitleBand;
  l.ContentTopA = l.BarTopA + l.BarHeightA;
  l.BarTopB = l.ContentTopA + l.PaneHeightA;
  l.ContentTopB = l.BarTopB + l.BarHeightB;
  l.StatisticsTop = l.ContentTopB + l.PaneHeightB;
  l.StatusTop = l.StatisticsTop + l.StatisticsHeight;
  return l;
}

}  // namespace velmora
