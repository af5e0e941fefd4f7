#include "views/association/DialogSelectCHPs.h"

#include <algorithm>

#include "analysis/AssociationData.h"
#include "document/Calendar.h"
#include "document/FilterDates.h"
#include "document/extraction/DataExtract.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "resources/AssociationDialogs.h"

namespace res = qova::resources;

namespace {

constexpr const char* kNoChpFiles = "No CHP files";
constexpr const char* kCallsNotPerformed = "SNPs call is not performed";
constexpr const char* kNeedCaseAndControl = "Select at least one for case and control";

std::vector<std::string> Entries(const CListBox& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.GetCount(); ++i) texts.push_back(list.GetText(i));
  return texts;
}

}  // namespace

IMPLEMENT_DYNAMIC(CDialogSelectCHPs, CDialog)

BEGIN_MESSAGE_MAP(CDialogSelectCHPs, CDialog)
  ON_BN_CLICKED(res::kSelectChpsSetFrom, &CDialogSelectCHPs::OnSetFrom)
  ON_BN_CLICKED(res::kSelectChpsSetTo, &CDialogSelectCHPs::OnSetTo)
  ON_BN_CLICKED(res::kSelectChpsRefresh, &CDialogSelectCHPs::OnRefresh)
  ON_BN_CLICKED(res::kSelectChpsAddCase, &CDialogSelectCHPs::OnAddCase)
  ON_BN_CLICKED(res::kSelectChpsDeleteCase, &CDialogSelectCHPs::OnDeleteCase)
  ON_BN_CLICKED(res::kSelectChpsAddControl, &CDialogSelectCHPs::OnAddControl)
  ON_BN_CLICKED(res::kSelectChpsDeleteControl, &CDialogSelectCHPs::OnDeleteControl)
END_MESSAGE_MAP()

CDialogSelectCHPs::CDialogSelectCHPs(CWnd* parent) : CDialog(res::kSelectChpsDialog, parent) {
  res::RegisterAssociationDialogs();
}

void CDialogSelectCHPs::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, res::kSelectChpsUseFrom, m_btnFrom);
  DDX_Control(pDX, res::kSelectChpsUseTo, m_btnTo);
  DDX_Control(pDX, res::kSelectChpsFromDate, m_editFrom);
  DDX_Control(pDX, res::kSelectChpsToDate, m_editTo);
  DDX_Control(pDX, res::kSelectChpsFound, m_lbFound);
  DDX_Control(pDX, res::kSelectChpsCases, m_lbCase);
  DDX_Control(pDX, res::kSelectChpsControls, m_lbControl);
}

bool CDialogSelectCHPs::HasStudyType(const std::string& fileName) const {
  std::u16string chipType;
  if (!AssociationData::ReadChpChipType(platform::JoinPath(m_strDataFolder, fileName), chipType)) {
    AfxMessageBox(kCallsNotPerformed);
    return false;
  }
  return chipType == platform::Widen(m_strArrayType);
}

BOOL CDialogSelectCHPs::OnInitDialog() {
  CDialog::OnInitDialog();
  m_FoundFiles.clear();
  m_CaseNames.clear();
  m_ControlNames.clear();
  const std::vector<std::string> names = platform::FindFiles(m_strDataFolder, "*.CHP");
  if (names.empty()) {
    AfxMessageBox(kNoChpFiles);
    return TRUE;
  }
  for (const std::string& name : names) {
    if (!m_bSkipTypeCheck && !HasStudyType(name)) continue;
    m_FoundFiles.push_back(name);
    m_lbFound.InsertString(-1, name);
  }
  // Both limits are local time, as the date picker gives them and the
  // filters read them.
  const FilterDates today = StartingFilterDates();
  m_dateFrom = today.From;
  m_dateTo = today.To;
  m_editFrom.SetWindowText(FormatFilterDate(m_dateFrom));
  m_editTo.SetWindowText(FormatFilterDate(m_dateTo));
  return TRUE;
}

void CDialogSelectCHPs::OnSetFrom() {
  CCalendar calendar(this);
  if (calendar.DoModal() != IDOK) return;
  m_dateFrom = calendar.SelectedDate;
  m_editFrom.SetWindowText(FormatFilterDate(m_dateFrom));
}

void CDialogSelectCHPs::OnSetTo() {
  CCalendar calendar(this);
  if (calendar.DoModal() != IDOK) return;
  m_dateTo = calendar.SelectedDate;
  m_editTo.SetWindowText(FormatFilterDate(m_dateTo));
}

void CDialogSelectCHPs::OnRefresh() {
  const bool from = m_btnFrom.GetCheck() == BST_CHECKED;
  const bool to = m_btnTo.GetCheck() == BST_CHECKED;
  const std::int64_t fromLimit = FilterDateLimit(m_dateFrom);
  const std::int64_t toLimit = FilterDateLimit(m_dateTo);
  m_lbFound.ResetContent();
  for (const std::string& name : m_FoundFiles) {
    platform::FileStatus status;
    if (!platform::GetFileStatus(platform::JoinPath(m_strDataFolder, name), status)) continue;
    if ((!from || status.creationTime >= fromLimit) && (!to || status.creationTime <= toLimit))
      m_lbFound.InsertString(-1, name);
  }
}

// A file in a chosen list is no candidate: Refresh does not bring it back.
void CDialogSelectCHPs::MoveTo(CListBox& target) {
  for (const std::string& name : MoveSelectedEntries(m_lbFound, target)) {
    const auto at = std::find(m_FoundFiles.begin(), m_FoundFiles.end(), name);
    if (at != m_FoundFiles.end()) m_FoundFiles.erase(at);
  }
}

void CDialogSelectCHPs::ReturnFrom(CListBox& list) {
  std::string name = ReturnCurrentEntry(list, m_lbFound);
  if (!name.empty()) m_FoundFiles.push_back(std::move(name));
}

void CDialogSelectCHPs::OnAddCase() { MoveTo(m_lbCase); }
void CDialogSelectCHPs::OnDeleteCase() { ReturnFrom(m_lbCase); }
void CDialogSelectCHPs::OnAddControl() { MoveTo(m_lbControl); }
void CDialogSelectCHPs::OnDeleteControl() { ReturnFrom(m_lbControl); }

void CDialogSelectCHPs::OnOK() {
  if (m_lbCase.GetCount() == 0 || m_lbControl.GetCount() == 0) {
    AfxMessageBox(kNeedCaseAndControl);
    return;
  }
  m_CaseNames = Entries(m_lbCase);
  m_ControlNames = Entries(m_lbControl);
  CDialog::OnOK();
}
