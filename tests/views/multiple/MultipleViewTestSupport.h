#pragma once
// What the tests of the multiple-sample grid and the integral view share:
// results of the small family put into the document's list as Display
// Samples puts them, and a recording canvas that draws in logical units.
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/AnalyzedData.h"
#include "platform/ui/Headless.h"
#include "platform/ui/RecordingCanvas.h"
#include "platform/ui/UserInput.h"
#include "tests/views/ViewToolTestSupport.h"

namespace qova::test {

class MultipleViewTest : public ViewToolTest {
 protected:
  // A result file of the results folder, and the sample name it is shown by.
  struct Listed {
    std::string file;
    std::string name;  // empty: the file's own
  };

  // The document holds the results of `files` in order, in status "Multiple".
  void List(const std::vector<Listed>& files) {
    doc_->LoadedResults.clear();
    doc_->DisplayList.clear();
    for (const Listed& listed : files) {
      auto result = std::make_unique<CAnalyzedData>();
      result->LoadFileAllocating(doc_->AnalysisResultFolder + listed.file);
      if (!listed.name.empty()) result->Header.SampleName = listed.name;
      doc_->LoadedResults.push_back(std::move(result));
      doc_->DisplayList.push_back(listed.file);
    }
    doc_->Status = kStatusMultiple;
  }
  // Self, non-self, self: three rows of the small family's two results.
  void ListThree() { List({{"Tumour01.CFS", "S1"}, {"Tumour02.CFN", "S2"}, {"Tumour01.CFS", "S3"}}); }

  // A right click at client point p answered with the item `text` ("" dismisses).
  static void RightClick(CQOVAView& view, CPoint p, const std::string& text) {
    platform::ui::Headless().OnPopupMenu([text](const platform::ui::PopupMenuRequest& request) {
      return text.empty() ? 0u : platform::ui::FindMenuItem(request.items, text);
    });
    platform::ui::input::Mouse(view, WM_RBUTTONDOWN, MK_RBUTTON, p);
  }
  // The texts of the last context menu.
  static std::vector<std::string> LastMenu() {
    std::vector<std::string> texts;
    for (const auto& item : platform::ui::Headless().PopupMenus().back().items) texts.push_back(item.text);
    return texts;
  }
  // The client y of the middle of grid row r.
  static int RowY(const CQOVAView& view, int r) {
    return int(view.ToDeviceY((view.m_aMultiOrder[std::size_t(r)] + view.m_aMultiOrder[std::size_t(r + 1)]) / 2));
  }
  // The names of the rows top to bottom, as the positions give them.
  std::vector<std::string> RowNames(const CQOVAView& view) const {
    std::vector<std::string> names(view.m_aMultiSelect.size());
    for (std::size_t i = 0; i < names.size(); ++i)
      if (const unsigned p = view.m_aMultiSelect[i]; p != 0) names[p - 1] = doc_->LoadedResults[i]->Header.SampleName;
    while (!names.empty() && names.back().empty()) names.pop_back();
    return names;
  }
};

// A canvas whose device units are the view's logical units.
class LogicalCanvas {
 public:
  LogicalCanvas() : canvas_(kCanvasWidth, kCanvasHeight) { canvas_.SetMapMode(MM_TEXT); }
  CDC* operator->() { return &canvas_; }
  CDC* Dc() { return &canvas_; }
  [[nodiscard]] const platform::ui::Picture& Picture() const { return canvas_.Contents(); }

 private:
  platform::ui::RecordingCanvas canvas_;
};

}  // namespace qova::test
