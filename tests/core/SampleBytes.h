#pragma once
// Test support for the sample and table files: a byte writer that encodes
// fields by hand (independently of the program's writers, so that a misreading
// cannot hide in both), helpers that run a serialiser over memory, and one
// that runs the built sampledump tool.
#include <sys/wait.h>

#include <cstdint>
#include <cstdio>
#include <string>

#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/SampleHeader.h"
#include "platform/Archive.h"
#include "platform/ByteOrder.h"
#include "platform/File.h"

namespace qova::test {

class ByteWriter {
 public:
  ByteWriter& I32(std::int32_t v) { platform::AppendLE32(bytes_, static_cast<std::uint32_t>(v)); return *this; }
  ByteWriter& F32(float v) { platform::AppendLEFloat(bytes_, v); return *this; }
  ByteWriter& U8(std::uint8_t v) { bytes_.push_back(static_cast<char>(v)); return *this; }
  // A narrow string with the short prefixes (the lengths tests use).
  ByteWriter& Str(const std::string& s) {
    if (s.size() < 255) {
      U8(static_cast<std::uint8_t>(s.size()));
    } else {
      U8(0xFF);
      platform::AppendLE16(bytes_, static_cast<std::uint16_t>(s.size()));
    }
    bytes_ += s;
    return *this;
  }
  ByteWriter& Raw(const std::string& s) { bytes_ += s; return *this; }
  [[nodiscard]] const std::string& Bytes() const { return bytes_; }

 private:
  std::string bytes_;
};

// The header block as the layout gives it, item by item. Times in 4 bytes.
inline std::string HandHeaderBytes(const SampleHeader& h, bool withSelfBaseRange, bool withAllelePairs) {
  ByteWriter w;
  w.Str(h.Version).Str(h.SampleName).Str(h.ArrayType).I32(h.IsTest);
  w.Str(h.Attribute1).Str(h.Attribute2).Str(h.Attribute3).Str(h.Attribute4).Str(h.Attribute5).Str(h.Sex);
  w.I32(static_cast<std::int32_t>(h.CreateTime.GetTime()));
  for (std::int32_t v : h.NonSelfBaseRange) w.I32(v);
  if (withSelfBaseRange) {
    for (std::int32_t v : h.SelfBaseRange) w.I32(v);
  }
  w.I32(h.SnpCount).I32(h.FirstSnpIndex).I32(h.LastSnpIndex).I32(h.LastAutosomeSnpIndex).I32(h.IsPaired);
  w.Str(h.SelfReference).I32(static_cast<std::int32_t>(h.SaveTime.GetTime()));
  w.I32(h.RefCandidateCount).Str(h.RefCandidates).I32(h.NonSelfReferenceCount).Str(h.NonSelfReferences);
  w.U8(h.SelfAnalyzed ? 1 : 0).U8(h.Combined ? 1 : 0);
  for (int k = 0; k < kHmmStateCount; ++k) w.F32(h.HmmMeans[k]).F32(h.HmmSdFactors[k]);
  if (withAllelePairs) {
    for (int k = 0; k < kAlleleHmmStateCount; ++k) w.F32(h.AlleleHmmMeans[k]).F32(h.AlleleHmmSdFactors[k]);
  }
  return w.Bytes();
}

// The type info the extraction would pass for a type. The chromosome tables
// are not ours to know here, so the last autosome and X rows are stand-ins
// inside the type's range.
inline ArrayTypeInfoValues TypeInfoFor(const std::string& typeName) {
  const core::ArrayTypeInfo* type = core::FindArrayType(typeName);
  const std::int32_t lastAuto = type->firstSnp + (type->lastSnp - type->firstSnp) * 9 / 10;
  return {type->firstSnp, type->lastSnp, type->lastSnp, lastAuto, type->snpCount};
}

// A sample of `typeName` with every per-SNP value set from its index.
inline CArrayData MakeSample(const std::string& typeName, const std::string& name = "S01") {
  CArrayData sample(name, typeName, TypeInfoFor(typeName), CTime(1200000000));
  for (std::int32_t i = 0; i < sample.Header.SnpCount; ++i) {
    sample.SignalA[i] = 100.0f + static_cast<float>(i) * 0.5f;
    sample.SignalB[i] = 2000.0f - static_cast<float>(i % 1000);
    sample.Call[i] = i % 4;
    sample.SpareFlag[i] = static_cast<std::uint8_t>(i % 2);
  }
  return sample;
}

inline std::string StoreToBytes(CArrayData& sample, BOOL withData = TRUE, BOOL withHeader = TRUE) {
  CMemFile file;
  CArchive ar(&file, CArchive::store);
  sample.SerializeSample(ar, withData, withHeader);
  ar.Close();
  return file.Bytes();
}

inline void LoadFromBytes(CArrayData& sample, const std::string& bytes, BOOL withData = TRUE, BOOL withHeader = TRUE) {
  CMemFile file(bytes);
  CArchive ar(&file, CArchive::load);
  sample.SerializeSample(ar, withData, withHeader);
}

// Runs `load` and returns the archive error's cause, or none when it succeeded.
template <typename Load>
CArchiveException::Cause ArchiveErrorOf(Load load) {
  try {
    load();
  } catch (const CArchiveException& e) {
    return e.m_cause;
  }
  return CArchiveException::none;
}

#ifdef QOVA_SAMPLEDUMP
// Runs the built sampledump with `arguments` (quoted as the shell needs);
// returns its standard output and sets `status` to its exit status.
inline std::string RunSampleDump(const std::string& arguments, int& status) {
  const std::string command = std::string(QOVA_SAMPLEDUMP) + " " + arguments + " 2>/dev/null";
  std::string output;
  status = -1;
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return output;
  char buffer[4096];
  std::size_t got = 0;
  while ((got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0) output.append(buffer, got);
  const int raw = pclose(pipe);
  status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return output;
}
#endif

}  // namespace qova::test
