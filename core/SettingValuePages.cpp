#include "core/SettingValuePages.h"

#include "resources/SettingPages.h"

namespace res = qova::resources::settings;

IMPLEMENT_DYNAMIC(CSettingScale, CSettingPage)

CSettingScale::CSettingScale(CDisplaySetting* setting) : CSettingPage(res::kScalePage), m_pSetting(setting) {
  using namespace res::scale;
  BindSpinEdit(kSelfMagnification, kSelfMagnificationSpin, m_pSetting->SCALE.MAG_SELF, 10, 500, false);
  BindSpinEdit(kNonSelfMagnification, kNonSelfMagnificationSpin, m_pSetting->SCALE.MAG_NONSELF, 10, 500, false);
}

BOOL CSettingScale::OnInitDialog() {
  using namespace res::scale;
  CSettingPage::OnInitDialog();
  CheckRadioButton(int(kSelfLog), int(kSelfLinear), int(m_pSetting->SCALE.SELF_ISLOG ? kSelfLog : kSelfLinear));
  CheckRadioButton(int(kNonSelfLog), int(kNonSelfLinear),
                   int(m_pSetting->SCALE.NONSELF_ISLOG ? kNonSelfLog : kNonSelfLinear));
  return TRUE;
}

void CSettingScale::OnOK() {
  m_pSetting->SCALE.SELF_ISLOG = IsChecked(res::scale::kSelfLog) ? 1 : 0;
  m_pSetting->SCALE.NONSELF_ISLOG = IsChecked(res::scale::kNonSelfLog) ? 1 : 0;
  CSettingPage::OnOK();
}

IMPLEMENT_DYNAMIC(CSettingZenkor, CSettingPage)

namespace {
// No computation reads the two options yet; the lists show and keep them.
constexpr const char* kZenkorOptions[] = {"Off(default)", "On"};
}  // namespace

CSettingZenkor::CSettingZenkor(CProgramSetting* setting) : CSettingPage(res::kZenkorPage) {
  using res::zenkor::kRows;
  CProgramSetting& s = *setting;
  float* floats[3][4] = {{&s.THRESHOLD, &s.ALPHA, &s.BETA, &s.KOSAMBI},
                         {&s.THRESHOLDS, &s.ALPHAS, &s.BETAS, &s.KOSAMBIS},
                         {&s.THRESHOLDL, &s.ALPHAL, &s.BETAL, &s.KOSAMBIL}};
  int* markers[3] = {&s.MARKAI, &s.MARKLOH, &s.MARKUPD};
  // Any number is taken, 0 and negatives included, as the models were tuned
  // by hand. A marker number of 7 or more has no marker colour: the analysis
  // and the views must bound what they read.
  for (int r = 0; r < 3; ++r) {
    for (int k = 0; k < 4; ++k) BindFloat(kRows[r][k], *floats[r][k]);
    BindInt(kRows[r][4], *markers[r]);
  }
  BindCheck(res::zenkor::kUseZenkor, s.NONSELFALLELE);
  BindCheck(res::zenkor::kAiInference, s.AUTOAI);
  BindList(res::zenkor::kLohOption, s.LOHOP, kZenkorOptions);
  BindList(res::zenkor::kXOption, s.XOP, kZenkorOptions);
}

IMPLEMENT_DYNAMIC(CSettingAssociation, CSettingPage)

CSettingAssociation::CSettingAssociation(CProgramSetting* setting)
    : CSettingPage(res::kAssociationPage), m_pSetting(setting) {
  using namespace res::association;
  BindFloat(kSampleCallRate, m_pSetting->SAMPLE_CALLRATE);
  BindFloat(kSnpCallRate, m_pSetting->SNP_CALLRATE);
  BindFloat(kSnpMaf, m_pSetting->SNP_MAF);
  BindFloat(kCallRateDifference, m_pSetting->SNP_CALLRATE_DIF);
  BindInt(kPermutations, m_pSetting->NUM_PERMUTATION);
}

BOOL CSettingAssociation::OnInitDialog() {
  using namespace res::association;
  CSettingPage::OnInitDialog();
  CheckRadioButton(int(kByAllele), int(kBySample), int(m_pSetting->ANALYSISTYPE != 0 ? kBySample : kByAllele));
  return TRUE;
}

void CSettingAssociation::OnOK() {
  m_pSetting->ANALYSISTYPE = IsChecked(res::association::kByAllele) ? 0 : 1;
  CSettingPage::OnOK();
}

namespace {

constexpr const char* kIntegralMargins[] = {"minimum(default)", "maximum", "intermediate"};
constexpr const char* kRegressionModes[] = {"Both(default)", "Length only", "GC content only", "adjust the mean only",
                                            "None"};

struct ExtraCheck {
  UINT box;
  int CProgramSetting::*field;
};
// The boxes the page sets at its start and reads at OK, outside the exchange.
constexpr ExtraCheck kInitialisedChecks[] = {
    {res::extra::kNotLimitToHetero, &CProgramSetting::NotLimitToHeteroSNPs},
    {res::extra::kHideBefore, &CProgramSetting::HideExcludedBeforeCompensation},
    {res::extra::kHideAfter, &CProgramSetting::HideExcludedAfterCompensation},
};

}  // namespace

IMPLEMENT_DYNAMIC(CSettingExtra, CSettingPage)

CSettingExtra::CSettingExtra(CProgramSetting* setting) : CSettingPage(res::kExtraPage), m_pSetting(setting) {
  using namespace res::extra;
  CProgramSetting& s = *m_pSetting;
  // The lists first: OK stores them even when a later field fails to parse.
  BindList(kIntegralMargin, s.IntegralMarginMode, kIntegralMargins);
  BindList(kRegression, s.RegressionMode, kRegressionModes);
  BindInt(kAverageWindow, s.MovingAverageWindow, 1, 20);
  BindFloat(kAlleleAmplitude, s.AlleleAmplitude);
  BindInt(kSampleSpacing, s.SampleSpacing);
  BindInt(kNameX, s.SampleNameX);
  BindInt(kNameY, s.SampleNameY);
  // "scroll (default No)" is the multiple view's scrolling; the panel drawing
  // flag keeps its start value.
  BindCheck(kScroll, s.ScrollMultiple);
  BindInt(kLeftMargin, s.LeftMargin);
  BindFloat(kHeteroRate, s.HeteroRate);
  BindFloat(kMissHeteroRate, s.MissHeteroRate);
  BindFloat(kKosambi, s.ExtraKosambi);
  BindCheck(kMorekomi, s.MorekomiCompensation);
  BindFloat(kMorekomiRate, s.MorekomiRate);
  BindCheck(kNormalDistribution, s.UseNormalDistribution);
  BindCheck(kLdLoh, s.UseLDForLOH);
  BindCheck(kUseFileList, s.UseFileList);
}

BOOL CSettingExtra::OnInitDialog() {
  using namespace res::extra;
  CSettingPage::OnInitDialog();
  for (const ExtraCheck& c : kInitialisedChecks) SetChecked(c.box, m_pSetting->*c.field != 0);
  return TRUE;
}

void CSettingExtra::OnOK() {
  using namespace res::extra;
  for (const ExtraCheck& c : kInitialisedChecks) m_pSetting->*c.field = IsChecked(c.box) ? 1 : 0;
  (void)UpdateData(TRUE);
  CSettingPage::OnOK();
}
