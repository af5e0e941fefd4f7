// Window > New Window on the main document: the second main view opens in
// the state of the active one.
#include "platform/ui/Frame.h"
#include "tests/app/AppTestSupport.h"
#include "views/main/QOVAView.h"

namespace qova::test {
namespace {

class AppMainViewTest : public AppTest {
 protected:
  AppMainViewTest() { EXPECT_TRUE(Start()); }
  CQOVAView* ActiveView() {
    CMDIChildWnd* child = MainFrame().MDIGetActive();
    return child ? dynamic_cast<CQOVAView*>(child->GetActiveView()) : nullptr;
  }
};

TEST_F(AppMainViewTest, NewWindowCopiesChromosomeAveragingAndSettings) {
  CQOVAView* source = ActiveView();
  ASSERT_NE(source, nullptr);
  source->m_nChromosome = 7;
  source->m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  source->m_nAverageNumber = 4;
  source->m_nAverageMode = 2;
  source->m_nDrawMode = 1;
  source->m_pDisplaySetting->DISP.ALL_X = 150;
  source->m_pDisplaySetting->ITEMS.NONSELF = 0x437 | 0x800;

  ASSERT_TRUE(Choose(ID_WINDOW_NEW));
  CQOVAView* copy = ActiveView();
  ASSERT_NE(copy, nullptr);
  ASSERT_NE(copy, source);
  EXPECT_EQ(copy->GetDocument(), source->GetDocument());
  EXPECT_EQ(copy->m_nChromosome, 7);
  EXPECT_TRUE(copy->m_nViewFlags & VIEW_ONE_CHROMOSOME);
  EXPECT_EQ(copy->m_nAverageNumber, 4);
  EXPECT_EQ(copy->m_nAverageMode, 2);
  EXPECT_EQ(copy->m_nDrawMode, 1);
  EXPECT_EQ(copy->m_pDisplaySetting->ITEMS.NONSELF, 0x437 | 0x800);
  // The display size is set afresh from the copied block.
  EXPECT_EQ(copy->m_nAllSizeX, 150);
  EXPECT_EQ(copy->m_nSizeX, 150);

  // A new document's view starts from the settings instead.
  ASSERT_TRUE(Choose(ID_FILE_NEW));
  CQOVAView* fresh = ActiveView();
  ASSERT_NE(fresh, nullptr);
  EXPECT_NE(fresh->GetDocument(), source->GetDocument());
  EXPECT_EQ(fresh->m_nChromosome, 1);
  EXPECT_EQ(fresh->m_nAverageNumber, 10);
  EXPECT_EQ(fresh->m_pDisplaySetting->ITEMS.NONSELF, 0x437);
}

}  // namespace
}  // namespace qova::test
