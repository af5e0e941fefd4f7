// Reading an association's genotype calls from generated CHP files, running
// its test on them, and its .AAD file.
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "arrayfiles/unified/UnifiedCHPData.h"
#include "core/ArchiveFile.h"
#include "platform/Archive.h"
#include "tests/analysis/AssociationTestSupport.h"
#include "tools/arraywriters/CdfWriters.h"
#include "tools/arraywriters/GenericWriter.h"
#include "tools/arraywriters/LegacyChpWriters.h"

namespace core = qova::core;

namespace qova::test {
namespace {

constexpr const char* kNotPerformed = "SNPs call is not performed";

class AssociationReadTest : public AssociationDataTest {
 protected:
  [[nodiscard]] std::int32_t First() const { return global_.ArrayFirstSnpIndex[1]; }
  [[nodiscard]] std::int32_t LastTested() const { return global_.ArrayLastSnpIndexX[1]; }

  // What a read leaves for a sample whose CHP file holds `written` (position
  // order): its calls at the tested positions, 0 elsewhere.
  [[nodiscard]] std::vector<std::uint8_t> Tested(const std::vector<std::uint8_t>& written) const {
    std::vector<std::uint8_t> out(written.size(), 0);
    std::copy(written.begin() + First(), written.begin() + LastTested() + 1, out.begin() + First());
    return out;
  }

  void WriteFile(const std::string& name, const std::string& bytes) const {
    ASSERT_TRUE(arraywriters::WriteBytes(DataFolder() + name, bytes));
  }
};

TEST_F(AssociationReadTest, ReadsAStudyAndItsTestFindsThePlantedSnps) {
  arraygen::CaseControlSpec spec;
  spec.ChpForms = {arraygen::ChpForm::kXda, arraygen::ChpForm::kGeneric};
  AssociationData data(global_);
  const arraygen::CaseControlStudy study = WriteStudy(spec, data);
  const std::size_t corrupt = 4, missing = 100 + 9;
  WriteFile(study.CaseFiles[4], std::string(3000, '\x5a'));
  ASSERT_TRUE(platform::RemoveFile(DataFolder() + study.ControlFiles[9]));

  ASSERT_TRUE(data.ReadGenotypeCalls());
  std::vector<std::string> reading;
  for (const auto* names : {&study.CaseFiles, &study.ControlFiles}) {
    for (const std::string& name : *names) reading.push_back("Reading " + name);
  }
  EXPECT_EQ(app_.statusTexts, reading);
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>(2, kNotPerformed));
  ASSERT_EQ(data.calls.size(), 200u);
  for (std::size_t s = 0; s < data.calls.size(); ++s) {
    const bool unread = s == corrupt || s == missing;
    EXPECT_EQ(data.calls[s], unread ? std::vector<std::uint8_t>(10204, 0) : Tested(study.Genotypes.Calls[s])) << s;
  }

  data.workerThreads = 3;
  app_.statusTexts.clear();
  ASSERT_TRUE(data.PermutationTest());
  EXPECT_EQ(app_.statusTexts, std::vector<std::string>{"Permutation"});
  // The observed statistics against a count of the call bytes.
  const PlainEvaluation observed = EvaluatePlainly(data.calls, 100, First(), LastTested(), 0);
  EXPECT_EQ(data.valid, observed.valid);
  std::vector<float> otherP, allP;
  for (std::int32_t i = First(); i <= LastTested(); ++i) {
    const auto k = static_cast<std::size_t>(i);
    if (observed.valid[k] == 0) continue;
    EXPECT_NEAR(data.chiSquare[k], observed.chiSquare[k], 1e-5 * std::max(1.0f, observed.chiSquare[k])) << i;
    allP.push_back(data.pValue[k]);
    if (!std::binary_search(study.Genotypes.Associated.begin(), study.Genotypes.Associated.end(), i)) {
      otherP.push_back(data.pValue[k]);
    }
  }
  std::sort(allP.begin(), allP.end());
  const float onePercent = allP[allP.size() / 100 - 1];
  for (std::int32_t i : study.Genotypes.Associated) {
    EXPECT_EQ(data.valid[static_cast<std::size_t>(i)], 1) << i;
    EXPECT_LE(data.pValue[static_cast<std::size_t>(i)], onePercent) << i;
  }
  const double share =
      static_cast<double>(std::count_if(otherP.begin(), otherP.end(), [](float p) { return p < 0.05f; })) / otherP.size();
  EXPECT_GT(share, 0.03);
  EXPECT_LT(share, 0.07);

  const std::vector<float> firstRun = data.pValue;
  data.workerThreads = 1;
  ASSERT_TRUE(data.PermutationTest());
  EXPECT_EQ(std::memcmp(firstRun.data(), data.pValue.data(), firstRun.size() * sizeof(float)), 0);
}

TEST_F(AssociationReadTest, AMissingLibraryFileEndsAtOnceWithNothingShownOrKept) {
  AssociationData data(global_);
  data.arrayType = kAssociationType;
  data.caseNames = {"Case001.CHP"};
  data.controlNames = {"Control001.CHP"};
  EXPECT_FALSE(data.ReadGenotypeCalls());
  EXPECT_TRUE(messages_.Empty());
  EXPECT_EQ(progressDialogs_, 0);
  EXPECT_FALSE(data.HasArrays());
  EXPECT_TRUE(data.calls.empty());
  EXPECT_TRUE(data.nullHistogram.empty());

  // GenomeWideSNP_5 reads "GenomeWideSNP_5.Full.cdf"; here its annotation
  // table is not loaded, which is said, and nothing is read either.
  data.arrayType = "GenomeWideSNP_5";
  ASSERT_TRUE(platform::CreateFolders(LibraryFolder()));
  ASSERT_TRUE(arraywriters::WriteBytes(LibraryFolder() + "GenomeWideSNP_5.CDF", "x"));
  EXPECT_FALSE(data.ReadGenotypeCalls());
  EXPECT_TRUE(messages_.Empty());
  ASSERT_TRUE(arraywriters::WriteBytes(LibraryFolder() + "GenomeWideSNP_5.Full.cdf", "x"));
  EXPECT_FALSE(data.ReadGenotypeCalls());
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{"The annotation table of GenomeWideSNP_5 is not loaded"});
  EXPECT_EQ(progressDialogs_, 0);
  EXPECT_FALSE(data.HasArrays());
}

TEST_F(AssociationReadTest, CancelWhileReadingStopsBeforeTheNextSampleAndKeepsNoArrays) {
  arraygen::CaseControlSpec spec;
  spec.Cases = 3;
  spec.Controls = 3;
  AssociationData data(global_);
  WriteStudy(spec, data);
  Ui().OnModeless(qova::resources::kProgressDialog, [this](platform::ui::DialogDriver& d) {
    app_.dialog = &d.Window();
    d.Post([this](platform::ui::DialogDriver& p) {
      app_.statusTexts.push_back(p.Text(qova::resources::kProgressStatus));
      p.Click(IDCANCEL);
    });
  });
  EXPECT_FALSE(data.ReadGenotypeCalls());
  EXPECT_EQ(app_.statusTexts, std::vector<std::string>{"Reading Case001.CHP"});
  EXPECT_FALSE(data.HasArrays());
  EXPECT_TRUE(data.calls.empty());
}

// A registration for generic files that no other registration takes, whose
// objects throw when they read: a reader that refuses a file by throwing.
class ThrowingChp : public unified_io::UnifiedCHPData {
 public:
  bool Read() override { throw std::runtime_error("unreadable"); }
  bool ReadHeader() override { throw std::runtime_error("unreadable"); }
  std::string GetFileId() override { return {}; }
  generic_io::GenericData* GetGenericData() override { return nullptr; }
  [[nodiscard]] std::string GetObjectName() const override { return "ThrowingChp"; }
};

class ThrowingRegistration : public unified_io::UnifiedCHPDataReg {
 public:
  [[nodiscard]] std::unique_ptr<unified_io::UnifiedCHPData> MakeObject() const override {
    return std::make_unique<ThrowingChp>();
  }
};

TEST_F(AssociationReadTest, AReaderThatThrowsAndAShortChpFileLoseOnlyWhatTheyCannotGive) {
  arraygen::CaseControlSpec spec;
  spec.Cases = 1;
  spec.Controls = 2;
  spec.AssociatedSnps = 0;
  AssociationData data(global_);
  const arraygen::CaseControlStudy study = WriteStudy(spec, data);
  const ThrowingRegistration registration;
  const arraygen::ArrayDesign design(kAssociationType, spec.Seed, spec.Layout);
  WriteFile(study.ControlFiles[0], arraywriters::GenericCdfImage(design.Layout()));

  // The second control's CHP file holds only the first `rows` probe sets.
  const int rows = 4000;
  CArrayData sample(core::kArrayFamilies[1].snpCount);
  sample.Header.LastSnpIndex = LastTested();
  for (std::int32_t i = First(); i <= LastTested(); ++i) {
    sample.Call[static_cast<std::size_t>(Annotation().IndexMap[static_cast<std::size_t>(i)])] =
        study.Genotypes.Calls[2][static_cast<std::size_t>(i)];
  }
  arraywriters::XdaChpFile chp;
  chp.cols = design.Layout().cols;
  chp.rows = design.Layout().rows;
  chp.chipType = kAssociationType;
  const std::vector<std::uint8_t> codes = design.ChpCalls(sample);
  for (int j = 0; j < rows; ++j) chp.genotyping.push_back({.call = codes[static_cast<std::size_t>(j)]});
  WriteFile(study.ControlFiles[1], chp.Bytes());

  ASSERT_TRUE(data.ReadGenotypeCalls());
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{kNotPerformed});
  EXPECT_EQ(data.calls[0], Tested(study.Genotypes.Calls[0]));
  EXPECT_EQ(data.calls[1], std::vector<std::uint8_t>(10204, 0));
  std::vector<std::uint8_t> shortened = Tested(study.Genotypes.Calls[2]);
  int kept = 0;
  for (std::int32_t i = First(); i <= LastTested(); ++i) {
    const std::int32_t set = Annotation().IndexMap[static_cast<std::size_t>(i)] - First();
    if (design.SnpProbeSets()[static_cast<std::size_t>(set)] >= rows) shortened[static_cast<std::size_t>(i)] = 0;
    else kept += shortened[static_cast<std::size_t>(i)] != 0;
  }
  EXPECT_GT(kept, 3000);
  EXPECT_EQ(data.calls[2], shortened);
}

class AssociationFileTest : public AssociationDataTest {
 protected:
  AssociationFileTest() : data_(global_) {
    arraygen::CaseControlSpec spec;
    spec.Cases = 3;
    spec.Controls = 2;
    SetCalls(data_, 3, arraygen::MakeCaseControlCalls(spec).Calls);
    data_.caseNames = {"Case A.CHP", "b.chp", "c.brlmm.CHP"};
    data_.controlNames = {"d.CHP", ""};
    data_.workerThreads = 2;
    data_.permutationBatch = 1000;
    data_.PermutationTest();
    for (std::size_t i = 0; i < data_.valid.size(); i += 97) {
      data_.reserved1[i] = 0.25f * static_cast<float>(i);
      data_.reserved2[i] = -1.5f;
    }
    path_ = Root() + "study.AAD";
    core::StoreArchiveFile(path_, [this](CArchive& ar) { data_.Serialize(ar); });
    EXPECT_TRUE(platform::ReadWholeFile(path_, bytes_));
  }

  void Load(AssociationData& into) const {
    core::LoadArchiveFile(path_, [&](CArchive& ar) { into.Serialize(ar); });
  }

  AssociationData data_;
  std::string path_;
  std::string bytes_;
};

TEST_F(AssociationFileTest, StoreThenLoadGivesTheDataBackWithAnEmptyHistogram) {
  const std::size_t n = 10204;
  std::size_t names = 0;
  for (const auto* list : {&data_.caseNames, &data_.controlNames}) {
    for (const std::string& name : *list) names += 1 + name.size();
  }
  EXPECT_EQ(bytes_.size(), 6 + 4 + 4 + names + 1 + std::strlen(kAssociationType) + 5 * n + 20 * n);
  EXPECT_EQ(bytes_.substr(0, 6), std::string("\x05" "1.000"));

  AssociationData loaded(global_);
  Load(loaded);
  ExpectSameAssociationData(loaded, data_);
  EXPECT_EQ(loaded.version, "1.000");
  EXPECT_EQ(loaded.nullHistogram, std::vector<std::int32_t>(10001, 0));
}

TEST_F(AssociationFileTest, BadFilesAreRefusedNamingTheFileAndTheOpenDataStays) {
  const std::size_t results = 20 * 10204;
  const std::size_t typeAt = bytes_.find(kAssociationType);
  std::string hugeCount = bytes_;
  std::memcpy(&hugeCount[6], "\xff\xff\xff\x7f", 4);
  std::string unknownType = bytes_;
  unknownType[typeAt + std::strlen(kAssociationType) - 1] = '9';
  std::string negative = bytes_;
  std::memcpy(&negative[6], "\xff\xff\xff\xff", 4);
  const std::pair<const char*, std::string> cases[] = {
      {"cut in the version", bytes_.substr(0, 3)},
      {"cut in the names", bytes_.substr(0, 20)},
      {"cut in the calls", bytes_.substr(0, bytes_.size() - results - 100)},
      {"cut in the results", bytes_.substr(0, bytes_.size() - 1)},
      {"a byte too many", bytes_ + '\0'},
      {"case count 2^31 - 1", hugeCount},
      {"negative case count", negative},
      {"unknown array type", unknownType},
  };
  AssociationData open(global_);
  Load(open);
  for (const auto& [what, bytes] : cases) {
    ASSERT_TRUE(arraywriters::WriteBytes(path_, bytes));
    try {
      Load(open);
      ADD_FAILURE() << what << " was loaded";
    } catch (const CArchiveException& e) {
      EXPECT_NE(std::string(e.what()).find("study.AAD"), std::string::npos) << what << ": " << e.what();
    }
    ExpectSameAssociationData(open, data_);
  }
}

}  // namespace
}  // namespace qova::test
