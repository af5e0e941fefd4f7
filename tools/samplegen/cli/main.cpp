// samplegen --out FOLDER [--type NAME] [--seed S] [--annotation-seed S]
//           [--references N] [--no-self] [--sex F|M] [--noise X] [--bias X]
//           [--segment CHR:FIRST:LAST:MAJOR:MINOR ...]
// Writes a generated test sample, its paired normal and N unrelated references
// as .CFH files into FOLDER, on the annotation table datagen makes with the
// annotation seed (use the seed of the data folder the program reads), and
// prints what was planted: one line per sample, one per segment.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "core/ArrayTypes.h"
#include "tools/datagen/DataGen.h"
#include "tools/samplegen/SampleGen.h"

namespace {

int Usage() {
  std::cerr << "usage: samplegen --out FOLDER [--type NAME] [--seed S] [--annotation-seed S]\n"
               "                 [--references N] [--no-self] [--sex F|M] [--noise X] [--bias X]\n"
               "                 [--segment CHR:FIRST:LAST:MAJOR:MINOR ...]\n"
               "  segments are position indexes of the array type; MAJOR/MINOR are allele copies\n";
  return 2;
}

bool ParseUnsigned(const std::string& text, unsigned long long& value) {
  if (text.empty() || text[0] == '-') return false;
  char* end = nullptr;
  value = std::strtoull(text.c_str(), &end, 10);
  return *end == 0;
}

bool ParseFloat(const std::string& text, float& value) {
  char* end = nullptr;
  value = std::strtof(text.c_str(), &end);
  return !text.empty() && *end == 0 && value >= 0.0f;
}

bool ParseSegment(const std::string& text, samplegen::PlantedSegment& segment) {
  long values[5];
  const char* p = text.c_str();
  for (int k = 0; k < 5; ++k) {
    char* end = nullptr;
    values[k] = std::strtol(p, &end, 10);
    if (end == p || (k < 4 && *end != ':') || (k == 4 && *end != 0)) return false;
    p = end + 1;
  }
  segment = {static_cast<int>(values[0]), static_cast<std::int32_t>(values[1]), static_cast<std::int32_t>(values[2]),
             static_cast<int>(values[3]), static_cast<int>(values[4])};
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  samplegen::StudySpec spec;
  std::string out;
  unsigned long long annotationSeed = datagen::kDefaultSeed;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    const bool hasValue = i + 1 < argc;
    const std::string value = hasValue ? argv[i + 1] : "";
    unsigned long long number = 0;
    samplegen::PlantedSegment segment;
    if (arg == "--out" && hasValue) {
      out = value;
    } else if (arg == "--type" && hasValue && qova::core::FindArrayType(value) != nullptr) {
      spec.ArrayType = value;
    } else if (arg == "--seed" && hasValue && ParseUnsigned(value, number)) {
      spec.Seed = number;
    } else if (arg == "--annotation-seed" && hasValue && ParseUnsigned(value, number)) {
      annotationSeed = number;
    } else if (arg == "--references" && hasValue && ParseUnsigned(value, number) && number <= 99) {
      spec.NonSelfReferences = static_cast<int>(number);
    } else if (arg == "--sex" && hasValue && (value == "F" || value == "M")) {
      spec.Sex = value;
    } else if (arg == "--noise" && hasValue && ParseFloat(value, spec.Noise)) {
    } else if (arg == "--bias" && hasValue && ParseFloat(value, spec.BiasAmplitude)) {
    } else if (arg == "--segment" && hasValue && ParseSegment(value, segment)) {
      spec.Segments.push_back(segment);
    } else if (arg == "--no-self") {
      spec.WithSelfReference = false;
      continue;
    } else {
      return Usage();
    }
    ++i;
  }
  if (out.empty()) return Usage();
  try {
    const CBasicData annotation = datagen::MakeAnnotation(ArrayClassIndex(spec.ArrayType), annotationSeed);
    const samplegen::Study study = samplegen::WriteStudy(out, annotation, spec);
    const auto print = [](const samplegen::GeneratedSample& sample) {
      const samplegen::SampleBias& b = sample.Spec.Bias;
      std::cout << "sample\t" << sample.Name << "\t" << (sample.Spec.IsTest ? "test" : "reference") << "\tbias\t"
                << b.Fragment1 << "\t" << b.Fragment2 << "\t" << b.Gc1 << "\t" << b.Gc2 << "\n";
      for (const samplegen::PlantedSegment& s : sample.Spec.Segments) {
        std::cout << "segment\t" << sample.Name << "\t" << s.Chromosome << "\t" << s.FirstSnp << "\t" << s.LastSnp
                  << "\t" << s.MajorCopies << "\t" << s.MinorCopies << "\n";
      }
    };
    print(study.Test);
    for (const samplegen::GeneratedSample& reference : study.References) print(reference);
  } catch (const std::exception& e) {
    std::cerr << "samplegen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
