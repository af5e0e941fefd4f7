#include "analysis/HMMParameter.h"

#include <cmath>
#include <cstdint>
#include <optional>

#include "platform/Numeric.h"
#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DataExchange.h"

namespace res = qova::resources;

namespace {

constexpr HmmMeanLimits kTotalLimits[7] = {{-150, 300, 250}, {-150, 300, 89}, {-150, 150, 65}, {-150, 150, 30},
                                           {-150, 150, 0},   {-150, 150, -49}, {-150, 150, -124}};
constexpr HmmMeanLimits kAlleleLimits[5] = {
    {-150, 300, 200}, {-150, 150, 70}, {-150, 150, 50}, {-150, 150, 0}, {-150, 150, -70}};

// An up-down reports a negative position in its 16-bit form: from this value
// on a position is read as negative.
constexpr int kFirstNegativePosition = 1001;

}  // namespace

int HmmMeanPosition(float mean) {
  return platform::SaturatingCast<std::int16_t>(std::round(static_cast<double>(mean) * 100.0));
}

IMPLEMENT_DYNAMIC(CHmmMeansDialog, CDialog)

BEGIN_MESSAGE_MAP(CHmmMeansDialog, CDialog)
  ON_BN_CLICKED(qova::resources::kHmmDefault, &CHmmMeansDialog::OnDefault)
  ON_BN_CLICKED(qova::resources::kHmmCurrentValue, &CHmmMeansDialog::OnCurrentValue)
END_MESSAGE_MAP()

CHmmMeansDialog::CHmmMeansDialog(UINT templateId, std::span<const res::HmmMeanRow> rows,
                                 std::span<const HmmMeanLimits> limits, std::span<float> means, CWnd* parent)
    : CDialog(templateId, parent), rows_(rows), limits_(limits), means_(means) {
  res::RegisterParameterDialogs();
}

void CHmmMeansDialog::ShowMeans() {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    auto* upDown = static_cast<CSpinButtonCtrl*>(GetDlgItem(rows_[i].upDown));
    upDown->SetRange32(limits_[i].lowest, limits_[i].highest);
    upDown->SetPos(HmmMeanPosition(means_[i]));
    SetDlgItemText(rows_[i].valueEdit, platform::Format("%3f", static_cast<double>(means_[i])));
  }
}

BOOL CHmmMeansDialog::OnInitDialog() {
  CDialog::OnInitDialog();
  ShowMeans();
  return TRUE;
}

void CHmmMeansDialog::OnDefault() {
  for (std::size_t i = 0; i < rows_.size(); ++i)
    static_cast<CSpinButtonCtrl*>(GetDlgItem(rows_[i].upDown))->SetPos(limits_[i].defaultPosition);
}

void CHmmMeansDialog::OnCurrentValue() { ShowMeans(); }

void CHmmMeansDialog::OnOK() {
  for (std::size_t i = 0; i < rows_.size(); ++i) {
    auto* upDown = static_cast<CSpinButtonCtrl*>(GetDlgItem(rows_[i].upDown));
    // A number typed into the buddy edit is the position, as the system's
    // up-down reads it.
    if (const auto typed = platform::ui::ParseTypedInteger(GetDlgItemText(rows_[i].buddyEdit))) upDown->SetPos(*typed);
    int position = upDown->GetPos();
    if (position >= kFirstNegativePosition) position -= 65536;
    // A mean left where it opened keeps its own value: the step of 0.01 would
    // otherwise move a header mean like 0.657 to 0.66 on a plain OK.
    if (position != HmmMeanPosition(means_[i])) means_[i] = static_cast<float>(position) / 100.0f;
  }
  CDialog::OnOK();
}

IMPLEMENT_DYNAMIC(CHMMParameter, CHmmMeansDialog)

CHMMParameter::CHMMParameter(CWnd* parent)
    : CHmmMeansDialog(res::kHmmParameterDialog, res::kHmmParameterRows, kTotalLimits, Means, parent) {}

IMPLEMENT_DYNAMIC(CHMMParametersSM, CHmmMeansDialog)

CHMMParametersSM::CHMMParametersSM(CWnd* parent)
    : CHmmMeansDialog(res::kHmmSelfParameterDialog, res::kHmmSelfParameterRows, kAlleleLimits, Means, parent) {}
