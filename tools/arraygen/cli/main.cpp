// arraygen --data FOLDER --library FOLDER [--type NAME] [--seed S]
//          [--annotation-seed S] [--references N] [--no-self] [--sex F|M]
//          [--segment CHR:FIRST:LAST:MAJOR:MINOR ...] [--cdf FORM] [--cel FORM]
//          [--chp FORM] [--chp-suffix TEXT] [--realistic] [--threads N]
//          [--case-control CASES:CONTROLS[:ASSOCIATED[:RAISE[:NOCALLS]]]]
// Writes a generated study as array files: the library file into the library
// folder, per sample a CEL and a CHP file into the data folder, and the
// sample-list file for the Extract Data dialog. The annotation table is the
// one datagen makes with the annotation seed (use the seed of the data folder
// the program reads). Prints what was planted, one line per sample and per
// segment, and the files written.
// With --case-control it writes a case/control study for the association
// test instead: the library file and one CHP file per case ("Case001.CHP",
// ...) and control ("Control001.CHP", ...), with ASSOCIATED SNPs (default 20)
// whose case B-allele frequency is raised by RAISE (default 0.3) and a share
// NOCALLS of no calls (default 0.01); it prints the files and the associated
// SNPs (position index, chromosome, base position, rs number).
#include <algorithm>
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>
#include <vector>

#include "core/ArrayTypes.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/arraygen/CaseControlStudy.h"
#include "tools/datagen/DataGen.h"

namespace {

int Usage() {
  std::cerr << "usage: arraygen --data FOLDER --library FOLDER [--type NAME] [--seed S] [--annotation-seed S]\n"
               "                [--references N] [--no-self] [--sex F|M] [--segment CHR:FIRST:LAST:MAJOR:MINOR ...]\n"
               "                [--cdf text|xda|generic] [--cel text3|text2|xda|bcel|compact|generic]\n"
               "                [--chp xda|older|generic] [--chp-suffix TEXT] [--realistic] [--threads N]\n"
               "                [--case-control CASES:CONTROLS[:ASSOCIATED[:RAISE[:NOCALLS]]]]\n";
  return 2;
}

bool ParseCount(const std::string& text, unsigned long long& value) {
  if (text.empty() || text[0] == '-') return false;
  char* end = nullptr;
  value = std::strtoull(text.c_str(), &end, 10);
  return *end == 0;
}

// CHR:FIRST:LAST:MAJOR:MINOR, position indexes of the array type.
bool ParseSegment(const std::string& text, samplegen::PlantedSegment& segment) {
  long fields[5] = {};
  std::size_t start = 0;
  for (int k = 0; k < 5; ++k) {
    const std::size_t colon = text.find(':', start);
    if ((colon == std::string::npos) != (k == 4)) return false;
    const std::string field = text.substr(start, colon == std::string::npos ? std::string::npos : colon - start);
    char* end = nullptr;
    fields[k] = std::strtol(field.c_str(), &end, 10);
    if (field.empty() || *end != 0) return false;
    start = colon + 1;
  }
  segment = {static_cast<int>(fields[0]), static_cast<std::int32_t>(fields[1]), static_cast<std::int32_t>(fields[2]),
             static_cast<int>(fields[3]), static_cast<int>(fields[4])};
  return true;
}

// CASES:CONTROLS[:ASSOCIATED[:RAISE[:NOCALLS]]].
bool ParseCaseControl(const std::string& text, arraygen::CaseControlSpec& spec) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (std::size_t colon; (colon = text.find(':', start)) != std::string::npos; start = colon + 1) {
    fields.push_back(text.substr(start, colon - start));
  }
  fields.push_back(text.substr(start));
  if (fields.size() < 2 || fields.size() > 5) return false;
  unsigned long long counts[3] = {0, 0, static_cast<unsigned long long>(spec.AssociatedSnps)};
  for (std::size_t k = 0; k < std::min<std::size_t>(fields.size(), 3); ++k) {
    if (!ParseCount(fields[k], counts[k]) || counts[k] > 100000) return false;
  }
  double shares[2] = {spec.FrequencyRaise, spec.NoCallShare};
  for (std::size_t k = 3; k < fields.size(); ++k) {
    char* end = nullptr;
    shares[k - 3] = std::strtod(fields[k].c_str(), &end);
    if (fields[k].empty() || *end != 0 || !(shares[k - 3] >= 0.0 && shares[k - 3] <= 1.0)) return false;
  }
  spec.Cases = static_cast<int>(counts[0]);
  spec.Controls = static_cast<int>(counts[1]);
  spec.AssociatedSnps = static_cast<int>(counts[2]);
  spec.FrequencyRaise = shares[0];
  spec.NoCallShare = shares[1];
  return true;
}

int WriteCaseControl(const std::string& dataFolder, const std::string& libraryFolder, unsigned long long annotationSeed,
                     arraygen::CaseControlSpec spec, const arraygen::ArrayStudySpec& options) {
  spec.Seed = options.Study.Seed;
  spec.ArrayType = options.Study.ArrayType;
  spec.Cdf = options.Cdf;
  spec.ChpForms = {options.Files.Chp};
  spec.ChpSuffix = options.Files.ChpSuffix;
  spec.Threads = options.Threads;
  const CBasicData annotation = datagen::MakeAnnotation(ArrayClassIndex(spec.ArrayType), annotationSeed);
  const arraygen::CaseControlStudy study = arraygen::WriteCaseControlStudy(dataFolder, libraryFolder, annotation, spec);
  std::cout << "library\t" << study.LibraryFile << "\n";
  for (const std::string& file : study.CaseFiles) std::cout << "case\t" << file << "\n";
  for (const std::string& file : study.ControlFiles) std::cout << "control\t" << file << "\n";
  for (std::int32_t i : study.Genotypes.Associated) {
    const auto row = static_cast<std::size_t>(annotation.IndexMap[static_cast<std::size_t>(i)]);
    std::cout << "associated\t" << i << "\t" << annotation.Chromosome[row] << "\t" << annotation.Position[row] << "\trs"
              << annotation.RsNumber[row] << "\n";
  }
  return 0;
}

void PrintSample(const samplegen::GeneratedSample& sample, const arraygen::SampleFiles& files) {
  std::cout << "sample\t" << sample.Name << "\t" << (sample.Spec.IsTest ? "test" : "reference") << "\t"
            << files.CelFile << "\t" << files.ChpFile << "\n";
  for (const samplegen::PlantedSegment& s : sample.Spec.Segments) {
    std::cout << "segment\t" << sample.Name << "\t" << s.Chromosome << "\t" << s.FirstSnp << "\t" << s.LastSnp
              << "\t" << s.MajorCopies << "\t" << s.MinorCopies << "\n";
  }
}

}  // namespace

int main(int argc, char** argv) {
  arraygen::ArrayStudySpec spec;
  spec.Study.ArrayType = "Mapping250K_Nsp";
  std::string dataFolder, libraryFolder;
  unsigned long long annotationSeed = datagen::kDefaultSeed;
  arraygen::CaseControlSpec caseControl;
  bool writeCaseControl = false;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--no-self") {
      spec.Study.WithSelfReference = false;
      continue;
    }
    if (arg == "--realistic") {
      spec.RealisticLayout = true;
      continue;
    }
    if (i + 1 >= argc) return Usage();
    const std::string value = argv[++i];
    unsigned long long number = 0;
    samplegen::PlantedSegment segment;
    bool ok = true;
    if (arg == "--data") {
      dataFolder = value;
    } else if (arg == "--library") {
      libraryFolder = value;
    } else if (arg == "--type") {
      ok = qova::core::FindArrayType(value) != nullptr;
      spec.Study.ArrayType = value;
    } else if (arg == "--seed" && ParseCount(value, number)) {
      spec.Study.Seed = number;
    } else if (arg == "--annotation-seed" && ParseCount(value, number)) {
      annotationSeed = number;
    } else if (arg == "--references" && ParseCount(value, number) && number <= 99) {
      spec.Study.NonSelfReferences = static_cast<int>(number);
    } else if (arg == "--sex" && (value == "F" || value == "M")) {
      spec.Study.Sex = value;
    } else if (arg == "--segment" && ParseSegment(value, segment)) {
      spec.Study.Segments.push_back(segment);
    } else if (arg == "--cdf") {
      ok = arraygen::ParseForm(value, spec.Cdf);
    } else if (arg == "--cel") {
      ok = arraygen::ParseForm(value, spec.Files.Cel);
    } else if (arg == "--chp") {
      ok = arraygen::ParseForm(value, spec.Files.Chp);
    } else if (arg == "--chp-suffix") {
      spec.Files.ChpSuffix = value;
    } else if (arg == "--case-control" && ParseCaseControl(value, caseControl)) {
      writeCaseControl = true;
    } else if (arg == "--threads" && ParseCount(value, number) && number >= 1 && number <= 64) {
      spec.Threads = static_cast<int>(number);
    } else {
      ok = false;
    }
    if (!ok) return Usage();
  }
  if (dataFolder.empty() || libraryFolder.empty()) return Usage();
  try {
    if (writeCaseControl) return WriteCaseControl(dataFolder, libraryFolder, annotationSeed, caseControl, spec);
    const CBasicData annotation = datagen::MakeAnnotation(ArrayClassIndex(spec.Study.ArrayType), annotationSeed);
    const arraygen::ArrayStudy study = arraygen::WriteArrayStudy(dataFolder, libraryFolder, annotation, spec);
    std::cout << "library\t" << study.LibraryFile << "\n";
    PrintSample(study.Study.Test, study.Samples[0]);
    for (std::size_t i = 0; i < study.Study.References.size(); ++i) {
      PrintSample(study.Study.References[i], study.Samples[i + 1]);
    }
    std::cout << "list\t" << study.ListFile << "\n";
  } catch (const std::exception& e) {
    std::cerr << "arraygen: " << e.what() << "\n";
    return 1;
  }
  return 0;
}
