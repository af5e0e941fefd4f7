#pragma once
// "Dialog" that asks for the name of a new group, showing the names already
// in use. It writes no file: the caller reads NewName after IDOK.
#include <string>
#include <vector>

#include "platform/ui/Dialog.h"

class CGroupSet : public CDialog {
  DECLARE_DYNAMIC(CGroupSet)

 public:
  explicit CGroupSet(CWnd* parent = nullptr);

  std::vector<std::string> ExistingNames;  // set before running, in order
  std::string NewName;                     // after IDOK

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;
};
