#include "arrayfiles/cel/CELData.h"

#include <limits>

#include "arrayfiles/generic/GenericExceptions.h"
#include "arrayfiles/generic/GenericFileReader.h"
#include "platform/ByteOrder.h"

namespace generic_io {
namespace {

constexpr std::u16string_view kGroupName = u"Default Group";
constexpr std::u16string_view kIntensitySet = u"Intensity";
constexpr std::u16string_view kStdDevSet = u"StdDev";
constexpr std::u16string_view kPixelSet = u"Pixel";
constexpr std::u16string_view kOutlierSet = u"Outlier";
constexpr std::u16string_view kMaskSet = u"Mask";

constexpr std::u16string_view kFileVersionParam = u"vendor-file-version";
constexpr std::u16string_view kArrayTypeParam = u"vendor-array-type";
constexpr std::u16string_view kMasterFileParam = u"vendor-master-file";
constexpr std::u16string_view kLibraryPackageParam = u"vendor-library-package";
constexpr std::u16string_view kAlgorithmNameParam = u"vendor-algorithm-name";
constexpr std::u16string_view kRowsParam = u"vendor-cel-rows";
constexpr std::u16string_view kColsParam = u"vendor-cel-cols";
constexpr std::u16string_view kAlgorithmParamPrefix = u"vendor-algorithm-param-";

// Bytes of the numeric cells read here.
constexpr std::int32_t kFloatBytes = 4;
constexpr std::int32_t kShortBytes = 2;

bool FirstColumnIs(const DataSet& set, std::int32_t width) {
  return set.Columns() > 0 && set.Header().columns[0].GetWidth() == width;
}

}  // namespace

void CELData::ValueColumn::Reset(std::unique_ptr<DataSet> set) {
  set_ = std::move(set);
  base_ = nullptr;
  rows_ = set_ ? set_->Rows() : 0;
  stride_ = set_ ? static_cast<std::size_t>(set_->Header().GetRowSize()) : 0;
  if (rows_ == 0) return;
  // Asking for every row maps as much of the set as the window holds.
  const std::uint8_t* first = set_->FilePosition(0, 0, rows_);
  const std::uint64_t start = set_->Header().dataStartPos;
  if (set_->WindowStart() <= start &&
      set_->WindowStart() + set_->WindowLength() >= start + std::uint64_t(rows_) * stride_) {
    base_ = first;
  }
}

CELData::CELData() = default;

CELData::~CELData() { Clear(); }

void CELData::Clear() {
  intensity_.Reset();
  intensityLooked_ = false;
  stdev_ = ValueSet{};
  pixels_ = ValueSet{};
  intensityColumnType_ = -1;
  outliers_.clear();
  outliersState_ = SetState::kNotLooked;
  masks_.clear();
  masksState_ = SetState::kNotLooked;
  cachedRows_ = -1;
  cachedCols_ = -1;
  genericData_.Clear();
  // The next file read into this object must not see this one's mapping.
  genericData_.UnmapFile();
}

std::u16string CELData::TextParameter(std::u16string_view name) {
  GenericParameter param;
  if (!genericData_.Header().genericHeader.FindParameter(name, param)) return std::u16string();
  return param.GetValueText();
}

std::uint8_t CELData::GetVersion() {
  GenericParameter param;
  if (!genericData_.Header().genericHeader.FindParameter(kFileVersionParam, param)) return 0;
  return param.GetValueUInt8();
}

std::u16string CELData::GetArrayType() { return TextParameter(kArrayTypeParam); }
std::u16string CELData::GetMasterFileName() { return TextParameter(kMasterFileParam); }
std::u16string CELData::GetLibraryPackageName() { return TextParameter(kLibraryPackageParam); }
std::u16string CELData::GetAlgorithmName() { return TextParameter(kAlgorithmNameParam); }

std::int32_t CELData::GetRows() {
  if (cachedRows_ < 0) {
    GenericParameter param;
    bool found = genericData_.Header().genericHeader.FindParameter(kRowsParam, param);
    cachedRows_ = found ? param.GetValueInt32() : 0;
  }
  return cachedRows_;
}

std::int32_t CELData::GetCols() {
  if (cachedCols_ < 0) {
    GenericParameter param;
    bool found = genericData_.Header().genericHeader.FindParameter(kColsParam, param);
    cachedCols_ = found ? param.GetValueInt32() : 0;
  }
  return cachedCols_;
}

bool CELData::OpenIntensityDataSet() {
  if (!intensityLooked_) {
    std::unique_ptr<DataSet> set = genericData_.DataSet(kGroupName, kIntensitySet);
    intensityLooked_ = true;
    intensityColumnType_ = set->Columns() > 0 ? set->Header().columns[0].GetType() : -1;
    // Float intensities, or 16-bit ones converted to float.
    const std::int32_t width = intensityColumnType_ == kColumnFloat ? kFloatBytes : kShortBytes;
    if (set->Open() && FirstColumnIs(*set, width)) intensity_.Reset(std::move(set));
  }
  return intensity_.IsOpen();
}

std::int32_t CELData::GetNumCells() { return OpenIntensityDataSet() ? intensity_.Rows() : 0; }

CELData::ValueColumn& CELData::OpenValueSet(ValueSet& value, std::u16string_view name, std::int32_t width) {
  if (value.state == SetState::kNotLooked) {
    value.state = SetState::kUnreadable;
    try {
      std::unique_ptr<DataSet> set = genericData_.DataSet(kGroupName, name);
      if (set->Open() && FirstColumnIs(*set, width)) {
        value.column.Reset(std::move(set));
        value.state = SetState::kReadable;
      }
    } catch (const generic_exceptions::DataSetNotFoundException&) {
      value.state = SetState::kAbsent;
    } catch (const generic_exceptions::GenericException&) {
      // Unreadable: its values read as 0.
    }
  }
  return value.column;
}

void CELData::LoadCoords(std::u16string_view name, CoordSet& coords, SetState& state) {
  if (state != SetState::kNotLooked) return;
  state = SetState::kUnreadable;
  try {
    std::unique_ptr<DataSet> set = genericData_.DataSet(kGroupName, name);
    if (!set->Open() || set->Columns() < 2 || set->Header().columns[0].GetWidth() != kShortBytes ||
        set->Header().columns[1].GetWidth() != kShortBytes) {
      return;
    }
    for (std::int32_t row = 0; row < set->Rows(); ++row) {
      auto x = static_cast<std::int16_t>(platform::ReadBE16(set->FilePosition(row, 0)));
      auto y = static_cast<std::int16_t>(platform::ReadBE16(set->FilePosition(row, 1)));
      coords.emplace(y, x);
    }
    state = SetState::kReadable;
  } catch (const generic_exceptions::DataSetNotFoundException&) {
    state = SetState::kAbsent;
  } catch (const generic_exceptions::GenericException&) {
    coords.clear();
  }
}

bool CELData::CheckDataSets() {
  if (!OpenIntensityDataSet()) return false;
  OpenValueSet(stdev_, kStdDevSet, kFloatBytes);
  OpenValueSet(pixels_, kPixelSet, kShortBytes);
  LoadCoords(kOutlierSet, outliers_, outliersState_);
  LoadCoords(kMaskSet, masks_, masksState_);
  for (SetState state : {stdev_.state, pixels_.state, outliersState_, masksState_}) {
    if (state == SetState::kUnreadable) return false;
  }
  return true;
}

bool CELData::InCoords(const CoordSet& coords, std::int32_t index) {
  if (coords.empty()) return false;
  const std::int32_t cols = GetCols();
  if (cols <= 0 || index < 0) return false;
  const std::int32_t y = index / cols;
  const std::int32_t x = index - y * cols;
  if (y > std::numeric_limits<std::int16_t>::max() || x > std::numeric_limits<std::int16_t>::max()) return false;
  return coords.count({static_cast<std::int16_t>(y), static_cast<std::int16_t>(x)}) != 0;
}

float CELData::IntensityAt(std::int32_t index) {
  const std::uint8_t* cell = OpenIntensityDataSet() ? intensity_.Cell(index) : nullptr;
  if (cell == nullptr) return 0.0f;
  return intensityColumnType_ == kColumnFloat ? platform::ReadBEFloat(cell)
                                              : static_cast<float>(platform::ReadBE16(cell));
}

void CELData::GetData(std::int32_t index, float& intensity, float& stdev, std::int16_t& pixels, bool& outlier,
                      bool& masked) {
  GetValues(index, intensity, stdev, pixels);
  outlier = IsOutlier(index);
  masked = IsMasked(index);
}

void CELData::GetValues(std::int32_t index, float& intensity, float& stdev, std::int16_t& pixels) {
  intensity = IntensityAt(index);
  const std::uint8_t* cell = OpenValueSet(stdev_, kStdDevSet, kFloatBytes).Cell(index);
  stdev = cell != nullptr ? platform::ReadBEFloat(cell) : 0.0f;
  cell = OpenValueSet(pixels_, kPixelSet, kShortBytes).Cell(index);
  pixels = cell != nullptr ? static_cast<std::int16_t>(platform::ReadBE16(cell)) : std::int16_t(0);
}

bool CELData::GetIntensities(std::int32_t index, std::vector<float>& values) {
  values.clear();
  if (!OpenIntensityDataSet() || intensity_.Cell(index) == nullptr) return false;
  values.push_back(IntensityAt(index));
  return true;
}

void CELData::GetIntensities(std::span<const std::int32_t> indexes, std::span<float> intensities) {
  const bool open = OpenIntensityDataSet();
  const bool floats = intensityColumnType_ == kColumnFloat;
  for (std::size_t i = 0; i < indexes.size() && i < intensities.size(); ++i) {
    const std::uint8_t* cell = open ? intensity_.Cell(indexes[i]) : nullptr;
    intensities[i] = cell == nullptr ? 0.0f
                     : floats        ? platform::ReadBEFloat(cell)
                                     : static_cast<float>(platform::ReadBE16(cell));
  }
}

bool CELData::GetStdev(std::int32_t index, std::vector<float>& values) {
  values.clear();
  const std::uint8_t* cell = OpenValueSet(stdev_, kStdDevSet, kFloatBytes).Cell(index);
  if (cell == nullptr) return false;
  values.push_back(platform::ReadBEFloat(cell));
  return true;
}

bool CELData::GetNumPixels(std::int32_t index, std::vector<std::int16_t>& values) {
  values.clear();
  const std::uint8_t* cell = OpenValueSet(pixels_, kPixelSet, kShortBytes).Cell(index);
  if (cell == nullptr) return false;
  values.push_back(static_cast<std::int16_t>(platform::ReadBE16(cell)));
  return true;
}

bool CELData::GetOutliers(std::int32_t index, std::vector<bool>& flags) {
  LoadCoords(kOutlierSet, outliers_, outliersState_);
  if (outliers_.empty()) return false;
  if (index >= 0 && index < GetNumCells()) flags.push_back(InCoords(outliers_, index));
  return true;
}

bool CELData::GetMasked(std::int32_t index, std::vector<bool>& flags) {
  LoadCoords(kMaskSet, masks_, masksState_);
  if (masks_.empty()) return false;
  if (index >= 0 && index < GetNumCells()) flags.push_back(InCoords(masks_, index));
  return true;
}

bool CELData::IsOutlier(std::int32_t index) {
  LoadCoords(kOutlierSet, outliers_, outliersState_);
  return InCoords(outliers_, index);
}

bool CELData::IsMasked(std::int32_t index) {
  LoadCoords(kMaskSet, masks_, masksState_);
  return InCoords(masks_, index);
}

void CELData::GetOutlierCoords(std::vector<XYCoord>& coords) {
  LoadCoords(kOutlierSet, outliers_, outliersState_);
  for (const auto& [y, x] : outliers_) coords.push_back(XYCoord{x, y});
}

void CELData::GetMaskCoords(std::vector<XYCoord>& coords) {
  LoadCoords(kMaskSet, masks_, masksState_);
  for (const auto& [y, x] : masks_) coords.push_back(XYCoord{x, y});
}

void CELData::GetAlgorithmParameters(std::vector<GenericParameter>& params) {
  genericData_.Header().genericHeader.GetParametersWithPrefix(kAlgorithmParamPrefix, params);
  for (GenericParameter& param : params) param.SetName(param.GetName().substr(kAlgorithmParamPrefix.size()));
}

bool CELData::FindAlgorithmParameter(std::u16string_view tag, GenericParameter& param) {
  std::u16string name(kAlgorithmParamPrefix);
  name += tag;
  GenericParameter found;
  if (!genericData_.Header().genericHeader.FindParameter(name, found)) return false;
  found.SetName(std::u16string(tag));
  param = found;
  return true;
}

void CELFileReader::Read(const std::string& fileName, CELData& data) {
  data.Clear();
  GenericFileReader reader;
  reader.SetFilename(fileName.empty() ? data.GetFileName() : fileName);
  reader.ReadHeader(data.GetGenericData(), AllHeaders);
}

}  // namespace generic_io
