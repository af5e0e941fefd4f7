// File > Open of a copy-number change text in the program: a graph window
// with the chart; a file that does not fit opens nothing; on the command
// line, neither does a file that no document reads.
#include <gmock/gmock.h>

#include "platform/File.h"
#include "platform/ui/Headless.h"
#include "tests/app/AppTestSupport.h"
#include "tests/views/graph/GraphTestSupport.h"

namespace qova::test {
namespace {

class AppGraphTest : public AppTest {
 protected:
  AppGraphTest() { EXPECT_TRUE(Start()); }
  bool OpenThroughTheMenu(const std::string& path) {
    Ui().OnFileDialog([path](platform::ui::FileDialogRequest& r) {
      r.chosen = {path};
      return true;
    });
    return Choose(ID_FILE_OPEN);
  }
};

TEST_F(AppGraphTest, FileOpenOfAChangeTextShowsTheChart) {
  ASSERT_TRUE(platform::WriteWholeFile(home_.Path("changes.txt"), PatternChangeText(12)));
  ASSERT_TRUE(OpenThroughTheMenu(home_.Path("changes.txt")));
  auto* doc = dynamic_cast<CQOVAGraphDoc*>(MainFrame().GetActiveDocument());
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->m_Samples.size(), 12u);
  EXPECT_EQ(doc->GetTitle(), "changes.txt");
  CView* view = MainFrame().MDIGetActive()->GetActiveView();
  ASSERT_NE(view, nullptr);
  const platform::ui::Picture shown = Ui().Paint(*view);
  EXPECT_NE(shown.FindText("S12"), nullptr);
  EXPECT_EQ(FillsOf(shown, doc->m_pSetting->m_Colour[2]), 12u * 23u);
  EXPECT_TRUE(messages_.Empty());

  ASSERT_TRUE(platform::WriteWholeFile(home_.Path("broken.txt"), std::string(kChangeHeader) + "S1\t1\t3\n"));
  ASSERT_TRUE(OpenThroughTheMenu(home_.Path("broken.txt")));
  EXPECT_EQ(DocumentCount(1), 1);
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_THAT(messages_.Texts()[0], ::testing::HasSubstr("line 2"));
}

class AppCommandLineTest : public AppTest {};

// `qova garbage.dat`: a file that neither a graph nor a study reads is
// refused with one message naming it, and, as a graph text that does not
// fit, it ends the start with no document made.
TEST_F(AppCommandLineTest, AFileNoDocumentReadsIsRefusedWithOneMessageAndNoDocument) {
  const std::string garbage = home_.Path("garbage.dat");
  const char bytes[] = "\x89\x01\xFE random bytes\0\x7F";
  ASSERT_TRUE(platform::WriteWholeFile(garbage, std::string(bytes, sizeof bytes - 1)));
  EXPECT_FALSE(Start(CompleteStartFolder(), {garbage}));
  EXPECT_EQ(messages_.Texts(), std::vector<std::string>{garbage + " cannot be opened: File > Open opens graph texts "
                                                                  "(*.txt) and association studies (*.AAD). Results "
                                                                  "are shown through Data > DisplaySamples."});
  for (int index : {0, 1, 2}) EXPECT_EQ(DocumentCount(index), 0) << index;
}

// `qova /home/user/changes.txt`: the absolute path is the file to open, not a flag.
TEST_F(AppCommandLineTest, AnAbsolutePathOnTheCommandLineOpensThatFile) {
  const std::string path = home_.Path("changes.txt");
  ASSERT_EQ(path.front(), '/');
  ASSERT_TRUE(platform::WriteWholeFile(path, PatternChangeText(3)));
  ASSERT_TRUE(Start(CompleteStartFolder(), {path}));
  auto* doc = dynamic_cast<CQOVAGraphDoc*>(MainFrame().GetActiveDocument());
  ASSERT_NE(doc, nullptr);
  EXPECT_EQ(doc->m_Samples.size(), 3u);
  EXPECT_EQ(DocumentCount(0), 0);
  EXPECT_EQ(DocumentCount(1), 1);
  EXPECT_TRUE(messages_.Empty());
}

}  // namespace
}  // namespace qova::test
