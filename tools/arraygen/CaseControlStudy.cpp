#include "tools/arraygen/CaseControlStudy.h"

#include <algorithm>
#include <set>
#include <stdexcept>

#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "platform/ParallelFor.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "tools/arraygen/Hash.h"
#include "tools/arraywriters/GenericWriter.h"

namespace core = qova::core;

namespace arraygen {

namespace {

enum Purpose : std::uint64_t { kFrequency = 201, kGenotype, kNoCall, kAssociated };

constexpr double kLowFrequency = 0.1;
constexpr double kHighFrequency = 0.5;
constexpr double kMostFrequency = 0.95;

std::string SampleName(const char* group, int number) { return platform::Format("%s%03d", group, number); }

// Distinct positions drawn from first..last.
std::vector<std::int32_t> ChooseAssociated(const CaseControlSpec& spec, std::int32_t first, std::int32_t last) {
  const auto range = static_cast<std::uint64_t>(last - first + 1);
  std::set<std::int32_t> chosen;
  for (std::uint64_t j = 0; chosen.size() < static_cast<std::size_t>(spec.AssociatedSnps); ++j) {
    chosen.insert(first + static_cast<std::int32_t>(Key(spec.Seed, j, 0, kAssociated) % range));
  }
  return {chosen.begin(), chosen.end()};
}

// Genotype of one sample at a B-allele frequency q, in Hardy-Weinberg
// proportions; `u` uniform in [0, 1).
std::uint8_t GenotypeOf(double q, double u) {
  if (u < q * q) return kCallB;
  if (u < q * q + 2.0 * q * (1.0 - q)) return kCallAB;
  return kCallA;
}

}  // namespace

CaseControlCalls MakeCaseControlCalls(const CaseControlSpec& spec) {
  const core::ArrayTypeInfo* type = core::FindArrayType(spec.ArrayType);
  if (type == nullptr) throw std::invalid_argument("unknown array type " + spec.ArrayType);
  const std::int32_t first = type->firstSnp;
  const std::int32_t lastTested = core::kArrayChromosomeStarts[type->type][core::kChromosomeTableSlots - 1] - 1;
  if (spec.Cases < 0 || spec.Controls < 0 || spec.AssociatedSnps < 0 ||
      spec.AssociatedSnps > lastTested - first + 1 || spec.NoCallShare < 0.0 || spec.NoCallShare > 1.0) {
    throw std::invalid_argument("case/control study: counts out of range");
  }
  CaseControlCalls out;
  out.Associated = ChooseAssociated(spec, first, lastTested);
  std::vector<double> frequency(static_cast<std::size_t>(type->snpCount), 0.0);
  for (std::int32_t i = first; i <= type->lastSnp; ++i) {
    frequency[static_cast<std::size_t>(i)] =
        kLowFrequency + (kHighFrequency - kLowFrequency) * Unit(Key(spec.Seed, static_cast<std::uint64_t>(i), 0, kFrequency));
  }
  std::vector<double> caseFrequency = frequency;
  for (std::int32_t i : out.Associated) {
    double& q = caseFrequency[static_cast<std::size_t>(i)];
    q = std::min(kMostFrequency, q + spec.FrequencyRaise);
  }
  const int samples = spec.Cases + spec.Controls;
  out.Calls.assign(static_cast<std::size_t>(samples), std::vector<std::uint8_t>(static_cast<std::size_t>(type->snpCount), 0));
  platform::ParallelFor pool(spec.Threads);
  pool.Run(static_cast<std::size_t>(samples), [&](int, std::size_t begin, std::size_t end) {
    for (std::size_t s = begin; s < end; ++s) {
      const std::vector<double>& q = static_cast<int>(s) < spec.Cases ? caseFrequency : frequency;
      std::vector<std::uint8_t>& calls = out.Calls[s];
      for (std::int32_t i = first; i <= type->lastSnp; ++i) {
        const auto p = static_cast<std::size_t>(i);
        if (Unit(Key(spec.Seed, s, p, kNoCall)) < spec.NoCallShare) continue;
        calls[p] = GenotypeOf(q[p], Unit(Key(spec.Seed, s, p, kGenotype)));
      }
    }
  });
  return out;
}

CaseControlStudy WriteCaseControlStudy(const std::string& dataFolder, const std::string& libraryFolder,
                                       const CBasicData& annotation, const CaseControlSpec& spec) {
  const core::ArrayTypeInfo* type = core::FindArrayType(spec.ArrayType);
  if (type == nullptr) throw std::invalid_argument("unknown array type " + spec.ArrayType);
  if (annotation.Capacity() != type->snpCount) throw std::invalid_argument("the annotation table is not the type's family's");
  if (spec.ChpForms.empty()) throw std::invalid_argument("case/control study: no CHP form");
  CaseControlStudy study;
  study.Genotypes = MakeCaseControlCalls(spec);
  const ArrayDesign design(spec.ArrayType, spec.Seed, spec.Layout);
  study.LibraryFile = LibraryFileName(spec.ArrayType);
  design.WriteCdf(platform::JoinPath(libraryFolder, study.LibraryFile), spec.Cdf);
  if (!platform::CreateFolders(dataFolder)) throw std::runtime_error("cannot create the folder " + dataFolder);

  for (int k = 1; k <= spec.Cases; ++k) study.CaseFiles.push_back(SampleName("Case", k) + spec.ChpSuffix);
  for (int k = 1; k <= spec.Controls; ++k) study.ControlFiles.push_back(SampleName("Control", k) + spec.ChpSuffix);
  std::vector<std::string> names = study.CaseFiles;
  names.insert(names.end(), study.ControlFiles.begin(), study.ControlFiles.end());
  platform::ParallelFor pool(spec.Threads);
  pool.Run(names.size(), [&](int, std::size_t begin, std::size_t end) {
    for (std::size_t s = begin; s < end; ++s) {
      // The CHP writer takes an extracted sample: its calls by table row.
      CArrayData sample(type->snpCount);
      sample.Header.SampleName = names[s].substr(0, names[s].size() - spec.ChpSuffix.size());
      sample.Header.ArrayType = spec.ArrayType;
      sample.Header.FirstSnpIndex = type->firstSnp;
      sample.Header.LastSnpIndex = type->lastSnp;
      const std::vector<std::uint8_t>& calls = study.Genotypes.Calls[s];
      for (std::int32_t i = type->firstSnp; i <= type->lastSnp; ++i) {
        const auto row = static_cast<std::size_t>(annotation.IndexMap[static_cast<std::size_t>(i)]);
        sample.Call[row] = calls[static_cast<std::size_t>(i)];
      }
      SampleFileOptions options;
      options.Chp = spec.ChpForms[s % spec.ChpForms.size()];
      const std::string path = platform::JoinPath(dataFolder, names[s]);
      if (!arraywriters::WriteBytes(path, ChpFileBytes(design, sample, sample.Header.SampleName + ".CEL", options))) {
        throw std::runtime_error("cannot write " + path);
      }
    }
  });
  return study;
}

}  // namespace arraygen
