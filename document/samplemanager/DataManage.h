#pragma once
// The "Sample Manager" dialog: lists the extracted samples of the array-data
// folder (or of the sample-file index), narrows the list with filters, shows
// and edits the header of one sample, and closes with the chosen sample's name
// and an action keyword for the main document to carry out.
//
// The listing, the drop-down values and the filter choices outlive the dialog
// in SampleManagerCache (DataManageCache.h).
#include <array>
#include <optional>
#include <string>

#include "core/SampleHeader.h"
#include "document/samplemanager/DataManageCache.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class CDataManage : public CDialog {
  DECLARE_DYNAMIC(CDataManage)

 public:
  explicit CDataManage(CWnd* parent = nullptr);

  // Input: the folder of the .CFH files, ending with its separator.
  std::string ArrayDataFolder;
  // Results after IDOK; both empty unless an analysis button closed the dialog.
  std::string SampleName;
  std::string Action;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  // Filters and the current set.
  void OnNew();
  void OnAdd();
  void OnSetFromDate();
  void OnSetToDate();
  // Remembers the filter choices for the next opening; every way out runs it.
  void SaveState();

  // The selected sample.
  void OnSelchangeSampleList();
  void OnDblclkSampleList();
  void OnInput();
  void OnRefresh();
  void OnSetCandidateRefs();

  // The ways out.
  void OnAlleleSpecificAnalysis();
  void OnNonSelfAnalysis();
  void OnSelectNonSelfRef();
  void OnAutomaticAnalysis();
  void OnAssociationAnalysis();
  void OnBnClickedOk();
  void OnBnClickedCancel();

  DECLARE_MESSAGE_MAP()

 private:
  void FillDropDowns(const qova::document::samplemanager::SampleManagerCache& cache);
  void RestoreFilterState(const qova::document::samplemanager::SampleManagerCache& cache);
  void WriteCaptions();
  void ShowDates(const qova::document::samplemanager::SampleManagerCache& cache);
  // The calendar for a date filter: the picked day is remembered at once, even
  // if the dialog is then cancelled.
  void PickDate(SYSTEMTIME& remembered, unsigned editId);

  // The filters whose boxes are checked.
  [[nodiscard]] qova::document::SampleFilter CheckedFilters() const;
  // New (false) or Add (true): recomputes the current set and the list.
  void RebuildCurrentSet(bool widen);

  // The text of the selected line, or nothing without a selection.
  [[nodiscard]] std::optional<std::string> SelectedName() const;
  void ShowHeader(const SampleHeader& header);
  void EnableActionsFor(const SampleHeader& header);
  // Closes with the selected sample and `keyword`; nothing without a selection.
  void CloseWith(const char* keyword);

  [[nodiscard]] bool IsChecked(unsigned id) const { return IsDlgButtonChecked(static_cast<int>(id)) == BST_CHECKED; }
  void SetChecked(unsigned id, bool checked) { CheckDlgButton(static_cast<int>(id), checked ? BST_CHECKED : 0); }
  void Enable(unsigned id, bool enabled);

  CListBox m_sampleList;
  CComboBox m_arrayTypeFilter;
  std::array<CComboBox, qova::document::kSampleAttributeCount> m_attributeFilter;
  std::array<CComboBox, qova::document::kSampleAttributeCount> m_attribute;
};
