#include "core/AppSettingSheet.h"

#include "core/GlobalData.h"
#include "platform/MessageBox.h"
#include "platform/ui/PropertySheet.h"

namespace qova {

int RunProgramSettingSheet(CProgramSetting& workingCopy) {
  (void)workingCopy;
  CPropertySheet sheet("Program Setting");
  // The pages (folders, display and print sizes, items, colours, scales and
  // the rest) are added here, each bound to `workingCopy`.
  if (sheet.GetPageCount() == 0) {
    AfxMessageBox("Program Setting is not yet available in this version of QOVA.", MB_ICONINFORMATION);
    return IDCANCEL;
  }
  return int(sheet.DoModal());
}

void InstallProgramSettingSheet() { CGlobalData::SetProgramSettingSheet(&RunProgramSettingSheet); }

}  // namespace qova
