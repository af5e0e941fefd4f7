// The fragment-length plot on copies of the small family's demo: what the
// recording canvas holds of its two panels, the band dragged over it, the
// range dialog, and the analyses both run through the document with the SNPs
// of a range of lengths.
#include <gmock/gmock.h>

#include <cmath>
#include <filesystem>
#include <map>
#include <set>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/Headless.h"
#include "platform/ui/UserInput.h"
#include "resources/CommandIds.h"
#include "resources/ShownSampleDialogs.h"
#include "tests/views/ViewToolTestSupport.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::DrawOp;
using platform::ui::Headless;
using platform::ui::Picture;

constexpr COLORREF kUpperDot = RGB(255, 0, 0);
constexpr COLORREF kLowerDot = RGB(0, 255, 0);
constexpr COLORREF kCurve = RGB(0, 0, 255);
// Device rows between the two panels: the upper lies above, the lower below.
constexpr int kBetweenPanels = 275;

class ViewFragmentTest : public ViewToolTest {
 protected:
  CQOVAView& ShowCopy(const char* name, const char* extension) {
    root_ = OwnCopy();
    OpenCopy(root_, name, extension);
    return FramedView();
  }
  void Choose(unsigned command) { ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), command)); }
  [[nodiscard]] int LengthOf(int slot) const {
    const CBasicData& t = global_.BasicData[0];
    return t.FragmentLength[std::size_t(t.IndexMap[std::size_t(slot)])];
  }
  void SetLength(int slot, int length) {
    CBasicData& t = global_.BasicData[0];
    t.FragmentLength[std::size_t(t.IndexMap[std::size_t(slot)])] = length;
  }
  // The valid slots of the stored result.
  [[nodiscard]] std::set<int> StoredValid(const char* file) const {
    CAnalyzedData stored;
    stored.LoadFileAllocating(root_ + "Results/" + file);
    std::set<int> valid;
    for (int s = First(1); s < End(23); ++s)
      if (stored.ValidFlag[std::size_t(s)] == 1) valid.insert(s);
    return valid;
  }
  // Runs the range dialog: `fill` types into it, then OK.
  void SetRange(const std::function<void(DialogDriver&)>& fill) {
    Headless().OnDialog(res::kFragmentLengthDialog, [fill](DialogDriver& d) {
      fill(d);
      d.Ok();
      if (d.IsOpen()) d.Cancel();
    });
    Choose(res::kCmdFragmentLengthRange);
  }

  std::string root_;
};

TEST_F(ViewFragmentTest, EverySnpIsOneDotAndTheCurvesGoThroughTheFullBinsOnly) {
  CQOVAView& view = ShowCopy("Tumour02", ".CFN");
  // One zero test intensity: its lower point has no value.
  const int zero = First(4) + 3;
  const std::int32_t row = global_.BasicData[0].IndexMap[std::size_t(zero)];
  doc_->ArrayData.SignalA[std::size_t(row)] = doc_->ArrayData.SignalB[std::size_t(row)] = 0.0f;
  // Bins of lengths no SNP of the family has: 9 SNPs in bin 2, 10 in bin 5.
  for (int k = 0; k < 19; ++k) SetLength(First(9) + k, k < 9 ? 50 : 110);
  Choose(res::kCmdFragmentLengthPlot);
  ASSERT_TRUE(view.m_nViewFlags & VIEW_FRAGMENT_PLOT);
  const Picture picture = Draw(view);
  const std::size_t slots = std::size_t(End(23) - First(1));
  EXPECT_EQ(CountOf(picture, DrawOp::Pixel, kUpperDot), slots);
  EXPECT_EQ(CountOf(picture, DrawOp::Pixel, kLowerDot), slots - 1);
  // Nothing of the panels is drawn.
  EXPECT_EQ(picture.FindText("Ch1"), nullptr);

  std::array<int, 100> counts{};
  for (int s = First(1); s < End(23); ++s) ++counts[std::size_t(std::min(LengthOf(s) / 20, 99))];
  std::set<int> full;
  for (int k = 0; k < 100; ++k)
    if (counts[std::size_t(k)] >= 10) full.insert(102 + 5 * k);
  ASSERT_EQ(*full.begin(), 127);
  ASSERT_EQ(full.count(112), 0u);
  // Lines ending at each bin's x: the mean reaches every full bin after the
  // first, m + d and m - d only the even ones (an odd bin starts a piece).
  std::map<int, int> ends;
  std::set<int> upper;
  for (const auto& r : picture.records) {
    if (r.op != DrawOp::Line || r.color != kCurve || r.y1 > kBetweenPanels) continue;
    upper.insert(r.x1);
    upper.insert(r.x2);
    ++ends[r.x2];
  }
  EXPECT_EQ(upper, full);
  for (const int x : full) {
    const int k = (x - 102) / 5;
    EXPECT_EQ(ends[x], x == *full.begin() ? 0 : k % 2 == 0 ? 3 : 1) << k;
  }

  // Off again: the panels.
  Choose(res::kCmdFragmentLengthPlot);
  EXPECT_NE(Draw(view).FindText("Ch1"), nullptr);
}

TEST_F(ViewFragmentTest, TheScalesShareTheCentreLineAndLabelItTheirWay) {
  CQOVAView& view = ShowCopy("Tumour01", ".CFS");
  Choose(res::kCmdFragmentLengthPlot);
  for (const unsigned scale : {res::kCmdLogScale, res::kCmdLinearScale}) {
    Choose(scale);
    ASSERT_TRUE(view.m_nViewFlags & VIEW_FRAGMENT_PLOT);
    const Picture picture = Draw(view);
    const bool log = scale == res::kCmdLogScale;
    for (const char* label : {log ? "-1" : "4", "2000"}) EXPECT_NE(picture.FindText(label), nullptr) << label;
    EXPECT_EQ(picture.FindText(log ? "4" : "-1"), nullptr);
    // The centre line of the upper panel, at logical 300, two units a pixel.
    int centre = 0;
    for (const auto& r : picture.records)
      centre += r.op == DrawOp::Line && r.color == RGB(100, 100, 100) && r.y1 == 150 && r.y2 == 150 ? 1 : 0;
    EXPECT_EQ(centre, 1);
    EXPECT_EQ(CountOf(picture, DrawOp::Pixel, kLowerDot), std::size_t(End(23) - First(1)));
  }
}

// The device y of `value` in the panel centred at logical y `centre`: one
// log2 unit, or a ratio of 1 on the linear scale, is 100 logical units, and
// two logical units are one pixel.
double PanelY(int centre, bool log, double value) { return ((log ? 0 : 100) + centre - 100 * value) / 2; }

// Both panels at the heights of their values, for a self and a non-self
// result on both scales. Four SNPs get lengths of their own (x 100 to 103);
// thirty others fill bins 2, 3 and 4 (x 112, 117, 122), which no SNP of the
// family reaches, with ratios whose spread the curves show.
TEST_F(ViewFragmentTest, TheDotsAndCurvesLieAtTheirValuesAndTheLowerPanelComparesTheTestWithItsReferences) {
  const struct {
    const char* name;
    const char* extension;
  } results[] = {{"Tumour01", ".CFS"}, {"Tumour02", ".CFN"}};
  for (const auto& result : results) {
    Open(result.name, result.extension);
    const bool self = doc_->AnalyzedData.IsSelf;
    std::vector<int> own;
    for (int k = 0; k < 4; ++k) {
      own.push_back(First(3) + 7 * k);
      SetLength(own.back(), 4 * k);
      doc_->AnalyzedData.LogRatio[std::size_t(own.back())] = 0.5f - 0.25f * float(k);
    }
    const int binned = First(9);
    for (int k = 0; k < 30; ++k) {
      SetLength(binned + k, 40 + 20 * (k / 10) + k % 10);
      doc_->AnalyzedData.LogRatio[std::size_t(binned + k)] = (k % 2 == 0 ? 1.0f : -1.0f) * (0.5f + 0.1f * float(k / 10));
    }
    CQOVAView& view = FramedView();
    Choose(res::kCmdFragmentLengthPlot);
    for (const bool log : {true, false}) {
      SCOPED_TRACE(platform::Format("%s%s, %s", result.name, result.extension, log ? "log" : "linear"));
      // The scale already shown is not offered again.
      if (((view.m_nViewFlags & VIEW_LOG_SCALE) != 0) != log) Choose(log ? res::kCmdLogScale : res::kCmdLinearScale);
      ASSERT_EQ((view.m_nViewFlags & VIEW_LOG_SCALE) != 0, log);
      ASSERT_TRUE(view.m_nViewFlags & VIEW_FRAGMENT_PLOT);
      const Picture picture = Draw(view);
      const auto ratio = [&](int slot) {
        const double v = doc_->AnalyzedData.LogRatio[std::size_t(slot)];
        return log ? v : std::exp2(v);
      };

      // The test's total signal against its references', each non-self
      // reference scaled to its mean.
      const CArrayData& test = doc_->ArrayData;
      const CBasicData& table = global_.BasicData[0];
      const auto total = [&](const CArrayData& sample, int slot) {
        const std::size_t row = std::size_t(table.IndexMap[std::size_t(slot)]);
        return double(sample.SignalA[row]) + double(sample.SignalB[row]);
      };
      const std::vector<std::string> names =
          self ? std::vector<std::string>{test.Header.SelfReference} : NonSelfReferenceNames(test.Header);
      const double slots = End(23) - First(1);
      double testSum = 0.0, referenceSum = 0.0;
      for (int s = First(1); s < End(23); ++s) testSum += total(test, s);
      std::vector<double> scaled(own.size(), 0.0);
      for (const std::string& name : names) {
        CArrayData reference;
        reference.LoadFile(platform::JoinPath(doc_->ArrayDataFolder, name + ".CFH"));
        double sum = 0.0;
        for (int s = First(1); s < End(23); ++s) sum += total(reference, s);
        referenceSum += sum;
        for (std::size_t k = 0; k < own.size(); ++k) scaled[k] += total(reference, own[k]) / (self ? 1.0 : sum / slots);
      }
      for (std::size_t k = 0; k < own.size(); ++k) {
        SCOPED_TRACE(k);
        const double t = total(test, own[k]);
        const double v = self ? referenceSum / testSum * t / scaled[k] : double(names.size()) * t / (scaled[k] * testSum / slots);
        std::vector<int> upper, lower;
        for (const auto& r : picture.records) {
          if (r.op != DrawOp::Pixel || r.x1 != 100 + int(k)) continue;
          if (r.color == kUpperDot) upper.push_back(r.y1);
          if (r.color == kLowerDot) lower.push_back(r.y1);
        }
        ASSERT_EQ(upper.size(), 1u);
        ASSERT_EQ(lower.size(), 1u);
        EXPECT_NEAR(upper[0], PanelY(300, log, ratio(own[k])), 1.0);
        EXPECT_NEAR(lower[0], PanelY(800, log, log ? std::log2(v) : v), 1.0);
      }

      // Bins 3 and 4: the mean and the mean +/- one deviation (n - 1) of their ten values.
      std::set<std::pair<int, int>> ends;
      for (const auto& r : picture.records) {
        if (r.op != DrawOp::Line || r.color != kCurve || r.y1 > kBetweenPanels) continue;
        ends.insert({r.x1, r.y1});
        ends.insert({r.x2, r.y2});
      }
      for (const int bin : {3, 4}) {
        double sum = 0.0, squares = 0.0;
        for (int k = 10 * (bin - 2); k < 10 * (bin - 1); ++k) {
          sum += ratio(binned + k);
          squares += ratio(binned + k) * ratio(binned + k);
        }
        const double mean = sum / 10, deviation = std::sqrt((squares - sum * sum / 10) / 9);
        const int x = 102 + 5 * bin;
        for (const double value : {mean, mean + deviation, mean - deviation}) {
          const double y = PanelY(300, log, value);
          const bool found = std::any_of(ends.begin(), ends.end(), [&](const std::pair<int, int>& p) {
            return p.first == x && std::abs(p.second - y) <= 1.0;
          });
          EXPECT_TRUE(found) << "bin " << bin << ", value " << value;
        }
      }
    }
  }
}

TEST_F(ViewFragmentTest, AReferenceThatCannotServeLeavesANoteInTheLowerPanel) {
  CQOVAView& view = ShowCopy("Tumour02", ".CFN");
  const std::string reference = NonSelfReferenceNames(doc_->ArrayData.Header).at(1);
  const std::string path = root_ + "ArrayData/" + reference + ".CFH";
  const auto other = [&] {
    CArrayData sample(reference, "Mapping10K_Xba142", global_.TypeInfo(1), CTime());
    sample.StoreFile(path);
  };
  const auto cut = [&] { std::filesystem::resize_file(path, 300); };
  const struct {
    std::function<void()> spoil;
    std::string note;
  } cases[] = {
      {cut, "The reference sample " + platform::NativePath(path) + " cannot be read"},
      {other, "The reference sample " + platform::NativePath(path) +
                  " is of the array type Mapping10K_Xba142, not Mapping10K_Xba131"},
  };
  for (const auto& c : cases) {
    c.spoil();
    view.m_nViewFlags &= ~VIEW_FRAGMENT_PLOT;
    Choose(res::kCmdFragmentLengthPlot);
    const Picture picture = Draw(view);
    EXPECT_NE(picture.FindText(c.note), nullptr) << c.note;
    EXPECT_EQ(CountOf(picture, DrawOp::Pixel, kLowerDot), 0u);
    EXPECT_EQ(CountOf(picture, DrawOp::Pixel, kUpperDot), std::size_t(End(23) - First(1)));
  }
  EXPECT_THAT(messages_.Texts(), testing::IsEmpty());
}

TEST_F(ViewFragmentTest, ABandOverThePlotAsksItsLengthsAndAnalysesThem) {
  CQOVAView& view = ShowCopy("Tumour02", ".CFN");
  // Two short SNPs whose annotation does not fit their chromosome.
  std::vector<int> misfits;
  for (int s = First(2); s < End(2) && misfits.size() < 2; ++s) {
    if (LengthOf(s) > 203) continue;
    misfits.push_back(s);
    CBasicData& t = global_.BasicData[0];
    t.Chromosome[std::size_t(t.IndexMap[std::size_t(s)])] = 5;
  }
  ASSERT_EQ(misfits.size(), 2u);
  Choose(res::kCmdFragmentLengthPlot);
  view.OnParameterMeasure();
  const std::string stored = Bytes(root_ + "Results/Tumour02.CFN");
  messages_.QueueAnswer(IDNO);
  Drag(view, {100, 150}, {150, 160});
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"0 - 203"});
  EXPECT_EQ(Bytes(root_ + "Results/Tumour02.CFN"), stored);
  EXPECT_TRUE(view.m_nViewFlags & VIEW_FRAGMENT_PLOT);
  EXPECT_EQ(view.m_nMouseMode, MOUSE_NONE);

  // Dragged leftwards, the same range; Yes analyses it.
  view.OnParameterMeasure();
  messages_.QueueAnswer(IDYES);
  Drag(view, {150, 150}, {100, 160});
  EXPECT_EQ(messages_.Texts().back(), "0 - 203");
  EXPECT_FALSE(view.m_nViewFlags & VIEW_FRAGMENT_PLOT);
  const std::set<int> valid = StoredValid("Tumour02.CFN");
  EXPECT_GT(valid.size(), 10u);
  for (const int s : valid) EXPECT_LE(LengthOf(s), 203) << s;
  for (const int s : misfits) EXPECT_EQ(valid.count(s), 0u) << s;
  EXPECT_TRUE(view.m_bDataShown);
}

TEST_F(ViewFragmentTest, TheRangeDialogRefusesAnEmptyRangeAndKeepsExactlyItsSnps) {
  CQOVAView& view = ShowCopy("Tumour01", ".CFS");
  const std::set<int> before = StoredValid("Tumour01.CFS");
  std::set<int> planted;
  for (int s = First(6); s < First(6) + 40; ++s) {
    SetLength(s, 100 + s % 2);
    if (before.count(s) != 0) planted.insert(s);
  }
  // Refused, and kept open: lower equal to upper, lower above upper.
  for (const auto& range : {std::pair{"100", "100"}, std::pair{"500", "400"}}) {
    const char* lower = range.first;
    const char* upper = range.second;
    std::string text;
    bool open = false;
    Headless().OnDialog(res::kFragmentLengthDialog, [&](DialogDriver& d) {
      d.Type(res::kFragmentLower, lower).Type(res::kFragmentUpper, upper).Ok();
      open = d.IsOpen();
      d.Cancel();
    });
    Choose(res::kCmdFragmentLengthRange);
    EXPECT_TRUE(open) << lower << " " << upper;
  }
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>(2, "upper limit must be greater than lower limit"));
  EXPECT_EQ(StoredValid("Tumour01.CFS"), before);

  SetRange([](DialogDriver& d) { d.Type(res::kFragmentLower, "100").Type(res::kFragmentUpper, "101"); });
  EXPECT_EQ(StoredValid("Tumour01.CFS"), planted);
  EXPECT_EQ(messages_.Texts().size(), 2u);

  // Anything goes with every SNP, which the edits then do not take.
  bool editable = true;
  SetRange([&](DialogDriver& d) {
    d.Type(res::kFragmentLower, "500").Type(res::kFragmentUpper, "400").Click(res::kFragmentIncludeAll);
    editable = d.IsEnabled(res::kFragmentLower) || d.IsEnabled(res::kFragmentUpper);
  });
  EXPECT_FALSE(editable);
  EXPECT_EQ(StoredValid("Tumour01.CFS"), before);
  EXPECT_TRUE(view.m_bDataShown);
}

TEST_F(ViewFragmentTest, ARangeWithoutAUsableSnpIsRefusedBeforeAnyAnalysis) {
  ShowCopy("Tumour01", ".CFS");
  const std::string stored = Bytes(root_ + "Results/Tumour01.CFS");
  // The family's fragments are 200 bases long and more.
  SetRange([](DialogDriver& d) { d.Type(res::kFragmentLower, "10").Type(res::kFragmentUpper, "20"); });
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"No usable SNP has a fragment length in the range 10 - 20"});
  EXPECT_EQ(Bytes(root_ + "Results/Tumour01.CFS"), stored);
}

}  // namespace
}  // namespace qova::test
