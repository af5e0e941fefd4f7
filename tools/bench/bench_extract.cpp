// Extraction of one sample of the GenomeWideSNP_5 family (500,446 SNPs,
// about 6.5 million cells) from its CHP, CEL and library files, against a
// plain read of the three files' bytes: the limit the disk (here the page
// cache) sets. Both report the bytes of the three files per second, so their
// rates compare directly. The argument picks the forms: 0 all binary legacy
// forms (XDA), 1 generic CEL and library files.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ArrayTypes.h"
#include "document/LibraryLayout.h"
#include "document/SampleExtraction.h"
#include "document/SampleExtractionWithoutChp.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/datagen/DataGen.h"

namespace {

constexpr const char* kType = "GenomeWideSNP_5";

struct FormSet {
  const char* label;
  arraygen::CdfForm cdf;
  arraywriters::CelForm cel;
};
const FormSet kFormSets[] = {
    {"xda", arraygen::CdfForm::kXda, arraywriters::CelForm::kXda},
    {"generic", arraygen::CdfForm::kGeneric, arraywriters::CelForm::kGeneric},
};

// One sample's files in each form set, written once into a temporary folder.
class SampleFiles {
 public:
  SampleFiles() {
    char pattern[] = "/tmp/qova-bench-extract-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    root_ = pattern;
    const CBasicData annotation = datagen::MakeAnnotation(ArrayClassIndex(kType));
    const arraygen::ArrayDesign design(kType, 1, arraygen::RealisticLayout(kType));
    samplegen::SampleSpec spec;
    spec.Name = "S01";
    const CArrayData sample = samplegen::SampleGenerator(kType, annotation, 1).Make(spec);
    for (const FormSet& forms : kFormSets) {
      ExtractionFolders folders;
      folders.DataFolder = root_ + "/" + forms.label + "/data/";
      folders.LibraryFolder = root_ + "/" + forms.label + "/library/";
      folders.ArrayDataFolder = root_ + "/" + forms.label + "/out/";
      std::filesystem::create_directories(folders.LibraryFolder);
      std::filesystem::create_directories(folders.ArrayDataFolder);
      design.WriteCdf(LibraryFilePath(folders.LibraryFolder, kType), forms.cdf);
      arraygen::SampleFileOptions options;
      options.Cel = forms.cel;
      const arraygen::SampleFiles files = arraygen::WriteSampleFiles(design, folders.DataFolder, sample, options);
      chpFile_ = files.ChpFile;
      inputs_.push_back({LibraryFilePath(folders.LibraryFolder, kType), folders.DataFolder + files.CelFile,
                         folders.DataFolder + files.ChpFile});
      folders_.push_back(folders);
    }
  }
  ~SampleFiles() { std::filesystem::remove_all(root_); }

  const ExtractionFolders& Folders(int set) const { return folders_[static_cast<std::size_t>(set)]; }
  const std::vector<std::string>& Inputs(int set) const { return inputs_[static_cast<std::size_t>(set)]; }
  const std::string& ChpFile() const { return chpFile_; }
  std::int64_t InputBytes(int set) const {
    std::int64_t total = 0;
    for (const std::string& path : Inputs(set)) total += static_cast<std::int64_t>(std::filesystem::file_size(path));
    return total;
  }

 private:
  std::string root_;
  std::string chpFile_;
  std::vector<ExtractionFolders> folders_;
  std::vector<std::vector<std::string>> inputs_;
};

const SampleFiles& Files() {
  static const SampleFiles files;
  return files;
}

void PlainRead(benchmark::State& state) {
  const int set = static_cast<int>(state.range(0));
  Files();  // made before the clock runs
  std::vector<char> buffer(1 << 20);
  for (auto _ : state) {
    std::int64_t total = 0;
    for (const std::string& path : Files().Inputs(set)) {
      const int fd = open(path.c_str(), O_RDONLY);
      for (ssize_t got; (got = read(fd, buffer.data(), buffer.size())) > 0;) total += got;
      close(fd);
    }
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(state.iterations() * Files().InputBytes(set));
  state.SetLabel(kFormSets[set].label);
}

void ExtractOneSample(benchmark::State& state) {
  const int set = static_cast<int>(state.range(0));
  Files();
  for (auto _ : state) {
    const ExtractionResult result = ExtractSampleFiles({Files().ChpFile(), kExtractUnpairedTest, {}}, Files().Folders(set));
    if (!result.Stored) state.SkipWithError(result.Message.c_str());
  }
  state.SetBytesProcessed(state.iterations() * Files().InputBytes(set));
  state.SetLabel(kFormSets[set].label);
}

// Extract Data over 8 samples reads the library file once: the time per
// sample of such a run, the library's reading spread over its 8 samples.
// The run extracts one sample's files 8 times over, from the page cache.
constexpr int kRunSamples = 8;

void ExtractRunPerSample(benchmark::State& state) {
  const int set = static_cast<int>(state.range(0));
  Files();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    extraction::LibraryLayoutCache libraries;
    for (int k = 0; k < kRunSamples; ++k) {
      const ExtractionResult result =
          ExtractSampleFiles({Files().ChpFile(), kExtractUnpairedTest, {}}, Files().Folders(set), libraries);
      if (!result.Stored) state.SkipWithError(result.Message.c_str());
    }
    const std::chrono::duration<double> run = std::chrono::steady_clock::now() - start;
    state.SetIterationTime(run.count() / kRunSamples);
  }
  state.SetBytesProcessed(state.iterations() * Files().InputBytes(set));
  state.SetLabel(kFormSets[set].label);
}

// Extract without CHP calls every SNP from its cells: a Mapping250K_Nsp
// sample with ten perfect-match cells per allele and their mismatch partners
// (about 10.5 million cells, legacy forms), against Extract Data of the same
// CEL and library files with the sample's CHP file.
class QuartetFiles {
 public:
  QuartetFiles() {
    char pattern[] = "/tmp/qova-bench-quartets-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    root_ = pattern;
    const std::string type = "Mapping250K_Nsp";
    const CBasicData annotation = datagen::MakeAnnotation(ArrayClassIndex(type));
    arraygen::LayoutOptions layout;
    layout.PerfectMatchCellsPerAllele = 10;
    layout.MismatchCells = true;
    const arraygen::ArrayDesign design(type, 1, layout);
    samplegen::SampleSpec spec;
    spec.Name = "S01";
    spec.Scale = 20000.0f;  // ten cells of an allele share its signal
    const CArrayData sample = samplegen::SampleGenerator(type, annotation, 1).Make(spec);
    folders_ = {root_ + "/data/", root_ + "/library/", root_ + "/out/"};
    std::filesystem::create_directories(folders_.LibraryFolder);
    std::filesystem::create_directories(folders_.ArrayDataFolder);
    design.WriteCdf(LibraryFilePath(folders_.LibraryFolder, type), arraygen::CdfForm::kXda);
    files_ = arraygen::WriteSampleFiles(design, folders_.DataFolder, sample);
  }
  ~QuartetFiles() { std::filesystem::remove_all(root_); }

  const ExtractionFolders& Folders() const { return folders_; }
  const arraygen::SampleFiles& SampleFiles() const { return files_; }

 private:
  std::string root_;
  ExtractionFolders folders_;
  arraygen::SampleFiles files_;
};

const QuartetFiles& Quartets() {
  static const QuartetFiles files;
  return files;
}

void ExtractOneSampleQuartets(benchmark::State& state) {
  Quartets();
  for (auto _ : state) {
    const ExtractionResult result =
        ExtractSampleFiles({Quartets().SampleFiles().ChpFile, kExtractUnpairedTest, {}}, Quartets().Folders());
    if (!result.Stored) state.SkipWithError(result.Message.c_str());
  }
}

void ExtractWithoutChp(benchmark::State& state) {
  Quartets();
  for (auto _ : state) {
    const ExtractionResult result = ExtractSampleWithoutChpFiles(
        {Quartets().SampleFiles().CelFile, kExtractUnpairedTest, {}}, Quartets().Folders());
    if (!result.Stored) state.SkipWithError(result.Message.c_str());
  }
}

BENCHMARK(PlainRead)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(ExtractOneSample)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(ExtractRunPerSample)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ExtractOneSampleQuartets)->Unit(benchmark::kMillisecond);
BENCHMARK(ExtractWithoutChp)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
