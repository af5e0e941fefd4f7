#pragma once
// The self-describing header of a generic file: type and id, typed parameters,
// and the headers of the files it was made from (its parents).
#include <string>
#include <string_view>
#include <vector>

#include "arrayfiles/generic/GenericParameter.h"

namespace generic_io {

struct GenericDataHeader {
  std::string fileTypeId;
  std::string fileId;
  std::u16string fileCreationTime;  // kept as text, never parsed
  std::u16string locale = u"en-US";
  std::vector<GenericParameter> parameters;
  std::vector<GenericDataHeader> parents;

  // A parameter of a name already held replaces that one in its place.
  void AddParameter(const GenericParameter& param);
  // The first parameter of exactly `name` is copied into `out`; `out` is left
  // alone when there is none.
  bool FindParameter(std::u16string_view name, GenericParameter& out) const;
  // Empties `out`, then appends every parameter whose name begins with
  // `prefix`, in order; true when any was found.
  bool GetParametersWithPrefix(std::u16string_view prefix, std::vector<GenericParameter>& out) const;
  void AddParent(const GenericDataHeader& header) { parents.push_back(header); }
  // The first direct parent (not the parents' parents) of exactly that type id.
  [[nodiscard]] const GenericDataHeader* FindParent(std::string_view typeId) const;
  [[nodiscard]] std::string GetFileId() const { return fileId; }
  // Empties everything but the locale.
  void Clear();
};

}  // namespace generic_io
