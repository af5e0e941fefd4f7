// The called gender of every CHP file of the data folder written as the sex
// of the extracted sample of the same name.
#include <exception>

#include "arrayfiles/unified/UnifiedCHPData.h"
#include "core/ArrayData.h"
#include "document/extraction/ExtractionParts.h"
#include "document/QOVADoc.h"
#include "document/extraction/SampleExtraction.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace {

// The CHP file's called gender, or false when no reader takes the file or it
// holds no genotyping results.
bool ReadCalledGender(const std::string& path, std::string& gender) {
  try {
    const std::unique_ptr<unified_io::UnifiedCHPData> data = unified_io::UnifiedCHPDataReg::Read(path);
    unified_io::UnifiedCHPLegacyData* chp = unified_io::UnifiedCHPLegacyData::FromBase(data.get());
    if (chp == nullptr) return false;
    gender = qova::document::extraction::CalledGender(*chp);
    return true;
  } catch (const std::exception&) {
    return false;
  }
}

}  // namespace

void CQOVADoc::OnUpdateGenderFromCHP() {
  std::vector<std::string> unread;
  for (const std::string& chpFile : platform::FindFiles(DataFolder, "*.CHP")) {
    const std::string chpPath = platform::JoinPath(DataFolder, chpFile);
    platform::FileStatus status;
    std::string gender;
    if (!platform::GetFileStatus(chpPath, status) || !ReadCalledGender(chpPath, gender)) {
      unread.push_back(chpFile);
      continue;
    }
    // The sample's file by the extraction's own name rule, so that
    // "S1.brlmm-p.CHP" finds S1.CFH.
    const std::string samplePath = platform::JoinPath(ArrayDataFolder, SampleNameOfChpFile(chpFile) + ".CFH");
    if (!platform::FileExists(samplePath)) continue;
    // A scratch sample: the document's own changes only through the store's
    // refresh of the documents that show it.
    CArrayData sample;
    try {
      sample.LoadFile(samplePath);
      if (gender == "M" || gender == "F") sample.Header.Sex = gender;
      sample.StoreFile(samplePath);
    } catch (const std::exception&) {
      unread.push_back(platform::FileNameOf(samplePath));
    }
  }
  if (unread.empty()) return;
  std::string text = "The called gender could not be taken over from these files:";
  for (const std::string& name : unread) text += "\n" + name;
  Notify(text);
}
