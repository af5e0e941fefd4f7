#include "core/Cytoband.h"

#include <algorithm>
#include <cstdio>
#include <limits>

#include "core/BasicData.h"
#include "core/SnpOrder.h"
#include "platform/Archive.h"
#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/DC.h"

namespace {
constexpr const char* kCannotLoad = "cytoband data cannot be loaded";
constexpr const char* kOldFormat = "Please use 'Cytoband.dtt'. 'cytoband2.txt' is old format";
constexpr int kBandRecordBytes = 16;
}  // namespace

const std::uint32_t CCytoband::kStainColors[kStainClasses] = {
    0x000000, 0x3F3F3F, 0x7F7F7F, 0xBFBFBF, 0xFFFFFF, 0x0000FF, 0x00FF00, 0xFF0000,
};

BOOL CCytoband::Load() { return LoadFrom(platform::JoinPath(platform::StartFolder(), "data\\")); }

BOOL CCytoband::LoadFrom(const std::string& dataFolder) {
  const std::string binaryPath = platform::JoinPath(dataFolder, "Cytoband.dtt");
  CFile file;
  if (file.Open(binaryPath, CFile::modeRead | CFile::typeBinary)) {
    try {
      CArchive ar(&file, CArchive::load);
      Serialize(ar);
      ar.Close();
      return TRUE;
    } catch (const CArchiveException&) {
    } catch (const CFileException&) {
    }
    // A damaged table is no better than a missing one.
    Free();
    AfxMessageBox(kCannotLoad);
    return FALSE;
  }
  const std::string textPath = platform::JoinPath(dataFolder, "cytoband2.txt");
  if (!platform::FileExists(textPath)) {
    AfxMessageBox(kCannotLoad);
    return FALSE;
  }
  AfxMessageBox(kOldFormat);
  if (!LoadOldText(textPath)) {
    Free();
    AfxMessageBox(kCannotLoad);
    return FALSE;
  }
  return TRUE;
}

BOOL CCytoband::LoadOldText(const std::string& path) {
  std::string text;
  if (!platform::ReadWholeFile(path, text)) return FALSE;
  Reallocate(kOldTextBandSlots);
  int expected = 1;
  int current = 0;
  int lines = 0;
  for (const std::string& line : platform::SplitLines(text)) {
    if (platform::Trim(line).empty()) continue;
    // The table has a fixed number of slots: further lines are cut off.
    if (lines == kOldTextBandSlots) break;
    int chromosome = 0, start = 0, end = 0, code = 0, stain = 0;
    std::string shortened = line.substr(0, 511);
    if (std::sscanf(shortened.c_str(), "%d %*d %*d %d %d %d %d", &chromosome, &start, &end, &code,
                    &stain) != 5)
      return FALSE;
    // Bands come chromosome by chromosome, 1..23, none skipped.
    if (chromosome != current && chromosome != expected) return FALSE;
    if (chromosome == expected) {
      if (expected > kLastChromosome) return FALSE;
      ChromosomeFirstBand[expected] = lines;
      current = expected++;
    }
    BandStart[lines] = start;
    BandEnd[lines] = end;
    BandCode[lines] = code;
    BandStain[lines] = std::clamp(stain, 0, kStainClasses - 1);
    ++lines;
  }
  // Chromosomes after the last one present hold no bands.
  for (int c = expected; c < kChromosomeSlots; ++c) ChromosomeFirstBand[c] = lines;
  BandCount = lines;
  return TRUE;
}

void CCytoband::Serialize(CArchive& ar) {
  if (ar.IsStoring()) {
    ar << static_cast<std::int32_t>(BandCount);
    for (int c = 0; c < kChromosomeSlots; ++c) ar << ChromosomeFirstBand[c];
    for (int b = 0; b < BandCount; ++b) ar << BandStart[b] << BandEnd[b] << BandCode[b] << BandStain[b];
    return;
  }
  std::int32_t count = 0;
  ar >> count;
  if (count < 0) throw CArchiveException(CArchiveException::badFormat);
  ar.CheckAvailable(std::uint64_t(count) * kBandRecordBytes + kChromosomeSlots * 4, 1);
  std::int32_t first[kChromosomeSlots];
  for (int c = 0; c < kChromosomeSlots; ++c) ar >> first[c];
  for (int c = 1; c < kChromosomeSlots; ++c) {
    if (first[c] < 0 || first[c] > count || (c > 1 && first[c] < first[c - 1]))
      throw CArchiveException(CArchiveException::badFormat);
  }
  Reallocate(count);
  for (int c = 0; c < kChromosomeSlots; ++c) ChromosomeFirstBand[c] = first[c];
  for (int b = 0; b < count; ++b) {
    ar >> BandStart[b] >> BandEnd[b] >> BandCode[b] >> BandStain[b];
    BandStain[b] = std::clamp(BandStain[b], 0, kStainClasses - 1);
  }
}

void CCytoband::Copy(const CCytoband& source) {
  Reallocate(source.BandCount);
  std::copy(std::begin(source.ChromosomeFirstBand), std::end(source.ChromosomeFirstBand),
            ChromosomeFirstBand);
  BandStart = source.BandStart;
  BandEnd = source.BandEnd;
  BandCode = source.BandCode;
  BandStain = source.BandStain;
}

void CCytoband::Free() { Reallocate(0); }

void CCytoband::Reallocate(int count) {
  BandCount = count;
  for (auto* v : {&BandStart, &BandEnd, &BandStain, &BandCode, &BandFirstSnp, &BandLastSnp})
    v->assign(static_cast<std::size_t>(count), 0);
  std::fill(std::begin(ChromosomeFirstBand), std::end(ChromosomeFirstBand), 0);
}

bool CCytoband::HasChromosome(int chromosome) const {
  return chromosome >= 1 && chromosome <= kLastChromosome && BandCount > 0;
}

BOOL CCytoband::MapToSnps(const int* starts, const std::function<std::int64_t(int snp)>& positionOfSnp) {
  for (int c = 1; c <= kLastChromosome; ++c) {
    int s = starts[c];
    const int end = starts[c + 1];
    for (int b = ChromosomeFirstBand[c]; b < ChromosomeFirstBand[c + 1] && b < BandCount; ++b) {
      BandFirstSnp[b] = s;
      while (s < end && positionOfSnp(s) < BandEnd[b]) ++s;
      BandLastSnp[b] = s - 1;
    }
  }
  return TRUE;
}

BOOL CCytoband::MapToSnps(int type, const int* starts, const CBasicData& table) {
  bool covered = true;
  for (int c = 1; c <= kLastChromosome; ++c) {
    for (int s = starts[c]; s < starts[c + 1] && covered; ++s) covered = AnnotationRowOfSnp(table, type, s) >= 0;
  }
  if (!covered) {
    MapToSnps(starts, [](int) { return std::numeric_limits<std::int64_t>::max(); });
    return FALSE;
  }
  return MapToSnps(starts, [&](int snp) { return std::int64_t{table.Position[AnnotationRowOfSnp(table, type, snp)]}; });
}

void CCytoband::Draw(CDC* dc, int chromosome, int xOffset, int yTop, BOOL byPosition) const {
  if (dc == nullptr || !HasChromosome(chromosome)) return;
  CPen pens[kStainClasses];
  CBrush brushes[kStainClasses];
  for (int k = 0; k < kStainClasses; ++k) {
    pens[k].CreatePen(PS_SOLID, 1, kStainColors[k]);
    brushes[k].CreateSolidBrush(kStainColors[k]);
  }
  CPen* oldPen = dc->SelectObject(&pens[0]);
  CBrush* oldBrush = dc->SelectObject(&brushes[0]);
  for (int b = ChromosomeFirstBand[chromosome]; b < ChromosomeFirstBand[chromosome + 1] && b < BandCount; ++b) {
    const int stain = std::clamp(BandStain[b], 0, kStainClasses - 1);
    dc->SelectObject(&pens[stain]);
    dc->SelectObject(&brushes[stain]);
    // Positions are drawn in units of 10 bases.
    const int x1 = (byPosition ? BandStart[b] / 10 : BandFirstSnp[b]) + xOffset;
    const int x2 = (byPosition ? BandEnd[b] / 10 : BandLastSnp[b]) + xOffset;
    if (x1 <= x2) dc->Rectangle(x1, yTop, x2, yTop + kBandHeight);
  }
  dc->SelectObject(oldPen);
  dc->SelectObject(oldBrush);
}

void CCytoband::GetBandName(std::string& name, int chromosome, int value, BOOL byPosition) const {
  name.clear();
  if (!HasChromosome(chromosome)) return;
  for (int b = ChromosomeFirstBand[chromosome]; b < ChromosomeFirstBand[chromosome + 1] && b < BandCount;
       ++b) {
    const bool inside = byPosition
                            ? (BandStart[b] <= std::int64_t(value) * 10 && std::int64_t(value) * 10 <= BandEnd[b])
                            : (BandFirstSnp[b] <= value && value <= BandLastSnp[b]);
    if (inside) {
      FormatBandName(name, BandCode[b]);
      return;
    }
  }
}

void CCytoband::FormatBandName(std::string& name, int code) {
  const char arm = (code & kShortArmBit) ? 'p' : 'q';
  const int major = (code / 64) % 64;
  const int minor = code % 64;
  name = minor == 0 ? platform::Format("%c%d", arm, major) : platform::Format("%c%d.%d", arm, major, minor);
}
