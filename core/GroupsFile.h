#pragma once
// GroupNames.CFG, the one file of sample groups in an analysis-result folder.
// Every writer of groups goes through this pair, so all of them read a damaged
// file the same way and none of them can lose the old file while writing.
#include <string>

#include "core/SampleGroup.h"

namespace qova::core {

inline constexpr const char* kGroupsFileName = "GroupNames.CFG";

// The groups file of a result folder (given with or without its separator).
[[nodiscard]] std::string GroupsFilePath(const std::string& resultFolder);

// The outcome of a load or a store: Message says what went wrong and names
// the file; it is empty on success.
struct GroupsFileStatus {
  bool Ok = true;
  std::string Message;

  explicit operator bool() const { return Ok; }
};

// Reads the groups of `resultFolder` into `groups`. A missing file is an empty
// list. A file that cannot be read (unreadable, truncated, a count its bytes
// cannot hold) fails and leaves `groups` empty.
[[nodiscard]] GroupsFileStatus LoadGroupsFile(const std::string& resultFolder, CGrouP& groups);

// Replaces the groups file of `resultFolder` with `groups` through a temporary
// file renamed over the old one: on failure the old file is left as it was.
[[nodiscard]] GroupsFileStatus StoreGroupsFile(const std::string& resultFolder, const CGrouP& groups);

}  // namespace qova::core
