#include "tools/viewpics/ViewPictures.h"

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include "core/GlobalData.h"
#include "document/QOVADoc.h"
#include "platform/Paths.h"
#include "platform/Profile.h"
#include "platform/qt/RasterCanvas.h"
#include "views/main/QOVAView.h"

namespace viewpics {

bool LoadProgramFolder(const std::string& folder, CGlobalData& global) {
  std::string root = folder;
  if (root.empty() || root.back() != '/') root += '/';
  ::setenv("QOVA_HOME", root.c_str(), 1);
  ::setenv("QOVA_CONFIG_HOME", root.c_str(), 1);
  platform::AppProfile().UseSettingsFile(root + "qova/QOVA.ini");
  platform::SetStartFolder(root);
  return global.Load() != FALSE;
}

void RenderSample(CGlobalData& global, const std::string& sample, int chromosome, const std::string& pngPath,
                  bool fragmentPlot) {
  CQOVADoc doc(global);
  doc.m_bAutoDelete = FALSE;
  std::string result;
  for (const char* extension : {".CFS", ".CFA", ".CFN"}) {
    if (platform::FileExists(doc.AnalysisResultFolder + sample + extension)) {
      result = doc.AnalysisResultFolder + sample + extension;
      break;
    }
  }
  if (result.empty()) throw std::runtime_error("no result of " + sample + " in " + doc.AnalysisResultFolder);
  doc.AnalyzedData.LoadFile(result);
  const std::string extracted = doc.ArrayDataFolder + sample + ".CFH";
  const bool withSample = platform::FileExists(extracted);
  if (withSample) doc.ArrayData.LoadFile(extracted);
  doc.Status = withSample ? kStatusAnalysis : kStatusSingle;
  doc.SetTitle(sample);

  // The view's window is the user-interface model's; only the canvas is Qt's.
  auto* view = new CQOVAView;
  CCreateContext context;
  context.m_pCurrentDoc = &doc;
  if (!view->Create("", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, kPictureWidth, kPictureHeight), nullptr,
                    AFX_IDW_PANE_FIRST, &context)) {
    delete view;
    throw std::runtime_error("cannot make a view");
  }
  const std::unique_ptr<CQOVAView, void (*)(CQOVAView*)> window(view, [](CQOVAView* v) { v->DestroyWindow(); });
  view->OnInitialUpdate();
  if (chromosome >= 1 && chromosome <= 23) {
    // As View > EachChromosome does: the genome's size is kept, the single mode's taken.
    view->m_nAllSizeX = view->m_nSizeX;
    view->m_nAllSizeY = view->m_nSizeY;
    view->m_nViewFlags |= VIEW_ONE_CHROMOSOME;
    view->m_nChromosome = chromosome;
    view->m_nSizeX = view->m_nEachSizeX;
    view->m_nSizeY = view->m_nEachSizeY;
    view->m_nScrollX = view->m_nScrollY = 0;
    doc.UpdateAllViews(nullptr);
  }
  if (!view->m_bDataShown) throw std::runtime_error("the view shows nothing of " + sample);
  if (fragmentPlot) view->OnParameterFragmentLengthPlot();
  platform::qt::RasterCanvas canvas(kPictureWidth, kPictureHeight);
  view->OnDraw(&canvas);
  if (!platform::CreateFolders(std::filesystem::path(pngPath).parent_path().string()))
    throw std::runtime_error("cannot make the folder of " + pngPath);
  if (!canvas.SavePng(pngPath)) throw std::runtime_error("cannot write " + pngPath);
}

}  // namespace viewpics
