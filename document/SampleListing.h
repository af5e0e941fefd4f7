#pragma once
// The headers a sample list dialog read at its opening, from the array-data
// folder or from the sample-file index, which of them the list shows, and the
// values seen in the array-type and attribute drop-downs (sets that only grow
// during a run of the program).
#include <array>
#include <set>
#include <string>
#include <vector>

#include "core/SampleHeader.h"
#include "document/SampleFilter.h"

class CSampleFileList;

namespace qova::document {

struct SampleListing {
  std::vector<SampleHeader> Headers;
  std::vector<bool> InCurrentSet;
  // Distinct values in ascending byte order; never emptied during a run.
  std::set<std::string> ArrayTypes;
  std::array<std::set<std::string>, kSampleAttributeCount> AttributeValues;

  // Forgets the listing (the value sets stay).
  void ClearListing();
  // Appends a listed sample, in the current set, and adds its values to the sets.
  void AddListed(const SampleHeader& header);
  // Appends the headers of the index's extracted samples after bringing the
  // index up to date; a missing index lists nothing.
  void ListIndex(CSampleFileList& index);
  // Appends the headers of the folder's .CFH files, opened for reading only;
  // a file that cannot be read is left out and noted in the command's
  // UnreadableFiles. False when the folder has none.
  [[nodiscard]] bool ListFolder(const std::string& folder);

  // Analysed results. Each listed header has SelfAnalyzed set by the kind of
  // file it came from (`self`), whatever the file says.
  // The records of one kind's index list (kFileListSelf ...); the caller
  // brings the index up to date first.
  void ListResultIndex(CSampleFileList& index, int kind, bool self);
  // The headers of the folder's files matching `pattern` ("*.CFS" ...), read
  // only and header only; a file whose header cannot be read is left out and
  // noted in the command's UnreadableFiles.
  void ListResultFolder(const std::string& folder, const std::string& pattern, bool self);
};

}  // namespace qova::document
