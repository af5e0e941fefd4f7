// The calibration tools of the main view, run on the range a band selected:
// SD range makes the range the sample's baseline, AdjustAmp equalises the two
// arrays of a combined sample over it, and ContaminationRate measures the
// share of normal cells from it and offers HMM state means that allow for it.
// Each changes the sample only from a complete, defined result.
#include <cmath>
#include <span>

#include "analysis/BaseSet.h"
#include "analysis/Calibration.h"
#include "analysis/Contamination.h"
#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/ArrayTypes.h"
#include "core/BasicData.h"
#include "document/QOVADoc.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "views/main/QOVAView.h"

namespace {

using qova::analysis::ContaminationSignal;

// The mean of `values` over slots lo..hi that `wanted` takes; nothing without one.
template <typename Wanted>
std::optional<double> MeanOver(std::span<const float> values, int lo, int hi, Wanted wanted) {
  double sum = 0.0;
  int count = 0;
  for (int i = lo; i <= hi && std::size_t(i) < values.size(); ++i) {
    if (!wanted(i)) continue;
    sum += values[std::size_t(i)];
    ++count;
  }
  if (count == 0) return std::nullopt;
  return sum / count;
}

std::span<const float> Whole(const std::vector<float>& v) { return {v.data(), v.size()}; }

void AnalyseAgain(CQOVADoc& doc, bool self) {
  if (self)
    doc.SelfAnalyzeCurrent();
  else
    doc.NonSelfAnalyzeCurrent();
}

// The message of a range that gives nothing to measure.
constexpr const char* kNoValidSnp = "No valid SNP in the selected range";
constexpr const char* kNoValidHeterozygousSnp = "No valid heterozygous SNP in the selected range";

}  // namespace

void CQOVAView::SetSdRange() {
  m_nMouseMode = MOUSE_NONE;
  CQOVADoc* doc = GetDocument();
  if (!doc) return;
  const int lo = m_nDragStart, hi = m_nDragEnd, c = m_nDragChromosome;
  CBaseSet dialog(this);
  dialog.Flags = std::uint8_t(m_nViewFlags & 0xFF);
  if (dialog.DoModal() != IDOK) return;
  const int mode = dialog.BaseMode;
  if (mode < 1 || mode > 3) return;
  const int copies = mode == 1 ? dialog.BothN : mode == 2 ? dialog.LargerN : dialog.SmallerN;
  AfxMessageBox(platform::Format("From %d(Ch %d position %d) \n to %d(Ch %d position %d) \n selected \n Base line is %d ",
                                 lo, c, PositionOf(lo), hi, c, PositionOf(hi), copies),
                MB_OK | MB_ICONINFORMATION);

  if (doc->ArrayTypeIndex(m_pAnalyzed->Header.ArrayType) != qova::core::kAgilentArrayType) {
    auto& range = (m_nViewFlags & VIEW_SELF_REFERENCE) ? doc->ArrayData.Header.SelfBaseRange
                                                        : doc->ArrayData.Header.NonSelfBaseRange;
    range = {lo, hi, mode, copies};
    AnalyseAgain(*doc, (m_nViewFlags & VIEW_SELF_REFERENCE) != 0);
    return;
  }

  // An Agilent result is renormalised here: the range's averages become 0.
  CAnalyzedData& a = *m_pAnalyzed;
  const auto valid = [&a](int i) { return a.ValidFlag[std::size_t(i)] == 1; };
  const std::optional<double> total = MeanOver(Whole(a.LogRatio), lo, hi, valid);
  if (!total) {
    AfxMessageBox(kNoValidSnp);
    return;
  }
  const double alleleA = MeanOver(Whole(a.LogRatioA), lo, hi, valid).value_or(0.0);
  const double alleleB = MeanOver(Whole(a.LogRatioB), lo, hi, valid).value_or(0.0);
  m_bDataShown = FALSE;
  for (auto* range : {&a.Header.NonSelfBaseRange, &a.Header.SelfBaseRange}) {
    (*range)[kBaseFirstSnp] = lo;
    (*range)[kBaseLastSnp] = hi;
  }
  const auto shift = [this](std::vector<float>& values, double by) {
    for (int i = m_pChromosomeStarts[1]; i < m_pChromosomeStarts[24] && std::size_t(i) < values.size(); ++i)
      values[std::size_t(i)] = float(values[std::size_t(i)] - by);
  };
  shift(a.LogRatio, *total);
  shift(a.LogRatioA, alleleA);
  shift(a.LogRatioB, alleleB);
  (void)StoreAnalyzedResult();
  OnUpdate(this, 0, nullptr);
}

void CQOVAView::AdjustAmplitude() {
  m_nMouseMode = MOUSE_NONE;
  CQOVADoc* doc = GetDocument();
  if (!doc || m_nArrayType < 1) return;
  m_bDataShown = FALSE;
  const int lo = m_nDragStart, hi = m_nDragEnd;
  CAnalyzedData& a = *m_pAnalyzed;
  // The second array's slots lie from the first slot of the type below on.
  const int boundary = qova::core::kArrayChromosomeStarts[m_nArrayType - 1][1];
  const auto inArray2 = [this, boundary](int i) {
    return std::size_t(i) < m_pSortMap.size() && m_pSortMap[std::size_t(i)] >= boundary;
  };
  const auto valid = [&a](int i) { return a.ValidFlag[std::size_t(i)] == 1; };
  const std::optional<double> mean1 =
      MeanOver(Whole(a.LogRatio), lo, hi, [&](int i) { return valid(i) && !inArray2(i); });
  const std::optional<double> mean2 =
      MeanOver(Whole(a.LogRatio), lo, hi, [&](int i) { return valid(i) && inArray2(i); });
  if (!mean1 || !mean2) {
    MessageBox("Insufficient SNPs in the selected range");
    m_bDataShown = TRUE;
    return;
  }
  const auto adjustment = qova::analysis::ChooseAmplitudeAdjustment(*mean1, *mean2);
  if (!adjustment) {
    AfxMessageBox("Fail to Adjust");
    m_bDataShown = TRUE;
    return;
  }
  AfxMessageBox(platform::Format("%d   %f", adjustment->array, adjustment->factor));
  const float factor = float(adjustment->factor);
  const bool self = (m_nViewFlags & VIEW_SELF_REFERENCE) != 0;
  const int last = std::min<int>(doc->LastXSnpIndex[m_nArrayType], int(a.LogRatio.size()) - 1);
  for (int i = doc->FirstSnpIndex[m_nArrayType]; i <= last; ++i) {
    if (inArray2(i) != (adjustment->array == 2)) continue;
    a.LogRatio[std::size_t(i)] *= factor;
    if (self && std::size_t(i) < a.LogRatioA.size() && std::size_t(i) < a.LogRatioB.size()) {
      a.LogRatioA[std::size_t(i)] *= factor;
      a.LogRatioB[std::size_t(i)] *= factor;
    }
  }
  CAnalysis engine(doc->Global());
  (void)engine.RunTotalCopyNumberHMM(a, *m_pBasicData);
  a.SampleSD = engine.CalcSD(a);
  a.MeanState = engine.CalcMeanState(a);
  (void)StoreAnalyzedResult();
  m_pRatio = m_pLogRatio;
  ComputeAverages();
  RedisplayStates();
  m_bDataShown = TRUE;
  Invalidate(TRUE);
}

void CQOVAView::DetermineContaminationRate() {
  m_nMouseMode = MOUSE_NONE;
  CQOVADoc* doc = GetDocument();
  if (!doc || (m_nViewFlags & VIEW_NOT_ANALYSIS)) return;
  const bool self = (m_nViewFlags & VIEW_SELF_REFERENCE) != 0;
  const bool totalOnly = !self && !m_bNonSelfAllele;
  ContaminationSignal signal = ContaminationSignal::kBothAlleles;
  int loci = 1;
  if (totalOnly) {
    CContamination dialog(this);
    if (dialog.DoModal() != IDOK) return;
    loci = dialog.Loci;
  } else {
    CContaminationSelfMode dialog(this);
    if (dialog.DoModal() != IDOK) return;
    if (dialog.Allele < 1 || dialog.Allele > 3) return;
    signal = ContaminationSignal(dialog.Allele);
    loci = dialog.Loci;
  }
  const auto showLinearAgain = [this] {
    if (!(m_nViewFlags & VIEW_LOG_SCALE)) m_pRatio = Whole(m_pLinearRatio);
  };
  m_pRatio = m_pLogRatio;

  const int lo = m_nDragStart, hi = m_nDragEnd;
  const CAnalyzedData& a = *m_pAnalyzed;
  const auto valid = [&a](int i) { return a.ValidFlag[std::size_t(i)] == 1; };
  const auto heterozygous = [&a, valid](int i) {
    return valid(i) && std::size_t(i) < a.CallReference.size() && a.CallReference[std::size_t(i)] == kCallAB;
  };
  std::optional<double> mean;
  if (signal == ContaminationSignal::kBothAlleles)
    mean = MeanOver(Whole(a.LogRatio), lo, hi, valid);
  else
    mean = MeanOver(Whole(signal == ContaminationSignal::kLargerAllele ? a.LogRatioA : a.LogRatioB), lo, hi,
                    heterozygous);
  if (!mean) {
    AfxMessageBox(signal == ContaminationSignal::kBothAlleles ? kNoValidSnp : kNoValidHeterozygousSnp);
    showLinearAgain();
    return;
  }
  const double rate = qova::analysis::ContaminationRate(signal, loci, *mean);
  const int chromosome = m_pBasicData->Chromosome[std::size_t(RowOf(hi))];
  const std::string question = platform::Format(
      "From %d(Ch %d position %d) \n to %d(Ch %d position %d) \n selected \n Normal Contamination rate is "
      "%f\nDetermine HMM parameter with contamination information?",
      lo, chromosome, PositionOf(lo), hi, chromosome, PositionOf(hi), rate);
  if (AfxMessageBox(question, MB_YESNO | MB_ICONINFORMATION) != IDYES) {
    showLinearAgain();
    return;
  }
  SampleHeader& header = doc->ArrayData.Header;
  if (signal == ContaminationSignal::kBothAlleles) {
    const auto means = qova::analysis::TotalMeansWithContamination(rate);
    if (!means) {
      AfxMessageBox(platform::Format("A contamination rate of %f gives no HMM parameter", rate));
      showLinearAgain();
      return;
    }
    std::copy(means->begin(), means->end(), header.HmmMeans.begin() + 1);
  } else {
    const auto means = qova::analysis::AlleleMeansWithContamination(rate);
    if (!means) {
      AfxMessageBox(platform::Format("A contamination rate of %f gives no HMM parameter", rate));
      showLinearAgain();
      return;
    }
    std::copy(means->begin(), means->end(), header.AlleleHmmMeans.begin());
  }
  AnalyseAgain(*doc, self && !totalOnly);
}
