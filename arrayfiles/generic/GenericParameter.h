#pragma once
// One name/value parameter of a generic file's headers: the value bytes exactly
// as stored (numbers big-endian), tagged with a MIME type that says how to
// decode them. Copies own their bytes.
#include <cstdint>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

namespace generic_io {

// The MIME types a parameter value can carry, in the order of their type index.
inline constexpr std::u16string_view kMimeInt8 = u"text/x-generic-integer-8";
inline constexpr std::u16string_view kMimeUInt8 = u"text/x-generic-unsigned-integer-8";
inline constexpr std::u16string_view kMimeInt16 = u"text/x-generic-integer-16";
inline constexpr std::u16string_view kMimeUInt16 = u"text/x-generic-unsigned-integer-16";
inline constexpr std::u16string_view kMimeInt32 = u"text/x-generic-integer-32";
inline constexpr std::u16string_view kMimeUInt32 = u"text/x-generic-unsigned-integer-32";
inline constexpr std::u16string_view kMimeFloat = u"text/x-generic-float";
inline constexpr std::u16string_view kMimeText = u"text/plain";
inline constexpr std::u16string_view kMimeAscii = u"text/ascii";

// GetParameterType's results; UnknownType for any other MIME text.
enum ParameterType {
  Int8Type = 0,
  UInt8Type = 1,
  Int16Type = 2,
  UInt16Type = 3,
  Int32Type = 4,
  UInt32Type = 5,
  FloatType = 6,
  TextType = 7,
  AsciiType = 8,
  UnknownType = 9
};

// Exact equality of two wide texts, compared as bytes: headers compare
// parameter names and types for every probe set of a library file.
[[nodiscard]] inline bool SameText(std::u16string_view a, std::u16string_view b) {
  return a.size() == b.size() && (a.empty() || std::memcmp(a.data(), b.data(), a.size() * sizeof(char16_t)) == 0);
}

class GenericParameter {
 public:
  GenericParameter() = default;
  GenericParameter(std::u16string name, const void* value, std::uint32_t valueLength, std::u16string mimeType);
  GenericParameter(std::u16string name, std::vector<std::uint8_t> value, std::u16string_view mimeType)
      : name_(std::move(name)), value_(std::move(value)) {
    SetMIMEType(mimeType);
  }

  [[nodiscard]] const std::u16string& GetName() const { return name_; }
  void SetName(std::u16string name) { name_ = std::move(name); }
  [[nodiscard]] const std::u16string& GetMIMEType() const;
  [[nodiscard]] const std::vector<std::uint8_t>& GetValue() const { return value_; }
  [[nodiscard]] std::uint32_t GetValueLength() const { return std::uint32_t(value_.size()); }

  // Compared exactly: case, length and every unit.
  [[nodiscard]] ParameterType GetParameterType() const { return ParameterType(knownType_); }

  // The first four value bytes as a big-endian number; missing bytes of a short
  // value read as zero. ParameterMismatchException when the type differs.
  [[nodiscard]] std::uint32_t GetRawValue32(std::u16string_view expectedType) const;
  [[nodiscard]] std::int8_t GetValueInt8() const;
  [[nodiscard]] std::uint8_t GetValueUInt8() const;
  [[nodiscard]] std::int16_t GetValueInt16() const;
  [[nodiscard]] std::uint16_t GetValueUInt16() const;
  [[nodiscard]] std::int32_t GetValueInt32() const;
  [[nodiscard]] std::uint32_t GetValueUInt32() const;
  [[nodiscard]] float GetValueFloat() const;
  // Big-endian units up to the first zero unit (an odd last byte is ignored).
  [[nodiscard]] std::u16string GetValueText() const;
  // Bytes up to the first zero byte.
  [[nodiscard]] std::string GetValueAscii() const;

  // Makes this a "text/plain" parameter holding `text` without a terminator.
  void SetValueText(std::u16string_view text);

  // The value as text by its type; empty for an unknown type. Never throws.
  [[nodiscard]] std::u16string ToString() const;

 private:
  void SetMIMEType(std::u16string_view type);

  std::u16string name_;
  // A header holds the same few MIME types over and over: one of those is
  // kept as its ParameterType, any other text as it is in `type_`.
  int knownType_ = UnknownType;
  std::u16string type_;
  std::vector<std::uint8_t> value_;
};

// Copies the first parameter named exactly `name` into `out`; false, and `out`
// untouched, when there is none.
bool FindParameterByName(const std::vector<GenericParameter>& parameters, std::u16string_view name,
                         GenericParameter& out);

}  // namespace generic_io
