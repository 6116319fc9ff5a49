// How far a scrolling page is moved up so that a part of it is in view.
#pragma once

namespace sim {

// The offset (points scrolled, from 0 up to the page's end) at which the span [`top`,
// `bottom`] of a page `contentHeight` tall shows in a viewport `viewportHeight` tall: 0 while
// the span is in view at the page's top with `margin` to spare below it, so that what heads
// the page stays in view; else just enough to show the span with `margin` below it, never past
// the page's end, and never so far that the span's top leaves the view (a span taller than the
// viewport shows its top).
double scrollOffsetShowing(double top, double bottom, double contentHeight, double viewportHeight,
                           double margin);

}  // namespace sim
