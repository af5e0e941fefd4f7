#include "document/extraction/SampleExtractionWithoutChp.h"

#include <algorithm>
#include <cmath>
#include <exception>
#include <numbers>

#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "document/extraction/ExtractionParts.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

namespace extraction = qova::document::extraction;

namespace {

using extraction::Fail;

std::vector<double> BuildSignedRankTable(int n) {
  const int top = n * (n + 1) / 2;
  std::vector<double> count(static_cast<std::size_t>(top) + 1, 0.0);
  for (unsigned pattern = 0; pattern < (1u << n); ++pattern) {
    int sum = 0;
    for (int rank = 1; rank <= n; ++rank) sum += (pattern >> (rank - 1)) & 1u ? rank : 0;
    count[static_cast<std::size_t>(top - sum)] += 1.0;
  }
  std::vector<double> table(count.size());
  double above = 0.0;
  for (int k = top; k >= 0; --k) {
    table[static_cast<std::size_t>(k)] = count[static_cast<std::size_t>(k)] + 2.0 * above;
    above += count[static_cast<std::size_t>(k)];
  }
  return table;
}

// The log-likelihood of a quartet's cells under one model, each cell with
// its mean and variance.
struct ModelCell {
  double mean = 0.0, variance = 0.0;
};

bool Usable(double variance) { return std::isfinite(variance) && variance > 0.0; }

double LogLikelihood(const std::array<QuartetCell, 4>& q, const std::array<ModelCell, 4>& model) {
  double sum = 0.0;
  for (std::size_t c = 0; c < 4; ++c) {
    const double x = q[c].Intensity, s2 = double(q[c].Stdv) * q[c].Stdv;
    const double d = model[c].mean - x;
    sum += std::log(2.0 * std::numbers::pi * model[c].variance) + (d * d + s2) / model[c].variance;
  }
  return -0.5 * 9.0 * sum;
}

// Mean and variance shared by the cells `which` of a quartet: the mean of
// their intensities and (sum of s^2 + sum of (mean - x)^2) / count.
ModelCell Shared(const std::array<QuartetCell, 4>& q, std::initializer_list<std::size_t> which) {
  double mean = 0.0;
  for (std::size_t c : which) mean += q[c].Intensity;
  mean /= static_cast<double>(which.size());
  double spread = 0.0;
  for (std::size_t c : which) {
    const double d = mean - q[c].Intensity;
    spread += double(q[c].Stdv) * q[c].Stdv + d * d;
  }
  return {mean, spread / static_cast<double>(which.size())};
}

enum Cell : std::size_t { kPmA = 0, kMmA, kPmB, kMmB };
enum Model : std::size_t { kNull = 0, kAA, kAB, kBB };

// The four models' log-likelihoods of one quartet, or false when a variance
// a model needs is unusable.
bool QuartetLikelihoods(const std::array<QuartetCell, 4>& q, std::array<double, 4>& ll) {
  double mean = 0.0, squares = 0.0;
  for (const QuartetCell& c : q) {
    mean += c.Intensity;
    squares += double(c.Stdv) * c.Stdv + double(c.Intensity) * c.Intensity;
  }
  mean /= 4.0;
  const ModelCell null{mean, squares / 4.0 - mean * mean};
  if (!Usable(null.variance)) return false;
  ll[kNull] = LogLikelihood(q, {null, null, null, null});

  // One PM cell above the three others.
  const auto single = [&](std::size_t pm, std::initializer_list<std::size_t> rest, double& out) {
    const ModelCell others = Shared(q, rest);
    if (!(q[pm].Intensity > others.mean)) {
      out = ll[kNull];
      return true;
    }
    const ModelCell own{q[pm].Intensity, double(q[pm].Stdv) * q[pm].Stdv};
    if (!Usable(own.variance) || !Usable(others.variance)) return false;
    std::array<ModelCell, 4> model{others, others, others, others};
    model[pm] = own;
    out = LogLikelihood(q, model);
    return true;
  };
  if (!single(kPmA, {kMmA, kPmB, kMmB}, ll[kAA]) || !single(kPmB, {kPmA, kMmA, kMmB}, ll[kBB])) return false;

  const ModelCell pm = Shared(q, {kPmA, kPmB}), mm = Shared(q, {kMmA, kMmB});
  if (!(mm.mean < pm.mean)) {
    ll[kAB] = ll[kNull];
  } else {
    if (!Usable(pm.variance) || !Usable(mm.variance)) return false;
    ll[kAB] = LogLikelihood(q, {pm, mm, pm, mm});
  }
  return std::all_of(ll.begin(), ll.end(), [](double v) { return std::isfinite(v); });
}

// The signed-rank statistic of differences: ranks by increasing absolute
// value (ties in quartet order), summed over the positive ones.
int SignedRankW(const std::vector<double>& d) {
  std::vector<std::size_t> order(d.size());
  for (std::size_t k = 0; k < order.size(); ++k) order[k] = k;
  std::stable_sort(order.begin(), order.end(),
                   [&](std::size_t a, std::size_t b) { return std::fabs(d[a]) < std::fabs(d[b]); });
  int w = 0;
  for (std::size_t r = 0; r < order.size(); ++r) w += d[order[r]] > 0.0 ? static_cast<int>(r) + 1 : 0;
  return w;
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Adds the cells of one SNP probe set to its four lists and sums its alleles.
void ReadSnpCells(unified_io::UnifiedCDFProbeSetInformation& set, extraction::CelCells& cel,
                  const std::string& libraryFile, SnpCellLists& lists) {
  lists = {};
  unified_io::UnifiedCDFProbeGroupInformation group;
  unified_io::UnifiedCDFProbeInformation cell;
  const int groups = set.GetNumGroups();
  for (int g = 0; g < groups; ++g) {
    set.GetGroupInformation(g, group);
    const bool alleleA = g % 2 == 0;
    const int cells = group.GetNumCells();
    for (int c = 0; c < cells; ++c) {
      group.GetCell(c, cell);
      const bool perfect = extraction::IsPerfectMatch(cell.GetPBase(), cell.GetTBase());
      std::vector<QuartetCell>& list = perfect ? (alleleA ? lists.PerfectA : lists.PerfectB)
                                               : (alleleA ? lists.MismatchA : lists.MismatchB);
      // Cells past the tenth of a list are not read at all.
      if (list.size() >= kMaxQuartets) continue;
      const unified_io::UnifiedCELFileEntry& entry = cel.Entry(cell.GetX(), cell.GetY(), libraryFile);
      list.push_back({entry.Intensity, entry.Stdv});
    }
  }
}

// What the calls of one sample came to, and what the cells offered them: a
// sample without any call says why.
struct CallTally {
  std::int32_t called = 0;
  std::size_t mostQuartets = 0;  // complete quartets of the best-furnished SNP
  bool anyStdv = false;
  bool anyIntensity = false;

  void Add(const SnpCellLists& lists, std::int32_t call) {
    called += call != kCallNone ? 1 : 0;
    mostQuartets = std::max(mostQuartets, std::min({lists.PerfectA.size(), lists.MismatchA.size(),
                                                    lists.PerfectB.size(), lists.MismatchB.size()}));
    for (const auto* list : {&lists.PerfectA, &lists.MismatchA, &lists.PerfectB, &lists.MismatchB}) {
      for (const QuartetCell& cell : *list) {
        anyStdv = anyStdv || cell.Stdv != 0.0f;
        anyIntensity = anyIntensity || cell.Intensity != 0.0f;
      }
    }
  }

  [[nodiscard]] std::string Reason(const std::string& libraryFile) const {
    if (!QuartetsCanCall(static_cast<int>(mostQuartets))) {
      return platform::Format("too few quartets per allele: the library file %s gives at most %zu per SNP, and a "
                              "call needs 6, or 8 to 10",
                              libraryFile.c_str(), mostQuartets);
    }
    if (!anyStdv) return "no standard deviations in the CEL file (a compact CEL file keeps none)";
    return "no SNP passed the call rule";
  }
};

void Extract(const ExtractionRequest& request, const ExtractionFolders& folders, ExtractionResult& result) {
  const std::string listed = platform::ToUpper(request.ChpFileName);  // the CEL file, in this mode
  result.SampleName = SampleNameOfCelFile(listed);
  const bool paired = request.Mode == kExtractPairedTest || request.Mode == kExtractPairedReference;
  const std::string partner = paired ? SampleNameOfCelFile(request.PartnerFileName) : std::string();
  std::string problem = SampleNameProblem(result.SampleName);
  if (problem.empty() && paired) problem = SampleNameProblem(partner);
  if (!problem.empty()) Fail(problem);
  const std::string celPath = platform::JoinPath(folders.DataFolder, listed);
  result.OutputPath = platform::JoinPath(folders.ArrayDataFolder, ReplaceAll(listed, ".CEL", ".CFH"));

  if (!platform::FileExists(celPath)) Fail(kCelFileNotFoundMessage);
  extraction::CelCells cel(celPath, listed);
  platform::FileStatus celStatus;
  if (!platform::GetFileStatus(celPath, celStatus)) Fail(kCelStatusUnreadableMessage);
  const std::string& chipType = cel.ChipType();
  const qova::core::ArrayTypeInfo* type = qova::core::FindArrayType(chipType);
  if (type == nullptr) {
    Fail(platform::Format("The chip type \"%s\" of %s is not one this program knows", chipType.c_str(),
                          listed.c_str()));
  }
  const std::string cdfPath = platform::JoinPath(folders.LibraryFolder, chipType + ".CDF");
  if (!platform::FileExists(cdfPath)) Fail(kLibraryFileNotFoundMessage);
  const std::string libraryFile = platform::FileNameOf(cdfPath);
  unified_io::UnifiedCDFData cdf;
  cdf.SetFileName(cdfPath);
  if (!cdf.Read()) Fail(platform::Format("The library file %s cannot be read", libraryFile.c_str()));
  cel.RequireGrid(cdf.GetHeader().GetCols(), cdf.GetHeader().GetRows(), libraryFile);

  CArrayData sample(result.SampleName, chipType, extraction::TypeInfoValues(*type), CTime(celStatus.creationTime));
  const bool test = request.Mode == kExtractUnpairedTest || request.Mode == kExtractPairedTest;
  sample.Header.IsTest = test ? 1 : 0;
  sample.Header.IsPaired = paired ? 1 : 0;
  if (paired) sample.Header.SelfReference = partner;
  result.Replaced = extraction::KeepTypedFields(result.OutputPath, sample.Header);

  const std::string library = "The library file " + libraryFile;
  const int probeSets = extraction::SnpWalkProbeSetCount(cdf, library);
  // The SNP probe sets are counted by their names before a cell is read.
  std::vector<int> snpSets;
  for (int i = 0; i < probeSets; ++i) {
    if (extraction::SnpWalkProbeSetName(cdf, i, library).starts_with("SNP")) snpSets.push_back(i);
  }
  extraction::RequireSnpPositions(snpSets.size(), *type, libraryFile);
  std::int32_t position = sample.Header.FirstSnpIndex;
  unified_io::UnifiedCDFProbeSetInformation set;
  SnpCellLists lists;
  CallTally tally;
  for (const int i : snpSets) {
    cdf.GetProbeSetInformation(i, set);
    ReadSnpCells(set, cel, libraryFile, lists);
    // Allele A sums its perfect-match cells; allele B as many of its own as
    // allele A has.
    const std::size_t n = lists.PerfectA.size();
    double sumA = 0.0, sumB = 0.0;
    for (std::size_t k = 0; k < n; ++k) sumA += lists.PerfectA[k].Intensity;
    for (std::size_t k = 0; k < std::min(n, lists.PerfectB.size()); ++k) sumB += lists.PerfectB[k].Intensity;
    const auto p = static_cast<std::size_t>(position);
    sample.SignalA[p] = static_cast<float>(sumA);
    sample.SignalB[p] = static_cast<float>(sumB);
    sample.Call[p] = CallFromQuartets(lists);
    tally.Add(lists, sample.Call[p]);
    ++position;
  }
  if (!tally.anyIntensity) cel.FailNoData(libraryFile);
  result.SnpCount = position - sample.Header.FirstSnpIndex;
  result.CalledSnps = tally.called;
  if (tally.called == 0 && result.SnpCount > 0) result.NoCallReason = tally.Reason(libraryFile);

  try {
    sample.StoreFile(result.OutputPath);
  } catch (const std::exception& error) {
    Fail(extraction::SampleFileNotWritten(result.OutputPath, error));
  }
  result.Stored = true;
}

}  // namespace

const std::vector<double>& SignedRankTable(int n) {
  static const std::vector<double> six = BuildSignedRankTable(6);
  static const std::vector<double> ten = BuildSignedRankTable(10);
  return n == 6 ? six : ten;
}

double SignedRankPValue(int w, int n) {
  const std::vector<double>& table = SignedRankTable(n);
  const double patterns = n == 6 ? 128.0 : 2048.0;
  return table[static_cast<std::size_t>(std::clamp<int>(w, 0, static_cast<int>(table.size()) - 1))] / patterns;
}

int CallFromQuartets(const SnpCellLists& cells) {
  const std::size_t n = std::min({cells.PerfectA.size(), cells.MismatchA.size(), cells.PerfectB.size(),
                                  cells.MismatchB.size(), static_cast<std::size_t>(kMaxQuartets)});
  std::array<std::vector<double>, 4> d;
  for (std::size_t k = 0; k < n; ++k) {
    const std::array<QuartetCell, 4> q{cells.PerfectA[k], cells.MismatchA[k], cells.PerfectB[k], cells.MismatchB[k]};
    std::array<double, 4> ll{};
    if (!QuartetLikelihoods(q, ll)) continue;
    for (std::size_t m = 0; m < 4; ++m) {
      double best = -1000000.0;
      for (std::size_t o = 0; o < 4; ++o) {
        if (o != m) best = std::max(best, ll[o]);
      }
      d[m].push_back(ll[m] - best);
    }
  }
  const int used = static_cast<int>(d[kNull].size());
  const auto p = [&](Model m) { return SignedRankPValue(SignedRankW(d[m]), used); };
  return GenotypeCallOf(p(kAA), p(kAB), p(kBB));
}

bool QuartetsCanCall(int n) {
  return n > 0 && SignedRankPValue(n * (n + 1) / 2, std::min(n, kMaxQuartets)) < kCallThreshold;
}

int GenotypeCallOf(double pAA, double pAB, double pBB) {
  if (pAA < kCallThreshold) return kCallA;
  if (pAB < kCallThreshold) return kCallAB;
  if (pBB < kCallThreshold) return kCallB;
  return kCallNone;
}

std::string SampleNameOfCelFile(std::string_view fileName) {
  return ReplaceAll(platform::ToUpper(std::string(fileName)), ".CEL", "");
}

ExtractionResult ExtractSampleWithoutChpFiles(const ExtractionRequest& request, const ExtractionFolders& folders) {
  return extraction::Guarded(request, [&](ExtractionResult& result) { Extract(request, folders, result); });
}
