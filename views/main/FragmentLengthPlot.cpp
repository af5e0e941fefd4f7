// The fragment-length plot, drawn in place of the panels: the shown sample's
// ratio per SNP against the SNP's PCR fragment length (upper panel), and the
// test's raw intensity against its reference or references (lower panel),
// each with the mean and the mean +/- one deviation of every 20-base bin.
// Parameter > SetFragmentLengthRange and a band dragged over the plot limit
// the next analysis of the sample to the SNPs of a range of lengths.
//
// The lower panel reads the references' whole sample files, so its values are
// worked out when the plot is switched on or the view takes a sample, never
// in a paint; a paint draws them in the scale of the moment.
#include <algorithm>
#include <array>
#include <cmath>
#include <exception>
#include <optional>

#include "core/AnalyzedData.h"
#include "core/ArrayData.h"
#include "core/BasicData.h"
#include "document/QOVADoc.h"
#include "platform/MessageBox.h"
#include "platform/Numeric.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/DC.h"
#include "views/main/QOVAView.h"
#include "views/main/SetFragmentLength.h"

namespace {

// The plot's own mapping: a logical x unit is a pixel, two logical y units
// are one; scrolling and zoom of the view do not apply.
constexpr int kWindowExtentX = 100;
constexpr int kWindowExtentY = 200;
constexpr int kViewportExtent = 100;
// What a page shows of the plot, in its logical units: both frames with
// their labels, lengths up to 2,800 bases, and values up to three log2 units
// above the upper panel's centre and below the lower one's.
constexpr int kPrintedWidth = 800;
constexpr int kPrintedHeight = 1100;
// Four bases a unit, length 0 at x 100; the frame ends at 2,400 bases.
constexpr int kPlotLeft = 100;
constexpr int kPlotRight = 700;
constexpr int kBasesPerUnit = 4;
constexpr int kFrameLengths[] = {0, 500, 1000, 1500, 2000};
// The upper panel's centre line, its half height (one log2 unit) and the
// lower panel's distance below it.
constexpr int kUpperCentre = 300;
constexpr int kUnitsPerValue = 100;
constexpr int kLowerShift = 500;
// Bins of 20 bases; the last takes every longer fragment. A bin of fewer SNPs
// than kLeastPerBin gives no curve point.
constexpr int kBinWidth = 20;
constexpr int kBinCount = 100;
constexpr int kLeastPerBin = 10;
constexpr int kLabelFont = 200;  // tenths of a point

constexpr COLORREF kFrameColour = RGB(100, 100, 100);
constexpr COLORREF kCurveColour = RGB(0, 0, 255);
constexpr COLORREF kUpperDot = RGB(255, 0, 0);
constexpr COLORREF kLowerDot = RGB(0, 255, 0);

int LengthX(int length) { return length / kBasesPerUnit + kPlotLeft; }

struct Panel {
  int shift = 0;  // 0 upper, kLowerShift lower
  bool log = true;
  [[nodiscard]] int Centre() const { return kUpperCentre + shift; }
  // Linear values stand 100 units lower: ratio 1 lies on the centre line.
  [[nodiscard]] int Y(double value) const {
    return platform::SaturatingCast(double((log ? 0 : kUnitsPerValue) + Centre()) - kUnitsPerValue * value);
  }
};

struct Bin {
  int count = 0;
  float sum = 0.0f;
  float sumOfSquares = 0.0f;
};

class LengthBins {
 public:
  void Add(int length, float value) {
    if (length < 0) return;
    Bin& bin = bins_[std::size_t(std::min(length / kBinWidth, kBinCount - 1))];
    ++bin.count;
    bin.sum += value;
    bin.sumOfSquares += value * value;
  }
  [[nodiscard]] const Bin& operator[](int k) const { return bins_[std::size_t(k)]; }

 private:
  std::array<Bin, kBinCount> bins_{};
};

// The two curves of m +/- d are broken lines: each odd bin starts a piece.
void DrawCurves(CDC* dc, const LengthBins& bins, const Panel& panel) {
  CPen pen(PS_SOLID, 1, kCurveColour);
  CPen* previous = dc->SelectObject(&pen);
  for (const int sign : {1, -1, 0}) {
    bool first = true;
    for (int k = 0; k < kBinCount; ++k) {
      const Bin& bin = bins[k];
      if (bin.count < kLeastPerBin) continue;
      const double mean = double(bin.sum) / bin.count;
      const double variance = (double(bin.sumOfSquares) - double(bin.sum) * bin.sum / bin.count) / (bin.count - 1);
      const double deviation = std::sqrt(std::max(0.0, variance));
      const int x = LengthX(k * kBinWidth + kBinWidth / 2);
      const int y = panel.Y(mean + sign * deviation);
      const bool startsPiece = first || (sign != 0 && k % 2 == 1);
      if (startsPiece)
        dc->MoveTo(x, y);
      else
        dc->LineTo(x, y);
      first = false;
    }
  }
  dc->SelectObject(previous);
}

void Line(CDC* dc, int x0, int y0, int x1, int y1) {
  dc->MoveTo(x0, y0);
  dc->LineTo(x1, y1);
}

void DrawFrame(CDC* dc, const Panel& panel) {
  const int c = panel.Centre();
  CPen frame(PS_SOLID, 1, kFrameColour);
  CPen dashDot(PS_DASHDOT, 1, RGB(0, 0, 0));
  CPen dashDotDot(PS_DASHDOTDOT, 1, RGB(0, 0, 0));
  CPen* previous = dc->SelectObject(&frame);
  Line(dc, kPlotLeft, c, kPlotRight, c);
  dc->SelectObject(&dashDot);
  for (const int length : kFrameLengths) Line(dc, LengthX(length), c - kUnitsPerValue, LengthX(length), c + kUnitsPerValue);
  Line(dc, kPlotLeft, c - kUnitsPerValue, kPlotRight, c - kUnitsPerValue);
  Line(dc, kPlotLeft, c + kUnitsPerValue, kPlotRight, c + kUnitsPerValue);
  dc->SelectObject(&dashDotDot);
  Line(dc, kPlotLeft, c - kUnitsPerValue / 2, kPlotRight, c - kUnitsPerValue / 2);
  Line(dc, kPlotLeft, c + kUnitsPerValue / 2, kPlotRight, c + kUnitsPerValue / 2);
  dc->SelectObject(previous);

  CFont font;
  font.CreatePointFont(kLabelFont, "");
  CFont* previousFont = dc->SelectObject(&font);
  constexpr UINT kFormat = DT_RIGHT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP;
  // Log2 ratios, or copy numbers on the linear scale.
  const std::array<const char*, 3> labels =
      panel.log ? std::array<const char*, 3>{"0", "-1", "1"} : std::array<const char*, 3>{"2", "0", "4"};
  const int ys[] = {c, c + kUnitsPerValue, c - kUnitsPerValue};
  for (int k = 0; k < 3; ++k) {
    CRect rect(kPlotLeft - 20, ys[k] - 5, kPlotLeft, ys[k] + 5);
    dc->DrawText(labels[std::size_t(k)], &rect, kFormat);
  }
  for (const int length : {500, 1000, 1500, 2000}) {
    CRect rect(LengthX(length) - 10, c + 5, LengthX(length) + 10, c + 15);
    dc->DrawText(std::to_string(length), &rect, kFormat);
  }
  dc->SelectObject(previousFont);
}

// The screen's mapping; on paper the plot fills the page's width or its
// height, whichever it reaches first, in the proportions the screen gives it.
void MapPlot(CDC& dc) {
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowOrg(0, 0);
  if (!dc.IsPrinting()) {
    dc.SetWindowExt(kWindowExtentX, kWindowExtentY);
    dc.SetViewportExt(kViewportExtent, kViewportExtent);
    return;
  }
  const long long pageWidth = dc.GetDeviceCaps(HORZRES), pageHeight = dc.GetDeviceCaps(VERTRES);
  const long long shownWidth = 1LL * kPrintedWidth * kViewportExtent / kWindowExtentX;
  const long long shownHeight = 1LL * kPrintedHeight * kViewportExtent / kWindowExtentY;
  long long width = pageWidth, height = pageWidth * shownHeight / shownWidth;
  if (height > pageHeight) {
    height = pageHeight;
    width = pageHeight * shownWidth / shownHeight;
  }
  dc.SetWindowExt(kPrintedWidth, kPrintedHeight);
  dc.SetViewportExt(int(std::max(1LL, width)), int(std::max(1LL, height)));
}

double TotalSignal(const CArrayData& sample, std::int32_t row) {
  return double(sample.SignalA[std::size_t(row)]) + double(sample.SignalB[std::size_t(row)]);
}

// Reads the extracted sample at `path` as a reference of `arrayType`, sized
// by its own header; the reason when it cannot serve.
std::optional<std::string> LoadReference(const std::string& path, const std::string& arrayType, CArrayData& reference) {
  try {
    reference.LoadFile(path);
  } catch (const std::exception&) {
    return "The reference sample " + platform::NativePath(path) + " cannot be read";
  }
  if (reference.Header.ArrayType != arrayType)
    return platform::Format("The reference sample %s is of the array type %s, not %s",
                            platform::NativePath(path).c_str(), reference.Header.ArrayType.c_str(), arrayType.c_str());
  return std::nullopt;
}

constexpr const char* kNoSnpInRange = "No usable SNP has a fragment length in the range %d - %d";
constexpr const char* kNoSnpAtAll = "No usable SNP is left to analyse";

}  // namespace

bool CQOVAView::FragmentPlotShown() const {
  const CQOVADoc* doc = GetDocument();
  return m_bDataShown && (m_nViewFlags & VIEW_FRAGMENT_PLOT) && doc &&
         (doc->Status == kStatusAnalysis || doc->Status == kStatusSingle) && IsBound();
}

std::int32_t CQOVAView::FragmentLengthOf(int slot) const {
  const std::int32_t row = RowOf(slot);
  const std::vector<std::int32_t>& lengths = m_pBasicData->FragmentLength;
  return row >= 0 && std::size_t(row) < lengths.size() ? lengths[std::size_t(row)] : -1;
}

void CQOVAView::ComputeFragmentReference() {
  m_fFragmentReference.clear();
  m_strFragmentNote.clear();
  const CQOVADoc* doc = GetDocument();
  if (!doc || !IsBound() || !m_pArrayData) return;
  const CArrayData& test = *m_pArrayData;
  const std::string& type = m_pAnalyzed->Header.ArrayType;
  const int first = m_pChromosomeStarts[1], end = m_pChromosomeStarts[24];
  // Every slot's row in every sample read: the extracted sample must be the
  // shown one's and cover the type.
  const auto covers = [&](const CArrayData& sample) {
    for (int s = first; s < end; ++s) {
      const std::int32_t row = RowOf(s);
      if (row < 0 || std::size_t(row) >= sample.SignalA.size() || std::size_t(row) >= sample.SignalB.size())
        return false;
    }
    return true;
  };
  if (test.Header.SampleName != m_pAnalyzed->Header.SampleName || test.Header.ArrayType != type || !covers(test)) {
    m_strFragmentNote = "The extracted sample of " + m_pAnalyzed->Header.SampleName + " is not loaded";
    return;
  }
  const bool self = (m_nViewFlags & VIEW_SELF_REFERENCE) != 0;
  const std::vector<std::string> names =
      self ? std::vector<std::string>{test.Header.SelfReference} : NonSelfReferenceNames(test.Header);
  if (names.empty() || names.front().empty()) {
    m_strFragmentNote = "No reference sample is named in " + test.Header.SampleName;
    return;
  }
  const double slots = double(end - first);
  double testSum = 0.0;
  for (int s = first; s < end; ++s) testSum += TotalSignal(test, RowOf(s));

  // Self: v = q T / R with q = sum R / sum T. Non-self: each reference scaled
  // to its mean, v = n T / (A M) with A the sum of the scaled references and
  // M the test's mean.
  std::vector<double> scaledSum(std::size_t(end), 0.0);
  double referenceSum = 0.0;
  for (const std::string& name : names) {
    CArrayData reference;
    const std::string path = platform::JoinPath(doc->ArrayDataFolder, name + ".CFH");
    if (std::optional<std::string> problem = LoadReference(path, type, reference)) {
      m_strFragmentNote = *problem;
      return;
    }
    if (!covers(reference)) {
      m_strFragmentNote = "The reference sample " + platform::NativePath(path) + " is too short for its array type";
      return;
    }
    double sum = 0.0;
    for (int s = first; s < end; ++s) sum += TotalSignal(reference, RowOf(s));
    referenceSum = sum;
    const double mean = self ? 1.0 : sum / slots;
    for (int s = first; s < end; ++s) scaledSum[std::size_t(s)] += TotalSignal(reference, RowOf(s)) / mean;
  }
  m_fFragmentReference.assign(std::size_t(end), NAN);
  const double n = double(names.size());
  const double scale = self ? referenceSum / testSum : n / (testSum / slots);
  for (int s = first; s < end; ++s)
    m_fFragmentReference[std::size_t(s)] = float(scale * TotalSignal(test, RowOf(s)) / scaledSum[std::size_t(s)]);
}

void CQOVAView::DrawFragmentLengthPlot(CDC* dc) {
  if (!FragmentPlotShown()) return;
  MapPlot(*dc);
  const bool log = (m_nViewFlags & VIEW_LOG_SCALE) != 0;
  const int first = m_pChromosomeStarts[1], end = m_pChromosomeStarts[24];

  const Panel upper{0, log};
  LengthBins upperBins;
  for (int s = first; s < end && std::size_t(s) < m_pRatio.size(); ++s) {
    const std::int32_t length = FragmentLengthOf(s);
    const float value = m_pRatio[std::size_t(s)];
    if (!std::isfinite(value)) continue;
    dc->SetPixel(LengthX(length), upper.Y(value), kUpperDot);
    upperBins.Add(length, value);
  }
  DrawFrame(dc, upper);
  DrawCurves(dc, upperBins, upper);

  const Panel lower{kLowerShift, log};
  if (!m_strFragmentNote.empty()) {
    CFont font;
    font.CreatePointFont(kLabelFont, "");
    CFont* previous = dc->SelectObject(&font);
    CRect rect(kPlotLeft, lower.Centre() - 10, kPlotRight, lower.Centre() + 10);
    dc->DrawText(m_strFragmentNote, &rect, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_NOCLIP);
    dc->SelectObject(previous);
    return;
  }
  LengthBins lowerBins;
  for (int s = first; s < end && std::size_t(s) < m_fFragmentReference.size(); ++s) {
    float value = m_fFragmentReference[std::size_t(s)];
    // A zero or missing reference intensity, or a zero test one, gives no point.
    if (!(std::isfinite(value) && value > 0.0f)) continue;
    if (log) value = std::log2(value);
    const std::int32_t length = FragmentLengthOf(s);
    dc->SetPixel(LengthX(length), lower.Y(value), kLowerDot);
    lowerBins.Add(length, value);
  }
  DrawFrame(dc, lower);
  DrawCurves(dc, lowerBins, lower);
}

bool CQOVAView::AnalysedSampleShown() const {
  return m_bDataShown && !(m_nViewFlags & (VIEW_COMBINED_ARRAY | VIEW_NOT_ANALYSIS));
}

void CQOVAView::OnParameterFragmentLengthPlot() {
  if (!AnalysedSampleShown()) return;
  m_nViewFlags ^= VIEW_FRAGMENT_PLOT;
  if (m_nViewFlags & VIEW_FRAGMENT_PLOT)
    ComputeFragmentReference();
  else
    m_fFragmentReference.clear();
  Invalidate(TRUE);
}

void CQOVAView::OnParameterSetFragmentLengthRange() {
  if (!AnalysedSampleShown() || !IsBound()) return;
  CSetFragmentLength dialog(this);
  if (dialog.DoModal() != IDOK) return;
  (void)AnalyseFragmentRange(dialog.m_nLowerLength, dialog.m_nUpperLength, dialog.m_bIncludeAll != 0);
}

bool CQOVAView::AnalyseFragmentRange(int lo, int hi, bool includeAll) {
  CQOVADoc* doc = GetDocument();
  if (!doc || !IsBound()) return false;
  // A SNP whose annotation does not fit its chromosome stays out whatever its length.
  std::vector<std::int32_t> usable(m_pValidFlag.size(), 0);
  int count = 0;
  for (int c = 1; c <= 23; ++c) {
    for (int i = m_pChromosomeStarts[c]; i < m_pChromosomeStarts[c + 1] && std::size_t(i) < usable.size(); ++i) {
      const std::int32_t length = FragmentLengthOf(i);
      const bool inRange = includeAll || (lo <= length && length <= hi);
      usable[std::size_t(i)] = inRange && AnnotationFits(c, i) ? 1 : 0;
      count += usable[std::size_t(i)];
    }
  }
  if (count == 0) {
    AfxMessageBox(includeAll ? std::string(kNoSnpAtAll) : platform::Format(kNoSnpInRange, lo, hi), MB_ICONEXCLAMATION);
    return false;
  }
  return doc->AnalyzeCurrentWithin(usable, (m_nViewFlags & VIEW_SELF_REFERENCE) != 0) == CQOVADoc::kSucceeded;
}
