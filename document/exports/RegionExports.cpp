// The exports over one region of one chromosome: the region statistics
// (counts, means and SDs of the ratios on the linear scale, and the call
// counts) and the A-B calc. Sums are kept in single precision, as the stored
// outputs that labs compare against were made.
#include <array>
#include <cmath>
#include <optional>
#include <string>

#include "core/ArrayData.h"
#include "core/GlobalData.h"
#include "core/ProgramSetting.h"
#include "document/ApplicationData.h"
#include "document/exports/DialogStatRegion.h"
#include "document/exports/DisplayExports.h"
#include "document/exports/ExportedResult.h"
#include "document/exports/TextExport.h"
#include "platform/MessageBox.h"

namespace qova::document::exports {
namespace {

// From this LOH likelihood on, a heterozygous SNP counts as lost in the A-B calc.
constexpr float kAbLohThreshold = 30.0f;
constexpr int kCallCodes = 4;  // no call, AA, AB, BB

const CProgramSetting& Setting() { return *ApplicationData().ProgramSetting; }

struct Region {
  int Chromosome = 1;
  std::int32_t From = 0;  // base pairs, both ends included
  std::int32_t To = 0;
};

std::optional<Region> AskRegion(CWnd* parent) {
  CDialogStatRegion dialog(parent);
  if (dialog.DoModal() != IDOK) return std::nullopt;
  return Region{dialog.m_nChromosome, dialog.m_nFrom, dialog.m_nTo};
}

// Calls visit(i) for each SNP of the region, in index order.
template <class Visit>
void ForEachSnpIn(const ExportedResult& result, const Region& region, Visit&& visit) {
  const SnpPlaces& places = result.Places;
  for (std::int32_t i = places.First(region.Chromosome); i <= places.Last(region.Chromosome); ++i) {
    const std::int32_t position = places.Position(i);
    if (position >= region.From && position <= region.To) visit(i);
  }
}

// Count, sum of 2^v and sum of its squares of a group's log2 ratios v.
struct LinearSums {
  int Count = 0;
  float Sum = 0.0f;
  float SumOfSquares = 0.0f;

  void Add(float log2Ratio) {
    const double linear = std::pow(2.0, static_cast<double>(log2Ratio));
    ++Count;
    Sum = static_cast<float>(Sum + linear);
    SumOfSquares = static_cast<float>(SumOfSquares + linear * linear);
  }
  [[nodiscard]] float Mean() const { return Sum / static_cast<float>(Count); }
  // Rounding can leave the radicand of a group of equal values a little
  // below zero; its SD is 0 then, not "nan".
  [[nodiscard]] float SD() const {
    const float n = static_cast<float>(Count);
    const float radicand = (SumOfSquares - Sum * Sum / n) / (n - 1.0f);
    return radicand > 0.0f ? std::sqrt(radicand) : 0.0f;
  }
};

// The allele A and B ratios of one group of SNPs.
struct AlleleSums {
  LinearSums A, B;

  void Add(float a, float b) {
    A.Add(a);
    B.Add(b);
  }
  // "\t<count>", then both means and both SDs, or dashes where there are none.
  void Write(TextExport& out) const {
    out.Tab().Int(A.Count);
    if (A.Count == 0) {
      out.Text("\t-\t-\t-\t-");
      return;
    }
    out.Tab().Fixed(A.Mean()).Tab().Fixed(B.Mean());
    if (A.Count > 1) {
      out.Tab().Fixed(A.SD()).Tab().Fixed(B.SD());
    } else {
      out.Text("\t-\t-");
    }
  }
};

enum class StatisticsMode { Self, NonSelf, NonSelfAllele };

void WriteRegionLine(const std::string& name, const ExportedResult& result, const Region& region, StatisticsMode mode,
                     TextExport& out) {
  const CAnalyzedData& data = result.Data;
  LinearSums total;
  AlleleSums hetero, homo;
  std::array<int, kCallCodes> calls{};
  ForEachSnpIn(result, region, [&](std::int32_t i) {
    const int test = data.CallTest[std::size_t(i)];
    const int reference = ValueOrZero(data.CallReference, i);
    // Counted whether or not the SNP is valid; in self mode only where the
    // reference is heterozygous.
    if ((mode != StatisticsMode::Self || reference == kCallAB) && test >= 0 && test < kCallCodes) {
      ++calls[std::size_t(test)];
    }
    if (data.ValidFlag[std::size_t(i)] != 1) return;
    total.Add(data.LogRatio[std::size_t(i)]);
    const float a = ValueOrZero(data.LogRatioA, i);
    const float b = ValueOrZero(data.LogRatioB, i);
    if (mode == StatisticsMode::Self) {
      if (reference == kCallAB) hetero.Add(a, b);
    } else if (mode == StatisticsMode::NonSelfAllele) {
      if (test == kCallAB) {
        hetero.Add(a, b);
      } else if (a != 0.0f || b != 0.0f) {
        homo.Add(a, b);
      }
    }
  });

  out.Text(name).Tab().Int(total.Count);
  if (total.Count == 0) {
    out.Text("\t-\t-");
  } else {
    out.Tab().Fixed(total.Mean());
    if (total.Count > 1) {
      out.Tab().Fixed(total.SD());
    } else {
      out.Text("\t-");
    }
  }
  if (mode != StatisticsMode::NonSelf) hetero.Write(out);
  if (mode == StatisticsMode::NonSelfAllele) homo.Write(out);
  for (const int count : calls) out.Tab().Int(count);
  out.EndLine();
}

const char* RegionHeader(StatisticsMode mode) {
  switch (mode) {
    case StatisticsMode::Self:
      return "Sample_name\tSNPNumber\tAverage_AB\tSD_AB\tRefHeteroSNPNumber\tAverage_A\tAverage_B\tSD_A\tSD_B";
    case StatisticsMode::NonSelfAllele:
      return "Sample_name\tSNPNumber\tAverage_AB\tSD_AB\tHeteroSNPNumber\tAverage_A\tAverage_B\tSD_A\tSD_B"
             "\tHomoSNPNumber\tAverage_A_Homo\tAverage_B_Homo\tSD_A_Homo\tSD_B_Homo";
    case StatisticsMode::NonSelf: return "Sample_name\tSNPNumber\tAverage_AB\tSD_AB";
  }
  return "";
}

// Count and single-precision sum of 2^(allele A ratio) - 1 over a group.
struct AbSums {
  int Count = 0;
  float Sum = 0.0f;

  void Add(float log2RatioA) {
    ++Count;
    Sum = static_cast<float>(Sum + (std::pow(2.0, static_cast<double>(log2RatioA)) - 1.0));
  }
  // "\t<count>\t<mean>", the mean of an empty group being "-".
  void Write(TextExport& out) const {
    out.Tab().Int(Count).Tab();
    if (Count == 0) {
      out.Text("-");
    } else {
      out.Fixed(Sum / static_cast<float>(Count));
    }
  }
};

void WriteAbLine(const std::string& name, const ExportedResult& result, const Region& region, TextExport& out) {
  const CAnalyzedData& data = result.Data;
  AbSums loh, homo, hetero;
  ForEachSnpIn(result, region, [&](std::int32_t i) {
    if (data.ValidFlag[std::size_t(i)] != 1) return;
    const float a = ValueOrZero(data.LogRatioA, i);
    if (data.CallTest[std::size_t(i)] == kCallAB) {
      (ValueOrZero(data.LohLikelihood, i) >= kAbLohThreshold ? loh : hetero).Add(a);
    } else if (a != 0.0f || ValueOrZero(data.LogRatioB, i) != 0.0f) {
      homo.Add(a);
    }
  });
  out.Text(name);
  loh.Write(out);
  homo.Write(out);
  hetero.Write(out);
  out.EndLine();
}

}  // namespace

void ExportRegionStatistics(const DisplayExportSource& source) {
  const std::optional<Region> region = AskRegion(source.Parent);
  if (!region) return;
  StatisticsMode mode = StatisticsMode::Self;
  if (!source.SelfMode) mode = Setting().NONSELFALLELE != 0 ? StatisticsMode::NonSelfAllele : StatisticsMode::NonSelf;
  const std::vector<std::string> names = source.CheckedSamples();
  if (names.empty()) return;
  TextExport out;
  if (!OpenExportOutput(source.Parent, out)) return;
  out.Text(RegionHeader(mode)).Text("\tCall_No\tCall_AA\tCall_AB\tCall_BB\n");
  const SampleFileRole role = source.SelfMode ? SampleFileRole::SelfResult : SampleFileRole::NonSelfResult;
  for (const std::string& name : names) {
    const std::optional<ExportedResult> result = ReadExportedResult(name, role, out);
    if (result) WriteRegionLine(name, *result, *region, mode, out);
  }
  static_cast<void>(out.Finish());
}

void ExportABCalc(const DisplayExportSource& source) {
  if (source.SelfMode) {
    AfxMessageBox(kNeedsNonSelfResults, MB_ICONINFORMATION);
    return;
  }
  // Every mean would be a 0.000000 that looks like data.
  if (Setting().NONSELFALLELE == 0) {
    AfxMessageBox(kNeedsAlleleRatios, MB_ICONINFORMATION);
    return;
  }
  const std::vector<std::string> names = source.CheckedSamples();
  if (names.empty()) return;
  const std::optional<Region> region = AskRegion(source.Parent);
  if (!region) return;
  TextExport out;
  if (!OpenExportOutput(source.Parent, out)) return;
  out.Text("Sample_name\tLOHSNP\tLOHA-B\thomoSNP\thomoA-B\theteroSNP\theteroA-B\n");
  for (const std::string& name : names) {
    const std::optional<ExportedResult> result =
        ReadExportedResult(name, SampleFileRole::NonSelfResult, out);
    if (result) WriteAbLine(name, *result, *region, out);
  }
  static_cast<void>(out.Finish());
}

}  // namespace qova::document::exports
