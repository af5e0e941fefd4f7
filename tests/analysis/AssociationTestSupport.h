#pragma once
// What the association tests share: a drive root with a generated data folder
// for the 10K Xba142 family, library and CHP folders in the settings, a
// headless user interface whose application records the progress dialog's
// status line at every pump, and the straightforward evaluation of the
// permutation test that the fast one must equal.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "analysis/AssociationData.h"
#include "analysis/SfmtRandom.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Headless.h"
#include "resources/ProgressDialog.h"
#include "tests/support/TempHome.h"
#include "tools/arraygen/CaseControlStudy.h"
#include "tools/datagen/DataGen.h"

namespace qova::test {

inline constexpr const char* kAssociationType = "Mapping10K_Xba142";
inline constexpr int kAssociationFamily = 1;

// An application whose idle work notes the progress dialog's status line, so
// a test sees what the dialog showed between items.
class StatusRecordingApp : public CWinApp {
 public:
  BOOL OnIdle(LONG count) override {
    if (count == 0 && dialog != nullptr && dialog->GetSafeHwnd() != nullptr) {
      const std::string text = platform::ui::DialogDriver(*dialog).Text(qova::resources::kProgressStatus);
      if (statusTexts.empty() || statusTexts.back() != text) statusTexts.push_back(text);
      platform::ui::DialogDriver driver(*dialog);
      if (++pumps == cancelAtPump || (cancelAtPosition > 0 && driver.Position(qova::resources::kProgressBar) >= cancelAtPosition)) {
        driver.Click(IDCANCEL);
      }
    }
    return FALSE;
  }
  CWnd* dialog = nullptr;
  int pumps = 0;
  int cancelAtPump = 0;      // presses Cancel after that many pumps (0: never)
  int cancelAtPosition = 0;  // or once the bar has come that far
  std::vector<std::string> statusTexts;
};

class AssociationDataTest : public TempHomeTest {
 protected:
  AssociationDataTest() {
    datagen::WriteDataFolder(Root() + "data/", {kAssociationFamily});
    CProgramSetting& setting = *global_.ProgramSetting;
    setting.DefaultLibraryFolder = LibraryFolder();
    setting.DefaultDataFolder = DataFolder();
    const std::int32_t rows = qova::core::kArrayFamilies[kAssociationFamily].snpCount;
    global_.BasicData[kAssociationFamily].Allocate(rows, 0);
    global_.BasicData[kAssociationFamily].LoadFile(
        Root() + "data/" + datagen::AnnotationFileName(kAssociationFamily), rows);
    platform::ui::SetBackend(nullptr);
    Ui().Reset();
    platform::ui::ClearMessageQueue();
    Ui().OnModeless(qova::resources::kProgressDialog, [this](platform::ui::DialogDriver& d) {
      ++progressDialogs_;
      app_.dialog = &d.Window();
    });
  }
  ~AssociationDataTest() override {
    Ui().Reset();
    platform::ui::ClearMessageQueue();
  }

  static platform::ui::HeadlessUi& Ui() { return platform::ui::Headless(); }
  [[nodiscard]] std::string LibraryFolder() const { return Root() + "Library/"; }
  [[nodiscard]] std::string DataFolder() const { return Root() + "Chp/"; }
  [[nodiscard]] const CBasicData& Annotation() const { return global_.BasicData[kAssociationFamily]; }

  // Writes a study's files and lists its samples in `data`, as a new
  // association document does.
  arraygen::CaseControlStudy WriteStudy(const arraygen::CaseControlSpec& spec, AssociationData& data) {
    arraygen::CaseControlStudy study = arraygen::WriteCaseControlStudy(DataFolder(), LibraryFolder(), Annotation(), spec);
    data.FreeArrays();
    data.arrayType = spec.ArrayType;
    data.caseNames = study.CaseFiles;
    data.controlNames = study.ControlFiles;
    return study;
  }

  // Arrays for the calls of `samples` (cases first) as a read leaves them.
  static void SetCalls(AssociationData& data, std::size_t cases, const std::vector<std::vector<std::uint8_t>>& samples) {
    data.FreeArrays();
    data.arrayType = kAssociationType;
    for (std::size_t s = 0; s < samples.size(); ++s) {
      (s < cases ? data.caseNames : data.controlNames).push_back("S" + std::to_string(s) + ".CHP");
    }
    const std::size_t n = samples.empty() ? 0 : samples[0].size();
    data.calls = samples;
    data.nullHistogram.assign(10001, 0);
    for (auto* v : {&data.chiSquare, &data.pValue, &data.reserved1, &data.reserved2}) v->assign(n, 0.0f);
    data.valid.assign(n, 0);
  }

  CGlobalData global_;
  StatusRecordingApp app_;
  platform::ScopedRecordingSink messages_;
  int progressDialogs_ = 0;
};

// Everything a store and a load carry over (the histogram is not stored).
inline void ExpectSameAssociationData(const AssociationData& a, const AssociationData& b) {
  EXPECT_EQ(a.caseNames, b.caseNames);
  EXPECT_EQ(a.controlNames, b.controlNames);
  EXPECT_EQ(a.arrayType, b.arrayType);
  EXPECT_EQ(a.calls, b.calls);
  EXPECT_EQ(a.valid, b.valid);
  EXPECT_EQ(a.chiSquare, b.chiSquare);
  EXPECT_EQ(a.pValue, b.pValue);
  EXPECT_EQ(a.reserved1, b.reserved1);
  EXPECT_EQ(a.reserved2, b.reserved2);
}

// The permutation test as plainly as it can be written: the same draws, then
// a loop over the chosen samples' call bytes for every SNP.
struct PlainEvaluation {
  std::vector<std::int64_t> histogram = std::vector<std::int64_t>(10001, 0);
  std::vector<std::int32_t> valid;
  std::vector<float> chiSquare, pValue;
};

inline float PlainChiSquare(std::int64_t a, std::int64_t b, std::int64_t c, std::int64_t d) {
  const double t = static_cast<double>(a + b + c + d);
  const double diff = static_cast<double>(a * d - b * c);
  double x = t * diff * diff;
  for (std::int64_t margin : {a + b, c + d, a + c, b + d}) x /= static_cast<double>(margin);
  return static_cast<float>(x);
}

inline int PlainBin(float chi) {
  const double x = 100.0 * chi;
  return x >= 10000.0 ? 10000 : static_cast<int>(x);
}

inline PlainEvaluation EvaluatePlainly(const std::vector<std::vector<std::uint8_t>>& calls, std::size_t cases,
                                       std::int32_t first, std::int32_t last, int permutations) {
  PlainEvaluation out;
  const std::size_t n = calls[0].size();
  out.valid.assign(n, 0);
  out.chiSquare.assign(n, 0.0f);
  out.pValue.assign(n, 0.0f);
  auto alleles = [&](std::int32_t i, const std::vector<std::uint8_t>& take, std::int64_t (&count)[4]) {
    for (std::int64_t& c : count) c = 0;
    for (std::size_t s = 0; s < calls.size(); ++s) {
      const std::uint8_t code = calls[s][static_cast<std::size_t>(i)];
      const int row = take[s] != 0 ? 0 : 2;
      if (code == 1) count[row] += 2;
      if (code == 2) ++count[row], ++count[row + 1];
      if (code == 3) count[row + 1] += 2;
    }
  };
  std::vector<std::uint8_t> chosen(calls.size(), 0);
  for (std::size_t s = 0; s < cases; ++s) chosen[s] = 1;
  for (std::int32_t i = first; i <= last; ++i) {
    std::int64_t t[4];
    alleles(i, chosen, t);
    if (t[0] + t[1] == 0 || t[2] + t[3] == 0 || t[0] + t[2] == 0 || t[1] + t[3] == 0) continue;
    out.valid[static_cast<std::size_t>(i)] = 1;
    out.chiSquare[static_cast<std::size_t>(i)] = PlainChiSquare(t[0], t[1], t[2], t[3]);
  }
  SfmtRandom random;
  random.Seed(100);
  for (int p = 0; p < permutations; ++p) {
    std::fill(chosen.begin(), chosen.end(), 0);
    for (std::size_t taken = 0; taken < cases;) {
      const std::uint32_t r = random.Below(static_cast<std::int32_t>(calls.size()));
      if (chosen[r] == 0) chosen[r] = 1, ++taken;
    }
    for (std::int32_t i = first; i <= last; ++i) {
      if (out.valid[static_cast<std::size_t>(i)] == 0) continue;
      std::int64_t t[4];
      alleles(i, chosen, t);
      const bool empty = t[0] + t[1] == 0 || t[2] + t[3] == 0;
      ++out.histogram[empty ? 0 : static_cast<std::size_t>(PlainBin(PlainChiSquare(t[0], t[1], t[2], t[3])))];
    }
  }
  std::int64_t all = 0;
  for (std::int64_t h : out.histogram) all += h;
  for (std::int32_t i = first; i <= last; ++i) {
    if (out.valid[static_cast<std::size_t>(i)] == 0 || all == 0) continue;
    const double x = 100.0 * out.chiSquare[static_cast<std::size_t>(i)];
    const int bin = x >= 10000.0 ? 10000 : static_cast<int>(x);
    std::int64_t above = 0;
    for (int k = bin + 1; k <= 10000; ++k) above += out.histogram[static_cast<std::size_t>(k)];
    const double p = bin == 10000 ? 0.5 * static_cast<double>(out.histogram[10000]) / static_cast<double>(all)
                                  : (static_cast<double>(out.histogram[static_cast<std::size_t>(bin)]) * (1.0 - (x - bin)) +
                                     static_cast<double>(above)) / static_cast<double>(all);
    out.pValue[static_cast<std::size_t>(i)] = static_cast<float>(p);
  }
  return out;
}

}  // namespace qova::test
