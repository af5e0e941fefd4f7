// File > New(Association) as a user goes through it: the array type, then
// the cases and controls among the CHP files of the data folder (generated
// ones of the study's type, one of another type, one with the type in other
// letter case, one that no reader takes), then the calls read into the new
// document.
#include <gmock/gmock.h>

#include "platform/File.h"
#include "platform/Time.h"
#include "resources/AssociationDialogs.h"
#include "document/FilterDates.h"
#include "document/extraction/DataExtract.h"
#include "resources/ExtractDialogs.h"
#include "tests/analysis/AssociationTestSupport.h"
#include "tools/arraywriters/GenericWriter.h"
#include "views/association/DialogSelectCHPs.h"
#include "views/association/QOVAAssDoc.h"

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;
using Items = std::vector<std::string>;

// What the data folder offers the study's type (sorted as the list shows it).
const Items kStudyFiles = {"Case001.CHP",    "Case002.CHP",    "Case003.CHP",    "Control001.CHP",
                           "Control002.CHP", "Control003.CHP", "lower.chp"};

class AssociationNewTest : public AssociationDataTest {
 protected:
  AssociationNewTest() {
    arraygen::CaseControlSpec spec;
    spec.Cases = 3;
    spec.Controls = 3;
    spec.AssociatedSnps = 2;
    study_ = arraygen::WriteCaseControlStudy(DataFolder(), LibraryFolder(), Annotation(), spec);
    std::string bytes;
    EXPECT_TRUE(platform::ReadWholeFile(DataFolder() + "Case001.CHP", bytes));
    // The chip type sits in the header as plain text: the same file with
    // another type of the same length, and with the type in capitals.
    const std::size_t at = bytes.find(kAssociationType);
    EXPECT_NE(at, std::string::npos);
    WriteChp("lower.chp", bytes);
    WriteChp("Other131.CHP", std::string(bytes).replace(at, 17, "Mapping10K_Xba131"));
    WriteChp("Upper.CHP", std::string(bytes).replace(at, 17, "MAPPING10K_XBA142"));
    WriteChp("Broken.CHP", "no reader takes this");
  }

  void WriteChp(const std::string& name, const std::string& bytes) {
    ASSERT_TRUE(arraywriters::WriteBytes(DataFolder() + name, bytes));
  }

  // Runs File > New(Association) on a fresh document with the two scripts;
  // the document's answer.
  BOOL RunNew(const std::function<void(DialogDriver&)>& type, const std::function<void(DialogDriver&)>& samples) {
    Ui().OnDialog(res::kSelectArrayTypeDialog, type);
    Ui().OnDialog(res::kSelectChpsDialog, [samples](DialogDriver& d) {
      samples(d);
      if (d.IsOpen()) d.Cancel();
    });
    doc_ = std::make_unique<CQOVAAssDoc>(global_);
    doc_->m_bAutoDelete = FALSE;
    return doc_->OnNewDocument();
  }

  static std::function<void(DialogDriver&)> ChooseType(bool skipCheck = false) {
    return [skipCheck](DialogDriver& d) {
      d.Select(res::kSelectArrayTypeList, kAssociationType).SetCheck(res::kSelectArrayTypeSkipCheck, skipCheck).Ok();
    };
  }

  // Picks `date` in the date picker the next "set" opens.
  void PickOnNextCalendar(const SYSTEMTIME& date) {
    Ui().OnDialog(res::kCalendarDialog, [date](DialogDriver& d) { d.PickDate(res::kCalendarMonth, date).Ok(); });
  }

  static SYSTEMTIME Day(CTime time) {
    SYSTEMTIME date{};
    date.wYear = static_cast<WORD>(time.GetYear());
    date.wMonth = static_cast<WORD>(time.GetMonth());
    date.wDay = static_cast<WORD>(time.GetDay());
    return date;
  }

  arraygen::CaseControlStudy study_;
  std::unique_ptr<CQOVAAssDoc> doc_;
};

TEST_F(AssociationNewTest, OffersTheFilesOfTheStudysTypeAndReportsTheUnreadableOne) {
  struct Case {
    bool skip;
    Items offered;
    Items messages;
  } const kCases[] = {
      {false, kStudyFiles, {"SNPs call is not performed"}},
      {true,
       {"Broken.CHP", "Case001.CHP", "Case002.CHP", "Case003.CHP", "Control001.CHP", "Control002.CHP",
        "Control003.CHP", "lower.chp", "Other131.CHP", "Upper.CHP"},
       {}},
  };
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.skip);
    messages_.Clear();
    Items offered;
    std::string caption, from, to;
    bool importEnabled = true;
    EXPECT_FALSE(RunNew(ChooseType(c.skip), [&](DialogDriver& d) {
      caption = d.Caption();
      offered = d.Items(res::kSelectChpsFound);
      from = d.Text(res::kSelectChpsFromDate);
      to = d.Text(res::kSelectChpsToDate);
      importEnabled = d.IsEnabled(res::kSelectChpsImportList);
      EXPECT_FALSE(d.IsChecked(res::kSelectChpsUseFrom));
      EXPECT_FALSE(d.IsChecked(res::kSelectChpsUseTo));
      d.Cancel();
    }));
    EXPECT_EQ(caption, "Select CHP files");
    EXPECT_EQ(offered, c.offered);
    EXPECT_EQ(messages_.Texts(), c.messages);
    const std::string today = FormatFilterDate(Day(CTime::GetCurrentTime()));
    EXPECT_EQ(from, today);
    EXPECT_EQ(to, today);
    EXPECT_FALSE(importEnabled);
    EXPECT_EQ(doc_->m_strStatus, "Clean");
    EXPECT_FALSE(doc_->m_Data.HasArrays());
  }
}

TEST_F(AssociationNewTest, TheChosenFilesBecomeTheSortedListsOfAModifiedStudyWithTheirCalls) {
  Items stayed;
  const BOOL made = RunNew(ChooseType(), [&](DialogDriver& d) {
    d.Ok();  // neither list has an entry
    d.SelectItems(res::kSelectChpsFound, {2, 0}).Click(res::kSelectChpsAddCase);
    d.Ok();  // still no control
    EXPECT_TRUE(d.IsOpen());
    // One at a time from the top: each press takes the entry now at the top.
    d.SelectItems(res::kSelectChpsFound, {0}).Click(res::kSelectChpsAddControl);
    EXPECT_EQ(d.SelectedItems(res::kSelectChpsFound), std::vector<int>{0});
    d.Click(res::kSelectChpsAddControl).Click(res::kSelectChpsAddControl);
    d.Click(res::kSelectChpsAddCase);  // Control003, then given back
    d.Select(res::kSelectChpsCases, 2).Click(res::kSelectChpsDeleteCase);
    stayed = d.Items(res::kSelectChpsFound);
    d.Ok();
  });
  ASSERT_TRUE(made);
  EXPECT_EQ(messages_.Texts(), (Items{"SNPs call is not performed", "Select at least one for case and control",
                                      "Select at least one for case and control"}));
  EXPECT_EQ(stayed, (Items{"Control003.CHP", "lower.chp"}));
  EXPECT_EQ(doc_->m_Data.caseNames, (Items{"Case001.CHP", "Case003.CHP"}));
  EXPECT_EQ(doc_->m_Data.controlNames, (Items{"Case002.CHP", "Control001.CHP", "Control002.CHP"}));
  EXPECT_EQ(doc_->m_Data.arrayType, kAssociationType);
  EXPECT_EQ(doc_->m_strStatus, "Analysis");
  EXPECT_TRUE(doc_->IsModified());
  // The calls are the generated ones of the tested SNPs, each in its sample's slot.
  const std::size_t tested = static_cast<std::size_t>(global_.ArrayLastSnpIndexX[1]) + 1;
  const auto calls = [&](const std::vector<std::uint8_t>& sample) {
    return std::vector<std::uint8_t>(sample.begin(), sample.begin() + static_cast<std::ptrdiff_t>(tested));
  };
  const std::vector<std::vector<std::uint8_t>>& generated = study_.Genotypes.Calls;
  ASSERT_EQ(doc_->m_Data.calls.size(), 5u);
  EXPECT_EQ(calls(doc_->m_Data.calls[0]), calls(generated[0]));  // Case001
  EXPECT_EQ(calls(doc_->m_Data.calls[1]), calls(generated[2]));  // Case003
  EXPECT_EQ(calls(doc_->m_Data.calls[2]), calls(generated[1]));  // Case002, a control here
  EXPECT_EQ(calls(doc_->m_Data.calls[4]), calls(generated[4]));  // Control002
}

TEST_F(AssociationNewTest, RefreshFiltersByCreationDayAndNeverBringsBackAChosenFile) {
  const CTime now = CTime::GetCurrentTime();
  Items afterToday, afterTomorrow, afterFromToday, afterMove, afterDelete;
  std::string shownTo;
  PickOnNextCalendar(Day(now));
  EXPECT_FALSE(RunNew(ChooseType(), [&](DialogDriver& d) {
    // To today means today at 00:00: the files made since are left out.
    d.Click(res::kSelectChpsSetTo).SetCheck(res::kSelectChpsUseTo, true).Click(res::kSelectChpsRefresh);
    afterToday = d.Items(res::kSelectChpsFound);
    PickOnNextCalendar(Day(now + 86400));
    d.Click(res::kSelectChpsSetTo).Click(res::kSelectChpsRefresh);
    shownTo = d.Text(res::kSelectChpsToDate);
    afterTomorrow = d.Items(res::kSelectChpsFound);
    PickOnNextCalendar(Day(now));
    d.Click(res::kSelectChpsSetFrom).SetCheck(res::kSelectChpsUseFrom, true).Click(res::kSelectChpsRefresh);
    afterFromToday = d.Items(res::kSelectChpsFound);
    d.SelectItems(res::kSelectChpsFound, {1}).Click(res::kSelectChpsAddCase).Click(res::kSelectChpsRefresh);
    afterMove = d.Items(res::kSelectChpsFound);
    d.Select(res::kSelectChpsCases, 0).Click(res::kSelectChpsDeleteCase).Click(res::kSelectChpsRefresh);
    afterDelete = d.Items(res::kSelectChpsFound);
    d.Cancel();
  }));
  EXPECT_TRUE(afterToday.empty());
  EXPECT_EQ(shownTo, FormatFilterDate(Day(now + 86400)));
  EXPECT_EQ(afterTomorrow, kStudyFiles);
  EXPECT_EQ(afterFromToday, kStudyFiles);
  Items withoutCase002 = kStudyFiles;
  withoutCase002.erase(withoutCase002.begin() + 1);
  EXPECT_EQ(afterMove, withoutCase002);
  // Refresh goes through the candidates in the order they became candidates.
  Items returnedLast = withoutCase002;
  returnedLast.push_back("Case002.CHP");
  EXPECT_EQ(afterDelete, returnedLast);
  EXPECT_FALSE(doc_->m_Data.HasArrays());
}

TEST_F(AssociationNewTest, CancelOrARefusedTypeOrAMissingLibraryMakesNoDocument) {
  int samplesShown = 0;
  // Cancel in the type dialog, after OK was refused without a type.
  EXPECT_FALSE(RunNew([](DialogDriver& d) { d.Ok().Cancel(); }, [&](DialogDriver&) { ++samplesShown; }));
  EXPECT_EQ(samplesShown, 0);
  EXPECT_EQ(messages_.Texts(), Items{"select array type"});

  // A folder without CHP files: the lists stay empty and the dates blank.
  messages_.Clear();
  global_.ProgramSetting->DefaultDataFolder = Root() + "empty/";
  std::string from = "not read";
  EXPECT_FALSE(RunNew(ChooseType(), [&](DialogDriver& d) {
    from = d.Text(res::kSelectChpsFromDate);
    d.Ok();
  }));
  EXPECT_EQ(from, "");
  EXPECT_EQ(messages_.Texts(), (Items{"No CHP files", "Select at least one for case and control"}));

  // A complete choice whose type has no library file in the library folder.
  messages_.Clear();
  global_.ProgramSetting->DefaultDataFolder = DataFolder();
  ASSERT_TRUE(platform::RemoveFile(LibraryFolder() + study_.LibraryFile));
  EXPECT_FALSE(RunNew(ChooseType(true), [](DialogDriver& d) {
    d.SelectItems(res::kSelectChpsFound, {1}).Click(res::kSelectChpsAddCase);
    d.SelectItems(res::kSelectChpsFound, {1}).Click(res::kSelectChpsAddControl).Ok();
  }));
  ASSERT_EQ(messages_.Texts().size(), 1u);
  EXPECT_THAT(messages_.Texts()[0], ::testing::HasSubstr(study_.LibraryFile));
  EXPECT_EQ(doc_->m_strStatus, "Clean");
  EXPECT_FALSE(doc_->m_Data.HasArrays());
  EXPECT_EQ(progressDialogs_, 0);
}

}  // namespace
}  // namespace qova::test
