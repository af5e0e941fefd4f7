#include <algorithm>
#include <cmath>
#include <fstream>
#include <stdexcept>

#include "core/ArrayTypes.h"
#include "platform/Paths.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/arraygen/Hash.h"
#include "tools/arraywriters/CdfWriters.h"

namespace core = qova::core;

namespace arraygen {

namespace {

// Whole-number intensities must fit the 16-bit forms.
constexpr double kMaxCellIntensity = 65535.0;
// Background of cells that probe nothing the extraction reads, and what a
// mismatch cell adds of its partner's signal.
constexpr double kBackgroundLow = 40.0;
constexpr double kBackgroundHigh = 120.0;
constexpr double kMismatchShare = 0.3;
// Per-probe weights of one allele's perfect-match cells lie in this range, so
// no cell takes much more than its share.
constexpr double kWeightLow = 0.7;
constexpr double kWeightHigh = 1.3;

enum Purpose : std::uint64_t { kProbeWeight = 101, kBackground, kLayoutSeed };

// The cells of one allele of one SNP set, as indexes into the cell array.
struct AlleleCells {
  std::vector<std::size_t> perfect;
  std::vector<double> weights;
};

std::size_t CellIndex(const arraywriters::CelArray& array, const arraywriters::CdfCell& cell) {
  return static_cast<std::size_t>(cell.y) * static_cast<std::size_t>(array.cols) + cell.x;
}

// Splits the rounded total over the cells by their weights: cell i gets
// floor(T * W_i / W) - floor(T * W_{i-1} / W) with W_i the running weight, so
// the parts are whole and add up to T exactly. The total is capped so that no
// part passes the 16-bit limit.
void SplitSignal(double signal, const AlleleCells& allele, arraywriters::CelArray& array) {
  const std::size_t n = allele.perfect.size();
  if (n == 0) return;
  double sum = 0.0, largest = 0.0;
  for (double w : allele.weights) {
    sum += w;
    largest = std::max(largest, w);
  }
  const double cap = std::floor(kMaxCellIntensity * sum / largest);
  const double total = std::clamp(std::round(signal), 0.0, cap);
  double running = 0.0, given = 0.0;
  for (std::size_t i = 0; i < n; ++i) {
    running += allele.weights[i];
    const double upTo = i + 1 == n ? total : std::floor(total * running / sum);
    array.cells[allele.perfect[i]].intensity = static_cast<float>(upTo - given);
    given = upTo;
  }
}

float StdvOf(float intensity) { return std::round(intensity * 0.12f + 6.0f); }

}  // namespace

std::uint8_t ChpCallOf(std::int32_t genotypeCall) {
  switch (genotypeCall) {
    case kCallA: return kChpCallA;
    case kCallB: return kChpCallB;
    case kCallAB: return kChpCallAB;
    default: return kChpNoCall;
  }
}

std::string LibraryFileName(const std::string& chipType) { return core::LibraryFileName(chipType); }

LayoutOptions RealisticLayout(const std::string& arrayType) {
  LayoutOptions options;
  const core::ArrayTypeInfo* info = core::FindArrayType(arrayType);
  if (info != nullptr && info->family == 6) {
    // One copy-number probe set a SNP brings the chip to about 6.5 million cells.
    options.CopyNumberSets = info->lastSnp - info->firstSnp + 1;
    options.ControlSets = 40;
  } else if (info != nullptr && info->family <= 2) {
    options.PerfectMatchCellsPerAllele = 5;
  }
  return options;
}

ArrayDesign::ArrayDesign(std::string arrayType, std::uint64_t seed, const LayoutOptions& options)
    : arrayType_(std::move(arrayType)), seed_(seed) {
  const core::ArrayTypeInfo* info = core::FindArrayType(arrayType_);
  if (info == nullptr) throw std::invalid_argument("unknown array type " + arrayType_);
  if (options.PerfectMatchCellsPerAllele < 1 || options.BlockPairs < 1 || options.BlockPairs > 2 ||
      options.CopyNumberSets < 0 || options.ControlSets < 0 || options.SnpSets < -1) {
    throw std::invalid_argument("array design: counts out of range");
  }
  firstSnp_ = info->firstSnp;
  arraywriters::SyntheticCdfOptions cdf;
  cdf.chipName = arrayType_;
  cdf.snpSets = options.SnpSets >= 0 ? options.SnpSets : info->lastSnp - info->firstSnp + 1;
  cdf.blocksPerSnp = 2 * options.BlockPairs;
  cdf.listsPerBlock = options.PerfectMatchCellsPerAllele;
  cdf.mismatchCells = options.MismatchCells;
  cdf.copyNumberSets = options.CopyNumberSets;
  cdf.controlSets = options.ControlSets;
  cdf.qcSets = 2;
  cdf.seed = static_cast<std::uint32_t>(Key(seed, 0, 0, kLayoutSeed));
  layout_ = arraywriters::MakeSyntheticCdfLayout(cdf);
  for (std::size_t i = 0; i < layout_.probeSets.size(); ++i) {
    if (layout_.probeSets[i].name.starts_with("SNP")) snpSets_.push_back(static_cast<std::int32_t>(i));
  }
}

arraywriters::CelArray ArrayDesign::MakeCel(const CArrayData& sample) const {
  arraywriters::CelArray array;
  array.cols = layout_.cols;
  array.rows = layout_.rows;
  array.chipType = arrayType_;
  array.datHeader = arraywriters::MakeDatHeader(arrayType_, array.cols, array.rows);
  array.algorithmParameters = "Percentile:75;CellMargin:2;OutlierHigh:1.500;OutlierLow:1.004;AlgVersion:6.0";
  array.grid = {20, 25, 18000, 30, 17990, 18010, 15, 18005};
  array.cells.resize(static_cast<std::size_t>(array.cols) * static_cast<std::size_t>(array.rows));

  const std::uint64_t scan = NameKey(sample.Header.SampleName);
  for (std::size_t i = 0; i < array.cells.size(); ++i) {
    array.cells[i].intensity =
        static_cast<float>(std::round(kBackgroundLow + (kBackgroundHigh - kBackgroundLow) * Unit(Key(seed_, scan, i, kBackground))));
  }

  AlleleCells alleles[2];
  for (std::size_t k = 0; k < snpSets_.size(); ++k) {
    const arraywriters::CdfProbeSet& set = layout_.probeSets[static_cast<std::size_t>(snpSets_[k])];
    const std::int64_t row = firstSnp_ + static_cast<std::int64_t>(k);
    if (row > sample.Header.LastSnpIndex || row >= sample.Capacity()) break;
    for (AlleleCells& a : alleles) {
      a.perfect.clear();
      a.weights.clear();
    }
    for (std::size_t b = 0; b < set.blocks.size(); ++b) {
      AlleleCells& allele = alleles[b % 2];
      for (const arraywriters::CdfCell& cell : set.blocks[b].cells) {
        if (!arraywriters::IsPerfectMatchCell(cell.probeBase, cell.targetBase)) continue;
        const std::size_t index = CellIndex(array, cell);
        allele.perfect.push_back(index);
        allele.weights.push_back(kWeightLow + (kWeightHigh - kWeightLow) * Unit(Key(seed_, index, 0, kProbeWeight)));
      }
    }
    SplitSignal(sample.SignalA[static_cast<std::size_t>(row)], alleles[0], array);
    SplitSignal(sample.SignalB[static_cast<std::size_t>(row)], alleles[1], array);
    // A mismatch cell follows its perfect-match partner within its list.
    for (const arraywriters::CdfBlock& block : set.blocks) {
      for (std::size_t c = 1; c < block.cells.size(); ++c) {
        const arraywriters::CdfCell& cell = block.cells[c];
        if (arraywriters::IsPerfectMatchCell(cell.probeBase, cell.targetBase)) continue;
        const float partner = array.cells[CellIndex(array, block.cells[c - 1])].intensity;
        float& intensity = array.cells[CellIndex(array, cell)].intensity;
        intensity = static_cast<float>(std::min(kMaxCellIntensity, std::round(intensity + kMismatchShare * partner)));
      }
    }
  }
  for (arraywriters::CelCell& cell : array.cells) {
    cell.stdv = StdvOf(cell.intensity);
    cell.pixels = 16;
  }
  return array;
}

std::vector<std::uint8_t> ArrayDesign::ChpCalls(const CArrayData& sample) const {
  std::vector<std::uint8_t> calls(layout_.probeSets.size(), kChpNoCall);
  for (std::size_t k = 0; k < snpSets_.size(); ++k) {
    const std::int64_t row = firstSnp_ + static_cast<std::int64_t>(k);
    if (row > sample.Header.LastSnpIndex || row >= sample.Capacity()) break;
    calls[static_cast<std::size_t>(snpSets_[k])] = ChpCallOf(sample.Call[static_cast<std::size_t>(row)]);
  }
  return calls;
}

void ArrayDesign::WriteCdf(const std::string& path, CdfForm form) const {
  std::string bytes;
  switch (form) {
    case CdfForm::kText: bytes = arraywriters::TextCdfImage(layout_); break;
    case CdfForm::kXda: bytes = arraywriters::XdaCdfImage(layout_); break;
    case CdfForm::kGeneric: bytes = arraywriters::GenericCdfImage(layout_); break;
  }
  if (!platform::CreateFolders(platform::FolderOf(path)) || !arraywriters::WriteBytes(path, bytes)) {
    throw std::runtime_error("cannot write " + path);
  }
}

}  // namespace arraygen
