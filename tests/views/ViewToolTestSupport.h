#pragma once
// What the tests of the main view's mouse tools share: a copy of the demo of
// their own (the tools write samples and results), the client point over a
// SNP slot of the genome layout, and a band dragged with the left button as
// the mouse reports it.
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "core/AnalyzedData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "platform/ui/UserInput.h"
#include "tests/views/ViewTestSupport.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace qova::test {

class ViewToolTest : public ViewTest {
 protected:
  // Loads "<name><extension>" (and its .CFH for "Analysis") from the copy.
  void OpenCopy(const std::string& root, const std::string& name, const char* extension,
                const char* status = kStatusAnalysis) {
    doc_->AnalyzedData.LoadFile(root + "Results/" + name + extension);
    if (std::string(status) == kStatusAnalysis) doc_->ArrayData.LoadFile(root + "ArrayData/" + name + ".CFH");
    doc_->Status = status;
  }

  // The generated annotation table of `family` loaded into the tables.
  const CBasicData& LoadFamily(int family) {
    const std::int32_t rows = qova::core::kArrayFamilies[std::size_t(family)].snpCount;
    const std::string table = Path("family" + std::to_string(family) + ".dtt");
    datagen::MakeAnnotation(family).StoreFile(table, rows);
    global_.BasicData[family].Allocate(rows, 0);
    global_.BasicData[family].LoadFile(table, rows);
    return global_.BasicData[family];
  }

  // A non-self result of test sample "Combined01" of `arrayType` as the
  // sample generator makes it from `table`.
  static CAnalyzedData GeneratedResult(const char* arrayType, const CBasicData& table) {
    samplegen::SampleGenerator generator(arrayType, table, 11);
    samplegen::SampleSpec spec;
    spec.Name = "Combined01";
    spec.IsTest = true;
    return CAnalyzedData(generator.Make(spec), AnalysisKind::NonSelf);
  }

  // The client point over slot `slot` of chromosome c in the genome layout,
  // inside its copy-number plot.
  static CPoint Over(const CQOVAView& view, int c, int slot) {
    const long long x = view.m_nChromosomeX[c] + (slot - view.m_pChromosomeStarts[c]);
    return {LONG(view.ToDeviceX(x)), LONG(view.ToDeviceY(view.m_nChromosomeY[c] + 500))};
  }
  // The slot the view finds under client point p (its own hit test).
  static int SlotAt(const CQOVAView& view, CPoint p) {
    int c = 0, slot = -1;
    return view.HitTest(p, c, slot, TRUE) ? slot : -1;
  }
  static void Drag(CQOVAView& view, CPoint from, CPoint to) {
    namespace input = platform::ui::input;
    input::Mouse(view, WM_LBUTTONDOWN, MK_LBUTTON, from);
    input::Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, {(from.x + to.x) / 2, from.y});
    input::Mouse(view, WM_MOUSEMOVE, MK_LBUTTON, to);
    input::Mouse(view, WM_LBUTTONUP, 0, to);
  }
  // The position of slot i through the annotation (the index map alone).
  [[nodiscard]] int PositionOfSlot(int i) const {
    const CBasicData& t = global_.BasicData[0];
    return t.Position[std::size_t(t.IndexMap[std::size_t(i)])];
  }

  static std::string Bytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
  }
};

}  // namespace qova::test
