#include "analysis/KnownGenes.h"

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <string_view>

#include "platform/File.h"
#include "platform/MessageBox.h"

namespace {

// The integer at the start of `field` as the C library reads it: leading
// blanks and a sign, then digits up to the first other character; 0 when
// there are none. Values beyond int32 are held at its limits.
std::int32_t LeadingInteger(const std::string& field) {
  const long long value = std::strtoll(field.c_str(), nullptr, 10);
  if (value > std::numeric_limits<std::int32_t>::max()) return std::numeric_limits<std::int32_t>::max();
  if (value < std::numeric_limits<std::int32_t>::min()) return std::numeric_limits<std::int32_t>::min();
  return static_cast<std::int32_t>(value);
}

// 1..22, 23 for "X", "x" or "23"; 0 for a line to skip.
int ChromosomeOfField(const std::string& field) {
  if (field == "X" || field == "x") return KnownGenes::kLastChromosome;
  const std::int32_t number = LeadingInteger(field);
  return number >= 1 && number <= KnownGenes::kLastChromosome ? number : 0;
}

// The tab-separated fields of a line; a run of tabs separates once.
std::vector<std::string> TabFields(std::string_view line) {
  std::vector<std::string> fields;
  std::size_t at = 0;
  while (at < line.size()) {
    const std::size_t end = std::min(line.find('\t', at), line.size());
    if (end > at) fields.emplace_back(line.substr(at, end - at));
    at = end + 1;
  }
  return fields;
}

}  // namespace

bool KnownGenes::Load(const std::string& path) {
  Clear();
  std::string text;
  if (!platform::ReadWholeFile(path, text)) {
    AfxMessageBox("knowngenes data cannot be loaded");
    return false;
  }
  const std::vector<std::string> lines = platform::SplitLines(text);
  int previous = 0;
  for (std::size_t n = 1; n < lines.size(); ++n) {
    const std::vector<std::string> fields = TabFields(lines[n]);
    // A line without a name has no gene to tell of.
    if (fields.size() < 4) continue;
    const int chromosome = ChromosomeOfField(fields[0]);
    if (chromosome == 0) continue;
    const int count = static_cast<int>(genes_.size());
    if (chromosome != previous) {
      if (previous != 0) lastIndex_[previous] = count - 1;
      firstIndex_[chromosome] = count;
      previous = chromosome;
    }
    genes_.push_back({chromosome, LeadingInteger(fields[1]), LeadingInteger(fields[2]),
                      fields[3].substr(0, KnownGene::kMaxNameLength)});
  }
  if (previous != 0) lastIndex_[previous] = static_cast<int>(genes_.size()) - 1;
  return true;
}

std::string KnownGenes::GenesInRange(int chromosome, std::int32_t from, std::int32_t to) const {
  std::string names;
  for (int i = FirstIndex(chromosome); i <= LastIndex(chromosome); ++i) {
    const KnownGene& gene = genes_[static_cast<std::size_t>(i)];
    if (from <= gene.End && to >= gene.Start) names += gene.Name + " ";
  }
  return names;
}

void KnownGenes::Clear() {
  genes_.clear();
  for (int c = 0; c <= kLastChromosome; ++c) {
    firstIndex_[c] = 0;
    lastIndex_[c] = -1;
  }
}

int KnownGenes::FirstIndex(int chromosome) const {
  return chromosome >= 1 && chromosome <= kLastChromosome ? firstIndex_[chromosome] : 0;
}

int KnownGenes::LastIndex(int chromosome) const {
  return chromosome >= 1 && chromosome <= kLastChromosome ? lastIndex_[chromosome] : -1;
}
