#pragma once
// The "Change attribute" dialog of the batch dialog: what to change in the
// checked samples, one of the five attributes (with its new text) or the TEST
// flag. It changes no file; the caller reads the members after IDOK.
#include <string>

#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class CChangeAttribute : public CDialog {
  DECLARE_DYNAMIC(CChangeAttribute)

 public:
  enum Mode : int { kChangeAttribute = 0, kSetTest = 1, kSetReference = 2 };

  explicit CChangeAttribute(CWnd* parent = nullptr);

  int Mode = kChangeAttribute;
  int AttributeIndex = 0;  // 0..4 for Attribute1..Attribute5, in kChangeAttribute
  std::string NewValue;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnOK() override;
  void OnModeChanged();

  DECLARE_MESSAGE_MAP()

 private:
  CComboBox m_attribute;
};
