// The association test: observed allelic chi-square per SNP and empirical P
// values from label permutations.
//
// The permutations are drawn on the calling thread, in order, from the global
// generator reseeded with 100, so the same data always gives the same P
// values. Their tables are counted in batches on worker threads, each worker
// taking chunks of SNPs and adding to a histogram of its own; the histograms
// are integer counts summed at the end, so any number of threads gives the
// same null distribution. While a batch is counted the calling thread pumps
// messages, so Cancel is serviced at once: the workers stop, the batch in
// progress is dropped (the first one is always finished), and the P values
// come from the permutations of the batches completed.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <limits>

#include "analysis/AssociationData.h"
#include "analysis/PermutationCounter.h"
#include "analysis/SfmtRandom.h"
#include "core/ArrayTypes.h"
#include "core/GlobalData.h"
#include "core/ProgressBar.h"
#include "platform/ParallelFor.h"

namespace {

using qova::analysis::kNullBins;
using qova::analysis::kTopBin;

// The first batch is small (about a tenth of a second on one thread), so a
// Cancel right at the start still ends with a null distribution quickly; the
// later ones are large, because the counting bins each distinct table of a
// SNP once per batch and the tables of a SNP repeat more the more there are.
constexpr std::int64_t kTablesInFirstBatch = std::int64_t{1} << 24;
constexpr int kLaterBatch = 2000;
constexpr std::chrono::milliseconds kPumpInterval{20};
// SNPs per chunk of work: enough chunks for every worker to take several
// (workers that share the machine finish at different times).
constexpr std::size_t kChunksPerWorker = 8;
constexpr std::size_t kSmallestChunk = 64;
// Positions whose calls are counted together.
constexpr std::size_t kCountBlock = 4096;

struct AlleleTable {
  std::int32_t a = 0, b = 0;  // A and B alleles of the cases
  std::int32_t c = 0, d = 0;  // of the controls
};

// The observed allele tables of positions first..last (index i - first).
std::vector<AlleleTable> ObservedTables(const std::vector<std::vector<std::uint8_t>>& calls, std::size_t cases,
                                        std::int32_t first, std::int32_t last, platform::ParallelFor& pool) {
  const auto count = static_cast<std::size_t>(std::max(0, last - first + 1));
  std::vector<AlleleTable> tables(count);
  pool.Run(count, [&](int, std::size_t begin, std::size_t end) {
    for (std::size_t block = begin; block < end; block += kCountBlock) {
      const std::size_t blockEnd = std::min(end, block + kCountBlock);
      for (std::size_t s = 0; s < calls.size(); ++s) {
        const std::uint8_t* sample = calls[s].data() + first;
        const bool isCase = s < cases;
        for (std::size_t i = block; i < blockEnd; ++i) {
          const std::uint8_t code = sample[i];
          if (code < 1 || code > 3) continue;
          AlleleTable& t = tables[i];
          // AA gives two A alleles, AB one of each, BB two B alleles.
          (isCase ? t.a : t.c) += 3 - code;
          (isCase ? t.b : t.d) += code - 1;
        }
      }
    }
  });
  return tables;
}

// Chooses `cases` distinct samples of the S = chosen.size() the way the test
// has always drawn them (its P values depend on it): draw below S, and a
// sample drawn again is simply drawn past.
void DrawChosen(SfmtRandom& random, std::size_t cases, std::vector<std::uint8_t>& chosen, std::uint64_t* mask) {
  std::fill(chosen.begin(), chosen.end(), 0);
  const auto samples = static_cast<std::int32_t>(chosen.size());
  for (std::size_t taken = 0; taken < cases;) {
    const std::uint32_t r = random.Below(samples);
    if (chosen[r] != 0) continue;
    chosen[r] = 1;
    mask[r / 64] |= std::uint64_t{1} << (r % 64);
    ++taken;
  }
}

}  // namespace

bool AssociationData::PermutationTest() {
  const qova::core::ArrayTypeInfo* type = qova::core::FindArrayType(arrayType);
  if (!HasArrays() || type == nullptr) return true;
  const auto n = static_cast<std::size_t>(SnpCount());
  if (calls.size() != caseNames.size() + controlNames.size() || valid.size() != n ||
      std::any_of(calls.begin(), calls.end(), [n](const std::vector<std::uint8_t>& s) { return s.size() != n; })) {
    return true;
  }
  const std::int32_t first = global_->ArrayFirstSnpIndex[type->type];
  const std::int32_t last = global_->ArrayLastSnpIndexX[type->type];
  const std::size_t cases = caseNames.size();
  platform::ParallelFor pool(workerThreads);

  std::fill(nullHistogram.begin(), nullHistogram.end(), 0);
  const std::vector<AlleleTable> tables = ObservedTables(calls, cases, first, last, pool);
  std::vector<std::int32_t> positions;
  for (std::size_t k = 0; k < tables.size(); ++k) {
    const AlleleTable& t = tables[k];
    const auto i = static_cast<std::size_t>(first) + k;
    if (t.a + t.b == 0 || t.c + t.d == 0 || t.a + t.c == 0 || t.b + t.d == 0) {
      valid[i] = 0;
      continue;
    }
    chiSquare[i] = qova::analysis::AlleleChiSquare(t.a, t.b, t.c, t.d);
    valid[i] = 1;
    positions.push_back(static_cast<std::int32_t>(i));
  }

  std::vector<const std::uint8_t*> samples;
  for (const std::vector<std::uint8_t>& sample : calls) samples.push_back(sample.data());
  const qova::analysis::PermutationCounter counter(samples, positions, static_cast<int>(cases), pool);
  const auto words = static_cast<std::size_t>(counter.Words());
  const auto snps = static_cast<std::int64_t>(positions.size());
  const int firstBatch = static_cast<int>(std::clamp<std::int64_t>(
      permutationBatch > 0 ? permutationBatch : kTablesInFirstBatch / std::max<std::int64_t>(snps, 1), 1,
      kPermutations));
  const int laterBatch = permutationBatch > 0 ? permutationBatch : std::max(firstBatch, kLaterBatch);
  const std::size_t chunk = std::clamp<std::size_t>(
      positions.size() / (kChunksPerWorker * static_cast<std::size_t>(pool.Parts())), kSmallestChunk, kCountBlock);
  const std::size_t chunks = (positions.size() + chunk - 1) / chunk;

  std::vector<std::uint64_t> masks(static_cast<std::size_t>(std::max(firstBatch, laterBatch)) * words);
  std::vector<std::uint8_t> chosen(samples.size());
  std::vector<std::int64_t> histogram(kNullBins, 0);
  std::vector<std::vector<std::int64_t>> perPart(static_cast<std::size_t>(pool.Parts()));
  {
    BOOL keepGoing = TRUE;
    CProgressBar progress(&keepGoing);
    progress.SetStatusText("Permutation");
    SfmtRandom& random = TheRandom();
    random.Seed(100);
    for (int done = 0; done < kPermutations && keepGoing;) {
      const int batch = std::min(done == 0 ? firstBatch : laterBatch, kPermutations - done);
      std::fill(masks.begin(), masks.end(), 0);
      for (int k = 0; k < batch; ++k) DrawChosen(random, cases, chosen, masks.data() + static_cast<std::size_t>(k) * words);
      for (std::vector<std::int64_t>& part : perPart) part.assign(kNullBins, 0);
      std::atomic<std::size_t> next{0}, finished{0};
      std::atomic<bool> stop{false};
      pool.Start(perPart.size(), [&](int part, std::size_t, std::size_t) {
        for (std::size_t c = next++; c < chunks && !stop; c = next++) {
          counter.Count(masks.data(), batch, c * chunk, std::min(positions.size(), (c + 1) * chunk),
                        perPart[static_cast<std::size_t>(part)].data());
          ++finished;
        }
      });
      do {
        CProgressBar::PumpMessages();
        if (!keepGoing && done > 0) stop = true;
        const std::size_t counted = finished;
        progress.SetPosition((done + static_cast<int>(batch * counted / std::max<std::size_t>(chunks, 1))) / 100);
      } while (!pool.WaitFor(kPumpInterval));
      if (finished < chunks) break;
      for (const std::vector<std::int64_t>& part : perPart) {
        for (int k = 0; k < kNullBins; ++k) histogram[k] += part[k];
      }
      done += batch;
    }
  }

  // The tail sums: above[k] counts the permuted statistics in bin k and
  // higher (64 bits: 10,000 permutations of half a million SNPs pass 2^31).
  std::vector<std::int64_t> above(kNullBins + 1, 0);
  for (int k = kTopBin; k >= 0; --k) above[k] = above[k + 1] + histogram[k];
  for (int k = 0; k < kNullBins; ++k) {
    nullHistogram[k] = static_cast<std::int32_t>(std::min<std::int64_t>(histogram[k], std::numeric_limits<std::int32_t>::max()));
  }
  const auto all = static_cast<double>(above[0]);
  if (all == 0.0) return true;
  for (std::int32_t i : positions) {
    const double x = 100.0 * static_cast<double>(chiSquare[static_cast<std::size_t>(i)]);
    double p = 0.0;
    if (x >= static_cast<double>(kTopBin)) {
      p = 0.5 * static_cast<double>(histogram[kTopBin]) / all;
    } else {
      // The permuted values above x: the bins above its own, and the share of
      // its own bin that lies above it.
      const int bin = static_cast<int>(x);
      const double f = x - bin;
      p = (static_cast<double>(histogram[bin]) * (1.0 - f) + static_cast<double>(above[bin + 1])) / all;
    }
    pValue[static_cast<std::size_t>(i)] = static_cast<float>(p);
  }
  return true;
}
