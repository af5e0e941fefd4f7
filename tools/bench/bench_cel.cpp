// Reading every cell of a realistic CEL file (2,560 x 2,560 cells) in each
// form through the unified object, against a plain read of the same file's
// bytes: the limit the disk (here the page cache) sets. Both report bytes of
// the file per second, so their rates compare directly.
#include <benchmark/benchmark.h>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "arrayfiles/unified/UnifiedCELData.h"
#include "tools/arraywriters/CelWriters.h"

namespace {

using arraywriters::CelForm;

constexpr int kSide = 2560;

// The array written once in every form into a temporary folder.
class CelFiles {
 public:
  CelFiles() {
    char pattern[] = "/tmp/qova-bench-cel-XXXXXX";
    if (mkdtemp(pattern) == nullptr) std::abort();
    folder_ = pattern;
    const arraywriters::CelArray array = arraywriters::MakeSyntheticCelArray(kSide, kSide, "Mapping250K_Nsp");
    for (CelForm form : arraywriters::kAllCelForms) {
      const std::string path = folder_ + "/" + std::to_string(static_cast<int>(form)) + ".CEL";
      if (!arraywriters::SaveCelFile(path, form, array)) std::abort();
      paths_[form] = path;
    }
  }
  ~CelFiles() { std::filesystem::remove_all(folder_); }

  const std::string& Path(CelForm form) const { return paths_.at(form); }
  std::int64_t Size(CelForm form) const { return static_cast<std::int64_t>(std::filesystem::file_size(Path(form))); }

 private:
  std::string folder_;
  std::map<CelForm, std::string> paths_;
};

const CelFiles& Files() {
  static const CelFiles files;
  return files;
}

CelForm FormOf(const benchmark::State& state) { return arraywriters::kAllCelForms[state.range(0)]; }

void PlainRead(benchmark::State& state) {
  const CelForm form = FormOf(state);
  const std::string& path = Files().Path(form);
  std::vector<char> buffer(1 << 20);
  for (auto _ : state) {
    int fd = open(path.c_str(), O_RDONLY);
    std::int64_t total = 0;
    for (ssize_t got; (got = read(fd, buffer.data(), buffer.size())) > 0;) total += got;
    close(fd);
    benchmark::DoNotOptimize(total);
  }
  state.SetBytesProcessed(state.iterations() * Files().Size(form));
  state.SetLabel(arraywriters::CelFormName(form));
}

void EveryCell(benchmark::State& state) {
  const CelForm form = FormOf(state);
  for (auto _ : state) {
    unified_io::UnifiedCELData cel;
    cel.SetFileName(Files().Path(form));
    if (!cel.Read(true)) state.SkipWithError("read failed");
    double sum = 0;
    unified_io::UnifiedCELFileEntry entry;
    for (int y = 0; y < kSide; ++y) {
      for (int x = 0; x < kSide; ++x) {
        cel.GetEntry(x, y, entry);
        sum += entry.Intensity;
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.SetBytesProcessed(state.iterations() * Files().Size(form));
  state.SetItemsProcessed(state.iterations() * std::int64_t(kSide) * kSide);
  state.SetLabel(arraywriters::CelFormName(form));
}

void AllForms(benchmark::internal::Benchmark* bench) {
  for (std::size_t i = 0; i < std::size(arraywriters::kAllCelForms); ++i) bench->Arg(static_cast<int>(i));
  bench->Unit(benchmark::kMillisecond);
}

BENCHMARK(PlainRead)->Apply(AllForms);
BENCHMARK(EveryCell)->Apply(AllForms);

}  // namespace

BENCHMARK_MAIN();
