#pragma once
// "modify or make a group": makes a new group of the samples the caller chose,
// or gives an existing group of the caller's kind those samples instead of its
// own, and writes the groups file of the result folder.
#include <cstdint>
#include <string>
#include <vector>

#include "core/SampleGroup.h"
#include "platform/ui/Dialog.h"

class CGroupManage : public CDialog {
  DECLARE_DYNAMIC(CGroupManage)

 public:
  // `resultFolder` holds the groups file (the analysis-result folder).
  explicit CGroupManage(std::string resultFolder, CWnd* parent = nullptr);

  // Reads the groups file first: one that cannot be read is reported by name
  // and the dialog does not open (IDCANCEL), so its OK can never write over
  // groups it could not read.
  INT_PTR DoModal() override;

  std::uint8_t Kind = 0;                 // kind of the samples, 0 or 1
  std::vector<std::string> MemberNames;  // the samples to group, in order
  CGrouP Groups;                         // the groups of the file; after IDOK as written

 protected:
  BOOL OnInitDialog() override;
  void OnOK() override;

 private:
  // Why the dialog's input cannot make a group, or empty.
  [[nodiscard]] std::string Refusal(bool makeNew, const std::string& newName, int selected) const;

  std::string resultFolder_;
};
