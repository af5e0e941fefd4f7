#include "arrayfiles/cel/LegacyCELHeader.h"

#include <cstdlib>

#include "arrayfiles/cel/CELTextScan.h"
#include "platform/Strings.h"

namespace {

// The version a header reports before a file sets it.
constexpr std::int32_t kDefaultVersion = 4;

// The extension of the chip's library file name inside a DAT header.
constexpr std::string_view kLibraryExtension = ".1sq";

// Position of the second DAT field separator in `text`, or npos.
std::size_t SecondSeparator(const std::string& text) {
  std::size_t first = text.find(CLegacyCELHeader::kDatFieldSeparator);
  if (first == std::string::npos) return std::string::npos;
  return text.find(CLegacyCELHeader::kDatFieldSeparator, first + 1);
}

}  // namespace

void CLegacyCELHeader::Clear() {
  version_ = kDefaultVersion;
  cols_ = 0;
  rows_ = 0;
  numCells_ = 0;
  header_.clear();
  alg_.clear();
  paramsText_.clear();
  chipType_.clear();
  datHeader_.clear();
  cellMargin_ = 0;
  numOutliers_ = 0;
  numMasked_ = 0;
  grid_ = LegacyGridCoords{};
  params_.clear();
  paramOrder_.clear();
}

std::string CLegacyCELHeader::GetParams() const {
  std::string text;
  for (const auto& [position, name] : paramOrder_) {
    if (!text.empty()) text += ';';
    text += name;
    text += ':';
    auto found = params_.find(name);
    if (found != params_.end()) text += found->second;
  }
  return text;
}

std::string CLegacyCELHeader::GetAlgorithmParameter(const std::string& name) const {
  auto found = params_.find(name);
  return found == params_.end() ? std::string() : found->second;
}

std::string CLegacyCELHeader::GetAlgorithmParameterTag(int position) const {
  auto found = paramOrder_.find(position);
  return found == paramOrder_.end() ? std::string() : found->second;
}

void CLegacyCELHeader::AddAlgorithmParameter(const std::string& name, const std::string& value) {
  if (params_.count(name) != 0) return;
  params_.emplace(name, value);
  paramOrder_.emplace(static_cast<int>(paramOrder_.size()) + 1, name);
}

void CLegacyCELHeader::ParseAlgorithmParameters(const std::string& text) {
  if (text.empty()) return;
  std::string name;
  std::size_t start = 0;
  // The last character never separates: whatever follows the last separator
  // is the last value.
  for (std::size_t i = 0; i + 1 < text.size(); ++i) {
    char c = text[i];
    if (c == ':' || c == '=') {
      name = text.substr(start, i - start);
      start = i + 1;
    } else if (c == ';' || c == ' ') {
      AddAlgorithmParameter(name, text.substr(start, i - start));
      start = i + 1;
    }
  }
  AddAlgorithmParameter(name, text.substr(start));
}

void CLegacyCELHeader::SetCellMargin(std::int32_t margin) {
  cellMargin_ = margin;
  AddAlgorithmParameter("CellMargin", platform::Format("%d", margin));
}

void CLegacyCELHeader::CellMarginFromParameter() {
  // A leading decimal number, 0 when there is none; out of range saturates.
  long value = std::strtol(GetAlgorithmParameter("CellMargin").c_str(), nullptr, 10);
  if (value > INT32_MAX) value = INT32_MAX;
  if (value < INT32_MIN) value = INT32_MIN;
  cellMargin_ = static_cast<std::int32_t>(value);
}

void CLegacyCELHeader::ParseChipTypeFromHeaderText() {
  std::size_t second = SecondSeparator(header_);
  if (second == std::string::npos) return;
  std::size_t start = second + 2;
  if (start > header_.size()) return;
  // The chip field ends at its library extension; a dot past the field's
  // separator belongs to a later field or line, not to the chip type.
  std::size_t next = header_.find(kDatFieldSeparator, start);
  std::size_t dot = header_.find('.', start);
  if (dot != std::string::npos && dot < next) {
    chipType_ = header_.substr(start, dot - start);
    return;
  }
  if (next == std::string::npos) return;
  // The chip type is followed by a blank before the separator.
  chipType_ = next > start ? header_.substr(start, next - 1 - start) : std::string();
}

void CLegacyCELHeader::ParseDatHeaderFromHeaderText() {
  constexpr std::string_view kKey = "DatHeader=";
  std::size_t key = header_.find(kKey);
  if (key == std::string::npos) return;
  std::size_t start = key + kKey.size();
  std::size_t end = header_.find('\n', start);
  if (end == std::string::npos) return;
  datHeader_ = header_.substr(start, end - start);
}

void CLegacyCELHeader::ParseGridCornersFromHeaderText() {
  std::size_t at = header_.find("GridCorner");
  if (at == std::string::npos) return;
  LegacyGridCoords g;
  cel_text::Scanner scan(std::string_view(header_).substr(at));
  scan.Literal("GridCornerUL=").Int(g.upperLeftX).Literal(" ").Int(g.upperLeftY);
  scan.Literal(" GridCornerUR=").Int(g.upperRightX).Literal(" ").Int(g.upperRightY);
  scan.Literal(" GridCornerLR=").Int(g.lowerRightX).Literal(" ").Int(g.lowerRightY);
  scan.Literal(" GridCornerLL=").Int(g.lowerLeftX).Literal(" ").Int(g.lowerLeftY);
  if (scan.Ok() && scan.Count() == 8) grid_ = g;
}

void CLegacyCELHeader::SyncDatHeaderWithChipType() {
  if (chipType_.empty()) return;
  if (datHeader_.empty()) {
    const char s = kDatFieldSeparator;
    datHeader_ = platform::Format(" %c %c %s.1sq %c %c %c %c %c %c %c %c %c ", s, s, chipType_.c_str(), s, s,
                                  s, s, s, s, s, s, s);
    return;
  }
  std::size_t second = SecondSeparator(datHeader_);
  if (second == std::string::npos) return;
  std::size_t start = second + 2;
  if (start > datHeader_.size()) return;
  std::size_t extension = datHeader_.find(kLibraryExtension, start);
  if (extension != std::string::npos) {
    datHeader_.replace(start, extension - start, chipType_);
    return;
  }
  std::size_t next = datHeader_.find(kDatFieldSeparator, start);
  if (next == std::string::npos) return;
  datHeader_.replace(start, next - start, chipType_ + std::string(kLibraryExtension));
}

std::string CLegacyCELHeader::GetHeader() {
  SyncDatHeaderWithChipType();
  const LegacyGridCoords& g = grid_;
  header_ = platform::Format(
      "Cols=%d\nRows=%d\nTotalX=%d\nTotalY=%d\nOffsetX=%d\nOffsetY=%d\n"
      "GridCornerUL=%d %d\nGridCornerUR=%d %d\nGridCornerLR=%d %d\nGridCornerLL=%d %d\n"
      "Axis-invertX=%d\nAxisInvertY=%d\nswapXY=%d\n",
      cols_, rows_, cols_, rows_, 0, 0, g.upperLeftX, g.upperLeftY, g.upperRightX, g.upperRightY,
      g.lowerRightX, g.lowerRightY, g.lowerLeftX, g.lowerLeftY, 0, 0, 0);
  header_ += "DatHeader=" + datHeader_ + "\nAlgorithm=" + alg_ + "\nAlgorithmParameters=" + GetParams() + "\n";
  return header_;
}

std::string CLegacyCELHeader::GetHeaderValue(const std::string& key) {
  const std::string k = platform::ToUpper(key);
  const LegacyGridCoords& g = grid_;
  auto number = [](long long value) { return platform::Format("%lld", value); };
  auto corner = [](std::int32_t x, std::int32_t y) { return platform::Format("(%d, %d)", x, y); };
  if (k == "HEADER") return GetHeader();
  if (k == "VERSION") return number(version_);
  if (k == "COLS" || k == "TOTALX") return number(cols_);
  if (k == "ROWS" || k == "TOTALY") return number(rows_);
  if (k == "GRIDCORNERUL") return corner(g.upperLeftX, g.upperLeftY);
  if (k == "GRIDCORNERUR") return corner(g.upperRightX, g.upperRightY);
  if (k == "GRIDCORNERLL") return corner(g.lowerLeftX, g.lowerLeftY);
  if (k == "GRIDCORNERLR") return corner(g.lowerRightX, g.lowerRightY);
  if (k == "OFFSETX" || k == "OFFSETY" || k == "AXIS-INVERTX" || k == "AXISINVERTY" || k == "SWAPXY") return "0";
  if (k == "DATHEADER") return datHeader_;
  if (k == "ALGORITHM") return alg_;
  if (k == "ALGORITHMPARAMETERS") return GetParams();
  if (k == "NUMBERCELLS") return number(numCells_);
  // The counts are printed as signed numbers, as every other count here.
  if (k == "NUMBERMASKEDCELLS") return number(static_cast<std::int32_t>(numMasked_));
  if (k == "NUMBEROUTLIERCELLS") return number(static_cast<std::int32_t>(numOutliers_));
  return std::string();
}
