// The .cfi file and the sample list of an integration: the stored bytes,
// refused files, failed writes, and removing, re-reading and adding samples.
#include "platform/File.h"
#include "tests/analysis/IntegrationTestSupport.h"

namespace qova::test {
namespace {

// Little-endian archive bytes, built by hand.
struct Bytes {
  std::string data;
  Bytes& Int(std::int32_t v) {
    for (int i = 0; i < 4; ++i) data += static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return *this;
  }
  Bytes& Str(const std::string& s) {
    data += static_cast<char>(s.size());
    data += s;
    return *this;
  }
};

class IntegrationFileTest : public IntegrationTest {
 protected:
  // Two samples and three segments, as a user's integration would hold.
  [[nodiscard]] IntegrationData TwoSamples() const {
    IntegrationData data = Integration("AddDel", 7);
    data.Order = "Amount";
    data.Title = "Tumours";
    data.SampleNames = {"T01.CFS", "T02.CFN"};
    data.Segments = {{0, 0, 1500000, 1, 1}, {1, 250, 9000, 23, 3}, {0, 77, 88, 5, 4}};
    return data;
  }
  [[nodiscard]] static std::string TwoSamplesBytes() {
    Bytes b;
    b.Str("1.000").Str("AddDel").Str("Amount").Str("Tumours").Int(7).Int(2).Int(3).Str("T01.CFS").Str("T02.CFN");
    b.Int(0).Int(0).Int(1500000).Int(1).Int(1);
    b.Int(1).Int(250).Int(9000).Int(23).Int(3);
    b.Int(0).Int(77).Int(88).Int(5).Int(4);
    return b.data;
  }
  static void ExpectSame(const IntegrationData& a, const IntegrationData& b) {
    EXPECT_EQ(a.Mode, b.Mode);
    EXPECT_EQ(a.Order, b.Order);
    EXPECT_EQ(a.Title, b.Title);
    EXPECT_EQ(a.MinRun, b.MinRun);
    EXPECT_EQ(a.SampleNames, b.SampleNames);
    EXPECT_EQ(a.Segments, b.Segments);
  }
  // Three stored results with planted losses on chromosomes 2, 3 and 4.
  std::vector<std::string> ThreeSamples() {
    std::vector<std::string> files;
    for (int k = 0; k < 3; ++k) {
      CAnalyzedData sample = NormalSample("S" + std::to_string(k), AnalysisKind::NonSelf);
      SetStates(sample, Snp(2 + k, 20), Snp(2 + k, 60), 1);
      SetStates(sample, Snp(10, 5 + k), Snp(10, 30), 3);
      files.push_back(Store(sample, AnalysisKind::NonSelf));
    }
    return files;
  }
};

TEST_F(IntegrationFileTest, StoredFileHasTheLayoutAndReadsBackWhole) {
  const std::string path = Path("Set1.cfi");
  ASSERT_TRUE(TwoSamples().Save(path));
  std::string stored;
  ASSERT_TRUE(platform::ReadWholeFile(path, stored));
  EXPECT_EQ(stored, TwoSamplesBytes());

  IntegrationData loaded = Integration("HomDel", 3);
  loaded.SampleNames = {"old"};
  ASSERT_TRUE(loaded.Load(path));
  ExpectSame(loaded, TwoSamples());
}

TEST_F(IntegrationFileTest, DamagedFilesAreRefusedNamingTheFileAndChangeNothing) {
  const std::string good = TwoSamplesBytes();
  // Offsets: the sample count at 32, the segment count at 36, the names end
  // at 56, then three segments of 20 bytes.
  struct Case {
    const char* name;
    std::string bytes;
    const char* says;
  } cases[] = {
      {"cut in the title", good.substr(0, 20), "end of file"},
      {"cut in the counts", good.substr(0, 38), "end of file"},
      {"cut in the names", good.substr(0, 50), "segment count 3 needs at least 60 bytes, 10 remain"},
      {"cut in the last segment", good.substr(0, good.size() - 7),
       "segment count 3 needs 60 bytes after the sample names, 53 remain"},
      {"no segments at all", good.substr(0, 56), "segment count 3"},
      {"segment count 2^31 - 1",
       Bytes{good.substr(0, 36)}.Int(2147483647).data + good.substr(40), "segment count 2147483647"},
      {"negative sample count", Bytes{good.substr(0, 32)}.Int(-1).data + good.substr(36), "negative sample count"},
      {"segment of sample m", good.substr(0, good.size() - 20) + Bytes{}.Int(2).Int(77).Int(88).Int(5).Int(4).data,
       "segment 2 names sample 2 of 2"},
      {"version xyz", Bytes{}.Str("xyz").data + good.substr(6), "the version \"xyz\" is not the 1.000"},
      {"an empty version and no more", Bytes{}.Str("").Int(0).Int(0).Int(0).Int(0).Int(0).data,
       "the version \"\" is not the 1.000"},
      {"segment of chromosome 24", good.substr(0, good.size() - 20) + Bytes{}.Int(0).Int(77).Int(88).Int(24).Int(4).data,
       "segment 2 lies on chromosome 24"},
  };
  const std::string path = Path("bad.cfi");
  for (const Case& test : cases) {
    SCOPED_TRACE(test.name);
    ASSERT_TRUE(platform::WriteWholeFile(path, test.bytes));
    IntegrationData data = TwoSamples();
    try {
      (void)data.Load(path);
      ADD_FAILURE() << "loaded";
    } catch (const CArchiveException& error) {
      const std::string text = error.what();
      EXPECT_NE(text.find("bad.cfi"), std::string::npos) << text;
      EXPECT_NE(text.find(test.says), std::string::npos) << text;
    }
    ExpectSame(data, TwoSamples());
  }
}

TEST_F(IntegrationFileTest, MissingFileLoadsNothingAndFailedWriteKeepsTheOldFile) {
  IntegrationData data = TwoSamples();
  EXPECT_FALSE(data.Load(Path("none.cfi")));
  ExpectSame(data, TwoSamples());
  EXPECT_FALSE(data.Save(Path("no/such/folder/x.cfi")));

  const std::string path = Path("Set1.cfi");
  ASSERT_TRUE(data.Save(path));
  data.Title = "changed";
  platform::SetAtomicStageHook([](platform::AtomicStage stage, const std::string& target) {
    if (stage == platform::AtomicStage::BeforeRename) throw CFileException(CFileException::diskFull, 28, target);
  });
  const bool saved = data.Save(path);
  platform::SetAtomicStageHook(nullptr);
  EXPECT_FALSE(saved);
  std::string stored;
  ASSERT_TRUE(platform::ReadWholeFile(path, stored));
  EXPECT_EQ(stored, TwoSamplesBytes());
}

TEST_F(IntegrationFileTest, RemovingSampleZeroOfThreeRenumbersTheOthers) {
  const std::vector<std::string> files = ThreeSamples();
  IntegrationData data = Integration("AddDel");
  ASSERT_TRUE(data.IntegrateSamples(files));
  const IntegrationData whole = data;
  ASSERT_EQ(data.SampleNames, files);

  EXPECT_FALSE(data.RemoveSample(3));
  EXPECT_FALSE(data.RemoveSample(-1));
  EXPECT_FALSE(data.RemoveSampleByName("s1.CFN"));  // names compare exactly
  EXPECT_TRUE(data.Contains("S1.CFN"));
  EXPECT_FALSE(data.Contains("s1.CFN"));
  ASSERT_TRUE(data.RemoveSample(0));
  EXPECT_EQ(data.SampleNames, (std::vector<std::string>{"S1.CFN", "S2.CFN"}));
  std::vector<IntegrationSegment> expected;
  for (IntegrationSegment s : whole.Segments) {
    if (s.SampleIndex == 0) continue;
    --s.SampleIndex;
    expected.push_back(s);
  }
  EXPECT_EQ(data.Segments, expected);

  EXPECT_FALSE(data.ReintegrateSampleByName("S0.CFN"));
  EXPECT_FALSE(data.ReintegrateSample(2));

  // Integrating again over its own list, as a refresh of the view does.
  ASSERT_TRUE(data.IntegrateSamples(data.SampleNames));
  EXPECT_EQ(data.SampleNames, (std::vector<std::string>{"S1.CFN", "S2.CFN"}));
  EXPECT_EQ(data.Segments, expected);
}

TEST_F(IntegrationFileTest, UnreadableSampleEndsTheRunAndIsNotListed) {
  std::vector<std::string> files = ThreeSamples();
  ASSERT_TRUE(platform::WriteWholeFile(ResultFolder() + "Broken.CFN", "not a sample"));
  files.insert(files.begin() + 1, "Broken.CFN");
  files.insert(files.begin() + 1, "Missing.CFN");
  IntegrationData data = Integration("AddDel");
  try {
    data.IntegrateSamples(files);
    ADD_FAILURE() << "integrated";
  } catch (const CFileException& error) {
    EXPECT_NE(std::string(error.what()).find("Missing.CFN"), std::string::npos) << error.what();
  }
  EXPECT_EQ(data.SampleNames, std::vector<std::string>{"S0.CFN"});
  EXPECT_FALSE(data.Segments.empty());
  EXPECT_TRUE(std::all_of(data.Segments.begin(), data.Segments.end(),
                          [](const IntegrationSegment& s) { return s.SampleIndex == 0; }));

  EXPECT_THROW(data.AddNewSamples({"Broken.CFN"}), CArchiveException);
  EXPECT_EQ(data.SampleNames, std::vector<std::string>{"S0.CFN"});

  // A sample whose file went away keeps its segments when read again.
  const std::vector<IntegrationSegment> before = data.Segments;
  ASSERT_TRUE(platform::RemoveFile(ResultFolder() + "S0.CFN"));
  EXPECT_THROW(data.ReintegrateSample(0), CFileException);
  EXPECT_EQ(data.Segments, before);
}

}  // namespace
}  // namespace qova::test
