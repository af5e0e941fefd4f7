#include "arrayfiles/unified/LegacyCELDataAdapter.h"

#include "arrayfiles/common/StringUtils.h"

namespace unified_io {

using StringUtils::NarrowToWide;
using StringUtils::WideToNarrow;

LegacyCELDataAdapter::~LegacyCELDataAdapter() { legacyCel_.Close(); }

bool LegacyCELDataAdapter::CanReadFile() {
  bool ok = legacyCel_.Read(true);
  legacyCel_.Close();
  return ok;
}

void LegacyCELDataAdapter::SetError(const std::u16string& value) { legacyCel_.SetError(WideToNarrow(value)); }

std::u16string LegacyCELDataAdapter::GetError() { return NarrowToWide(legacyCel_.GetError()); }

std::u16string LegacyCELDataAdapter::GetHeaderKey(const std::u16string& key) {
  return NarrowToWide(legacyCel_.GetHeaderValue(WideToNarrow(key)));
}

std::u16string LegacyCELDataAdapter::GetHeader() { return NarrowToWide(legacyCel_.GetHeader()); }

std::u16string LegacyCELDataAdapter::GetAlg() { return NarrowToWide(legacyCel_.GetAlg()); }

std::u16string LegacyCELDataAdapter::GetParams() { return NarrowToWide(legacyCel_.GetParams()); }

std::u16string LegacyCELDataAdapter::GetAlgorithmParameter(const std::u16string& tag) {
  return NarrowToWide(legacyCel_.GetAlgorithmParameter(WideToNarrow(tag)));
}

// The interface counts parameters from 0, the reader's order from 1.
std::u16string LegacyCELDataAdapter::GetAlgorithmParameterTag(int index) {
  if (index < 0 || index >= GetNumberAlgorithmParameters()) return std::u16string();
  return NarrowToWide(legacyCel_.GetAlgorithmParameterTag(index + 1));
}

void LegacyCELDataAdapter::GetParameters(UnifiedTagValuePairList& values) {
  const int count = GetNumberAlgorithmParameters();
  for (int i = 0; i < count; ++i) {
    const std::string tag = legacyCel_.GetAlgorithmParameterTag(i + 1);
    UnifiedTagValuePair pair;
    pair.Tag = NarrowToWide(tag);
    pair.Value = NarrowToWide(legacyCel_.GetAlgorithmParameter(tag));
    pair.DetailedType.SetName(pair.Tag);
    pair.DetailedType.SetValueText(pair.Value);
    values.push_back(std::move(pair));
  }
}

std::u16string LegacyCELDataAdapter::GetDatHeader() { return NarrowToWide(legacyCel_.GetDatHeader()); }

std::u16string LegacyCELDataAdapter::GetChipType() { return NarrowToWide(legacyCel_.GetChipType()); }

UnifiedGridCoords LegacyCELDataAdapter::GetGridCorners() {
  const LegacyGridCoords& g = Header().GetGridCorners();
  UnifiedGridCoords coords;
  coords.upperleftx = static_cast<float>(g.upperLeftX);
  coords.upperlefty = static_cast<float>(g.upperLeftY);
  coords.upperrightx = static_cast<float>(g.upperRightX);
  coords.upperrighty = static_cast<float>(g.upperRightY);
  coords.lowerrightx = static_cast<float>(g.lowerRightX);
  coords.lowerrighty = static_cast<float>(g.lowerRightY);
  coords.lowerleftx = static_cast<float>(g.lowerLeftX);
  coords.lowerlefty = static_cast<float>(g.lowerLeftY);
  return coords;
}

int LegacyCELDataAdapter::IndexToX(int index) {
  const int cols = GetCols();
  return cols > 0 ? index % cols : 0;
}

int LegacyCELDataAdapter::IndexToY(int index) {
  const int cols = GetCols();
  return cols > 0 ? index / cols : 0;
}

void LegacyCELDataAdapter::GetEntry(int index, UnifiedCELFileEntry& entry) {
  std::uint16_t pixels = 0;
  legacyCel_.GetValues(index, entry.Intensity, entry.Stdv, pixels);
  entry.Pixels = static_cast<std::int16_t>(pixels);
}

bool LegacyCELDataAdapter::ReadHeader() {
  bool ok = legacyCel_.Read(true);
  if (!ok) legacyCel_.Close();
  return ok;
}

bool LegacyCELDataAdapter::Read(bool includeMaskAndOutliers) {
  legacyCel_.SetReadOutlierCells(includeMaskAndOutliers);
  legacyCel_.SetReadMaskedCells(includeMaskAndOutliers);
  bool ok = legacyCel_.Read(false);
  if (!ok) legacyCel_.Close();
  return ok;
}

}  // namespace unified_io
