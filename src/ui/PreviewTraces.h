#pragma once

namespace velmora {

struct AnalysisState;
class Canvas;

// A plain view of the electrograms of the pane's time window (CurBegin, CurWindow): the
// pane is cleared to white and every trace 1..NrTraces that has a channel is drawn as one
// green polyline centred in its band on the window's mean, with its channel number at the
// left. Nothing but the clearing is drawn while no recording is loaded.
void DrawPreviewTraces(const AnalysisState& state, Canvas& canvas, int width, int height);

}  // namespace velmora
