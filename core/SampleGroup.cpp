#include "core/SampleGroup.h"

#include "core/ArchiveChecks.h"

namespace {

// The fewest bytes a group takes in the file: a one-byte name length, the
// kind and the member count.
constexpr std::uint64_t kSmallestGroup = 1 + 1 + 4;
// The fewest bytes a member name takes: its one-byte length.
constexpr std::uint64_t kSmallestName = 1;

std::int32_t ReadCount(CArchive& ar, std::uint64_t smallestItem, const char* what) {
  std::int32_t count = 0;
  ar >> count;
  if (count < 0) qova::core::ThrowFormatProblem(ar, std::string("negative ") + what);
  ar.CheckAvailable(static_cast<std::uint64_t>(count), smallestItem);
  return count;
}

}  // namespace

void CGrouP::Store(CArchive& ar) const {
  ar << static_cast<std::int32_t>(Groups.size());
  for (const SampleGroup& group : Groups) {
    ar << group.Name << static_cast<std::uint8_t>(group.Kind != 0 ? 1 : 0);
    ar << static_cast<std::int32_t>(group.MemberNames.size());
    for (const std::string& member : group.MemberNames) ar << member;
  }
}

void CGrouP::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    Store(ar);
    return;
  }
  Groups.clear();
  const std::int32_t groups = ReadCount(ar, kSmallestGroup, "group count");
  Groups.reserve(static_cast<std::size_t>(groups));
  for (std::int32_t g = 0; g < groups; ++g) {
    SampleGroup group;
    std::uint8_t kind = 0;
    ar >> group.Name >> kind;
    group.Kind = kind != 0 ? 1 : 0;
    group.MemberCount = ReadCount(ar, kSmallestName, "member count");
    group.MemberNames.resize(static_cast<std::size_t>(group.MemberCount));
    for (std::string& member : group.MemberNames) ar >> member;
    Groups.push_back(std::move(group));
  }
}

const SampleGroup* CGrouP::Find(const std::string& name) const {
  for (const SampleGroup& group : Groups)
    if (group.Name == name) return &group;
  return nullptr;
}
