// The old temporary-data transfer: .temp files in the old layout carried over
// into samples of the Mapping50K family through synthetic order tables.
#include <filesystem>
#include <string>

#include "document/DocumentCommands.h"
#include "platform/File.h"
#include "tests/document/DocumentTestSupport.h"

namespace qova::test {
namespace {

using Items = std::vector<std::string>;
constexpr int kFamily = 2;
constexpr const char* kType = "Mapping50K_Xba240";

class TransferTest : public DocumentTest {
 protected:
  TransferTest() {
    datagen::WriteDataFolder(Root() + "data/", {kFamily});
    const std::int32_t rows = qova::core::kArrayFamilies[kFamily].snpCount;
    global_.BasicData[kFamily].Allocate(rows, 0);
    global_.BasicData[kFamily].LoadFile(global_.DataFolder() + datagen::AnnotationFileName(kFamily), rows);
    EXPECT_TRUE(platform::CreateFolders(Root() + "QOVA/data/"));
    EXPECT_TRUE(platform::CreateFolders(Root() + "QOVA/temporary files/"));
  }

  const CBasicData& Family() { return global_.BasicData[kFamily]; }

  // The old order is the current one reversed within each part: old index i
  // of the Hind part is current row 57243 - i, of the Xba part 116203 - ...
  static std::int32_t CurrentOf(int old) { return old < 57244 ? 57243 - old : 57244 + (116203 - old); }

  // The order tables, with the entries of `missing` old indexes left out.
  void WriteTables(const std::vector<int>& missing = {}, int extraRows = 0) {
    std::string h, x;
    for (int old = 0; old < 116204; ++old) {
      const bool gone = std::find(missing.begin(), missing.end(), old) != missing.end();
      const std::int32_t entry = gone ? -9 : Family().IndexMap[static_cast<std::size_t>(CurrentOf(old))];
      (old < 57244 ? h : x) += std::to_string(entry) + "\n";
    }
    for (int k = 0; k < extraRows; ++k) h += "0\n";
    ASSERT_TRUE(platform::WriteWholeFile(Root() + "QOVA/data/arrange_data_H.txt", h));
    ASSERT_TRUE(platform::WriteWholeFile(Root() + "QOVA/data/arrange_data_X.txt", x));
  }

  // A .temp file of the Xba part (1) in the old layout.
  void WriteTemp(const std::string& file, int first, int last, const std::string& attributes, int part = 1) {
    std::string text = std::to_string(part) + "\n7\nname\n";
    for (int k = 0; k < (part == 1 ? 58960 : 57244); ++k) text += "0.5\n";
    text += std::to_string(first) + "  " + std::to_string(last) + "  3 \n";
    for (const char* mean : {"-1.5", "-0.6", "0.01", "0.35", "0.7", "0.95", "1.1"}) text += std::string(mean) + "\n";
    for (int k = 0; k < 200; ++k) text += "1\n";
    text += "1 2\n" + attributes;
    ASSERT_TRUE(platform::WriteWholeFile(Root() + "QOVA/temporary files/" + file, text));
  }

  void WriteSample(const std::string& name, bool withResult) {
    samplegen::SampleSpec spec;
    spec.Name = name;
    CArrayData sample = samplegen::SampleGenerator(kType, Family(), 3).Make(spec);
    sample.Header.Attribute4 = "kept";
    sample.StoreFile(SamplePath(name));
    if (withResult) CAnalyzedData(sample, AnalysisKind::NonSelf).StoreFile(ResultPath(name + ".CFN"));
  }
};

TEST_F(TransferTest, MeansAttributesAndTheTranslatedRangeReachBothFiles) {
  // Old index 60000 has no entry (its successor stands in); neither 90000 nor
  // its predecessor has one.
  WriteTables({60000, 90000, 89999});
  for (const char* name : {"A", "B", "C", "D", "E"}) WriteSample(name, std::string(name) != "B");
  WriteTemp("a.temp", 60000, 70000, "AttributesInformation\n1 \nliver\nstage2\nmale\nunused\n");
  WriteTemp("b.temp", 60000, 70000, "AttributesInformation\n2 \nx\ny\nz\n\n");
  WriteTemp("c.temp", 61000, 71000, "no attributes\n");
  WriteTemp("d.temp", 61000, 71000, "AttributesInformation\n2 \nlung\n\n\n\n");
  WriteTemp("e.temp", 62000, 90000, "AttributesInformation\n1 \nkidney\n\n\n\n");
  const std::string bBefore = Bytes(SamplePath("B"));
  const std::array<std::int32_t, 4> eRange = LoadSample("E").Header.NonSelfBaseRange;
  Setting().NONSELFALLELE = 0;
  Run(command::kTransferArrangedData);
  EXPECT_TRUE(Messages().empty()) << Messages().front();

  CAnalyzedData result;
  result.LoadFileAllocating(ResultPath("A.CFN"));
  for (const SampleHeader& header : {LoadSample("A").Header, result.Header}) {
    EXPECT_FLOAT_EQ(header.HmmMeans[0], -1.5f);
    EXPECT_FLOAT_EQ(header.HmmMeans[6], 1.1f);
    EXPECT_EQ(header.Attribute1, "liver");
    EXPECT_EQ(header.Attribute2, "stage2");
    EXPECT_EQ(header.Attribute3, "male");
    EXPECT_EQ(header.Attribute4, "Primary");
    EXPECT_EQ(header.NonSelfBaseRange[kBaseFirstSnp], CurrentOf(60001));
    EXPECT_EQ(header.NonSelfBaseRange[kBaseLastSnp], CurrentOf(70000));
    EXPECT_EQ(header.NonSelfBaseRange[kBaseCopyNumber], 3);
  }
  EXPECT_EQ(Bytes(SamplePath("B")), bBefore);
  EXPECT_EQ(Bytes(Root() + "QOVA/Not_tranfered_files.txt"), "B.CFN\n");
  const CArrayData c = LoadSample("C");
  EXPECT_EQ(c.Header.Attribute1, "") << "nothing of the file before";
  EXPECT_EQ(c.Header.Attribute4, "kept");
  EXPECT_EQ(LoadSample("D").Header.Attribute4, "Cell line");
  const CArrayData e = LoadSample("E");
  EXPECT_EQ(e.Header.NonSelfBaseRange, eRange);
  EXPECT_EQ(e.Header.Attribute1, "kidney");
  EXPECT_EQ(ErrorLogLines(), Items{"e.temp: the base range 62000-90000 has no place in the current order; it is "
                                   "left as it was"});
}

TEST_F(TransferTest, BadTablesAndTemporaryFilesAreRefused) {
  WriteTables({}, 1);  // one row more than the Hind table has room for
  WriteSample("A", true);
  WriteTemp("a.temp", 60000, 70000, "");
  const std::string before = Bytes(SamplePath("A"));
  Run(command::kTransferArrangedData);
  EXPECT_EQ(Messages(), Items{"arrange data cannot be loaded"});
  EXPECT_EQ(Bytes(SamplePath("A")), before);

  WriteTables();
  WriteTemp("a.temp", 60000, 70000, "", 3);
  messages_.Clear();
  Run(command::kTransferArrangedData);
  EXPECT_TRUE(Messages().empty());
  EXPECT_EQ(Bytes(SamplePath("A")), before);
  ASSERT_EQ(ErrorLogLines().size(), 1u);
  EXPECT_EQ(ErrorLogLines()[0], "a.temp is not transferred: its array part is 3, not 1 or 2");
}

// The list of the files not transferred is written last, once the samples
// are stored: a folder of its own removed by then, or a folder standing in
// its place, is told with the list named as it is on disk.
TEST_F(TransferTest, AListOfFilesNotTransferredThatCannotBeWrittenIsToldWithWhy) {
  static std::string s_lastStore, s_removed, s_made;
  s_lastStore = platform::NativePath(SamplePath("A"));
  const std::string list = Root() + "QOVA/Not_tranfered_files.txt";
  const struct {
    std::string removed, made;  // once A.CFH is stored
    std::string told;
  } cases[] = {
      {Root() + "QOVA", "",
       list + " cannot be written: the folder " + Root() + "QOVA/ does not exist"},
      {list, list, list + " cannot be written: Access to " + list + " was denied."},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.told);
    WriteTables();
    WriteSample("A", true);
    WriteTemp("a.temp", 60000, 70000, "");
    s_removed = c.removed;
    s_made = c.made;
    platform::SetAtomicStageHook([](platform::AtomicStage stage, const std::string& target) {
      if (stage != platform::AtomicStage::AfterRename || target != s_lastStore) return;
      std::filesystem::remove_all(s_removed);
      if (!s_made.empty()) std::filesystem::create_directories(s_made);
    });
    messages_.Clear();
    Run(command::kTransferArrangedData);
    platform::SetAtomicStageHook(nullptr);
    EXPECT_EQ(Messages(), Items{"These temporary files could not be transferred:\n" + c.told});
    std::filesystem::remove_all(Root() + "QOVA");
    for (const char* folder : {"QOVA/data/", "QOVA/temporary files/"}) ASSERT_TRUE(platform::CreateFolders(Root() + folder));
  }
}

}  // namespace
}  // namespace qova::test
