#include "arrayfiles/unified/GenericCELDataAdapter.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <vector>

#include "arrayfiles/common/StringUtils.h"
#include "platform/Strings.h"

namespace unified_io {
namespace {

using generic_io::GenericParameter;

constexpr std::string_view kScanAcquisitionType = "vendor-generic-scan-acquisition";
constexpr std::u16string_view kDatHeaderParam = u"vendor-dat-header";
constexpr std::u16string_view kPartialDatHeaderParam = u"vendor-partial-dat-header";
constexpr std::u16string_view kMaxPixelParam = u"vendor-max-pixel-intensity";
constexpr std::u16string_view kMinPixelParam = u"vendor-min-pixel-intensity";

// A 16-bit pixel bound of the scan, 0 when absent or of another type.
int PixelBound(const generic_io::GenericDataHeader& scan, std::u16string_view name) {
  GenericParameter param;
  if (!scan.FindParameter(name, param) || param.GetParameterType() != generic_io::UInt16Type) return 0;
  return param.GetValueUInt16();
}

}  // namespace

GenericCELDataAdapter::~GenericCELDataAdapter() { data_.Clear(); }

bool GenericCELDataAdapter::CanReadFile() {
  loaded_ = false;
  try {
    generic_io::CELFileReader().Read(std::string(), data_);
    // Data sets whose cells cannot be read, or header fields of another type
    // than their own, make the file unreadable here instead of raising at
    // the caller's first question.
    if (data_.CheckDataSets()) {
      (void)data_.GetVersion();
      (void)data_.GetCols();
      (void)data_.GetRows();
      (void)data_.GetArrayType();
      (void)data_.GetMasterFileName();
      (void)data_.GetLibraryPackageName();
      (void)data_.GetAlgorithmName();
      loaded_ = true;
    }
  } catch (...) {
    loaded_ = false;
  }
  if (!loaded_) data_.Clear();
  return loaded_;
}

std::string GenericCELDataAdapter::GetFileId() { return data_.GetGenericData().Header().genericHeader.GetFileId(); }

std::u16string GenericCELDataAdapter::GetParams() {
  std::vector<GenericParameter> params;
  data_.GetAlgorithmParameters(params);
  std::u16string text;
  for (const GenericParameter& param : params) {
    if (!text.empty()) text += u';';
    text += param.GetName() + u":" + param.ToString();
  }
  return text;
}

std::u16string GenericCELDataAdapter::GetAlgorithmParameter(const std::u16string& tag) {
  GenericParameter param;
  return data_.FindAlgorithmParameter(tag, param) ? param.ToString() : std::u16string();
}

std::u16string GenericCELDataAdapter::GetAlgorithmParameterTag(int index) {
  std::vector<GenericParameter> params;
  data_.GetAlgorithmParameters(params);
  if (index < 0 || static_cast<std::size_t>(index) >= params.size()) return std::u16string();
  return params[static_cast<std::size_t>(index)].GetName();
}

int GenericCELDataAdapter::GetNumberAlgorithmParameters() {
  std::vector<GenericParameter> params;
  data_.GetAlgorithmParameters(params);
  return static_cast<int>(params.size());
}

void GenericCELDataAdapter::GetParameters(UnifiedTagValuePairList& values) {
  std::vector<GenericParameter> params;
  data_.GetAlgorithmParameters(params);
  for (const GenericParameter& param : params) {
    values.push_back(UnifiedTagValuePair{param.GetName(), param.ToString(), param});
  }
}

std::u16string GenericCELDataAdapter::GetDatHeader() {
  const generic_io::GenericDataHeader* scan =
      data_.GetGenericData().Header().genericHeader.FindParent(kScanAcquisitionType);
  if (scan == nullptr) return std::u16string();
  GenericParameter param;
  if (scan->FindParameter(kDatHeaderParam, param)) {
    return param.GetParameterType() == generic_io::TextType ? param.GetValueText() : std::u16string();
  }
  if (!scan->FindParameter(kPartialDatHeaderParam, param) || param.GetParameterType() != generic_io::TextType) {
    return std::u16string();
  }
  // The pixel range leads, as in a full DAT header.
  const std::string range =
      platform::Format("[%d..%d]", PixelBound(*scan, kMinPixelParam), PixelBound(*scan, kMaxPixelParam));
  return StringUtils::NarrowToWide(range) + param.GetValueText();
}

int GenericCELDataAdapter::GetCellMargin() {
  GenericParameter param;
  if (!data_.FindAlgorithmParameter(u"CellMargin", param)) return 0;
  switch (param.GetParameterType()) {
    case generic_io::Int8Type: return param.GetValueInt8();
    case generic_io::UInt8Type: return param.GetValueUInt8();
    case generic_io::Int16Type: return param.GetValueInt16();
    case generic_io::UInt16Type: return param.GetValueUInt16();
    case generic_io::Int32Type: return param.GetValueInt32();
    case generic_io::UInt32Type: return static_cast<int>(param.GetValueUInt32());
    case generic_io::AsciiType: {
      long value = std::strtol(param.GetValueAscii().c_str(), nullptr, 10);
      if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
      if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
      return static_cast<int>(value);
    }
    default: return 0;
  }
}

int GenericCELDataAdapter::GetNumOutliers() {
  if (!loaded_) return 0;
  std::vector<generic_io::XYCoord> coords;
  data_.GetOutlierCoords(coords);
  return static_cast<int>(coords.size());
}

int GenericCELDataAdapter::GetNumMasked() {
  if (!loaded_) return 0;
  std::vector<generic_io::XYCoord> coords;
  data_.GetMaskCoords(coords);
  return static_cast<int>(coords.size());
}

UnifiedGridCoords GenericCELDataAdapter::GetGridCorners() {
  static constexpr std::u16string_view kNames[8] = {u"GridULX", u"GridULY", u"GridURX", u"GridURY",
                                                     u"GridLRX", u"GridLRY", u"GridLLX", u"GridLLY"};
  float values[8] = {};
  for (int i = 0; i < 8; ++i) {
    GenericParameter param;
    // One corner missing or not a float: no corners at all.
    if (!data_.FindAlgorithmParameter(kNames[i], param) || param.GetParameterType() != generic_io::FloatType) {
      return UnifiedGridCoords{};
    }
    values[i] = param.GetValueFloat();
  }
  return UnifiedGridCoords{values[0], values[1], values[2], values[3], values[4], values[5], values[6], values[7]};
}

int GenericCELDataAdapter::IndexToX(int index) {
  const int cols = GetCols();
  return cols > 0 ? index % cols : 0;
}

int GenericCELDataAdapter::IndexToY(int index) {
  const int cols = GetCols();
  return cols > 0 ? index / cols : 0;
}

int GenericCELDataAdapter::XYToIndex(int x, int y) {
  const int cols = GetCols();
  if (cols <= 0 || x < 0 || y < 0 || x >= cols) return -1;
  const std::int64_t index = std::int64_t(y) * cols + x;
  return index > std::numeric_limits<int>::max() ? -1 : static_cast<int>(index);
}

void GenericCELDataAdapter::GetEntry(int index, UnifiedCELFileEntry& entry) {
  entry = UnifiedCELFileEntry{};
  if (!loaded_) return;
  data_.GetValues(index, entry.Intensity, entry.Stdv, entry.Pixels);
}

float GenericCELDataAdapter::GetIntensity(int index) {
  std::vector<float> values;
  return loaded_ && data_.GetIntensities(index, values) ? values.front() : 0.0f;
}

void GenericCELDataAdapter::GetIntensities(std::span<const std::int32_t> indexes, std::span<float> intensities) {
  if (loaded_) return data_.GetIntensities(indexes, intensities);
  std::fill(intensities.begin(), intensities.end(), 0.0f);
}

float GenericCELDataAdapter::GetStdv(int index) {
  std::vector<float> values;
  return loaded_ && data_.GetStdev(index, values) ? values.front() : 0.0f;
}

std::int16_t GenericCELDataAdapter::GetPixels(int index) {
  std::vector<std::int16_t> values;
  return loaded_ && data_.GetNumPixels(index, values) ? values.front() : std::int16_t(0);
}

bool GenericCELDataAdapter::IsMasked(int index) {
  std::vector<bool> flags;
  return loaded_ && data_.GetMasked(index, flags) && !flags.empty() && flags.front();
}

bool GenericCELDataAdapter::IsOutlier(int index) {
  std::vector<bool> flags;
  return loaded_ && data_.GetOutliers(index, flags) && !flags.empty() && flags.front();
}

bool GenericCELDataAdapter::ReadEx(const std::string& fileName, int) {
  // The name ends at its first NUL, as a C string would.
  SetFileName(fileName.substr(0, fileName.find('\0')));
  return Read(false);
}

void GenericCELDataAdapter::Clear() {
  data_.Clear();
  loaded_ = false;
}

}  // namespace unified_io
