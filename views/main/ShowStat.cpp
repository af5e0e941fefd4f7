#include "views/main/ShowStat.h"

#include <algorithm>
#include <cmath>

#include "core/Cytoband.h"
#include "platform/Strings.h"
#include "platform/ui/Backend.h"
#include "resources/StatisticsDialog.h"
#include "views/GenomeBrowser.h"
#include "views/main/QOVAView.h"

namespace res = qova::resources;
using namespace qova::views::main;
namespace views = qova::views;

namespace qova::views::main {

double SeriesStatistics::Deviation() const {
  const double variance = (sumOfSquares - sum * sum / count) / (count - 1);
  return std::sqrt(std::max(0.0, variance));
}

RegionStatistics MeasureRegion(const RegionSeries& series, int lo, int hi) {
  RegionStatistics s;
  s.alleleData = series.alleleData;
  const auto covers = [hi](std::size_t size) { return hi >= 0 && std::size_t(hi) < size; };
  if (lo < 0 || !covers(series.valid.size()) || !covers(series.logRatio.size())) return s;
  const bool alleles = series.alleleData && covers(series.logRatioA.size()) && covers(series.logRatioB.size()) &&
                       covers(series.callReference.size());
  for (std::size_t i = std::size_t(lo); i <= std::size_t(hi); ++i) {
    if (series.valid[i] != 1) continue;
    const double x = series.logRatio[i];
    s.logTotal.Add(x);
    s.linearTotal.Add(std::exp2(x + 1.0));
    if (!alleles || series.callReference[i] != 2) continue;
    const double a = series.logRatioA[i], b = series.logRatioB[i];
    s.logA.Add(a);
    s.logB.Add(b);
    s.linearA.Add(std::exp2(a));
    s.linearB.Add(std::exp2(b));
  }
  return s;
}

namespace {

// "Rate AB: Average: %f" and, from two values on, " SD: %f".
std::string DisplayLine(const char* name, const SeriesStatistics& s) {
  std::string line = platform::Format("\n%s: Average: %f", name, s.Average());
  if (s.count >= 2) line += platform::Format(" SD: %f", s.Deviation());
  return line;
}

// "RateAB\t%d", then the average from one value on and the deviation from two.
std::string ClipboardLine(const char* name, const SeriesStatistics& s) {
  std::string line = platform::Format("\n%s\t%d", name, s.count);
  if (s.count >= 1) line += platform::Format("\t%f", s.Average());
  if (s.count >= 2) line += platform::Format("\t%f", s.Deviation());
  return line;
}

// "X" for chromosome 23, else its number.
std::string ChromosomeName(int c) { return c == 23 ? std::string("X") : std::to_string(c); }

}  // namespace

std::string StatisticsDisplayText(const RegionPlace& p, const RegionStatistics& s) {
  std::string text = platform::Format(
      "Chromosome: %s\nStart\tSNPnumber= %d\n\tPosition= %d\n\tCytoband= %s\nEnd\tSNPnumber= %d\n\tPosition= "
      "%d\n\tCytoband= %s\nLength= %d",
      ChromosomeName(p.chromosome).c_str(), p.startSlot, p.startPosition, p.startBand.c_str(), p.endSlot,
      p.endPosition, p.endBand.c_str(), p.endPosition - p.startPosition);
  text += platform::Format("\nSNP Number: %d", s.logTotal.count);
  if (s.alleleData) text += platform::Format("\nHeteroCall Number: %d", s.logA.count);
  const bool total = s.logTotal.count >= 1;
  const bool alleles = s.alleleData && s.logA.count >= 1;
  if (total) text += "\nlog2" + DisplayLine("Rate AB", s.logTotal);
  if (alleles) text += DisplayLine("Rate A", s.logA) + DisplayLine("Rate B", s.logB);
  if (total) text += "\nlinear" + DisplayLine("Rate AB", s.linearTotal);
  if (alleles) text += DisplayLine("Rate A", s.linearA) + DisplayLine("Rate B", s.linearB);
  return text;
}

std::string StatisticsClipboardText(const RegionPlace& p, const RegionStatistics& s) {
  std::string text = platform::Format(
      "Chromosome\t%s\nStart SNPnumber\t%d\nStart Position\t%d\nStart Cytoband\t%s\nEnd SNPnumber\t%d\nEnd "
      "Position\t%d\nEnd Cytoband\t%s\nLength\t%d",
      ChromosomeName(p.chromosome).c_str(), p.startSlot, p.startPosition, p.startBand.c_str(), p.endSlot,
      p.endPosition, p.endBand.c_str(), p.endPosition - p.startPosition);
  text += "\nlog2\tNumber\tAverage\tSD" + ClipboardLine("RateAB", s.logTotal);
  if (s.alleleData) text += ClipboardLine("RateA", s.logA) + ClipboardLine("RateB", s.logB);
  text += "\nlinear\tNumber\tAverage\tSD" + ClipboardLine("RateAB", s.linearTotal);
  if (s.alleleData) text += ClipboardLine("RateA", s.linearA) + ClipboardLine("RateB", s.linearB);
  return text;
}

}  // namespace qova::views::main

IMPLEMENT_DYNAMIC(CShowStat, CDialog)

BEGIN_MESSAGE_MAP(CShowStat, CDialog)
  ON_BN_CLICKED(qova::resources::kShowStatGoToWeb, &CShowStat::OnGoToWeb)
  ON_BN_CLICKED(qova::resources::kShowStatCopy, &CShowStat::OnCopyToClipboard)
END_MESSAGE_MAP()

CShowStat::CShowStat(CQOVAView* view, int chromosome, int startSlot, int endSlot, int startPosition, int endPosition)
    : CDialog(res::kShowStatDialog, nullptr), view_(view) {
  res::RegisterStatisticsDialog();
  place_.chromosome = chromosome;
  place_.startSlot = startSlot;
  place_.endSlot = endSlot;
  place_.startPosition = startPosition;
  place_.endPosition = endPosition;
}

BOOL CShowStat::OnInitDialog() {
  CDialog::OnInitDialog();
  const CQOVAView& v = *view_;
  if (v.m_pCytoband) {
    v.m_pCytoband->GetBandName(place_.startBand, place_.chromosome, place_.startSlot, FALSE);
    v.m_pCytoband->GetBandName(place_.endBand, place_.chromosome, place_.endSlot, FALSE);
  }
  RegionSeries series;
  series.valid = v.m_pValidFlag;
  series.logRatio = v.m_pLogRatio;
  series.logRatioA = v.m_pRatioA;
  series.logRatioB = v.m_pRatioB;
  series.callReference = v.m_pCallReference;
  series.alleleData = (v.m_nViewFlags & VIEW_SELF_REFERENCE) || v.m_bNonSelfAllele;
  const RegionStatistics statistics = MeasureRegion(series, place_.startSlot, place_.endSlot);
  displayText_ = StatisticsDisplayText(place_, statistics);
  clipboardText_ = StatisticsClipboardText(place_, statistics);
  SetDlgItemText(res::kShowStatText, displayText_);
  return TRUE;
}

void CShowStat::OnGoToWeb() { (void)OpenGenomeBrowser(place_.chromosome, this, place_.startPosition, place_.endPosition); }

void CShowStat::OnCopyToClipboard() { (void)platform::ui::SetClipboardText(clipboardText_); }
