// The marker dialogs as a user works them: "Mark set" on one region of a
// generated sample, and "Edit Marker" over the sample's list, which the
// caller then stores in the sample file.
#include <functional>

#include "core/ArrayData.h"
#include "core/MarkSet.h"
#include "core/MarkerEdit.h"
#include "resources/MarkerDialogs.h"
#include "tests/core/CoreDialogTestSupport.h"

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;

// The small type's chromosome 1 holds SNPs 0..876, chromosome 2 877..1828; the
// SNPs from 11344 on lie after X.
const ChromosomeStartRow kStarts{qova::core::kArrayChromosomeStarts[0]};
const MarkerRegionList kRegions = {{1, 100, 200, 3}, {2, 900, 950, 39}, {1, 300, 350, 33}};

class MarkerDialogTest : public CoreDialogTest {
 protected:
  [[nodiscard]] static std::string PositionText(std::int32_t snp) {
    const CBasicData& a = Annotation();
    return "position: " + std::to_string(a.Position[std::size_t(a.IndexMap[std::size_t(snp)])]);
  }

  // Opens "Mark set" on a region and runs `script` on it.
  static CMarkSet OpenMarkSet(const MarkerRegion& region) {
    return CMarkSet(&Annotation(), kStarts, region.FirstSnp, region.LastSnp, region.Kind);
  }

  static std::vector<std::string> LinesOf(const MarkerRegionList& regions) {
    std::vector<std::string> lines;
    for (const MarkerRegion& r : regions) lines.push_back(MarkerLine(r));
    return lines;
  }
};

TEST_F(MarkerDialogTest, AUserMarkerTypedBackwardsComesBackInOrder) {
  std::string chromosome, startBefore, startAfter, endAfter;
  bool hmmComboEnabled = true, userComboEnabled = false;
  std::vector<std::string> userItems;
  Ui().OnDialog(kMarkSetDialog, [&](DialogDriver& d) {
    chromosome = d.Text(kMarkSetChromosome);
    startBefore = d.Text(kMarkSetStartPosition);
    userItems = d.Items(kMarkSetUserNumbers);
    d.Click(kMarkSetUserRadio).Select(kMarkSetUserNumbers, "3");
    hmmComboEnabled = d.IsEnabled(kMarkSetHmmNumbers);
    userComboEnabled = d.IsEnabled(kMarkSetUserNumbers);
    d.Type(kMarkSetStartSnp, "500").Type(kMarkSetEndSnp, "400");
    startAfter = d.Text(kMarkSetStartPosition);
    endAfter = d.Text(kMarkSetEndPosition);
    d.Ok();
  });
  CMarkSet dialog = OpenMarkSet(kRegions[0]);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(chromosome, "Chromosome: 1");
  EXPECT_EQ(startBefore, PositionText(100));
  EXPECT_EQ(userItems, (std::vector<std::string>{"0", "1", "2", "3", "4", "5", "6"}));
  EXPECT_FALSE(hmmComboEnabled);
  EXPECT_TRUE(userComboEnabled);
  EXPECT_EQ(startAfter, PositionText(500));
  EXPECT_EQ(endAfter, PositionText(400));
  EXPECT_EQ((MarkerRegion{dialog.Chromosome, dialog.StartSnp, dialog.EndSnp, dialog.Kind}),
            (MarkerRegion{1, 400, 500, 35}));
  EXPECT_TRUE(Messages().empty());
}

TEST_F(MarkerDialogTest, NumbersItCannotPlaceAreRefusedAndReadNothingOutsideTheTables) {
  const MarkerRegion onTwo{2, 900, 950, 33};
  const MarkerRegion afterX{1, 11400, 11410, 33};
  struct Case {
    const char* what;
    MarkerRegion region;
    UINT edit;
    const char* typed;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"start on another chromosome", onTwo, kMarkSetStartSnp, "2000", "SNP number must be between 877 and 1828"},
      {"end far outside the type", onTwo, kMarkSetEndSnp, "99999999", "SNP number must be between 877 and 1828"},
      {"negative start", onTwo, kMarkSetStartSnp, "-5", "SNP number must be between 877 and 1828"},
      {"negative end", onTwo, kMarkSetEndSnp, "-5", "SNP number must be between 877 and 1828"},
      {"letters", onTwo, kMarkSetStartSnp, "abc", "Please enter an integer."},
      {"a region after X", afterX, kMarkSetEndSnp, "99999999", "SNP number must be between 0 and 11343"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    messages_.Clear();
    std::string startLabel, endLabel, startLabelAfter, endLabelAfter;
    bool stayedOpen = false;
    Ui().OnDialog(kMarkSetDialog, [&](DialogDriver& d) {
      startLabel = d.Text(kMarkSetStartPosition);
      endLabel = d.Text(kMarkSetEndPosition);
      d.Type(c.edit, c.typed);
      startLabelAfter = d.Text(kMarkSetStartPosition);
      endLabelAfter = d.Text(kMarkSetEndPosition);
      d.Ok();
      stayedOpen = d.IsOpen();
      d.Cancel();
    });
    CMarkSet dialog = OpenMarkSet(c.region);
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_TRUE(stayedOpen);
    EXPECT_EQ(Messages(), std::vector<std::string>{c.message});
    EXPECT_EQ(startLabelAfter, startLabel);
    EXPECT_EQ(endLabelAfter, endLabel);
  }
}

TEST_F(MarkerDialogTest, KindsTheCombosDoNotOfferSurviveEditAndOk) {
  // User marker 7 is what the analysis writes; HMM number 10 only a file can hold.
  MarkerRegionList regions = kRegions;
  regions.push_back({3, 1900, 1950, 10});
  struct Seen {
    UINT checkedRadio;
    std::vector<std::string> items;
    std::string selected;
  };
  std::vector<Seen> seen;
  Ui().OnDialog(kMarkSetDialog, [&](DialogDriver& d) {
    const bool user = d.IsChecked(kMarkSetUserRadio);
    const UINT combo = user ? kMarkSetUserNumbers : kMarkSetHmmNumbers;
    seen.push_back({user ? kMarkSetUserRadio : kMarkSetHmmRadio, d.Items(combo),
                    d.Items(combo)[std::size_t(d.CurSel(combo))]});
    d.Ok();
  });
  std::vector<std::string> lines;
  Ui().OnDialog(kMarkerEditDialog, [&](DialogDriver& d) {
    lines = d.Items(kMarkerEditList);
    d.Select(kMarkerEditList, 1).Click(kMarkerEditEdit).Select(kMarkerEditList, 3).Click(kMarkerEditEdit).Ok();
  });
  CMarkerEdit dialog(&Annotation(), kStarts, FALSE, nullptr, regions);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(lines, (std::vector<std::string>{"Ch:1\t 100 - 200\tHMM : 3", "Ch:2\t 900 - 950\tUser: 7",
                                             "Ch:1\t 300 - 350\tUser: 1", "Ch:3\t 1900 - 1950\tHMM : 10"}));
  ASSERT_EQ(seen.size(), 2u);
  EXPECT_EQ(seen[0].checkedRadio, kMarkSetUserRadio);
  EXPECT_EQ(seen[0].items.size(), 8u);
  EXPECT_EQ(seen[0].selected, "7");
  EXPECT_EQ(seen[1].checkedRadio, kMarkSetHmmRadio);
  EXPECT_EQ(seen[1].selected, "10");
  EXPECT_EQ(dialog.Markers, regions);
}

TEST_F(MarkerDialogTest, EditedAndDeletedLinesStayInStepAndTheStoredListReadsBack) {
  WriteStudy(1);
  const std::string path = ArrayFolder() + "Test01.CFH";
  CArrayData sample;
  sample.LoadFile(path);
  sample.Markers = kRegions;
  sample.StoreFile(path);

  std::vector<std::string> linesAfterEdit, linesAfterDelete;
  Ui().OnDialog(kMarkSetDialog, [&](DialogDriver& d) {
    d.Click(kMarkSetHmmRadio).Select(kMarkSetHmmNumbers, "5").Type(kMarkSetStartSnp, "920").Type(kMarkSetEndSnp, "910");
    d.Ok();
  });
  Ui().OnDialog(kMarkerEditDialog, [&](DialogDriver& d) {
    d.Select(kMarkerEditList, 1).Click(kMarkerEditEdit);
    linesAfterEdit = d.Items(kMarkerEditList);
    d.Select(kMarkerEditList, 0).Click(kMarkerEditDelete);
    linesAfterDelete = d.Items(kMarkerEditList);
    d.Ok();
  });
  CMarkerEdit dialog(&Annotation(), kStarts, FALSE, nullptr, sample.Markers);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  const MarkerRegionList expected = {{2, 910, 920, 5}, {1, 300, 350, 33}};
  EXPECT_EQ(dialog.Markers, expected);
  EXPECT_EQ(linesAfterEdit[1], "Ch:2\t 910 - 920\tHMM : 5");
  EXPECT_EQ(linesAfterDelete, LinesOf(expected));

  sample.Markers = dialog.Markers;
  sample.StoreFile(path);
  CArrayData reread;
  reread.LoadFile(path);
  EXPECT_EQ(reread.Markers, expected);
}

TEST_F(MarkerDialogTest, ReadOnlyShowsTheListButCannotChangeOrConfirmIt) {
  std::vector<std::string> lines;
  bool okEnabled = true, editEnabled = true, deleteEnabled = true;
  Ui().OnDialog(kMarkerEditDialog, [&](DialogDriver& d) {
    lines = d.Items(kMarkerEditList);
    okEnabled = d.IsEnabled(IDOK);
    editEnabled = d.IsEnabled(kMarkerEditEdit);
    deleteEnabled = d.IsEnabled(kMarkerEditDelete);
    d.Cancel();
  });
  CMarkerEdit dialog(&Annotation(), kStarts, TRUE, nullptr, kRegions);
  EXPECT_EQ(dialog.DoModal(), IDCANCEL);
  EXPECT_EQ(lines, LinesOf(kRegions));
  EXPECT_FALSE(okEnabled || editEnabled || deleteEnabled);
}

}  // namespace
}  // namespace qova::test
