#pragma once
// The choice of one reference sample: the extracted samples of one array type
// in a sorted list, by default only the reference samples.
#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class CSelectRef : public CDialog {
  DECLARE_DYNAMIC(CSelectRef)

 public:
  // `arrayDataFolder` is searched for the samples (with its trailing separator).
  explicit CSelectRef(std::string arrayDataFolder, CWnd* parent = nullptr);
  // The array-data folder of the installed settings.
  explicit CSelectRef(CWnd* parent = nullptr);

  // Fills the list from the folder; "error" when it holds no sample at all.
  void FillSampleList();

  std::string ArrayType;      // a listed sample must be of this type (exact compare)
  std::string ChosenName;     // the sample picked, after IDOK
  BOOL ReferencesOnly = TRUE; // "Show reference files only"
  CComboBox m_sampleList;
  CButton m_referencesOnly;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnShowReferencesOnly();

  DECLARE_MESSAGE_MAP()

 private:
  std::string arrayDataFolder_;
};
