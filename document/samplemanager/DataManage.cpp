// The Sample Manager's listing, its filters and the current set.
#include "document/samplemanager/DataManage.h"

#include "core/ArrayData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "core/SampleFileList.h"
#include "document/ApplicationData.h"
#include "document/Calendar.h"
#include "document/FilterDates.h"
#include "document/UnreadableFiles.h"
#include "platform/Archive.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/DataExchange.h"
#include "resources/SampleManagerDialog.h"

namespace ids = qova::resources::manager;
namespace samplemanager = qova::document::samplemanager;
using qova::document::kSampleAttributeCount;
using qova::document::SampleFilter;
using samplemanager::SampleManagerCache;

IMPLEMENT_DYNAMIC(CDataManage, CDialog)

BEGIN_MESSAGE_MAP(CDataManage, CDialog)
  ON_BN_CLICKED(ids::kNew, &CDataManage::OnNew)
  ON_BN_CLICKED(ids::kAdd, &CDataManage::OnAdd)
  ON_BN_CLICKED(ids::kSetFromDate, &CDataManage::OnSetFromDate)
  ON_BN_CLICKED(ids::kSetToDate, &CDataManage::OnSetToDate)
  ON_LBN_SELCHANGE(ids::kSampleList, &CDataManage::OnSelchangeSampleList)
  ON_LBN_DBLCLK(ids::kSampleList, &CDataManage::OnDblclkSampleList)
  ON_BN_CLICKED(ids::kInput, &CDataManage::OnInput)
  ON_BN_CLICKED(ids::kRefresh, &CDataManage::OnRefresh)
  ON_BN_CLICKED(ids::kSetCandidateRefs, &CDataManage::OnSetCandidateRefs)
  ON_BN_CLICKED(ids::kAlleleSpecificAnalysis, &CDataManage::OnAlleleSpecificAnalysis)
  ON_BN_CLICKED(ids::kNonSelfAnalysis, &CDataManage::OnNonSelfAnalysis)
  ON_BN_CLICKED(ids::kSelectNonSelfRef, &CDataManage::OnSelectNonSelfRef)
  ON_BN_CLICKED(ids::kAutomaticAnalysis, &CDataManage::OnAutomaticAnalysis)
  ON_BN_CLICKED(ids::kAssociationAnalysis, &CDataManage::OnAssociationAnalysis)
  ON_BN_CLICKED(IDOK, &CDataManage::OnBnClickedOk)
  ON_BN_CLICKED(IDCANCEL, &CDataManage::OnBnClickedCancel)
END_MESSAGE_MAP()

namespace {

std::size_t Index(int k) { return static_cast<std::size_t>(k); }

}  // namespace

CDataManage::CDataManage(CWnd* parent) : CDialog(qova::resources::kSampleManagerDialog, parent) {
  qova::resources::RegisterSampleManagerDialog();
}

void CDataManage::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, static_cast<int>(ids::kSampleList), m_sampleList);
  DDX_Control(pDX, static_cast<int>(ids::kArrayTypeFilter), m_arrayTypeFilter);
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    DDX_Control(pDX, static_cast<int>(ids::kAttributeFilter[k]), m_attributeFilter[Index(k)]);
    DDX_Control(pDX, static_cast<int>(ids::kAttribute[k]), m_attribute[Index(k)]);
  }
}

void CDataManage::Enable(unsigned id, bool enabled) {
  if (CWnd* control = GetDlgItem(static_cast<int>(id))) control->EnableWindow(enabled ? TRUE : FALSE);
}

BOOL CDataManage::OnInitDialog() {
  CDialog::OnInitDialog();
  SampleManagerCache& cache = SampleManagerCache::OfRun();
  cache.ClearListing();
  // Files that could not be listed are told as the dialog opens.
  qova::document::UnreadableFiles unreadable;
  if (qova::document::ApplicationData().ProgramSetting->UseFileList != 0) {
    cache.ListIndex(*qova::document::ApplicationData().FileList);
  } else if (!cache.ListFolder(ArrayDataFolder)) {
    // The dialog still opens, on an empty list: its filters, captions and
    // buttons work as always, and a sample extracted meanwhile shows at the
    // next opening.
    AfxMessageBox("error\nNo sample file (.CFH) in " + platform::NativePath(ArrayDataFolder));
  }
  qova::document::UnreadableFiles::TellNow();
  for (const SampleHeader& header : cache.Headers) m_sampleList.InsertString(-1, header.SampleName);

  if (cache.FirstOpening) {
    const FilterDates today = StartingFilterDates();
    cache.FromDate = today.From;
    cache.ToDate = today.To;
  }
  ShowDates(cache);
  FillDropDowns(cache);

  SetChecked(ids::kModeCurrentSet, true);
  if (cache.FirstOpening) {
    SetChecked(ids::kSelfReferenceYes, true);
    SetChecked(ids::kTestOnly, true);
  }
  SetChecked(ids::kUseTestOrRef, true);
  if (!cache.FirstOpening) RestoreFilterState(cache);

  WriteCaptions();
  SetChecked(ids::kAutomaticSameSex, false);
  SetChecked(ids::kManualSameSex, false);
  OnNew();
  cache.FirstOpening = false;
  return TRUE;
}

void CDataManage::ShowDates(const SampleManagerCache& cache) {
  SetDlgItemText(static_cast<int>(ids::kFromDate), FormatFilterDate(cache.FromDate));
  SetDlgItemText(static_cast<int>(ids::kToDate), FormatFilterDate(cache.ToDate));
}

void CDataManage::FillDropDowns(const SampleManagerCache& cache) {
  // Inserted at the end: the drop-downs show the sets' order whatever their style.
  for (const std::string& type : cache.ArrayTypes) m_arrayTypeFilter.InsertString(-1, type);
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    for (const std::string& value : cache.AttributeValues[Index(k)]) {
      m_attributeFilter[Index(k)].InsertString(-1, value);
      m_attribute[Index(k)].InsertString(-1, value);
    }
  }
}

void CDataManage::RestoreFilterState(const SampleManagerCache& cache) {
  SetChecked(ids::kUseFromDate, cache.UseFromDate);
  SetChecked(ids::kUseToDate, cache.UseToDate);
  SetChecked(ids::kUseArrayType, cache.UseArrayType);
  SetChecked(ids::kUseSelfReference, cache.UseSelfReference);
  SetChecked(ids::kUseTestOrRef, cache.UseTestOrRef);
  for (int k = 0; k < kSampleAttributeCount; ++k) SetChecked(ids::kUseAttribute[k], cache.UseAttribute[Index(k)]);

  if (cache.SelfReferenceChoice == samplemanager::kSelfReferenceYes) SetChecked(ids::kSelfReferenceYes, true);
  if (cache.SelfReferenceChoice == samplemanager::kSelfReferenceYesAndNo) SetChecked(ids::kSelfReferenceYesAndNo, true);
  if (cache.TestOrRefChoice == samplemanager::kTestOrRefTest) SetChecked(ids::kTestOnly, true);
  if (cache.TestOrRefChoice == samplemanager::kTestOrRefRef) SetChecked(ids::kRefOnly, true);
  if (cache.TestOrRefChoice == samplemanager::kTestOrRefBoth) SetChecked(ids::kTestAndRef, true);

  qova::document::SelectRememberedValue(m_arrayTypeFilter, cache.ArrayTypeChoice);
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    qova::document::SelectRememberedValue(m_attributeFilter[Index(k)], cache.AttributeChoice[Index(k)]);
  }
}

void CDataManage::WriteCaptions() {
  struct Caption {
    unsigned id;
    const char* text;
  };
  static constexpr Caption kCaptions[] = {
      {ids::kNameCaption, "SampleName"},
      {ids::kArrayTypeCaption, "ArrayType"},
      {ids::kCreationTimeCaption, "CreationTime"},
      {ids::kSelfReferenceCaption, "Self Reference"},
      {ids::kTestOrRefCaption, "Test or Ref"},
      {ids::kAttributeCaption[0], "Attribute1"},
      {ids::kAttributeCaption[1], "Attribute2"},
      {ids::kAttributeCaption[2], "Attribute3"},
      {ids::kAttributeCaption[3], "Attribute4"},
      {ids::kAttributeCaption[4], "Attribute5"},
      {ids::kSexCaption, "Sex"},
      {ids::kCandidatesCaption, "Ref Candidates"},
      {ids::kNonSelfBaseRangeCaption, "Base Range(NonSelf)"},
      {ids::kSelfBaseRangeCaption, "Base Range(Self)"},
      {ids::kReferenceScoresCaption, "Non Self Ref SD"},
      {ids::kReferenceNamesCaption, "Non Self Ref Name"},
  };
  for (const Caption& caption : kCaptions) SetDlgItemText(static_cast<int>(caption.id), caption.text);
}

SampleFilter CDataManage::CheckedFilters() const {
  const SampleManagerCache& cache = SampleManagerCache::OfRun();
  SampleFilter filter;
  if (IsChecked(ids::kUseFromDate)) filter.From = CTime(FilterDateLimit(cache.FromDate));
  if (IsChecked(ids::kUseToDate)) filter.To = CTime(FilterDateLimit(cache.ToDate));
  // A checked drop-down filter without a selected value has nothing to compare
  // with, so it filters nothing until a value is picked.
  if (IsChecked(ids::kUseArrayType)) filter.ArrayType = qova::document::SelectedFilterValue(m_arrayTypeFilter);
  if (IsChecked(ids::kUseSelfReference)) filter.RequireSelfReference = IsChecked(ids::kSelfReferenceYes);
  if (IsChecked(ids::kUseTestOrRef)) {
    if (IsChecked(ids::kTestOnly)) filter.TestOrRef = SampleFilter::Kind::Test;
    else if (IsChecked(ids::kRefOnly)) filter.TestOrRef = SampleFilter::Kind::Reference;
  }
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    if (IsChecked(ids::kUseAttribute[k])) {
      filter.Attributes[Index(k)] = qova::document::SelectedFilterValue(m_attributeFilter[Index(k)]);
    }
  }
  return filter;
}

void CDataManage::RebuildCurrentSet(bool widen) {
  SampleManagerCache& cache = SampleManagerCache::OfRun();
  m_sampleList.ResetContent();
  // The new list has no selection, so nothing to analyse.
  Enable(ids::kAssociationAnalysis, false);
  const SampleFilter filter = CheckedFilters();
  for (std::size_t i = 0; i < cache.Headers.size(); ++i) {
    const bool member = (widen && cache.InCurrentSet[i]) || filter.Passes(cache.Headers[i]);
    cache.InCurrentSet[i] = member;
    if (member) m_sampleList.InsertString(-1, cache.Headers[i].SampleName);
  }
}

void CDataManage::OnNew() { RebuildCurrentSet(false); }
void CDataManage::OnAdd() { RebuildCurrentSet(true); }

void CDataManage::PickDate(SYSTEMTIME& remembered, unsigned editId) {
  CCalendar calendar(this);
  if (calendar.DoModal() != IDOK) return;
  // The current set is not recomputed: the date counts from the next New or Add.
  remembered = calendar.SelectedDate;
  SetDlgItemText(static_cast<int>(editId), FormatFilterDate(remembered));
}

void CDataManage::OnSetFromDate() { PickDate(SampleManagerCache::OfRun().FromDate, ids::kFromDate); }
void CDataManage::OnSetToDate() { PickDate(SampleManagerCache::OfRun().ToDate, ids::kToDate); }

void CDataManage::SaveState() {
  SampleManagerCache& cache = SampleManagerCache::OfRun();
  cache.UseFromDate = IsChecked(ids::kUseFromDate);
  cache.UseToDate = IsChecked(ids::kUseToDate);
  cache.UseSelfReference = IsChecked(ids::kUseSelfReference);
  cache.UseTestOrRef = IsChecked(ids::kUseTestOrRef);

  if (IsChecked(ids::kSelfReferenceYes)) cache.SelfReferenceChoice = samplemanager::kSelfReferenceYes;
  else if (IsChecked(ids::kSelfReferenceYesAndNo)) cache.SelfReferenceChoice = samplemanager::kSelfReferenceYesAndNo;
  if (IsChecked(ids::kTestOnly)) cache.TestOrRefChoice = samplemanager::kTestOrRefTest;
  else if (IsChecked(ids::kRefOnly)) cache.TestOrRefChoice = samplemanager::kTestOrRefRef;
  else if (IsChecked(ids::kTestAndRef)) cache.TestOrRefChoice = samplemanager::kTestOrRefBoth;

  // A drop-down without a selection keeps the filter as it was remembered,
  // its check box included.
  if (const auto type = qova::document::SelectedFilterValue(m_arrayTypeFilter)) {
    cache.ArrayTypeChoice = *type;
    cache.UseArrayType = IsChecked(ids::kUseArrayType);
  }
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    if (const auto value = qova::document::SelectedFilterValue(m_attributeFilter[Index(k)])) {
      cache.AttributeChoice[Index(k)] = *value;
      cache.UseAttribute[Index(k)] = IsChecked(ids::kUseAttribute[k]);
    }
  }
}
