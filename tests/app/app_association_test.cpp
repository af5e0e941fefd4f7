// An association study in the running program: opened from its file, a
// second window on it, CalcChi2 reaching both windows, saved, closed with and
// without the question, and opened again.
#include <algorithm>

#include "core/ArrayTypes.h"
#include "platform/File.h"
#include "platform/ui/Headless.h"
#include "resources/CommandIds.h"
#include "tests/app/AppTestSupport.h"
#include "views/association/QOVAAssDoc.h"
#include "views/association/QOVAAssView.h"

namespace qova::test {
namespace {

namespace res = qova::resources;

class AppAssociationTest : public AppTest {
 protected:
  AppAssociationTest() {
    EXPECT_TRUE(Start());
    study_ = home_.Path("study.AAD");
    WriteAssociationFile(study_);
  }

  CQOVAAssDoc* OpenStudy() { return dynamic_cast<CQOVAAssDoc*>(App().OpenDocumentFile(study_.c_str())); }
  std::vector<CQOVAAssView*> ViewsOf(CQOVAAssDoc& doc) {
    std::vector<CQOVAAssView*> views;
    for (CView* view : doc.Views()) views.push_back(dynamic_cast<CQOVAAssView*>(view));
    return views;
  }

  std::string study_;
};

TEST_F(AppAssociationTest, CalcChi2ReachesBothWindowsOfANewWindowPair) {
  CQOVAAssDoc* doc = OpenStudy();
  ASSERT_NE(doc, nullptr);
  EXPECT_FALSE(doc->IsModified());
  CQOVAAssView* first = ViewsOf(*doc).at(0);
  ASSERT_TRUE(first->m_bDataShown);
  // The first window shows chromosome 8 when the second one opens on it.
  first->m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  first->m_nChromosome = 8;
  ASSERT_TRUE(Choose(ID_WINDOW_NEW));
  const std::vector<CQOVAAssView*> views = ViewsOf(*doc);
  ASSERT_EQ(views.size(), 2u);
  CQOVAAssView* second = views[1];
  EXPECT_TRUE(second->m_nViewFlags & VIEW_ONE_CHROMOSOME);
  EXPECT_EQ(second->m_nChromosome, 8);

  for (CQOVAAssView* view : views) view->m_nMouseMode = MOUSE_MEASURE;
  ASSERT_TRUE(Choose(res::kCmdCalcChi2));
  EXPECT_TRUE(doc->IsModified());
  for (CQOVAAssView* view : views) {
    EXPECT_EQ(view->m_nMouseMode, 0) << "every view updated";
    EXPECT_TRUE(view->m_bDataShown);
    EXPECT_TRUE(Ui().IsInvalidated(*view));
  }
  // Every SNP of the study is heterozygous in both samples: valid, nothing to tell apart.
  const std::vector<std::int32_t>& valid = doc->m_Data.valid;
  EXPECT_EQ(std::count(valid.begin(), valid.end(), 1), core::kArrayChromosomeStarts[1][24]);
  EXPECT_TRUE(messages_.Empty()) << messages_.Texts()[0];
}

TEST_F(AppAssociationTest, ASavedStudyClosesWithoutAQuestionAndOpensAgainEqual) {
  CQOVAAssDoc* doc = OpenStudy();
  ASSERT_NE(doc, nullptr);
  // Opened and closed at once: nothing to ask.
  ASSERT_TRUE(Choose(ID_FILE_CLOSE));
  EXPECT_EQ(DocumentCount(2), 0);
  EXPECT_TRUE(messages_.Empty());

  doc = OpenStudy();
  ASSERT_TRUE(Choose(res::kCmdCalcChi2));
  ASSERT_TRUE(doc->IsModified());
  const AssociationData computed = doc->m_Data;
  ASSERT_TRUE(Choose(ID_FILE_SAVE));
  EXPECT_FALSE(doc->IsModified());
  ASSERT_TRUE(Choose(ID_FILE_CLOSE));
  EXPECT_TRUE(messages_.Empty());

  doc = OpenStudy();
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->m_strStatus, "Analysis");
  EXPECT_FALSE(doc->IsModified());
  EXPECT_EQ(doc->m_Data.caseNames, computed.caseNames);
  EXPECT_EQ(doc->m_Data.calls, computed.calls);
  EXPECT_EQ(doc->m_Data.valid, computed.valid);
  EXPECT_EQ(doc->m_Data.pValue, computed.pValue);

  // A modified study asks; No closes it and leaves the file as it was.
  std::string before;
  ASSERT_TRUE(platform::ReadWholeFile(study_, before));
  ASSERT_TRUE(Choose(res::kCmdCalcChi2));
  messages_.QueueAnswer(IDNO);
  ASSERT_TRUE(Choose(ID_FILE_CLOSE));
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_NE(messages_.Texts()[0].find("study.AAD"), std::string::npos);
  EXPECT_EQ(DocumentCount(2), 0);
  std::string after;
  ASSERT_TRUE(platform::ReadWholeFile(study_, after));
  EXPECT_TRUE(before == after);
}

TEST_F(AppAssociationTest, ATruncatedStudyIsNamedAndOpensNoDocument) {
  std::string whole;
  ASSERT_TRUE(platform::ReadWholeFile(study_, whole));
  const std::string truncated = home_.Path("truncated.AAD");
  ASSERT_TRUE(platform::WriteWholeFile(truncated, whole.substr(0, whole.size() / 2)));
  EXPECT_EQ(App().OpenDocumentFile(truncated.c_str()), nullptr);
  EXPECT_EQ(DocumentCount(2), 0);
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_NE(messages_.Texts()[0].find("truncated.AAD"), std::string::npos);
}

}  // namespace
}  // namespace qova::test
