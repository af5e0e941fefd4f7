#pragma once
// Reads and writes of fixed-width numbers at byte pointers, in a stated byte
// order, through memcpy: never a struct overlay, never an unaligned load.
#include <cstdint>
#include <cstring>
#include <string>

namespace platform {

inline std::uint16_t ReadLE16(const void* p) {
  auto b = static_cast<const std::uint8_t*>(p);
  return static_cast<std::uint16_t>(b[0] | (b[1] << 8));
}
inline std::uint32_t ReadLE32(const void* p) {
  auto b = static_cast<const std::uint8_t*>(p);
  return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) |
         (std::uint32_t(b[3]) << 24);
}
inline std::uint64_t ReadLE64(const void* p) {
  auto b = static_cast<const std::uint8_t*>(p);
  return std::uint64_t(ReadLE32(b)) | (std::uint64_t(ReadLE32(b + 4)) << 32);
}
inline std::uint16_t ReadBE16(const void* p) {
  auto b = static_cast<const std::uint8_t*>(p);
  return static_cast<std::uint16_t>((b[0] << 8) | b[1]);
}
inline std::uint32_t ReadBE32(const void* p) {
  auto b = static_cast<const std::uint8_t*>(p);
  return (std::uint32_t(b[0]) << 24) | (std::uint32_t(b[1]) << 16) | (std::uint32_t(b[2]) << 8) |
         std::uint32_t(b[3]);
}
inline std::uint64_t ReadBE64(const void* p) {
  auto b = static_cast<const std::uint8_t*>(p);
  return (std::uint64_t(ReadBE32(b)) << 32) | std::uint64_t(ReadBE32(b + 4));
}
inline float ReadLEFloat(const void* p) {
  std::uint32_t u = ReadLE32(p);
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}
inline float ReadBEFloat(const void* p) {
  std::uint32_t u = ReadBE32(p);
  float f;
  std::memcpy(&f, &u, 4);
  return f;
}
inline double ReadLEDouble(const void* p) {
  std::uint64_t u = ReadLE64(p);
  double d;
  std::memcpy(&d, &u, 8);
  return d;
}

inline void WriteLE16(void* p, std::uint16_t v) {
  auto b = static_cast<std::uint8_t*>(p);
  b[0] = std::uint8_t(v);
  b[1] = std::uint8_t(v >> 8);
}
inline void WriteLE32(void* p, std::uint32_t v) {
  auto b = static_cast<std::uint8_t*>(p);
  for (int i = 0; i < 4; ++i) b[i] = std::uint8_t(v >> (8 * i));
}
inline void WriteLE64(void* p, std::uint64_t v) {
  auto b = static_cast<std::uint8_t*>(p);
  for (int i = 0; i < 8; ++i) b[i] = std::uint8_t(v >> (8 * i));
}
inline void WriteBE16(void* p, std::uint16_t v) {
  auto b = static_cast<std::uint8_t*>(p);
  b[0] = std::uint8_t(v >> 8);
  b[1] = std::uint8_t(v);
}
inline void WriteBE32(void* p, std::uint32_t v) {
  auto b = static_cast<std::uint8_t*>(p);
  for (int i = 0; i < 4; ++i) b[i] = std::uint8_t(v >> (8 * (3 - i)));
}
inline void WriteBE64(void* p, std::uint64_t v) {
  auto b = static_cast<std::uint8_t*>(p);
  for (int i = 0; i < 8; ++i) b[i] = std::uint8_t(v >> (8 * (7 - i)));
}
inline void WriteLEFloat(void* p, float f) {
  std::uint32_t u;
  std::memcpy(&u, &f, 4);
  WriteLE32(p, u);
}
inline void WriteBEFloat(void* p, float f) {
  std::uint32_t u;
  std::memcpy(&u, &f, 4);
  WriteBE32(p, u);
}

// Appending writers for the test and demo file writers.
inline void AppendLE16(std::string& out, std::uint16_t v) { char b[2]; WriteLE16(b, v); out.append(b, 2); }
inline void AppendLE32(std::string& out, std::uint32_t v) { char b[4]; WriteLE32(b, v); out.append(b, 4); }
inline void AppendLE64(std::string& out, std::uint64_t v) { char b[8]; WriteLE64(b, v); out.append(b, 8); }
inline void AppendBE16(std::string& out, std::uint16_t v) { char b[2]; WriteBE16(b, v); out.append(b, 2); }
inline void AppendBE32(std::string& out, std::uint32_t v) { char b[4]; WriteBE32(b, v); out.append(b, 4); }
inline void AppendBE64(std::string& out, std::uint64_t v) { char b[8]; WriteBE64(b, v); out.append(b, 8); }
inline void AppendLEFloat(std::string& out, float f) { char b[4]; WriteLEFloat(b, f); out.append(b, 4); }
inline void AppendBEFloat(std::string& out, float f) { char b[4]; WriteBEFloat(b, f); out.append(b, 4); }

}  // namespace platform
