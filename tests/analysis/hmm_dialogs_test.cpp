// The HMM parameter dialogs as a user works them: the state means of a real
// sample header as up-down positions, "Default" and "Current Value", and the
// six parameters of the gain/loss model with their checks.
#include "analysis/HMMAGLPara.h"
#include "analysis/HMMParameter.h"
#include "core/ArrayData.h"
#include "resources/ParameterDialogs.h"
#include "tests/core/CoreDialogTestSupport.h"

namespace qova::test {
namespace {

using platform::ui::DialogDriver;
using namespace qova::resources;

class HmmDialogTest : public CoreDialogTest {
 protected:
  // The positions of the up-downs as the user sees them.
  template <std::size_t N>
  static std::vector<int> Positions(const DialogDriver& d, const HmmMeanRow (&rows)[N]) {
    std::vector<int> positions;
    for (const HmmMeanRow& row : rows) positions.push_back(d.Position(row.upDown));
    return positions;
  }
  template <std::size_t N>
  static std::vector<std::string> Values(const DialogDriver& d, const HmmMeanRow (&rows)[N]) {
    std::vector<std::string> values;
    for (const HmmMeanRow& row : rows) values.push_back(d.Text(row.valueEdit));
    return values;
  }
};

TEST_F(HmmDialogTest, MeansOfARealHeaderShowAsPositionsAndComeBackExactly) {
  WriteStudy(1);
  CArrayData sample;
  sample.LoadFile(ArrayFolder() + "Test01.CFH", false);
  CHMMParameter dialog;
  for (std::size_t i = 0; i < 7; ++i) dialog.Means[i] = sample.Header.HmmMeans[6 - i];  // N=6 first
  const std::array<float, 7> opened = dialog.Means;
  std::vector<int> positions;
  std::vector<std::string> values;
  std::string caption;
  Ui().OnDialog(kHmmParameterDialog, [&](DialogDriver& d) {
    caption = d.Caption();
    positions = Positions(d, kHmmParameterRows);
    values = Values(d, kHmmParameterRows);
    d.Ok();
  });
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(caption, "HMM parameter");
  EXPECT_EQ(positions, (std::vector<int>{250, 90, 66, 30, 0, -49, -124}));
  EXPECT_EQ(values, (std::vector<std::string>{"2.500000", "0.899000", "0.657000", "0.300000", "0.000000",
                                              "-0.490000", "-1.240000"}));
  EXPECT_EQ(dialog.Means, opened);
}

TEST_F(HmmDialogTest, PositionsRoundToTheNearestStepAndComeBackAsMeans) {
  struct Case {
    const char* what;
    std::function<void(DialogDriver&)> act;
    std::array<float, 7> means;
    bool ok;
    std::vector<int> positionsBeforeClosing;
  };
  const std::array<float, 7> opened{2.5f, 0.89f, 0.29f, 0.3f, 0.0f, -0.49f, -1.24f};
  const std::vector<int> openedPositions{250, 89, 29, 30, 0, -49, -124};
  const std::vector<Case> cases = {
      {"plain OK", [](DialogDriver&) {}, opened, true, openedPositions},
      {"moved", [](DialogDriver& d) { d.Spin(1020, 1).Spin(1024, -1); },
       {2.5f, 0.89f, 0.3f, 0.3f, 0.0f, -0.49f, -1.25f}, true, {250, 89, 30, 30, 0, -49, -125}},
      {"a typed position", [](DialogDriver& d) { d.Type(1036, "-60"); },
       {2.5f, 0.89f, 0.29f, 0.3f, 0.0f, -0.6f, -1.24f}, true, openedPositions},
      {"Default then Cancel", [](DialogDriver& d) { d.Click(kHmmDefault); }, opened, false,
       {250, 89, 65, 30, 0, -49, -124}},
      {"Default then Current Value", [](DialogDriver& d) { d.Click(kHmmDefault).Click(kHmmCurrentValue); }, opened,
       true, openedPositions},
      {"Default then OK", [](DialogDriver& d) { d.Click(kHmmDefault); },
       {2.5f, 0.89f, 0.65f, 0.3f, 0.0f, -0.49f, -1.24f}, true, {250, 89, 65, 30, 0, -49, -124}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<int> positions;
    std::vector<std::string> values;
    Ui().OnDialog(kHmmParameterDialog, [&](DialogDriver& d) {
      c.act(d);
      positions = Positions(d, kHmmParameterRows);
      values = Values(d, kHmmParameterRows);
      if (c.ok) {
        d.Ok();
      } else {
        d.Cancel();
      }
    });
    CHMMParameter dialog;
    dialog.Means = opened;
    EXPECT_EQ(dialog.DoModal(), c.ok ? IDOK : IDCANCEL);
    EXPECT_EQ(positions, c.positionsBeforeClosing);
    EXPECT_EQ(values[2], "0.290000");  // "Default" moves only the up-downs
    EXPECT_EQ(dialog.Means, c.means);
  }
}

TEST_F(HmmDialogTest, AlleleMeansHaveTheirOwnRangesAndDefaults) {
  std::vector<int> defaults;
  int lowest = 0, highest = 0;
  Ui().OnDialog(kHmmSelfParameterDialog, [&](DialogDriver& d) {
    d.Click(kHmmDefault);
    defaults = Positions(d, kHmmSelfParameterRows);
    d.Spin(1020, 500);  // N=4 goes up to 3.00
    highest = d.Position(1020);
    d.Spin(1024, -500);
    lowest = d.Position(1024);
    d.Ok();
  });
  CHMMParametersSM dialog;
  dialog.Means = {2.0f, 0.7f, 0.5f, 0.0f, -0.7f};
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(defaults, (std::vector<int>{200, 70, 50, 0, -70}));
  EXPECT_EQ(highest, 300);
  EXPECT_EQ(lowest, -150);
  EXPECT_EQ(dialog.Means, (std::array<float, 5>{3.0f, 0.7f, 0.5f, 0.0f, -1.5f}));
}

class GainLossDialogTest : public CoreDialogTest {
 protected:
  using Typing = std::vector<std::pair<UINT, const char*>>;

  // Types into the edits and presses OK; returns what the dialog said and how
  // it closed.
  std::pair<std::vector<std::string>, INT_PTR> Enter(GainLossParameters& parameters, const Typing& typing) {
    messages_.Clear();
    Ui().OnDialog(kGainLossDialog, [&](DialogDriver& d) {
      for (const auto& [edit, text] : typing) d.Type(edit, text);
      d.Ok();
      if (d.IsOpen()) d.Cancel();
    });
    CHMMAGLPara dialog(&parameters);
    const INT_PTR result = dialog.DoModal();
    return {Messages(), result};
  }
};

TEST_F(GainLossDialogTest, RefusalsKeepTheDialogOpenAndTheParametersAsTheyWere) {
  struct Case {
    const char* what;
    Typing typing;
    const char* message;
  };
  const std::vector<Case> cases = {
      {"loss threshold 0.5", {{kGainLossLossThreshold, "0.5"}}, "Please enter a number between -1 and 0."},
      {"gain threshold -0.1", {{kGainLossGainThreshold, "-0.1"}}, "Please enter a number between 0 and 1."},
      {"Kosambi rate 101", {{kGainLossKosambi, "101"}}, "Please enter a number between 0 and 100."},
      {"letters", {{kGainLossGainGivenLoss, "x"}}, "Please enter a number."},
      {"a = 0.6", {{kGainLossNormalGivenAberration, "0.6"}}, "P(normal|gain or loss) must not exceed 0.5."},
      {"b + c = 1.2", {{kGainLossAberrationGivenNormal, "0.6"}, {kGainLossGainGivenLoss, "0.6"}},
       "P(gain or loss| normal) and P(gain|loss) must not add up to more than 1."},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    GainLossParameters parameters;
    const auto [messages, result] = Enter(parameters, c.typing);
    EXPECT_EQ(result, IDCANCEL);
    EXPECT_EQ(messages, std::vector<std::string>{c.message});
    EXPECT_EQ(parameters.LossThreshold, -0.06f);
    EXPECT_EQ(parameters.NormalGivenAberration, 0.05f);
    EXPECT_EQ(parameters.AberrationGivenNormal, 0.05f);
  }
}

TEST_F(GainLossDialogTest, BoundsAndTheDefaultsAreAccepted) {
  GainLossParameters parameters;
  std::vector<std::string> shown;
  Ui().OnDialog(kGainLossDialog, [&](DialogDriver& d) {
    for (UINT id : {kGainLossGainThreshold, kGainLossLossThreshold, kGainLossNormalGivenAberration,
                    kGainLossAberrationGivenNormal, kGainLossGainGivenLoss, kGainLossKosambi})
      shown.push_back(d.Text(id));
    d.Ok();
  });
  CHMMAGLPara dialog(&parameters);
  ASSERT_EQ(dialog.DoModal(), IDOK);
  EXPECT_EQ(shown, (std::vector<std::string>{"0.06", "-0.06", "0.05", "0.05", "0.01", "1"}));
  EXPECT_TRUE(Messages().empty());

  for (const char* loss : {"-1", "0"}) {
    SCOPED_TRACE(loss);
    const auto [messages, result] = Enter(parameters, {{kGainLossLossThreshold, loss}});
    EXPECT_EQ(result, IDOK);
    EXPECT_TRUE(messages.empty());
    EXPECT_EQ(parameters.LossThreshold, std::stof(loss));
  }
  EXPECT_EQ(parameters.GainThreshold, 0.06f);
  EXPECT_EQ(parameters.KosambiFactor, 1.0f);
}

}  // namespace
}  // namespace qova::test
