// The batch dialog's listing, filters and actions.
#include "document/batch/BatchSelect.h"

#include <optional>

#include "core/AnalyzedData.h"
#include "core/AppSettingSheet.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/batch/AttributeChange.h"
#include "document/Calendar.h"
#include "document/batch/ChangeAttribute.h"
#include "document/FilterDates.h"
#include "document/UnreadableFiles.h"
#include "platform/MessageBox.h"
#include "platform/ui/DataExchange.h"
#include "resources/BatchDialogs.h"

namespace ids = qova::resources::batch;
using qova::document::kSampleAttributeCount;
using qova::document::SampleFilter;
using qova::document::SampleListing;

IMPLEMENT_DYNAMIC(CBatchSelect, CDialog)

BEGIN_MESSAGE_MAP(CBatchSelect, CDialog)
  ON_BN_CLICKED(ids::kRefresh, &CBatchSelect::OnBnClickedRefresh)
  ON_BN_CLICKED(ids::kCheckAll, &CBatchSelect::OnBnClickedCheckAll)
  ON_BN_CLICKED(ids::kUncheckAll, &CBatchSelect::OnBnClickedUncheckAll)
  ON_BN_CLICKED(ids::kSetFromDate, &CBatchSelect::OnBnClickedSetFrom)
  ON_BN_CLICKED(ids::kSetToDate, &CBatchSelect::OnBnClickedSetTo)
  ON_BN_CLICKED(ids::kSetAfterDate, &CBatchSelect::OnBnClickedSetAfter)
  ON_BN_CLICKED(ids::kSelectNonSelfRefs, &CBatchSelect::OnBnClickedSelectNonSelfRefs)
  ON_BN_CLICKED(ids::kAutomaticAnalysis, &CBatchSelect::OnBnClickedAutomaticAnalysis)
  ON_BN_CLICKED(ids::kChangeAttribute, &CBatchSelect::OnBnClickedChangeAttribute)
  ON_BN_CLICKED(ids::kOptions, &CBatchSelect::OnBnClickedOptions)
  ON_BN_CLICKED(IDOK, &CBatchSelect::OnBnClickedOk)
END_MESSAGE_MAP()

namespace {

std::size_t Index(int k) { return static_cast<std::size_t>(k); }

const CProgramSetting& Setting() { return *qova::document::ApplicationData().ProgramSetting; }

std::string NonSelfExtension(const CProgramSetting& setting) {
  return AnalysisFileExtension(NonSelfAnalysisKind(setting.NONSELFALLELE != 0));
}

constexpr const char* kReferenceModes[] = {"Automatic", "Fixed number", "Current (or auto)", "Current (or fixed)"};

}  // namespace

CBatchSelect::CBatchSelect(CWnd* parent) : CDialog(qova::resources::kBatchSelectDialog, parent) {
  qova::resources::RegisterBatchDialogs();
}

SampleListing& CBatchSelect::Listing() {
  static SampleListing listing;
  return listing;
}

void CBatchSelect::Reset() { Listing() = SampleListing{}; }

void CBatchSelect::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, static_cast<int>(ids::kSampleList), m_sampleList);
  DDX_Control(pDX, static_cast<int>(ids::kArrayTypeFilter), m_arrayTypeFilter);
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    DDX_Control(pDX, static_cast<int>(ids::kAttributeFilter[k]), m_attributeFilter[Index(k)]);
  }
  DDX_Control(pDX, static_cast<int>(ids::kReferenceMode), m_referenceMode);
}

BOOL CBatchSelect::OnInitDialog() {
  CDialog::OnInitDialog();
  SampleListing& listing = Listing();
  listing.ClearListing();
  // Files that could not be listed are told as the dialog opens.
  qova::document::UnreadableFiles unreadable;
  if (Setting().UseFileList != 0) {
    listing.ListIndex(*qova::document::ApplicationData().FileList);
  } else if (!listing.ListFolder(ArrayDataFolder)) {
    AfxMessageBox("error");
    return FALSE;
  }
  qova::document::UnreadableFiles::TellNow();

  // The After date, like From, is a lower limit shown as a day.
  const FilterDates today = StartingFilterDates();
  m_from = today.From;
  m_to = today.To;
  m_after = today.From;
  SetDlgItemText(static_cast<int>(ids::kFromDate), FormatFilterDate(m_from));
  SetDlgItemText(static_cast<int>(ids::kToDate), FormatFilterDate(m_to));
  SetDlgItemText(static_cast<int>(ids::kAfterDate), FormatFilterDate(m_after));
  FillDropDowns(listing);

  SetChecked(ids::kTestOnly, true);
  SetChecked(ids::kUseTestOrRef, true);
  SetChecked(ids::kSameSex, false);
  SetChecked(ids::kTransferDiploidRegion, false);
  OnBnClickedRefresh();

  for (const char* mode : kReferenceModes) m_referenceMode.InsertString(-1, mode);
  m_referenceMode.SetCurSel(0);
  return TRUE;
}

void CBatchSelect::FillDropDowns(const SampleListing& listing) {
  // Inserted at the end: the drop-downs show the sets' order whatever their style.
  for (const std::string& type : listing.ArrayTypes) m_arrayTypeFilter.InsertString(-1, type);
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    for (const std::string& value : listing.AttributeValues[Index(k)]) {
      m_attributeFilter[Index(k)].InsertString(-1, value);
    }
  }
}

SampleFilter CBatchSelect::CheckedFilters() const {
  SampleFilter filter;
  if (IsChecked(ids::kUseFromDate)) filter.From = CTime(FilterDateLimit(m_from));
  if (IsChecked(ids::kUseToDate)) filter.To = CTime(FilterDateLimit(m_to));
  // A checked drop-down filter without a selected value has nothing to compare
  // with, so it filters nothing until a value is picked.
  if (IsChecked(ids::kUseArrayType)) filter.ArrayType = qova::document::SelectedFilterValue(m_arrayTypeFilter);
  filter.RequireSelfReference = IsChecked(ids::kUseSelfReference);
  if (IsChecked(ids::kUseTestOrRef)) {
    if (IsChecked(ids::kTestOnly)) filter.TestOrRef = SampleFilter::Kind::Test;
    else if (IsChecked(ids::kRefOnly)) filter.TestOrRef = SampleFilter::Kind::Reference;
  }
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    if (IsChecked(ids::kUseAttribute[k])) {
      filter.Attributes[Index(k)] = qova::document::SelectedFilterValue(m_attributeFilter[Index(k)]);
    }
  }
  if (IsChecked(ids::kUseNotAnalyzed)) {
    qova::document::NotAnalyzedFilter notAnalyzed;
    notAnalyzed.ResultFolder = Setting().DefaultAnalysisResultFolder;
    notAnalyzed.NonSelfExtension = NonSelfExtension(Setting());
    if (IsChecked(ids::kUseAfterDate)) notAnalyzed.After = CTime(FilterDateLimit(m_after));
    filter.NotAnalyzed = notAnalyzed;
  }
  return filter;
}

void CBatchSelect::OnBnClickedRefresh() {
  SampleListing& listing = Listing();
  m_sampleList.ResetContent();
  const SampleFilter filter = CheckedFilters();
  for (std::size_t i = 0; i < listing.Headers.size(); ++i) {
    const bool kept = filter.Passes(listing.Headers[i]);
    listing.InCurrentSet[i] = kept;
    if (kept) m_sampleList.InsertString(-1, listing.Headers[i].SampleName);
  }
}

void CBatchSelect::SetAllChecks(int check) {
  for (int i = 0; i < m_sampleList.GetCount(); ++i) m_sampleList.SetCheck(i, check);
}

void CBatchSelect::OnBnClickedCheckAll() { SetAllChecks(BST_CHECKED); }
void CBatchSelect::OnBnClickedUncheckAll() { SetAllChecks(BST_UNCHECKED); }

void CBatchSelect::PickDate(SYSTEMTIME& date, unsigned editId) {
  CCalendar calendar(this);
  if (calendar.DoModal() != IDOK) return;
  // The list is not refreshed: the date counts from the next Refresh.
  date = calendar.SelectedDate;
  SetDlgItemText(static_cast<int>(editId), FormatFilterDate(date));
}

void CBatchSelect::OnBnClickedSetFrom() { PickDate(m_from, ids::kFromDate); }
void CBatchSelect::OnBnClickedSetTo() { PickDate(m_to, ids::kToDate); }
void CBatchSelect::OnBnClickedSetAfter() { PickDate(m_after, ids::kAfterDate); }

std::vector<std::string> CBatchSelect::CheckedNames() const {
  std::vector<std::string> names;
  for (int i = 0; i < m_sampleList.GetCount(); ++i) {
    if (m_sampleList.GetCheck(i) == BST_CHECKED) names.push_back(m_sampleList.GetText(i));
  }
  return names;
}

void CBatchSelect::CloseWith(const char* action) {
  const std::vector<std::string> names = CheckedNames();
  SampleNames.insert(SampleNames.end(), names.begin(), names.end());
  Action = action;
  Action += IsChecked(ids::kSameSex) ? "_SameSexPlus" : "_SameSexMinus";
  Action += IsChecked(ids::kTransferDiploidRegion) ? "_TransferPlus" : "_TransferMinus";
  if (SampleNames.empty()) return;
  if (std::string_view(action) == "AutomaticAnalysis") ReferenceMode = m_referenceMode.GetCurSel();
  EndDialog(IDOK);
}

void CBatchSelect::OnBnClickedSelectNonSelfRefs() { CloseWith("SelectNonSelfRefs"); }
void CBatchSelect::OnBnClickedAutomaticAnalysis() { CloseWith("AutomaticAnalysis"); }

void CBatchSelect::OnBnClickedChangeAttribute() {
  CChangeAttribute dialog(this);
  if (dialog.DoModal() != IDOK) return;
  qova::document::batch::AttributeChange change;
  change.Mode = dialog.Mode;
  change.Attribute = dialog.AttributeIndex;
  change.Value = dialog.NewValue;
  const CProgramSetting& setting = Setting();
  const std::vector<std::string> failures = qova::document::batch::ChangeSampleFiles(
      CheckedNames(), change,
      {setting.DefaultArrayDataFolder, setting.DefaultAnalysisResultFolder, NonSelfExtension(setting)});
  if (!failures.empty()) {
    std::string text = "These samples were left unchanged:";
    for (const std::string& failure : failures) text += "\n" + failure;
    AfxMessageBox(text);
  }
  // No batch follows a change; the next opening reads the changed headers.
  EndDialog(IDCANCEL);
}

void CBatchSelect::OnBnClickedOptions() {
  // OK takes the edited AUTO settings into the running program and saves them.
  qova::core::RunAutoSettingSheet(*qova::document::ApplicationData().ProgramSetting);
}

void CBatchSelect::OnBnClickedOk() { CDialog::OnOK(); }
