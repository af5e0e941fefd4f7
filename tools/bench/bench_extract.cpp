// Extraction of one sample of the GenomeWideSNP_5 family (500,446 SNPs,
// about 6.5 million cells) from its CHP, CEL and library files, against a
// plain read of the three files' bytes: the limit the disk (here the page
// cache) sets. Both report the bytes of the three files per second, so their
// rates compare directly. The argument picks the forms: 0 all binary legacy
// forms (XDA), 1 all generic forms (CEL, CHP and library files).
//
// Extract Data's run over 8 samples on 1, 2, 4 and 8 workers (no more than
// the machine's hardware threads), its sample files stored on the disk or in
// a memory file system, and the peak resident memory of one extraction and
// of such a run on 8 workers, each measured in a fresh process of this
// program (getrusage of the child), so that nothing the benchmark made
// before counts.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "core/ArrayTypes.h"
#include "document/extraction/LibraryLayout.h"
#include "document/extraction/SampleExtraction.h"
#include "document/extraction/SampleExtractionRun.h"
#include "document/extraction/SampleExtractionWithoutChp.h"
#include "platform/ParallelFor.h"
#include "platform/Strings.h"
#include "tools/arraygen/ArrayGen.h"
#include "tools/datagen/DataGen.h"

namespace {

constexpr const char* kType = "GenomeWideSNP_5";

// Extract Data over 8 samples reads the library file once: ExtractRunPerSample
// gives the time per sample of such a run, the library's reading spread over
// its 8 samples, and ExtractData the whole run.
constexpr int kRunSamples = 8;

// The CHP files of the run's samples: S01 and seven more samples whose CEL
// and CHP files are links to S01's.
std::vector<std::string> RunChpFiles(const std::string& firstChpFile) {
  std::vector<std::string> files;
  for (int k = 1; k <= kRunSamples; ++k) {
    std::string name = firstChpFile;
    name.replace(0, 3, platform::Format("S%02d", k));
    files.push_back(name);
  }
  return files;
}

struct FormSet {
  const char* label;
  arraygen::CdfForm cdf;
  arraywriters::CelForm cel;
  arraygen::ChpForm chp;
};
const FormSet kFormSets[] = {
    {"xda", arraygen::CdfForm::kXda, arraywriters::CelForm::kXda, arraygen::ChpForm::kXda},
    {"generic", arraygen::CdfForm::kGeneric, arraywriters::CelForm::kGeneric, arraygen::ChpForm::kGeneric},
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
      options.Chp = forms.chp;
      const arraygen::SampleFiles files = arraygen::WriteSampleFiles(design, folders.DataFolder, sample, options);
      chpFile_ = files.ChpFile;
      for (const std::string& chp : RunChpFiles(files.ChpFile)) {
        if (chp == files.ChpFile) continue;
        const std::string cel = chp.substr(0, 3) + ".CEL";
        std::filesystem::create_symlink(folders.DataFolder + files.ChpFile, folders.DataFolder + chp);
        std::filesystem::create_symlink(folders.DataFolder + files.CelFile, folders.DataFolder + cel);
      }
      inputs_.push_back({LibraryFilePath(folders.LibraryFolder, kType), folders.DataFolder + files.CelFile,
                         folders.DataFolder + files.ChpFile});
      folders_.push_back(folders);
    }
    // The files' pages go to the disk now: else the first sample files the
    // extraction flushes wait for a gigabyte of them, inside the clock.
    ::sync();
    char memoryPattern[] = "/dev/shm/qova-bench-extract-XXXXXX";
    if (mkdtemp(memoryPattern) != nullptr) memoryFolder_ = std::string(memoryPattern) + "/";
  }
  ~SampleFiles() {
    std::filesystem::remove_all(root_);
    if (!memoryFolder_.empty()) std::filesystem::remove_all(memoryFolder_);
  }

  const ExtractionFolders& Folders(int set) const { return folders_[static_cast<std::size_t>(set)]; }
  const std::vector<std::string>& Inputs(int set) const { return inputs_[static_cast<std::size_t>(set)]; }
  const std::string& ChpFile() const { return chpFile_; }
  // A sample folder in a memory file system; empty when there is none.
  const std::string& MemoryFolder() const { return memoryFolder_; }
  std::int64_t InputBytes(int set) const {
    std::int64_t total = 0;
    for (const std::string& path : Inputs(set)) total += static_cast<std::int64_t>(std::filesystem::file_size(path));
    return total;
  }

 private:
  std::string root_;
  std::string memoryFolder_;
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

// The run extracts one sample's files 8 times over, from the page cache.
void ExtractRunPerSample(benchmark::State& state) {
  const int set = static_cast<int>(state.range(0));
  Files();
  for (auto _ : state) {
    const auto start = std::chrono::steady_clock::now();
    qova::document::extraction::LibraryLayoutCache libraries;
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
    ::sync();
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

// Extract Data without its dialogs: the run over the 8 samples, its library
// read once, on `workers` workers.
class NoProgress : public ExtractionProgress {
 public:
  [[nodiscard]] bool KeepGoing() const override { return true; }
  void SetPosition(int) override {}
  void SetStatus(const std::string&) override {}
  void Pump() override {}
};

int RunExtractData(const ExtractionFolders& folders, const std::string& chpFile, int workers) {
  ExtractionLists lists;
  lists.NonPairedTests = RunChpFiles(chpFile);
  qova::document::extraction::LibraryLayoutCache libraries(workers);
  const ExtractionSteps steps{
      [&](const ExtractionRequest& request) { return PrepareSampleFiles(request, folders, libraries); },
      [](PreparedSample& prepared) { return StorePreparedSample(prepared); }};
  NoProgress progress;
  return RunExtraction(lists, progress, steps, workers).StoredCount();
}

// Each run stores its 8 new sample files into an empty folder, on the disk
// (argument 0), where every store waits for its file to reach the disk, or in
// memory (1), where the stores cost their writing only. The folder is
// emptied, and its removals flushed, before the clock runs.
void ExtractData(benchmark::State& state) {
  const int workers = static_cast<int>(state.range(0));
  const bool inMemory = state.range(1) == 1;
  ExtractionFolders folders = Files().Folders(0);
  if (inMemory) folders.ArrayDataFolder = Files().MemoryFolder();
  if (folders.ArrayDataFolder.empty()) {
    state.SkipWithError("no memory file system at /dev/shm");
    return;
  }
  for (auto _ : state) {
    for (const auto& entry : std::filesystem::directory_iterator(folders.ArrayDataFolder)) {
      std::filesystem::remove(entry.path());
    }
    const int folder = open(folders.ArrayDataFolder.c_str(), O_RDONLY | O_DIRECTORY);
    syncfs(folder);
    close(folder);
    const auto start = std::chrono::steady_clock::now();
    if (RunExtractData(folders, Files().ChpFile(), workers) != kRunSamples) {
      state.SkipWithError("a sample was not extracted");
    }
    state.SetIterationTime(std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count());
  }
  state.SetLabel(std::string(kFormSets[0].label) + (inMemory ? ", stored in memory" : ", stored on disk"));
}

void WorkerCounts(benchmark::internal::Benchmark* b) {
  for (int inMemory : {0, 1}) {
    for (int workers : {1, 2, 4, 8}) {
      if (workers <= platform::HardwareThreads()) b->Args({workers, inMemory});
    }
  }
}

// The peak memory of one extraction (argument 0, 1: the form set) and of
// Extract Data over 8 samples on 8 workers (2, 3), in a child process that
// reports its own getrusage. A process started by exec keeps the peak of the
// one it replaced, so the child is started by a shell that does not exec it:
// it inherits the shell's small peak, not this program's.
constexpr const char* kChildFlag = "--peak-memory-child";

int RunChild(char** argv) {
  const int what = std::atoi(argv[2]);
  const ExtractionFolders folders{argv[3], argv[4], argv[5]};
  const std::string chpFile = argv[6];
  const bool done = what < 2 ? ExtractSampleFiles({chpFile, kExtractUnpairedTest, {}}, folders).Stored
                             : RunExtractData(folders, chpFile, kRunSamples) == kRunSamples;
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("%ld\n", usage.ru_maxrss);  // KiB
  return done ? 0 : 1;
}

std::string Quoted(const std::string& text) { return "'" + text + "'"; }

void PeakMemory(benchmark::State& state) {
  const int what = static_cast<int>(state.range(0));
  Files();
  const ExtractionFolders& folders = Files().Folders(what % 2);
  const std::string command = Quoted(std::filesystem::read_symlink("/proc/self/exe").string()) + " " + kChildFlag +
                              " " + std::to_string(what) + " " + Quoted(folders.DataFolder) + " " +
                              Quoted(folders.LibraryFolder) + " " + Quoted(folders.ArrayDataFolder) + " " +
                              Quoted(Files().ChpFile()) + "; exit $?";
  double peakMb = 0;
  for (auto _ : state) {
    FILE* child = popen(command.c_str(), "r");
    long kib = 0;
    const bool read = child != nullptr && std::fscanf(child, "%ld", &kib) == 1;
    if (child == nullptr || pclose(child) != 0 || !read) {
      state.SkipWithError("the measuring process failed");
      break;
    }
    peakMb = std::max(peakMb, static_cast<double>(kib) / 1024.0);
  }
  state.counters["peak_MB"] = peakMb;
  state.SetLabel(kFormSets[what % 2].label);
}

BENCHMARK(PlainRead)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(ExtractOneSample)->DenseRange(0, 1)->Unit(benchmark::kMillisecond);
BENCHMARK(ExtractRunPerSample)->DenseRange(0, 1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ExtractData)->Apply(WorkerCounts)->UseManualTime()->MinTime(2.0)->Unit(benchmark::kMillisecond);
BENCHMARK(PeakMemory)->DenseRange(0, 3)->Iterations(1)->UseRealTime()->Unit(benchmark::kMillisecond);
BENCHMARK(ExtractOneSampleQuartets)->Unit(benchmark::kMillisecond);
BENCHMARK(ExtractWithoutChp)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 7 && std::strcmp(argv[1], kChildFlag) == 0) return RunChild(argv);
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
