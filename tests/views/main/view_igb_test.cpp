// Data > Output IGB Files on the small family's results, chosen from the menu
// with the options dialog scripted as a user fills it: the score-graph lines
// each file holds (checked against the result's own arrays), the scales, the
// skipping of excluded SNPs, scores that are not numbers, and the folder that
// does not exist.
#include <gmock/gmock.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <functional>

#include "core/AnalyzedData.h"
#include "core/BasicData.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/Headless.h"
#include "platform/ui/UserInput.h"
#include "resources/CommandIds.h"
#include "resources/OutputDialogs.h"
#include "tests/views/ViewToolTestSupport.h"
#include "tools/samplegen/SampleGen.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using platform::ui::Headless;

class ViewIgbTest : public ViewToolTest {
 protected:
  ViewIgbTest() {
    doc_->OutputFolder = Path("out/");
    std::filesystem::create_directories(Path("out"));
  }

  // Opens `name` from the demo's results in a framed view, then chooses the
  // command with the dialog answered by `fill` (OK after it).
  CQOVAView& Show(const char* name, const char* extension) {
    Open(name, extension);
    return FramedView();
  }
  void Choose(const std::function<void(DialogDriver&)>& fill) {
    Headless().OnDialog(res::kOutputIgbFilesDialog, [fill](DialogDriver& d) {
      fill(d);
      if (d.IsOpen()) d.Ok();
    });
    ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdOutputIgbFiles));
  }
  [[nodiscard]] std::string Written(const std::string& name) const {
    std::string text;
    return platform::ReadWholeFile(Path("out/" + name), text) ? text : std::string("<missing>");
  }
  // The lines of chromosome c in `text`.
  static int LinesOf(const std::string& text, int c) {
    const std::string sequence = (c == 23 ? std::string("chrX") : "chr" + std::to_string(c)) + "\t";
    int n = 0;
    for (const std::string& line : platform::SplitLines(text)) n += line.rfind(sequence, 0) == 0 ? 1 : 0;
    return n;
  }
  // The line the copy-number file takes for slot s, worked out from the result.
  [[nodiscard]] std::string CopyNumberLine(int c, int s, bool log2) const {
    const float v = doc_->AnalyzedData.LogRatio[std::size_t(s)];
    return platform::Format("%s\t%d\t%f", c == 23 ? "chrX" : ("chr" + std::to_string(c)).c_str(), PositionOfSlot(s),
                            log2 ? double(v) : double(std::pow(2.0f, v)));
  }
};

TEST_F(ViewIgbTest, ANonSelfResultGivesThreeFilesChromosomeByChromosome) {
  CQOVAView& view = Show("Tumour02", ".CFN");
  bool lohChecked = false, lohEnabled = false, linear = false, lohLog2 = false;
  std::string names[3];
  Choose([&](DialogDriver& d) {
    lohChecked = d.IsChecked(res::kIgbLohCheck);
    lohEnabled = d.IsEnabled(res::kIgbLohCheck);
    linear = d.IsChecked(res::kIgbCopyNumberLinear);
    lohLog2 = d.IsChecked(res::kIgbLohLog2);
    names[0] = d.Text(res::kIgbCopyNumberFile);
    names[1] = d.Text(res::kIgbLohFile);
    names[2] = d.Text(res::kIgbHmmFile);
  });
  EXPECT_TRUE(lohChecked && lohEnabled && linear && lohLog2);
  EXPECT_EQ(names[0], "Tumour02.sgr");
  EXPECT_EQ(names[1], "Tumour02LOH.sgr");
  EXPECT_EQ(names[2], "Tumour02HMM.sgr");
  const std::string copyNumber = Written("Tumour02.sgr"), loh = Written("Tumour02LOH.sgr"),
                    hmm = Written("Tumour02HMM.sgr");
  EXPECT_THAT(messages_.Texts(), testing::IsEmpty());
  const std::vector<std::string> lines = platform::SplitLines(copyNumber);
  ASSERT_EQ(lines.size(), std::size_t(End(23) - First(1)));
  EXPECT_EQ(lines.front(), CopyNumberLine(1, First(1), false));
  EXPECT_EQ(lines[std::size_t(First(8) + 17 - First(1))], CopyNumberLine(8, First(8) + 17, false));
  EXPECT_EQ(lines.back(), CopyNumberLine(23, End(23) - 1, false));
  const float likelihood = doc_->AnalyzedData.LohLikelihood[std::size_t(First(1))];
  EXPECT_EQ(platform::SplitLines(loh).front(),
            platform::Format("chr1\t%d\t%f", PositionOfSlot(First(1)), double(likelihood)));
  EXPECT_EQ(platform::SplitLines(hmm).front(),
            platform::Format("chr1\t%d\t%d", PositionOfSlot(First(1)), view.m_pCopyNumberState[std::size_t(First(1))]));
  for (int c = 1; c <= 23; ++c) {
    EXPECT_EQ(LinesOf(copyNumber, c), End(c) - First(c)) << c;
    EXPECT_EQ(LinesOf(loh, c), End(c) - First(c)) << c;
    EXPECT_EQ(LinesOf(hmm, c), c == 23 ? 0 : End(c) - First(c)) << c;
  }
  for (const std::string* text : {&copyNumber, &loh, &hmm}) EXPECT_EQ(text->find('\r'), std::string::npos);
  // Every line holds its own slot's likelihood and state.
  const std::vector<std::string> lohLines = platform::SplitLines(loh), hmmLines = platform::SplitLines(hmm);
  ASSERT_EQ(lohLines.size(), lines.size());
  ASSERT_EQ(hmmLines.size(), std::size_t(End(22) - First(1)));
  for (int c = 1; c <= 23; ++c) {
    const std::string sequence = c == 23 ? "chrX" : "chr" + std::to_string(c);
    for (int s = First(c); s < End(c); ++s) {
      const std::size_t k = std::size_t(s - First(1));
      EXPECT_EQ(lohLines[k], platform::Format("%s\t%d\t%f", sequence.c_str(), PositionOfSlot(s),
                                              double(doc_->AnalyzedData.LohLikelihood[std::size_t(s)])));
      if (c == 23) continue;
      EXPECT_EQ(hmmLines[k], platform::Format("%s\t%d\t%d", sequence.c_str(), PositionOfSlot(s),
                                              view.m_pCopyNumberState[std::size_t(s)]));
    }
  }
}

TEST_F(ViewIgbTest, ALogRatioOfZeroIsOneInLinearAndZeroInLog2) {
  Show("Tumour02", ".CFN");
  doc_->AnalyzedData.LogRatio[std::size_t(First(1))] = 0.0f;
  for (const auto& [choice, score] : {std::pair{res::kIgbCopyNumberLinear, "1.000000"}, std::pair{res::kIgbCopyNumberLog2, "0.000000"}}) {
    const auto radio = choice;  // lambdas capture variables, not bindings
    Choose([radio](DialogDriver& d) { d.Click(radio); });
    EXPECT_EQ(platform::SplitLines(Written("Tumour02.sgr")).front(),
              platform::Format("chr1\t%d\t%s", PositionOfSlot(First(1)), score));
  }
}

TEST_F(ViewIgbTest, SkippingExcludedSnpsLeavesOutExactlyTheInvalidSlots) {
  CQOVAView& view = Show("Tumour02", ".CFN");
  for (int s : {First(2), First(2) + 5, First(23) + 1}) view.m_pValidFlag[std::size_t(s)] = 0;
  int invalid = 0;
  for (int s = First(1); s < End(23); ++s) invalid += view.m_pValidFlag[std::size_t(s)] == 0 ? 1 : 0;
  // Off: every slot is written, the excluded ones too.
  Choose([](DialogDriver&) {});
  EXPECT_EQ(platform::SplitLines(Written("Tumour02.sgr")).size(), std::size_t(End(23) - First(1)));
  Choose([](DialogDriver& d) { d.SetCheck(res::kIgbSkipExcluded, true); });
  const std::vector<std::string> lines = platform::SplitLines(Written("Tumour02.sgr"));
  ASSERT_EQ(lines.size(), std::size_t(End(23) - First(1) - invalid));
  EXPECT_EQ(lines[std::size_t(First(2) - First(1))], CopyNumberLine(2, First(2) + 1, false));
  int hmmValid = 0;
  for (int s = First(1); s < End(22); ++s) hmmValid += view.m_pValidFlag[std::size_t(s)] != 0 ? 1 : 0;
  EXPECT_EQ(platform::SplitLines(Written("Tumour02HMM.sgr")).size(), std::size_t(hmmValid));
}

TEST_F(ViewIgbTest, ASelfResultWritesNoLohFileAndItsBoxIsOffAndDisabled) {
  Show("Tumour01", ".CFS");
  bool lohChecked = true, lohEnabled = true, lohNameEnabled = true;
  Choose([&](DialogDriver& d) {
    lohChecked = d.IsChecked(res::kIgbLohCheck);
    lohEnabled = d.IsEnabled(res::kIgbLohCheck);
    lohNameEnabled = d.IsEnabled(res::kIgbLohFile);
  });
  EXPECT_FALSE(lohChecked || lohEnabled || lohNameEnabled);
  EXPECT_FALSE(platform::FileExists(Path("out/Tumour01LOH.sgr")));
  EXPECT_EQ(LinesOf(Written("Tumour01.sgr"), 23), End(23) - First(23));
  EXPECT_EQ(LinesOf(Written("Tumour01HMM.sgr"), 1), End(1) - First(1));
}

TEST_F(ViewIgbTest, UncheckedBoxesDisableTheirRowsAndCancelWritesNothing) {
  Show("Tumour02", ".CFN");
  std::vector<bool> enabled;
  Headless().OnDialog(res::kOutputIgbFilesDialog, [&](DialogDriver& d) {
    d.Click(res::kIgbCopyNumberCheck).Click(res::kIgbHmmCheck);
    for (unsigned id : {res::kIgbCopyNumberFile, res::kIgbCopyNumberLinear, res::kIgbCopyNumberLog2, res::kIgbHmmFile,
                        res::kIgbLohFile, res::kIgbLohLog2})
      enabled.push_back(d.IsEnabled(id));
    d.Click(res::kIgbHmmCheck);
    enabled.push_back(d.IsEnabled(res::kIgbHmmFile));
    d.Cancel();
  });
  ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdOutputIgbFiles));
  EXPECT_EQ(enabled, (std::vector<bool>{false, false, false, false, true, true, true}));
  EXPECT_FALSE(platform::FileExists(Path("out/Tumour02.sgr")));
  EXPECT_FALSE(platform::FileExists(Path("out/Tumour02HMM.sgr")));
}

TEST_F(ViewIgbTest, LinearLohAboveTheFloatRangeIsLeftOutAndCounted) {
  Show("Tumour02", ".CFN");
  for (int s : {First(3), First(3) + 1, First(23)}) doc_->AnalyzedData.LohLikelihood[std::size_t(s)] = 200.0f;
  doc_->AnalyzedData.LogRatio[std::size_t(First(4))] = NAN;
  Choose([](DialogDriver& d) { d.Click(res::kIgbLohLinear); });
  const std::string loh = Written("Tumour02LOH.sgr"), copyNumber = Written("Tumour02.sgr");
  EXPECT_EQ(loh.find("inf"), std::string::npos);
  EXPECT_EQ(copyNumber.find("nan"), std::string::npos);
  EXPECT_EQ(LinesOf(loh, 3), End(3) - First(3) - 2);
  EXPECT_EQ(LinesOf(copyNumber, 4), End(4) - First(4) - 1);
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_THAT(messages_.Texts()[0], testing::HasSubstr("Tumour02LOH.sgr: 3 lines"));
  EXPECT_THAT(messages_.Texts()[0], testing::HasSubstr("Tumour02.sgr: 1 lines"));
}

// A file that cannot be written is named as it is on disk, with why: the
// first folder missing on its way, or the system's words.
TEST_F(ViewIgbTest, AFileThatCannotBeWrittenIsNamedWithWhyAndNothingIsWritten) {
  const struct {
    const char* output;  // the output folder
    const char* typed;   // the copy-number file's name; LOH and HMM unchecked
    std::string told;
  } cases[] = {
      {"missing/", "Tumour02.sgr",
       "The IGB file " + Path("missing/Tumour02.sgr") + " cannot be written: the folder " + Path("missing/") +
           " does not exist"},
      {"out/", "sub/../Tumour02.sgr",
       "The IGB file " + Path("out/sub/../Tumour02.sgr") + " cannot be written: the folder " + Path("out/sub/") +
           " does not exist"},
      {"out/", "Taken.sgr",
       "The IGB file " + Path("out/taken.sgr") + " cannot be written: Access to " + Path("out/taken.sgr") +
           " was denied."},
  };
  Show("Tumour02", ".CFN");
  ASSERT_TRUE(platform::CreateFolders(Path("out/taken.sgr/")));
  for (const auto& c : cases) {
    SCOPED_TRACE(c.typed);
    doc_->OutputFolder = Path(c.output);
    messages_.Clear();
    Choose([&c](DialogDriver& d) {
      d.Type(res::kIgbCopyNumberFile, c.typed).Click(res::kIgbLohCheck).Click(res::kIgbHmmCheck);
    });
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>{c.told});
  }
  EXPECT_FALSE(std::filesystem::exists(Path("missing")));
  EXPECT_EQ(platform::FindFiles(Path("out"), "*"), std::vector<std::string>{});
}

// OK refuses a checked kind without a file name and two checked kinds given
// one name, naming the fields: the dialog stays open on the edit to mend and
// nothing is written. Unchecked kinds' names do not count.
TEST_F(ViewIgbTest, ACheckedKindNeedsAFileNameOfItsOwn) {
  struct Case {
    std::function<void(DialogDriver&)> fill;
    const char* message;  // nullptr: written
    unsigned focus;
    std::vector<std::string> listed;  // the output folder afterwards
  };
  const std::vector<std::string> untouched{"Tumour02.sgr"};
  const Case cases[] = {
      {[](DialogDriver& d) { d.Type(res::kIgbLohFile, "Tumour02.sgr"); },
       "\"Copy number\" and \"LOH\" name one file, Tumour02.sgr. Please give each a file name of its own.",
       res::kIgbLohFile, untouched},
      {[](DialogDriver& d) { d.Type(res::kIgbCopyNumberFile, ""); }, "Please enter a file name for \"Copy number\".",
       res::kIgbCopyNumberFile, untouched},
      {[](DialogDriver& d) { d.Type(res::kIgbHmmFile, "").Type(res::kIgbLohFile, "Tumour02HMM.sgr"); },
       "Please enter a file name for \"HMM\".", res::kIgbHmmFile, untouched},
      {[](DialogDriver& d) { d.Type(res::kIgbCopyNumberFile, "Tumour02LOH.sgr").Click(res::kIgbCopyNumberCheck); },
       nullptr, 0, {"Tumour02.sgr", "Tumour02HMM.sgr", "Tumour02LOH.sgr"}},
      {[](DialogDriver& d) { d.Type(res::kIgbHmmFile, "").Click(res::kIgbHmmCheck).Click(res::kIgbCopyNumberCheck); },
       nullptr, 0, {"Tumour02.sgr", "Tumour02LOH.sgr"}},
  };
  Show("Tumour02", ".CFN");
  const std::string earlier = "an earlier file\n";
  for (const Case& c : cases) {
    SCOPED_TRACE(c.message ? c.message : "written");
    std::filesystem::remove_all(Path("out"));
    std::filesystem::create_directories(Path("out"));
    ASSERT_TRUE(platform::WriteWholeFile(Path("out/Tumour02.sgr"), earlier));
    messages_.Clear();
    bool open = false;
    unsigned focus = 0;
    Headless().OnDialog(res::kOutputIgbFilesDialog, [&](DialogDriver& d) {
      c.fill(d);
      d.Ok();
      open = d.IsOpen();
      focus = open ? d.Focus() : 0;
      if (open) d.Cancel();
    });
    ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdOutputIgbFiles));
    EXPECT_EQ(open, c.message != nullptr);
    EXPECT_EQ(focus, c.focus);
    EXPECT_EQ(messages_.Texts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    EXPECT_EQ(platform::FindFiles(Path("out"), "*"), c.listed);
    // Copy number is written only where it is checked, and never here.
    EXPECT_EQ(Written("Tumour02.sgr"), earlier);
  }
}

// Names spelt apart that lead to one file in the output folder are refused
// as one name twice, before anything is written, the message naming the
// fields and the file; a name that only shares a prefix with another (or a
// folder that does) is a file of its own, and both are written.
TEST_F(ViewIgbTest, TwoSpellingsOfOneFileAreRefusedAndTwoFilesAreWritten) {
  struct Case {
    const char* spelling;
    unsigned edit;             // of the name typed; copy number keeps "Tumour02.sgr"
    const char* fields;        // the two fields the refusal names; nullptr: written
    const char* file;          // the file named, within the output folder
    const char* written;       // where the typed kind's scores land when written
  };
  const Case cases[] = {
      {"./Tumour02.sgr", res::kIgbLohFile, "\"Copy number\" and \"LOH\"", "Tumour02.sgr", nullptr},
      {"sub/../Tumour02.sgr", res::kIgbLohFile, "\"Copy number\" and \"LOH\"", "Tumour02.sgr", nullptr},
      {"../out/Tumour02.sgr", res::kIgbHmmFile, "\"Copy number\" and \"HMM\"", "Tumour02.sgr", nullptr},
      {"tumour02.SGR", res::kIgbLohFile, "\"Copy number\" and \"LOH\"", "Tumour02.sgr", nullptr},
      {"sub\\..\\Tumour02.sgr", res::kIgbHmmFile, "\"Copy number\" and \"HMM\"", "Tumour02.sgr", nullptr},
      {"..\\OUT\\.\\TUMOUR02.sgr", res::kIgbLohFile, "\"Copy number\" and \"LOH\"", "Tumour02.sgr", nullptr},
      // Neither file there yet: the second would find the first ignoring case.
      {"./TUMOUR02LOH.SGR", res::kIgbHmmFile, "\"LOH\" and \"HMM\"", "Tumour02LOH.sgr", nullptr},
      {"Tumour02.sgr.sgr", res::kIgbLohFile, nullptr, nullptr, "out/Tumour02.sgr.sgr"},
      {"Tumour02", res::kIgbLohFile, nullptr, nullptr, "out/Tumour02"},
      {"../out2/Tumour02.sgr", res::kIgbLohFile, nullptr, nullptr, "out2/Tumour02.sgr"},
  };
  Show("Tumour02", ".CFN");
  const std::string earlier = "an earlier file\n";
  const std::string lohLine = platform::Format("chr1\t%d\t%f", PositionOfSlot(First(1)),
                                               double(doc_->AnalyzedData.LohLikelihood[std::size_t(First(1))]));
  for (const Case& c : cases) {
    SCOPED_TRACE(c.spelling);
    for (const char* folder : {"out", "out2"}) std::filesystem::remove_all(Path(folder));
    for (const char* folder : {"out/sub", "out2"}) std::filesystem::create_directories(Path(folder));
    ASSERT_TRUE(platform::WriteWholeFile(Path("out/Tumour02.sgr"), earlier));
    messages_.Clear();
    unsigned focus = 0;
    Headless().OnDialog(res::kOutputIgbFilesDialog, [&](DialogDriver& d) {
      d.Type(c.edit, c.spelling);
      d.Ok();
      focus = d.IsOpen() ? d.Focus() : 0;
      if (d.IsOpen()) d.Cancel();
    });
    ASSERT_TRUE(platform::ui::input::ChooseCommand(Frame(), res::kCmdOutputIgbFiles));
    const std::vector<std::string> out = platform::FindFiles(Path("out"), "*"), out2 = platform::FindFiles(Path("out2"), "*");
    if (c.fields) {
      const std::string file = std::filesystem::canonical(Path("out")).string() + "/" + c.file;
      EXPECT_EQ(messages_.Texts(), std::vector<std::string>{std::string(c.fields) + " name one file, " + file +
                                                            ". Please give each a file name of its own."});
      EXPECT_EQ(focus, c.edit);
      EXPECT_EQ(out, std::vector<std::string>{"Tumour02.sgr"});
      EXPECT_TRUE(out2.empty());
      EXPECT_TRUE(Written("Tumour02.sgr") == earlier) << "the earlier file is replaced";
      continue;
    }
    EXPECT_THAT(messages_.Texts(), testing::IsEmpty());
    EXPECT_EQ(focus, 0u);
    std::vector<std::string> expected{"Tumour02.sgr", "Tumour02HMM.sgr"};
    if (platform::FolderOf(c.written) == "out/") expected.push_back(platform::FileNameOf(c.written));
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(out, expected);
    EXPECT_EQ(out2, platform::FolderOf(c.written) == "out2/" ? std::vector<std::string>{"Tumour02.sgr"}
                                                               : std::vector<std::string>{});
    std::string loh;
    ASSERT_TRUE(platform::ReadWholeFile(Path(c.written), loh));
    EXPECT_EQ(platform::SplitLines(loh).front(), lohLine);
    EXPECT_EQ(platform::SplitLines(Written("Tumour02.sgr")).front(), CopyNumberLine(1, First(1), false));
  }
}

TEST_F(ViewIgbTest, ACombinedResultTakesItsPositionsThroughTheSortMap) {
  constexpr const char* kCombined = "Mapping50K_Hind+Xba";
  const CBasicData& table = LoadFamily(2);
  samplegen::SampleGenerator generator(kCombined, table, 5);
  samplegen::SampleSpec spec;
  spec.Name = "Combined01";
  spec.IsTest = true;
  CAnalyzedData result(generator.Make(spec), AnalysisKind::NonSelf);
  // A score of its own for every slot, so that a line shows which slot it is.
  for (std::size_t i = 0; i < result.LogRatio.size(); ++i) result.LogRatio[i] = float(i) / 65536.0f;
  result.StoreFile(Path("Combined01.CFN"));
  doc_->AnalyzedData.LoadFileAllocating(Path("Combined01.CFN"));
  doc_->Status = kStatusSingle;
  CQOVAView& view = FramedView();
  ASSERT_TRUE(view.m_bDataShown && (view.m_nViewFlags & VIEW_COMBINED_ARRAY));
  Choose([](DialogDriver& d) { d.Click(res::kIgbCopyNumberLog2).Click(res::kIgbHmmCheck); });
  const std::vector<std::string> lines = platform::SplitLines(Written("Combined01.sgr"));
  const std::int32_t* starts = qova::core::kArrayChromosomeStarts[4];
  ASSERT_EQ(lines.size(), std::size_t(starts[24] - starts[1]));
  int elsewhere = 0;  // slots whose own row lies at another position
  for (int c = 1; c <= 23; ++c) {
    for (int s = starts[c]; s < starts[c + 1]; ++s) {
      const std::int32_t row = table.IndexMap[std::size_t(table.SortMap[std::size_t(s)])];
      const std::string expected = platform::Format("%s\t%d\t%f", c == 23 ? "chrX" : ("chr" + std::to_string(c)).c_str(),
                                                    table.Position[std::size_t(row)], double(float(s) / 65536.0f));
      ASSERT_EQ(lines[std::size_t(s - starts[1])], expected) << s;
      elsewhere += table.Position[std::size_t(table.IndexMap[std::size_t(s)])] != table.Position[std::size_t(row)];
    }
  }
  EXPECT_GT(elsewhere, 1000);
}

TEST_F(ViewIgbTest, TheCommandIsOfferedForOneShownSampleOnly) {
  CQOVAView& view = Show("Tumour02", ".CFN");
  EXPECT_TRUE(Frame().IsCommandEnabled(res::kCmdOutputIgbFiles));
  view.m_nViewFlags |= VIEW_INTEGRATE;
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdOutputIgbFiles));
  view.m_nViewFlags &= ~VIEW_INTEGRATE;
  view.m_bDataShown = FALSE;
  EXPECT_FALSE(Frame().IsCommandEnabled(res::kCmdOutputIgbFiles));
}

}  // namespace
}  // namespace qova::test
