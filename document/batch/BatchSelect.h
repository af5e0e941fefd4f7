#pragma once
// The "Batch analysis" dialog: lists the extracted samples by their header
// fields, narrows the list with filters (dates, array type, self reference,
// TEST or reference, attributes, results not yet written), lets the user
// check samples, and ends with the checked names and an action string for
// the batch command. "Change attribute" rewrites the checked samples' files
// at once; "options" edits the AUTO settings.
#include <array>
#include <string>
#include <vector>

#include "document/SampleListing.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class CBatchSelect : public CDialog {
  DECLARE_DYNAMIC(CBatchSelect)

 public:
  explicit CBatchSelect(CWnd* parent = nullptr);

  // Input: the folder of the .CFH files, ending with its separator.
  std::string ArrayDataFolder;
  // Results after IDOK.
  std::vector<std::string> SampleNames;  // checked, in list order
  std::string Action;                    // empty unless an action button closed the dialog
  int ReferenceMode = 0;                 // set by "Automatic Analysis"

  // The listing, shared by every opening during a run of the program.
  static qova::document::SampleListing& Listing();
  // Back to the state at program start (tests stand for separate runs).
  static void Reset();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  void OnBnClickedRefresh();
  void OnBnClickedCheckAll();
  void OnBnClickedUncheckAll();
  void OnBnClickedSetFrom();
  void OnBnClickedSetTo();
  void OnBnClickedSetAfter();
  void OnBnClickedSelectNonSelfRefs();
  void OnBnClickedAutomaticAnalysis();
  void OnBnClickedChangeAttribute();
  void OnBnClickedOptions();
  void OnBnClickedOk();

  DECLARE_MESSAGE_MAP()

 private:
  void FillDropDowns(const qova::document::SampleListing& listing);
  void PickDate(SYSTEMTIME& date, unsigned editId);
  [[nodiscard]] qova::document::SampleFilter CheckedFilters() const;
  void SetAllChecks(int check);
  // The checked entries top to bottom.
  [[nodiscard]] std::vector<std::string> CheckedNames() const;
  // Collects the checked names and the action; closes with IDOK when any is checked.
  void CloseWith(const char* action);

  [[nodiscard]] bool IsChecked(unsigned id) const { return IsDlgButtonChecked(static_cast<int>(id)) == BST_CHECKED; }
  void SetChecked(unsigned id, bool checked) { CheckDlgButton(static_cast<int>(id), checked ? BST_CHECKED : 0); }

  SYSTEMTIME m_from{};
  SYSTEMTIME m_to{};
  SYSTEMTIME m_after{};
  CCheckListBox m_sampleList;
  CComboBox m_arrayTypeFilter;
  std::array<CComboBox, qova::document::kSampleAttributeCount> m_attributeFilter;
  CComboBox m_referenceMode;
};
