// Data > Extract Data on the main document: the dialog, the run under the
// progress dialog, Cancel, and how failures are told.
#include <gmock/gmock.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "document/DocumentCommands.h"
#include "document/extraction/SampleExtraction.h"
#include "platform/Strings.h"
#include "resources/ExtractDialogs.h"
#include "resources/ProgressDialog.h"
#include "resources/SampleManagerDialog.h"
#include "tests/arraygen/ArrayGenTestSupport.h"
#include "tests/document/DocumentTestSupport.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/arraywriters/CdfWriters.h"
#include "tools/arraywriters/CelWriters.h"

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

// Every file under `folder` with its bytes, by its path below the folder.
std::map<std::string, std::string> FilesUnder(const std::string& folder) {
  std::map<std::string, std::string> files;
  for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    files[entry.path().lexically_relative(folder).string()] = FileBytes(entry.path().string());
  }
  return files;
}

TEST_F(ExtractCommandTest, AnArrayDataFolderThatIsGoneIsTheReasonGivenAndNothingElseChanges) {
  for (const char* name : {"A", "B"}) WriteArrays(name);
  ChooseInDialog({{kExtractAddNonPairedTest, {0}}});
  Run(command::kDataExtract);
  ASSERT_TRUE(Exists(SamplePath("A")));
  // The user points the Array Data folder at a new folder, then deletes it.
  const std::string gone = Root() + "Moved/";
  ASSERT_TRUE(platform::CreateFolders(gone));
  Doc().ArrayDataFolder = gone;
  std::filesystem::remove(gone);
  const auto before = FilesUnder(Root());
  const std::string reason = "cannot be written: the folder " + platform::NativePath(gone) + " does not exist";
  struct Case {
    std::vector<int> picked;
    Items messages;
    std::string status;
  };
  const Case cases[] = {
      {{0}, {"The sample file A.CFH " + reason}, "Extracted 0 of 1 samples into " + platform::NativePath(gone)},
      {{0, 1},
       {"2 of 2 files could not be extracted:\nA.CHP: The sample file A.CFH " + reason +
        "\nB.CHP: The sample file B.CFH " + reason},
       "Extracted 0 of 2 samples into " + platform::NativePath(gone)},
  };
  for (const Case& c : cases) {
    messages_.Clear();
    ChooseInDialog({{kExtractAddNonPairedTest, c.picked}});
    Run(command::kDataExtract);
    EXPECT_EQ(Messages(), c.messages);
    EXPECT_EQ(LastStatus(), c.status);
    EXPECT_FALSE(platform::FolderExists(gone));
    EXPECT_TRUE(FilesUnder(Root()) == before);
  }
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

// Both commands over the one file of each of their lists: Extract Data
// lists the CHP files, Extract without CHP the CEL files.
constexpr std::uint32_t kBothCommands[] = {command::kDataExtract, command::kExtractWithoutChp};

TEST_F(ExtractCommandTest, ALibraryThatDoesNotFitTheScanIsRefusedAndTheSampleFileStays) {
  WriteArrays("A");
  ChooseInDialog({{kExtractAddNonPairedTest, {0}}});
  Run(command::kDataExtract);
  ASSERT_TRUE(Messages().empty()) << Messages().front();
  const std::string good = Bytes(SamplePath("A"));
  const std::string library = Doc().LibraryFolder + arraygen::LibraryFileName(kSmallType);
  const std::string goodLibrary = Bytes(library);
  const std::string storedIn = " samples into " + platform::NativePath(ArrayFolder());

  // Another array's library under this chip's name, in the binary form that
  // declares its grid and in the generic form that does not; and this chip's
  // own library with its last SNP probe set named as no SNP.
  const arraygen::ArrayDesign other("Mapping10K_Xba142", 11, SmallLayout(-1));
  arraywriters::CdfLayout fewer = design_.Layout();
  fewer.probeSets[static_cast<std::size_t>(design_.SnpProbeSets().back())].name = "CONTROL-last";
  struct Case {
    const char* what;
    std::function<void()> write;
    std::string message;
  };
  const Case cases[] = {
      {"another array, binary", [&] { other.WriteCdf(library, arraygen::CdfForm::kXda); },
       platform::Format("The library file %s is of %d x %d cells, the CEL file A.CEL of %d x %d cells",
                        arraygen::LibraryFileName(kSmallType).c_str(), other.Layout().cols, other.Layout().rows,
                        design_.Layout().cols, design_.Layout().rows)},
      {"another array, generic", [&] { other.WriteCdf(library, arraygen::CdfForm::kGeneric); },
       platform::Format("The library file %s holds 10204 SNP probe sets, the chip type %s has 11560 SNPs",
                        arraygen::LibraryFileName(kSmallType).c_str(), kSmallType)},
      {"one SNP fewer", [&] { ASSERT_TRUE(arraywriters::WriteBytes(library, arraywriters::XdaCdfImage(fewer))); },
       platform::Format("The library file %s holds 11559 SNP probe sets, the chip type %s has 11560 SNPs",
                        arraygen::LibraryFileName(kSmallType).c_str(), kSmallType)},
  };
  for (const Case& c : cases) {
    c.write();
    for (const std::uint32_t id : kBothCommands) {
      SCOPED_TRACE(std::string(c.what) + (id == command::kDataExtract ? ", Extract Data" : ", without CHP"));
      messages_.Clear();
      ChooseInDialog({{kExtractAddNonPairedTest, {0}}});
      Run(id);
      EXPECT_EQ(Messages(), Items{c.message});
      EXPECT_EQ(Bytes(SamplePath("A")), good);
      EXPECT_EQ(LastStatus(), "Extracted 0 of 1" + storedIn);
    }
  }
  // The library mended, the sample is extracted again over its file.
  ASSERT_TRUE(arraywriters::WriteBytes(library, goodLibrary));
  messages_.Clear();
  ChooseInDialog({{kExtractAddNonPairedTest, {0}}});
  Run(command::kDataExtract);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(LastStatus(), "Extracted 1 of 1" + storedIn + ", 1 replaced (attributes kept)");
}

TEST_F(ExtractCommandTest, EveryRefusedCelFileIsToldWithItsReasonAndNothingIsStoredForIt) {
  arraygen::SampleFileOptions text;
  text.Cel = arraygen::CelForm::kTextV3;
  WriteArrays("A");
  for (const char* name : {"B", "C", "D", "Z"}) WriteArrays(name, text);
  const auto cel = [this](const std::string& name) { return Doc().DataFolder + name + ".CEL"; };
  // B: a binary file's size of zero bytes. C and D: the text cut inside a
  // cell's line and at the end of one. Z: a whole text scan of zeros.
  const std::string binary = Bytes(cel("A"));
  ASSERT_TRUE(arraywriters::WriteBytes(cel("B"), std::string(binary.size(), '\0')));
  const std::string whole = Bytes(cel("C"));
  const std::size_t lineEnd = whole.find('\n', whole.size() / 2);
  const std::string insideLine = whole.substr(0, lineEnd + 4), atLineEnd = whole.substr(0, lineEnd + 1);
  ASSERT_TRUE(arraywriters::WriteBytes(cel("C"), insideLine));
  ASSERT_TRUE(arraywriters::WriteBytes(cel("D"), atLineEnd));
  arraywriters::CelArray zeros = design_.MakeCel(MakeSample(kSmallType, "Z"));
  for (arraywriters::CelCell& cell : zeros.cells) cell.intensity = 0.0f;
  ASSERT_TRUE(arraywriters::SaveCelFile(cel("Z"), arraywriters::CelForm::kTextV3, zeros));
  const auto lines = [](const std::string& bytes) { return std::count(bytes.begin(), bytes.end(), '\n'); };
  const std::vector<std::pair<std::string, std::string>> refused = {
      {"B", "The CEL file B.CEL cannot be read: it is in no CEL form this program reads"},
      {"C", platform::Format("The CEL file C.CEL cannot be read: the text ends inside line %d, a cell of its "
                             "[INTENSITY] section.",
                             static_cast<int>(lines(insideLine)) + 1)},
      {"D", platform::Format("The CEL file D.CEL cannot be read: the text ends at line %d, before its [MASKS] "
                             "section.",
                             static_cast<int>(lines(atLineEnd)))},
      {"Z", platform::Format("The CEL file Z.CEL holds no data: every cell the library file %s names is 0",
                             arraygen::LibraryFileName(kSmallType).c_str())},
  };
  for (const std::uint32_t id : kBothCommands) {
    const std::string listed = id == command::kDataExtract ? ".CHP" : ".CEL";
    SCOPED_TRACE(listed);
    messages_.Clear();
    for (const char* name : {"A", "B", "C", "D", "Z"}) platform::RemoveFile(SamplePath(name));
    ChooseInDialog({{kExtractAddNonPairedTest, {0, 1, 2, 3, 4}}});
    Run(id);
    std::string summary = "4 of 5 files could not be extracted:";
    for (const auto& [name, reason] : refused) summary += "\n" + name + listed + ": " + reason;
    // The calls made from the cells of A: too few quartets in these libraries.
    const bool fromCells = id == command::kExtractWithoutChp;
    if (fromCells) {
      summary += platform::Format("\n\nSNPs called per sample:\nA none: too few quartets per allele: the library "
                                  "file %s gives at most 3 per SNP, and a call needs 6, or 8 to 10",
                                  arraygen::LibraryFileName(kSmallType).c_str());
    }
    EXPECT_EQ(Messages(), Items{summary});
    EXPECT_TRUE(Exists(SamplePath("A")));
    for (const auto& [name, reason] : refused) EXPECT_FALSE(Exists(SamplePath(name))) << name;
    EXPECT_EQ(LastStatus(), "Extracted 1 of 5 samples into " + platform::NativePath(ArrayFolder()) +
                                (fromCells ? "; SNPs called in 0 samples, none in A" : ""));
  }
}

}  // namespace
}  // namespace qova::test
