#include "arrayfiles/generic/GenericDataHeader.h"

#include <algorithm>

namespace generic_io {

void GenericDataHeader::AddParameter(const GenericParameter& param) {
  auto held = std::find_if(parameters.begin(), parameters.end(),
                           [&](const GenericParameter& p) { return p.GetName() == param.GetName(); });
  if (held != parameters.end()) {
    *held = param;
  } else {
    parameters.push_back(param);
  }
}

bool GenericDataHeader::FindParameter(std::u16string_view name, GenericParameter& out) const {
  return FindParameterByName(parameters, name, out);
}

bool GenericDataHeader::GetParametersWithPrefix(std::u16string_view prefix,
                                                std::vector<GenericParameter>& out) const {
  out.clear();
  for (const GenericParameter& param : parameters) {
    if (std::u16string_view(param.GetName()).starts_with(prefix)) out.push_back(param);
  }
  return !out.empty();
}

const GenericDataHeader* GenericDataHeader::FindParent(std::string_view typeId) const {
  for (const GenericDataHeader& parent : parents) {
    if (parent.fileTypeId == typeId) return &parent;
  }
  return nullptr;
}

void GenericDataHeader::Clear() {
  fileTypeId.clear();
  fileId.clear();
  fileCreationTime.clear();
  parameters.clear();
  parents.clear();
}

}  // namespace generic_io
