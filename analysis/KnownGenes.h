#pragma once
// A read-only table of gene intervals, "knowngenes.txt" in the data folder,
// asked for the names of the genes that overlap a stretch of a chromosome.
// The exports of copy-number changes build one for a run and let it go.
//
// The file is text: a header line, then one gene a line, four fields
// separated by tabs (a run of tabs is one separator): chromosome (1..22, X or
// 23), first base, last base, name. Lines come grouped by chromosome; the
// table keeps one index range per chromosome, so a chromosome whose lines are
// split into two groups keeps only the later group. Lines of other
// chromosomes (Y, M, "chr1") are skipped, and a number that does not parse
// counts up to its first non-digit (so "12x" is 12 and "x" is 0).
#include <cstdint>
#include <string>
#include <vector>

struct KnownGene {
  // Longest name kept; longer names are cut.
  static constexpr int kMaxNameLength = 15;

  std::int32_t Chromosome = 0;  // 1..22, 23 = X
  std::int32_t Start = 0;       // first base
  std::int32_t End = 0;         // last base
  std::string Name;
};

class KnownGenes {
 public:
  static constexpr int kLastChromosome = 23;

  KnownGenes() { Clear(); }

  // Replaces the table with the file's genes. Shows "knowngenes data cannot
  // be loaded" and returns false when the file cannot be read; the table is
  // then empty.
  bool Load(const std::string& path);
  // The names of chromosome `chromosome`'s genes with from <= End and
  // to >= Start, in file order, each followed by one space; empty when none.
  [[nodiscard]] std::string GenesInRange(int chromosome, std::int32_t from, std::int32_t to) const;
  void Clear();

  [[nodiscard]] const std::vector<KnownGene>& Genes() const { return genes_; }
  // The positions in Genes() of chromosome c's first and last gene; last is
  // first - 1 for a chromosome without genes.
  [[nodiscard]] int FirstIndex(int chromosome) const;
  [[nodiscard]] int LastIndex(int chromosome) const;

 private:
  std::vector<KnownGene> genes_;
  int firstIndex_[kLastChromosome + 1] = {};
  int lastIndex_[kLastChromosome + 1] = {};
};
