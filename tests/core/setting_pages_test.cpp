// The settings pages driven as a user would, every page in one sheet: range
// and parse checks, the spins at their limits, the item groups, the colour
// buttons and swatches, the folder browser and the pages' own switches.
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "platform/ui/CommonDialogs.h"
#include "tests/core/SettingSheetSupport.h"

namespace qova::test {
namespace {

namespace ids = qova::resources::settings;
using Tab = AllPages::Tab;
using Field = std::function<int&(CProgramSetting&)>;

class SettingPages : public SettingSheetTest {
 protected:
  CProgramSetting setting_;
};

// A validated field; with a spin, the spin beside it.
struct RangeCase {
  int tab;
  UINT edit, spin;
  int low, high;
  bool repaint;
  Field field;
};

#define FIELD(expr) [](CProgramSetting& p) -> int& { return p.expr; }

const std::vector<RangeCase>& RangeCases() {
  namespace s = ids::sizes;
  namespace c = ids::color;
  namespace m = ids::colorm;
  static const std::vector<RangeCase> cases = {
      {Tab::kDisplay, s::kAllX, s::kAllXSpin, 1, 10000, false, FIELD(Display.DISP.ALL_X)},
      {Tab::kDisplay, s::kAllY, s::kAllYSpin, 1, 10000, false, FIELD(Display.DISP.ALL_Y)},
      {Tab::kDisplay, s::kEachX, s::kEachXSpin, 1, 10000, false, FIELD(Display.DISP.EACH_X)},
      {Tab::kDisplay, s::kEachY, s::kEachYSpin, 1, 10000, false, FIELD(Display.DISP.EACH_Y)},
      {Tab::kDisplay, s::kDisplayMultiX, s::kDisplayMultiXSpin, 1, 10000, false, FIELD(Display.DISP.MULTI_X)},
      {Tab::kDisplay, s::kMultiY, s::kMultiYSpin, 1, 10000, false, FIELD(Display.DISP.MULTI_Y)},
      {Tab::kPrint, s::kAllX, s::kAllXSpin, 1, 10000, false, FIELD(Display.PRINT.ALL_X)},
      {Tab::kPrint, s::kAllY, s::kAllYSpin, 1, 10000, false, FIELD(Display.PRINT.ALL_Y)},
      {Tab::kPrint, s::kEachX, s::kEachXSpin, 1, 10000, false, FIELD(Display.PRINT.EACH_X)},
      {Tab::kPrint, s::kEachY, s::kEachYSpin, 1, 10000, false, FIELD(Display.PRINT.EACH_Y)},
      {Tab::kPrint, s::kPrintMultiX, s::kPrintMultiXSpin, 1, 10000, false, FIELD(Display.PRINT.MULTI_X)},
      {Tab::kPrint, s::kMultiY, s::kMultiYSpin, 1, 10000, false, FIELD(Display.PRINT.MULTI_Y)},
      {Tab::kItemMulti, ids::itemmulti::kInterval, 0, 1, 1000, false, FIELD(Display.ITEMS.SNPINTERVALWGV)},
      {Tab::kColor, c::kWidths[0], c::kWidthSpins[0], 1, 100, true, FIELD(Display.COLOR.W1)},
      {Tab::kColor, c::kWidths[1], c::kWidthSpins[1], 1, 100, true, FIELD(Display.COLOR.W2)},
      {Tab::kColor, c::kWidths[2], c::kWidthSpins[2], 1, 100, true, FIELD(Display.COLOR.W3)},
      {Tab::kColor, c::kWidths[3], c::kWidthSpins[3], 1, 100, true, FIELD(Display.COLOR.W4)},
      {Tab::kScale, ids::scale::kSelfMagnification, ids::scale::kSelfMagnificationSpin, 10, 500, false,
       FIELD(Display.SCALE.MAG_SELF)},
      {Tab::kScale, ids::scale::kNonSelfMagnification, ids::scale::kNonSelfMagnificationSpin, 10, 500, false,
       FIELD(Display.SCALE.MAG_NONSELF)},
      {Tab::kColorM, m::kBoundaries[0], m::kBoundarySpins[0], 0, 10000, true, FIELD(Display.COLORM.thLOH1)},
      {Tab::kColorM, m::kBoundaries[1], m::kBoundarySpins[1], 0, 10000, true, FIELD(Display.COLORM.thLOH2)},
      {Tab::kColorM, m::kBoundaries[2], m::kBoundarySpins[2], 0, 10000, true, FIELD(Display.COLORM.thLOH3)},
      {Tab::kColorM, m::kBoundaries[3], m::kBoundarySpins[3], 0, 10000, true, FIELD(Display.COLORM.thLOH4)},
      {Tab::kIntegrate, ids::integrate::kLaneWidth, ids::integrate::kLaneWidthSpin, 3, 100, true,
       FIELD(Display.INTEGRATE.WIDTH)},
      {Tab::kMarker, ids::marker::kWidth, ids::marker::kWidthSpin, 1, 100, true, FIELD(Display.MARKER.WIDTH)},
      {Tab::kAuto, ids::automatic::kMaxReferences, 0, 1, 100, false, FIELD(MAXREF)},
      {Tab::kExtra, ids::extra::kAverageWindow, 0, 1, 20, false, FIELD(MovingAverageWindow)},
  };
  return cases;
}

#undef FIELD

TEST_F(SettingPages, EveryValidatedFieldRefusesValuesOutsideItsBoundsAndTakesTheBounds) {
  RunAllPages(setting_, [&](SheetDriver& sheet) {
    for (const RangeCase& c : RangeCases()) {
      SCOPED_TRACE(testing::Message() << "tab " << c.tab << " edit " << c.edit);
      for (int bad : {c.low - 1, c.high + 1}) {
        DialogDriver page = Open(sheet, c.tab);
        SetText(page, c.edit, std::to_string(bad));
        messages_.Clear();
        EXPECT_FALSE(sheet.SelectPage(Tab::kFolders));
        EXPECT_EQ(sheet.ActivePage(), c.tab);
        EXPECT_EQ(messages_.Texts(), std::vector<std::string>{platform::Format(
                                         "Please enter an integer between %d and %d.", c.low, c.high)});
        EXPECT_EQ(page.Focus(), c.edit);
      }
      for (int good : {c.low, c.high}) {
        SetText(Open(sheet, c.tab), c.edit, std::to_string(good));
        EXPECT_TRUE(sheet.SelectPage(Tab::kFolders));
        EXPECT_EQ(c.field(setting_), good);
      }
    }
    sheet.Cancel();
  });
}

TEST_F(SettingPages, EverySpinStepsByOneAndStopsAtItsLimits) {
  RunAllPages(setting_, [&](SheetDriver& sheet) {
    for (const RangeCase& c : RangeCases()) {
      if (!c.spin) continue;
      SCOPED_TRACE(testing::Message() << "tab " << c.tab << " spin " << c.spin);
      DialogDriver page = Open(sheet, c.tab);
      // The up arrow reports -1 on the system's default range.
      const struct {
        int start, delta, expected;
      } steps[] = {{c.high, -1, c.high}, {c.high, +1, c.high - 1}, {c.low, +1, c.low}, {c.low, -1, c.low + 1}};
      for (const auto& step : steps) {
        SetText(page, c.edit, std::to_string(step.start));
        (void)page.Paint();
        page.Spin(c.spin, step.delta);
        EXPECT_EQ(c.field(setting_), step.expected);
        EXPECT_EQ(page.Text(c.edit), std::to_string(step.expected));
        EXPECT_EQ(Ui().IsInvalidated(page.Window()), c.repaint);
      }
    }
    sheet.Cancel();
  });
  EXPECT_TRUE(messages_.Empty());
}

TEST_F(SettingPages, TextFieldsParseAsTheirTypeAndTakeAnyNumberWithoutBounds) {
  const struct {
    int tab;
    UINT edit;
    const char* text;
    const char* message;  // null: taken
  } cases[] = {
      {Tab::kZenkor, ids::zenkor::kRows[0][1], "abc", "Please enter a number."},
      {Tab::kZenkor, ids::zenkor::kRows[2][4], "1.5", "Please enter an integer."},
      {Tab::kAssociation, ids::association::kSnpMaf, "0.1x", "Please enter a number."},
      {Tab::kExtra, ids::extra::kAlleleAmplitude, "", "Please enter a number."},
      {Tab::kMarker, ids::marker::kInterval, "abc", "Please enter an integer."},
      {Tab::kMarker, ids::marker::kInterval, "-3", nullptr},
      {Tab::kMarker, ids::marker::kInterval, "0", nullptr},
      {Tab::kZenkor, ids::zenkor::kRows[1][2], "-12.5", nullptr},
      {Tab::kZenkor, ids::zenkor::kRows[0][4], "-1", nullptr},
      {Tab::kAssociation, ids::association::kPermutations, "0", nullptr},
  };
  RunAllPages(setting_, [&](SheetDriver& sheet) {
    for (const auto& c : cases) {
      SCOPED_TRACE(c.text);
      DialogDriver page = Open(sheet, c.tab);
      page.Type(c.edit, c.text);
      messages_.Clear();
      EXPECT_EQ(sheet.SelectPage(Tab::kFolders), c.message == nullptr);
      EXPECT_EQ(messages_.Texts(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
      if (c.message) page.Type(c.edit, "1");
    }
    EXPECT_TRUE(sheet.Ok());
  });
  EXPECT_EQ(setting_.Display.MARKER.INTERVAL, 0);
  EXPECT_FLOAT_EQ(setting_.BETAS, -12.5f);
  EXPECT_EQ(setting_.MARKAI, -1);
  EXPECT_EQ(setting_.NUM_PERMUTATION, 0);
}

TEST_F(SettingPages, LohBoundariesTakeTheirLimitsInAnyOrder) {
  RunAllPages(setting_, [&](SheetDriver& sheet) {
    DialogDriver page = Open(sheet, Tab::kColorM);
    const char* values[] = {"10000", "0", "5000", "0"};
    for (int k = 0; k < 4; ++k) page.Type(ids::colorm::kBoundaries[k], values[k]);
    EXPECT_TRUE(sheet.Ok());
  });
  const CDisplaySetting::ColorMKeys& m = setting_.Display.COLORM;
  EXPECT_EQ(std::vector<int>({m.thLOH1, m.thLOH2, m.thLOH3, m.thLOH4}), std::vector<int>({10000, 0, 5000, 0}));
}

TEST_F(SettingPages, AnEmptiedItemGroupKeepsThePageAndTheStoredMasks) {
  const struct {
    int tab;
    std::vector<UINT> checkedBoxes;  // every box of one group that starts checked
  } cases[] = {
      {Tab::kItems,
       {ids::items::kSelfCallBar, ids::items::kSelfCopyNumber, ids::items::kSelfAlleleBased,
        ids::items::kSelfCytoband}},
      {Tab::kItemMulti, {ids::itemmulti::kWholeCopyNumberPlot}},
  };
  for (const auto& c : cases) {
    messages_.Clear();
    const CDisplaySetting::ItemKeys before = setting_.Display.ITEMS;
    RunAllPages(setting_, [&](SheetDriver& sheet) {
      DialogDriver page = Open(sheet, c.tab);
      for (UINT box : c.checkedBoxes) page.Click(box);
      EXPECT_FALSE(sheet.SelectPage(Tab::kFolders));
      EXPECT_FALSE(sheet.Ok());
      EXPECT_EQ(sheet.ActivePage(), c.tab);
      sheet.Cancel();
    });
    EXPECT_EQ(messages_.Texts(), std::vector<std::string>(2, "Select at least one item")) << c.tab;
    EXPECT_EQ(setting_.Display.ITEMS.SELF, before.SELF);
    EXPECT_EQ(setting_.Display.ITEMS.MULTIALL, before.MULTIALL);
  }
}

TEST_F(SettingPages, AlleleBasedNonSelfBoxesFollowTheLiveSwitchAndKeepTheirBits) {
  const int hiddenBits = 0x8 | 0x1000;
  for (int live : {0, 1}) {
    CProgramSetting running;
    running.NONSELFALLELE = live;
    qova::core::SetLiveProgramSetting(&running);
    CDisplaySetting block;
    block.ITEMS.NONSELF |= hiddenBits;
    block.ITEMS.HMMHONLY = 1;
    Ui().OnSheet("View Setting", [&](SheetDriver& sheet) {
      DialogDriver items = Open(sheet, 1);
      EXPECT_EQ(items.IsVisible(ids::items::kNonSelfAlleleBased), live == 1);
      EXPECT_EQ(items.IsVisible(ids::items::kNonSelfHmmOfAba), live == 1);
      EXPECT_TRUE(items.IsChecked(ids::items::kHmmHorizontalOnly));
      items.Click(ids::items::kNonSelfHmm).Click(ids::items::kHmmHorizontalOnly);
      EXPECT_TRUE(sheet.Ok());
    });
    EXPECT_EQ(qova::core::RunViewSettingSheet(block), IDOK);
    EXPECT_EQ(block.ITEMS.NONSELF, (1079 | hiddenBits) & ~0x4) << live;
    EXPECT_EQ(block.ITEMS.HMMHONLY, 0);
  }

  // "Use Zenkor" in the same sheet changes the copy, not what the Items page follows.
  RunAllPages(setting_, [&](SheetDriver& sheet) {
    Open(sheet, Tab::kZenkor).Click(ids::zenkor::kUseZenkor);
    EXPECT_FALSE(Open(sheet, Tab::kItems).IsVisible(ids::items::kNonSelfAlleleBased));
    sheet.Cancel();
  });
}

TEST_F(SettingPages, PrintRowsOnOnePageAreDisabled) {
  setting_.Display.PRINT.ONE_EACH = 1;
  RunAllPages(setting_, [&](SheetDriver& sheet) {
    DialogDriver page = Open(sheet, Tab::kPrint);
    for (UINT id : {ids::sizes::kEachX, ids::sizes::kEachXSpin, ids::sizes::kEachY, ids::sizes::kEachYSpin})
      EXPECT_FALSE(page.IsEnabled(id)) << id;
    EXPECT_TRUE(page.IsEnabled(ids::sizes::kAllX));
    page.Click(ids::sizes::kOnePageEach).Click(ids::sizes::kOnePageMulti);
    EXPECT_TRUE(page.IsEnabled(ids::sizes::kEachY));
    EXPECT_FALSE(page.IsEnabled(ids::sizes::kPrintMultiXSpin));
    EXPECT_TRUE(sheet.Ok());
  });
  EXPECT_EQ(setting_.Display.PRINT.ONE_EACH, 0);
  EXPECT_EQ(setting_.Display.PRINT.ONE_MULTI, 1);
}

TEST_F(SettingPages, CopyNumberColourChosenOnColor2ShowsOnTheColorPage) {
  Ui().OnColorDialog([](platform::ui::ColorDialogRequest& request) {
    EXPECT_EQ(request.initial, 255u) << "the dialog opens on the field's colour";
    request.chosen = 0x00AA5500;
    return true;
  });
  RunAllPages(setting_, [&](SheetDriver& sheet) {
    DialogDriver color = Open(sheet, Tab::kColor);
    Open(sheet, Tab::kColor2).Click(ids::color2::kCopyNumberButton);
    color = Open(sheet, Tab::kColor);
    const platform::ui::Picture painted = color.Paint();
    const platform::ui::DrawRecord* swatch = SwatchDrawing(painted, FrameRect(color, ids::color::kSwatches[6]));
    ASSERT_NE(swatch, nullptr);
    EXPECT_EQ(swatch->color, 0x00AA5500u);
    sheet.Cancel();
  });
  EXPECT_EQ(setting_.Display.COLOR.C7, 0x00AA5500u) << "stored in the copy at once";
}

TEST_F(SettingPages, DefaultRestoresTheColorPageOnly) {
  Ui().OnColorDialog([](platform::ui::ColorDialogRequest& request) {
    request.chosen = 0x0000FF00;
    return true;
  });
  RunAllPages(setting_, [&](SheetDriver& sheet) {
    Open(sheet, Tab::kColor2).Click(ids::color2::kSameButton);
    DialogDriver color = Open(sheet, Tab::kColor);
    color.Click(ids::color::kButtons[0]).Click(ids::color::kButtons[10]).Spin(ids::color::kWidthSpins[1], -1);
    color.Select(ids::color::kPenStyles[0], "DASHDOTDOT");
    EXPECT_EQ(setting_.Display.COLOR.LINETYPE9, 4);
    color.Click(ids::color::kDefault);
    EXPECT_EQ(color.CurSel(ids::color::kPenStyles[0]), 0);
    EXPECT_EQ(color.CurSel(ids::color::kPenStyles[1]), 2);
    EXPECT_EQ(color.Text(ids::color::kWidths[1]), "1");
    EXPECT_TRUE(sheet.Ok());
  });
  const CDisplaySetting defaults;
  EXPECT_EQ(std::memcmp(&setting_.Display.COLOR, &defaults.COLOR, sizeof defaults.COLOR), 0);
  EXPECT_EQ(setting_.Display.COLOR2.SAME, 0x0000FF00u) << "Color2 keeps its change";
}

TEST_F(SettingPages, ColourPagesPaintEverySwatchInItsColourWidthAndStyle) {
  CDisplaySetting& d = setting_.Display;
  d.COLOR.W1 = 5;
  d.INTEGRATE.WIDTH = 20;
  d.MARKER.WIDTH = 7;
  struct Swatch {
    UINT frame;
    COLORREF color;
    int width;  // 0: a filled rectangle
    int style;
  };
  std::vector<std::pair<int, std::vector<Swatch>>> pages;
  const CDisplaySetting::ColorKeys& c = d.COLOR;
  pages.push_back({Tab::kColor,
                   {{1059, c.C1, 5, PS_SOLID}, {1060, c.C2, 1, PS_SOLID}, {1061, c.C3, 1, PS_SOLID},
                    {1062, c.C4, 3, PS_SOLID}, {1063, c.C5, 0, 0}, {1064, c.C6, 0, 0}, {1065, c.C7, 0, 0},
                    {1071, c.C8, 0, 0}, {1066, c.C9, 1, PS_SOLID}, {1069, c.C10, 1, PS_DOT},
                    {1070, c.C11, 1, PS_DASHDOT}}});
  pages.push_back({Tab::kColor2,
                   {{1059, c.C7, 0, 0}, {1060, d.COLOR2.SAME, 0, 0}, {1061, d.COLOR2.NEXT, 0, 0},
                    {1062, d.COLOR2.ONE, 0, 0}, {1064, d.COLOR2.TWO_SD, 0, 0}}});
  std::vector<Swatch> gradient;
  for (int k = 0; k < 7; ++k) gradient.push_back({ids::colorm::kCopyNumberSwatches[k], d.COLORM.CN[k], 0, 0});
  for (int k = 0; k < 5; ++k) gradient.push_back({ids::colorm::kLohSwatches[k], d.COLORM.LOH[k], 0, 0});
  pages.push_back({Tab::kColorM, gradient});
  const CDisplaySetting::IntegrateKeys& g = d.INTEGRATE;
  pages.push_back({Tab::kIntegrate,
                   {{1059, g.COL1, 6, PS_SOLID}, {1060, g.COL2, 6, PS_SOLID}, {1061, g.COL3, 6, PS_SOLID},
                    {1062, g.COL4, 6, PS_SOLID}}});
  std::vector<Swatch> markers;
  for (int k = 0; k < 7; ++k) markers.push_back({ids::marker::kSwatches[k], d.MARKER.COL[k], 7, PS_SOLID});
  pages.push_back({Tab::kMarker, markers});

  RunAllPages(setting_, [&](SheetDriver& sheet) {
    for (const auto& [tab, swatches] : pages) {
      DialogDriver page = Open(sheet, tab);
      const platform::ui::Picture picture = page.Paint();
      for (const Swatch& s : swatches) {
        SCOPED_TRACE(testing::Message() << "tab " << tab << " swatch " << s.frame);
        const platform::ui::DrawRecord* drawn = SwatchDrawing(picture, FrameRect(page, s.frame));
        ASSERT_NE(drawn, nullptr);
        EXPECT_EQ(drawn->color, s.color);
        EXPECT_EQ(drawn->op, s.width ? platform::ui::DrawOp::Line : platform::ui::DrawOp::FillRect);
        if (s.width) {
          EXPECT_EQ(drawn->width, s.width);
          EXPECT_EQ(drawn->penStyle, s.style);
        }
      }
    }
    sheet.Cancel();
  });
}

TEST_F(SettingPages, Color2OpensWithOneRadioChosen) {
  const struct {
    int frag, sd;
    bool none, fragment, deviation;
  } cases[] = {{0, 0, true, false, false}, {1, 0, false, true, false}, {0, 1, false, false, true}};
  for (const auto& c : cases) {
    setting_.Display.COLOR2.FRAG = c.frag;
    setting_.Display.COLOR2.SD = c.sd;
    RunAllPages(setting_, [&](SheetDriver& sheet) {
      DialogDriver page = Open(sheet, Tab::kColor2);
      EXPECT_EQ(page.IsChecked(ids::color2::kNone), c.none);
      EXPECT_EQ(page.IsChecked(ids::color2::kFragment), c.fragment);
      EXPECT_EQ(page.IsChecked(ids::color2::kDeviation), c.deviation);
      page.Click(ids::color2::kDeviation).Click(ids::color2::kAbove2Sd);
      EXPECT_TRUE(sheet.Ok());
    });
    EXPECT_EQ(setting_.Display.COLOR2.FRAG, 0);
    EXPECT_EQ(setting_.Display.COLOR2.SD, 1);
    setting_.Display.COLOR2.SD_2SD = 0;
  }
}

TEST_F(SettingPages, FolderChoicesEndInOneSeparatorAndCancelChangesNothing) {
  const struct {
    const char* answer;  // null: the user cancels
    std::string stored;
  } cases[] = {{"/data/cel", "/data/cel/"},
               {"/data/cel/", "/data/cel/"},
               {"C:\\QOVA\\Cel\\", "C:\\QOVA\\Cel\\"},
               {"/", "/"},
               {nullptr, "c:\\"}};
  for (const auto& c : cases) {
    setting_.DefaultLibraryFolder = "c:\\";
    std::vector<platform::ui::FolderDialogRequest> requests;
    Ui().OnFolderDialog([&](platform::ui::FolderDialogRequest& request) {
      requests.push_back(request);
      if (!c.answer) return false;
      request.chosen = c.answer;
      return true;
    });
    RunAllPages(setting_, [&](SheetDriver& sheet) {
      DialogDriver page = sheet.Page();
      page.Click(ids::folders::kLibrarySet);
      EXPECT_EQ(page.Text(ids::folders::kLibraryEdit), c.stored);
      EXPECT_TRUE(sheet.Ok());
    });
    EXPECT_EQ(setting_.DefaultLibraryFolder, c.stored);
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].title, "フォルダの選択");
    EXPECT_EQ(requests[0].startFolder, platform::DriveRoot()) << "c:\\ starts at the drive root folder";
    EXPECT_EQ(requests[0].flags, UINT(BIF_RETURNONLYFSDIRS));
  }

  Ui().OnFolderDialog([](platform::ui::FolderDialogRequest& request) {
    EXPECT_EQ(request.flags, UINT(BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE));
    EXPECT_EQ(request.startFolder, platform::DriveRoot() + "/copies");
    request.chosen = "/target";
    return true;
  });
  std::string folder = "unchanged";
  EXPECT_TRUE(CSettingFolders::BrowseFolder("c:\\copies\\", folder, 1));
  EXPECT_EQ(folder, "/target/");
}

TEST_F(SettingPages, ExtraAndAssociationPagesEditTheirFields) {
  setting_.ANALYSISTYPE = 1;
  RunAllPages(setting_, [&](SheetDriver& sheet) {
    DialogDriver association = Open(sheet, Tab::kAssociation);
    EXPECT_TRUE(association.IsChecked(ids::association::kBySample));
    association.Click(ids::association::kByAllele).Type(ids::association::kSampleCallRate, "0.8");
    DialogDriver extra = Open(sheet, Tab::kExtra);
    EXPECT_FALSE(extra.IsChecked(ids::extra::kScroll)) << "the box shows the scrolling, which starts off";
    EXPECT_EQ(extra.Items(ids::extra::kRegression).size(), 5u);
    EXPECT_EQ(extra.CurSel(ids::extra::kIntegralMargin), 0);
    extra.Click(ids::extra::kScroll).Click(ids::extra::kHideAfter).Click(ids::extra::kUseFileList);
    extra.Select(ids::extra::kRegression, "GC content only").Type(ids::extra::kNameY, "-20");
    EXPECT_TRUE(sheet.Ok());
  });
  EXPECT_EQ(setting_.ANALYSISTYPE, 0);
  EXPECT_FLOAT_EQ(setting_.SAMPLE_CALLRATE, 0.8f);
  EXPECT_EQ(setting_.ScrollMultiple, 1);
  EXPECT_EQ(setting_.PanelDrawFlag, 1) << "keeps its start value";
  EXPECT_EQ(setting_.HideExcludedAfterCompensation, 1);
  EXPECT_EQ(setting_.UseFileList, 1);
  EXPECT_EQ(setting_.RegressionMode, 2);
  EXPECT_EQ(setting_.SampleNameY, -20);
}

}  // namespace
}  // namespace qova::test
