#include "arrayfiles/generic/GenericParameter.h"

#include <cstdio>
#include <cstring>

#include "arrayfiles/common/StringUtils.h"
#include "arrayfiles/generic/GenericExceptions.h"
#include "platform/Strings.h"

namespace generic_io {

namespace {

constexpr std::u16string_view kTypesByIndex[] = {kMimeInt8,  kMimeUInt8,  kMimeInt16, kMimeUInt16, kMimeInt32,
                                                  kMimeUInt32, kMimeFloat, kMimeText,  kMimeAscii};

void RequireType(const std::u16string& type, std::u16string_view expected) {
  if (!SameText(type, expected)) throw generic_exceptions::ParameterMismatchException();
}

template <typename... Args>
std::u16string FormatNumber(const char* pattern, Args... args) {
  char buffer[100];
  int length = std::snprintf(buffer, sizeof buffer, pattern, args...);
  if (length < 0) return {};
  return platform::Widen(std::string_view(buffer, std::min<std::size_t>(std::size_t(length), sizeof buffer - 1)));
}

}  // namespace

GenericParameter::GenericParameter(std::u16string name, const void* value, std::uint32_t valueLength,
                                   std::u16string mimeType)
    : name_(std::move(name)) {
  SetMIMEType(mimeType);
  if (valueLength > 0) {
    const auto* bytes = static_cast<const std::uint8_t*>(value);
    value_.assign(bytes, bytes + valueLength);
  }
}

void GenericParameter::SetMIMEType(std::u16string_view type) {
  for (int index = 0; index < UnknownType; ++index) {
    if (SameText(type, kTypesByIndex[index])) {
      knownType_ = index;
      type_.clear();
      return;
    }
  }
  knownType_ = UnknownType;
  type_.assign(type);
}

const std::u16string& GenericParameter::GetMIMEType() const {
  static const std::u16string known[] = {
      std::u16string(kMimeInt8),   std::u16string(kMimeUInt8), std::u16string(kMimeInt16),
      std::u16string(kMimeUInt16), std::u16string(kMimeInt32), std::u16string(kMimeUInt32),
      std::u16string(kMimeFloat),  std::u16string(kMimeText),  std::u16string(kMimeAscii)};
  return knownType_ != UnknownType ? known[knownType_] : type_;
}

std::uint32_t GenericParameter::GetRawValue32(std::u16string_view expectedType) const {
  RequireType(GetMIMEType(), expectedType);
  std::uint32_t value = 0;
  for (std::size_t i = 0; i < 4; ++i) {
    std::uint32_t byte = i < value_.size() ? value_[i] : 0;
    value = (value << 8) | byte;
  }
  return value;
}

std::int8_t GenericParameter::GetValueInt8() const {
  return static_cast<std::int8_t>(GetRawValue32(kMimeInt8) & 0xFF);
}
std::uint8_t GenericParameter::GetValueUInt8() const {
  return static_cast<std::uint8_t>(GetRawValue32(kMimeUInt8) & 0xFF);
}
std::int16_t GenericParameter::GetValueInt16() const {
  return static_cast<std::int16_t>(GetRawValue32(kMimeInt16) & 0xFFFF);
}
std::uint16_t GenericParameter::GetValueUInt16() const {
  return static_cast<std::uint16_t>(GetRawValue32(kMimeUInt16) & 0xFFFF);
}
std::int32_t GenericParameter::GetValueInt32() const {
  return static_cast<std::int32_t>(GetRawValue32(kMimeInt32));
}
std::uint32_t GenericParameter::GetValueUInt32() const { return GetRawValue32(kMimeUInt32); }

float GenericParameter::GetValueFloat() const {
  std::uint32_t bits = GetRawValue32(kMimeFloat);
  float value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

std::u16string GenericParameter::GetValueText() const {
  RequireType(GetMIMEType(), kMimeText);
  std::u16string text;
  for (std::size_t i = 0; i + 1 < value_.size(); i += 2) {
    char16_t unit = char16_t((value_[i] << 8) | value_[i + 1]);
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

std::string GenericParameter::GetValueAscii() const {
  RequireType(GetMIMEType(), kMimeAscii);
  std::string text(value_.begin(), value_.end());
  return text.substr(0, text.find('\0'));
}

void GenericParameter::SetValueText(std::u16string_view text) {
  SetMIMEType(kMimeText);
  value_.clear();
  value_.reserve(text.size() * 2);
  for (char16_t unit : text) {
    value_.push_back(std::uint8_t(unit >> 8));
    value_.push_back(std::uint8_t(unit & 0xFF));
  }
}

std::u16string GenericParameter::ToString() const {
  switch (GetParameterType()) {
    case Int8Type: return FormatNumber("%d", int(GetValueInt8()));
    case UInt8Type: return FormatNumber("%u", unsigned(GetValueUInt8()));
    case Int16Type: return FormatNumber("%d", int(GetValueInt16()));
    case UInt16Type: return FormatNumber("%u", unsigned(GetValueUInt16()));
    case Int32Type: return FormatNumber("%d", int(GetValueInt32()));
    case UInt32Type: return FormatNumber("%u", unsigned(GetValueUInt32()));
    case FloatType: return FormatNumber("%f", double(GetValueFloat()));
    case TextType: return GetValueText();
    case AsciiType: return StringUtils::NarrowToWide(GetValueAscii());
    case UnknownType: break;
  }
  return {};
}

bool FindParameterByName(const std::vector<GenericParameter>& parameters, std::u16string_view name,
                         GenericParameter& out) {
  for (const GenericParameter& param : parameters) {
    if (SameText(param.GetName(), name)) {
      out = param;
      return true;
    }
  }
  return false;
}

}  // namespace generic_io
