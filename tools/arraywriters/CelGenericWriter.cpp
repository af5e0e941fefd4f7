// The generic container form of a CEL file: one "Default Group" with the
// "Intensity", "StdDev", "Pixel", "Outlier" and "Mask" data sets, the array's
// settings as data-header parameters and the scan's DAT header in a parent header.
#include <sstream>

#include "tools/arraywriters/CelWriters.h"
#include "tools/arraywriters/GenericWriter.h"

namespace arraywriters {
namespace {

constexpr std::uint8_t kGenericCelVersion = 1;

std::u16string Wide(const std::string& text) { return std::u16string(text.begin(), text.end()); }

// The legacy "tag:value;tag:value" text as algorithm parameters: the cell
// margin as a number, every other value as text, then the grid corners.
void AddAlgorithmParameters(const CelArray& array, std::vector<GenericParameterSpec>& params) {
  const std::u16string prefix = u"vendor-algorithm-param-";
  std::istringstream pairs(array.algorithmParameters);
  std::string pair;
  bool marginWritten = false;
  while (std::getline(pairs, pair, ';')) {
    const std::size_t colon = pair.find(':');
    if (colon == std::string::npos) continue;
    const std::string tag = pair.substr(0, colon);
    if (tag == "CellMargin") {
      params.push_back(Int32Parameter(prefix + u"CellMargin", array.cellMargin));
      marginWritten = true;
    } else {
      params.push_back(TextParameter(prefix + Wide(tag), Wide(pair.substr(colon + 1))));
    }
  }
  if (!marginWritten) params.push_back(Int32Parameter(prefix + u"CellMargin", array.cellMargin));
  const CelGridCorners& g = array.grid;
  const std::pair<const char16_t*, int> corners[] = {
      {u"GridULX", g.upperLeftX},  {u"GridULY", g.upperLeftY},  {u"GridURX", g.upperRightX},
      {u"GridURY", g.upperRightY}, {u"GridLRX", g.lowerRightX}, {u"GridLRY", g.lowerRightY},
      {u"GridLLX", g.lowerLeftX},  {u"GridLLY", g.lowerLeftY}};
  for (const auto& [name, value] : corners) {
    params.push_back(FloatParameter(prefix + name, static_cast<float>(value)));
  }
}

GenericHeaderSpec ScanHeader(const CelArray& array, const GenericCelOptions& options) {
  GenericHeaderSpec scan;
  scan.fileTypeId = "vendor-generic-scan-acquisition";
  scan.fileId = "scan-0001";
  if (options.partialDatHeader) {
    // The partial header is the DAT header without its leading pixel range.
    const std::size_t rangeEnd = array.datHeader.find(']');
    const std::string rest = rangeEnd == std::string::npos ? array.datHeader : array.datHeader.substr(rangeEnd + 1);
    scan.parameters.push_back(TextParameter(u"vendor-partial-dat-header", Wide(rest)));
    scan.parameters.push_back(UInt16Parameter(u"vendor-max-pixel-intensity", options.maxPixelIntensity));
    scan.parameters.push_back(UInt16Parameter(u"vendor-min-pixel-intensity", options.minPixelIntensity));
  } else {
    scan.parameters.push_back(TextParameter(u"vendor-dat-header", Wide(array.datHeader)));
  }
  return scan;
}

GenericDataSetSpec CoordinateSet(const char16_t* name, const std::vector<CelCoord>& coords) {
  GenericDataSetSpec set;
  set.name = name;
  set.columns = {{u"X", kColumnInt16, 2}, {u"Y", kColumnInt16, 2}};
  set.rowCount = static_cast<std::int32_t>(coords.size());
  for (const CelCoord& c : coords) {
    AppendInt16Cell(set.elements, static_cast<std::int16_t>(c.x));
    AppendInt16Cell(set.elements, static_cast<std::int16_t>(c.y));
  }
  return set;
}

}  // namespace

GenericFileSpec GenericCelSpec(const CelArray& array, const GenericCelOptions& options) {
  const auto cellCount = static_cast<std::int32_t>(std::size_t(array.cols) * std::size_t(array.rows));
  GenericFileSpec spec;
  GenericHeaderSpec& header = spec.header;
  header.fileTypeId = "vendor-probes-intensity";
  header.fileId = "cel-0001";
  header.creationTime = u"2007-01-15T10:48:40Z";
  header.parameters = {UInt8Parameter(u"vendor-file-version", kGenericCelVersion),
                       TextParameter(u"vendor-array-type", Wide(array.chipType)),
                       TextParameter(u"vendor-master-file", Wide(array.chipType + ".master")),
                       TextParameter(u"vendor-library-package", u"QOVA test library"),
                       TextParameter(u"vendor-algorithm-name", Wide(array.algorithm)),
                       Int32Parameter(u"vendor-cel-rows", array.rows),
                       Int32Parameter(u"vendor-cel-cols", array.cols)};
  AddAlgorithmParameters(array, header.parameters);
  header.parents.push_back(ScanHeader(array, options));

  GenericDataGroupSpec group;
  group.name = u"Default Group";
  GenericDataSetSpec intensity, stdev, pixels;
  intensity.name = u"Intensity";
  intensity.columns = {options.intensityAsUInt16 ? GenericColumnSpec{u"Intensity", kColumnUInt16, 2}
                                                 : GenericColumnSpec{u"Intensity", kColumnFloat, 4}};
  stdev.name = u"StdDev";
  stdev.columns = {{u"StdDev", kColumnFloat, 4}};
  pixels.name = u"Pixel";
  pixels.columns = {{u"Pixel", kColumnInt16, 2}};
  intensity.rowCount = stdev.rowCount = pixels.rowCount = cellCount;
  intensity.elements.reserve(std::size_t(cellCount) * 4);
  stdev.elements.reserve(std::size_t(cellCount) * 4);
  pixels.elements.reserve(std::size_t(cellCount) * 2);
  for (std::int32_t i = 0; i < cellCount; ++i) {
    const CelCell cell = std::size_t(i) < array.cells.size() ? array.cells[std::size_t(i)] : CelCell{};
    if (options.intensityAsUInt16) {
      AppendInt16Cell(intensity.elements, static_cast<std::int16_t>(static_cast<std::uint16_t>(cell.intensity)));
    } else {
      AppendFloatCell(intensity.elements, cell.intensity);
    }
    AppendFloatCell(stdev.elements, cell.stdv);
    AppendInt16Cell(pixels.elements, static_cast<std::int16_t>(cell.pixels));
  }
  group.dataSets.push_back(std::move(intensity));
  if (!options.omitStdDev) group.dataSets.push_back(std::move(stdev));
  if (!options.omitPixel) group.dataSets.push_back(std::move(pixels));
  if (!options.omitOutlier) group.dataSets.push_back(CoordinateSet(u"Outlier", array.outliers));
  if (!options.omitMask) group.dataSets.push_back(CoordinateSet(u"Mask", array.masked));
  spec.groups.push_back(std::move(group));
  return spec;
}

void WriteGenericCel(std::ostream& out, const CelArray& array, const GenericCelOptions& options) {
  const std::string bytes = GenericFileBytes(GenericCelSpec(array, options));
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

}  // namespace arraywriters
