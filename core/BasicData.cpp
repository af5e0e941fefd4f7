#include "core/BasicData.h"

#include <algorithm>

#include "core/ArchiveChecks.h"
#include "core/ArchiveFile.h"
#include "platform/ByteOrder.h"
#include "platform/Strings.h"

namespace core = qova::core;

namespace {

constexpr std::int32_t kRowsPerBlock = 2048;

}  // namespace

void CBasicData::Allocate(std::int32_t n, std::int32_t extended) {
  const std::size_t size = static_cast<std::size_t>(std::max<std::int32_t>(n, 0));
  IsExtended = extended;
  loadedRows_ = 0;
  for (auto* column : {&Chromosome, &Position, &FragmentLength, &IndexMap, &SortMap, &AuxInt, &VendorSnpId,
                       &RsNumber, &FragmentNumber}) {
    column->assign(size, 0);
  }
  GcContent.assign(size, 0.0f);
  Heterozygosity.assign(size, 0.0f);
  const std::size_t extendedSize = extended != 0 ? size : 0;
  ExtInt1.assign(extendedSize, 0);
  ExtFloat.assign(extendedSize, 0.0f);
  ExtInt2.assign(extendedSize, 0);
}

std::string CBasicData::CapacityProblem(std::int32_t n) const {
  if (n > Capacity() || (IsExtended != 0 && ExtInt1.size() < static_cast<std::size_t>(n))) {
    return platform::Format("%d rows do not fit a table allocated for %d", n, Capacity());
  }
  return {};
}

std::string CBasicData::RowProblem(std::int32_t n) const {
  for (std::int32_t j = 0; j < n; ++j) {
    if (Chromosome[j] < 1 || Chromosome[j] > kNoChromosome) {
      return platform::Format("row %d has chromosome %d", j, Chromosome[j]);
    }
    if (IndexMap[j] < 0 || IndexMap[j] >= n || SortMap[j] < 0 || SortMap[j] >= n) {
      return platform::Format("row %d maps to rows %d and %d of %d", j, IndexMap[j], SortMap[j], n);
    }
  }
  return {};
}

void CBasicData::SerializeTable(CArchive& ar, std::int32_t n) {
  const std::int32_t rows = std::max<std::int32_t>(n, 0);
  if (ar.IsStoring()) {
    std::string problem = CapacityProblem(rows);
    if (problem.empty()) problem = RowProblem(rows);
    if (!problem.empty()) core::ThrowFormatProblem(ar, problem);
    ar << Name;
    WriteRows(ar, rows);
    return;
  }
  loadedRows_ = 0;
  if (std::string problem = CapacityProblem(rows); !problem.empty()) core::ThrowFormatProblem(ar, problem);
  ar >> Name;
  core::RequireBytesLeft(ar, static_cast<std::uint64_t>(rows), static_cast<std::uint64_t>(RowSize()));
  ReadRows(ar, rows);
  if (std::string problem = RowProblem(rows); !problem.empty()) core::ThrowFormatProblem(ar, problem);
  loadedRows_ = rows;
}

void CBasicData::StoreFile(const std::string& path, std::int32_t n) {
  core::StoreArchiveFile(path, [this, n](CArchive& ar) { SerializeTable(ar, n); });
}

void CBasicData::LoadFile(const std::string& path, std::int32_t n) {
  core::LoadArchiveFile(path, [this, n](CArchive& ar) { SerializeTable(ar, n); });
}

void CBasicData::WriteRows(CArchive& ar, std::int32_t n) const {
  const int rowSize = RowSize();
  std::string block(static_cast<std::size_t>(kRowsPerBlock) * rowSize, '\0');
  for (std::int32_t start = 0; start < n; start += kRowsPerBlock) {
    const std::int32_t end = std::min(n, start + kRowsPerBlock);
    char* p = block.data();
    for (std::int32_t j = start; j < end; ++j, p += rowSize) {
      platform::WriteLE32(p, static_cast<std::uint32_t>(Chromosome[j]));
      platform::WriteLE32(p + 4, static_cast<std::uint32_t>(IndexMap[j]));
      platform::WriteLE32(p + 8, static_cast<std::uint32_t>(SortMap[j]));
      platform::WriteLE32(p + 12, static_cast<std::uint32_t>(Position[j]));
      platform::WriteLE32(p + 16, static_cast<std::uint32_t>(FragmentLength[j]));
      platform::WriteLEFloat(p + 20, GcContent[j]);
      platform::WriteLE32(p + 24, static_cast<std::uint32_t>(AuxInt[j]));
      platform::WriteLEFloat(p + 28, Heterozygosity[j]);
      platform::WriteLE32(p + 32, static_cast<std::uint32_t>(VendorSnpId[j]));
      platform::WriteLE32(p + 36, static_cast<std::uint32_t>(RsNumber[j]));
      platform::WriteLE32(p + 40, static_cast<std::uint32_t>(FragmentNumber[j]));
      if (IsExtended != 0) {
        platform::WriteLE32(p + 44, static_cast<std::uint32_t>(ExtInt1[j]));
        platform::WriteLEFloat(p + 48, ExtFloat[j]);
        platform::WriteLE32(p + 52, static_cast<std::uint32_t>(ExtInt2[j]));
      }
    }
    ar.Write(block.data(), static_cast<std::size_t>(p - block.data()));
  }
}

void CBasicData::ReadRows(CArchive& ar, std::int32_t n) {
  const int rowSize = RowSize();
  std::string block(static_cast<std::size_t>(kRowsPerBlock) * rowSize, '\0');
  auto int32At = [](const char* p) { return static_cast<std::int32_t>(platform::ReadLE32(p)); };
  for (std::int32_t start = 0; start < n; start += kRowsPerBlock) {
    const std::int32_t end = std::min(n, start + kRowsPerBlock);
    ar.ReadExact(block.data(), static_cast<std::size_t>(end - start) * rowSize);
    const char* p = block.data();
    for (std::int32_t j = start; j < end; ++j, p += rowSize) {
      Chromosome[j] = int32At(p);
      IndexMap[j] = int32At(p + 4);
      SortMap[j] = int32At(p + 8);
      Position[j] = int32At(p + 12);
      FragmentLength[j] = int32At(p + 16);
      GcContent[j] = platform::ReadLEFloat(p + 20);
      AuxInt[j] = int32At(p + 24);
      Heterozygosity[j] = platform::ReadLEFloat(p + 28);
      VendorSnpId[j] = int32At(p + 32);
      RsNumber[j] = int32At(p + 36);
      FragmentNumber[j] = int32At(p + 40);
      if (IsExtended != 0) {
        ExtInt1[j] = int32At(p + 44);
        ExtFloat[j] = platform::ReadLEFloat(p + 48);
        ExtInt2[j] = int32At(p + 52);
      }
    }
  }
}
