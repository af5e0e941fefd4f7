// The Sample Manager's property panel, the rewrite of a sample's header, and
// the buttons that close the dialog with an action.
#include <vector>

#include "core/ArrayData.h"
#include "document/samplemanager/DataManage.h"
#include "document/QOVADoc.h"
#include "platform/Archive.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "resources/SampleManagerDialog.h"

namespace ids = qova::resources::manager;
using qova::document::kSampleAttributeCount;
using qova::document::samplemanager::SampleManagerCache;

namespace {

std::size_t Index(int k) { return static_cast<std::size_t>(k); }

// More references than any analysis takes; the panel shows no more lines.
constexpr std::size_t kMaxShownReferences = 4096;

std::string BaseRangeText(const std::array<std::int32_t, 4>& range) {
  return platform::Format("%d-%d, N=%d", range[kBaseFirstSnp], range[kBaseLastSnp], range[kBaseCopyNumber]);
}

// The two columns of the header's reference list, a score and a name per
// line, one line per reference its count promises; a reference missing from
// the list shows as empty lines.
std::pair<std::string, std::string> ReferenceColumns(const SampleHeader& header) {
  std::pair<std::string, std::string> columns;
  if (header.NonSelfReferenceCount <= 0) return columns;
  const std::vector<NonSelfReference> references = NonSelfReferenceList(header);
  // A damaged count must not make the panel grow without bound.
  const std::size_t lines = std::min(static_cast<std::size_t>(header.NonSelfReferenceCount), kMaxShownReferences);
  for (std::size_t k = 0; k < lines; ++k) {
    columns.first += (k < references.size() ? references[k].Score : std::string()) + "\r\n";
    columns.second += (k < references.size() ? references[k].Name : std::string()) + "\r\n";
  }
  return columns;
}

}  // namespace

std::optional<std::string> CDataManage::SelectedName() const {
  const int selected = m_sampleList.GetCurSel();
  if (selected == LB_ERR) return std::nullopt;
  return m_sampleList.GetText(selected);
}

void CDataManage::ShowHeader(const SampleHeader& header) {
  const auto show = [this](unsigned id, const std::string& text) { SetDlgItemText(static_cast<int>(id), text); };
  show(ids::kName, header.SampleName);
  show(ids::kArrayType, header.ArrayType);
  show(ids::kCreationTime, header.CreateTime.Format("%Y/%m/%d"));
  show(ids::kTestOrRef, header.IsTest != 0 ? "TEST" : "REF");
  show(ids::kSelfReference, header.IsPaired != 0 ? header.SelfReference : "No Self Ref");
  show(ids::kNonSelfBaseRange, BaseRangeText(header.NonSelfBaseRange));
  show(ids::kSelfBaseRange, header.IsPaired != 0 ? BaseRangeText(header.SelfBaseRange) : "not set");
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    m_attribute[Index(k)].SetWindowText(qova::document::AttributeOf(header, k));
  }
  const auto [scores, names] = ReferenceColumns(header);
  show(ids::kReferenceScores, scores);
  show(ids::kReferenceNames, names);
  // A value none of the radios stands for checks none of them, so that
  // Refresh keeps it rather than writing the sex shown before.
  SetChecked(ids::kMale, header.Sex == "M");
  SetChecked(ids::kFemale, header.Sex == "F");
  SetChecked(ids::kSexNotDetermined, header.Sex.empty());
  Enable(ids::kTransferDiploidRegion, header.IsPaired != 0);
}

void CDataManage::OnInput() {
  const auto name = SelectedName();
  if (!name) return;
  for (const SampleHeader& header : SampleManagerCache::OfRun().Headers) {
    if (header.SampleName == *name) ShowHeader(header);
  }
}

void CDataManage::OnDblclkSampleList() { OnInput(); }

void CDataManage::EnableActionsFor(const SampleHeader& header) {
  // The association analysis compares the sample with its self reference.
  Enable(ids::kAssociationAnalysis, header.IsPaired != 0);
  const bool selfAnalysable = header.IsPaired == 1 && header.IsTest == 1;
  Enable(ids::kAlleleSpecificAnalysis, selfAnalysable);
  Enable(ids::kModeSelfOnly, selfAnalysable);
  if (!selfAnalysable && IsChecked(ids::kModeSelfOnly)) {
    SetChecked(ids::kModeSelfOnly, false);
    SetChecked(ids::kModeAutomatic, true);
  }
}

void CDataManage::OnSelchangeSampleList() {
  OnInput();
  Enable(ids::kAssociationAnalysis, false);
  const auto name = SelectedName();
  if (!name) return;
  const std::vector<SampleHeader>& headers = SampleManagerCache::OfRun().Headers;
  for (const SampleHeader& header : headers) {
    if (header.SampleName == *name) EnableActionsFor(header);
  }
  for (const SampleHeader& header : headers) {
    if (header.SampleName != *name) continue;
    Enable(ids::kSelectNonSelfRef, header.IsTest == 1);
    Enable(ids::kAutomaticAnalysis, header.IsTest == 1);
    const bool hasReferences = header.NonSelfReferenceCount > 0;
    Enable(ids::kModeCurrentSet, hasReferences);
    if (!hasReferences && IsChecked(ids::kModeCurrentSet)) {
      SetChecked(ids::kModeCurrentSet, false);
      SetChecked(ids::kModeAutomatic, true);
    }
    Enable(ids::kSetCandidateRefs, header.RefCandidateCount > 0);
  }
}

void CDataManage::OnRefresh() {
  // The sample last shown, not the list's selection.
  const std::string name = GetDlgItemText(static_cast<int>(ids::kName));
  SampleManagerCache& cache = SampleManagerCache::OfRun();

  std::array<std::string, kSampleAttributeCount> typed;
  for (int k = 0; k < kSampleAttributeCount; ++k) typed[Index(k)] = m_attribute[Index(k)].GetWindowText();
  std::optional<std::string> sex;
  if (IsChecked(ids::kMale)) sex = "M";
  else if (IsChecked(ids::kFemale)) sex = "F";
  else if (IsChecked(ids::kSexNotDetermined)) sex = "";
  // A disabled box belongs to a sample without a self analysis, whose self
  // range means nothing.
  const CWnd* transferBox = GetDlgItem(static_cast<int>(ids::kTransferDiploidRegion));
  const bool transfer = IsChecked(ids::kTransferDiploidRegion) && transferBox && transferBox->IsWindowEnabled();

  for (SampleHeader& cached : cache.Headers) {
    if (cached.SampleName != name) continue;
    const std::string path = platform::JoinPath(ArrayDataFolder, name + ".CFH");
    CArrayData sample;
    try {
      sample.LoadFile(path);
      SampleHeader& stored = sample.Header;
      // An empty box keeps the old value: an attribute cannot be cleared here.
      for (int k = 0; k < kSampleAttributeCount; ++k) {
        if (!typed[Index(k)].empty()) qova::document::AttributeOf(stored, k) = typed[Index(k)];
      }
      stored.Sex = sex.value_or(cached.Sex);
      if (transfer) {
        stored.NonSelfBaseRange[kBaseFirstSnp] = stored.SelfBaseRange[kBaseFirstSnp];
        stored.NonSelfBaseRange[kBaseLastSnp] = stored.SelfBaseRange[kBaseLastSnp];
      }
      // Replaces the file whole, so a failed write leaves the old one; the
      // store also sets the save time.
      sample.StoreFile(path);
    } catch (const CFileException& error) {
      AfxMessageBox(error.what(), MB_ICONEXCLAMATION);
      return;
    } catch (const CArchiveException& error) {
      AfxMessageBox(error.what(), MB_ICONEXCLAMATION);
      return;
    }

    // The file holds the new values: now the listing may show them.
    const SampleHeader& stored = sample.Header;
    for (int k = 0; k < kSampleAttributeCount; ++k) {
      qova::document::AttributeOf(cached, k) = qova::document::AttributeOf(stored, k);
      const std::string& value = typed[Index(k)];
      if (value.empty() || m_attribute[Index(k)].FindStringExact(-1, value) != CB_ERR) continue;
      cache.AttributeValues[Index(k)].insert(value);
      m_attribute[Index(k)].InsertString(-1, value);
    }
    cached.Sex = stored.Sex;
    cached.SaveTime = stored.SaveTime;
    cached.NonSelfBaseRange[kBaseFirstSnp] = stored.NonSelfBaseRange[kBaseFirstSnp];
    cached.NonSelfBaseRange[kBaseLastSnp] = stored.NonSelfBaseRange[kBaseLastSnp];
    if (transfer) {
      SetDlgItemText(static_cast<int>(ids::kNonSelfBaseRange), GetDlgItemText(static_cast<int>(ids::kSelfBaseRange)));
    }
  }
}

void CDataManage::OnSetCandidateRefs() {
  const auto name = SelectedName();
  if (!name) return;
  for (SampleHeader& header : SampleManagerCache::OfRun().Headers) {
    if (header.SampleName != *name) continue;
    header.NonSelfReferenceCount = header.RefCandidateCount;
    header.NonSelfReferences = header.RefCandidates;
  }
  OnRefresh();
  OnInput();
}

void CDataManage::CloseWith(const char* keyword) {
  const auto name = SelectedName();
  if (!name) return;
  SampleName = *name;
  Action = keyword;
  SaveState();
  OnOK();
}

void CDataManage::OnAlleleSpecificAnalysis() { CloseWith(kActionSelfAnalysis); }
void CDataManage::OnSelectNonSelfRef() { CloseWith(kActionSelectNonSelfRef); }
void CDataManage::OnAutomaticAnalysis() { CloseWith(kActionAutomaticAnalysis); }

void CDataManage::OnNonSelfAnalysis() {
  const char* keyword = "";
  if (IsChecked(ids::kModeCurrentSet)) {
    keyword = kActionNonSelfAnalysis;
  } else if (IsChecked(ids::kModeAutomatic)) {
    keyword = IsChecked(ids::kAutomaticSameSex) ? kActionAutomaticAnalysisSameSex : kActionAutomaticAnalysis;
  } else if (IsChecked(ids::kModeManual)) {
    keyword = IsChecked(ids::kManualSameSex) ? kActionSelectNonSelfRefSameSex : kActionSelectNonSelfRef;
  } else if (IsChecked(ids::kModeSelfOnly)) {
    keyword = kActionSelectSelfAsRef;
  }
  CloseWith(keyword);
}

void CDataManage::OnAssociationAnalysis() { CloseWith(kActionAssociationAnalysis); }

void CDataManage::OnBnClickedOk() {
  SaveState();
  OnOK();
}

void CDataManage::OnBnClickedCancel() {
  SaveState();
  OnCancel();
}
