#pragma once
// Support for the malformed-file tests: file images built field by field by
// hand (so the tests know where every field starts without asking the
// readers), the mutations that break one field, the outcome of a load, and a
// snapshot of a folder to show that reading a bad file wrote nothing.
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <limits>
#include <map>
#include <ostream>
#include <string>
#include <utility>
#include <vector>

#include "core/MarkerRegion.h"
#include "core/SampleHeader.h"
#include "platform/Archive.h"
#include "platform/ByteOrder.h"
#include "platform/File.h"
#include "platform/Time.h"

namespace qova::reliability {

inline constexpr std::int32_t kInt32Max = std::numeric_limits<std::int32_t>::max();
inline constexpr std::uint64_t kLengthMinusOne = std::numeric_limits<std::uint64_t>::max();

// Bytes of a file with the start of each named field.
class FieldImage {
 public:
  FieldImage& Field(const std::string& name) {
    fields_.emplace_back(name, bytes_.size());
    return *this;
  }
  FieldImage& I32(std::int32_t v) {
    platform::AppendLE32(bytes_, static_cast<std::uint32_t>(v));
    return *this;
  }
  FieldImage& F32(float v) {
    platform::AppendLEFloat(bytes_, v);
    return *this;
  }
  FieldImage& U8(std::uint8_t v) {
    bytes_.push_back(static_cast<char>(v));
    return *this;
  }
  // The archive's short string form; the images only hold short strings.
  FieldImage& Str(const std::string& s) {
    EXPECT_LT(s.size(), 255u) << "images hold short strings only";
    U8(static_cast<std::uint8_t>(s.size()));
    bytes_ += s;
    return *this;
  }
  // A time in its 4-byte form.
  FieldImage& Time(CTime t) { return I32(static_cast<std::int32_t>(t.GetTime())); }
  FieldImage& Raw(const std::string& s) {
    bytes_ += s;
    return *this;
  }

  [[nodiscard]] const std::string& Bytes() const { return bytes_; }
  [[nodiscard]] const std::vector<std::pair<std::string, std::size_t>>& Fields() const { return fields_; }
  [[nodiscard]] std::size_t Offset(const std::string& name) const {
    for (const auto& [field, offset] : fields_) {
      if (field == name) return offset;
    }
    ADD_FAILURE() << "no field " << name;
    return 0;
  }

 private:
  std::string bytes_;
  std::vector<std::pair<std::string, std::size_t>> fields_;
};

// ---- mutations: each gives the image's bytes with one thing broken ---------

// The file cut just before `field`.
inline std::string CutBefore(const FieldImage& image, const std::string& field) {
  return image.Bytes().substr(0, image.Offset(field));
}

// The int32 `index` places into `field` replaced by `value`.
inline std::string WithI32(const FieldImage& image, const std::string& field, std::int32_t value,
                           std::size_t index = 0) {
  std::string bytes = image.Bytes();
  platform::WriteLE32(bytes.data() + image.Offset(field) + 4 * index, static_cast<std::uint32_t>(value));
  return bytes;
}

// The int32 values from the start of `field` on replaced by `values`.
inline std::string WithI32s(const FieldImage& image, const std::string& field,
                            std::initializer_list<std::int32_t> values) {
  std::string bytes = image.Bytes();
  char* p = bytes.data() + image.Offset(field);
  for (std::int32_t v : values) {
    platform::WriteLE32(p, static_cast<std::uint32_t>(v));
    p += 4;
  }
  return bytes;
}

// The byte `field` replaced by `value`.
inline std::string WithU8(const FieldImage& image, const std::string& field, std::uint8_t value) {
  std::string bytes = image.Bytes();
  bytes[image.Offset(field)] = static_cast<char>(value);
  return bytes;
}

// A string length prefix in the archive's escalating form.
inline std::string EncodedLength(std::uint64_t length) {
  std::string prefix;
  if (length < 0xFF) {
    prefix.push_back(static_cast<char>(length));
    return prefix;
  }
  prefix.push_back(static_cast<char>(0xFF));
  if (length < 0xFFFE) {
    platform::AppendLE16(prefix, static_cast<std::uint16_t>(length));
    return prefix;
  }
  platform::AppendLE16(prefix, 0xFFFF);
  if (length < 0xFFFFFFFFu) {
    platform::AppendLE32(prefix, static_cast<std::uint32_t>(length));
    return prefix;
  }
  platform::AppendLE32(prefix, 0xFFFFFFFFu);
  platform::AppendLE64(prefix, length);
  return prefix;
}

// The short length prefix of the string `field` replaced by one claiming
// `length`; the string's own bytes stay where they were.
inline std::string WithStringLength(const FieldImage& image, const std::string& field, std::uint64_t length) {
  std::string bytes = image.Bytes();
  return bytes.replace(image.Offset(field), 1, EncodedLength(length));
}

// The string `field` replaced by `text` (the rest of the file moves with it).
inline std::string WithString(const FieldImage& image, const std::string& field, const std::string& text) {
  std::string bytes = image.Bytes();
  const std::size_t offset = image.Offset(field);
  const std::size_t oldLength = static_cast<unsigned char>(bytes[offset]);
  return bytes.replace(offset, 1 + oldLength, EncodedLength(text.size()) + text);
}

// ---- images of the sample files ---------------------------------------------

// The header block of a current sample file, one field a name.
inline void AppendSampleHeader(FieldImage& image, const SampleHeader& h) {
  image.Field("Version").Str(h.Version);
  image.Field("SampleName").Str(h.SampleName);
  image.Field("ArrayType").Str(h.ArrayType);
  image.Field("IsTest").I32(h.IsTest);
  image.Field("Attribute1").Str(h.Attribute1);
  image.Field("Attribute2").Str(h.Attribute2);
  image.Field("Attribute3").Str(h.Attribute3);
  image.Field("Attribute4").Str(h.Attribute4);
  image.Field("Attribute5").Str(h.Attribute5);
  image.Field("Sex").Str(h.Sex);
  image.Field("CreateTime").Time(h.CreateTime);
  image.Field("NonSelfBaseRange");
  for (std::int32_t v : h.NonSelfBaseRange) image.I32(v);
  image.Field("SelfBaseRange");
  for (std::int32_t v : h.SelfBaseRange) image.I32(v);
  image.Field("SnpCount").I32(h.SnpCount);
  image.Field("FirstSnpIndex").I32(h.FirstSnpIndex);
  image.Field("LastSnpIndex").I32(h.LastSnpIndex);
  image.Field("LastAutosomeSnpIndex").I32(h.LastAutosomeSnpIndex);
  image.Field("IsPaired").I32(h.IsPaired);
  image.Field("SelfReference").Str(h.SelfReference);
  image.Field("SaveTime").Time(h.SaveTime);
  image.Field("RefCandidateCount").I32(h.RefCandidateCount);
  image.Field("RefCandidates").Str(h.RefCandidates);
  image.Field("NonSelfReferenceCount").I32(h.NonSelfReferenceCount);
  image.Field("NonSelfReferences").Str(h.NonSelfReferences);
  image.Field("SelfAnalyzed").U8(h.SelfAnalyzed ? 1 : 0);
  image.Field("Combined").U8(h.Combined ? 1 : 0);
  image.Field("HmmParameters");
  for (int k = 0; k < kHmmStateCount; ++k) image.F32(h.HmmMeans[k]).F32(h.HmmSdFactors[k]);
  image.Field("AlleleHmmParameters");
  for (int k = 0; k < kAlleleHmmStateCount; ++k) image.F32(h.AlleleHmmMeans[k]).F32(h.AlleleHmmSdFactors[k]);
}

inline void AppendMarkers(FieldImage& image, const MarkerRegionList& markers) {
  image.Field("MarkerCount").I32(static_cast<std::int32_t>(markers.size()));
  for (std::size_t k = 0; k < markers.size(); ++k) {
    const MarkerRegion& m = markers[k];
    image.Field("Marker" + std::to_string(k)).I32(m.Chromosome).I32(m.FirstSnp).I32(m.LastSnp).I32(m.Kind);
  }
}

// The per-SNP records as `written` holds them from the image's end on: their
// values are the writer's, their places the layout's.
inline void AppendRecords(FieldImage& image, const std::string& written, std::size_t records,
                          std::size_t recordSize) {
  const std::size_t start = image.Bytes().size();
  image.Field("Records").Raw(written.substr(start, recordSize * (records - 1)));
  image.Field("LastRecord").Raw(written.substr(start + recordSize * (records - 1), recordSize));
}

// ---- outcomes ---------------------------------------------------------------

// How a load ended. Refused covers a file whose damage a reader may meet as
// either of its two errors (a lying length that sends it into other fields).
enum class Outcome { Accepted, EndOfFile, BadFormat, Refused };

inline const char* OutcomeName(Outcome o) {
  switch (o) {
    case Outcome::Accepted: return "accepted";
    case Outcome::EndOfFile: return "end of file";
    case Outcome::BadFormat: return "bad format";
    case Outcome::Refused: return "refused";
  }
  return "?";
}
inline std::ostream& operator<<(std::ostream& out, Outcome o) { return out << OutcomeName(o); }

// Runs `load`; the archive's errors become outcomes, anything else thrown
// (an allocation failure, a file error) escapes and fails the test.
template <class Load>
Outcome OutcomeOf(Load load) {
  try {
    load();
  } catch (const CArchiveException& e) {
    if (e.m_cause == CArchiveException::endOfFile) return Outcome::EndOfFile;
    if (e.m_cause == CArchiveException::badFormat) return Outcome::BadFormat;
    ADD_FAILURE() << "unexpected archive error cause " << e.m_cause << ": " << e.what();
    return Outcome::Refused;
  }
  return Outcome::Accepted;
}

// True when `got` is what `want` asks for (Refused takes either error).
inline bool Matches(Outcome want, Outcome got) {
  if (want == Outcome::Refused) return got == Outcome::EndOfFile || got == Outcome::BadFormat;
  return want == got;
}

// ---- folders ----------------------------------------------------------------

// Every file of a folder (hidden ones too) with its bytes.
using FolderSnapshot = std::map<std::string, std::string>;

inline FolderSnapshot SnapshotOf(const std::string& folder) {
  FolderSnapshot files;
  for (const auto& entry : std::filesystem::directory_iterator(folder)) {
    if (!entry.is_regular_file()) continue;
    std::string bytes;
    EXPECT_TRUE(platform::ReadWholeFile(entry.path().string(), bytes));
    files.emplace(entry.path().filename().string(), std::move(bytes));
  }
  return files;
}

// Names of the files that differ between two snapshots (added, removed or changed).
inline std::vector<std::string> ChangedFiles(const FolderSnapshot& before, const FolderSnapshot& after) {
  std::vector<std::string> changed;
  for (const auto& [name, bytes] : after) {
    auto it = before.find(name);
    if (it == before.end() || it->second != bytes) changed.push_back(name);
  }
  for (const auto& [name, bytes] : before) {
    if (after.find(name) == after.end()) changed.push_back(name);
  }
  return changed;
}

}  // namespace qova::reliability
