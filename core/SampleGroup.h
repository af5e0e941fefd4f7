#pragma once
// Sample groups: named lists of sample names that let the user pick the same
// analysed samples again. All groups of a result folder live in one file,
// GroupNames.CFG (see GroupsFile.h), in list order.
//
// GroupNames.CFG (archive encoding, no version string):
//   group count                  int32
//   per group, in list order:
//     name                       archive string
//     kind                       1 byte, 0 or 1
//     member count M             int32
//     M member names             archive strings
#include <cstdint>
#include <string>
#include <vector>

#include "platform/Archive.h"
#include "platform/ui/Object.h"

struct SampleGroup {
  // The kind of the samples grouped: 1 self-reference results, 0 non-self
  // results. Dialogs list only the groups of their caller's kind.
  std::uint8_t Kind = 0;
  // Always the size of MemberNames; kept because the file holds it.
  std::int32_t MemberCount = 0;
  std::vector<std::string> MemberNames;
  // Unique among all groups of a file, of both kinds; compared case-sensitively.
  std::string Name;

  friend bool operator==(const SampleGroup&, const SampleGroup&) = default;
};

class CGrouP : public CObject {
 public:
  // Storing writes the list; a non-zero kind is written as 1. Loading
  // replaces the list; a kind byte other than 0 reads as 1. Counts are checked
  // against the bytes that remain before anything is allocated, so a damaged
  // file raises the archive's error (end-of-file, bad format) naming the file.
  virtual void Serialize(CArchive& ar);
  void Store(CArchive& ar) const;

  // The group called exactly `name`, or null.
  [[nodiscard]] const SampleGroup* Find(const std::string& name) const;

  std::vector<SampleGroup> Groups;

  friend bool operator==(const CGrouP& a, const CGrouP& b) { return a.Groups == b.Groups; }
};
