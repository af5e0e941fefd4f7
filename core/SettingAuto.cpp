#include "core/SettingAuto.h"

#include <algorithm>
#include <exception>

#include "core/ArrayData.h"
#include "core/SampleFileList.h"
#include "platform/ErrorLog.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ui/Controls.h"
#include "resources/SettingPages.h"

namespace res = qova::resources::settings;
namespace ids = qova::resources::settings::automatic;

namespace {

constexpr int kAttributeCount = 5;
constexpr std::string SampleHeader::* kAttributes[kAttributeCount] = {
    &SampleHeader::Attribute1, &SampleHeader::Attribute2, &SampleHeader::Attribute3, &SampleHeader::Attribute4,
    &SampleHeader::Attribute5};

void AddValue(std::vector<std::string>& values, const std::string& value) {
  if (!value.empty() && std::find(values.begin(), values.end(), value) == values.end()) values.push_back(value);
}

}  // namespace

std::vector<std::string> ExtractedAttributeValues(const CProgramSetting& setting, int attribute, bool& foundFiles) {
  foundFiles = true;
  std::vector<std::string> values;
  if (attribute < 1 || attribute > kAttributeCount) return values;
  const auto field = kAttributes[attribute - 1];
  if (setting.UseFileList != 0) {
    CSampleFileList index(setting);
    (void)index.Update(kFileListExtracted);
    if (index.Open(kFileListExtracted)) {
      SampleHeader header;
      std::string fileName;
      while (index.ReadNext(header, fileName)) AddValue(values, header.*field);
      index.Close();
    }
  } else {
    const std::vector<std::string> files = platform::FindFiles(setting.DefaultArrayDataFolder, "*.CFH");
    foundFiles = !files.empty();
    for (const std::string& file : files) {
      const std::string path = platform::JoinPath(setting.DefaultArrayDataFolder, file);
      CArrayData sample;
      try {
        sample.LoadFile(path, false);
      } catch (const std::exception& e) {
        // One damaged file must not hide the values of the others.
        platform::AppendErrorLog("Sample header cannot be read: " + path + " (" + e.what() + ")");
        continue;
      }
      AddValue(values, sample.Header.*field);
    }
  }
  std::sort(values.begin(), values.end());
  return values;
}

IMPLEMENT_DYNAMIC(CSettingAuto, CSettingPage)

CSettingAuto::CSettingAuto(CProgramSetting* setting) : CSettingPage(res::kAutoPage), m_pSetting(setting) {
  BindInt(ids::kMaxReferences, m_pSetting->MAXREF, 1, 100);
  BindCheck(ids::kSelf, m_pSetting->DOSELF);
  BindCheck(ids::kNonSelf, m_pSetting->DONONSELF);
  BindCheck(ids::kSkipAnalyzed, m_pSetting->SKIPALREADY);
  BindCheck(ids::kLimitReference, m_pSetting->LIMITREF);
  BindCheck(ids::kExcludeSelf, m_pSetting->EXCLUDESELF);
}

BOOL CSettingAuto::OnInitDialog() {
  CSettingPage::OnInitDialog();
  auto* attribute = static_cast<CComboBox*>(GetDlgItem(int(ids::kAttribute)));
  for (int k = 1; k <= kAttributeCount; ++k) attribute->AddString("Attribute" + std::to_string(k));
  if (m_pSetting->LIMITREFATTR > 0 && m_pSetting->LIMITREFATTR <= kAttributeCount) {
    attribute->SetCurSel(m_pSetting->LIMITREFATTR - 1);
    ListAttributeValues();
  }
  SetChecked(ids::kIdentical, m_pSetting->LIMITREFIDENT != 0);
  SetChecked(ids::kGivenValue, m_pSetting->LIMITREFIDENT == 0);
  GetDlgItem(int(ids::kValue))->SetWindowText(m_pSetting->LIMITREFSTR);
  ApplyLimitRule();
  return TRUE;
}

void CSettingAuto::ApplyLimitRule() {
  const bool limit = IsChecked(ids::kLimitReference);
  for (UINT id : {ids::kAttribute, ids::kIs, ids::kIdentical, ids::kGivenValue}) Enable(id, limit);
  Enable(ids::kValue, limit && IsChecked(ids::kGivenValue));
}

void CSettingAuto::ListAttributeValues() {
  const int selected = static_cast<CComboBox*>(GetDlgItem(int(ids::kAttribute)))->GetCurSel();
  if (selected == CB_ERR) return;
  auto* value = static_cast<CComboBox*>(GetDlgItem(int(ids::kValue)));
  value->ResetContent();
  value->SetWindowText("");
  bool foundFiles = true;
  const std::vector<std::string> values = ExtractedAttributeValues(*m_pSetting, selected + 1, foundFiles);
  if (!foundFiles) {
    AfxMessageBox("error");
    return;
  }
  for (const std::string& v : values) value->AddString(v);
}

BOOL CSettingAuto::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam), code = HIWORD(wParam);
  if (code == BN_CLICKED && (id == ids::kLimitReference || id == ids::kIdentical || id == ids::kGivenValue)) {
    ApplyLimitRule();
    return TRUE;
  }
  if (code == CBN_SELCHANGE && id == ids::kAttribute) {
    ListAttributeValues();
    return TRUE;
  }
  return CSettingPage::OnCommand(wParam, lParam);
}

BOOL CSettingAuto::OnKillActive() {
  if (IsChecked(ids::kLimitReference)) {
    if (static_cast<CComboBox*>(GetDlgItem(int(ids::kAttribute)))->GetCurSel() == CB_ERR) {
      AfxMessageBox("Select Attribute");
      return FALSE;
    }
    const bool identical = IsChecked(ids::kIdentical), given = IsChecked(ids::kGivenValue);
    if ((given && GetDlgItem(int(ids::kValue))->GetWindowText().empty()) || (!identical && !given)) {
      AfxMessageBox("Enter Attribute type");
      return FALSE;
    }
  }
  return CSettingPage::OnKillActive();
}

void CSettingAuto::OnOK() {
  if (IsChecked(ids::kLimitReference)) {
    m_pSetting->LIMITREFATTR = static_cast<CComboBox*>(GetDlgItem(int(ids::kAttribute)))->GetCurSel() + 1;
    m_pSetting->LIMITREFIDENT = IsChecked(ids::kIdentical) ? 1 : 0;
    if (m_pSetting->LIMITREFIDENT == 0) m_pSetting->LIMITREFSTR = GetDlgItem(int(ids::kValue))->GetWindowText();
  }
  CSettingPage::OnOK();
}
