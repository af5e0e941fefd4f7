// arraygen --data FOLDER --library FOLDER [--type NAME] [--seed S]
//          [--annotation-seed S] [--references N] [--no-self] [--sex F|M]
//          [--segment CHR:FIRST:LAST:MAJOR:MINOR ...] [--cdf FORM] [--cel FORM]
//          [--chp FORM] [--chp-suffix TEXT] [--realistic] [--threads N]
// Writes a generated study as array files: the library file into the library
// folder, per sample a CEL and a CHP file into the data folder, and the
// sample-list file for the Extract Data dialog. The annotation table is the
// one datagen makes with the annotation seed (use the seed of the data folder
// the program reads). Prints what was planted, one line per sample and per
// segment, and the files written.
#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "core/ArrayTypes.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/datagen/DataGen.h"

namespace {

int Usage() {
  std::cerr << "usage: arraygen --data FOLDER --library FOLDER [--type NAME] [--seed S] [--annotation-seed S]\n"
               "                [--references N] [--no-self] [--sex F|M] [--segment CHR:FIRST:LAST:MAJOR:MINOR ...]\n"
               "                [--cdf text|xda|generic] [--cel text3|text2|xda|bcel|compact|generic]\n"
               "                [--chp xda|older|generic] [--chp-suffix TEXT] [--realistic] [--threads N]\n";
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
      ok = qova::FindArrayType(value) != nullptr;
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
    } else if (arg == "--threads" && ParseCount(value, number) && number >= 1 && number <= 64) {
      spec.Threads = static_cast<int>(number);
    } else {
      ok = false;
    }
    if (!ok) return Usage();
  }
  if (dataFolder.empty() || libraryFolder.empty()) return Usage();
  try {
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
