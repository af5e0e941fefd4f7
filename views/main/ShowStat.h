#pragma once
// "Statistics ": what the Measure tool reports about a range of SNP slots of
// one chromosome of the shown sample: where the range lies (slots, positions,
// cytobands, length) and the count, average and deviation of the signal over
// its valid slots, in log2 and in linear scale, for the total signal and, where
// the sample has allele data, for each allele at the heterozygous reference
// calls. The same report goes to the clipboard as tab-separated lines.
#include <cstdint>
#include <span>
#include <string>

#include "platform/ui/Dialog.h"

class CQOVAView;

namespace qova::views::main {

// Running sums of one series.
struct SeriesStatistics {
  int count = 0;
  double sum = 0.0;
  double sumOfSquares = 0.0;

  void Add(double x) {
    ++count;
    sum += x;
    sumOfSquares += x * x;
  }
  // Meaningful from one value on.
  [[nodiscard]] double Average() const { return sum / count; }
  // The sample deviation, meaningful from two values on; a variance that
  // rounding made negative counts as 0.
  [[nodiscard]] double Deviation() const;
};

// The per-slot arrays a measurement reads (the view's bound ones).
struct RegionSeries {
  std::span<const std::int32_t> valid;
  std::span<const float> logRatio;
  std::span<const float> logRatioA, logRatioB;  // read only with allele data
  std::span<const std::int32_t> callReference;
  bool alleleData = false;
};

struct RegionStatistics {
  bool alleleData = false;
  // Over the valid slots.
  SeriesStatistics logTotal, linearTotal;
  // Over the valid slots with a heterozygous reference call.
  SeriesStatistics logA, logB, linearA, linearB;
};

// The statistics of slots lo..hi inclusive. The linear value of the total is
// the copy number on a scale where 2 is normal, of an allele where 1 is.
[[nodiscard]] RegionStatistics MeasureRegion(const RegionSeries& series, int lo, int hi);

// Where the measured range lies.
struct RegionPlace {
  int chromosome = 1;  // 23 = X
  int startSlot = 0, endSlot = 0;
  int startPosition = 0, endPosition = 0;
  std::string startBand, endBand;
};

[[nodiscard]] std::string StatisticsDisplayText(const RegionPlace& place, const RegionStatistics& statistics);
[[nodiscard]] std::string StatisticsClipboardText(const RegionPlace& place, const RegionStatistics& statistics);

}  // namespace qova::views::main

class CShowStat : public CDialog {
  DECLARE_DYNAMIC(CShowStat)

 public:
  // `view` shows the sample; lo <= hi are slots of `chromosome`.
  CShowStat(CQOVAView* view, int chromosome, int startSlot, int endSlot, int startPosition, int endPosition);

  [[nodiscard]] const std::string& DisplayText() const { return displayText_; }
  [[nodiscard]] const std::string& ClipboardText() const { return clipboardText_; }

 protected:
  BOOL OnInitDialog() override;
  void OnGoToWeb();
  void OnCopyToClipboard();

  DECLARE_MESSAGE_MAP()

 private:
  CQOVAView* view_;
  qova::views::main::RegionPlace place_;
  std::string displayText_;
  std::string clipboardText_;
};
