// Feeds arbitrary bytes to the groups file of a result folder: a load gives
// every group or refuses the file with its message and no groups, and the
// groups it gives store and load back unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "core/GroupsFile.h"
#include "tests/core/fuzz/FuzzFolder.h"

namespace core = qova::core;

namespace {

const std::string& Folder(const char* name) {
  static std::string folders[2];
  std::string& folder = folders[name[0] == 'i' ? 0 : 1];
  if (folder.empty()) {
    folder = fuzz_support::Folder() + name + "/";
    std::filesystem::create_directories(folder);
  }
  return folder;
}

void WriteSeeds(const std::string& folder) {
  CGrouP groups;
  groups.Groups.push_back({1, 2, {"Tumour01.CFS", "Tumour02.CFS"}, "Self tumours"});
  groups.Groups.push_back({0, 3, {"Cell01.CFN", "Cell02.CFN", "Cell03.CFN"}, "Cell lines"});
  groups.Groups.push_back({0, 0, {}, "Empty"});
  if (!core::StoreGroupsFile(folder, groups)) std::abort();
  std::filesystem::rename(folder + core::kGroupsFileName, folder + "three-groups");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  fuzz_support::WriteSeedsWhenAsked(WriteSeeds);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string& in = Folder("in");
  fuzz_support::WriteInput(std::string("in/") + core::kGroupsFileName, data, size);
  CGrouP groups;
  const core::GroupsFileStatus loaded = core::LoadGroupsFile(in, groups);
  if (!loaded) {
    if (!groups.Groups.empty() || loaded.Message.empty()) std::abort();
    return 0;
  }
  for (const SampleGroup& group : groups.Groups)
    if (group.MemberCount != static_cast<std::int32_t>(group.MemberNames.size())) std::abort();
  const std::string& out = Folder("out");
  if (!core::StoreGroupsFile(out, groups)) std::abort();
  CGrouP again;
  if (!core::LoadGroupsFile(out, again) || !(again == groups)) std::abort();
  return 0;
}
