#pragma once
// Small generated samples and array designs for the tests of the array
// generator and of the extraction.
#include <cstdint>
#include <fstream>
#include <iterator>
#include <map>
#include <string>

#include "core/ArrayTypes.h"
#include "platform/ByteOrder.h"
#include "platform/Paths.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/arraywriters/CdfWriters.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace qova::test {

// The family tables are made once per test program: they take a moment.
inline const CBasicData& AnnotationOf(const std::string& arrayType) {
  static std::map<int, CBasicData> tables;
  const int family = ArrayClassIndex(arrayType);
  auto it = tables.find(family);
  if (it == tables.end()) it = tables.emplace(family, datagen::MakeAnnotation(family)).first;
  return it->second;
}

// A sample of `arrayType` as samplegen makes it.
inline CArrayData MakeSample(const std::string& arrayType, const std::string& name, std::uint64_t seed = 7,
                             const std::string& sex = "F") {
  samplegen::SampleSpec spec;
  spec.Name = name;
  spec.Sex = sex;
  spec.Individual = seed * 31 + name.size();
  spec.Bias = samplegen::RandomBias(seed, name);
  const samplegen::SampleGenerator generator(arrayType, AnnotationOf(arrayType), seed);
  return generator.Make(spec);
}

// A layout with few SNP probe sets, so files stay small.
inline arraygen::LayoutOptions SmallLayout(std::int32_t snpSets = 120) {
  arraygen::LayoutOptions options;
  options.SnpSets = snpSets;
  options.CopyNumberSets = 10;
  options.ControlSets = 4;
  return options;
}

// A layout whose SNP probe sets fill the array type's SNPs, as an extraction
// requires, with one perfect-match cell per allele, so files stay small.
inline arraygen::LayoutOptions LeanLayout() {
  arraygen::LayoutOptions options = SmallLayout(-1);
  options.PerfectMatchCellsPerAllele = 1;
  options.MismatchCells = false;
  return options;
}

inline bool PairsUp(char probe, char target) {
  const std::string pairs = "ATTAGCCGattagccg";
  for (std::size_t i = 0; i + 1 < pairs.size(); i += 2) {
    if (pairs[i] == probe && pairs[i + 1] == target) return true;
  }
  return false;
}

struct AlleleSums {
  double a = 0.0, b = 0.0;
  int cellsA = 0, cellsB = 0;
};

// Sums the perfect-match cells of SNP set k from the layout and the cells,
// the way the extraction is meant to: even blocks allele A, odd ones B.
inline AlleleSums SumsOf(const arraygen::ArrayDesign& design, const arraywriters::CelArray& cel, std::size_t k) {
  AlleleSums sums;
  const auto& set = design.Layout().probeSets[static_cast<std::size_t>(design.SnpProbeSets()[k])];
  for (std::size_t b = 0; b < set.blocks.size(); ++b) {
    for (const auto& cell : set.blocks[b].cells) {
      if (!PairsUp(cell.probeBase, cell.targetBase)) continue;
      const double value = cel.cells[static_cast<std::size_t>(cell.y) * cel.cols + cell.x].intensity;
      (b % 2 == 0 ? sums.a : sums.b) += value;
      ++(b % 2 == 0 ? sums.cellsA : sums.cellsB);
    }
  }
  return sums;
}

inline std::string FileBytes(const std::string& path) {
  std::ifstream in(platform::NativePath(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The generic library file of `layout` with the name of probe set
// `probeSet` given a length far past its cell in the index: the reader opens
// the file and cannot read that one name.
inline std::string GenericCdfWithUnreadableName(const arraywriters::CdfLayout& layout, std::int32_t probeSet) {
  std::string bytes = arraywriters::GenericCdfImage(layout);
  std::string wideName;
  for (const char c : layout.probeSets[static_cast<std::size_t>(probeSet)].name) wideName += std::string{'\0', c};
  const std::size_t at = bytes.find(wideName);
  if (at == std::string::npos || at < 4) return {};
  platform::WriteBE32(&bytes[at - 4], 0x7ffffff0u);
  return bytes;
}

}  // namespace qova::test
