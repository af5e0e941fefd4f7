// The association method dialog: what it hands back, the statistics that
// take no sample counts, and the Sample Manager's association action that
// runs it; and the array-type dialog that opens a new association study.
#include <gtest/gtest.h>

#include <cmath>

#include "analysis/AssociationMethods.h"
#include "core/AnalyzedData.h"
#include "document/samplemanager/DataManageCache.h"
#include "document/DocumentCommands.h"
#include "resources/AssociationDialogs.h"
#include "resources/SampleManagerDialog.h"
#include "tests/document/DocumentTestSupport.h"
#include "views/association/DialogAssociation.h"
#include "views/association/DialogSelectArraytype.h"

using namespace qova::document::samplemanager;
namespace association = qova::views::association;

namespace qova::test {
namespace {

namespace res = qova::resources;
using platform::ui::DialogDriver;

class AssociationDialogTest : public DocumentTest {
 protected:
  ~AssociationDialogTest() override { CQOVADoc::SetAssociationDialog(nullptr); }

  // Runs the dialog with `script`; the result and the three members.
  struct Outcome {
    INT_PTR result = -1;
    int positive = -1;
    int negative = -1;
    int method = -1;
  };
  Outcome Run(const std::function<void(DialogDriver&)>& script) {
    Ui().OnDialog(res::kAssociationDialog, [&script](DialogDriver& d) {
      script(d);
      if (d.IsOpen()) d.Cancel();
    });
    CDialogAssociation dialog;
    Outcome outcome;
    outcome.result = dialog.DoModal();
    outcome.positive = dialog.m_nPositive;
    outcome.negative = dialog.m_nNegative;
    outcome.method = dialog.m_nMethod;
    return outcome;
  }
};

TEST_F(AssociationDialogTest, OkAtOnceGivesNoCountsAndTheChiSquare) {
  const Outcome outcome = Run([](DialogDriver& d) {
    EXPECT_EQ(d.Caption(), "Association");
    EXPECT_EQ(d.Items(res::kAssociationMethod).size(), 9u);
    EXPECT_EQ(d.Items(res::kAssociationMethod)[2], "10*(RA-RB)*(RA-RB)/(RA+N+/N-)/(RB*N+/N-+1)");
    EXPECT_EQ(d.Text(res::kAssociationMethod), "chi2");
    EXPECT_EQ(d.Text(res::kAssociationPositive), "0");
    EXPECT_EQ(d.Text(res::kAssociationNegative), "0");
    EXPECT_TRUE(d.IsEnabled(res::kAssociationPositive));
    EXPECT_TRUE(d.IsEnabled(res::kAssociationNegative));
    d.Ok();
  });
  EXPECT_EQ(outcome.result, IDOK);
  EXPECT_EQ(outcome.positive, 0);
  EXPECT_EQ(outcome.negative, 0);
  EXPECT_EQ(outcome.method, 1);
}

// Statistics 3, 4, 5 and 7 take no counts: their edits are disabled but keep
// what was typed, and OK still hands it back; a result of theirs left empty
// is not blamed on a count.
TEST_F(AssociationDialogTest, StatisticsWithoutCountsDisableTheEditsWhichKeepTheirValues) {
  for (int method = 0; method < 9; ++method) {
    const bool counts = method != 3 && method != 4 && method != 5 && method != 7;
    const Outcome outcome = Run([&](DialogDriver& d) {
      d.Type(res::kAssociationPositive, "12").Type(res::kAssociationNegative, "7");
      // Through a statistic of the other kind first, so both changes show.
      d.Select(res::kAssociationMethod, counts ? 3 : 2);
      d.Select(res::kAssociationMethod, method);
      EXPECT_EQ(d.IsEnabled(res::kAssociationPositive), counts) << method;
      EXPECT_EQ(d.IsEnabled(res::kAssociationNegative), counts) << method;
      EXPECT_EQ(d.Text(res::kAssociationPositive), "12");
      if (!counts) {
        EXPECT_THROW(d.Type(res::kAssociationNegative, "1"), platform::ui::ScriptError);
      }
      d.Ok();
    });
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.positive, 12) << method;
    EXPECT_EQ(outcome.negative, 7) << method;
    EXPECT_EQ(outcome.method, method);
    // An empty result asks for both counts exactly where the dialog takes them.
    const std::string reason = qova::analysis::AssociationEmptyReason(method, {12.0, 0.0});
    EXPECT_EQ(reason.find("needs samples of both kinds") != std::string::npos, counts) << method << ": " << reason;
  }
}

// OK refuses a count that is not an integer, or one below 0 while the edits
// take counts, naming it; the dialog stays open on that edit and takes the
// values typed next. Statistics without counts hand back what the disabled
// edits hold, a negative count too.
TEST_F(AssociationDialogTest, ACountThatIsNotANumberOrBelowZeroKeepsTheDialogOpen) {
  struct Case {
    int method;
    const char* positive;
    const char* negative;
    const char* message;  // nullptr: OK takes the values at once
    unsigned focus;
  };
  const char* const belowZeroPositive = "Please enter a number of positive samples of 0 or more.";
  const char* const belowZeroNegative = "Please enter a number of negative samples of 0 or more.";
  const unsigned positive = res::kAssociationPositive, negative = res::kAssociationNegative;
  for (const Case& c : {Case{1, "3x", "3", "Please enter an integer.", positive},
                        Case{1, "-1", "3", belowZeroPositive, positive},
                        Case{1, "3", "-1", belowZeroNegative, negative},
                        Case{0, "-2", "-5", belowZeroPositive, positive},
                        Case{2, "0", "-2147483648", belowZeroNegative, negative},
                        Case{6, "4", "-3", belowZeroNegative, negative},
                        Case{8, "-7", "0", belowZeroPositive, positive},
                        Case{3, "-1", "-2", nullptr, 0},
                        Case{4, "-1", "3", nullptr, 0},
                        Case{5, "3", "-1", nullptr, 0},
                        Case{7, "-4", "-4", nullptr, 0}}) {
    SCOPED_TRACE(std::to_string(c.method) + " with " + c.positive + ", " + c.negative);
    messages_.Clear();
    bool open = false;
    unsigned focus = 0;
    const Outcome outcome = Run([&](DialogDriver& d) {
      d.Type(positive, c.positive).Type(negative, c.negative).Select(res::kAssociationMethod, c.method).Ok();
      open = d.IsOpen();
      if (!open) return;
      focus = d.Focus();
      d.Type(positive, "3").Type(negative, "2").Ok();
    });
    EXPECT_EQ(open, c.message != nullptr);
    EXPECT_EQ(Messages(), c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{});
    EXPECT_EQ(focus, c.focus);
    EXPECT_EQ(outcome.result, IDOK);
    EXPECT_EQ(outcome.positive, c.message ? 3 : std::stoi(c.positive));
    EXPECT_EQ(outcome.negative, c.message ? 2 : std::stoi(c.negative));
    EXPECT_EQ(outcome.method, c.method);
  }
}

// The Sample Manager's association action on a paired tumour runs the dialog
// and stores its result; Cancel stores nothing.
TEST_F(AssociationDialogTest, TheSampleManagersAssociationActionRunsTheDialog) {
  WriteStudy(1, true);
  association::InstallAssociationDialog();
  Ui().OnDialog(res::kAssociationDialog, [](DialogDriver& d) { d.Cancel(); });
  Doc().RunSampleAction("Test01", kActionAssociationAnalysis);
  EXPECT_FALSE(Exists(ResultPath("Test01_A.CFS")));
  EXPECT_EQ(Doc().Status, kStatusClean);

  Ui().OnDialog(res::kAssociationDialog, [](DialogDriver& d) {
    d.Type(res::kAssociationPositive, "3").Type(res::kAssociationNegative, "2").Ok();
  });
  Doc().RunSampleAction("Test01", kActionAssociationAnalysis);
  EXPECT_TRUE(Messages().empty()) << Messages()[0];
  CAnalyzedData stored;
  stored.LoadFileAllocating(ResultPath("Test01_A.CFS"));
  EXPECT_EQ(stored.Header.SampleName, "Test01_A");
  EXPECT_EQ(Doc().Status, kStatusSingle);
}

// Data > Sample Manager, "Association Analysis" on the selected paired tumour
// with the statistic |At/Bt - Ar/Br| chosen: the result stored for that
// sample holds the statistic of its own signals and its normal's.
TEST_F(AssociationDialogTest, TheSampleManagersAssociationButtonStoresTheStatisticOfTheSelectedSample) {
  WriteStudy(1, true);
  samplegen::StudySpec second = Study(1, true, "Test02");
  second.Seed = 8;
  WriteStudy(second);
  SampleManagerCache::Reset();
  association::InstallAssociationDialog();
  Ui().OnDialog(res::kSampleManagerDialog, [](DialogDriver& d) {
    EXPECT_EQ(d.Items(res::manager::kSampleList), (std::vector<std::string>{"Test01", "Test02"}));
    d.Select(res::manager::kSampleList, "Test02").Click(res::manager::kAssociationAnalysis);
  });
  Ui().OnDialog(res::kAssociationDialog, [](DialogDriver& d) {
    d.Select(res::kAssociationMethod, qova::analysis::kAssocSignalRatios).Ok();
  });
  DocumentTest::Run(qova::document::command::kSampleManager);
  SampleManagerCache::Reset();

  EXPECT_EQ(Messages(), std::vector<std::string>{});
  EXPECT_TRUE(Ui().Failures().empty()) << Ui().Failures()[0];
  EXPECT_EQ(platform::FindFiles(ResultFolder(), "*"), std::vector<std::string>{"Test02_A.CFS"});
  CAnalyzedData stored;
  stored.LoadFileAllocating(ResultPath("Test02_A.CFS"));
  const CArrayData test = LoadSample("Test02");
  ASSERT_EQ(test.Header.SelfReference, "Test02N");
  const CArrayData normal = LoadSample("Test02N");
  const std::vector<std::int32_t>& row = Annotation().IndexMap;
  int compared = 0;
  for (std::int32_t i = global_.ArrayFirstSnpIndex[0]; i <= global_.ArrayLastSnpIndexX[0]; ++i) {
    const auto j = static_cast<std::size_t>(row[std::size_t(i)]);
    const double statistic = std::fabs(double(test.SignalA[j]) / test.SignalB[j] - double(normal.SignalA[j]) / normal.SignalB[j]);
    if (!std::isfinite(statistic)) continue;
    ASSERT_NEAR(stored.LogRatio[std::size_t(i)], statistic, 1e-5 * std::max(1.0, statistic)) << i;
    ++compared;
  }
  EXPECT_GT(compared, 10000);
  EXPECT_EQ(Doc().Status, kStatusSingle);
  EXPECT_EQ(Doc().AnalyzedData.Header.SampleName, "Test02_A");
}

// Data > Sample Manager > Association Analysis, one run after the other on
// one document. The defaults (0, 0, chi2) and any statistic that weighs by
// the counts with a count of 0 leave no SNP valid: the analysis says why on
// screen and neither stores nor shows anything, so a result stored before
// keeps its bytes and stays shown; what gives a result is stored as before.
// A count below 0 is refused in the dialog, which is then cancelled: nothing
// runs, and the result stored before keeps its bytes.
TEST_F(AssociationDialogTest, AnAssociationLeavingNoValidSnpIsRefusedAndStoresNothing) {
  struct Case {
    const char* positive;
    const char* negative;
    int method;
    bool stored;  // a new Test01_A.CFS is written and shown
    const char* dialogSays = nullptr;  // the dialog refuses the counts, and is cancelled
  };
  WriteStudy(1, true);
  SampleManagerCache::Reset();
  association::InstallAssociationDialog();
  const std::string refused =
      "The association analysis of Test01 leaves no valid SNP: the method needs samples of both kinds, a number "
      "of positive and of negative samples above 0. Nothing is stored.";
  std::string shownBytes;  // of the result last stored, "" before any
  for (const Case& c : {Case{"0", "0", qova::analysis::kAssocModelRatios, false},
                        Case{"0", "0", qova::analysis::kAssocSignalRatios, true},
                        Case{"4", "0", qova::analysis::kAssocChiFractions, false},
                        Case{"0", "0", qova::analysis::kAssocModeling, false},
                        Case{"3", "2", qova::analysis::kAssocModelRatios, true},
                        Case{"-1", "3", qova::analysis::kAssocModelRatios, false,
                             "Please enter a number of positive samples of 0 or more."},
                        Case{"3", "-3", qova::analysis::kAssocModeling, false,
                             "Please enter a number of negative samples of 0 or more."}}) {
    SCOPED_TRACE(std::to_string(c.method) + " with " + c.positive + ", " + c.negative);
    messages_.Clear();
    Ui().OnDialog(res::kSampleManagerDialog, [](DialogDriver& d) {
      d.Select(res::manager::kSampleList, "Test01").Click(res::manager::kAssociationAnalysis);
    });
    Ui().OnDialog(res::kAssociationDialog, [&c](DialogDriver& d) {
      d.Type(res::kAssociationPositive, c.positive).Type(res::kAssociationNegative, c.negative);
      d.Select(res::kAssociationMethod, c.method).Ok();
      if (d.IsOpen()) d.Cancel();
    });
    DocumentTest::Run(qova::document::command::kSampleManager);

    EXPECT_TRUE(Ui().Failures().empty()) << Ui().Failures()[0];
    const std::string told = c.dialogSays ? c.dialogSays : refused;
    EXPECT_EQ(Messages(), c.stored ? std::vector<std::string>{} : std::vector<std::string>{told});
    const std::string bytes = Exists(ResultPath("Test01_A.CFS")) ? Bytes(ResultPath("Test01_A.CFS")) : "";
    if (c.stored) {
      EXPECT_FALSE(bytes.empty());
      EXPECT_FALSE(bytes == shownBytes) << "the result stored before";
      shownBytes = bytes;
    }
    EXPECT_TRUE(bytes == shownBytes) << bytes.size() << " bytes stored, " << shownBytes.size() << " expected";
    EXPECT_EQ(platform::FindFiles(ResultFolder(), "*").size(), shownBytes.empty() ? 0u : 1u);
    EXPECT_EQ(Doc().Status, shownBytes.empty() ? kStatusClean : kStatusSingle);
    EXPECT_EQ(Doc().AnalyzedData.Header.SampleName, shownBytes.empty() ? "" : "Test01_A");
  }
  SampleManagerCache::Reset();
  EXPECT_EQ(ErrorLogLines(), std::vector<std::string>{});
}

// OK insists on a type; the type and the check box come back as chosen.
TEST_F(AssociationDialogTest, TheArrayTypeDialogInsistsOnAType) {
  struct Case {
    int index;
    bool skip;
    const char* type;
  };
  for (const Case& c : {Case{0, false, "Mapping10K_Xba131"}, Case{7, true, "Mapping250K_Nsp"}}) {
    messages_.Clear();
    Ui().OnDialog(res::kSelectArrayTypeDialog, [&c](DialogDriver& d) {
      EXPECT_EQ(d.Caption(), "Select Array type");
      const std::vector<std::string> types = d.Items(res::kSelectArrayTypeList);
      ASSERT_EQ(types.size(), 8u);
      EXPECT_EQ(types[4], "Mendel_Sty");
      EXPECT_EQ(d.CurSel(res::kSelectArrayTypeList), -1);
      EXPECT_FALSE(d.IsChecked(res::kSelectArrayTypeSkipCheck));
      d.SetCheck(res::kSelectArrayTypeSkipCheck, c.skip).Ok();
      EXPECT_TRUE(d.IsOpen());
      d.Select(res::kSelectArrayTypeList, c.index).Ok();
    });
    CDialogSelectArraytype dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(Messages(), std::vector<std::string>{"select array type"});
    EXPECT_EQ(dialog.m_strArrayType, c.type);
    EXPECT_EQ(dialog.m_bSkipTypeCheck, c.skip ? 1 : 0);
  }
  Ui().OnDialog(res::kSelectArrayTypeDialog, [](DialogDriver& d) { d.Select(res::kSelectArrayTypeList, 2).Cancel(); });
  CDialogSelectArraytype cancelled;
  EXPECT_EQ(cancelled.DoModal(), IDCANCEL);
  EXPECT_EQ(cancelled.m_strArrayType, "");
}

}  // namespace
}  // namespace qova::test
