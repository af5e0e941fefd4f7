// The multiple-sample grid and the integral view of six analysed samples of
// the small family drawn on the raster canvas at 1600 by 1000, kept in
// <build>/artefacts/views for people to look at: the whole-genome grid, the
// grid of chromosome 8 and the integration of the six.
#ifdef QOVA_RASTER_CANVAS
#include <filesystem>

#include "analysis/IntegrationData.h"
#include "platform/qt/RasterCanvas.h"
#include "tests/views/multiple/MultipleViewTestSupport.h"

namespace qova::test {
namespace {

class MultipleRasterTest : public MultipleViewTest {
 protected:
  static std::string Artefact(const std::string& name) {
    const std::filesystem::path folder = std::filesystem::path(BinaryDir()) / "artefacts" / "views";
    std::filesystem::create_directories(folder);
    return (folder / name).string();
  }
  // Six results: the two of the demo and four non-self analyses with
  // references chosen automatically, as the Sample Manager makes them.
  std::vector<std::string> SixResults() {
    (void)OwnCopy();
    for (const char* sample : {"Tumour01", "Tumour01N", "Ref01", "Ref02"}) {
      CQOVADoc other(global_);
      other.RunSampleAction(sample, kActionAutomaticAnalysis);
    }
    std::vector<std::string> files = {"Tumour01.CFS", "Tumour02.CFN", "Tumour01.CFN",
                                      "Tumour01N.CFN", "Ref01.CFN",   "Ref02.CFN"};
    for (const std::string& file : files) EXPECT_TRUE(std::filesystem::exists(doc_->AnalysisResultFolder + file)) << file;
    return files;
  }
  // Pixels of `colour` in the picture's rows from `top` to `bottom`.
  static int Count(const platform::qt::RasterCanvas& canvas, COLORREF colour, int top, int bottom) {
    int n = 0;
    for (int y = std::max(0, top); y < std::min(kCanvasHeight, bottom); ++y)
      for (int x = 0; x < kCanvasWidth; ++x) n += canvas.PixelAt(x, y) == colour;
    return n;
  }
};

TEST_F(MultipleRasterTest, TheGridAndTheIntegrationOfSixSamplesAreDrawn) {
  const std::vector<std::string> files = SixResults();
  std::vector<Listed> listed;
  for (const std::string& file : files) listed.push_back({file, ""});
  List(listed);
  CQOVAView& view = NewView();
  view.m_pDisplaySetting->ITEMS.MULTIALL = 0x400 | 0x40 | 0x80 | 0x1;
  view.m_nViewFlags &= ~VIEW_ONE_CHROMOSOME;
  view.OnUpdate(nullptr, 0, nullptr);
  ASSERT_TRUE(view.m_bDataShown);
  {
    platform::qt::RasterCanvas canvas(kCanvasWidth, kCanvasHeight);
    view.OnDraw(&canvas);
    EXPECT_TRUE(canvas.SavePng(Artefact("grid_genome.png")));
    // Every row shows chromosome 1's dots in its colour, the loss on 3 of the
    // first tumour in the state bar's one-copy colour.
    for (int r = 0; r < 6; ++r) {
      const int top = int(view.ToDeviceY(view.m_aMultiOrder[std::size_t(r)]));
      const int bottom = int(view.ToDeviceY(view.m_aMultiOrder[std::size_t(r + 1)]));
      EXPECT_GT(Count(canvas, RGB(0, 85, 85), top, bottom), 100) << r;
    }
    EXPECT_GT(Count(canvas, view.m_pDisplaySetting->COLORM.CN[1], int(view.ToDeviceY(view.m_aMultiOrder[0])),
                    int(view.ToDeviceY(view.m_aMultiOrder[1]))),
              20);
  }

  view.m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  view.m_nChromosome = 8;
  view.OnUpdate(nullptr, 0, nullptr);
  view.m_nSizeY = 80;  // all six rows in the picture
  {
    platform::qt::RasterCanvas canvas(kCanvasWidth, kCanvasHeight);
    view.OnDraw(&canvas);
    EXPECT_TRUE(canvas.SavePng(Artefact("grid_chr8.png")));
    // The header's ideogram at the top: black frame lines within the header.
    EXPECT_GT(Count(canvas, RGB(0, 0, 0), 0, int(view.ToDeviceY(view.m_nMultiHeaderHeight))), 100);
  }

  auto integration = std::make_shared<IntegrationData>(global_);
  integration->Mode = "AddDel";
  integration->Order = "Amount";
  integration->Title = "Small family";
  ASSERT_TRUE(integration->IntegrateSamples(files));
  ASSERT_FALSE(integration->Segments.empty());
  doc_->Integration = integration;
  doc_->Status = kStatusIntegrate;
  view.m_nViewFlags &= ~VIEW_ONE_CHROMOSOME;
  doc_->UpdateAllViews(nullptr);
  ASSERT_TRUE(view.m_bDataShown);
  view.m_nSizeY = 300;  // zoomed in along y, so the lanes stand apart
  platform::qt::RasterCanvas canvas(kCanvasWidth, kCanvasHeight);
  view.OnDraw(&canvas);
  EXPECT_TRUE(canvas.SavePng(Artefact("integral_genome.png")));
  const CDisplaySetting::IntegrateKeys& keys = view.m_pDisplaySetting->INTEGRATE;
  EXPECT_GT(Count(canvas, keys.COL1, 0, kCanvasHeight) + Count(canvas, keys.COL2, 0, kCanvasHeight), 10);
  EXPECT_GT(Count(canvas, keys.COL3, 0, kCanvasHeight) + Count(canvas, keys.COL4, 0, kCanvasHeight), 10);
}

}  // namespace
}  // namespace qova::test
#endif
