#pragma once
// The Extract Data dialog: the array files of the data folder (CHP files, or
// CEL files in CEL mode), filtered by creation date and by whether a sample
// file exists already, sorted by the user into four lists: non-paired tests,
// non-paired references, and pairs of a test and its reference in two
// parallel lists. The lists can also be filled from a sample-list file. The
// dialog reads folders and writes nothing; the caller reads the four result
// lists after IDOK.
#include <cstdint>
#include <string>
#include <vector>

#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class CDataExtract : public CDialog {
  DECLARE_DYNAMIC(CDataExtract)

 public:
  explicit CDataExtract(CWnd* parent = nullptr);

  // Set by the caller; each ends with its separator.
  std::string DataFolder;       // CHP and CEL files
  std::string ArrayDataFolder;  // .CFH files
  int CelMode = 0;              // 0: CHP files; 1: CEL files (Extract without CHP)

  // Results after IDOK, in list order; paired reference k belongs to paired test k.
  std::vector<std::string> NonPairedTests;
  std::vector<std::string> NonPairedReferences;
  std::vector<std::string> PairedTests;
  std::vector<std::string> PairedReferences;

  // The limits of the date filter; both start at the current date and time (UTC).
  SYSTEMTIME FromDate;
  SYSTEMTIME ToDate;

  CButton UseFromDate, UseToDate, OnlyUnprocessed;
  CEdit FromDateText, ToDateText;
  CListBox FoundFiles, NonPairedTestList, NonPairedReferenceList;
  CDragListBox PairedTestList, PairedReferenceList;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnRefresh();
  void OnSetFromDate();
  void OnSetToDate();
  void OnAddNonPairedTest();
  void OnDeleteNonPairedTest();
  void OnAddNonPairedReference();
  void OnDeleteNonPairedReference();
  void OnAddPairedTest();
  void OnDeletePairedTest();
  void OnAddPairedReference();
  void OnDeletePairedReference();
  void OnImportSampleList();
  void OnBnClickedOk();

  DECLARE_MESSAGE_MAP()

 private:
  // "*.CHP" or "*.CEL".
  [[nodiscard]] const char* FilePattern() const;
  [[nodiscard]] const char* Extension() const;
  // Whether a file found passes the checked filters.
  [[nodiscard]] bool PassesFilters(const std::string& fileName) const;
  void MoveSelectedTo(CListBox& target);
  void ReturnCurrentOf(CListBox& list);
  // Takes the fields of one sample-list line into the lists; returns why the
  // line was left out, or nothing.
  [[nodiscard]] std::string ImportLine(const std::vector<std::string>& fields);
  void RemoveFromFound(const std::string& fileName);
  // Whether the file already sits in one of the four lists on the right.
  [[nodiscard]] bool IsChosen(const std::string& fileName) const;
};

// Moves the selected entries of the multiple-selection box `source` into
// `target`, in index order, and returns their texts. When exactly one moved,
// the entry that takes its index is selected, so that repeated presses walk
// down the list.
std::vector<std::string> MoveSelectedEntries(CListBox& source, CListBox& target);
// Moves the current entry of `list` back into `found` and makes the entry
// that takes its index current; returns its text, empty when none was current.
std::string ReturnCurrentEntry(CListBox& list, CListBox& found);
// The sample file that extracting `fileName` writes, by the extraction's own
// name rules: "<sample name>.CFH" for a CHP file; for a CEL file (CelMode 1)
// the name in upper case with every ".CEL" turned into ".CFH".
[[nodiscard]] std::string SampleFileOfArrayFile(const std::string& fileName, int celMode);
