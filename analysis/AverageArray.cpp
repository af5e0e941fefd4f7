#include "analysis/AverageArray.h"

#include <algorithm>
#include <exception>

#include "core/ArrayData.h"
#include "platform/ErrorLog.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ui/Controls.h"
#include "resources/ParameterDialogs.h"

namespace res = qova::resources;

IMPLEMENT_DYNAMIC(CAverageArray, CDialog)

BEGIN_MESSAGE_MAP(CAverageArray, CDialog)
  ON_CBN_SELCHANGE(qova::resources::kAverageArrayType, &CAverageArray::OnArrayTypeChange)
END_MESSAGE_MAP()

CAverageArray::CAverageArray(std::string arrayDataFolder, CWnd* parent)
    : CDialog(res::kAverageArrayDialog, parent), arrayDataFolder_(std::move(arrayDataFolder)) {
  res::RegisterParameterDialogs();
}

bool CAverageArray::ForEachSampleHeader(const std::function<void(const SampleHeader&)>& take) const {
  const std::vector<std::string> files = platform::FindFiles(arrayDataFolder_, "*.CFH");
  if (files.empty()) {
    AfxMessageBox("error");
    return false;
  }
  CArrayData sample;
  for (const std::string& file : files) {
    const std::string path = platform::JoinPath(arrayDataFolder_, file);
    try {
      sample.LoadFile(path, false);
    } catch (const std::exception& error) {
      platform::AppendErrorLog("Average Arrays leaves out " + path + ": " + error.what());
      continue;
    }
    take(sample.Header);
  }
  return true;
}

BOOL CAverageArray::OnInitDialog() {
  CDialog::OnInitDialog();
  auto* types = static_cast<CComboBox*>(GetDlgItem(res::kAverageArrayType));
  std::vector<std::string> listed;
  ForEachSampleHeader([&](const SampleHeader& header) {
    // Exact text: the combo's own search ignores case.
    if (std::find(listed.begin(), listed.end(), header.ArrayType) != listed.end()) return;
    listed.push_back(header.ArrayType);
    types->AddString(header.ArrayType);
  });
  return TRUE;
}

void CAverageArray::OnArrayTypeChange() {
  auto* types = static_cast<CComboBox*>(GetDlgItem(res::kAverageArrayType));
  const int selected = types->GetCurSel();
  if (selected < 0) return;
  const std::string chosen = types->GetLBText(selected);
  // Compared with what the lists show, not with the member: a caller's
  // ArrayType must not keep its own samples from being listed.
  if (chosen == listedType_) return;
  ArrayType = listedType_ = chosen;
  auto* samples = static_cast<CListBox*>(GetDlgItem(res::kAverageArraySamples));
  auto* headerFrom = static_cast<CComboBox*>(GetDlgItem(res::kAverageArrayHeaderFrom));
  samples->ResetContent();
  headerFrom->ResetContent();
  ForEachSampleHeader([&](const SampleHeader& header) {
    if (header.ArrayType != ArrayType) return;
    samples->AddString(header.SampleName);
    headerFrom->AddString(header.SampleName);
  });
}

void CAverageArray::OnOK() {
  auto* samples = static_cast<CListBox*>(GetDlgItem(res::kAverageArraySamples));
  auto* headerFrom = static_cast<CComboBox*>(GetDlgItem(res::kAverageArrayHeaderFrom));
  const int header = headerFrom->GetCurSel();
  if (header < 0) {
    AfxMessageBox("Select header array");
    return;
  }
  if (samples->GetSelCount() <= 0) {
    AfxMessageBox("Select arrays");
    return;
  }
  const std::string name = GetDlgItemText(res::kAverageArrayNewName);
  if (name.empty()) {
    AfxMessageBox("Enter new array data name");
    return;
  }
  const std::string path = platform::JoinPath(arrayDataFolder_, name + ".CFH");
  if (platform::FileExists(path) && AfxMessageBox(path + " is already exist. Overwrite?", MB_YESNO) != IDYES) return;
  SelectedSamples.clear();
  for (int i = 0; i < samples->GetCount(); ++i)
    if (samples->GetSel(i) > 0) SelectedSamples.push_back(samples->GetText(i));
  HeaderSample = headerFrom->GetLBText(header);
  NewName = name;
  EndDialog(IDOK);
}
