#include "arrayfiles/cdf/CDFProbeSetInformation.h"

#include <algorithm>
#include <limits>

#include "platform/ByteOrder.h"

namespace generic_io {

namespace {

// The parameters of a probe set's data sets.
constexpr std::u16string_view kUnitType = u"Unit Type";
constexpr std::u16string_view kDirection = u"Direction";
constexpr std::u16string_view kProbeSetNumber = u"Probe Set Number";
constexpr std::u16string_view kCellsPerAtom = u"Cells Per Atom";
constexpr std::u16string_view kAtoms = u"Atoms";
constexpr std::u16string_view kCells = u"Cells";

// The widths a cell row needs: x, y, the two carried values, probe base, target base.
constexpr std::int32_t kCellColumnWidths[] = {2, 2, 4, 4, 1, 1};
constexpr int kCellColumns = 6;

template <typename Get>
void ReadIfPresent(const DataSetHeader& header, std::u16string_view name, Get get) {
  if (const GenericParameter* parameter = header.FindParameter(name)) get(*parameter);
}

std::int32_t ClampToInt32(std::uint64_t value) {
  return static_cast<std::int32_t>(std::min<std::uint64_t>(value, std::numeric_limits<std::int32_t>::max()));
}

}  // namespace

void CDFProbeGroupInformation::SetDataSet(std::unique_ptr<DataSet> dataSet, std::shared_ptr<GenericData> file) {
  // The data set goes before the file object whose mapping it reads.
  dataSet_.reset();
  file_ = std::move(file);
  dataSet_ = std::move(dataSet);
  unitType_ = 0;
  direction_ = 0;
  atoms_ = 0;
  cells_ = 0;
  probeSetNumber_ = 0;
  cellsPerAtom_ = 0;
  if (!dataSet_) return;
  // A set whose cells cannot be mapped still has its header; the cells are
  // looked at only through IsOpen.
  static_cast<void>(dataSet_->Open());
  const DataSetHeader& header = dataSet_->Header();
  ReadIfPresent(header, kUnitType, [&](const GenericParameter& p) { unitType_ = p.GetValueUInt8(); });
  ReadIfPresent(header, kDirection, [&](const GenericParameter& p) { direction_ = p.GetValueUInt8(); });
  ReadIfPresent(header, kAtoms, [&](const GenericParameter& p) { atoms_ = ClampToInt32(p.GetValueUInt32()); });
  ReadIfPresent(header, kCells, [&](const GenericParameter& p) { cells_ = ClampToInt32(p.GetValueUInt32()); });
  ReadIfPresent(header, kProbeSetNumber,
                [&](const GenericParameter& p) { probeSetNumber_ = static_cast<std::int32_t>(p.GetValueUInt32()); });
  ReadIfPresent(header, kCellsPerAtom, [&](const GenericParameter& p) { cellsPerAtom_ = p.GetValueUInt8(); });
}

bool CDFProbeGroupInformation::HoldsCells() const {
  if (!dataSet_ || !dataSet_->IsOpen() || dataSet_->Columns() < kCellColumns) return false;
  for (int c = 0; c < kCellColumns; ++c) {
    if (dataSet_->Header().columns[static_cast<std::size_t>(c)].GetWidth() < kCellColumnWidths[c]) return false;
  }
  return true;
}

std::int32_t CDFProbeGroupInformation::GetNumCells() const {
  if (!HoldsCells()) return 0;
  return std::min(cells_, dataSet_->Rows());
}

std::u16string CDFProbeGroupInformation::GetName() const {
  return dataSet_ ? dataSet_->Header().name : std::u16string();
}

bool CDFProbeGroupInformation::GetCell(std::int32_t index, CDFProbeInformation& cell) {
  cell = CDFProbeInformation();
  if (index < 0 || index >= GetNumCells()) return false;
  cell.x_ = platform::ReadBE16(dataSet_->FilePosition(index, 0));
  cell.y_ = platform::ReadBE16(dataSet_->FilePosition(index, 1));
  cell.listIndex_ = static_cast<std::int32_t>(platform::ReadBE32(dataSet_->FilePosition(index, 2)));
  cell.expos_ = static_cast<std::int32_t>(platform::ReadBE32(dataSet_->FilePosition(index, 3)));
  cell.pBase_ = static_cast<char>(*dataSet_->FilePosition(index, 4));
  cell.tBase_ = static_cast<char>(*dataSet_->FilePosition(index, 5));
  return true;
}

void CDFProbeSetInformation::SetDataGroup(DataGroup group, std::shared_ptr<GenericData> file) {
  dataGroup_ = std::move(group);
  file_ = std::move(file);
  unitType_ = 0;
  direction_ = 0;
  atoms_ = 0;
  cells_ = 0;
  probeSetNumber_ = 0;
  cellsPerAtom_ = 0;
  const DataGroupHeader& header = dataGroup_->Header();
  numGroups_ = header.GetDataSetCount();
  if (numGroups_ == 0) return;
  const DataSetHeader& first = header.GetDataSetHeader(0);
  ReadIfPresent(first, kUnitType, [&](const GenericParameter& p) { unitType_ = p.GetValueUInt8(); });
  ReadIfPresent(first, kDirection, [&](const GenericParameter& p) { direction_ = p.GetValueUInt8(); });
  ReadIfPresent(first, kProbeSetNumber, [&](const GenericParameter& p) { probeSetNumber_ = p.GetValueUInt32(); });
  ReadIfPresent(first, kCellsPerAtom, [&](const GenericParameter& p) { cellsPerAtom_ = p.GetValueUInt8(); });
  std::uint64_t atoms = 0;
  std::uint64_t cells = 0;
  for (const DataSetHeader& set : header.dataSetHeaders) {
    ReadIfPresent(set, kAtoms, [&](const GenericParameter& p) { atoms += p.GetValueUInt32(); });
    ReadIfPresent(set, kCells, [&](const GenericParameter& p) { cells += p.GetValueUInt32(); });
  }
  atoms_ = ClampToInt32(atoms);
  cells_ = ClampToInt32(cells);
}

std::u16string CDFProbeSetInformation::GetName() const {
  return dataGroup_ ? dataGroup_->Header().name : std::u16string();
}

bool CDFProbeSetInformation::GetGroupInformation(std::int32_t index, CDFProbeGroupInformation& group) const {
  if (!dataGroup_ || index < 0 || index >= numGroups_) {
    group = CDFProbeGroupInformation();
    return false;
  }
  group.SetDataSet(dataGroup_->DataSet(index), file_);
  return true;
}

}  // namespace generic_io
