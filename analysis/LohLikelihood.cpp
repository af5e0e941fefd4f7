// LOH likelihood from the test sample's own genotype calls: a log-likelihood
// ratio (LOH against normal) summed along each chromosome, every SNP getting
// the best score of the stretch it belongs to.
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <type_traits>

#include "analysis/Analysis.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "core/ProgramSetting.h"
#include "platform/Paths.h"
#include "platform/File.h"
#include "platform/Strings.h"

namespace {

// Linkage-disequilibrium data: one line per SNP of the Mapping50K_Xba240 array
// in position order, "h1<TAB>h2<TAB>h3": the heterozygosity at the start of a
// stretch, and the chance the SNP is heterozygous after a homozygous (h2) or a
// heterozygous (h3) neighbour.
constexpr const char* kLdTablePath = "c:\\QOVA\\LOHLH\\LDdata.txt";
constexpr int kLdArrayType = 3;                       // Mapping50K_Xba240
constexpr std::int32_t kLdTableCapacity = 120000;     // SNPs the table holds at most
constexpr std::uint64_t kLdFileLimit = 64ull << 20;  // far above 120,000 short lines

// Genotyping error rates: the older 10K/50K arrays call more reliably.
constexpr int kLastOlderArrayType = 4;
constexpr float kOlderCallError = 0.001f;
constexpr float kNewerCallError = 0.003f;
// A heterozygous call this close (in SNPs) after the previous one counts six
// times: two heterozygous neighbours are strong evidence against LOH.
constexpr std::int32_t kOlderNeighbourSpan = 1;
constexpr std::int32_t kNewerNeighbourSpan = 20;
constexpr float kNeighbourWeight = 6.0f;
// The denser arrays have about five times as many SNPs per stretch; their
// scores are brought back to the scale of the older ones.
constexpr int kFirstDenseArrayType = 5;
constexpr float kDenseArrayDivisor = 5.0f;

struct LdTable {
  std::vector<float> h1, h2, h3;  // by SNP index - the type's first SNP
};

bool ParseProbability(const std::string& text, float& value) {
  if (text.empty()) return false;
  char* end = nullptr;
  const double v = std::strtod(text.c_str(), &end);
  while (*end == ' ' || *end == '\r') ++end;
  if (*end != '\0' || !(v >= 0.0 && v <= 1.0)) return false;
  value = static_cast<float>(v);
  return true;
}

// Reads `count` lines of the LD table; an empty string on success, else what
// is wrong with the file.
std::string ReadLdTable(std::int32_t count, LdTable& table) {
  if (count > kLdTableCapacity) return platform::Format("the array has %d SNPs, more than the table holds", count);
  platform::FileStatus status;
  if (!platform::GetFileStatus(kLdTablePath, status)) return "the file does not exist";
  if (static_cast<std::uint64_t>(status.size) > kLdFileLimit) return "the file is too large";
  std::string bytes;
  if (!platform::ReadWholeFile(kLdTablePath, bytes)) return "the file cannot be read";
  const std::vector<std::string> lines = platform::SplitLines(bytes);
  if (static_cast<std::int64_t>(lines.size()) < count) {
    return platform::Format("it holds %d lines, the array has %d SNPs", static_cast<int>(lines.size()), count);
  }
  table.h1.resize(count);
  table.h2.resize(count);
  table.h3.resize(count);
  for (std::int32_t k = 0; k < count; ++k) {
    const std::string& line = lines[k];
    const std::size_t tab1 = line.find('\t');
    const std::size_t tab2 = tab1 == std::string::npos ? std::string::npos : line.find('\t', tab1 + 1);
    if (tab2 == std::string::npos || !ParseProbability(line.substr(0, tab1), table.h1[k]) ||
        !ParseProbability(line.substr(tab1 + 1, tab2 - tab1 - 1), table.h2[k]) ||
        !ParseProbability(line.substr(tab2 + 1), table.h3[k])) {
      return platform::Format("line %d is not three probabilities separated by tabs", k + 1);
    }
  }
  return {};
}

float Ln(float v) { return static_cast<float>(std::log(static_cast<double>(v))); }

// Runs the stretches over one chromosome. `term(s, i)` gives the score of SNP
// i inside the stretch that started at s (the LD variant's terms depend on
// where the stretch began). Each stretch ends at its best running sum (a tie
// moves the end forward) and is scanned until the sum drops below 0.
template <typename Term>
void ScoreStretches(std::int32_t begin, std::int32_t end, std::vector<float>& score, Term&& term) {
  std::int32_t start = begin;
  while (start < end) {
    double sum = 0.0;
    double best = 0.0;
    std::int32_t bestEnd = start;
    typename std::decay_t<Term>::Stretch stretch;
    std::int32_t i = start;
    do {
      sum += term(stretch, i);
      if (best <= sum) {
        best = sum;
        bestEnd = i;
      }
      ++i;
    } while (sum >= 0.0 && i < end);
    std::fill(score.begin() + start, score.begin() + bestEnd + 1, static_cast<float>(best));
    start = bestEnd + 1;
  }
}

// Terms computed once per chromosome: they do not depend on the stretch.
struct FixedTerms {
  struct Stretch {};
  const std::vector<float>& terms;
  float operator()(Stretch&, std::int32_t i) const { return terms[i]; }
};

// Terms of the LD variant: a running chance q that the previous SNP is truly
// heterozygous, restarted with each stretch.
struct LdTerms {
  struct Stretch {
    bool started = false;
    float q = 0.0f;
  };
  const LdTable& table;
  const std::vector<std::int32_t>& calls;
  std::int32_t tableFirst;
  float operator()(Stretch& stretch, std::int32_t i) const {
    const std::int32_t k = i - tableFirst;
    const float prior = stretch.started ? table.h2[k] * (1.0f - stretch.q) + table.h3[k] * stretch.q : table.h1[k];
    stretch.started = true;
    constexpr float kError = 0.001f;
    constexpr float kRight = 0.999f;
    if (calls[i] == kCallAB) {
      const float evidence = prior * kRight + (1.0f - prior) * kError;
      stretch.q = prior * kRight / evidence;
      return Ln(kError) - Ln(evidence);
    }
    const float evidence = prior * kError + (1.0f - prior) * kRight;
    stretch.q = prior * kError / evidence;
    return Ln(kRight) - Ln(evidence);
  }
};

}  // namespace

void CAnalysis::AnalyzeLOHWithLD(CAnalyzedData& analyzed, const CBasicData& basic) {
  const ArrayTypeRanges ranges = RangesOf(analyzed.Header.ArrayType);
  if (const std::string problem = SizeProblem(ranges, basic, &analyzed, nullptr, kNeedsLoh); !problem.empty()) {
    LogError("The LOH likelihood of sample " + analyzed.Header.SampleName + " is not computed: " + problem + "\n");
    return;
  }
  std::vector<float>& score = analyzed.LohLikelihood;
  std::fill(score.begin(), score.begin() + std::min<std::size_t>(score.size(), std::max(0, analyzed.Header.SnpCount)),
            0.0f);
  const std::vector<std::int32_t>& calls = analyzed.CallTest;

  if (Setting().UseLDForLOH != 0 && ranges.Type == kLdArrayType) {
    LdTable table;
    const std::int32_t count = ranges.ChromosomeEnd(kChromosomeX) - ranges.ChromosomeBegin(1);
    const std::string ldProblem = ReadLdTable(count, table);
    if (ldProblem.empty()) {
      const LdTerms terms{table, calls, ranges.ChromosomeBegin(1)};
      for (int c = 1; c <= kChromosomeX; ++c) {
        ScoreStretches(ranges.ChromosomeBegin(c), ranges.ChromosomeEnd(c), score, terms);
      }
      return;
    }
    // Without usable LD data the standard score is still far better than none.
    LogError(std::string("The linkage-disequilibrium data ") + kLdTablePath + " cannot be used (" + ldProblem +
             "); the LOH likelihood of sample " + analyzed.Header.SampleName + " is computed without it\n");
  }

  const bool older = ranges.Type <= kLastOlderArrayType;
  const float error = older ? kOlderCallError : kNewerCallError;
  const std::int32_t span = older ? kOlderNeighbourSpan : kNewerNeighbourSpan;
  const bool sorted = qova::core::IsCombinedArrayType(ranges.Type);
  const float lnError = Ln(error);
  const float lnRight = Ln(1.0f - error);
  std::vector<float> terms(score.size(), 0.0f);
  for (int c = 1; c <= kChromosomeX; ++c) {
    const std::int32_t begin = ranges.ChromosomeBegin(c);
    const std::int32_t end = ranges.ChromosomeEnd(c);
    std::int32_t previousHeterozygous = begin;
    for (std::int32_t i = begin; i < end; ++i) {
      float h;
      if (uniformHeterozygosity_) {
        h = *uniformHeterozygosity_;
      } else {
        const std::int32_t position = sorted ? basic.SortMap[i] : i;
        h = basic.Heterozygosity[basic.IndexMap[position]];
      }
      if (calls[i] == kCallAB) {
        const float weight = i - previousHeterozygous <= span ? kNeighbourWeight : 1.0f;
        terms[i] = weight * (lnError - Ln(h + error - 2.0f * h * error));
        previousHeterozygous = i;
      } else {
        terms[i] = lnRight - Ln(1.0f - h - error + 2.0f * h * error);
      }
    }
    ScoreStretches(begin, end, score, FixedTerms{terms});
    if (ranges.Type >= kFirstDenseArrayType) {
      for (std::int32_t i = begin; i < end; ++i) score[i] /= kDenseArrayDivisor;
    }
  }
}
