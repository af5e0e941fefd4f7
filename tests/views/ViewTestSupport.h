#pragma once
// What the view tests share: the small family's demo results (a self result
// of Tumour01 and a non-self result of Tumour02, made once per run the way
// the end-to-end test makes them), an application-wide data object over their
// data folder, a main document holding one of them, and main views on it.
#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "core/GlobalData.h"
#include "document/QOVADoc.h"
#include "platform/MessageBox.h"
#include "platform/ui/Frame.h"
#include "platform/ui/RecordingCanvas.h"
#include "tests/support/TempHome.h"
#include "views/main/QOVAView.h"

namespace qova::test {

inline constexpr const char* kSmallType = "Mapping10K_Xba131";
inline constexpr int kCanvasWidth = 1600;
inline constexpr int kCanvasHeight = 1000;

// The demo folder of the small family, made on first use and removed at exit.
[[nodiscard]] const std::string& SmallDemoFolder();

class ViewTest : public TempHomeTest {
 protected:
  ViewTest();
  ~ViewTest() override;

  // Loads "<name>.<ext>" of the demo's results (and "<name>.CFH" when the
  // status is "Analysis") into the document and sets the status.
  void Open(const std::string& name, const char* extension, const char* status = kStatusAnalysis);
  // A new main view window on the document, client size w x h, after its
  // first update.
  CQOVAView& NewView(int width = kCanvasWidth, int height = kCanvasHeight);
  // A main view on the document in a frame that carries the main document's
  // menu and the program's accelerators, active, client size w x h: for
  // commands chosen from menus and reached by keys.
  CQOVAView& FramedView(int width = kCanvasWidth, int height = kCanvasHeight);
  [[nodiscard]] CFrameWnd& Frame() const { return *frame_; }
  // The view's drawing pass on a recording canvas.
  [[nodiscard]] platform::ui::Picture Draw(CQOVAView& view);
  // The SNP slots of chromosome c of the shown sample's type.
  [[nodiscard]] int First(int c) const;
  [[nodiscard]] int End(int c) const;
  // The demo's samples and results copied below the test's folder, which the
  // settings and the document take as theirs: for commands that write them.
  std::string OwnCopy();

  CGlobalData global_;
  std::unique_ptr<CQOVADoc> doc_;
  platform::ScopedRecordingSink messages_;
  CFrameWnd* frame_ = nullptr;  // goes with its window
};

// A view of `viewClass` on `doc`, client size w x h: a child window of its
// own, or (framed) the pane of a frame that carries the document type's
// menu `menu` and the program's accelerators, active, for commands chosen
// from menus and reached by keys. Not yet updated.
[[nodiscard]] CView& CreateView(const CRuntimeClass* viewClass, CDocument& doc, int width, int height);
[[nodiscard]] CView& CreateFramedView(const CRuntimeClass* viewClass, CDocument& doc, UINT menu, int width, int height,
                                      CFrameWnd*& frame);

// Counts records of `op` whose colour is `colour`.
[[nodiscard]] std::size_t CountOf(const platform::ui::Picture& picture, platform::ui::DrawOp op, COLORREF colour);

// The axis labels (texts of one of the characters of `labels`) that show on
// the pages of the first column of a print `columns` pages across; each is
// expected to begin on its page.
int ExpectFirstColumnLabelsOnPaper(const std::vector<platform::ui::Picture>& pages, long long columns,
                                   std::string_view labels);

}  // namespace qova::test
