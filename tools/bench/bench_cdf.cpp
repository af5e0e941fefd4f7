// Walks a library file of realistic size (about 500,000 probe sets and 6.5
// million cells, the size of the largest SNP arrays) through the one CDF view,
// in each of its forms: every probe set's name, groups and cells through
// their records, and the extraction's cell walk over the SNP probe sets alone.
//
// The files are written once per run into a temporary folder and removed at exit.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "arrayfiles/cdf/UnifiedCDFData.h"
#include "tools/arraywriters/CdfWriters.h"

namespace {

struct BenchFiles {
  std::string folder, text, xda, generic;
  std::int64_t probeSets = 0, cells = 0;
};

arraywriters::SyntheticCdfOptions RealisticOptions() {
  arraywriters::SyntheticCdfOptions o;
  o.chipName = "BenchSNP";
  o.snpSets = 400000;
  o.blocksPerSnp = 2;
  o.listsPerBlock = 4;
  o.mismatchCells = true;
  o.copyNumberSets = 75000;
  o.controlSets = 25000;
  o.qcSets = 20;
  o.cellsPerQCSet = 50;
  return o;
}

const BenchFiles& Files() {
  static const BenchFiles files = [] {
    BenchFiles f;
    // A plain buffer: the removal at exit runs after the statics are gone.
    static char folder[] = "/tmp/qova-bench-cdf-XXXXXX";
    if (mkdtemp(folder) == nullptr) std::abort();
    std::atexit([] { std::filesystem::remove_all(folder); });
    f.folder = folder;
    f.text = f.folder + "/bench.txt.cdf";
    f.xda = f.folder + "/bench.xda.cdf";
    f.generic = f.folder + "/bench.generic.cdf";
    const arraywriters::CdfLayout layout = arraywriters::MakeSyntheticCdfLayout(RealisticOptions());
    f.probeSets = static_cast<std::int64_t>(layout.probeSets.size());
    f.cells = layout.TotalCells();
    {
      std::ofstream out(f.text, std::ios::binary);
      arraywriters::WriteTextCdf(out, layout);
    }
    {
      std::ofstream out(f.xda, std::ios::binary);
      arraywriters::WriteXdaCdf(out, layout);
    }
    {
      std::ofstream out(f.generic, std::ios::binary);
      const std::string bytes = arraywriters::GenericCdfImage(layout);
      out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    }
    return f;
  }();
  return files;
}

// Visits the probe set's cells as the extraction does; returns what it read.
std::int64_t WalkProbeSet(unified_io::UnifiedCDFData& cdf, int i, std::int64_t& cells) {
  unified_io::UnifiedCDFProbeSetInformation set;
  unified_io::UnifiedCDFProbeGroupInformation group;
  unified_io::UnifiedCDFProbeInformation cell;
  std::int64_t sum = 0;
  cdf.GetProbeSetInformation(i, set);
  for (int g = 0; g < set.GetNumGroups(); ++g) {
    set.GetGroupInformation(g, group);
    for (int c = 0; c < group.GetNumCells(); ++c) {
      group.GetCell(c, cell);
      sum += cell.GetX() + cell.GetY() + (cell.GetPBase() == cell.GetTBase());
      ++cells;
    }
  }
  return sum;
}

// Walks the probe set's cells as the extraction's layout build does: the
// view's cell walk, without a record per probe set, group or cell.
std::int64_t WalkProbeSetCells(unified_io::UnifiedCDFData& cdf, int i, std::int64_t& cells,
                               std::vector<unified_io::UnifiedCDFGroupCell>& room) {
  std::int64_t sum = 0;
  (void)cdf.GetProbeSetCells(i, room);
  for (const unified_io::UnifiedCDFGroupCell& cell : room) sum += cell.x + cell.y + (cell.pBase == cell.tBase);
  cells += static_cast<std::int64_t>(room.size());
  return sum;
}

// `snpOnly`: the extraction's walk, over the SNP probe sets alone and by
// their cell walk; else every probe set through its records.
void WalkAll(benchmark::State& state, const std::string& path, bool snpOnly) {
  const BenchFiles& files = Files();
  std::int64_t cells = 0;
  for (auto _ : state) {
    unified_io::UnifiedCDFData cdf;
    cdf.SetFileName(path);
    if (!cdf.Read()) {
      state.SkipWithError(cdf.GetError().c_str());
      return;
    }
    const int count = cdf.GetHeader().GetNumProbeSets();
    if (count != files.probeSets) {
      state.SkipWithError("wrong probe-set count");
      return;
    }
    std::int64_t sum = 0;
    std::vector<unified_io::UnifiedCDFGroupCell> room;
    for (int i = 0; i < count; ++i) {
      const std::string name = cdf.GetProbeSetName(i);
      if (!snpOnly) {
        sum += WalkProbeSet(cdf, i, cells);
      } else if (name.rfind("SNP", 0) == 0) {
        sum += WalkProbeSetCells(cdf, i, cells, room);
      }
    }
    benchmark::DoNotOptimize(sum);
  }
  state.counters["probe_sets"] = static_cast<double>(files.probeSets);
  state.counters["cells_per_walk"] = static_cast<double>(cells) / static_cast<double>(state.iterations());
  state.counters["cells/s"] = benchmark::Counter(static_cast<double>(cells), benchmark::Counter::kIsRate);
}

void BM_WalkTextCdf(benchmark::State& state) { WalkAll(state, Files().text, false); }
void BM_WalkXdaCdf(benchmark::State& state) { WalkAll(state, Files().xda, false); }
void BM_WalkGenericCdf(benchmark::State& state) { WalkAll(state, Files().generic, false); }
void BM_ExtractionWalkGenericCdf(benchmark::State& state) { WalkAll(state, Files().generic, true); }
void BM_ExtractionWalkXdaCdf(benchmark::State& state) { WalkAll(state, Files().xda, true); }

BENCHMARK(BM_WalkTextCdf)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_WalkXdaCdf)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_WalkGenericCdf)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ExtractionWalkGenericCdf)->Unit(benchmark::kMillisecond)->Iterations(2);
BENCHMARK(BM_ExtractionWalkXdaCdf)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

BENCHMARK_MAIN();
