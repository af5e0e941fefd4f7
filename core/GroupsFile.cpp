#include "core/GroupsFile.h"

#include <exception>

#include "core/ArchiveFile.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace qova::core {

namespace {

GroupsFileStatus Failure(const char* what, const std::string& path, const std::exception& error) {
  return {false, platform::Format("The sample groups cannot be %s: %s\n(%s)", what, path.c_str(), error.what())};
}

}  // namespace

std::string GroupsFilePath(const std::string& resultFolder) { return platform::JoinPath(resultFolder, kGroupsFileName); }

GroupsFileStatus LoadGroupsFile(const std::string& resultFolder, CGrouP& groups) {
  groups.Groups.clear();
  const std::string path = GroupsFilePath(resultFolder);
  // The first group made in a result folder makes the file.
  if (!platform::FileExists(path)) return {};
  try {
    LoadArchiveFile(path, [&groups](CArchive& ar) { groups.Serialize(ar); });
  } catch (const std::exception& error) {
    groups.Groups.clear();
    return Failure("read", path, error);
  }
  return {};
}

GroupsFileStatus StoreGroupsFile(const std::string& resultFolder, const CGrouP& groups) {
  const std::string path = GroupsFilePath(resultFolder);
  try {
    StoreArchiveFile(path, [&groups](CArchive& ar) { groups.Store(ar); });
  } catch (const std::exception& error) {
    return Failure("written", path, error);
  }
  return {};
}

}  // namespace qova::core
