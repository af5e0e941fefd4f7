#pragma once
// What a drawing made for the screen needs to be read on paper. A printed
// page maps the drawing's height onto the page, and the fonts follow the
// height: a line that fits the window can run far past the page's right
// edge, and labels written left of a column can run past its left edge.
#include <span>
#include <string>
#include <string_view>

#include "platform/ui/Geometry.h"
#include "views/ViewNavigation.h"

class CDC;

namespace qova::views {

// The width of `text` in the font selected into `dc`, in device pixels.
[[nodiscard]] int DeviceTextWidth(const CDC& dc, std::string_view text);
// The height of the line of `text` in the font selected into `dc`, in device pixels.
[[nodiscard]] int DeviceTextHeight(const CDC& dc, std::string_view text);

// Writes `text` at logical (x, y) in the font selected into `dc`. On a
// printer, where that font would carry the text past the page's right
// edge, the text is written in a smaller copy of the font that ends within
// the page; the context's font and mapping are left as they were.
void TextOutFittingPage(CDC& dc, int x, int y, std::string_view text);
// Writes `text` at logical (x, y) in the font selected into `dc`. On a
// printer, where that font would carry the text to logical x `next` (where
// the next text of its line begins), it is written in a smaller copy of the
// font that ends before it, on every page alike, whether or not `next` lies
// on the page.
void TextOutFittingBefore(CDC& dc, int x, int y, std::string_view text, int next);
// Writes `text` at logical (x, y) in the font selected into `dc`. On a
// printer, where that font's line would reach logical y `bottom` (where what
// is drawn beneath it begins), it is written in a smaller copy of the font
// whose line ends above it (and within the page's right edge).
void TextOutFittingAbove(CDC& dc, int x, int y, std::string_view text, int bottom);
// Writes `text` in the font selected into `dc` whole within `area` (device
// pixels), as near as it can to device point `at`, its top-left corner:
// moved in where it would reach past an edge of the area, and in a smaller
// copy of the font where it is wider than the area. The context's font and
// mapping are left as they were.
void TextOutNearestWithin(CDC& dc, CPoint at, std::string_view text, const CRect& area);
// Writes `text` with its top-left corner at device point `at`, in the font
// selected into `dc` as the mapping sizes it: for a text placed against
// the page's edge to the pixel, which a logical x may not reach.
void TextOutAtDevice(CDC& dc, CPoint at, std::string_view text);

// `plan` with the room a page needs left of the drawing for `labels`,
// written in a font of `pointSize` tenths of a point and right-aligned at
// the first column's left edge, logical x `left`, on the printer of `dc`.
[[nodiscard]] PrintPlan WithRoomForLabels(CDC& dc, PrintPlan plan, CSize extent, int left, int pointSize,
                                          std::span<const std::string> labels);

}  // namespace qova::views
