#pragma once
// Readers of the headers of a generic file, in file order: the file header with
// the generic data header (and its parents, depth first), then the chain of
// data group headers, each with the chain of its data set headers.
#include <cstdint>

#include "arrayfiles/generic/FileHeader.h"
#include "arrayfiles/generic/StreamInput.h"

namespace generic_io {

// Parent headers nest at most this deep; deeper nesting is a malformed file.
inline constexpr int kMaxParentDepth = 64;

struct FileHeaderReader {
  // Magic (InvalidFileTypeException), version (InvalidVersionException), group
  // count, first group position, then the generic data header.
  static void Read(HeaderStream& stream, FileHeader& header);
};

struct GenericDataHeaderReader {
  // A parameter of a name already read replaces that one in its place.
  static void Read(HeaderStream& stream, GenericDataHeader& header, int depth = 0);
};

struct DataSetHeaderReader {
  // The complete header at the stream's position; returns the next set's position.
  static std::uint32_t ReadOne(HeaderStream& stream, DataSetHeader& header);
  // Only the positions and the name.
  static std::uint32_t ReadOneMinimal(HeaderStream& stream, DataSetHeader& header);
  // Walks `count` links of the group's set chain, appending to the group.
  static void ReadAll(HeaderStream& stream, std::uint32_t count, DataGroupHeader& group);
  static void ReadAllMinimal(HeaderStream& stream, std::uint32_t count, DataGroupHeader& group);
};

struct DataGroupHeaderReader {
  // The group header at the stream's position; returns its data set count.
  static std::uint32_t ReadOne(HeaderStream& stream, DataGroupHeader& group);
  // The same header read for its next-group position alone: it raises where
  // ReadOne would, but keeps no name.
  static std::uint32_t ReadNextPosition(HeaderStream& stream);
  // Walks `count` links of the group chain from the file header's first
  // position, each group with its data set headers, appending to the file header.
  static void ReadAll(HeaderStream& stream, std::uint32_t count, FileHeader& header);
  static void ReadAllMinimal(HeaderStream& stream, std::uint32_t count, FileHeader& header);
};

}  // namespace generic_io
