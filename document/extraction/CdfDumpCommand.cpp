// The cell layout of a legacy library file as text: per probe set its name,
// its number of groups and the x and y of every cell of every group.
#include "arrayfiles/cdf/LegacyCDFFile.h"
#include "document/ExportDialog.h"
#include "document/QOVADoc.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/CommonDialogs.h"

void CQOVADoc::OnDumpCDF() {
  CFileDialog open(TRUE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr);
  if (open.DoModal() != IDOK) return;
  CFileDialog save(FALSE, nullptr, nullptr, OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, nullptr);
  qova::document::StartInOutputFolder(save);
  if (save.DoModal() != IDOK) return;
  const std::string cdfPath = open.GetPathName();
  const std::string outPath = save.GetPathName();
  const std::string cdfName = platform::FileNameOf(cdfPath);
  if (!platform::FileExists(cdfPath)) {
    Notify(platform::Format("The library file %s does not exist", cdfName.c_str()));
    return;
  }
  CLegacyCDFFile cdf;
  cdf.SetFileName(cdfPath);
  if (!cdf.Read()) {
    Notify(platform::Format("The library file %s cannot be read: %s", cdfName.c_str(), cdf.GetError().c_str()));
    return;
  }
  // Written whole to a temporary file and renamed at the end, so a library
  // that fails part-way, or a full disk, leaves no dump that looks complete.
  std::string text;
  const int probeSets = cdf.HeaderRecord().GetNumProbeSets();
  CLegacyCDFProbeSetInformation set;
  CLegacyCDFProbeGroupInformation group;
  CLegacyCDFProbeInformation cell;
  for (int i = 0; i < probeSets; ++i) {
    if (!cdf.GetProbeSetInformation(i, set)) {
      Notify(platform::Format("The library file %s cannot be read past probe set %d: %s", cdfName.c_str(), i,
                              cdf.GetError().c_str()));
      return;
    }
    text += platform::Format("%s\t%d", cdf.GetProbeSetName(i).c_str(), set.GetNumGroups());
    for (int g = 0; g < set.GetNumGroups(); ++g) {
      set.GetGroupInformation(g, group);
      for (int c = 0; c < group.GetNumCells(); ++c) {
        group.GetCell(c, cell);
        text += platform::Format("\t%d\t%d", cell.GetX(), cell.GetY());
      }
    }
    text += '\n';
  }
  cdf.Close();
  std::string why;
  if (!platform::WriteWholeFile(outPath, text, why)) {
    Notify(platform::Format("The file %s cannot be written: %s", platform::NativePath(outPath).c_str(), why.c_str()));
  }
}
