// Message boxes through the replaceable sink.
#include "platform/MessageBox.h"

#include <gtest/gtest.h>

namespace {

using namespace platform;

TEST(MessageBoxTest, DefaultButtonFollowsTheBoxType) {
  struct Case {
    UINT type;
    int button;
  };
  const Case cases[] = {
      {MB_OK, IDOK},
      {MB_OK | MB_ICONSTOP, IDOK},
      {MB_OKCANCEL, IDOK},
      {MB_OKCANCEL | MB_DEFBUTTON2, IDCANCEL},
      {MB_YESNO | MB_ICONQUESTION, IDYES},
      {MB_YESNO | MB_DEFBUTTON2, IDNO},
      {MB_YESNOCANCEL | MB_DEFBUTTON3, IDCANCEL},
      {MB_YESNO | MB_DEFBUTTON3, IDYES},  // no third button: the first
  };
  for (const Case& c : cases) EXPECT_EQ(DefaultButton(c.type), c.button) << std::hex << c.type;
}

TEST(MessageBoxTest, RecordingSinkAnswersFromItsQueueThenWithDefaults) {
  ScopedRecordingSink sink;
  sink.QueueAnswer(IDNO);
  EXPECT_EQ(AfxMessageBox("Overwrite?", MB_YESNO | MB_ICONQUESTION), IDNO);
  EXPECT_EQ(AfxMessageBox("Overwrite again?", MB_YESNO), IDYES);
  EXPECT_EQ(AfxMessageBox("Done"), IDOK);
  ASSERT_EQ(sink.AllShown().size(), 3u);
  EXPECT_EQ(sink.AllShown()[0].type, MB_YESNO | MB_ICONQUESTION);
  EXPECT_EQ(sink.AllShown()[0].answer, IDNO);
  EXPECT_EQ(sink.AllShown()[1].answer, IDYES);
  EXPECT_EQ(sink.Texts(), (std::vector<std::string>{"Overwrite?", "Overwrite again?", "Done"}));
  sink.Clear();
  EXPECT_TRUE(sink.Empty());
}

TEST(MessageBoxTest, ScopedSinksNestAndRestore) {
  ScopedRecordingSink outer;
  {
    ScopedRecordingSink inner;
    AfxMessageBox("inner");
    EXPECT_EQ(&CurrentMessageSink(), &inner);
  }
  EXPECT_EQ(&CurrentMessageSink(), &outer);
  AfxMessageBox("outer");
  EXPECT_EQ(outer.Texts(), std::vector<std::string>{"outer"});
}

TEST(MessageBoxTest, DefaultSinkPrintsAndAnswersTheDefault) {
  testing::internal::CaptureStderr();
  int answer = AfxMessageBox("The file could not be read.", MB_YESNO | MB_DEFBUTTON2);
  std::string printed = testing::internal::GetCapturedStderr();
  EXPECT_EQ(answer, IDNO);
  EXPECT_NE(printed.find("The file could not be read."), std::string::npos);
}

}  // namespace
