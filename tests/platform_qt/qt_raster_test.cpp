// The raster canvas: the same calls drawn into the recording canvas and into
// an image; the PNG it writes, read back by an independent decoder, shows
// the recorded geometry pixel for pixel at the probes.
#include <gtest/gtest.h>

#include <QImage>

#include <filesystem>

#include "platform/qt/RasterCanvas.h"
#include "platform/ui/DC.h"
#include "platform/ui/RecordingCanvas.h"
#include "tests/platform_qt/qt_fixture.h"

namespace {

using platform::qt::RasterCanvas;
using namespace platform::ui;

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kRed = RGB(255, 0, 0);
constexpr COLORREF kBlue = RGB(0, 0, 255);
constexpr COLORREF kGreen = RGB(0, 160, 0);
constexpr COLORREF kGrey = RGB(128, 128, 128);

// A small scene with each kind of call, as a view's painters make them.
void DrawScene(CDC& dc) {
  CRect block(10, 10, 60, 50);
  dc.FillSolidRect(&block, kRed);
  CPen blue(PS_SOLID, 1, kBlue);
  CPen* old = dc.SelectObject(&blue);
  dc.MoveTo(0, 100);
  dc.LineTo(100, 100);
  dc.MoveTo(120, 10);
  dc.LineTo(130, 20);
  dc.SelectObject(old);
  dc.SetPixel(150, 120, kGreen);
  CRect invert(10, 10, 20, 20);
  dc.InvertRect(&invert);
  CBrush grey(kGrey);
  CBrush* oldBrush = dc.SelectObject(&grey);
  int oldRop = dc.SetROP2(R2_MASKPEN);
  dc.Rectangle(80, 10, 120, 50);
  dc.SetROP2(oldRop);
  dc.SelectObject(oldBrush);
  CFont font;
  LOGFONT lf;
  lf.lfHeight = -16;
  lf.lfWeight = FW_BOLD;
  font.CreateFontIndirect(&lf);
  CFont* oldFont = dc.SelectObject(&font);
  dc.SetBkMode(TRANSPARENT);
  dc.TextOut(140, 30, "HH");
  dc.SelectObject(oldFont);
  // A genome-wide mapping: logical x around 3e8 lands at device x 20.
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowOrg(299'000'000, 0);
  dc.SetWindowExt(5'000'000, 1000);
  dc.SetViewportExt(100, 100);
  CPen wide(PS_SOLID, 50'000, kGreen);  // 50,000 logical units: 1 pixel at this scale
  dc.SelectObject(&wide);
  dc.MoveTo(300'000'000, 1200);
  dc.LineTo(301'000'000, 1200);
  dc.SelectStockObject(BLACK_PEN);
}

class RasterCanvasTest : public qova::test::QtUiTest {};

TEST_F(RasterCanvasTest, PngPixelsMatchTheRecordedCalls) {
  RecordingCanvas recorded(200, 150);
  DrawScene(recorded);
  RasterCanvas raster(200, 150);
  DrawScene(raster);
  QString path = ArtefactPath("raster_scene.png");
  ASSERT_TRUE(raster.SavePng(path.toStdString()));
  QImage png(path);
  ASSERT_FALSE(png.isNull());
  ASSERT_EQ(png.size(), QSize(200, 150));
  auto at = [&](int x, int y) {
    QRgb p = png.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
  };
  const auto& r = recorded.Records();
  ASSERT_EQ(r.size(), 8u);

  // The fill covers its rectangle but not the right and bottom edges.
  CRect fill = r[0].Rect();
  EXPECT_EQ(at(fill.left + 20, fill.top + 20), kRed);
  EXPECT_EQ(at(fill.right, fill.top + 20), kWhite);
  EXPECT_EQ(at(fill.right - 1, fill.bottom - 1), kRed);
  EXPECT_EQ(at(fill.left + 20, fill.bottom), kWhite);

  // Lines: the start and the last pixel set, the end point left out.
  for (const DrawRecord* line : {&r[1], &r[2]}) {
    CPoint last = LastLinePixel(line->x1, line->y1, line->x2, line->y2);
    EXPECT_EQ(at(line->x1, line->y1), kBlue);
    EXPECT_EQ(at(last.x, last.y), kBlue);
    EXPECT_EQ(at(line->x2, line->y2), kWhite);
  }

  EXPECT_EQ(at(r[3].x1, r[3].y1), kGreen);
  // Inverted red is cyan.
  EXPECT_EQ(at(r[4].x1 + 2, r[4].y1 + 2), RGB(0, 255, 255));
  EXPECT_EQ(at(r[4].x2, r[4].y1 + 2), kRed);
  // The masking rectangle greys white inside and its black pen leaves a black frame.
  CRect masked = r[5].Rect();
  EXPECT_EQ(r[5].rop, R2_MASKPEN);
  EXPECT_EQ(at(masked.CenterPoint().x, masked.CenterPoint().y), kGrey);
  EXPECT_EQ(at(masked.left, masked.top + 5), RGB(0, 0, 0));
  EXPECT_EQ(at(masked.right - 1, masked.top + 5), RGB(0, 0, 0));
  EXPECT_EQ(at(masked.right, masked.top + 5), kWhite);

  // The text starts at its recorded corner and stays within the font's
  // height below it (its width is the real font's, not the headless one's).
  const DrawRecord& text = r[6];
  ASSERT_EQ(recorded.TextOf(text), "HH");
  int dark = 0, outside = 0;
  for (int y = 0; y < 100; ++y)
    for (int x = 130; x < 200; ++x) {
      bool inBox = x >= text.x1 && y >= text.y1 && y < text.y1 + text.y2 + 2;
      if (at(x, y) == RGB(0, 0, 0)) (inBox ? dark : outside)++;
    }
  EXPECT_GT(dark, 20);
  EXPECT_EQ(outside, 0);

  // The mapped line sits at device x 20 in both.
  EXPECT_EQ(r[7].x1, 20);
  EXPECT_EQ(r[7].y1, 120);
  EXPECT_EQ(at(20, 120), kGreen);
  EXPECT_EQ(at(39, 120), kGreen);
  EXPECT_EQ(at(40, 120), kWhite);
  // The canvas reads its own pixels the same way.
  EXPECT_EQ(raster.PixelAt(20, 120), kGreen);
  EXPECT_EQ(raster.PixelAt(fill.left + 20, fill.top + 20), kRed);
}

TEST_F(RasterCanvasTest, WidePensCoverTheirWidthAndKeepTheirEnds) {
  RasterCanvas raster(100, 60);
  CPen wide(PS_SOLID, 7, kBlue);
  raster.SelectObject(&wide);
  raster.MoveTo(20, 30);
  raster.LineTo(80, 30);
  EXPECT_EQ(raster.PixelAt(50, 27), kBlue);
  EXPECT_EQ(raster.PixelAt(50, 33), kBlue);
  EXPECT_EQ(raster.PixelAt(50, 36), kWhite);
  EXPECT_EQ(raster.PixelAt(80, 30), kBlue);  // a wide line keeps its end
}

TEST_F(RasterCanvasTest, DashedPenLeavesGaps) {
  RasterCanvas raster(200, 20);
  CPen dotted(PS_DOT, 1, kBlue);
  raster.SelectObject(&dotted);
  raster.MoveTo(0, 10);
  raster.LineTo(200, 10);
  int set = 0;
  for (int x = 0; x < 199; ++x) set += raster.PixelAt(x, 10) == kBlue;
  EXPECT_GT(set, 40);
  EXPECT_LT(set, 160);
}

}  // namespace

// A test run by hand from any folder, the source tree's included, leaves its
// pictures in the build folder and nothing where it was run.
TEST_F(RasterCanvasTest, PicturesLandInTheBuildFolderWhereverTheTestIsRun) {
  const qova::test::TempHome elsewhere;
  const std::filesystem::path before = std::filesystem::current_path();
  std::filesystem::current_path(elsewhere.Root());
  const std::string path = ArtefactPath("where_pictures_land.png").toStdString();
  RasterCanvas raster(4, 4);
  const bool saved = raster.SavePng(path);
  std::filesystem::current_path(before);
  EXPECT_TRUE(saved);
  EXPECT_EQ(std::filesystem::path(path).parent_path(),
            std::filesystem::path(qova::test::BinaryDir()) / "artefacts");
  EXPECT_FALSE(std::filesystem::exists(std::filesystem::path(elsewhere.Root()) / "artefacts"));
}
