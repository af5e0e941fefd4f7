#include "views/PrintFit.h"

#include <algorithm>
#include <optional>

#include "platform/ui/DC.h"

namespace qova::views {

namespace {

// A fitted line takes nine tenths of the room it has: the tenth left shows
// it apart from the next text, and covers a measure that rounds a face's
// widths a little short.
constexpr long long kFittedShare = 9;
constexpr long long kShares = 10;

}  // namespace

int DeviceTextWidth(const CDC& dc, std::string_view text) {
  const platform::ui::DeviceFont font = dc.ResolvedFont();
  platform::ui::DrawSurface* surface = dc.Surface();
  return surface ? surface->MeasureText(font, text).width : platform::ui::HeadlessTextSize(font, text).width;
}

int DeviceTextHeight(const CDC& dc, std::string_view text) {
  const platform::ui::DeviceFont font = dc.ResolvedFont();
  platform::ui::DrawSurface* surface = dc.Surface();
  return surface ? surface->MeasureText(font, text).height : platform::ui::HeadlessTextSize(font, text).height;
}

namespace {

// Puts `dc` in the device's own mapping (the caller saves and restores the
// context) and selects `font` into it: a copy of the selected font made in
// device pixels, as a page's scale can make one logical unit of height many
// pixels, at most `height` pixels high and smaller until the line of `text`
// is at most `room` wide and `below` high, where given.
void SelectSmallerFont(CDC& dc, CFont& font, long long height, std::string_view text, std::optional<long long> room,
                       std::optional<long long> below) {
  const platform::ui::DeviceFont device = dc.ResolvedFont();
  LOGFONT lf = dc.GetCurrentFont()->m_logFont;
  int pixels = int(std::max<long long>(1, std::min<long long>(height, device.height)));
  const auto make = [&] {
    lf.lfHeight = -pixels;
    lf.lfWidth = int(static_cast<long long>(device.width) * pixels / std::max(1, device.height));
    font.CreateFontIndirect(&lf);
  };
  dc.SetMapMode(MM_TEXT);
  dc.SetWindowOrg(0, 0);
  dc.SetViewportOrg(0, 0);
  make();
  dc.SelectObject(&font);
  // Rounding in the face's widths can leave a pixel or two over.
  while (pixels > 1 && ((room && DeviceTextWidth(dc, text) > *room) || (below && DeviceTextHeight(dc, text) > *below))) {
    --pixels;
    make();
  }
}

// Writes `text` at logical (x, y); on a printer smaller where it would reach
// logical x `next` or, without it, the page's right edge, or, with `bottom`,
// where its line would reach logical y `bottom`.
void TextOutFitting(CDC& dc, int x, int y, std::string_view text, std::optional<int> next,
                    std::optional<int> bottom = std::nullopt) {
  if (!dc.IsPrinting() || !dc.GetCurrentFont() || text.empty()) {
    dc.TextOut(x, y, text);
    return;
  }
  CPoint at(x, y);
  dc.LPtoDP(&at);
  long long edge = dc.GetDeviceCaps(HORZRES);
  if (next) {
    CPoint nextAt(*next, y);
    dc.LPtoDP(&nextAt);
    edge = nextAt.x;
  }
  const long long room = (edge - static_cast<long long>(at.x)) * kFittedShare / kShares;
  const long long width = DeviceTextWidth(dc, text);
  // The line's room below its top; the whole line is kept within it.
  long long below = 0;
  const long long lineHeight = bottom ? DeviceTextHeight(dc, text) : 0;
  if (bottom) {
    CPoint bottomAt(x, *bottom);
    dc.LPtoDP(&bottomAt);
    below = bottomAt.y - static_cast<long long>(at.y);
  }
  const bool wide = width > room && room > 0, tall = bottom && lineHeight > below && below > 0;
  if (!wide && !tall) {
    dc.TextOut(x, y, text);
    return;
  }
  const platform::ui::DeviceFont device = dc.ResolvedFont();
  long long fitted = device.height;
  if (wide) fitted = std::min(fitted, device.height * room / width);
  if (tall) fitted = std::min(fitted, device.height * below / lineHeight);
  dc.SaveDC();
  CFont smaller;
  SelectSmallerFont(dc, smaller, fitted, text, wide ? std::optional(room) : std::nullopt,
                    tall ? std::optional(below) : std::nullopt);
  dc.TextOut(at.x, at.y, text);
  dc.RestoreDC(-1);
}

}  // namespace

void TextOutFittingPage(CDC& dc, int x, int y, std::string_view text) { TextOutFitting(dc, x, y, text, std::nullopt); }

void TextOutFittingBefore(CDC& dc, int x, int y, std::string_view text, int next) {
  TextOutFitting(dc, x, y, text, next);
}

void TextOutFittingAbove(CDC& dc, int x, int y, std::string_view text, int bottom) {
  TextOutFitting(dc, x, y, text, std::nullopt, bottom);
}

void TextOutNearestWithin(CDC& dc, CPoint at, std::string_view text, const CRect& area) {
  if (!dc.GetCurrentFont() || text.empty() || area.IsRectEmpty()) return;
  const auto place = [&](long long width, long long height) {
    return CPoint(int(std::max<long long>(area.left, std::min<long long>(at.x, area.right - width))),
                  int(std::max<long long>(area.top, std::min<long long>(at.y, area.bottom - height))));
  };
  const long long room = area.Width(), width = DeviceTextWidth(dc, text);
  if (width <= room) {
    TextOutAtDevice(dc, place(width, DeviceTextHeight(dc, text)), text);
    return;
  }
  // A line wider than the area is written smaller, across the whole of it.
  dc.SaveDC();
  CFont smaller;
  SelectSmallerFont(dc, smaller, dc.ResolvedFont().height * room / std::max(1LL, width), text, room, std::nullopt);
  const CPoint fitted = place(DeviceTextWidth(dc, text), DeviceTextHeight(dc, text));
  dc.TextOut(fitted.x, fitted.y, text);
  dc.RestoreDC(-1);
}

void TextOutAtDevice(CDC& dc, CPoint at, std::string_view text) {
  if (!dc.GetCurrentFont()) return;
  const platform::ui::DeviceFont device = dc.ResolvedFont();
  LOGFONT lf = dc.GetCurrentFont()->m_logFont;
  lf.lfHeight = lf.lfHeight > 0 ? device.height : -device.height;
  lf.lfWidth = device.width;
  dc.SaveDC();
  dc.SetMapMode(MM_TEXT);
  dc.SetWindowOrg(0, 0);
  dc.SetViewportOrg(0, 0);
  CFont font;
  font.CreateFontIndirect(&lf);
  dc.SelectObject(&font);
  dc.TextOut(at.x, at.y, text);
  dc.RestoreDC(-1);
}

PrintPlan WithRoomForLabels(CDC& dc, PrintPlan plan, CSize extent, int left, int pointSize,
                            std::span<const std::string> labels) {
  const CSize page = PrinterPage(&dc);
  plan.leftRoom = 0;
  // The labels' size on paper follows the page's height alone, which the
  // room leaves as it is.
  const ViewMapping paper = PrintPageMapping(plan, extent, page, 1);
  dc.SaveDC();
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowOrg(paper.m_nScrollX, paper.m_nScrollY);
  dc.SetWindowExt(paper.m_nScaleX, paper.m_nScaleY);
  dc.SetViewportOrg(0, 0);
  dc.SetViewportExt(paper.m_nSizeX, paper.m_nSizeY);
  CFont font;
  font.CreatePointFont(pointSize, "");
  dc.SelectObject(&font);
  int widest = 0;
  for (const std::string& label : labels) widest = std::max(widest, DeviceTextWidth(dc, label));
  dc.RestoreDC(-1);
  plan.leftRoom = LeftRoomFor(plan, extent, page, left, widest);
  return plan;
}

}  // namespace qova::views
