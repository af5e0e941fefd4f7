#pragma once
// What the graph tests share: a copy-number change text of samples in three
// planted patterns (written here as Display Samples exports it), and a graph
// document with one view window on it, driven headlessly.
#include <gtest/gtest.h>

#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "tests/support/TempHome.h"
#include "views/graph/GraphSetting.h"
#include "views/graph/QOVAGraphDoc.h"
#include "views/graph/QOVAGraphView.h"

namespace qova::test {

inline constexpr const char* kChangeHeader = "Sample_name\tCopyNumber\tChromosome\tStartSNP\tStartPos\tEndSNP\tEndPos\n";

// Sample i (named "S01".."Snn") follows pattern i % 3: a loss on 3 and a gain
// on 8; a gain on 1 and a homozygous loss on 13; a high gain on 17 and a loss
// on 5. Each boundary moves by half a megabase from sample to sample, and
// every sample has a gain on X of its own.
inline std::string PatternChangeText(int samples) {
  struct Stretch {
    int state, chromosome, start, end;
  };
  const std::vector<Stretch> patterns[3] = {{{1, 3, 20000000, 80000000}, {3, 8, 100000000, 140000000}},
                                            {{4, 1, 150000000, 240000000}, {0, 13, 30000000, 90000000}},
                                            {{5, 17, 35000000, 60000000}, {1, 5, 5000000, 40000000}}};
  std::string text = kChangeHeader;
  for (int i = 0; i < samples; ++i) {
    const int jitter = i * 500000;
    std::vector<Stretch> stretches = patterns[i % 3];
    stretches.push_back({3, 23, 10000000 + 7000000 * i, 30000000 + 7000000 * i});
    for (const Stretch& s : stretches)
      text += platform::Format("S%02d\t%d\t%d\t%d\t%d\t%d\t%d\n", i + 1, s.state, s.chromosome, 1000 + i,
                               s.start + jitter, 2000 + i, s.end - jitter);
  }
  return text;
}

// The fills of `colour` in a picture.
inline std::size_t FillsOf(const platform::ui::Picture& picture, COLORREF colour) {
  std::size_t n = 0;
  for (const auto& r : picture.records) n += r.op == platform::ui::DrawOp::FillRect && r.color == colour ? 1 : 0;
  return n;
}

class GraphTest : public TempHomeTest {
 protected:
  GraphTest() {
    platform::ui::SetBackend(nullptr);
    Ui().Reset();
    doc_ = std::make_unique<CQOVAGraphDoc>();
    doc_->m_bAutoDelete = FALSE;
    view_ = new CQOVAGraphView;
    CCreateContext context;
    context.m_pCurrentDoc = doc_.get();
    if (!view_->Create("", "", WS_CHILD | WS_VISIBLE, CRect(0, 0, 1200, 800), nullptr, AFX_IDW_PANE_FIRST, &context))
      throw std::runtime_error("cannot create the graph view");
    view_->OnInitialUpdate();
  }
  ~GraphTest() override {
    view_->DestroyWindow();
    Ui().Reset();
  }

  static platform::ui::HeadlessUi& Ui() { return platform::ui::Headless(); }
  CQOVAGraphDoc& Doc() { return *doc_; }
  CQOVAGraphView& View() { return *view_; }
  GraphLayout& Layout() { return doc_->m_pSetting->m_Layout; }

  // Writes `text` under the temporary home and opens it in the document.
  BOOL Open(const std::string& text, const std::string& name = "changes.txt") {
    EXPECT_TRUE(platform::WriteWholeFile(Path(name), text));
    return doc_->OnOpenDocument(Path(name).c_str());
  }
  // Runs a menu command of the view (or, through it, of the document).
  void Command(UINT id) { platform::ui::DispatchCommand(*view_, id); }
  // The next file dialog answers `path`.
  void AnswerFileDialog(const std::string& path) {
    Ui().OnFileDialog([path](platform::ui::FileDialogRequest& r) {
      r.chosen = {path};
      return true;
    });
  }
  [[nodiscard]] std::vector<int> Order() const { return doc_->SampleOrder(); }
  [[nodiscard]] platform::ui::Picture Draw() { return view_->RecordChart(); }

  platform::ScopedRecordingSink messages_;

 private:
  std::unique_ptr<CQOVAGraphDoc> doc_;
  CQOVAGraphView* view_ = nullptr;
};

}  // namespace qova::test
