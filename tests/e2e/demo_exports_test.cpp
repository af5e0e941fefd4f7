// The copy-number change export of Display Samples on the demo's results:
// the self result of the paired tumour and the non-self result of the other
// list every planted gain or loss where it was planted, and nothing long
// where nothing was.
#include <algorithm>
#include <sstream>

#include "core/GlobalData.h"
#include "document/ApplicationData.h"
#include "document/display/SelectResult.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Headless.h"
#include "resources/DisplaySamplesDialog.h"
#include "resources/ExportDialogs.h"
#include "tests/support/TempHome.h"
#include "tools/demo/Demo.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;

// Planted events at least this long must be listed, and nothing this long
// may be listed away from them.
constexpr std::int32_t kLongEvent = 100;

struct Stretch {
  std::string Sample;
  int Copies = 0;
  int Chromosome = 0;
  std::int32_t First = 0, Last = 0;
};

std::vector<Stretch> ReadStretches(const std::string& text) {
  std::vector<Stretch> stretches;
  std::vector<std::string> lines = platform::SplitLines(text);
  EXPECT_FALSE(lines.empty());
  for (std::size_t n = 1; n < lines.size(); ++n) {
    std::istringstream cells(lines[n]);
    Stretch s;
    std::int32_t startPos = 0, endPos = 0;
    cells >> s.Sample >> s.Copies >> s.Chromosome >> s.First >> startPos >> s.Last >> endPos;
    EXPECT_TRUE(cells && startPos <= endPos) << lines[n];
    stretches.push_back(s);
  }
  return stretches;
}

std::int32_t Overlap(const Stretch& s, const samplegen::PlantedSegment& p) {
  if (s.Chromosome != p.Chromosome) return 0;
  return std::max(0, std::min(s.Last, p.LastSnp) - std::max(s.First, p.FirstSnp) + 1);
}

class DemoExportTest : public TempHomeTest {};

TEST_F(DemoExportTest, CopyNumberChangesOfBothTumoursCoverWhatWasPlanted) {
  demo::DemoOptions options;
  options.Folder = Path("demo/");
  options.ArrayType = "Mapping10K_Xba131";
  std::ostringstream log;
  const demo::DemoOutcome outcome = demo::RunDemo(options, log);
  ASSERT_EQ(outcome.Samples.size(), 2u) << log.str();

  platform::ScopedRecordingSink messages;
  CGlobalData global;
  ASSERT_TRUE(global.Load());
  const qova::document::ScopedApplicationData application(global);
  platform::ui::Headless().Reset();
  const std::string output = Path("demo/Output/changes.txt");
  platform::ui::Headless().OnFileDialog([output](platform::ui::FileDialogRequest& r) {
    r.chosen = {output};
    return true;
  });
  platform::ui::Headless().OnDialog(res::kCNChangeDialog, [](DialogDriver& d) { d.Ok(); });
  platform::ui::Headless().OnDialog(res::kOutputDataDialog, [](DialogDriver& d) { d.Click(res::kOutputCopyNumberButton); });

  for (const demo::SampleOutcome& sample : outcome.Samples) {
    SCOPED_TRACE(sample.Sample);
    const bool self = sample.ResultFile.ends_with(".CFS");
    platform::ui::Headless().OnDialog(res::kDisplaySamplesDialog, [&](DialogDriver& d) {
      d.SetCheck(res::display::kUseTestOrRef, false).Click(self ? res::display::kSelfAnalysis : res::display::kNonSelfAnalysis);
      const std::vector<std::string> listed = d.Items(res::display::kSampleList);
      const auto at = std::find(listed.begin(), listed.end(), sample.Sample);
      ASSERT_NE(at, listed.end());
      d.ToggleItemCheck(res::display::kSampleList, static_cast<int>(at - listed.begin()));
      d.Click(res::display::kOutputData);
      d.Cancel();
    });
    CSelectResult dialog;
    dialog.m_strResultFolder = global.ProgramSetting->DefaultAnalysisResultFolder;
    static_cast<void>(dialog.DoModal());
    std::string text;
    ASSERT_TRUE(platform::ReadWholeFile(output, text));
    const std::vector<Stretch> stretches = ReadStretches(text);

    int longEvents = 0;
    for (const demo::PlantedOutcome& planted : sample.Planted) {
      const samplegen::PlantedSegment& p = planted.Planted;
      const std::int32_t length = p.LastSnp - p.FirstSnp + 1;
      if (p.TotalCopies() == 2 || length < kLongEvent) continue;
      ++longEvents;
      std::int32_t covered = 0;
      for (const Stretch& s : stretches) {
        if (s.Copies == p.TotalCopies()) covered = std::max(covered, Overlap(s, p));
      }
      EXPECT_GE(covered, length * 8 / 10) << "chromosome " << p.Chromosome << ", SNPs " << p.FirstSnp << ".."
                                          << p.LastSnp;
    }
    EXPECT_GT(longEvents, 0);
    for (const Stretch& s : stretches) {
      EXPECT_EQ(s.Sample, sample.Sample);
      const bool planted = std::any_of(sample.Planted.begin(), sample.Planted.end(),
                                       [&](const demo::PlantedOutcome& p) { return Overlap(s, p.Planted) > 0; });
      if (!planted) {
        EXPECT_LE(s.Last - s.First + 1, kLongEvent) << "state " << s.Copies << " on chromosome " << s.Chromosome
                                                    << ", SNPs " << s.First << ".." << s.Last;
      }
    }
  }
  EXPECT_EQ(messages.Texts(), std::vector<std::string>{});
}

}  // namespace
}  // namespace qova::test
