#include "document/analyses/SelectRef.h"

#include <exception>

#include "core/ArrayData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/ui/DataExchange.h"
#include "resources/ReferenceDialogs.h"

IMPLEMENT_DYNAMIC(CSelectRef, CDialog)

BEGIN_MESSAGE_MAP(CSelectRef, CDialog)
  ON_BN_CLICKED(qova::resources::kSelectRefShowReferencesOnly, &CSelectRef::OnShowReferencesOnly)
END_MESSAGE_MAP()

CSelectRef::CSelectRef(std::string arrayDataFolder, CWnd* parent)
    : CDialog(qova::resources::kSelectRefDialog, parent), arrayDataFolder_(std::move(arrayDataFolder)) {
  qova::resources::RegisterReferenceDialogs();
}

CSelectRef::CSelectRef(CWnd* parent)
    : CSelectRef(qova::document::ApplicationData().ProgramSetting->DefaultArrayDataFolder, parent) {}

void CSelectRef::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, static_cast<int>(qova::resources::kSelectRefSampleList), m_sampleList);
  DDX_Control(pDX, static_cast<int>(qova::resources::kSelectRefShowReferencesOnly), m_referencesOnly);
}

BOOL CSelectRef::OnInitDialog() {
  CDialog::OnInitDialog();
  m_referencesOnly.SetCheck(ReferencesOnly ? 1 : 0);
  FillSampleList();
  return TRUE;
}

void CSelectRef::OnShowReferencesOnly() {
  ReferencesOnly = m_referencesOnly.GetCheck() == 1 ? TRUE : FALSE;
  FillSampleList();
}

void CSelectRef::FillSampleList() {
  m_sampleList.ResetContent();
  const std::vector<std::string> files = platform::FindFiles(arrayDataFolder_, "*.CFH");
  if (files.empty()) {
    AfxMessageBox("error");
    return;
  }
  CArrayData sample;
  for (const std::string& file : files) {
    try {
      sample.LoadFile(platform::JoinPath(arrayDataFolder_, file), false);
    } catch (const std::exception&) {
      // A sample that cannot be read cannot be chosen; the others still can.
      continue;
    }
    if (sample.Header.ArrayType != ArrayType) continue;
    if (ReferencesOnly && sample.Header.IsTest != 0) continue;
    m_sampleList.AddString(sample.Header.SampleName);
  }
}

void CSelectRef::OnOK() {
  const int selection = m_sampleList.GetCurSel();
  if (selection < 0) {
    AfxMessageBox("Select Reference");
    return;
  }
  ChosenName = m_sampleList.GetLBText(selection);
  CDialog::OnOK();
}
