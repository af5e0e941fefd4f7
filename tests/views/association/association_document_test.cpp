// The association document as File > Open, File > Save and Analysis >
// CalcChi2 drive it: a study of generated CHP files read into its data, the
// test run under the progress dialog, the .AAD file written and read back.
#include <gmock/gmock.h>

#include <filesystem>
#include <fstream>

#include "platform/ui/DC.h"
#include "resources/CommandIds.h"
#include "tests/analysis/AssociationTestSupport.h"
#include "views/association/QOVAAssDoc.h"

namespace qova::test {
namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

// A view that counts the updates its document sends it.
class CountingView : public CView {
 public:
  void OnDraw(CDC*) override {}
  void OnUpdate(CView*, LPARAM, CObject*) override { ++updates; }
  int updates = 0;
};

class AssociationDocumentTest : public AssociationDataTest {
 protected:
  AssociationDocumentTest() {
    global_.Cytoband = std::make_unique<CCytoband>();
    CCytoband& bands = *global_.Cytoband;
    bands.BandCount = 2;
    bands.BandStart = {0, 1000};
    bands.BandEnd = {1000, 2000};
    bands.BandStain = {1, 2};
    bands.BandCode = {CCytoband::EncodeBand(true, 1, 0), CCytoband::EncodeBand(false, 1, 0)};
    bands.BandFirstSnp = bands.BandLastSnp = {0, 0};
    bands.ChromosomeFirstBand[2] = 2;
  }

  // A document holding a read study of `cases` and `controls` samples.
  std::unique_ptr<CQOVAAssDoc> StudyDocument(int cases, int controls, arraygen::CaseControlStudy* written = nullptr) {
    auto doc = std::make_unique<CQOVAAssDoc>(global_);
    doc->m_bAutoDelete = FALSE;
    arraygen::CaseControlSpec spec;
    spec.Cases = cases;
    spec.Controls = controls;
    spec.AssociatedSnps = 8;
    spec.FrequencyRaise = 0.4;
    arraygen::CaseControlStudy study = WriteStudy(spec, doc->m_Data);
    EXPECT_TRUE(doc->m_Data.ReadGenotypeCalls());
    doc->m_strStatus = CQOVAAssDoc::kStatusAnalysis;
    if (written) *written = std::move(study);
    return doc;
  }

  [[nodiscard]] std::string AadPath(const char* name) const { return Root() + name; }
};

TEST_F(AssociationDocumentTest, StartsCleanWithItsOwnCopyOfTheBandTable) {
  CQOVAAssDoc doc(global_);
  EXPECT_EQ(doc.m_strStatus, "Clean");
  EXPECT_FALSE(doc.m_Data.HasArrays());
  EXPECT_EQ(doc.m_Cytoband.BandCount, 2);
  EXPECT_EQ(doc.m_Cytoband.BandEnd, global_.Cytoband->BandEnd);
  // The application's table may be mapped to another type later; the copy stays.
  global_.Cytoband->BandEnd[1] = 5000;
  EXPECT_EQ(doc.m_Cytoband.BandEnd[1], 2000);
}

TEST_F(AssociationDocumentTest, CalcChi2FindsTheAssociatedSnpsMarksModifiedAndUpdatesEveryView) {
  arraygen::CaseControlStudy study;
  std::unique_ptr<CQOVAAssDoc> doc = StudyDocument(60, 60, &study);
  CountingView first, second;
  doc->AddView(&first);
  doc->AddView(&second);
  ASSERT_FALSE(doc->IsModified());
  ASSERT_TRUE(doc->OnCmdMsg(resources::kCmdCalcChi2, 0, nullptr, nullptr));
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(first.updates, 1);
  EXPECT_EQ(second.updates, 1);
  EXPECT_EQ(progressDialogs_, 2);  // the read of the calls, then the permutations

  const AssociationData& data = doc->m_Data;
  const std::vector<std::int32_t>& associated = study.Genotypes.Associated;
  ASSERT_EQ(associated.size(), 8u);
  int found = 0;
  for (std::int32_t i : associated) {
    ASSERT_EQ(data.valid[i], 1) << "position " << i;
    if (data.pValue[i] < 1e-4f) ++found;
  }
  EXPECT_GE(found, 7);
  // Among the other SNPs hardly any reach that level.
  int others = 0;
  for (std::size_t i = 0; i < data.valid.size(); ++i) {
    const bool planted = std::find(associated.begin(), associated.end(), std::int32_t(i)) != associated.end();
    if (!planted && data.valid[i] == 1 && data.pValue[i] < 1e-4f) ++others;
  }
  EXPECT_LE(others, 3);
  EXPECT_TRUE(messages_.Empty());
  doc->RemoveView(&first);
  doc->RemoveView(&second);
}

TEST_F(AssociationDocumentTest, CancelDuringThePermutationsKeepsTheCompletedBatchAndStillMarksModified) {
  std::unique_ptr<CQOVAAssDoc> doc = StudyDocument(20, 20);
  CountingView view;
  doc->AddView(&view);
  doc->m_Data.permutationBatch = 50;
  app_.pumps = 0;
  app_.cancelAtPump = 1;
  doc->OnCalcChi2();
  EXPECT_TRUE(doc->IsModified());
  EXPECT_EQ(view.updates, 1);

  const AssociationData& data = doc->m_Data;
  const std::int64_t validSnps = std::count(data.valid.begin(), data.valid.end(), 1);
  ASSERT_GT(validSnps, 0);
  std::int64_t counted = 0;
  for (std::int32_t h : data.nullHistogram) counted += h;
  EXPECT_EQ(counted, 50 * validSnps);  // only the first batch
  int withP = 0;
  for (std::size_t i = 0; i < data.valid.size(); ++i)
    if (data.valid[i] == 1 && data.pValue[i] > 0.0f) ++withP;
  EXPECT_GT(withP, validSnps / 2);
  doc->RemoveView(&view);
}

TEST_F(AssociationDocumentTest, SaveThenOpenReproducesTheStudyUnmodifiedInTheAnalysisState) {
  std::unique_ptr<CQOVAAssDoc> doc = StudyDocument(12, 10);
  doc->m_Data.permutationBatch = 500;
  doc->OnCalcChi2();
  ASSERT_TRUE(doc->IsModified());
  const std::string path = AadPath("study.AAD");
  ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
  EXPECT_FALSE(doc->IsModified());
  EXPECT_TRUE(messages_.Empty());

  CQOVAAssDoc opened(global_);
  opened.m_bAutoDelete = FALSE;
  ASSERT_TRUE(opened.OnOpenDocument(path.c_str()));
  EXPECT_EQ(opened.m_strStatus, "Analysis");
  EXPECT_FALSE(opened.IsModified());
  ExpectSameAssociationData(opened.m_Data, doc->m_Data);
  // Saving the opened study writes the same bytes again.
  const std::string again = AadPath("again.AAD");
  ASSERT_TRUE(opened.OnSaveDocument(again.c_str()));
  std::string a, b;
  ASSERT_TRUE(platform::ReadWholeFile(path, a));
  ASSERT_TRUE(platform::ReadWholeFile(again, b));
  EXPECT_TRUE(a == b);
  // CalcChi2 right after Open recomputes the same numbers from the stored calls.
  opened.m_Data.permutationBatch = 500;
  opened.OnCalcChi2();
  EXPECT_TRUE(opened.IsModified());
  EXPECT_EQ(opened.m_Data.pValue, doc->m_Data.pValue);
  EXPECT_TRUE(messages_.Empty());
}

TEST_F(AssociationDocumentTest, AFileThatCannotBeReadIsNamedAndLeavesTheDocumentAsItWas) {
  std::unique_ptr<CQOVAAssDoc> doc = StudyDocument(6, 6);
  const std::string path = AadPath("study.AAD");
  ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
  std::string whole;
  ASSERT_TRUE(platform::ReadWholeFile(path, whole));
  const std::string truncated = AadPath("truncated.AAD");
  std::ofstream(truncated, std::ios::binary) << whole.substr(0, whole.size() - 7);
  const std::string foreign = AadPath("foreign.AAD");
  std::ofstream(foreign, std::ios::binary) << "not an association study at all";

  for (const std::string& bad : {truncated, foreign, AadPath("missing.AAD")}) {
    SCOPED_TRACE(bad);
    messages_.Clear();
    CQOVAAssDoc opened(global_);
    opened.m_bAutoDelete = FALSE;
    EXPECT_FALSE(opened.OnOpenDocument(bad.c_str()));
    ASSERT_EQ(messages_.Texts().size(), 1u);
    EXPECT_THAT(messages_.Texts()[0], HasSubstr(fs::path(bad).filename().string()));
    EXPECT_EQ(opened.m_strStatus, "Clean");
    EXPECT_FALSE(opened.m_Data.HasArrays());
  }
  // A document already holding a study keeps it when a damaged file is opened into it.
  messages_.Clear();
  const std::vector<std::string> cases = doc->m_Data.caseNames;
  EXPECT_FALSE(doc->OnOpenDocument(truncated.c_str()));
  EXPECT_EQ(doc->m_Data.caseNames, cases);
  EXPECT_TRUE(doc->m_Data.HasArrays());
  EXPECT_EQ(messages_.Texts().size(), 1u);
}

TEST_F(AssociationDocumentTest, AFailedSaveIsNamedKeepsTheOldFileAndTheDocumentModified) {
  std::unique_ptr<CQOVAAssDoc> doc = StudyDocument(6, 6);
  const std::string path = AadPath("study.AAD");
  ASSERT_TRUE(doc->OnSaveDocument(path.c_str()));
  std::string before;
  ASSERT_TRUE(platform::ReadWholeFile(path, before));
  doc->SetModifiedFlag(TRUE);
  const std::string nowhere = AadPath("no such folder/study.AAD");
  EXPECT_FALSE(doc->OnSaveDocument(nowhere.c_str()));
  EXPECT_TRUE(doc->IsModified());
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_THAT(messages_.Texts()[0], HasSubstr("study.AAD"));
  std::string after;
  ASSERT_TRUE(platform::ReadWholeFile(path, after));
  EXPECT_TRUE(before == after);
}

}  // namespace
}  // namespace qova::test
