// Sample-file maintenance: updating every file to the newest version under
// the progress dialog, copying listed samples' files with its dialog,
// changing attributes as a list says, and rewriting files with 64-bit times.
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <map>

#include "document/maintenance/CopyListedFiles.h"
#include "document/DocumentCommands.h"
#include "platform/ui/CommonDialogs.h"
#include "resources/MaintenanceDialogs.h"
#include "resources/ProgressDialog.h"
#include "tests/document/DocumentTestSupport.h"

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;
using Items = std::vector<std::string>;

class MaintenanceTest : public DocumentTest {
 protected:
  void WriteReference(const std::string& name) {
    samplegen::SampleSpec spec;
    spec.Name = name;
    WriteSample(spec);
  }
  std::string CopyFolder() const { return Root() + "copy/"; }
  void WriteText(const std::string& path, const std::string& text) { ASSERT_TRUE(platform::WriteWholeFile(path, text)); }
};

TEST_F(MaintenanceTest, UpdatingAllFilesNamesAnUnreadableFileAndStopsCollectingNotices) {
  WriteStudy(2, true);
  WriteText(SamplePath("Broken"), "not a sample file");
  messages_.QueueAnswer(IDOK);
  Run(command::kUpdateFilesToNewestVersion);
  for (const char* name : {"Ref01", "Ref02", "Test01N", "Test01"}) {
    EXPECT_EQ(LoadSample(name).Header.HmmMeans[6], 2.5f) << name;
  }
  ASSERT_EQ(Messages().size(), 2u);
  EXPECT_NE(Messages()[1].find("Broken.CFH is not updated"), std::string::npos) << Messages()[1];
  Doc().Notify("after");
  EXPECT_EQ(Messages().back(), "after");
}

// Presses Cancel on the progress dialog once the sample it shows is stored.
class CancelAfterStore : public StoreSpy {
 public:
  explicit CancelAfterStore(std::string name) : StoreSpy(std::move(name), false) {}
  void RefreshSampleData(const CArrayData& stored) override {
    StoreSpy::RefreshSampleData(stored);
    if (progress) progress->Cancel();
  }
  std::optional<DialogDriver> progress;
};

TEST_F(MaintenanceTest, CancelWhileUpdatingLeavesTheLaterFilesUntouched) {
  for (const char* name : {"R1", "R2", "R3", "R4"}) WriteReference(name);
  const std::string r3 = Bytes(SamplePath("R3")), r4 = Bytes(SamplePath("R4"));
  CancelAfterStore second("R2");
  Ui().OnModeless(kProgressDialog, [&](DialogDriver& d) { second.progress = d; });
  messages_.QueueAnswer(IDOK);
  Run(command::kUpdateFilesToNewestVersion);
  EXPECT_EQ(second.events, Items{"sample R2"});
  EXPECT_EQ(LoadSample("R1").Header.HmmMeans[6], 2.5f);
  EXPECT_EQ(LoadSample("R2").Header.HmmMeans[6], 2.5f);
  EXPECT_EQ(Bytes(SamplePath("R3")), r3);
  EXPECT_EQ(Bytes(SamplePath("R4")), r4);
}

// The copy dialog answered: the list file and the destination chosen with
// their browsers, then `extra` (switches), then OK.
void AnswerCopyDialog(platform::ui::HeadlessUi& ui, const std::string& list, const std::string& destination,
                      std::function<void(DialogDriver&)> extra = {}) {
  ui.OnFileDialog([list](platform::ui::FileDialogRequest& r) {
    r.chosen = {list};
    return true;
  });
  ui.OnFolderDialog([destination](platform::ui::FolderDialogRequest& r) {
    r.chosen = destination;
    return true;
  });
  ui.OnDialog(kCopyListedFilesDialog, [extra](DialogDriver& d) {
    d.Click(kCopyListBrowse).Click(kCopyDestinationBrowse);
    if (extra) extra(d);
    d.Ok();
  });
}

TEST_F(MaintenanceTest, CopyingListedSamplesTakesTheirReferencesAndResultsAndNeverOverwrites) {
  WriteStudy(2, true);  // Test01 with Test01N and Ref01, Ref02
  WriteText(ResultPath("Test01.CFS"), "self result");
  WriteText(ResultPath("Test01.CFN"), "non-self result");
  ASSERT_TRUE(platform::CreateFolders(CopyFolder()));
  WriteText(CopyFolder() + "Ref02.CFH", "already there");
  WriteText(Root() + "list.txt", "\tTest01\textra\tfields\n\nGhost\n");
  AnswerCopyDialog(Ui(), Root() + "list.txt", CopyFolder(), [](DialogDriver& d) {
    d.SetCheck(kCopyNonSelfReferences, true).SetCheck(kCopyCfs, true).SetCheck(kCopyCfn, true);
  });
  Run(command::kCopyListedDataFiles);
  EXPECT_EQ(platform::FindFiles(CopyFolder(), "*"),
            (Items{"Ref01.CFH", "Ref02.CFH", "Test01.CFH", "Test01.CFN", "Test01.CFS", "Test01N.CFH"}));
  EXPECT_EQ(Bytes(CopyFolder() + "Test01.CFH"), Bytes(SamplePath("Test01")));
  EXPECT_EQ(Bytes(CopyFolder() + "Ref02.CFH"), "already there");
  const Items log = ErrorLogLines();
  EXPECT_EQ(log, (Items{"Cannot copy " + SamplePath("Ref02") + ": it exists at the destination",
                        "Cannot copy " + SamplePath("Ghost") + ": it cannot be read",
                        "Cannot copy " + ResultPath("Ghost.CFS") + ": it cannot be read",
                        "Cannot copy " + ResultPath("Ghost.CFN") + ": it cannot be read"}));
  EXPECT_TRUE(Messages().empty());
}

// A reference list of names alone, as "Set candidate refs" leaves it, names
// every reference: each one is copied, not every second.
TEST_F(MaintenanceTest, CopyingTheReferencesOfAListOfNamesAloneTakesEachOfThem) {
  for (const char* name : {"T1", "R1", "R2", "R3"}) WriteReference(name);
  CArrayData sample = LoadSample("T1");
  sample.Header.NonSelfReferenceCount = 3;
  sample.Header.NonSelfReferences = "R1$R2$R3$";
  sample.StoreFile(SamplePath("T1"));
  ASSERT_TRUE(platform::CreateFolders(CopyFolder()));
  WriteText(Root() + "list.txt", "T1\n");
  AnswerCopyDialog(Ui(), Root() + "list.txt", CopyFolder(),
                   [](DialogDriver& d) { d.SetCheck(kCopyNonSelfReferences, true); });
  Run(command::kCopyListedDataFiles);
  EXPECT_EQ(platform::FindFiles(CopyFolder(), "*"), (Items{"R1.CFH", "R2.CFH", "R3.CFH", "T1.CFH"}));
  EXPECT_EQ(ErrorLogLines(), Items{});
}

// A list line or a stored reference that names a path, not a sample, would
// reach outside the array-data and destination folders: it is left out.
TEST_F(MaintenanceTest, ListedNamesThatArePathsAreNotCopiedOutsideTheFolders) {
  WriteReference("R1");
  CArrayData sample = LoadSample("R1");
  sample.Header.IsPaired = 1;
  sample.Header.SelfReference = "../Elsewhere";
  sample.StoreFile(SamplePath("R1"));
  WriteText(Root() + "Outside.CFH", "outside the array-data folder");
  WriteText(Root() + "Elsewhere.CFH", "outside too");
  const std::string destination = Root() + "copy/deeper/";
  ASSERT_TRUE(platform::CreateFolders(destination));
  WriteText(Root() + "list.txt", "../Outside\nR1\n/abs\n..\n");
  AnswerCopyDialog(Ui(), Root() + "list.txt", destination);
  Run(command::kCopyListedDataFiles);
  EXPECT_TRUE(platform::FindFiles(Root() + "copy/", "*").empty());
  EXPECT_EQ(platform::FindFiles(destination, "*"), Items{"R1.CFH"});
  EXPECT_EQ(ErrorLogLines(), (Items{"Cannot copy ../Outside: it is not a file name",
                                    "Cannot copy ../Elsewhere.CFH: it is not a file name",
                                    "Cannot copy /abs: it is not a file name", "Cannot copy ..: it is not a file name"}));
}

TEST_F(MaintenanceTest, ACopyThatFailsAtItsRenameLeavesNoFileAndAnUnreadableListIsTold) {
  WriteReference("R1");
  WriteText(Root() + "list.txt", "R1\n");
  platform::SetAtomicStageHook([](platform::AtomicStage stage, const std::string&) {
    if (stage == platform::AtomicStage::BeforeRename) throw CFileException(CFileException::genericException, 0, "copy");
  });
  AnswerCopyDialog(Ui(), Root() + "list.txt", CopyFolder());
  ASSERT_TRUE(platform::CreateFolders(CopyFolder()));
  Run(command::kCopyListedDataFiles);
  platform::SetAtomicStageHook(nullptr);
  EXPECT_TRUE(platform::FindFiles(CopyFolder(), "*").empty());
  EXPECT_EQ(ErrorLogLines(), Items{"Cannot copy " + SamplePath("R1") + ": the copy cannot be written"});

  AnswerCopyDialog(Ui(), Root() + "missing.txt", CopyFolder());
  Run(command::kCopyListedDataFiles);
  EXPECT_EQ(Messages(), Items{"The list file " + Root() + "missing.txt cannot be read"});
}

// An error log that cannot be written is told once, named as it is on disk,
// with why.
TEST_F(MaintenanceTest, AnErrorLogThatCannotBeWrittenIsToldWithWhy) {
  WriteReference("R1");
  WriteText(Root() + "list.txt", "Ghost\nR1\n../Outside\n");
  WriteText(Root() + "plain", "a file where the drive root should be");
  ASSERT_TRUE(platform::CreateFolders(CopyFolder()));
  const std::string home = std::getenv("QOVA_HOME");
  const struct {
    std::string drive;      // QOVA_HOME
    std::string logFolder;  // a folder stands in the log's place there
    std::string told;
  } cases[] = {
      {Root(), Root() + "errorlog.txt/",
       "The error log " + Root() + "errorlog.txt cannot be written: Access to " + Root() + "errorlog.txt was denied."},
      {Root() + "plain", "",
       "The error log " + Root() + "plain/errorlog.txt cannot be written: the folder " + Root() +
           "plain/ cannot be created"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.drive);
    if (!c.logFolder.empty()) {
      ASSERT_TRUE(platform::CreateFolders(c.logFolder));
    }
    setenv("QOVA_HOME", c.drive.c_str(), 1);
    messages_.Clear();
    AnswerCopyDialog(Ui(), Root() + "list.txt", CopyFolder());
    Run(command::kCopyListedDataFiles);
    setenv("QOVA_HOME", home.c_str(), 1);
    EXPECT_EQ(Messages(), Items{c.told});
    if (!c.logFolder.empty()) std::filesystem::remove_all(c.logFolder);
    static_cast<void>(platform::RemoveFile(CopyFolder() + "R1.CFH"));
  }
}

TEST_F(MaintenanceTest, TheCopyDialogChecksInOrderKeepsTogglesAndEndsTheFolderWithOneSeparator) {
  std::vector<std::string> shown;
  std::string startFolder;
  bool cfaVisible = true;
  Ui().OnFolderDialog([&](platform::ui::FolderDialogRequest& r) {
    startFolder = r.startFolder;
    return false;
  });
  Ui().OnFileDialog([&](platform::ui::FileDialogRequest& r) {
    r.chosen = {Root() + "list.txt"};
    return true;
  });
  CDialogCopyListedFiles dialog;
  dialog.CopyCfa = TRUE;
  dialog.DestinationFolder = Root() + "out";
  CDialogCopyListedFiles empty;
  Ui().OnDialog(kCopyListedFilesDialog, [](DialogDriver& d) { d.Ok().Cancel(); });
  EXPECT_EQ(empty.DoModal(), IDCANCEL);
  EXPECT_EQ(Messages(), Items{"Select destination folder"});

  Ui().OnDialog(kCopyListedFilesDialog, [&](DialogDriver& d) {
    cfaVisible = d.IsVisible(kCopyCfa);
    d.Ok();
    d.Click(kCopyDestinationBrowse);  // cancelled: the preset stays
    d.SetCheck(kCopyCfs, true).Click(kCopyListBrowse);
    d.Ok();
  });
  messages_.Clear();
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(Messages(), Items{"Select sample list file"});
  EXPECT_FALSE(cfaVisible);
  EXPECT_EQ(dialog.CopyCfa, TRUE);
  EXPECT_EQ(dialog.CopyCfs, TRUE);
  EXPECT_EQ(dialog.SampleListFile, Root() + "list.txt");
  EXPECT_EQ(dialog.DestinationFolder, Root() + "out/");
  EXPECT_EQ(startFolder, Root() + "out");
}

class AttributeListTest : public MaintenanceTest {
 protected:
  // Test01's results of both non-self kinds, and a self result.
  void WriteResults() {
    const CArrayData sample = LoadSample("Test01");
    CAnalyzedData(sample, AnalysisKind::NonSelf).StoreFile(ResultPath("Test01.CFN"));
    CAnalyzedData(sample, AnalysisKind::NonSelfAllele).StoreFile(ResultPath("Test01.CFA"));
  }
  void RunWithList(const std::string& text) {
    WriteText(Root() + "attributes.txt", text);
    Ui().OnFileDialog([this](platform::ui::FileDialogRequest& r) {
      r.chosen = {Root() + "attributes.txt"};
      return true;
    });
    Run(command::kChangeAttributesAsListed);
  }
};

TEST_F(AttributeListTest, ListedValuesReachTheSampleAndEachResultInItsOwnLayout) {
  WriteStudy(1, true);
  WriteResults();
  const CArrayData before = LoadSample("Test01");
  CAnalyzedData cfa;
  cfa.LoadFileAllocating(ResultPath("Test01.CFA"));
  Setting().NONSELFALLELE = 0;
  // No Sex column; Ref01's line lacks its last field.
  RunWithList("sample_NAME\tAttribute1\tAttribute3\nTest01\tTumour\tLiver\nRef01\tNormal\n");
  EXPECT_TRUE(Messages().empty()) << Messages().front();
  const CArrayData after = LoadSample("Test01");
  EXPECT_EQ(after.Header.Attribute1, "Tumour");
  EXPECT_EQ(after.Header.Attribute3, "Liver");
  EXPECT_EQ(after.Header.Sex, before.Header.Sex);
  EXPECT_EQ(after.SignalA, before.SignalA);
  EXPECT_EQ(after.Call, before.Call);
  EXPECT_EQ(LoadSample("Ref01").Header.Attribute1, "Normal");
  EXPECT_EQ(LoadSample("Ref01").Header.Attribute3, "");
  for (const char* file : {"Test01.CFN", "Test01.CFA"}) {
    CAnalyzedData result;
    result.LoadFileAllocating(ResultPath(file));
    EXPECT_EQ(result.Header.Attribute1, "Tumour") << file;
    EXPECT_EQ(result.Header.Attribute3, "Liver") << file;
  }
  CAnalyzedData cfaAfter;
  cfaAfter.LoadFileAllocating(ResultPath("Test01.CFA"));
  EXPECT_EQ(cfaAfter.LogRatioA, cfa.LogRatioA);
  EXPECT_EQ(cfaAfter.LogRatio, cfa.LogRatio);
}

TEST_F(AttributeListTest, ASampleAlreadyListedLeavesItsResultsUnopenedAndBadInputIsTold) {
  WriteStudy(1, true);
  WriteText(ResultPath("Test01.CFS"), "a result no reader takes");
  const CArrayData sample = LoadSample("Test01");
  RunWithList("Sample_name\tAttribute2\nTest01\t" + sample.Header.Attribute2 + "\n");
  EXPECT_TRUE(Messages().empty()) << Messages().front();
  EXPECT_EQ(Bytes(ResultPath("Test01.CFS")), "a result no reader takes");

  WriteText(SamplePath("Broken"), "not a sample");
  RunWithList("Sample_name\tAttribute2\nBroken\tx\nRef01\tchanged\n");
  ASSERT_EQ(Messages().size(), 1u);
  EXPECT_NE(Messages()[0].find("Broken.CFH"), std::string::npos) << Messages()[0];
  EXPECT_EQ(LoadSample("Ref01").Header.Attribute2, "changed");

  // A name that is a path changes no sample file outside the folder.
  ASSERT_TRUE(platform::CreateFolders(Root() + "Elsewhere/"));
  ASSERT_TRUE(platform::CopyFileTo(SamplePath("Ref01"), Root() + "Elsewhere/Ref01.CFH", false));
  const std::string elsewhere = Bytes(Root() + "Elsewhere/Ref01.CFH");
  messages_.Clear();
  RunWithList("Sample_name\tAttribute2\n../Elsewhere/Ref01\tpath\n");
  EXPECT_EQ(Messages(), Items{"These sample files could not be read or written and were left as they were:\n"
                              "../Elsewhere/Ref01: not the name of a sample file"});
  EXPECT_TRUE(Bytes(Root() + "Elsewhere/Ref01.CFH") == elsewhere) << "the sample outside the folder was rewritten";

  messages_.Clear();
  RunWithList("Name\tAttribute2\nRef01\tx\n");
  EXPECT_EQ(Messages(), Items{"Sample_name field dose not exist"});
}

// A listed name that no sample file and no result file bears is named in the
// box with the lines refused; a name whose files already hold the listed
// values, or that has a result file only, is not.
TEST_F(AttributeListTest, AListedNameWithoutAnyFileIsNamedAndSamplesHoldingTheirValuesAreNot) {
  WriteStudy(1, true);
  CAnalyzedData(LoadSample("Ref01"), AnalysisKind::NonSelf).StoreFile(ResultPath("Solo.CFN"));
  const std::string held = LoadSample("Test01").Header.Attribute2;
  const std::string box = "These sample files could not be read or written and were left as they were:";
  const std::string missing = ": no sample file (.CFH) and no result file of this name";
  const struct {
    std::string lines;
    std::string told;  // empty: nothing shown
  } cases[] = {
      {"Tumuor01\tTumour\n", box + "\nTumuor01" + missing},
      {"Test01\t" + held + "\n", ""},
      {"Solo\tliver\n", ""},
      {"Ref01\tx\nTumuor01\ty\n../Ref01\tz\n\nGhost\tw\n",
       box + "\nTumuor01" + missing + "\n../Ref01: not the name of a sample file\nGhost" + missing},
  };
  for (const auto& c : cases) {
    messages_.Clear();
    RunWithList("Sample_name\tAttribute2\n" + c.lines);
    EXPECT_EQ(Messages(), c.told.empty() ? Items{} : Items{c.told}) << c.lines;
  }
  EXPECT_EQ(LoadSample("Test01").Header.Attribute2, held);
  EXPECT_EQ(LoadSample("Ref01").Header.Attribute2, "x");
  CAnalyzedData solo;
  solo.LoadFileAllocating(ResultPath("Solo.CFN"));
  EXPECT_EQ(solo.Header.Attribute2, "liver");
  EXPECT_FALSE(Exists(SamplePath("Tumuor01")));
}

// A listed sex is "M", "F" or empty, exactly: a line with any other is left
// out whole (its attribute too) and named with its line number, and the files
// of its sample keep their bytes, while the other lines are taken.
TEST_F(AttributeListTest, ALineGivingASexTheProgramDoesNotUseIsLeftOutAndNamed) {
  WriteStudy(4, true);
  CAnalyzedData(LoadSample("Ref01"), AnalysisKind::NonSelf).StoreFile(ResultPath("Ref01.CFN"));
  const struct {
    const char* name;
    const char* sex;
    bool taken;
  } lines[] = {{"Test01", "F", true},   {"Ref01", "male", false}, {"Ref02", "m", false},
               {"Ref03", " M", false},  {"Test01N", "", true},    {"Ref04", "M", true}};
  std::string list = "Sample_name\tAttribute2\tSex\n";
  std::map<std::string, std::string> before;
  for (const auto& line : lines) {
    list += std::string(line.name) + "\tlisted\t" + line.sex + "\n";
    before[line.name] = Bytes(SamplePath(line.name));
  }
  const std::string resultBefore = Bytes(ResultPath("Ref01.CFN"));
  RunWithList(list + "Ghost\tlisted\tF\n");

  EXPECT_EQ(Messages(), Items{"These lines give a sex other than \"M\", \"F\" or empty, and their samples were left as "
                              "they were:\nline 3: Ref01 \"male\"\nline 4: Ref02 \"m\"\nline 5: Ref03 \" M\"\n\n"
                              "These sample files could not be read or written and were left as they were:\n"
                              "Ghost: no sample file (.CFH) and no result file of this name"});
  for (const auto& line : lines) {
    SCOPED_TRACE(line.name);
    if (!line.taken) {
      EXPECT_TRUE(Bytes(SamplePath(line.name)) == before[line.name]);
      continue;
    }
    const CArrayData after = LoadSample(line.name);
    EXPECT_EQ(after.Header.Sex, line.sex);
    EXPECT_EQ(after.Header.Attribute2, "listed");
  }
  EXPECT_TRUE(Bytes(ResultPath("Ref01.CFN")) == resultBefore);
}

// The byte offset of the creation time in a sample file: after three texts,
// one 32-bit number and six texts, each text with its one-byte length.
std::size_t CreateTimeOffset(const std::string& bytes) {
  std::size_t at = 0;
  const auto text = [&] { at += 1 + static_cast<unsigned char>(bytes[at]); };
  for (int k = 0; k < 3; ++k) text();
  at += 4;
  for (int k = 0; k < 6; ++k) text();
  return at;
}

// The file with its 4-byte creation time written in the 64-bit form.
std::string WithLongTime(const std::string& bytes) {
  const std::size_t at = CreateTimeOffset(bytes);
  std::int32_t time = 0;
  std::memcpy(&time, bytes.data() + at, 4);
  const std::uint32_t marker = 0x8000000A;
  const std::int64_t wide = time;
  std::string out = bytes.substr(0, at);
  out.append(reinterpret_cast<const char*>(&marker), 4);
  out.append(reinterpret_cast<const char*>(&wide), 8);
  out += bytes.substr(at + 4);
  return out;
}

TEST_F(MaintenanceTest, RewritingAllFilesTakesTheLongTimesBackToTheShortFormOnly) {
  WriteStudy(1, true);
  CAnalyzedData(LoadSample("Test01"), AnalysisKind::NonSelf).StoreFile(ResultPath("Test01.CFN"));
  const CArrayData original = LoadSample("Test01");
  WriteText(SamplePath("Test01"), WithLongTime(Bytes(SamplePath("Test01"))));
  WriteText(ResultPath("Test01.CFN"), WithLongTime(Bytes(ResultPath("Test01.CFN"))));
  const std::string untouched = Bytes(SamplePath("Ref01"));
  Setting().NONSELFALLELE = 0;
  Run(command::kConvertAllFiles);
  EXPECT_EQ(Messages(), Items{"error"}) << "no .CFS, and the .CFN pass still runs";
  const std::string rewritten = Bytes(SamplePath("Test01"));
  std::uint32_t word = 0;
  std::memcpy(&word, rewritten.data() + CreateTimeOffset(rewritten), 4);
  EXPECT_EQ(static_cast<std::int32_t>(word), original.Header.CreateTime.GetTime());
  const CArrayData back = LoadSample("Test01");
  EXPECT_EQ(back.Header.SampleName, original.Header.SampleName);
  EXPECT_EQ(back.SignalA, original.SignalA);
  EXPECT_EQ(Bytes(SamplePath("Ref01")), untouched);
  const std::string result = Bytes(ResultPath("Test01.CFN"));
  std::memcpy(&word, result.data() + CreateTimeOffset(result), 4);
  EXPECT_NE(word, 0x8000000Au);
}

}  // namespace
}  // namespace qova::test
