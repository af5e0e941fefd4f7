// Data > Extract Data on the main document: the dialog, the run under the
// progress dialog, Cancel, and how failures are told.
#include <gmock/gmock.h>

#include "document/DocumentCommands.h"
#include "document/extraction/SampleExtraction.h"
#include "resources/ExtractDialogs.h"
#include "resources/ProgressDialog.h"
#include "resources/SampleManagerDialog.h"
#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tests/document/DocumentTestSupport.h"
#include "tools/arraygen/ArrayGen.h"

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;
using Items = std::vector<std::string>;

class ExtractCommandTest : public DocumentTest {
 protected:
  ExtractCommandTest() : design_(kSmallType, 3, SmallLayout(-1)) {
    design_.WriteCdf(Doc().LibraryFolder + arraygen::LibraryFileName(kSmallType), arraygen::CdfForm::kXda);
  }

  void WriteArrays(const std::string& name, const arraygen::SampleFileOptions& options = {}) {
    arraygen::WriteSampleFiles(design_, Doc().DataFolder, MakeSample(kSmallType, name), options);
  }

  // The status bar's text after the command, as the user reads it last.
  [[nodiscard]] std::string LastStatus() {
    return Ui().StatusTexts().empty() ? std::string("(nothing)") : Ui().StatusTexts().back();
  }

  // Answers the Extract Data dialog: each list gets the found files at the
  // given indexes, in the order given.
  void ChooseInDialog(std::vector<std::pair<UINT, std::vector<int>>> moves) {
    Ui().OnDialog(kDataExtractDialog, [moves](DialogDriver& d) {
      for (const auto& [addButton, indexes] : moves) d.SelectItems(kExtractFoundFiles, indexes).Click(addButton);
      d.Ok();
    });
  }

  arraygen::ArrayDesign design_;
};

TEST_F(ExtractCommandTest, EveryListedFileIsExtractedWithItsMode) {
  for (const char* name : {"N1", "R1", "S1", "T1"}) WriteArrays(name);
  // Found: N1, R1, S1, T1 (their CHP files).
  ChooseInDialog({{kExtractAddPairedReference, {0}},   // N1
                  {kExtractAddNonPairedReference, {0}},  // R1
                  {kExtractAddNonPairedTest, {0}},       // S1
                  {kExtractAddPairedTest, {0}}});        // T1
  bool progressShown = false;
  Ui().OnModeless(kProgressDialog, [&](DialogDriver&) { progressShown = true; });
  StoreSpy shown("T1", false);
  Run(command::kDataExtract);

  EXPECT_TRUE(progressShown);
  EXPECT_TRUE(Messages().empty()) << Messages().front();
  const CArrayData t1 = LoadSample("T1"), n1 = LoadSample("N1"), r1 = LoadSample("R1"), s1 = LoadSample("S1");
  EXPECT_EQ(t1.Header.IsTest, 1);
  EXPECT_EQ(t1.Header.SelfReference, "N1");
  EXPECT_EQ(n1.Header.IsTest, 0);
  EXPECT_EQ(n1.Header.SelfReference, "T1");
  EXPECT_EQ(n1.Header.IsPaired, 1);
  EXPECT_EQ(r1.Header.IsTest, 0);
  EXPECT_EQ(r1.Header.IsPaired, 0);
  EXPECT_EQ(s1.Header.IsTest, 1);
  EXPECT_EQ(shown.events, Items{"sample T1"}) << "a document showing the sample is refreshed";
  EXPECT_EQ(LastStatus(), "Extracted 4 of 4 samples into " + platform::NativePath(ArrayFolder()));
}

TEST_F(ExtractCommandTest, CancelInTheProgressDialogEndsTheRunAfterTheCurrentFile) {
  for (const char* name : {"A", "B", "C"}) WriteArrays(name);
  ChooseInDialog({{kExtractAddNonPairedTest, {0, 1, 2}}});
  std::string status;
  int position = -1;
  Ui().OnModeless(kProgressDialog, [&](DialogDriver& d) {
    d.Post([&](DialogDriver& p) {
      status = p.Text(kProgressStatus);
      position = p.Position(kProgressBar);
      p.Cancel();
    });
  });
  Run(command::kDataExtract);
  EXPECT_EQ(status, "Extracting non-paired test file A.CHP");
  EXPECT_EQ(position, 0);
  EXPECT_TRUE(Exists(SamplePath("A")));
  EXPECT_FALSE(Exists(SamplePath("B")));
  EXPECT_FALSE(Exists(SamplePath("C")));
  // The run ends with a word in the status bar, not with a box to close.
  EXPECT_EQ(Ui().StatusTexts(),
            Items{"Cancelled after 1 of 3 samples; 1 extracted into " + platform::NativePath(ArrayFolder())});
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ExtractCommandTest, ExtractingAgainKeepsWhatTheUserTypedAndTheStatusBarSaysWhatWasDone) {
  namespace ids = qova::resources::manager;
  arraygen::SampleFileOptions noGender;
  noGender.CalledGender = "";
  WriteArrays("A", noGender);
  WriteArrays("B");  // its CHP file calls the sample female
  const auto extractBoth = [&] {
    ChooseInDialog({{kExtractAddNonPairedTest, {0, 1}}});
    Run(command::kDataExtract);
  };
  extractBoth();
  const std::string folder = platform::NativePath(ArrayFolder());
  EXPECT_EQ(LastStatus(), "Extracted 2 of 2 samples into " + folder);

  // The user types an attribute and the sex of both in the Sample Manager.
  Ui().OnDialog(kSampleManagerDialog, [](DialogDriver& d) {
    d.SetCheck(ids::kUseTestOrRef, false).Click(ids::kNew);
    for (const char* name : {"A", "B"}) {
      d.Select(ids::kSampleList, name).Type(ids::kAttribute[0], std::string("grp") + name);
      d.Type(ids::kAttribute[4], "typed").Click(ids::kMale).Click(ids::kRefresh);
    }
    d.Cancel();
  });
  Run(command::kSampleManager);
  ASSERT_EQ(LoadSample("A").Header.Attribute1, "grpA");
  ASSERT_EQ(LoadSample("B").Header.Sex, "M");

  extractBoth();
  EXPECT_TRUE(Messages().empty()) << Messages().front();
  const CArrayData a = LoadSample("A"), b = LoadSample("B");
  EXPECT_EQ(a.Header.Attribute1, "grpA");
  EXPECT_EQ(a.Header.Attribute5, "typed");
  EXPECT_EQ(a.Header.Sex, "M") << "no called gender: the typed sex stays";
  EXPECT_EQ(b.Header.Attribute1, "grpB");
  EXPECT_EQ(b.Header.Sex, "F") << "the CHP file's called gender wins";
  EXPECT_EQ(LastStatus(), "Extracted 2 of 2 samples into " + folder + ", 2 replaced (attributes kept)");
}

TEST_F(ExtractCommandTest, ACancelledDialogExtractsNothingAndShowsNothing) {
  WriteArrays("A");
  Ui().OnDialog(kDataExtractDialog, [](DialogDriver& d) {
    d.SelectItems(kExtractFoundFiles, {0}).Click(kExtractAddNonPairedTest).Cancel();
  });
  bool progressShown = false;
  Ui().OnModeless(kProgressDialog, [&](DialogDriver&) { progressShown = true; });
  Run(command::kDataExtract);
  EXPECT_FALSE(progressShown);
  EXPECT_FALSE(Exists(SamplePath("A")));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(ExtractCommandTest, TheFailureOfASingleFileIsShownAsItHappens) {
  WriteArrays("A");
  platform::RemoveFile(Doc().DataFolder + "A.CEL");
  ChooseInDialog({{kExtractAddNonPairedTest, {0}}});
  Run(command::kDataExtract);
  EXPECT_EQ(Messages(), Items{"Cel file not found\nCel file name should not be modified"});
}

TEST_F(ExtractCommandTest, FailuresOfALongerRunWaitForOneSummary) {
  for (const char* name : {"A", "B", "C"}) WriteArrays(name);
  platform::RemoveFile(Doc().DataFolder + "A.CEL");
  ASSERT_TRUE(arraywriters::WriteBytes(Doc().DataFolder + "C.CEL", "not a CEL file"));
  ChooseInDialog({{kExtractAddNonPairedTest, {0, 1, 2}}});
  Run(command::kDataExtract);
  EXPECT_EQ(Messages(), Items{"2 of 3 files could not be extracted:\n"
                              "A.CHP: Cel file not found\n    Cel file name should not be modified\n"
                              "C.CHP: The CEL file C.CEL cannot be read: it is in no CEL form this program reads"});
  EXPECT_TRUE(Exists(SamplePath("B")));
  EXPECT_FALSE(Exists(SamplePath("C")));
  EXPECT_EQ(LastStatus(), "Extracted 1 of 3 samples into " + platform::NativePath(ArrayFolder()));
}

// The rest of the line of `text` that follows `start`; empty when no line has it.
std::string LineAfter(const std::string& text, const std::string& start) {
  const std::size_t at = text.find(start);
  if (at == std::string::npos) return {};
  const std::size_t from = at + start.size();
  return text.substr(from, text.find('\n', from) - from);
}

TEST_F(ExtractCommandTest, ACutShortChpFileOfEveryFormIsToldWithWhereItEndsAndNothingIsStored) {
  arraygen::SampleFileOptions older;
  older.Chp = arraygen::ChpForm::kOlder;
  WriteArrays("A", older);
  WriteArrays("E");
  // Each cut file keeps the first part of its bytes: of its records (the
  // first three) or of its header (the last); the reason as a pattern.
  struct Case {
    const char* sample;
    arraygen::ChpForm form;
    double kept;
    std::string reason;
  };
  std::vector<Case> cuts = {
      {"B", arraygen::ChpForm::kXda, 0.6, "the genotyping records at offset N run past the end of the file \\(N records of 21 bytes, N bytes left\\)\\."},
      {"C", arraygen::ChpForm::kOlder, 0.6, "the genotyping record N of N at offset N runs past the end of the file \\(SIZE bytes\\)\\."},
      {"D", arraygen::ChpForm::kGeneric, 0.6, "the header at offset N lies past the end of the file \\(SIZE bytes\\)"},
      {"F", arraygen::ChpForm::kOlder, 0.05,
       "the N probe sets and N probe-set types at offset N do not fit the N bytes left\\."},
  };
  for (Case& c : cuts) {
    arraygen::SampleFileOptions options;
    options.Chp = c.form;
    WriteArrays(c.sample, options);
    const std::string path = Doc().DataFolder + c.sample + ".CHP";
    const std::string whole = Bytes(path);
    const auto size = static_cast<std::size_t>(c.kept * static_cast<double>(whole.size()));
    ASSERT_TRUE(arraywriters::WriteBytes(path, whole.substr(0, size)));
    for (std::size_t at; (at = c.reason.find("SIZE")) != std::string::npos;) c.reason.replace(at, 4, std::to_string(size));
    for (std::size_t at; (at = c.reason.find(" N ")) != std::string::npos;) c.reason.replace(at, 3, " [0-9]+ ");
    for (std::size_t at; (at = c.reason.find("(N ")) != std::string::npos;) c.reason.replace(at, 3, "([0-9]+ ");
  }
  const std::string storedIn = " samples into " + platform::NativePath(ArrayFolder());

  // One file alone: its message as it happens, the reason on a line of its own.
  ChooseInDialog({{kExtractAddNonPairedTest, {2}}});  // C.CHP
  Run(command::kDataExtract);
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_TRUE(Messages()[0].starts_with("SNPs call is not performed\nThe CHP file C.CHP cannot be read: "))
      << Messages()[0];
  EXPECT_THAT(LineAfter(Messages()[0], "cannot be read: "), ::testing::MatchesRegex(cuts[1].reason));
  EXPECT_FALSE(Exists(SamplePath("C")));
  EXPECT_EQ(LastStatus(), "Extracted 0 of 1" + storedIn);

  // Among whole files: one summary at the end, each cut file with its reason
  // indented under it.
  ChooseInDialog({{kExtractAddNonPairedTest, {0, 1, 2, 3, 4, 5}}});
  Run(command::kDataExtract);
  ASSERT_EQ(Messages().size(), 2u);
  const std::string summary = Messages()[1];
  EXPECT_TRUE(summary.starts_with("4 of 6 files could not be extracted:\n")) << summary;
  for (const Case& c : cuts) {
    SCOPED_TRACE(c.sample);
    const std::string file = std::string(c.sample) + ".CHP";
    const std::string heading = "\n" + file + ": SNPs call is not performed\n    The CHP file " + file + " cannot be read: ";
    EXPECT_NE(summary.find(heading), std::string::npos) << summary;
    EXPECT_THAT(LineAfter(summary, heading), ::testing::MatchesRegex(c.reason));
    EXPECT_FALSE(Exists(SamplePath(c.sample)));
  }
  EXPECT_TRUE(Exists(SamplePath("A")));
  EXPECT_TRUE(Exists(SamplePath("E")));
  EXPECT_EQ(LastStatus(), "Extracted 2 of 6" + storedIn);
}

}  // namespace
}  // namespace qova::test
