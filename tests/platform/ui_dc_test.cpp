// The drawing context: 64-bit mapping, pens, brushes and fonts as they reach
// the device, text placement, and the recording canvas that keeps each call.
#include <gtest/gtest.h>

#include <type_traits>

#include "platform/ui/DC.h"
#include "platform/ui/RecordingCanvas.h"

namespace {

using namespace platform::ui;

// The genome-wide view's mapping: 5,000,000 logical x units (10-base units)
// per 100 pixels, 1000 logical y units per 100 pixels.
void GenomeMapping(CDC& dc, int scrollX = 0) {
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowOrg(scrollX, 0);
  dc.SetWindowExt(5'000'000, 1000);
  dc.SetViewportExt(100, 100);
}

TEST(DrawingContextTest, AnisotropicMappingOfLargeLogicalXDoesNotOverflow) {
  RecordingCanvas dc(800, 600);
  GenomeMapping(dc);
  dc.MoveTo(300'000'000, 0);
  dc.LineTo(301'000'000, 500);
  GenomeMapping(dc, 299'000'000);
  dc.SetPixel(300'000'000, 1000, RGB(1, 2, 3));
  ASSERT_EQ(dc.Records().size(), 2u);
  const DrawRecord& line = dc.Records()[0];
  EXPECT_EQ(line.op, DrawOp::Line);
  EXPECT_EQ(line.Rect(), CRect(6000, 0, 6020, 50));
  const DrawRecord& pixel = dc.Records()[1];
  EXPECT_EQ(pixel.x1, 20);
  EXPECT_EQ(pixel.y1, 100);
  // And back, as a hit test converts a click.
  POINT click{20, 100};
  dc.DPtoLP(&click);
  EXPECT_EQ(click.x, 300'000'000);
  EXPECT_EQ(click.y, 1000);
}

TEST(DrawingContextTest, MappingTruncatesAsIntegerArithmetic) {
  RecordingCanvas dc(100, 100);
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowExt(3, 3);
  dc.SetViewportExt(2, 2);
  POINT p[3] = {{1, 2}, {4, 5}, {-1, -2}};
  dc.LPtoDP(p, 3);
  EXPECT_EQ(p[0].x, 0);  // 2/3
  EXPECT_EQ(p[0].y, 1);  // 4/3
  EXPECT_EQ(p[1].x, 2);  // 8/3
  EXPECT_EQ(p[2].y, -1); // -4/3 toward zero
  dc.SetMapMode(MM_TEXT);
  dc.SetWindowExt(9, 9);  // ignored outside the scaled modes
  dc.SetViewportOrg(10, 20);
  POINT q{1, 1};
  dc.LPtoDP(&q);
  EXPECT_EQ(q.x, 11);
  EXPECT_EQ(q.y, 21);
}

TEST(DrawingContextTest, IsotropicMappingKeepsOneScaleForBothAxes) {
  RecordingCanvas dc(100, 100);
  dc.SetMapMode(MM_ISOTROPIC);
  dc.SetWindowExt(100, 100);
  dc.SetViewportExt(200, 50);
  POINT p{100, 100};
  dc.LPtoDP(&p);
  EXPECT_EQ(p.x, 50);
  EXPECT_EQ(p.y, 50);
}

TEST(DrawingContextTest, LineLeavesOutItsEndPoint) {
  // The last pixel a one-pixel line sets, by direction.
  struct Case {
    int x1, y1, x2, y2, lastX, lastY;
  };
  for (const Case& c : {Case{0, 0, 10, 0, 9, 0}, Case{10, 0, 0, 0, 1, 0}, Case{0, 0, 10, 3, 9, 3},
                        Case{0, 0, 3, 10, 3, 9}, Case{0, 0, -4, -4, -3, -3}, Case{2, 2, 2, 3, 2, 2}}) {
    CPoint last = LastLinePixel(c.x1, c.y1, c.x2, c.y2);
    EXPECT_EQ(last, CPoint(c.lastX, c.lastY)) << c.x1 << "," << c.y1 << " -> " << c.x2 << "," << c.y2;
  }
  RecordingCanvas dc(50, 50);
  dc.MoveTo(0, 0);
  dc.LineTo(10, 0);
  dc.LineTo(10, 10);
  ASSERT_EQ(dc.Records().size(), 2u);
  EXPECT_EQ(dc.GetCurrentPosition(), CPoint(10, 10));
  EXPECT_EQ(dc.Records()[1].Rect(), CRect(10, 0, 10, 10));  // the next line starts on the left-out point
}

TEST(DrawingContextTest, PenWidthIsLogicalWithAtLeastOnePixelAndWidePensDrawSolid) {
  RecordingCanvas dc(800, 600);
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowExt(1000, 1000);
  dc.SetViewportExt(100, 100);
  struct Case {
    int style, width, deviceWidth, deviceStyle;
  };
  for (const Case& c : {Case{PS_DOT, 0, 1, PS_DOT}, Case{PS_DOT, 5, 1, PS_DOT}, Case{PS_DASH, 30, 3, PS_SOLID},
                        Case{PS_SOLID, 100, 10, PS_SOLID}}) {
    CPen pen(c.style, c.width, RGB(100, 100, 100));
    CPen* old = dc.SelectObject(&pen);
    dc.MoveTo(0, 0);
    dc.LineTo(1000, 0);
    dc.SelectObject(old);
    const DrawRecord& r = dc.Records().back();
    EXPECT_EQ(r.width, c.deviceWidth) << c.width;
    EXPECT_EQ(r.penStyle, c.deviceStyle) << c.width;
    EXPECT_EQ(r.color, RGB(100, 100, 100));
  }
  CPen none(PS_NULL, 1, 0);
  dc.SelectObject(&none);
  size_t before = dc.Records().size();
  dc.LineTo(0, 500);
  EXPECT_EQ(dc.Records().size(), before);

  // On paper at 600 dpi a pen keeps its dots up to the width of a screen
  // pixel (6 printer pixels), as it has them on the screen.
  RecordingSurface page(DeviceCaps{4960, 7016, 600, 600, true});
  CDC printer(&page);
  printer.SetMapMode(MM_ANISOTROPIC);
  printer.SetWindowExt(1000, 1000);
  printer.SetViewportExt(1000, 1000);
  for (const Case& c : {Case{PS_DOT, 6, 6, PS_DOT}, Case{PS_DASHDOT, 2, 2, PS_DASHDOT}, Case{PS_DOT, 7, 7, PS_SOLID}}) {
    CPen pen(c.style, c.width, 0);
    CPen* old = printer.SelectObject(&pen);
    printer.MoveTo(0, 0);
    printer.LineTo(1000, 0);
    printer.SelectObject(old);
    EXPECT_EQ(page.Contents().records.back().penStyle, c.deviceStyle) << c.width;
  }
}

TEST(DrawingContextTest, RectanglesRecordBrushPenAndRasterOperation) {
  RecordingCanvas dc(100, 100);
  CBrush grey(RGB(128, 128, 128));
  dc.SelectObject(&grey);
  dc.SetROP2(R2_MASKPEN);
  dc.Rectangle(50, 40, 10, 20);  // corners given the other way round
  dc.SelectStockObject(NULL_BRUSH);
  dc.SetROP2(R2_COPYPEN);
  dc.Rectangle(0, 0, 5, 5);
  CRect fill(30, 30, 20, 20);
  dc.FillSolidRect(&fill, RGB(1, 1, 1));
  dc.InvertRect(&fill);
  const auto& r = dc.Records();
  ASSERT_EQ(r.size(), 4u);
  EXPECT_EQ(r[0].Rect(), CRect(10, 20, 50, 40));
  EXPECT_EQ(r[0].rop, R2_MASKPEN);
  EXPECT_EQ(r[0].fill, RGB(128, 128, 128));
  EXPECT_EQ(r[0].flags, DrawRecord::kHasPen | DrawRecord::kHasBrush);
  EXPECT_EQ(r[1].flags, DrawRecord::kHasPen);  // hollow
  EXPECT_EQ(r[2].Rect(), CRect(20, 20, 30, 30));
  EXPECT_EQ(r[3].op, DrawOp::Invert);
}

TEST(DrawingContextTest, FarLinesAreClippedWithTheirSlope) {
  RecordingCanvas dc(100, 100);
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowExt(1, 1);
  dc.SetViewportExt(1000, 1000);
  dc.MoveTo(-2'000'000'000, -2'000'000'000);
  dc.LineTo(2'000'000'000, 2'000'000'000);
  ASSERT_EQ(dc.Records().size(), 1u);
  const DrawRecord& r = dc.Records()[0];
  EXPECT_EQ(r.x1, r.y1);
  EXPECT_EQ(r.x2, r.y2);
  EXPECT_LT(r.x1, -1'000'000);
  EXPECT_GT(r.x2, 1'000'000);
}

TEST(DrawingContextTest, PointFontHeightFollowsTheYScale) {
  RecordingCanvas dc(800, 600);
  CFont font;
  font.CreatePointFont(500, "");  // 50 points at the screen's 96 dpi
  LOGFONT lf;
  font.GetLogFont(&lf);
  EXPECT_EQ(lf.lfHeight, -67);
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowExt(2'500'000, 400);
  dc.SetViewportExt(100, 100);
  dc.SelectObject(&font);
  EXPECT_EQ(dc.ResolvedFont().height, 16);  // 67 * 100 / 400
  // Sized for this context's mapping it comes out at its point size again.
  CFont mapped;
  mapped.CreatePointFont(100, "", &dc);
  mapped.GetLogFont(&lf);
  EXPECT_EQ(lf.lfHeight, -52);  // 13 pixels as logical units
  dc.SelectObject(&mapped);
  EXPECT_EQ(dc.ResolvedFont().height, 13);
  CSize extent = dc.GetTextExtent("Ch10");
  EXPECT_EQ(extent.cx, 4 * 7 * 2'500'000 / 100);  // 7-pixel characters of the headless font
  EXPECT_EQ(extent.cy, 52);
}

TEST(DrawingContextTest, EscapementTurnsTextAroundItsReferencePoint) {
  RecordingCanvas dc(400, 400);
  LOGFONT lf;
  lf.lfHeight = -20;
  lf.lfEscapement = 900;
  CFont up;
  up.CreateFontIndirect(&lf);
  dc.SelectObject(&up);
  dc.TextOut(100, 200, "p");
  dc.SetTextAlign(TA_BASELINE | TA_RIGHT);
  dc.TextOut(100, 200, "q");
  const auto& r = dc.Records();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].x1, 100);
  EXPECT_EQ(r[0].y1, 200);
  EXPECT_EQ(dc.Contents().FontOf(r[0]).escapement, 900);
  // Right-aligned on the baseline, turned 90 degrees: the box starts below
  // the point (its width along the upward text) and left of it (the ascent).
  EXPECT_EQ(r[1].x1, 100 - 16);
  EXPECT_EQ(r[1].y1, 200 + 11);
}

TEST(DrawingContextTest, DrawTextAlignsRightAndCentresVertically) {
  RecordingCanvas dc(400, 400);
  CFont font;
  LOGFONT lf;
  lf.lfHeight = -10;
  font.CreateFontIndirect(&lf);
  dc.SelectObject(&font);
  CRect label(99, 149, 100, 151);
  int height = dc.DrawText("-1", &label, DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
  EXPECT_EQ(height, 10);
  CRect box(0, 0, 100, 40);
  dc.DrawText("&Save", &box, DT_CENTER);
  const auto& r = dc.Records();
  ASSERT_EQ(r.size(), 2u);
  EXPECT_EQ(r[0].x1, 100 - 2 * 6);   // ends at the rectangle's right edge
  EXPECT_EQ(r[0].y1, 149 + (2 - 10) / 2);  // centred on the line
  EXPECT_EQ(r[0].clip, 0u);
  EXPECT_EQ(dc.TextOf(r[1]), "Save");  // the mnemonic mark is not drawn
  EXPECT_NE(r[1].clip, 0u);
  CRect calc(10, 10, 10, 10);
  dc.DrawText("abc\nde", &calc, DT_CALCRECT);
  EXPECT_EQ(calc, CRect(10, 10, 28, 30));
}

// Records own no memory of their own, so drawing into reserved records
// allocates nothing however many pixels a view draws.
static_assert(std::is_trivially_copyable_v<DrawRecord>);

TEST(DrawingContextTest, PixelsAndLinesFillOneFlatReservedArray) {
  RecordingCanvas dc(1000, 1000);
  dc.Reserve(300'000);
  const DrawRecord* storage = dc.Records().data();
  GenomeMapping(dc);
  for (int i = 0; i < 200'000; ++i) dc.SetPixel(i * 1000, i % 1000, RGB(0, 0, 255));
  CPen pen(PS_SOLID, 3, RGB(255, 0, 0));
  dc.SelectObject(&pen);
  dc.MoveTo(0, 0);
  for (int i = 1; i <= 100'000; ++i) dc.LineTo(i * 2000, (i * 7) % 1000);
  EXPECT_EQ(dc.Records().size(), 300'000u);
  EXPECT_EQ(dc.Records().data(), storage);
  EXPECT_TRUE(dc.Contents().texts.empty());
}

TEST(DrawingContextTest, PictureReplaysOntoAnotherSurface) {
  RecordingCanvas source(100, 100);
  source.MoveTo(1, 1);
  source.LineTo(50, 1);
  source.TextOut(3, 3, "x");
  CRect r(1, 1, 9, 9);
  source.InvertRect(&r);
  RecordingSurface copy(DeviceCaps{100, 100});
  source.Contents().ReplayOn(copy);
  ASSERT_EQ(copy.Contents().records.size(), 3u);
  EXPECT_EQ(copy.Contents().TextOf(copy.Contents().records[1]), "x");
  EXPECT_EQ(copy.Contents().records[0].Rect(), source.Records()[0].Rect());
}

}  // namespace
