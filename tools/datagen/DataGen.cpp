#include "tools/datagen/DataGen.h"

#include <algorithm>
#include <numeric>
#include <stdexcept>

#include "core/ArrayTypes.h"
#include "core/GenomeTables.h"
#include "platform/File.h"
#include "platform/Paths.h"

namespace core = qova::core;

#ifndef QOVA_SHIPPED_DATA_DIR
#error "QOVA_SHIPPED_DATA_DIR must name the repository's data folder"
#endif

namespace datagen {

namespace {

// The SNPs after X are stored as chromosome 24 and placed on Y.
constexpr int kTailChromosome = kNoChromosome;

// splitmix64: small, fast, and the same sequence on every platform and
// standard library (the standard distributions are not).
class Random {
 public:
  explicit Random(std::uint64_t seed) : state_(seed) {}
  std::uint64_t Next() {
    std::uint64_t z = (state_ += 0x9E3779B97F4A7C15ULL);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
    return z ^ (z >> 31);
  }
  // Uniform in 0..n-1 (n > 0).
  std::uint32_t Below(std::uint32_t n) { return static_cast<std::uint32_t>(((Next() >> 32) * n) >> 32); }
  // Uniform in [0, 1).
  double Unit() { return static_cast<double>(Next() >> 11) * 0x1.0p-53; }
  template <class T>
  void Shuffle(std::vector<T>& v) {
    for (std::size_t i = v.size(); i > 1; --i) std::swap(v[i - 1], v[Below(static_cast<std::uint32_t>(i))]);
  }

 private:
  std::uint64_t state_;
};

std::uint64_t FamilySeed(std::uint64_t seed, int family) {
  Random mix(seed ^ (0xD1B54A32D192ED03ULL * static_cast<std::uint64_t>(family + 1)));
  return mix.Next();
}

// `n` distinct positions in 1..length, ascending, spread evenly with jitter:
// position k lies in the k-th of n equal slices.
std::vector<std::int32_t> AscendingPositions(Random& random, std::int32_t n, std::int32_t length) {
  if (n > length) throw std::logic_error("more SNPs than bases on a chromosome");
  std::vector<std::int32_t> positions(static_cast<std::size_t>(n));
  for (std::int32_t k = 0; k < n; ++k) {
    const std::int64_t low = 1 + std::int64_t{length} * k / n;
    const std::int64_t high = std::int64_t{length} * (k + 1) / n;
    positions[k] = static_cast<std::int32_t>(low + random.Below(static_cast<std::uint32_t>(high - low + 1)));
  }
  return positions;
}

// A random permutation of 0..n-1.
std::vector<std::int32_t> Permutation(Random& random, std::int32_t n) {
  std::vector<std::int32_t> p(static_cast<std::size_t>(n));
  std::iota(p.begin(), p.end(), 0);
  random.Shuffle(p);
  return p;
}

// Unique ids: id k of a permutation spread over `stride` numbers each, so
// they look scattered and never collide.
std::vector<std::int32_t> UniqueIds(Random& random, std::int32_t n, std::int32_t base, std::int32_t stride) {
  std::vector<std::int32_t> ids = Permutation(random, n);
  for (std::int32_t& id : ids) id = base + id * stride + static_cast<std::int32_t>(random.Below(stride));
  return ids;
}

// Where chromosome c (1..23, or the tail after X) of a type starts and ends
// in position order.
std::int32_t RangeStart(int type, int chromosome) {
  return core::kArrayChromosomeStarts[type][chromosome == kTailChromosome ? 24 : chromosome];
}
std::int32_t RangeEnd(int type, int chromosome) {
  return chromosome == kTailChromosome ? core::kArrayTypes[type].lastSnp + 1
                                       : core::kArrayChromosomeStarts[type][chromosome + 1];
}

}  // namespace

std::int32_t UsableChromosomeLength(int chromosome) {
  if (chromosome == kTailChromosome) return kHg17ChromosomeLength[24];
  if (chromosome < 1 || chromosome > kChromosomeX) return 0;
  return static_cast<std::int32_t>(
      std::min<long long>(kHg17ChromosomeLength[chromosome], core::genome::ChromosomeLength(chromosome)));
}

std::string AnnotationFileName(int family) {
  if (family < 0 || family >= core::kArrayFamilyCount) throw std::invalid_argument("no such array family");
  return core::kArrayFamilies[family].annotationFile;
}

std::vector<int> AllFamilies() {
  std::vector<int> families(core::kArrayFamilyCount);
  std::iota(families.begin(), families.end(), 0);
  return families;
}

std::string ShippedCytobandPath() { return platform::JoinPath(QOVA_SHIPPED_DATA_DIR, "Cytoband.dtt"); }

std::string ShippedKnownGenesPath() { return platform::JoinPath(QOVA_SHIPPED_DATA_DIR, "knowngenes.txt"); }

CBasicData MakeAnnotation(int family, std::uint64_t seed) {
  if (family < 0 || family >= core::kArrayFamilyCount) throw std::invalid_argument("no such array family");
  const core::ArrayFamilyInfo& info = core::kArrayFamilies[family];
  const std::int32_t n = info.snpCount;
  std::vector<int> singles;
  int combined = -1;
  for (const core::ArrayTypeInfo& type : core::kArrayTypes) {
    if (type.family != family) continue;
    if (core::IsCombinedArrayType(type.type)) {
      combined = type.type;
    } else {
      singles.push_back(type.type);
    }
  }
  Random random(FamilySeed(seed, family));

  // Position order: the SNPs of a chromosome on all arrays of the family get
  // distinct positions (short of the chromosome's last base, which a band
  // mapping counts into no band), shared out at random among the arrays; each array
  // keeps its share in ascending order, and the combined type interleaves them
  // by position (its SortMap leads to the single array's index).
  std::vector<std::int32_t> chromosome(n), position(n), sortMap(n);
  std::iota(sortMap.begin(), sortMap.end(), 0);
  for (int c = 1; c <= kTailChromosome; ++c) {
    std::vector<int> owner;
    std::vector<std::int32_t> next;
    for (std::size_t k = 0; k < singles.size(); ++k) {
      owner.insert(owner.end(), RangeEnd(singles[k], c) - RangeStart(singles[k], c), static_cast<int>(k));
      next.push_back(RangeStart(singles[k], c));
    }
    random.Shuffle(owner);
    const std::vector<std::int32_t> positions =
        AscendingPositions(random, static_cast<std::int32_t>(owner.size()), UsableChromosomeLength(c) - 1);
    std::int32_t merged = combined >= 0 ? RangeStart(combined, c) : 0;
    for (std::size_t i = 0; i < owner.size(); ++i) {
      const std::int32_t s = next[owner[i]]++;
      chromosome[s] = c;
      position[s] = positions[i];
      if (combined >= 0) sortMap[merged++] = s;
    }
  }

  // Table order: each single array's rows sorted by vendor SNP id, as the
  // vendor's annotation files are.
  const std::vector<std::int32_t> vendorId = UniqueIds(random, n, 1500000, 7);
  const std::vector<std::int32_t> rsNumber = UniqueIds(random, n, 1000, 17);
  std::vector<std::int32_t> rowOfSnp(n);
  for (int type : singles) {
    std::vector<std::int32_t> snps(core::kArrayTypes[type].lastSnp - core::kArrayTypes[type].firstSnp + 1);
    std::iota(snps.begin(), snps.end(), core::kArrayTypes[type].firstSnp);
    std::sort(snps.begin(), snps.end(), [&](std::int32_t a, std::int32_t b) { return vendorId[a] < vendorId[b]; });
    for (std::size_t j = 0; j < snps.size(); ++j) rowOfSnp[snps[j]] = core::kArrayTypes[type].firstSnp + static_cast<std::int32_t>(j);
  }

  CBasicData table;
  table.Allocate(n, info.extended ? 1 : 0);
  table.Name = core::kArrayTypes[combined >= 0 ? combined : singles.front()].name;
  for (std::int32_t s = 0; s < n; ++s) {
    const std::int32_t row = rowOfSnp[s];
    table.IndexMap[s] = row;
    table.SortMap[s] = sortMap[s];
    table.Chromosome[row] = chromosome[s];
    table.Position[row] = position[s];
    table.VendorSnpId[row] = vendorId[s];
    table.RsNumber[row] = rsNumber[s];
  }
  for (std::int32_t row = 0; row < n; ++row) {
    // Short fragments are the common ones.
    table.FragmentLength[row] = 200 + static_cast<std::int32_t>(std::min(random.Below(1801), random.Below(1801)));
    table.GcContent[row] = static_cast<float>(0.3 + 0.3 * random.Unit());
    table.Heterozygosity[row] = static_cast<float>(0.02 + 0.48 * random.Unit());
    table.FragmentNumber[row] = static_cast<std::int32_t>(random.Below(10));
    if (info.extended) {
      table.ExtInt1[row] = static_cast<std::int32_t>(random.Below(2));
      table.ExtFloat[row] = static_cast<float>(random.Unit());
    }
  }
  return table;
}

void WriteDataFolder(const std::string& folder, const std::vector<int>& families, std::uint64_t seed,
                     const std::string& cytobandTable) {
  if (!platform::CreateFolders(folder)) throw CFileException(CFileException::badPath, 0, folder);
  for (int family : families) {
    CBasicData table = MakeAnnotation(family, seed);
    table.StoreFile(platform::JoinPath(folder, AnnotationFileName(family)), table.Capacity());
  }
  const std::string source = cytobandTable.empty() ? ShippedCytobandPath() : cytobandTable;
  if (!platform::CopyFileTo(source, platform::JoinPath(folder, "Cytoband.dtt"), true)) {
    throw CFileException(CFileException::fileNotFound, 0, source);
  }
  if (!platform::CopyFileTo(ShippedKnownGenesPath(), platform::JoinPath(folder, "knowngenes.txt"), true)) {
    throw CFileException(CFileException::fileNotFound, 0, ShippedKnownGenesPath());
  }
}

}  // namespace datagen
