#pragma once
// The map drawn the plain way, for the tests: the bare terrain repeated, then every shown item in
// record order with the marker footprints of the pixel rules, then the rings of the selection.
// No spatial index, no culling, no kept state: what the widget's frame must equal.
#include "image/Canvas.h"
#include "map/MapView.h"

namespace orvik::exercise {

// A frame of the view's size; black when the view shows no mission. The kinds come from the
// model's records, the positions from the view (they follow the cells), the flags, centre, zoom
// and selection from the view. Holds for a colour map of 512 x 512 and no drag under way.
Canvas PaintPlain(const MapView& view);

} // namespace orvik::exercise
