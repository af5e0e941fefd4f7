#include "document/ExportDialog.h"

#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "platform/ui/CommonDialogs.h"

namespace qova::document {

void StartInOutputFolder(CFileDialog& dialog) {
  if (HasApplicationData()) dialog.m_ofn.lpstrInitialDir = ApplicationData().ProgramSetting->DefaultOutputFolder;
}

}  // namespace qova::document
