#pragma once
// Printing of the header tree of a generic container file: the file header, the
// generic data header with its parameters and parents, and every data group
// with its data sets, their parameters, columns and row counts.
#include <ostream>
#include <string>

#include "arrayfiles/generic/GenericData.h"

namespace arraydump {

// True when the file starts with the generic container's magic byte.
[[nodiscard]] bool IsGenericFile(const std::string& path);

// The tree of headers read in the all-headers mode.
void PrintGenericHeaderTree(const generic_io::GenericData& data, std::ostream& out);

}  // namespace arraydump
