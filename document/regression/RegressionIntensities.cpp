// Steps 1 to 3 of the regression pipeline: the intensity work file of each
// listed sample (.IMF), the correlation of each perfect-match probe with the
// genotype over the samples (corr.txt), and the probe selection with its GC
// counts (SNPinfo.txt).
#include <cmath>
#include <exception>

#include "arrayfiles/cdf/LegacyCDFFile.h"
#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "document/extraction/ExtractionParts.h"
#include "document/QOVADoc.h"
#include "document/regression/RegressionWorkFiles.h"
#include "platform/File.h"
#include "platform/Paths.h"
#include "platform/Strings.h"

using namespace qova::document::regression;
namespace core = qova::core;
namespace extraction = qova::document::extraction;

namespace {

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (std::size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size())) {
    text.replace(at, from.size(), to);
  }
  return text;
}

// Background statistics of one allele's mismatch cells: count, sum and sum of
// squares of ln I.
struct Background {
  double n = 0.0, sum = 0.0, squares = 0.0;
  void Add(double logI) {
    n += 1.0;
    sum += logI;
    squares += logI * logI;
  }
};

constexpr const char* kStep1 = "Intensity work files";
constexpr const char* kStep2 = "Work-file correlation";

}  // namespace

bool CQOVADoc::ExtractIMF(const std::string& chpFileName) {
  const std::string name = platform::ToUpper(chpFileName);
  const std::string chpPath = platform::JoinPath(DataFolder, name);
  const std::string celName = ReplaceAll(name, ".CHP", ".CEL");
  const std::string celPath = platform::JoinPath(DataFolder, celName);
  // The work folder chains the steps: step 2 reads the .IMF files there.
  const std::string outPath = WorkPath(ReplaceAll(name, ".CHP", ".IMF"));
  try {
    if (!platform::FileExists(celPath)) extraction::Fail("the CEL file " + celName + " does not exist");
    extraction::CelCells cel(celPath, celName);
    if (!platform::FileExists(chpPath)) extraction::Fail("the CHP file " + name + " does not exist");
    extraction::ChpCalls chp(chpPath);
    const core::ArrayTypeInfo* type = core::FindArrayType(cel.ChipType());
    if (type == nullptr) extraction::Fail("the chip type " + cel.ChipType() + " is not one this program knows");
    const CBasicData& basic = BasicData[type->family];
    const std::string cdfPath = platform::JoinPath(LibraryFolder, cel.ChipType() + ".CDF");
    // The library file as it is on disk, in every message that names it.
    const std::string libraryFile = platform::NativePath(cdfPath);
    if (!platform::FileExists(cdfPath)) extraction::Fail("the library file " + libraryFile + " does not exist");
    unified_io::UnifiedCDFData cdf;
    cdf.SetFileName(cdfPath);
    if (!cdf.Read()) extraction::Fail("the library file " + libraryFile + " cannot be read");

    std::vector<ImfLine> lines;
    std::vector<std::array<int, 2>> filled;
    Background background[2];
    const std::string library = "the library file " + libraryFile;
    const int probeSets = extraction::SnpWalkProbeSetCount(cdf, library);
    unified_io::UnifiedCDFProbeSetInformation set;
    unified_io::UnifiedCDFProbeGroupInformation group;
    unified_io::UnifiedCDFProbeInformation cell;
    for (int i = 0; i < probeSets; ++i) {
      if (!extraction::SnpWalkProbeSetName(cdf, i, library).starts_with("SNP")) continue;
      if (lines.size() == kMaxSnps) extraction::Fail(platform::Format("%s holds more than %zu SNP probe sets",
                                                                      libraryFile.c_str(), kMaxSnps));
      ImfLine line;
      line.Call = i < chp.Count() ? chp.CallOf(i) : kCallNone;
      std::array<int, 2> n{0, 0};
      const std::size_t row = static_cast<std::size_t>(type->firstSnp) + lines.size();
      const bool autosome = row < basic.Chromosome.size() && basic.Chromosome[row] < kChromosomeX;
      cdf.GetProbeSetInformation(i, set);
      for (int g = 0; g < set.GetNumGroups(); ++g) {
        set.GetGroupInformation(g, group);
        const int allele = g % 2;
        for (int c = 0; c < group.GetNumCells(); ++c) {
          group.GetCell(c, cell);
          const float intensity = cel.Intensity(cell.GetX(), cell.GetY(), libraryFile);
          if (extraction::IsPerfectMatch(cell.GetPBase(), cell.GetTBase())) {
            // Cells past the tenth of an allele are not kept.
            if (n[allele] < kProbesPerAllele) (allele == 0 ? line.A : line.B)[n[allele]++] = intensity;
          } else if (autosome && ((line.Call == kCallB && allele == 0) || (line.Call == kCallA && allele == 1))) {
            background[allele].Add(std::log(static_cast<double>(intensity)));
          }
        }
      }
      lines.push_back(line);
      filled.push_back(n);
    }
    float mean[2], sd[2];
    for (int a = 0; a < 2; ++a) {
      const Background& b = background[a];
      if (b.n < 2.0) {
        extraction::Fail(platform::Format("allele %c has %d background cells, too few for a mean and a deviation",
                                          a == 0 ? 'A' : 'B', static_cast<int>(b.n)));
      }
      mean[a] = static_cast<float>(b.sum / b.n);
      sd[a] = static_cast<float>(std::sqrt((b.squares - b.sum * b.sum / b.n) / (b.n - 1.0)));
    }
    std::string text;
    for (std::size_t s = 0; s < lines.size(); ++s) {
      for (int a = 0; a < 2; ++a) {
        auto& values = a == 0 ? lines[s].A : lines[s].B;
        for (int j = 0; j < kProbesPerAllele; ++j) {
          // Columns a SNP does not fill stay 0.
          values[j] = j < filled[s][a] ? (static_cast<float>(std::log(values[j])) - mean[a]) / sd[a] : 0.0f;
        }
      }
      text += Format(lines[s]);
    }
    if (std::string failure; !WriteWorkFile(outPath, text, failure)) extraction::Fail("the " + failure);
    return true;
  } catch (const extraction::Failure& failure) {
    LeaveOut(kStep1, name, chpPath, failure.message);
  } catch (const std::exception& error) {
    LeaveOut(kStep1, name, chpPath, error.what());
  }
  return false;
}

void CQOVADoc::OnExtractIMFFromList() {
  ForEachListedSample(*this, {}, [this](const std::string& name) { return ExtractIMF(name + ".CHP"); });
}

void CQOVADoc::OnIMFCorrelation() {
  // Single-precision sums, per SNP line.
  struct Sums {
    int n = 0;
    float sx = 0, sxx = 0;
    std::array<float, 2 * kProbesPerAllele> sy{}, syy{}, sxy{};
  };
  std::vector<Sums> sums;
  std::size_t lastLines = 0;
  const std::string corrPath = WorkPath(kCorrelationFile);
  const auto read = [&](const std::string& name) {
    const std::string path = WorkPath(name + ".IMF");
    std::string why;
    const auto lines = ReadWorkLines(path, why);
    if (!lines) {
      LeaveOut(kStep2, name + ".IMF", path, why);
      return false;
    }
    if (sums.size() < lines->size()) sums.resize(lines->size());
    for (std::size_t s = 0; s < lines->size(); ++s) {
      const ImfLine line = ParseImf((*lines)[s]);
      if (line.Call <= 0) continue;
      Sums& t = sums[s];
      t.n += 1;
      for (int a = 0; a < 2; ++a) {
        const float x = static_cast<float>(a == 0 ? 3 - line.Call : line.Call - 1);
        if (a == 0) {
          t.sx += x;
          t.sxx += x * x;
        }
        for (int j = 0; j < kProbesPerAllele; ++j) {
          const float y = (a == 0 ? line.A : line.B)[j];
          const std::size_t k = static_cast<std::size_t>(a * kProbesPerAllele + j);
          t.sy[k] += y;
          t.syy[k] += y * y;
          t.sxy[k] += y * x;
        }
      }
    }
    lastLines = lines->size();
    return true;
  };
  const auto write = [&]() -> std::string {
    std::string text;
    bool defined = false;
    for (std::size_t s = 0; s < lastLines; ++s) {
      const Sums& t = sums[s];
      const float n = static_cast<float>(t.n);
      const float dx = std::sqrt(n * t.sxx - t.sx * t.sx);
      std::array<float, 2 * kProbesPerAllele> r{};
      for (std::size_t k = 0; k < r.size(); ++k) {
        const float sx = k < kProbesPerAllele ? t.sx : 2.0f * n - t.sx;
        const float dy = std::sqrt(n * t.syy[k] - t.sy[k] * t.sy[k]);
        // Undefined correlations (no called sample, or a probe that does not
        // vary) are written as 0.
        const float value = dx != 0.0f && dy != 0.0f ? ((n * t.sxy[k] - sx * t.sy[k]) / dx) / dy : 0.0f;
        const bool known = dx != 0.0f && dy != 0.0f && std::isfinite(value);
        r[k] = known ? value : 0.0f;
        defined = defined || known;
      }
      text += FormatCorrelations(r);
    }
    // Every correlation 0 would select no probe at any SNP in the next step.
    if (!defined) return "No SNP of the samples read has a correlation.";
    if (std::string failure; !WriteWorkFile(corrPath, text, failure)) Notify("The " + failure);
    return {};
  };
  ForEachListedSample(*this, corrPath, read, write);
}

void CQOVADoc::OnMakeSNPInfo() {
  const std::string cdfPath = platform::JoinPath(LibraryFolder, std::string(kPipelineType) + ".CDF");
  if (!platform::FileExists(cdfPath)) {
    Notify("Indicate the folder that contains Library files");
    return;
  }
  const std::string libraryFile = platform::NativePath(cdfPath);
  CLegacyCDFFile cdf;
  cdf.SetFileName(cdfPath);
  if (!cdf.Read()) {
    Notify(platform::Format("The library file %s cannot be read: %s", libraryFile.c_str(), cdf.GetError().c_str()));
    return;
  }
  const std::string snpInfoPath = WorkPath(kSnpInfoFile);
  const auto refuse = [&](const std::string& file, const std::string& why) {
    Notify(platform::Format("%s: %s. %s", platform::NativePath(file).c_str(), why.c_str(),
                            NothingWritten(snpInfoPath).c_str()));
  };
  std::string why;
  const auto correlations = ReadWorkLines(WorkPath(kCorrelationFile), why);
  if (!correlations) {
    refuse(WorkPath(kCorrelationFile), why);
    return;
  }
  std::string informationBytes;
  if (!platform::ReadWholeFile(WorkPath(kSnpInformationFile), informationBytes)) {
    refuse(WorkPath(kSnpInformationFile), "it cannot be read");
    return;
  }
  const std::vector<std::string> information = platform::SplitLines(informationBytes);
  if (information.size() < 2) {
    refuse(WorkPath(kSnpInformationFile), "it has no line after its header");
    return;
  }
  std::string text;
  std::size_t s = 0;
  int bracket = 0;  // kept from one SNP to the next, as the sequences are
  CLegacyCDFProbeSetInformation set;
  CLegacyCDFProbeGroupInformation group;
  CLegacyCDFProbeInformation cell;
  for (int i = 0; i < cdf.HeaderRecord().GetNumProbeSets(); ++i) {
    if (!cdf.GetProbeSetName(i).starts_with("SNP")) continue;
    if (s == kMaxSnps) {
      Notify(platform::Format("The library file %s holds more than %zu SNP probe sets", libraryFile.c_str(), kMaxSnps));
      return;
    }
    const std::string corr = s < correlations->size() ? (*correlations)[s] : std::string();
    const std::string info = s + 1 < information.size() ? information[s + 1] : std::string();
    ++s;
    const std::vector<std::string> fields = Fields(info);
    const std::string sequence = fields.size() > 2 ? fields[2] : std::string();
    if (const std::size_t at = sequence.find('['); at != std::string::npos) bracket = static_cast<int>(at);
    SnpInfoLine line;
    line.Covariate = IntField(fields, 3);
    if (const std::string refusal = CovariateRefusal(line.Covariate, platform::NativePath(WorkPath(kSnpInformationFile)), s + 1, 4);
        !refusal.empty()) {
      Notify(refusal);
      return;
    }
    const std::array<float, 2 * kProbesPerAllele> r = ParseCorrelations(corr);
    for (int j = 0; j < kProbesPerAllele; ++j) {
      line.FlagsA += r[static_cast<std::size_t>(j)] > 0.6f ? '1' : '0';
      line.FlagsB += r[static_cast<std::size_t>(kProbesPerAllele + j)] > 0.6f ? '1' : '0';
    }
    if (!cdf.GetProbeSetInformation(i, set)) {
      Notify(platform::Format("The library file %s cannot be read at probe set %d", libraryFile.c_str(), i));
      return;
    }
    int n[2] = {0, 0};
    for (int g = 0; g < set.GetNumGroups(); ++g) {
      set.GetGroupInformation(g, group);
      const int allele = g % 2;
      for (int c = 0; c < group.GetNumCells(); ++c) {
        group.GetCell(c, cell);
        if (!extraction::IsPerfectMatch(cell.GetPBase(), cell.GetTBase())) continue;
        const int k = n[allele]++;
        if (k >= kProbesPerAllele || (allele == 0 ? line.FlagsA : line.FlagsB)[static_cast<std::size_t>(k)] != '1') {
          continue;
        }
        (allele == 0 ? line.GcA : line.GcB) += WindowGcCount(sequence, bracket, cell.GetExpos(), allele == 0);
      }
    }
    text += Format(line);
  }
  if (s == 0) {
    refuse(cdfPath, "it has no SNP probe sets");
    return;
  }
  if (std::string failure; !WriteWorkFile(snpInfoPath, text, failure)) Notify("The " + failure);
}
