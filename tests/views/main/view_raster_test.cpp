// The main view drawn on the raster canvas at 1600 by 1000, as the demo's
// pictures are made: a few pixels probed, and the pictures kept in
// <build>/artefacts/views for people to look at.
#ifdef QOVA_RASTER_CANVAS
#include <filesystem>
#include <map>

#include "core/ArrayTypes.h"
#include "platform/qt/RasterCanvas.h"
#include "tests/views/ViewTestSupport.h"
#include "tools/demo/Demo.h"
#include "tools/viewpics/ViewPictures.h"

namespace qova::test {
namespace {

class ViewRasterTest : public ViewTest {
 protected:
  static std::string Artefact(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "artefacts" / "views";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
  }
  COLORREF Pixel(const platform::qt::RasterCanvas& canvas, const CQOVAView& view, long long x, long long y) {
    return canvas.PixelAt(int(view.ToDeviceX(x)), int(view.ToDeviceY(y)));
  }
};

TEST_F(ViewRasterTest, TheNonSelfResultShowsItsLossOnTheHmmLineWithinTheLayout) {
  Open("Tumour02", ".CFN", kStatusSingle);
  CQOVAView& view = NewView();
  platform::qt::RasterCanvas canvas(kCanvasWidth, kCanvasHeight);
  view.OnDraw(&canvas);
  EXPECT_TRUE(canvas.SavePng(Artefact("small_Tumour02_genome.png")));

  // The middle of the planted loss on 5, where the HMM called one copy.
  const int middle = First(5) + (End(5) - First(5)) * 2 / 5;
  ASSERT_EQ(view.m_pCopyNumberState[std::size_t(middle)], 1);
  const int x = view.m_nChromosomeX[5] + (middle - First(5));
  const int plotTop = view.m_nChromosomeY[5] + 400;
  const int stateOne = plotTop + 100 - int(double(view.m_fHmmLevel[1]) * 100);
  EXPECT_EQ(Pixel(canvas, view, x, stateOne), view.m_pDisplaySetting->COLOR.C4);
  EXPECT_NE(Pixel(canvas, view, x, plotTop + 100 - int(double(view.m_fHmmLevel[2]) * 100)),
            view.m_pDisplaySetting->COLOR.C4);

  // The cytoband frame of chromosome 1, under the plot and the panel.
  const int top = view.m_nChromosomeY[1] + 400 + 600;
  const int left = view.m_nChromosomeX[1], right = left + (End(1) - First(1));
  for (const auto& [cx, cy] : {std::pair{left, top}, {right, top}, {left, top + 70}})
    EXPECT_EQ(Pixel(canvas, view, cx, cy), RGB(0, 0, 0)) << cx << "," << cy;

  // Below the title, nothing right of the layout's width.
  const int edge = int(view.ToDeviceX(view.m_nLayoutWidth));
  ASSERT_LT(edge, kCanvasWidth);
  int drawn = 0;
  for (int py = 30; py < kCanvasHeight; ++py)
    for (int px = edge + 1; px < kCanvasWidth; ++px) drawn += canvas.PixelAt(px, py) != RGB(255, 255, 255);
  EXPECT_EQ(drawn, 0);
}

TEST_F(ViewRasterTest, PointsDrawTheAveragesAsSeparateDotsWhereLinesJoinThem) {
  Open("Tumour01", ".CFS");
  CQOVAView& view = NewView();
  view.m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  view.m_nChromosome = 8;
  view.OnUpdate(nullptr, 0, nullptr);
  // Zoomed in to ten pixels a SNP, as the zoom commands set it.
  view.m_nSizeX = view.m_nScaleX * 10;
  const COLORREF average = view.m_pDisplaySetting->COLOR.C1;
  const int mask = view.ItemMask();
  ASSERT_TRUE(mask & 0x2);
  const int panelTop = 400 + ((mask & (0x4 | 0x400)) ? 300 : 0);
  struct Drawn {
    int columns = 0;  // of the first 100 SNPs' span with the average in them
    int pixels = 0;
  };
  std::map<int, Drawn> drawn;
  for (const int mode : {2, 1}) {
    view.m_nDrawMode = mode;
    platform::qt::RasterCanvas canvas(kCanvasWidth, kCanvasHeight);
    view.OnDraw(&canvas);
    EXPECT_TRUE(canvas.SavePng(Artefact(mode == 1 ? "small_Tumour01_chr8_points.png" : "small_Tumour01_chr8_lines.png")));
    const int top = int(view.ToDeviceY(panelTop)), bottom = int(view.ToDeviceY(panelTop + 300));
    const int left = int(view.ToDeviceX(view.m_nChromosomeX[0])), right = int(view.ToDeviceX(view.m_nChromosomeX[0] + 100));
    ASSERT_LT(right, kCanvasWidth);
    for (int px = left; px < right; ++px) {
      int inColumn = 0;
      for (int py = std::max(0, top); py < std::min(kCanvasHeight, bottom); ++py)
        inColumn += canvas.PixelAt(px, py) == average ? 1 : 0;
      drawn[mode].columns += inColumn > 0 ? 1 : 0;
      drawn[mode].pixels += inColumn;
    }
  }
  // The line runs through every column; the points stand apart, each a few
  // pixels across, and together they are well seen.
  const int span = int(view.ToDeviceX(view.m_nChromosomeX[0] + 100) - view.ToDeviceX(view.m_nChromosomeX[0]));
  EXPECT_GE(drawn[2].columns, span * 95 / 100);
  EXPECT_LE(drawn[1].columns, span / 2);
  EXPECT_GE(drawn[1].columns, 100 * 2);
  EXPECT_GE(drawn[1].pixels, 100 * 4);
}

TEST_F(ViewRasterTest, TheFragmentPlotShowsBothPanelsAroundTheirCentreLines) {
  Open("Tumour02", ".CFN");
  CQOVAView& view = NewView();
  view.OnParameterFragmentLengthPlot();
  ASSERT_TRUE(view.m_nViewFlags & VIEW_FRAGMENT_PLOT);
  platform::qt::RasterCanvas canvas(kCanvasWidth, kCanvasHeight);
  view.OnDraw(&canvas);
  EXPECT_TRUE(canvas.SavePng(Artefact("small_Tumour02_fragment_plot.png")));
  // Lengths below 200 bases hold no SNP of the family: the centre lines
  // (logical 300 and 800, two units a pixel) show there.
  for (const int y : {150, 400}) EXPECT_EQ(canvas.PixelAt(110, y), RGB(100, 100, 100)) << y;
  // Each panel's dots in its own half (the halves part at y 275), a few hundred of them at the least.
  std::map<std::pair<COLORREF, bool>, int> dots;
  for (int y = 0; y < kCanvasHeight; ++y)
    for (int x = 0; x < kCanvasWidth; ++x) ++dots[{canvas.PixelAt(x, y), y < 275}];
  EXPECT_GT((dots[{RGB(255, 0, 0), true}]), 300);
  EXPECT_EQ((dots[{RGB(255, 0, 0), false}]), 0);
  EXPECT_GT((dots[{RGB(0, 255, 0), false}]), 300);
  EXPECT_EQ((dots[{RGB(0, 255, 0), true}]), 0);
}

TEST_F(ViewRasterTest, DemoPicturesOfBothTumoursAreWritten) {
  const struct {
    const char* sample;
    int chromosome;
    const char* file;
  } pictures[] = {{"Tumour01", 0, "small_Tumour01_genome.png"},
                  {"Tumour01", 8, "small_Tumour01_chr8.png"},
                  {"Tumour02", 5, "small_Tumour02_chr5.png"}};
  for (const auto& p : pictures) {
    const std::string path = Artefact(p.file);
    std::filesystem::remove(path);
    viewpics::RenderSample(global_, p.sample, p.chromosome, path);
    EXPECT_GT(std::filesystem::file_size(path), 2000u) << p.file;
  }
}

}  // namespace
}  // namespace qova::test
#endif
