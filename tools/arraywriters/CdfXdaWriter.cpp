#include <limits>
#include <stdexcept>

#include "platform/ByteOrder.h"
#include "tools/arraywriters/CdfWriters.h"

namespace arraywriters {

namespace {

constexpr std::int32_t kXdaMagic = 67;
constexpr std::size_t kNameField = 64;

using platform::AppendLE16;
using platform::AppendLE32;

void AppendI32(std::string& out, std::int32_t v) { AppendLE32(out, static_cast<std::uint32_t>(v)); }

// A name in its 64-byte field, NUL-padded; a name of exactly 64 characters has no NUL.
void AppendName(std::string& out, const std::string& name) {
  if (name.size() > kNameField) throw std::length_error("XDA CDF: name longer than 64 characters: " + name);
  out += name;
  out.append(kNameField - name.size(), '\0');
}

void PatchOffset(std::string& image, std::size_t at) {
  if (image.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw std::length_error("XDA CDF: file too large for 32-bit offsets");
  }
  platform::WriteLE32(&image[at], static_cast<std::uint32_t>(image.size()));
}

void AppendProbeSet(std::string& out, const CdfProbeSet& set) {
  AppendLE16(out, set.type);
  out += static_cast<char>(set.direction);
  AppendI32(out, set.TotalLists());
  AppendI32(out, static_cast<std::int32_t>(set.blocks.size()));
  AppendI32(out, set.TotalCells());
  AppendI32(out, set.number);
  out += static_cast<char>(set.cellsPerList);
  for (const CdfBlock& block : set.blocks) {
    AppendI32(out, block.numLists);
    AppendI32(out, static_cast<std::int32_t>(block.cells.size()));
    out += static_cast<char>(set.cellsPerList);
    out += static_cast<char>(block.direction);
    AppendI32(out, block.start);
    AppendI32(out, block.stop);
    AppendName(out, block.name);
    for (const CdfCell& cell : block.cells) {
      AppendI32(out, cell.listIndex);
      AppendLE16(out, cell.x);
      AppendLE16(out, cell.y);
      AppendI32(out, cell.exposure);
      out += cell.probeBase;
      out += cell.targetBase;
    }
  }
}

// The readers skip QC records; they are written so that the offsets of the
// QC table point at something of the right kind.
void AppendQCSet(std::string& out, const CdfQCSet& qc) {
  AppendLE16(out, qc.type);
  AppendI32(out, static_cast<std::int32_t>(qc.cells.size()));
  for (const CdfQCCell& cell : qc.cells) {
    AppendLE16(out, cell.x);
    AppendLE16(out, cell.y);
    out += static_cast<char>(cell.probeLength);
    out += static_cast<char>(cell.perfectMatch);
    out += static_cast<char>(cell.background);
  }
}

}  // namespace

std::string XdaCdfImage(const CdfLayout& layout, std::int32_t version) {
  std::string out;
  AppendI32(out, kXdaMagic);
  AppendI32(out, version);
  AppendLE16(out, layout.cols);
  AppendLE16(out, layout.rows);
  AppendI32(out, static_cast<std::int32_t>(layout.probeSets.size()));
  AppendI32(out, static_cast<std::int32_t>(layout.qcSets.size()));
  AppendI32(out, static_cast<std::int32_t>(layout.reference.size()));
  out += layout.reference;
  for (const CdfProbeSet& set : layout.probeSets) AppendName(out, set.name);
  const std::size_t qcTable = out.size();
  out.append(4 * layout.qcSets.size(), '\0');
  const std::size_t setTable = out.size();
  out.append(4 * layout.probeSets.size(), '\0');
  for (std::size_t q = 0; q < layout.qcSets.size(); ++q) {
    PatchOffset(out, qcTable + 4 * q);
    AppendQCSet(out, layout.qcSets[q]);
  }
  for (std::size_t i = 0; i < layout.probeSets.size(); ++i) {
    PatchOffset(out, setTable + 4 * i);
    AppendProbeSet(out, layout.probeSets[i]);
  }
  return out;
}

void WriteXdaCdf(std::ostream& out, const CdfLayout& layout, std::int32_t version) {
  const std::string image = XdaCdfImage(layout, version);
  out.write(image.data(), static_cast<std::streamsize>(image.size()));
}

}  // namespace arraywriters
