// The graph's settings: the file they are saved to and read from, and the
// dialog that edits them, run from the Setting menu as a user would.
#include <gmock/gmock.h>

#include <cstring>
#include <filesystem>

#include "resources/CommandIds.h"
#include "tests/views/graph/GraphTestSupport.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using ::testing::HasSubstr;

std::vector<std::string> LinesOf(const std::string& path) {
  std::string bytes;
  EXPECT_TRUE(platform::ReadWholeFile(path, bytes));
  return platform::SplitLines(bytes);
}

LOGFONT FontOf(const CFont& font) {
  LOGFONT lf;
  font.GetLogFont(&lf);
  return lf;
}

class GraphSettingTest : public GraphTest {};

TEST_F(GraphSettingTest, SavingTheDefaultsWritesTheirLines) {
  CGraphSetting setting;
  ASSERT_EQ(setting.SaveSettings(Path("graph.txt")), 1);
  const std::vector<std::string> lines = LinesOf(Path("graph.txt"));
  ASSERT_EQ(lines.size(), 10u);
  EXPECT_EQ(lines[0], "100");
  EXPECT_EQ(lines[1], "16711680\t16777088\t65535\t16744703\t8421631\t4210943\t0\t0");
  EXPECT_EQ(lines[2], "0\t0\t0\t0\t0");
  EXPECT_EQ(lines[3], "20\t1\t2\t10000\t2700");
  EXPECT_EQ(lines[4], "100\t100");
  EXPECT_EQ(lines[8], "-13\t0\t0\t0\t");  // a 10-point font of the default face on a 96-dpi screen
  std::string bytes;
  ASSERT_TRUE(platform::ReadWholeFile(Path("graph.txt"), bytes));
  EXPECT_EQ(bytes.find('\r'), std::string::npos);
  // A folder in the way: 0, and the old file (none) stays.
  std::filesystem::create_directories(Path("taken"));
  EXPECT_EQ(setting.SaveSettings(Path("taken")), 0);
}

TEST_F(GraphSettingTest, ASavedFileLoadsBackWholeWithFaceNamesAsTheyStand) {
  CGraphSetting saved;
  for (int k = 0; k < res::kGraphColours; ++k) saved.m_Colour[k] = RGB(k * 19, 255 - k, k * 7);
  saved.m_Layout = {7, 3, 5, 2500, 900, 150, 80, 60, 120, 44, -5, 3, 110};
  for (const auto& [font, face, height] :
       {std::tuple{&saved.m_SampleNameFont, "Times New Roman", -17}, {&saved.m_ChromosomeFont, "Trebuchet MS", 12}}) {
    LOGFONT lf = FontOf(*font);
    platform::ui::SetFaceName(lf, face);
    lf.lfHeight = height;
    lf.lfWeight = FW_BOLD;
    lf.lfItalic = 1;
    font->DeleteObject();
    font->CreateFontIndirect(&lf);
  }
  ASSERT_EQ(saved.SaveSettings(Path("graph.txt")), 1);
  CGraphSetting loaded;
  std::string error;
  ASSERT_EQ(loaded.LoadSettings(Path("graph.txt"), error), 1) << error;
  EXPECT_EQ(loaded.m_Layout, saved.m_Layout);
  for (int k = 0; k < res::kGraphColours; ++k) EXPECT_EQ(loaded.m_Colour[k], saved.m_Colour[k]) << k;
  for (const auto& [a, b] : {std::pair{&loaded.m_SampleNameFont, &saved.m_SampleNameFont},
                             {&loaded.m_ChromosomeFont, &saved.m_ChromosomeFont}}) {
    const LOGFONT la = FontOf(*a), lb = FontOf(*b);
    EXPECT_STREQ(la.lfFaceName, lb.lfFaceName);
    EXPECT_EQ(la.lfHeight, lb.lfHeight);
    EXPECT_EQ(la.lfWeight, FW_BOLD);
    EXPECT_EQ(la.lfItalic, 1);
  }
}

TEST_F(GraphSettingTest, AHandEditedFileLoadsWhatItCanAndKeepsTheDivisors) {
  const struct {
    const char* what;
    std::string text;
    GraphLayout layout;
    const char* face;
  } cases[] = {
      {"another version, CR LF ends", "99\r\n1\t2\r\n\r\n30\t2\t4\t5000\t900\r\n200\t150\r\n", {30, 2, 4, 5000, 900, 200, 150, 0, 0, 0, 0, 0, 0}, ""},
      {"divisors of 0", "100\n\n\n0\t0\t2\t0\t0\n0\t-3\n1\t2\n3\t4\n5\t6\n", {20, 1, 2, 10000, 0, 100, 100, 1, 2, 3, 4, 5, 6}, ""},
      {"only the version", "100\n", {20, 1, 0, 10000, 0, 100, 100, 0, 0, 0, 0, 0, 0}, ""},
      {"a face name past 31 characters",
       "100\n\n\n\n\n\n\n\n-20\t0\t700\t0\tA Face Name Far Longer Than The Field Holds\n",
       {20, 1, 0, 10000, 0, 100, 100, 0, 0, 0, 0, 0, 0}, "A Face Name Far Longer Than The"},
  };
  std::string error;
  for (const auto& c : cases) {
    CGraphSetting setting;
    ASSERT_TRUE(platform::WriteWholeFile(Path("hand.txt"), c.text));
    ASSERT_EQ(setting.LoadSettings(Path("hand.txt"), error), 1) << c.what << ": " << error;
    EXPECT_EQ(setting.m_Layout, c.layout) << c.what;
    EXPECT_STREQ(FontOf(setting.m_SampleNameFont).lfFaceName, c.face) << c.what;
  }
  CGraphSetting setting;
  EXPECT_EQ(setting.LoadSettings(Path("missing.txt"), error), 0);
  EXPECT_EQ(setting.m_Layout, GraphLayout{});
  EXPECT_EQ(setting.m_Colour[0], 0xFF0000u);
}

// A file that is no graph settings file, or holds a number the chart cannot
// lay out, is refused with its line and field, and nothing changes.
TEST_F(GraphSettingTest, AFileThatIsNoSettingsFileOrHoldsNumbersTheChartCannotHoldIsRefused) {
  const std::string colours = "100\n16711680\t16777088\t65535\t16744703\t8421631\t4210943\t0\t0\n0\t0\t0\t0\t0\n";
  const struct {
    const char* what;
    std::string text;
    const char* said;
  } cases[] = {
      {"an empty file", "", "empty"},
      {"random bytes", std::string("\x9f\x01\xff\x00\x13\n\x80\x80", 8), "line 1"},
      {"a text file", "Dear reader,\nthese are no settings.\n", "line 1"},
      {"words among the colours", "100\n12\tblue\n", "line 2, colour 1: \"blue\" is not a whole number"},
      {"a colour past 24 bits", "100\n0\t0\n0\t0\t0\t0\t16777216\n", "line 3, colour 12 16777216 lies outside 0 to 16777215"},
      {"a width whose pitch overflows", colours + "2147483647\t1\t2\t10000\t2700\n",
       "line 4, width 2147483647 lies outside -1000000 to 1000000"},
      {"a position at the largest long", colours + "20\t1\t2\t10000\t2700\n100\t100\n9223372036854775807\t0\n",
       "line 6, graph x 9223372036854775807 lies outside"},
      {"a position past 64 bits", colours + "20\t1\t2\t10000\t2700\n100\t100\n0\t0\n0\t-99999999999999999999\n",
       "line 7, sample name y -9223372036854775808 lies outside"},
      {"a font of a million pixels", colours + "\n\n\n\n\n1000000\t0\t400\t0\tSerif\n", "line 9, font height 1000000"},
      {"a font weight past the heaviest", colours + "\n\n\n\n\n\n-13\t0\t5000\t0\tSerif\n", "line 10, font weight 5000"},
  };
  for (const auto& c : cases) {
    CGraphSetting setting;
    ASSERT_TRUE(platform::WriteWholeFile(Path("bad.txt"), c.text));
    std::string error;
    EXPECT_EQ(setting.LoadSettings(Path("bad.txt"), error), 0) << c.what;
    EXPECT_THAT(error, HasSubstr(c.said)) << c.what;
    EXPECT_EQ(setting.m_Layout, GraphLayout{}) << c.what;
    EXPECT_EQ(setting.m_Colour[0], 0xFF0000u) << c.what;
    EXPECT_STREQ(FontOf(setting.m_SampleNameFont).lfFaceName, "") << c.what;
  }
  // The Load Setting command names the file and says why, and the chart stays.
  ASSERT_TRUE(Open(PatternChangeText(3)));
  ASSERT_TRUE(platform::WriteWholeFile(Path("wide.txt"), colours + "2147483647\t1\t2\t10000\t2700\n"));
  (void)Ui().Paint(View());
  AnswerFileDialog(Path("wide.txt"));
  Command(res::kCmdGraphLoadSetting);
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_THAT(messages_.Texts()[0], HasSubstr(Path("wide.txt")));
  EXPECT_THAT(messages_.Texts()[0], HasSubstr("line 4, width 2147483647"));
  EXPECT_EQ(Layout(), GraphLayout{});
  EXPECT_FALSE(Ui().IsInvalidated(View()));
}

TEST_F(GraphSettingTest, TheDialogRefusesANumberTheChartDividesBy) {
  ASSERT_TRUE(Open(PatternChangeText(3)));
  const struct {
    UINT edit;
    const char* typed;
    const char* said;
  } cases[] = {
      {res::kGraphVerticalDivisor, "0", "y_div"},
      {res::kGraphWidth, "-1", "width plus interval"},
      {res::kGraphZoomX, "0", "size_x"},
      {res::kGraphZoomY, "-50", "size_x and y"},
      {res::kGraphWidth, "2147483647", "width 2147483647 lies outside -1000000 to 1000000"},
      {res::kGraphNameY, "-1000001", "sample name y -1000001 lies outside"},
  };
  for (const auto& c : cases) {
    messages_.Clear();
    Ui().OnDialog(res::kGraphSettingDialog, [&](DialogDriver& d) {
      EXPECT_EQ(d.Text(res::kGraphVerticalDivisor), "10000");
      d.Type(res::kGraphInterval, "0").Type(c.edit, c.typed).Ok();
      EXPECT_TRUE(d.IsOpen()) << c.typed;
      d.Cancel();
    });
    Command(res::kCmdGraphSetting);
    ASSERT_EQ(messages_.Texts().size(), 1u);
    EXPECT_THAT(messages_.Texts()[0], HasSubstr(c.said));
    EXPECT_EQ(Layout(), GraphLayout{}) << "refused numbers are not kept";
  }
  (void)Ui().Paint(View());
  Ui().OnDialog(res::kGraphSettingDialog, [](DialogDriver& d) { d.Type(res::kGraphVerticalDivisor, "5000").Ok(); });
  Command(res::kCmdGraphSetting);
  EXPECT_EQ(Layout().yDiv, 5000);
  EXPECT_TRUE(Ui().IsInvalidated(View()));
}

TEST_F(GraphSettingTest, ColourAndFontChangesSurviveCancelAndTheSwatchesShowThem) {
  ASSERT_TRUE(Open(PatternChangeText(3)));
  (void)Ui().Paint(View());
  Ui().OnColorDialog([](platform::ui::ColorDialogRequest& r) {
    EXPECT_EQ(r.initial, 0xFF80FFu);  // colour 3's
    r.chosen = RGB(10, 20, 30);
    return true;
  });
  Ui().OnFontDialog([](platform::ui::FontDialogRequest& r) {
    r.chosen = r.initial;
    platform::ui::SetFaceName(r.chosen, "DejaVu Serif");
    return true;
  });
  Ui().OnDialog(res::kGraphSettingDialog, [](DialogDriver& d) {
    d.Click(res::kGraphChangeButtons[3]).Click(res::kGraphChromosomeFont);
    const platform::ui::Picture painted = d.Paint();
    EXPECT_EQ(FillsOf(painted, RGB(10, 20, 30)), 1u);
    EXPECT_EQ(FillsOf(painted, 0xFF0000), 1u);
    d.Type(res::kGraphWidth, "40").Cancel();
  });
  Command(res::kCmdGraphSetting);
  const CGraphSetting& s = *Doc().m_pSetting;
  EXPECT_EQ(s.m_Colour[3], RGB(10, 20, 30));
  EXPECT_STREQ(FontOf(s.m_ChromosomeFont).lfFaceName, "DejaVu Serif");
  EXPECT_EQ(Layout().width, 20);
  EXPECT_FALSE(Ui().IsInvalidated(View()));  // Cancel redraws nothing
}

TEST_F(GraphSettingTest, SaveAndLoadSettingGoThroughTheFileDialogsAndReportFailures) {
  ASSERT_TRUE(Open(PatternChangeText(3)));
  Layout().yDiv = 4000;
  AnswerFileDialog(Path("look.txt"));
  Command(res::kCmdGraphSaveSetting);
  Layout().yDiv = 10000;
  (void)Ui().Paint(View());
  AnswerFileDialog(Path("look.txt"));
  Command(res::kCmdGraphLoadSetting);
  EXPECT_EQ(Layout().yDiv, 4000);
  EXPECT_TRUE(Ui().IsInvalidated(View()));
  EXPECT_TRUE(messages_.Empty());
  AnswerFileDialog(Path("gone.txt"));
  Command(res::kCmdGraphLoadSetting);
  std::filesystem::create_directories(Path("taken.txt"));
  AnswerFileDialog(Path("taken.txt"));
  Command(res::kCmdGraphSaveSetting);
  ASSERT_EQ(messages_.Texts().size(), 2u);
  EXPECT_THAT(messages_.Texts()[0], HasSubstr(Path("gone.txt")));
  EXPECT_THAT(messages_.Texts()[1], HasSubstr(Path("taken.txt")));
}

}  // namespace
}  // namespace qova::test
