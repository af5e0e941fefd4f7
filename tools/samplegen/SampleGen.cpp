#include "tools/samplegen/SampleGen.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <stdexcept>

#include "core/ArrayTypes.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/Time.h"

namespace core = qova::core;

namespace samplegen {

namespace {

// Every random draw is a hash of what it is for (seed, individual or sample,
// SNP row, purpose), so a value never depends on the order of generation and
// the standard library's distributions (which differ between libraries) are
// not involved.
enum Purpose : std::uint64_t {
  kGenotype = 1,
  kHomozygousAllele,
  kPhase,
  kAffinityA,
  kAffinityB,
  kNoiseA,
  kNoiseB,
  kDroppedCall,
  kBiasCoefficient,
  kHemizygousAllele,
  kAffinity,
};

std::uint64_t Mix(std::uint64_t z) {
  z += 0x9E3779B97F4A7C15ULL;
  z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ULL;
  z = (z ^ (z >> 27)) * 0x94D049BB133111EBULL;
  return z ^ (z >> 31);
}

std::uint64_t Key(std::uint64_t a, std::uint64_t b, std::uint64_t c, std::uint64_t d) {
  return Mix(Mix(Mix(Mix(a) ^ b) ^ c) ^ d);
}

// Uniform in (0, 1).
double Unit(std::uint64_t key) { return (static_cast<double>(Mix(key) >> 11) + 0.5) * 0x1.0p-53; }

double StandardNormal(std::uint64_t key) {
  const double u1 = Unit(key);
  const double u2 = Unit(key ^ 0x5DEECE66DULL);
  return std::sqrt(-2.0 * std::log(u1)) * std::cos(2.0 * std::numbers::pi * u2);
}

// FNV-1a: a stable number for a name.
std::uint64_t NameKey(const std::string& name) {
  std::uint64_t h = 0xCBF29CE484222325ULL;
  for (unsigned char c : name) {
    h ^= c;
    h *= 0x100000001B3ULL;
  }
  return h;
}

// The extraction's fixed creation time for generated samples (2007-06-01).
constexpr std::int64_t kGeneratedCreateTime = 1180656000;

struct AlleleCopies {
  int a = 0;
  int b = 0;
};

}  // namespace

PlantedSegment CopyNumberSegment(int chromosome, std::int32_t firstSnp, std::int32_t lastSnp, int total) {
  if (total < 0 || total > kMaxAlleleCopies) throw std::invalid_argument("copy number out of range");
  return {chromosome, firstSnp, lastSnp, (total + 1) / 2, total / 2};
}

PlantedSegment CopyNeutralLohSegment(int chromosome, std::int32_t firstSnp, std::int32_t lastSnp) {
  return {chromosome, firstSnp, lastSnp, 2, 0};
}

double SampleBias::At(std::int32_t fragmentLength, float gcContent) const {
  const double f = (fragmentLength - static_cast<double>(kBiasFragmentCentre)) / kBiasFragmentUnit;
  const double g = (gcContent - static_cast<double>(kBiasGcCentre)) / kBiasGcUnit;
  return Fragment1 * f + Fragment2 * f * f + Gc1 * g + Gc2 * g * g;
}

SampleBias RandomBias(std::uint64_t seed, const std::string& sampleName, float amplitude) {
  const std::uint64_t name = NameKey(sampleName);
  const auto coefficient = [&](std::uint64_t k) {
    return static_cast<float>(amplitude * (2.0 * Unit(Key(seed, name, k, kBiasCoefficient)) - 1.0));
  };
  return {coefficient(1), coefficient(2), coefficient(3), coefficient(4)};
}

SampleGenerator::SampleGenerator(std::string arrayType, const CBasicData& annotation, std::uint64_t seed)
    : arrayType_(std::move(arrayType)), annotation_(annotation), seed_(seed) {
  const core::ArrayTypeInfo* info = core::FindArrayType(arrayType_);
  if (info == nullptr) throw std::invalid_argument("unknown array type " + arrayType_);
  type_ = info->type;
  if (annotation.Capacity() < info->snpCount) {
    throw std::invalid_argument("the annotation table is too small for " + arrayType_);
  }
  for (std::int32_t i = info->firstSnp; i <= info->lastSnp; ++i) {
    const std::int32_t row = RowOfSnp(i);
    if (row < info->firstSnp || row > info->lastSnp) {
      throw std::invalid_argument(platform::Format("SNP %d of %s maps to row %d, outside the type", i,
                                                   arrayType_.c_str(), row));
    }
  }
}

std::int32_t SampleGenerator::RowOfSnp(std::int32_t snp) const {
  if (core::IsCombinedArrayType(type_)) return annotation_.IndexMap[annotation_.SortMap[snp]];
  return annotation_.IndexMap[snp];
}

std::int32_t SampleGenerator::ChromosomeBegin(int chromosome) const {
  return core::kArrayChromosomeStarts[type_][chromosome];
}

std::int32_t SampleGenerator::ChromosomeEnd(int chromosome) const {
  return core::kArrayChromosomeStarts[type_][chromosome + 1];
}

CArrayData SampleGenerator::Make(const SampleSpec& spec) const {
  const core::ArrayTypeInfo& info = core::kArrayTypes[type_];
  const ArrayTypeInfoValues typeInfo{info.firstSnp, info.lastSnp, ChromosomeEnd(kChromosomeX) - 1,
                                     ChromosomeBegin(kChromosomeX) - 1, info.snpCount};
  CArrayData sample(spec.Name, arrayType_, typeInfo, CTime(kGeneratedCreateTime));
  sample.Header.IsTest = spec.IsTest ? 1 : 0;
  sample.Header.Sex = spec.Sex;

  const bool male = spec.Sex == "M";
  const std::uint64_t individual = spec.Individual;
  const std::uint64_t sampleKey = NameKey(spec.Name);
  const auto genotypeOf = [&](std::int32_t row) {
    const double h = annotation_.Heterozygosity[row];
    if (Unit(Key(seed_, individual, row, kGenotype)) < h) return kCallAB;
    return Unit(Key(seed_, individual, row, kHomozygousAllele)) < 0.5 ? kCallA : kCallB;
  };

  // The copies every row carries without an event.
  std::vector<AlleleCopies> copies(static_cast<std::size_t>(info.snpCount));
  for (std::int32_t row = info.firstSnp; row <= info.lastSnp; ++row) {
    const GenotypeCall genotype = genotypeOf(row);
    AlleleCopies c = genotype == kCallAB ? AlleleCopies{1, 1} : genotype == kCallA ? AlleleCopies{2, 0}
                                                                                      : AlleleCopies{0, 2};
    if (male && annotation_.Chromosome[row] == kChromosomeX) {
      const bool keepA = genotype == kCallA ||
                         (genotype == kCallAB && Unit(Key(seed_, individual, row, kHemizygousAllele)) < 0.5);
      c = keepA ? AlleleCopies{1, 0} : AlleleCopies{0, 1};
    }
    copies[row] = c;
  }

  for (const PlantedSegment& segment : spec.Segments) {
    if (segment.Chromosome < 1 || segment.Chromosome > kChromosomeX || segment.FirstSnp > segment.LastSnp ||
        segment.FirstSnp < ChromosomeBegin(segment.Chromosome) || segment.LastSnp >= ChromosomeEnd(segment.Chromosome) ||
        segment.MinorCopies < 0 || segment.MajorCopies < segment.MinorCopies ||
        segment.TotalCopies() > kMaxAlleleCopies) {
      throw std::invalid_argument(platform::Format("segment %d:%d-%d (%d+%d copies) does not fit %s",
                                                   segment.Chromosome, segment.FirstSnp, segment.LastSnp,
                                                   segment.MajorCopies, segment.MinorCopies, arrayType_.c_str()));
    }
    for (std::int32_t i = segment.FirstSnp; i <= segment.LastSnp; ++i) {
      const std::int32_t row = RowOfSnp(i);
      const GenotypeCall genotype = genotypeOf(row);
      const int total = segment.TotalCopies();
      if (genotype == kCallA) {
        copies[row] = {total, 0};
      } else if (genotype == kCallB) {
        copies[row] = {0, total};
      } else if (Unit(Key(seed_, individual, row, kPhase)) < 0.5) {
        copies[row] = {segment.MajorCopies, segment.MinorCopies};
      } else {
        copies[row] = {segment.MinorCopies, segment.MajorCopies};
      }
    }
  }

  for (std::int32_t row = info.firstSnp; row <= info.lastSnp; ++row) {
    const AlleleCopies c = copies[row];
    const double bias = std::exp2(spec.Bias.At(annotation_.FragmentLength[row], annotation_.GcContent[row]));
    const double base = spec.Scale * bias;
    const double shared = kAffinitySd * StandardNormal(Key(seed_, 0, row, kAffinity));
    const double affinityA = std::exp(shared + kAlleleAffinitySd * StandardNormal(Key(seed_, 0, row, kAffinityA)));
    const double affinityB = std::exp(shared + kAlleleAffinitySd * StandardNormal(Key(seed_, 0, row, kAffinityB)));
    const double noiseA = std::exp(spec.Noise * StandardNormal(Key(seed_, sampleKey, row, kNoiseA)));
    const double noiseB = std::exp(spec.Noise * StandardNormal(Key(seed_, sampleKey, row, kNoiseB)));
    sample.SignalA[row] = static_cast<float>(base * affinityA * kAlleleResponse[c.a] * noiseA);
    sample.SignalB[row] = static_cast<float>(base * affinityB * kAlleleResponse[c.b] * noiseB);
    GenotypeCall call = c.a > 0 && c.b > 0 ? kCallAB : c.a > 0 ? kCallA : c.b > 0 ? kCallB : kCallNone;
    if (Unit(Key(seed_, sampleKey, row, kDroppedCall)) < kNoCallRate) call = kCallNone;
    sample.Call[row] = call;
  }
  return sample;
}

std::vector<std::string> Study::NonSelfReferenceNames() const {
  std::vector<std::string> names;
  for (const GeneratedSample& reference : References) {
    if (reference.Spec.Individual != Test.Spec.Individual) names.push_back(reference.Name);
  }
  return names;
}

Study PlanStudy(const StudySpec& spec) {
  const auto sampleSpec = [&](const std::string& name, bool isTest, std::uint64_t individual) {
    SampleSpec s;
    s.Name = name;
    s.IsTest = isTest;
    s.Sex = spec.Sex;
    s.Individual = individual;
    s.Bias = RandomBias(spec.Seed, name, spec.BiasAmplitude);
    s.Noise = spec.Noise;
    return GeneratedSample{name, s};
  };
  Study study;
  const std::uint64_t patient = Key(spec.Seed, NameKey(spec.TestName), 0, 0);
  study.Test = sampleSpec(spec.TestName, true, patient);
  study.Test.Spec.Segments = spec.Segments;
  if (spec.WithSelfReference) study.References.push_back(sampleSpec(spec.TestName + "N", false, patient));
  for (int k = 1; k <= spec.NonSelfReferences; ++k) {
    const std::string name = platform::Format("Ref%02d", k);
    study.References.push_back(sampleSpec(name, false, Key(spec.Seed, NameKey(name), 1, 0)));
  }
  return study;
}

Study WriteStudy(const std::string& arrayDataFolder, const CBasicData& annotation, const StudySpec& spec) {
  const Study study = PlanStudy(spec);
  const SampleGenerator generator(spec.ArrayType, annotation, spec.Seed);
  const auto store = [&](CArrayData& sample) {
    if (!platform::CreateFolders(arrayDataFolder)) throw std::runtime_error("cannot create the folder " + arrayDataFolder);
    sample.StoreFile(platform::JoinPath(arrayDataFolder, sample.Header.SampleName + ".CFH"));
  };

  CArrayData test = generator.Make(study.Test.Spec);
  const std::vector<std::string> nonSelf = study.NonSelfReferenceNames();
  for (const std::string& name : nonSelf) test.Header.NonSelfReferences += "0.000000$" + name + "$";
  test.Header.NonSelfReferenceCount = static_cast<std::int32_t>(nonSelf.size());
  for (const GeneratedSample& reference : study.References) {
    CArrayData sample = generator.Make(reference.Spec);
    if (reference.Spec.Individual == study.Test.Spec.Individual) {
      sample.Header.SelfReference = study.Test.Name;
      sample.Header.IsPaired = 1;
      test.Header.SelfReference = reference.Name;
      test.Header.IsPaired = 1;
    }
    store(sample);
  }
  store(test);
  return study;
}

int PlantedTotalCopies(const std::vector<PlantedSegment>& segments, std::int32_t snp, int normal) {
  const PlantedSegment* segment = PlantedSegmentAt(segments, snp);
  return segment != nullptr ? segment->TotalCopies() : normal;
}

const PlantedSegment* PlantedSegmentAt(const std::vector<PlantedSegment>& segments, std::int32_t snp) {
  // Later segments win where they overlap, as they overwrite earlier ones.
  for (auto it = segments.rbegin(); it != segments.rend(); ++it) {
    if (it->Contains(snp)) return &*it;
  }
  return nullptr;
}

}  // namespace samplegen
