#pragma once
// "Single View List": a modeless list of result file names; picking one
// shows that result in the document of the active main view, and the list
// stays open to step through the others. The application-wide data object
// owns it while it is open; Close lets it go.
#include <string>
#include <vector>

#include "core/GlobalData.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class CSingleViewList : public CDialog, public ISingleViewList {
  DECLARE_DYNAMIC(CSingleViewList)

 public:
  CSingleViewList();

  std::vector<std::string> m_listNames;  // filled before the window is made
  std::string m_strSelected;             // the name picked last

  // Makes the document's factory make, fill and show this list.
  static void Install();

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  BOOL OnInitDialog() override;
  void OnSelchangeNames();
  void OnOK() override;
  void OnCancel() override;
  void PostNcDestroy() override;

  DECLARE_MESSAGE_MAP()

 private:
  CListBox m_names;
};
