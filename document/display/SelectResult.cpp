// The Display Samples dialog's listing, filters, remembered state and display
// actions.
#include "document/display/SelectResult.h"

#include <optional>
#include <set>

#include "core/AnalyzedData.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/Calendar.h"
#include "document/batch/CombineResults.h"
#include "document/FilterDates.h"
#include "document/exports/DialogOutputData.h"
#include "document/UnreadableFiles.h"
#include "platform/MessageBox.h"
#include "platform/ui/DataExchange.h"
#include "resources/DisplaySamplesDialog.h"

namespace ids = qova::resources::display;
namespace exports = qova::document::exports;
using qova::document::display::DisplayFilterState;
using qova::document::kSampleAttributeCount;
using qova::document::SampleFilter;
using qova::document::SampleListing;

IMPLEMENT_DYNAMIC(CSelectResult, CDialog)

BEGIN_MESSAGE_MAP(CSelectResult, CDialog)
  ON_BN_CLICKED(ids::kSetFromDate, &CSelectResult::OnSetFromDate)
  ON_BN_CLICKED(ids::kSetToDate, &CSelectResult::OnSetToDate)
  ON_BN_CLICKED(ids::kAdd, &CSelectResult::OnAdd)
  ON_BN_CLICKED(ids::kNew, &CSelectResult::OnNew)
  ON_BN_CLICKED(ids::kSelfAnalysis, &CSelectResult::OnSelfAnalysis)
  ON_BN_CLICKED(ids::kNonSelfAnalysis, &CSelectResult::OnNonSelfAnalysis)
  ON_BN_CLICKED(IDOK, &CSelectResult::OnBnClickedOk)
  ON_BN_CLICKED(IDCANCEL, &CSelectResult::OnBnClickedCancel)
  ON_BN_CLICKED(ids::kSelectGroup, &CSelectResult::OnSelectGroup)
  ON_BN_CLICKED(ids::kSetAsGroup, &CSelectResult::OnSetAsGroup)
  ON_BN_CLICKED(ids::kResetGroup, &CSelectResult::OnResetGroup)
  ON_BN_CLICKED(ids::kDeleteGroup, &CSelectResult::OnDeleteGroup)
  ON_BN_CLICKED(ids::kCheckAll, &CSelectResult::OnCheckAll)
  ON_BN_CLICKED(ids::kUncheckAll, &CSelectResult::OnUncheckAll)
  ON_BN_CLICKED(ids::kSingleDisplay, &CSelectResult::OnSingleDisplay)
  ON_BN_CLICKED(ids::kMultiDisplay, &CSelectResult::OnMultiDisplay)
  ON_BN_CLICKED(ids::kIntegralView, &CSelectResult::OnIntegralView)
  ON_BN_CLICKED(ids::kCombine, &CSelectResult::OnCombine)
  ON_BN_CLICKED(ids::kOutputData, &CSelectResult::OnOutputData)
END_MESSAGE_MAP()

namespace {

std::size_t Index(int k) { return static_cast<std::size_t>(k); }

const CProgramSetting& Setting() { return *qova::document::ApplicationData().ProgramSetting; }

AnalysisKind NonSelfKind() { return NonSelfAnalysisKind(Setting().NONSELFALLELE != 0); }

constexpr int kResultSelf = 1, kResultNonSelf = 2;
constexpr int kChoiceTest = 3, kChoiceRef = 4, kChoiceBoth = 5;

}  // namespace

CSelectResult::CSelectResult(CWnd* parent) : CDialog(qova::resources::kDisplaySamplesDialog, parent) {
  qova::resources::RegisterDisplaySamplesDialogs();
}

SampleListing& CSelectResult::ResultHeaderCache() {
  static SampleListing listing;
  return listing;
}

DisplayFilterState& CSelectResult::FilterState() {
  static DisplayFilterState state;
  return state;
}

void CSelectResult::Reset() {
  ResultHeaderCache() = SampleListing{};
  FilterState() = DisplayFilterState{};
}

void CSelectResult::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, static_cast<int>(ids::kSampleList), m_listSamples);
  DDX_Control(pDX, static_cast<int>(ids::kGroups), m_groupCombo);
  DDX_Control(pDX, static_cast<int>(ids::kArrayTypeFilter), m_arrayTypeFilter);
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    DDX_Control(pDX, static_cast<int>(ids::kAttributeFilter[k]), m_attributeFilter[Index(k)]);
  }
}

BOOL CSelectResult::OnInitDialog() {
  CDialog::OnInitDialog();
  ReadResultHeaders();
  FillDropDowns();

  DisplayFilterState& state = FilterState();
  if (state.FirstOpening) {
    SetChecked(ids::kNonSelfAnalysis, true);
    m_bSelfMode = 0;
    SetChecked(ids::kTestOnly, true);
    SetChecked(ids::kUseTestOrRef, true);
    const FilterDates today = StartingFilterDates();
    state.From = today.From;
    state.To = today.To;
  }
  SetDlgItemText(static_cast<int>(ids::kFromDate), FormatFilterDate(state.From));
  SetDlgItemText(static_cast<int>(ids::kToDate), FormatFilterDate(state.To));
  if (!state.FirstOpening) RestoreFilterState();

  ReadGroups();
  state.FirstOpening = false;
  OnNew();
  return TRUE;
}

void CSelectResult::ReadResultHeaders() {
  SampleListing& cache = ResultHeaderCache();
  cache.ClearListing();
  // Files that could not be listed are told as the dialog opens.
  qova::document::UnreadableFiles unreadable;
  const bool allele = Setting().NONSELFALLELE != 0;
  if (Setting().UseFileList != 0) {
    CSampleFileList& index = *qova::document::ApplicationData().FileList;
    index.Update(kFileListSelf | kFileListNonSelf | kFileListNonSelfAllele);
    cache.ListResultIndex(index, allele ? kFileListNonSelfAllele : kFileListNonSelf, false);
    cache.ListResultIndex(index, kFileListSelf, true);
  } else {
    cache.ListResultFolder(m_strResultFolder, allele ? "*.CFA" : "*.CFN", false);
    cache.ListResultFolder(m_strResultFolder, "*.CFS", true);
  }
  qova::document::UnreadableFiles::TellNow();
}

void CSelectResult::FillDropDowns() {
  const SampleListing& cache = ResultHeaderCache();
  for (const std::string& type : cache.ArrayTypes) m_arrayTypeFilter.AddString(type);
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    for (const std::string& value : cache.AttributeValues[Index(k)]) m_attributeFilter[Index(k)].AddString(value);
  }
}

void CSelectResult::RestoreFilterState() {
  const DisplayFilterState& state = FilterState();
  SetChecked(ids::kUseFromDate, state.UseFrom);
  SetChecked(ids::kUseToDate, state.UseTo);
  SetChecked(ids::kUseTestOrRef, state.UseTestOrRef);
  SetChecked(ids::kUseArrayType, state.UseArrayType);
  for (int k = 0; k < kSampleAttributeCount; ++k) SetChecked(ids::kUseAttribute[k], state.UseAttribute[Index(k)]);
  SetChecked(ids::kSelfAnalysis, state.ResultKind == kResultSelf);
  SetChecked(ids::kNonSelfAnalysis, state.ResultKind == kResultNonSelf);
  SetChecked(ids::kTestOnly, state.TestOrRef == kChoiceTest);
  SetChecked(ids::kRefOnly, state.TestOrRef == kChoiceRef);
  SetChecked(ids::kTestAndRef, state.TestOrRef == kChoiceBoth);
  m_bSelfMode = IsChecked(ids::kSelfAnalysis) ? 1 : 0;
  qova::document::SelectRememberedValue(m_arrayTypeFilter, state.ArrayType);
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    qova::document::SelectRememberedValue(m_attributeFilter[Index(k)], state.Attributes[Index(k)]);
  }
}

void CSelectResult::SaveFilterState() {
  DisplayFilterState& state = FilterState();
  state.UseFrom = IsChecked(ids::kUseFromDate);
  state.UseTo = IsChecked(ids::kUseToDate);
  state.UseTestOrRef = IsChecked(ids::kUseTestOrRef);
  if (IsChecked(ids::kSelfAnalysis)) {
    state.ResultKind = kResultSelf;
  } else if (IsChecked(ids::kNonSelfAnalysis)) {
    state.ResultKind = kResultNonSelf;
  }
  if (IsChecked(ids::kTestOnly)) {
    state.TestOrRef = kChoiceTest;
  } else if (IsChecked(ids::kRefOnly)) {
    state.TestOrRef = kChoiceRef;
  } else if (IsChecked(ids::kTestAndRef)) {
    state.TestOrRef = kChoiceBoth;
  }
  // A drop-down without a chosen entry keeps its remembered value and tick.
  if (const auto type = qova::document::SelectedFilterValue(m_arrayTypeFilter)) {
    state.ArrayType = *type;
    state.UseArrayType = IsChecked(ids::kUseArrayType);
  }
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    if (const auto value = qova::document::SelectedFilterValue(m_attributeFilter[Index(k)])) {
      state.Attributes[Index(k)] = *value;
      state.UseAttribute[Index(k)] = IsChecked(ids::kUseAttribute[k]);
    }
  }
}

bool CSelectResult::Passes(const SampleHeader& header) const {
  if (IsChecked(ids::kSelfAnalysis) && !header.SelfAnalyzed) return false;
  if (IsChecked(ids::kNonSelfAnalysis) && header.SelfAnalyzed) return false;
  const DisplayFilterState& state = FilterState();
  SampleFilter filter;
  if (IsChecked(ids::kUseFromDate)) filter.From = CTime(FilterDateLimit(state.From));
  if (IsChecked(ids::kUseToDate)) filter.To = CTime(FilterDateLimit(state.To));
  // A ticked drop-down filter without a chosen value has nothing to compare
  // with, so it filters nothing until a value is chosen.
  if (IsChecked(ids::kUseArrayType)) filter.ArrayType = qova::document::SelectedFilterValue(m_arrayTypeFilter);
  if (IsChecked(ids::kUseTestOrRef)) {
    if (IsChecked(ids::kTestOnly)) {
      filter.TestOrRef = SampleFilter::Kind::Test;
    } else if (IsChecked(ids::kRefOnly)) {
      filter.TestOrRef = SampleFilter::Kind::Reference;
    }
  }
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    if (IsChecked(ids::kUseAttribute[k])) filter.Attributes[Index(k)] = qova::document::SelectedFilterValue(m_attributeFilter[Index(k)]);
  }
  return filter.Passes(header);
}

void CSelectResult::OnNew() {
  SampleListing& cache = ResultHeaderCache();
  m_listSamples.ResetContent();
  for (std::size_t i = 0; i < cache.Headers.size(); ++i) {
    const bool kept = Passes(cache.Headers[i]);
    cache.InCurrentSet[i] = kept;
    // Appended, never sorted: the list keeps the order of the listing.
    if (kept) m_listSamples.InsertString(-1, cache.Headers[i].SampleName);
  }
}

void CSelectResult::OnAdd() {
  SampleListing& cache = ResultHeaderCache();
  // Compared exactly: the list's own search ignores case.
  std::set<std::string> listed;
  for (int line = 0; line < m_listSamples.GetCount(); ++line) listed.insert(m_listSamples.GetText(line));
  for (std::size_t i = 0; i < cache.Headers.size(); ++i) {
    cache.InCurrentSet[i] = listed.contains(cache.Headers[i].SampleName);
  }
  // Lines already there keep their check marks.
  for (std::size_t i = 0; i < cache.Headers.size(); ++i) {
    if (cache.InCurrentSet[i]) continue;
    const bool kept = Passes(cache.Headers[i]);
    cache.InCurrentSet[i] = kept;
    if (kept) m_listSamples.InsertString(-1, cache.Headers[i].SampleName);
  }
}

void CSelectResult::OnSelfAnalysis() {
  m_bSelfMode = 1;
  OnNew();
  FillGroupCombo();
}

void CSelectResult::OnNonSelfAnalysis() {
  m_bSelfMode = 0;
  OnNew();
  FillGroupCombo();
}

void CSelectResult::PickDate(SYSTEMTIME& date, unsigned editId) {
  CCalendar calendar(this);
  if (calendar.DoModal() != IDOK) return;
  // Remembered at once; the list follows at the next New or Add.
  date = calendar.SelectedDate;
  SetDlgItemText(static_cast<int>(editId), FormatFilterDate(date));
}

void CSelectResult::OnSetFromDate() { PickDate(FilterState().From, ids::kFromDate); }
void CSelectResult::OnSetToDate() { PickDate(FilterState().To, ids::kToDate); }

void CSelectResult::OnBnClickedOk() {
  // Every accepted action closes the dialog itself, so what a refused one
  // left behind is no request.
  m_strMode.clear();
  m_listFiles.clear();
  SaveFilterState();
  EndDialog(IDOK);
}

void CSelectResult::OnBnClickedCancel() {
  SaveFilterState();
  EndDialog(IDCANCEL);
}

void CSelectResult::SetAllChecks(int check) {
  for (int i = 0; i < m_listSamples.GetCount(); ++i) m_listSamples.SetCheck(i, check);
}

void CSelectResult::OnCheckAll() { SetAllChecks(BST_CHECKED); }
void CSelectResult::OnUncheckAll() { SetAllChecks(BST_UNCHECKED); }

std::vector<int> CSelectResult::CheckedLines() const {
  std::vector<int> lines;
  for (int i = 0; i < m_listSamples.GetCount(); ++i) {
    if (m_listSamples.GetCheck(i) == BST_CHECKED) lines.push_back(i);
  }
  return lines;
}

std::vector<std::string> CSelectResult::CheckedNames() const {
  std::vector<std::string> names;
  for (const int line : CheckedLines()) names.push_back(m_listSamples.GetText(line));
  return names;
}

std::string CSelectResult::ResultFileOf(const std::string& sampleName) const {
  return sampleName + AnalysisFileExtension(IsChecked(ids::kSelfAnalysis) ? AnalysisKind::Self : NonSelfKind());
}

bool CSelectResult::TakeCheckedFiles(const char* keyword) {
  const std::vector<std::string> names = CheckedNames();
  if (names.empty()) {
    AfxMessageBox("Select more than one sample");
    return false;
  }
  m_strMode = keyword;
  m_listFiles.clear();
  for (const std::string& name : names) m_listFiles.push_back(ResultFileOf(name));
  return true;
}

void CSelectResult::CloseWithRequest() {
  m_bSelfMode = IsChecked(ids::kSelfAnalysis) ? 1 : 0;
  SaveFilterState();
  EndDialog(IDOK);
}

void CSelectResult::OnSingleDisplay() {
  if (TakeCheckedFiles(qova::document::display::kDisplaySingle)) CloseWithRequest();
}

void CSelectResult::OnMultiDisplay() {
  if (TakeCheckedFiles(qova::document::display::kDisplayMultiple)) CloseWithRequest();
}

void CSelectResult::OnIntegralView() {
  if (TakeCheckedFiles(qova::document::display::kDisplayIntegral)) CloseWithRequest();
}

void CSelectResult::OnCombine() {
  const std::vector<std::string> names = CheckedNames();
  if (names.size() != 2) {
    AfxMessageBox("Select two samples");
    return;
  }
  // The last cached header of each name gives its type; a name without one
  // has no type and makes no pair.
  std::array<int, 2> types{-1, -1};
  for (std::size_t k = 0; k < 2; ++k) {
    for (const SampleHeader& header : ResultHeaderCache().Headers) {
      if (header.SampleName == names[k]) types[k] = ArrayTypeIndex(header.ArrayType);
    }
  }
  if (types[0] < 0 || types[1] < 0 || qova::document::batch::CombinedArrayType(types[0], types[1]) < 0) {
    AfxMessageBox("Wrong combination");
    return;
  }
  m_strMode = qova::document::display::kDisplayCombine;
  m_listFiles = {ResultFileOf(names[0]), ResultFileOf(names[1])};
  CloseWithRequest();
}

void CSelectResult::OnOutputData() {
  CDialogOutputData chooser(this);
  if (chooser.DoModal() != IDOK) return;
  switch (chooser.m_nKind) {
    case exports::kOutputSampleList: OutputSampleList(); break;
    case exports::kOutputRawData: OutputRawData(); break;
    case exports::kOutputCopyNumberChange: OutputCopyNumberChange(); break;
    case exports::kOutputMarkers: OutputMarkers(); break;
    case exports::kOutputRegionStatistics: OutputRegionStatistics(); break;
    case exports::kOutputLOH: OutputLOH(); break;
    case exports::kOutputABCalc: OutputABCalc(); break;
    case exports::kOutputNonSelfReferences: OutputNonSelfReferences(); break;
    default: break;
  }
}
