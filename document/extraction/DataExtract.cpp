#include "document/extraction/DataExtract.h"

#include <algorithm>

#include "document/Calendar.h"
#include "document/FilterDates.h"
#include "document/extraction/SampleExtraction.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/Time.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DataExchange.h"
#include "resources/ExtractDialogs.h"

namespace res = qova::resources;

namespace {

constexpr const char* kNothingFoundMessage = "error";
constexpr const char* kPairsNotAdjustedMessage = "Tests and References Are Not Adjusted";
constexpr const char* kPairsNotPairedMessage = "Tests and References Are Not Paired";

// The fields of a sample-list line: tab-separated, leading tabs skipped and a
// run of tabs one separator.
std::vector<std::string> ListFields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  while (start <= line.size()) {
    const std::size_t tab = std::min(line.find('\t', start), line.size());
    if (tab > start) fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  return fields;
}

std::vector<std::string> Texts(const CListBox& list) {
  std::vector<std::string> texts;
  for (int i = 0; i < list.GetCount(); ++i) texts.push_back(list.GetText(i));
  return texts;
}

}  // namespace

std::vector<std::string> MoveSelectedEntries(CListBox& source, CListBox& target) {
  std::vector<std::string> moved;
  const int count = source.GetSelCount();
  if (count <= 0) return moved;
  std::vector<int> selected(static_cast<std::size_t>(count));
  selected.resize(static_cast<std::size_t>(std::max(source.GetSelItems(count, selected.data()), 0)));
  std::sort(selected.begin(), selected.end());
  for (int index : selected) {
    moved.push_back(source.GetText(index));
    target.AddString(moved.back());
  }
  for (auto it = selected.rbegin(); it != selected.rend(); ++it) source.DeleteString(static_cast<UINT>(*it));
  if (selected.size() == 1 && selected.front() < source.GetCount()) source.SetSel(selected.front(), TRUE);
  return moved;
}

std::string ReturnCurrentEntry(CListBox& list, CListBox& found) {
  const int index = list.GetCurSel();
  if (index == LB_ERR) return {};
  std::string text = list.GetText(index);
  found.AddString(text);
  list.DeleteString(static_cast<UINT>(index));
  if (index < list.GetCount()) list.SetCurSel(index);
  return text;
}

std::string SampleFileOfArrayFile(const std::string& fileName, int celMode) {
  if (celMode == 0) return SampleNameOfChpFile(fileName) + ".CFH";
  std::string name = platform::ToUpper(fileName);
  for (std::size_t at = name.find(".CEL"); at != std::string::npos; at = name.find(".CEL", at + 4)) {
    name.replace(at, 4, ".CFH");
  }
  return name;
}

IMPLEMENT_DYNAMIC(CDataExtract, CDialog)

BEGIN_MESSAGE_MAP(CDataExtract, CDialog)
ON_BN_CLICKED(res::kExtractRefresh, &CDataExtract::OnRefresh)
ON_BN_CLICKED(res::kExtractSetFromDate, &CDataExtract::OnSetFromDate)
ON_BN_CLICKED(res::kExtractSetToDate, &CDataExtract::OnSetToDate)
ON_BN_CLICKED(res::kExtractAddNonPairedTest, &CDataExtract::OnAddNonPairedTest)
ON_BN_CLICKED(res::kExtractDeleteNonPairedTest, &CDataExtract::OnDeleteNonPairedTest)
ON_BN_CLICKED(res::kExtractAddNonPairedReference, &CDataExtract::OnAddNonPairedReference)
ON_BN_CLICKED(res::kExtractDeleteNonPairedReference, &CDataExtract::OnDeleteNonPairedReference)
ON_BN_CLICKED(res::kExtractAddPairedTest, &CDataExtract::OnAddPairedTest)
ON_BN_CLICKED(res::kExtractDeletePairedTest, &CDataExtract::OnDeletePairedTest)
ON_BN_CLICKED(res::kExtractAddPairedReference, &CDataExtract::OnAddPairedReference)
ON_BN_CLICKED(res::kExtractDeletePairedReference, &CDataExtract::OnDeletePairedReference)
ON_BN_CLICKED(res::kExtractImportSampleList, &CDataExtract::OnImportSampleList)
ON_BN_CLICKED(IDOK, &CDataExtract::OnBnClickedOk)
END_MESSAGE_MAP()

CDataExtract::CDataExtract(CWnd* parent) : CDialog(res::kDataExtractDialog, parent) {
  res::RegisterExtractDialogs();
  // Dates that a filter can use even when the folder was empty at opening.
  const FilterDates today = StartingFilterDates();
  FromDate = today.From;
  ToDate = today.To;
}

void CDataExtract::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, static_cast<int>(res::kExtractUseFromDate), UseFromDate);
  DDX_Control(pDX, static_cast<int>(res::kExtractUseToDate), UseToDate);
  DDX_Control(pDX, static_cast<int>(res::kExtractOnlyUnprocessed), OnlyUnprocessed);
  DDX_Control(pDX, static_cast<int>(res::kExtractFromDate), FromDateText);
  DDX_Control(pDX, static_cast<int>(res::kExtractToDate), ToDateText);
  DDX_Control(pDX, static_cast<int>(res::kExtractFoundFiles), FoundFiles);
  DDX_Control(pDX, static_cast<int>(res::kExtractNonPairedTests), NonPairedTestList);
  DDX_Control(pDX, static_cast<int>(res::kExtractNonPairedReferences), NonPairedReferenceList);
  DDX_Control(pDX, static_cast<int>(res::kExtractPairedTests), PairedTestList);
  DDX_Control(pDX, static_cast<int>(res::kExtractPairedReferences), PairedReferenceList);
}

const char* CDataExtract::FilePattern() const { return CelMode == 1 ? "*.CEL" : "*.CHP"; }
const char* CDataExtract::Extension() const { return CelMode == 1 ? ".CEL" : ".CHP"; }

BOOL CDataExtract::OnInitDialog() {
  CDialog::OnInitDialog();
  const std::vector<std::string> names = platform::FindFiles(DataFolder, FilePattern());
  for (const std::string& name : names) FoundFiles.AddString(name);
  if (names.empty()) {
    AfxMessageBox(kNothingFoundMessage);
    return TRUE;
  }
  const FilterDates today = StartingFilterDates();
  FromDate = today.From;
  ToDate = today.To;
  FromDateText.SetWindowText(FormatFilterDate(FromDate));
  ToDateText.SetWindowText(FormatFilterDate(ToDate));
  return TRUE;
}

bool CDataExtract::PassesFilters(const std::string& fileName) const {
  const bool from = UseFromDate.GetCheck() == BST_CHECKED;
  const bool to = UseToDate.GetCheck() == BST_CHECKED;
  if (from || to) {
    platform::FileStatus status;
    if (!platform::GetFileStatus(platform::JoinPath(DataFolder, fileName), status)) return false;
    if (from && FilterDateLimit(FromDate) > status.creationTime) return false;
    if (to && FilterDateLimit(ToDate) < status.creationTime) return false;
  }
  if (OnlyUnprocessed.GetCheck() == BST_CHECKED &&
      platform::FileExists(platform::JoinPath(ArrayDataFolder, SampleFileOfArrayFile(fileName, CelMode)))) {
    return false;
  }
  return true;
}

void CDataExtract::OnRefresh() {
  FoundFiles.ResetContent();
  const std::vector<std::string> names = platform::FindFiles(DataFolder, FilePattern());
  if (names.empty()) {
    AfxMessageBox(kNothingFoundMessage);
    return;
  }
  // A file already moved to a list on the right is not offered a second time.
  for (const std::string& name : names) {
    if (PassesFilters(name) && !IsChosen(name)) FoundFiles.AddString(name);
  }
}

bool CDataExtract::IsChosen(const std::string& fileName) const {
  const CListBox* lists[] = {&NonPairedTestList, &NonPairedReferenceList, &PairedTestList, &PairedReferenceList};
  for (const CListBox* list : lists)
    if (list->FindStringExact(-1, fileName) != LB_ERR) return true;
  return false;
}

void CDataExtract::OnSetFromDate() {
  CCalendar calendar(this);
  if (calendar.DoModal() != IDOK) return;
  FromDate = calendar.SelectedDate;
  FromDateText.SetWindowText(FormatFilterDate(FromDate));
}

void CDataExtract::OnSetToDate() {
  CCalendar calendar(this);
  if (calendar.DoModal() != IDOK) return;
  ToDate = calendar.SelectedDate;
  ToDateText.SetWindowText(FormatFilterDate(ToDate));
}

void CDataExtract::MoveSelectedTo(CListBox& target) { (void)MoveSelectedEntries(FoundFiles, target); }

void CDataExtract::ReturnCurrentOf(CListBox& list) { (void)ReturnCurrentEntry(list, FoundFiles); }

void CDataExtract::OnAddNonPairedTest() { MoveSelectedTo(NonPairedTestList); }
void CDataExtract::OnDeleteNonPairedTest() { ReturnCurrentOf(NonPairedTestList); }
void CDataExtract::OnAddNonPairedReference() { MoveSelectedTo(NonPairedReferenceList); }
void CDataExtract::OnDeleteNonPairedReference() { ReturnCurrentOf(NonPairedReferenceList); }
void CDataExtract::OnAddPairedTest() { MoveSelectedTo(PairedTestList); }
void CDataExtract::OnDeletePairedTest() { ReturnCurrentOf(PairedTestList); }
void CDataExtract::OnAddPairedReference() { MoveSelectedTo(PairedReferenceList); }
void CDataExtract::OnDeletePairedReference() { ReturnCurrentOf(PairedReferenceList); }

void CDataExtract::OnBnClickedOk() {
  if (PairedTestList.GetCount() != PairedReferenceList.GetCount()) {
    AfxMessageBox(kPairsNotAdjustedMessage);
    return;
  }
  NonPairedTests = Texts(NonPairedTestList);
  NonPairedReferences = Texts(NonPairedReferenceList);
  PairedTests = Texts(PairedTestList);
  PairedReferences = Texts(PairedReferenceList);
  CDialog::OnOK();
}

void CDataExtract::OnImportSampleList() {
  if (PairedTestList.GetCount() != PairedReferenceList.GetCount()) {
    AfxMessageBox(kPairsNotPairedMessage);
    return;
  }
  CFileDialog dialog(TRUE, nullptr, nullptr, OFN_HIDEREADONLY, nullptr, this);
  if (dialog.DoModal() != IDOK) return;
  std::string bytes;
  if (!platform::ReadWholeFile(dialog.GetPathName(), bytes)) return;
  // A line left out is told with its number and why, so that a typing error
  // in a long list does not quietly drop a sample from the run.
  std::vector<std::string> leftOut;
  const std::vector<std::string> lines = platform::SplitLines(bytes);
  for (std::size_t k = 0; k < lines.size(); ++k) {
    const std::vector<std::string> fields = ListFields(lines[k]);
    if (fields.empty()) continue;
    const std::string why = ImportLine(fields);
    if (why.empty()) continue;
    std::string shown;
    for (const std::string& field : fields) shown += (shown.empty() ? "" : " ") + field;
    leftOut.push_back(platform::Format("line %zu \"%s\": %s", k + 1, shown.c_str(), why.c_str()));
  }
  if (!leftOut.empty()) {
    std::string text = platform::Format("%zu line%s of %s %s left out:", leftOut.size(), leftOut.size() == 1 ? "" : "s",
                                        platform::FileNameOf(dialog.GetPathName()).c_str(),
                                        leftOut.size() == 1 ? "was" : "were");
    for (const std::string& line : leftOut) text += "\n" + line;
    AfxMessageBox(text);
  }
}

std::string CDataExtract::ImportLine(const std::vector<std::string>& fields) {
  const std::string& first = fields[0];
  const std::string second = fields.size() < 2 ? std::string() : fields[1];
  const bool test = platform::StartsWithNoCase(second, "#TEST");
  const bool reference = !test && platform::StartsWithNoCase(second, "#REF");
  const bool paired = !test && !reference;
  // "$" separates the fields of reference lists, so no sample name may hold it.
  for (const std::string* name : {&first, paired ? &second : nullptr}) {
    if (name != nullptr && name->find('$') != std::string::npos) return "a sample name cannot hold \"$\"";
  }
  if (paired && second.empty()) return "no \"#TEST\", \"#REF\" or reference name after a tab";
  const std::string fileName = first + Extension();
  if (!platform::FileExists(platform::JoinPath(DataFolder, fileName))) return fileName + " is not in the data folder";
  if (!paired) {
    CListBox& list = test ? NonPairedTestList : NonPairedReferenceList;
    if (!IsChosen(fileName)) list.AddString(fileName);
    RemoveFromFound(fileName);
    return {};
  }
  const std::string partnerName = second + Extension();
  if (!platform::FileExists(platform::JoinPath(DataFolder, partnerName))) {
    return partnerName + " is not in the data folder";
  }
  bool present = false;
  for (int i = 0; i < PairedTestList.GetCount() && !present; ++i) {
    present = platform::EqualsNoCase(PairedTestList.GetText(i), fileName) && PairedReferenceList.GetText(i) == partnerName;
  }
  // A pair whose files are already chosen elsewhere is left out.
  if (!present) {
    for (const std::string* name : {&fileName, &partnerName}) {
      if (IsChosen(*name)) return *name + " is already in a list";
    }
    PairedTestList.AddString(fileName);
    PairedReferenceList.AddString(partnerName);
  }
  RemoveFromFound(fileName);
  RemoveFromFound(partnerName);
  return {};
}

void CDataExtract::RemoveFromFound(const std::string& fileName) {
  const int index = FoundFiles.FindStringExact(-1, fileName);
  if (index != LB_ERR) FoundFiles.DeleteString(static_cast<UINT>(index));
}
