#pragma once
// The "Display Samples" dialog: lists the analysed results of one kind (self
// or non-self) by their header fields, narrows the list with filters, keeps
// named groups of samples in GroupNames.CFG, and ends with a display request
// (a keyword and result-file names) for the main document. The listing and
// the filter choices are remembered for the rest of the run, never on disk.
#include <array>
#include <string>
#include <vector>

#include "core/SampleGroup.h"
#include "document/SampleListing.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

namespace qova::document::exports {
struct DisplayExportSource;
}

namespace qova::document::display {

// The filter choices as the last closing of the dialog left them.
struct DisplayFilterState {
  SYSTEMTIME From{};
  SYSTEMTIME To{};
  int ResultKind = 0;  // 1 self, 2 non-self, 0 not yet chosen
  int TestOrRef = 0;   // 3 "Test", 4 "Ref", 5 "Both", 0 not yet chosen
  bool UseFrom = false;
  bool UseTo = false;
  bool UseTestOrRef = false;
  bool UseArrayType = false;
  std::array<bool, kSampleAttributeCount> UseAttribute{};
  std::string ArrayType;
  std::array<std::string, kSampleAttributeCount> Attributes;
  bool FirstOpening = true;
};

// The display keywords handed back.
inline constexpr const char* kDisplaySingle = "SingleSample";
inline constexpr const char* kDisplayMultiple = "MultipleSamples";
inline constexpr const char* kDisplayIntegral = "IntegralView";
inline constexpr const char* kDisplayCombine = "Combine";

}  // namespace qova::document::display

class CSelectResult : public CDialog {
  DECLARE_DYNAMIC(CSelectResult)

 public:
  explicit CSelectResult(CWnd* parent = nullptr);

  // Input: the folder of the results and of GroupNames.CFG, with its separator.
  std::string m_strResultFolder;
  // Results after IDOK: a keyword (empty after plain OK), the result files of
  // the checked samples in list order, and the kind they are of.
  std::string m_strMode;
  std::vector<std::string> m_listFiles;
  BYTE m_bSelfMode = 0;
  CGrouP m_Groups;

  // Shared by every opening during a run: the result headers read at the
  // latest opening (their SelfAnalyzed set by the kind of file), which of them
  // the list shows, and the values seen in the drop-downs.
  static qova::document::SampleListing& ResultHeaderCache();
  static qova::document::display::DisplayFilterState& FilterState();
  // Back to the state at program start (tests stand for separate runs).
  static void Reset();

  // Keeps the controls' choices for the next opening.
  void SaveFilterState();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;

  void OnSetFromDate();
  void OnSetToDate();
  void OnAdd();
  void OnNew();
  void OnSelfAnalysis();
  void OnNonSelfAnalysis();
  void OnBnClickedOk();
  void OnBnClickedCancel();
  void OnSelectGroup();
  void OnSetAsGroup();
  void OnResetGroup();
  void OnDeleteGroup();
  void OnCheckAll();
  void OnUncheckAll();
  void OnSingleDisplay();
  void OnMultiDisplay();
  void OnIntegralView();
  void OnCombine();
  void OnOutputData();

  // The text exports of the checked samples, one per kind of "Output Data".
  void OutputSampleList();
  void OutputRawData();
  void OutputCopyNumberChange();
  void OutputMarkers();
  void OutputRegionStatistics();
  void OutputLOH();
  void OutputABCalc();
  void OutputNonSelfReferences();

  DECLARE_MESSAGE_MAP()

 private:
  // Runs one of the exports that walk the checked samples' SNPs.
  void RunSnpExport(void (*run)(const qova::document::exports::DisplayExportSource&));
  void ReadResultHeaders();
  void FillDropDowns();
  void RestoreFilterState();
  [[nodiscard]] bool Passes(const SampleHeader& header) const;
  void PickDate(SYSTEMTIME& date, unsigned editId);
  void SetAllChecks(int check);
  [[nodiscard]] std::vector<int> CheckedLines() const;
  [[nodiscard]] std::vector<std::string> CheckedNames() const;
  [[nodiscard]] std::string ResultFileOf(const std::string& sampleName) const;
  // m_strMode := keyword, m_listFiles := the checked lines' files; false (and
  // the refusal shown) when none is checked.
  bool TakeCheckedFiles(const char* keyword);
  void CloseWithRequest();

  // Groups.
  void ReadGroups();
  void FillGroupCombo();
  [[nodiscard]] bool GroupsWritable() const;
  // Writes m_Groups; on failure says so and puts `before` back.
  void WriteGroups(const CGrouP& before);
  [[nodiscard]] std::string ChosenGroup() const;
  [[nodiscard]] std::uint8_t CurrentKind() const { return m_bSelfMode != 0 ? 1 : 0; }

  [[nodiscard]] bool IsChecked(unsigned id) const { return IsDlgButtonChecked(static_cast<int>(id)) == BST_CHECKED; }
  void SetChecked(unsigned id, bool checked) { CheckDlgButton(static_cast<int>(id), checked ? BST_CHECKED : 0); }

  CCheckListBox m_listSamples;
  CComboBox m_groupCombo;
  CComboBox m_arrayTypeFilter;
  std::array<CComboBox, qova::document::kSampleAttributeCount> m_attributeFilter;
  std::string groupsUnreadable_;  // why GroupNames.CFG could not be read, or empty
};

