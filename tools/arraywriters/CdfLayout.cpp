#include "tools/arraywriters/CdfLayout.h"

#include <cmath>
#include <cstdio>
#include <numeric>
#include <stdexcept>

namespace arraywriters {

std::int32_t CdfProbeSet::TotalLists() const {
  std::int32_t n = 0;
  for (const CdfBlock& b : blocks) n += b.numLists;
  return n;
}

std::int32_t CdfProbeSet::TotalCells() const {
  std::int32_t n = 0;
  for (const CdfBlock& b : blocks) n += static_cast<std::int32_t>(b.cells.size());
  return n;
}

std::int64_t CdfLayout::TotalCells() const {
  std::int64_t n = 0;
  for (const CdfProbeSet& s : probeSets) n += s.TotalCells();
  return n;
}

char ComplementBase(char base) {
  switch (base) {
    case 'A': return 'T';
    case 'T': return 'A';
    case 'C': return 'G';
    case 'G': return 'C';
    case 'a': return 't';
    case 't': return 'a';
    case 'c': return 'g';
    case 'g': return 'c';
    default: return base;
  }
}

bool IsPerfectMatchCell(char probeBase, char targetBase) {
  return ComplementBase(probeBase) == targetBase && probeBase != targetBase;
}

namespace {

constexpr char kBases[] = {'A', 'C', 'G', 'T'};

// A small deterministic generator: the layouts must not depend on the
// standard library's distributions, which differ between implementations.
class Rng {
 public:
  explicit Rng(std::uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
  std::uint32_t Next() {
    state_ ^= state_ << 13;
    state_ ^= state_ >> 17;
    state_ ^= state_ << 5;
    return state_;
  }
  char Base() { return kBases[Next() % 4]; }

 private:
  std::uint32_t state_;
};

// Hands out distinct (x, y) positions spread over the array by stepping
// through all positions with a stride coprime to their number.
class PositionAllocator {
 public:
  PositionAllocator(std::uint16_t cols, std::uint16_t rows) : cols_(cols), total_(std::uint64_t(cols) * rows) {
    stride_ = (total_ / 3) | 1;
    while (std::gcd(stride_, total_) != 1) stride_ += 2;
  }
  void Place(std::uint16_t& x, std::uint16_t& y) {
    std::uint64_t p = (next_++ * stride_) % total_;
    x = static_cast<std::uint16_t>(p % cols_);
    y = static_cast<std::uint16_t>(p / cols_);
  }

 private:
  std::uint64_t cols_, total_, stride_ = 1, next_ = 0;
};

enum class SetKind { Snp, CopyNumber, ExpressionControl, GenotypeControl };

std::vector<SetKind> SetOrder(const SyntheticCdfOptions& o) {
  std::vector<SetKind> others;
  int controls = 0;
  for (int j = 0; j < o.copyNumberSets + o.controlSets; ++j) {
    // Spread the controls evenly among the copy-number sets.
    bool control = o.controlSets > 0 &&
                   (std::int64_t(j + 1) * o.controlSets) / (o.copyNumberSets + o.controlSets) > controls;
    if (control) {
      others.push_back(controls % 2 == 0 ? SetKind::ExpressionControl : SetKind::GenotypeControl);
      ++controls;
    } else {
      others.push_back(SetKind::CopyNumber);
    }
  }
  std::vector<SetKind> order;
  const std::int64_t m = static_cast<std::int64_t>(others.size());
  std::size_t nextOther = 0;
  for (int i = 0; i <= o.snpSets; ++i) {
    // The j-th other set follows SNP set floor((j + 1) * snp / (m + 1)).
    while (nextOther < others.size() &&
           (std::int64_t(nextOther) + 1) * o.snpSets / (m + 1) <= i) {
      order.push_back(others[nextOther++]);
    }
    if (i < o.snpSets) order.push_back(SetKind::Snp);
  }
  return order;
}

std::int64_t CellsOf(SetKind kind, const SyntheticCdfOptions& o) {
  switch (kind) {
    case SetKind::Snp: return std::int64_t(o.blocksPerSnp) * o.listsPerBlock * (o.mismatchCells ? 2 : 1);
    case SetKind::CopyNumber: return 1;
    case SetKind::ExpressionControl: return std::int64_t(o.listsPerBlock) * 2;
    case SetKind::GenotypeControl: return 2;
  }
  return 0;
}

std::string Numbered(const char* pattern, int n) {
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, pattern, n);
  return buffer;
}

void FinishBlock(CdfBlock& block) {
  if (block.cells.empty()) return;
  block.start = block.cells.front().listIndex;
  block.stop = block.cells.back().listIndex;
}

// One list: a perfect-match cell for `target`, and its mismatch partner when asked.
void AddList(CdfBlock& block, char target, std::int32_t listIndex, std::int32_t exposure, bool mismatch,
             PositionAllocator& positions) {
  CdfCell pm;
  pm.probeBase = ComplementBase(target);
  pm.targetBase = target;
  pm.listIndex = listIndex;
  pm.exposure = exposure;
  positions.Place(pm.x, pm.y);
  block.cells.push_back(pm);
  if (mismatch) {
    CdfCell mm = pm;
    mm.probeBase = target;
    positions.Place(mm.x, mm.y);
    block.cells.push_back(mm);
  }
  ++block.numLists;
}

CdfProbeSet MakeSnpSet(int n, const SyntheticCdfOptions& o, Rng& rng, PositionAllocator& positions) {
  CdfProbeSet set;
  set.name = Numbered("SNP_A-%07d", 1000000 + n);
  set.type = kCdfGenotyping;
  set.cellsPerList = o.mismatchCells ? 2 : 1;
  const char alleleA = rng.Base();
  char alleleB = rng.Base();
  while (alleleB == alleleA) alleleB = rng.Base();
  std::int32_t list = 0;
  for (int b = 0; b < o.blocksPerSnp; ++b) {
    CdfBlock block;
    block.name = set.name;
    // The second pair of blocks probes the other strand.
    const bool antisense = b >= 2;
    block.direction = antisense ? 2 : 1;
    char allele = (b % 2 == 0) ? alleleA : alleleB;
    if (antisense) allele = ComplementBase(allele);
    for (int l = 0; l < o.listsPerBlock; ++l, ++list) {
      AddList(block, allele, list, l - o.listsPerBlock / 2, o.mismatchCells, positions);
    }
    FinishBlock(block);
    set.blocks.push_back(std::move(block));
  }
  return set;
}

CdfProbeSet MakeOtherSet(SetKind kind, int n, const SyntheticCdfOptions& o, Rng& rng,
                         PositionAllocator& positions) {
  CdfProbeSet set;
  CdfBlock block;
  switch (kind) {
    case SetKind::CopyNumber:
      set.name = Numbered("CN_%07d", 100000 + n);
      set.type = kCdfCopyNumber;
      set.direction = (n % 2 == 0) ? 1 : 2;
      set.cellsPerList = 1;
      AddList(block, rng.Base(), 0, 0, false, positions);
      break;
    case SetKind::ExpressionControl:
      set.name = Numbered("CTRL-Ctrl-%d", n);
      set.type = kCdfExpression;
      set.cellsPerList = 2;
      for (int l = 0; l < o.listsPerBlock; ++l) AddList(block, rng.Base(), l, l, true, positions);
      break;
    case SetKind::GenotypeControl:
      set.name = Numbered("CTRL-GtCtrl-%d", n);
      set.type = kCdfGenotypeControl;
      set.cellsPerList = 1;
      for (int l = 0; l < 2; ++l) AddList(block, rng.Base(), l, 0, false, positions);
      break;
    case SetKind::Snp:
      break;
  }
  // A block of an expression unit carries the unit's name: the text form
  // names such a unit after its blocks.
  block.name = set.name;
  block.direction = set.direction;
  FinishBlock(block);
  set.blocks.push_back(std::move(block));
  return set;
}

}  // namespace

CdfLayout MakeSyntheticCdfLayout(const SyntheticCdfOptions& o) {
  if (o.snpSets < 0 || o.copyNumberSets < 0 || o.controlSets < 0 || o.qcSets < 0 || o.cellsPerQCSet < 0 ||
      o.listsPerBlock < 1 || o.blocksPerSnp < 1) {
    throw std::invalid_argument("synthetic CDF layout: negative or empty counts");
  }
  const std::vector<SetKind> order = SetOrder(o);
  std::int64_t cells = std::int64_t(o.qcSets) * o.cellsPerQCSet;
  for (SetKind k : order) cells += CellsOf(k, o);

  CdfLayout layout;
  layout.chipName = o.chipName;
  layout.reference = o.reference;
  // Columns and rows differ so that a reader that swaps x and y is caught.
  const auto side = static_cast<std::int64_t>(std::ceil(std::sqrt(double(std::max<std::int64_t>(cells, 1)))));
  const std::int64_t cols = side + 3;
  const std::int64_t rows = (std::max<std::int64_t>(cells, 1) + cols - 1) / cols + 1;
  if (cols > 65535 || rows > 65535) throw std::invalid_argument("synthetic CDF layout: too many cells");
  layout.cols = static_cast<std::uint16_t>(cols);
  layout.rows = static_cast<std::uint16_t>(rows);

  Rng rng(o.seed);
  PositionAllocator positions(layout.cols, layout.rows);
  layout.probeSets.reserve(order.size());
  int counts[4] = {0, 0, 0, 0};
  for (SetKind kind : order) {
    int& n = counts[static_cast<int>(kind)];
    layout.probeSets.push_back(kind == SetKind::Snp ? MakeSnpSet(n, o, rng, positions)
                                                    : MakeOtherSet(kind, n, o, rng, positions));
    ++n;
  }
  for (std::size_t i = 0; i < layout.probeSets.size(); ++i) {
    layout.probeSets[i].number = static_cast<std::int32_t>(i) + 1;
  }
  for (int q = 0; q < o.qcSets; ++q) {
    CdfQCSet qc;
    qc.type = static_cast<std::uint16_t>(1 + q % 7);
    for (int c = 0; c < o.cellsPerQCSet; ++c) {
      CdfQCCell cell;
      positions.Place(cell.x, cell.y);
      cell.probeLength = static_cast<std::uint8_t>(20 + c % 6);
      cell.perfectMatch = static_cast<std::uint8_t>(c % 2 == 0);
      cell.background = static_cast<std::uint8_t>(c % 3 == 0);
      qc.cells.push_back(cell);
    }
    layout.qcSets.push_back(std::move(qc));
  }
  return layout;
}

}  // namespace arraywriters
