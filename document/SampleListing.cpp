#include "document/SampleListing.h"

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/SampleFileList.h"
#include <exception>

#include "document/UnreadableFiles.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/Paths.h"

namespace qova::document {

void SampleListing::ClearListing() {
  Headers.clear();
  InCurrentSet.clear();
}

void SampleListing::AddListed(const SampleHeader& header) {
  Headers.push_back(header);
  InCurrentSet.push_back(true);
  ArrayTypes.insert(header.ArrayType);
  for (int k = 0; k < kSampleAttributeCount; ++k) {
    AttributeValues[static_cast<std::size_t>(k)].insert(AttributeOf(header, k));
  }
}

void SampleListing::ListIndex(CSampleFileList& index) {
  index.Update(kFileListExtracted);
  if (!index.Open(kFileListExtracted)) return;
  SampleHeader header;
  std::string fileName;
  while (index.ReadNext(header, fileName)) AddListed(header);
  index.Close();
}

bool SampleListing::ListFolder(const std::string& folder) {
  const std::vector<std::string> files = platform::FindFiles(folder, "*.CFH");
  if (files.empty()) return false;
  for (const std::string& file : files) {
    // One unreadable file must not hide the others.
    CArrayData sample;
    const std::string path = platform::JoinPath(folder, file);
    try {
      sample.LoadFile(path, false);
    } catch (const std::exception& error) {
      UnreadableFiles::Note(path, error.what());
      continue;
    }
    AddListed(sample.Header);
  }
  return true;
}

void SampleListing::ListResultIndex(CSampleFileList& index, int kind, bool self) {
  if (!index.Open(kind)) return;
  SampleHeader header;
  std::string fileName;
  while (index.ReadNext(header, fileName)) {
    header.SelfAnalyzed = self;
    AddListed(header);
  }
  index.Close();
}

void SampleListing::ListResultFolder(const std::string& folder, const std::string& pattern, bool self) {
  for (const std::string& file : platform::FindFiles(folder, pattern)) {
    CAnalyzedData result;
    const std::string path = platform::JoinPath(folder, file);
    try {
      result.LoadFile(path, true);
    } catch (const std::exception& error) {
      UnreadableFiles::Note(path, error.what());
      continue;
    }
    result.Header.SelfAnalyzed = self;
    AddListed(result.Header);
  }
}

}  // namespace qova::document
