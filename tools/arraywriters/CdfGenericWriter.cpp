// The generic container form of a CDF library file: an index group whose
// first data set names the probe sets, then one data group per probe set in
// file order, one data set per block, one row per cell.
#include <algorithm>

#include "platform/Strings.h"
#include "tools/arraywriters/CdfWriters.h"

namespace arraywriters {

namespace {

constexpr const char* kProbeSetFileType = "vendor-probesets";
constexpr const char* kControlFileType = "vendor-control-probesets";

std::u16string Wide(const std::string& text) { return platform::Widen(text); }

// The index group: one row per probe set, its name in column 0, its number after.
GenericDataGroupSpec IndexGroup(const std::vector<std::string>& names, const std::vector<std::int32_t>& numbers,
                                bool wideNames) {
  std::size_t longest = 1;
  for (const std::string& name : names) longest = std::max(longest, name.size());
  GenericDataSetSpec set;
  set.name = u"Probe Set Names";
  const auto nameSize = static_cast<std::int32_t>(4 + (wideNames ? 2 : 1) * longest);
  set.columns = {{u"Name", wideNames ? kColumnText16 : kColumnText8, nameSize}, {u"Number", kColumnInt32, 4}};
  set.rowCount = static_cast<std::int32_t>(names.size());
  for (std::size_t i = 0; i < names.size(); ++i) {
    if (wideNames) {
      AppendText16Cell(set.elements, Wide(names[i]), nameSize);
    } else {
      AppendText8Cell(set.elements, names[i], nameSize);
    }
    AppendInt32Cell(set.elements, numbers[i]);
  }
  GenericDataGroupSpec group;
  group.name = u"Index";
  group.dataSets.push_back(std::move(set));
  return group;
}

GenericDataSetSpec BlockSet(const CdfProbeSet& probeSet, const CdfBlock& block) {
  GenericDataSetSpec set;
  set.name = Wide(block.name);
  set.parameters = {UInt8Parameter(u"Unit Type", static_cast<std::uint8_t>(probeSet.type)),
                    UInt8Parameter(u"Direction", block.direction),
                    UInt32Parameter(u"Probe Set Number", static_cast<std::uint32_t>(probeSet.number)),
                    UInt8Parameter(u"Cells Per Atom", probeSet.cellsPerList),
                    UInt32Parameter(u"Atoms", static_cast<std::uint32_t>(block.numLists)),
                    UInt32Parameter(u"Cells", static_cast<std::uint32_t>(block.cells.size()))};
  set.columns = {{u"X", kColumnUInt16, 2},        {u"Y", kColumnUInt16, 2},
                 {u"Atom", kColumnInt32, 4},      {u"Index Position", kColumnInt32, 4},
                 {u"Probe Base", kColumnInt8, 1}, {u"Target Base", kColumnInt8, 1}};
  set.rowCount = static_cast<std::int32_t>(block.cells.size());
  set.elements.reserve(block.cells.size() * 14);
  for (const CdfCell& cell : block.cells) {
    AppendInt16Cell(set.elements, static_cast<std::int16_t>(cell.x));
    AppendInt16Cell(set.elements, static_cast<std::int16_t>(cell.y));
    AppendInt32Cell(set.elements, cell.listIndex);
    AppendInt32Cell(set.elements, cell.exposure);
    AppendInt8Cell(set.elements, static_cast<std::int8_t>(cell.probeBase));
    AppendInt8Cell(set.elements, static_cast<std::int8_t>(cell.targetBase));
  }
  return set;
}

GenericDataGroupSpec QCGroup(const CdfQCSet& qc, const std::u16string& name) {
  GenericDataSetSpec set;
  set.name = name;
  set.parameters = {UInt8Parameter(u"QC Type", static_cast<std::uint8_t>(qc.type)),
                    UInt32Parameter(u"Cells", static_cast<std::uint32_t>(qc.cells.size()))};
  set.columns = {{u"X", kColumnUInt16, 2},        {u"Y", kColumnUInt16, 2},       {u"Length", kColumnUInt8, 1},
                 {u"Perfect Match", kColumnUInt8, 1}, {u"Background", kColumnUInt8, 1}};
  set.rowCount = static_cast<std::int32_t>(qc.cells.size());
  for (const CdfQCCell& cell : qc.cells) {
    AppendInt16Cell(set.elements, static_cast<std::int16_t>(cell.x));
    AppendInt16Cell(set.elements, static_cast<std::int16_t>(cell.y));
    AppendInt8Cell(set.elements, static_cast<std::int8_t>(cell.probeLength));
    AppendInt8Cell(set.elements, static_cast<std::int8_t>(cell.perfectMatch));
    AppendInt8Cell(set.elements, static_cast<std::int8_t>(cell.background));
  }
  GenericDataGroupSpec group;
  group.name = name;
  group.dataSets.push_back(std::move(set));
  return group;
}

}  // namespace

GenericFileSpec GenericCdfSpec(const CdfLayout& layout, const GenericCdfOptions& options) {
  GenericFileSpec spec;
  spec.header.fileTypeId = options.controlFile ? kControlFileType : kProbeSetFileType;
  spec.header.fileId = layout.chipName;
  spec.header.creationTime = u"2008-01-01T00:00:00Z";
  const std::size_t sets = options.controlFile ? layout.qcSets.size() : layout.probeSets.size();
  if (!options.omitHeaderParameters) {
    spec.header.parameters = {AsciiParameter(u"REFSEQ", layout.reference),
                              UInt32Parameter(u"SETS", static_cast<std::uint32_t>(sets))};
  }
  std::vector<std::string> names;
  std::vector<std::int32_t> numbers;
  spec.groups.reserve(sets + 1);
  spec.groups.emplace_back();  // the index group, filled below
  if (options.controlFile) {
    for (std::size_t q = 0; q < layout.qcSets.size(); ++q) {
      names.push_back("QC" + std::to_string(q + 1));
      numbers.push_back(static_cast<std::int32_t>(q + 1));
      spec.groups.push_back(QCGroup(layout.qcSets[q], Wide(names.back())));
    }
  } else {
    for (const CdfProbeSet& probeSet : layout.probeSets) {
      names.push_back(probeSet.name);
      numbers.push_back(probeSet.number);
      GenericDataGroupSpec group;
      group.name = Wide(probeSet.name);
      group.dataSets.reserve(probeSet.blocks.size());
      for (const CdfBlock& block : probeSet.blocks) group.dataSets.push_back(BlockSet(probeSet, block));
      spec.groups.push_back(std::move(group));
    }
  }
  spec.groups.front() = IndexGroup(names, numbers, options.wideNames);
  return spec;
}

std::string GenericCdfImage(const CdfLayout& layout, const GenericCdfOptions& options) {
  return GenericFileBytes(GenericCdfSpec(layout, options));
}

}  // namespace arraywriters
