#include "views/ChromosomeView.h"

#include <algorithm>

#include "core/AppSettingSheet.h"
#include "core/ArrayTypes.h"
#include "platform/Numeric.h"
#include "platform/Strings.h"
#include "platform/ui/App.h"
#include "platform/ui/CmdTarget.h"
#include "platform/ui/DC.h"
#include "platform/ui/Frame.h"
#include "platform/ui/Wnd.h"
#include "resources/CommandIds.h"
#include "views/ChSelectDlg.h"
#include "views/PrintFit.h"

namespace views = qova::views;

IMPLEMENT_DYNAMIC(CChromosomeView, CView)

namespace cmd = qova::resources;

BEGIN_MESSAGE_MAP(CChromosomeView, CView)
  ON_COMMAND(cmd::kCmdAllGenome, &CChromosomeView::OnViewAllGenome)
  ON_COMMAND(cmd::kCmdEachChromosome, &CChromosomeView::OnViewEachChromosome)
  ON_COMMAND(cmd::kCmdPreviousChromosome, &CChromosomeView::OnViewPreviousChromosome)
  ON_COMMAND(cmd::kCmdNextChromosome, &CChromosomeView::OnViewNextChromosome)
  ON_COMMAND(cmd::kCmdSnpInterval, &CChromosomeView::OnViewSnpInterval)
  ON_COMMAND(cmd::kCmdBaseInterval, &CChromosomeView::OnViewBaseInterval)
  ON_COMMAND(cmd::kCmdMeasure, &CChromosomeView::OnParameterMeasure)
  ON_COMMAND(cmd::kCmdViewSetting, &CChromosomeView::OnViewSetting)
  ON_UPDATE_COMMAND_UI(cmd::kCmdAllGenome, &CChromosomeView::OnUpdateViewAllGenome)
  ON_UPDATE_COMMAND_UI(cmd::kCmdEachChromosome, &CChromosomeView::OnUpdateViewEachChromosome)
  ON_UPDATE_COMMAND_UI(cmd::kCmdPreviousChromosome, &CChromosomeView::OnUpdateViewStepChromosome)
  ON_UPDATE_COMMAND_UI(cmd::kCmdNextChromosome, &CChromosomeView::OnUpdateViewStepChromosome)
  ON_UPDATE_COMMAND_UI(cmd::kCmdSnpInterval, &CChromosomeView::OnUpdateViewSnpInterval)
  ON_UPDATE_COMMAND_UI(cmd::kCmdBaseInterval, &CChromosomeView::OnUpdateViewBaseInterval)
  ON_UPDATE_COMMAND_UI(cmd::kCmdMeasure, &CChromosomeView::OnUpdateParameterMeasure)
  ON_UPDATE_COMMAND_UI(cmd::kCmdViewSetting, &CChromosomeView::OnUpdateViewSetting)
  ON_COMMAND(ID_FILE_PRINT, &CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_DIRECT, &CView::OnFilePrint)
  ON_COMMAND(ID_FILE_PRINT_PREVIEW, &CView::OnFilePrintPreview)
END_MESSAGE_MAP()

namespace {

// Point sizes (in tenths) of the labels: genome-wide and one chromosome.
constexpr int kGenomeFont = 1000;
constexpr int kChromosomeFont = 500;

}  // namespace

CChromosomeView::CChromosomeView() : m_pDisplaySetting(std::make_unique<CDisplaySetting>()) {}

CChromosomeView::~CChromosomeView() = default;

// --- state ---

const CView* CChromosomeView::OtherViewOfDocument() const {
  auto* frame = dynamic_cast<CMDIFrameWnd*>(AfxGetMainWnd());
  CMDIChildWnd* child = frame ? frame->MDIGetActive() : nullptr;
  const CView* active = child ? child->GetActiveView() : nullptr;
  return active && active != this && active->m_pDocument == m_pDocument ? active : nullptr;
}

void CChromosomeView::TakeShownState(const CChromosomeView& source) {
  *m_pDisplaySetting = *source.m_pDisplaySetting;
  m_nViewFlags = source.m_nViewFlags;
  m_nScrollX = source.m_nScrollX;
  m_nScrollY = source.m_nScrollY;
  m_nScaleX = source.m_nScaleX;
  m_nScaleY = source.m_nScaleY;
  m_nChromosome = source.m_nChromosome;
}

void CChromosomeView::TakeModeSizes() {
  const CDisplaySetting::DispKeys& disp = m_pDisplaySetting->DISP;
  m_nEachSizeX = disp.EACH_X;
  m_nEachSizeY = disp.EACH_Y;
  m_nAllSizeX = m_nSizeX = disp.ALL_X;
  m_nAllSizeY = m_nSizeY = disp.ALL_Y;
}

void CChromosomeView::KeepModeSize() {
  if (m_nViewFlags & VIEW_ONE_CHROMOSOME) {
    m_nEachSizeX = m_nSizeX;
    m_nEachSizeY = m_nSizeY;
  } else {
    m_nAllSizeX = m_nSizeX;
    m_nAllSizeY = m_nSizeY;
  }
}

void CChromosomeView::CarryScrollPosition() {
  if (!(m_nViewFlags & VIEW_BASE_INTERVAL))
    m_nScrollX = platform::SaturatingCast(double(m_nScrollX) * views::ScrollCarryFactor(m_nArrayType));
}

void CChromosomeView::SetScales() {
  ApplyModeScales();
  if (!(m_nViewFlags & VIEW_BASE_INTERVAL)) m_nScrollX /= views::ScrollCarryFactor(m_nArrayType);
}

bool CChromosomeView::BindShownData() {
  BindDocumentData();
  if (!IsBound()) {
    Invalidate(TRUE);
    return false;
  }
  if (qova::core::IsCombinedArrayType(m_nArrayType))
    m_nViewFlags |= VIEW_COMBINED_ARRAY;
  else
    m_nViewFlags &= ~VIEW_COMBINED_ARRAY;
  return true;
}

void CChromosomeView::ShowLaidOut() {
  ComputeRowHeight();
  m_bDataShown = TRUE;
  UpdateLayout();
  Invalidate(TRUE);
}

bool CChromosomeView::AtChromosomeScales() const { return (m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0; }

void CChromosomeView::ApplyModeScales() {
  const bool one = AtChromosomeScales();
  const views::ModeScales scales =
      (m_nViewFlags & VIEW_BASE_INTERVAL) ? views::kBaseAxisScales : views::ScalesInSnpOrder(m_nArrayType);
  m_nScaleX = one ? scales.chromosomeX : scales.genomeX;
  m_nScaleY = one ? scales.chromosomeY : scales.genomeY;
}

// Each mode keeps its own zoom: the mode left keeps the current size, the
// mode entered brings its own back.
void CChromosomeView::SwapModeSizes(bool toOneChromosome) {
  int& leftX = toOneChromosome ? m_nAllSizeX : m_nEachSizeX;
  int& leftY = toOneChromosome ? m_nAllSizeY : m_nEachSizeY;
  leftX = m_nSizeX;
  leftY = m_nSizeY;
  m_nSizeX = toOneChromosome ? m_nEachSizeX : m_nAllSizeX;
  m_nSizeY = toOneChromosome ? m_nEachSizeY : m_nAllSizeY;
}

void CChromosomeView::EnterMode(bool oneChromosome) {
  ApplyModeScales();
  SwapModeSizes(oneChromosome);
}

// --- layout ---

ChromosomeLengths CChromosomeView::Lengths() const {
  return (m_nViewFlags & VIEW_BASE_INTERVAL) ? LengthsOnBaseAxis() : LengthsInSnpOrder(m_pChromosomeStarts);
}

int CChromosomeView::ColumnWidth(int c) const { return Lengths()[std::size_t(c)]; }

void CChromosomeView::UpdateLayout() {
  if (!m_bDataShown || !m_hWnd) return;
  CViewLayout::UpdateLayout(*this, ComputePageLayout());
}

void CChromosomeView::Relayout() {
  UpdateLayout();
  Invalidate(TRUE);
}

CSize CChromosomeView::ClientSize() const {
  CRect client;
  GetClientRect(&client);
  return {client.Width(), client.Height()};
}

void CChromosomeView::OnSize(UINT type, int cx, int cy) {
  CView::OnSize(type, cx, cy);
  UpdateLayout();
}

void CChromosomeView::OnVScroll(UINT code, UINT pos, CScrollBar* scrollBar) {
  (void)pos;
  (void)scrollBar;
  Scroll(*this, SB_VERT, code);
}

void CChromosomeView::OnHScroll(UINT code, UINT pos, CScrollBar* scrollBar) {
  (void)pos;
  (void)scrollBar;
  Scroll(*this, SB_HORZ, code);
}

BOOL CChromosomeView::HitTest(CPoint& p, int& c, int& result, BOOL findChromosome) const {
  HitAxis axis;
  axis.oneChromosome = (m_nViewFlags & VIEW_ONE_CHROMOSOME) != 0;
  axis.baseInterval = (m_nViewFlags & VIEW_BASE_INTERVAL) != 0;
  axis.integral = HitGivesOffset();
  axis.chromosome = m_nChromosome;
  axis.starts = m_pChromosomeStarts;
  axis.positionKey = [this](int slot) { return (long long)PositionOf(slot) / 10; };
  return CViewLayout::HitTest(p, c, result, findChromosome, axis, Lengths());
}

// --- drawing ---

void CChromosomeView::SetMapping(CDC& dc) const {
  dc.SetMapMode(MM_ANISOTROPIC);
  dc.SetWindowOrg(m_nScrollX, m_nScrollY);
  dc.SetWindowExt(m_nScaleX, m_nScaleY);
  dc.SetViewportExt(m_nSizeX, m_nSizeY);
}

int CChromosomeView::LabelFontSize() const {
  return (m_nViewFlags & VIEW_ONE_CHROMOSOME) ? kChromosomeFont : kGenomeFont;
}

CPoint CChromosomeView::ColumnOrigin(int c) const {
  if (m_nViewFlags & VIEW_ONE_CHROMOSOME) return {m_nChromosomeX[0], 0};
  return {m_nChromosomeX[c], m_nChromosomeY[c]};
}

void CChromosomeView::DrawChromosomeLabel(CDC& dc, CFont& font, int c, CPoint origin) const {
  const std::string label = c < 23 ? platform::Format("Ch%d", c) : std::string("ChX");
  const int gap = m_nChromosomeX[0];
  CFont* previous = dc.SelectObject(&font);
  const bool lastOfRow =
      std::any_of(kGenomeRows.begin(), kGenomeRows.end(), [c](const auto& row) { return row[1] == c; });
  // One chromosome's label follows the horizontal scrolling.
  if (m_nViewFlags & VIEW_ONE_CHROMOSOME) {
    dc.TextOut(m_nScrollX + gap / 2, m_nScrollY + kLabelBand, label);
  } else if (lastOfRow) {
    dc.TextOut(origin.x - gap / 2, origin.y + kLabelBand, label);
  } else {
    // On paper the font follows the page's height and the columns its width:
    // a name may reach the next name of its row, and is then written smaller.
    views::TextOutFittingBefore(dc, origin.x - gap / 2, origin.y + kLabelBand, label, m_nChromosomeX[c + 1] - gap / 2);
  }
  dc.SelectObject(previous);
}

// --- commands ---
// Each does nothing without data shown, whatever reached it, and ends with
// the layout and a repaint.

void CChromosomeView::ShowAllGenome() {
  m_nViewFlags &= ~VIEW_ONE_CHROMOSOME;
  m_nScrollX = m_nScrollY = 0;
  EnterMode(false);
  Relayout();
}

void CChromosomeView::OnViewAllGenome() {
  if (m_bDataShown) ShowAllGenome();
}

void CChromosomeView::OnViewEachChromosome() {
  if (!m_bDataShown) return;
  CChSelectDlg chooser(this);
  if (chooser.DoModal() != IDOK || chooser.Chromosome < 1 || chooser.Chromosome > 23) return;
  m_nChromosome = chooser.Chromosome;
  m_nViewFlags |= VIEW_ONE_CHROMOSOME;
  m_nScrollX = m_nScrollY = 0;
  EnterMode(true);
  Relayout();
}

void CChromosomeView::OnViewPreviousChromosome() {
  if (!m_bDataShown || !(m_nViewFlags & VIEW_ONE_CHROMOSOME)) return;
  m_nChromosome = views::PreviousChromosome(m_nChromosome);
  Relayout();
}

void CChromosomeView::OnViewNextChromosome() {
  if (!m_bDataShown || !(m_nViewFlags & VIEW_ONE_CHROMOSOME)) return;
  m_nChromosome = views::NextChromosome(m_nChromosome);
  Relayout();
}

// The gap and the chromosome lengths change units with the axis, so the
// layout is computed again; the scroll position is carried across.
void CChromosomeView::OnViewSnpInterval() {
  if (!m_bDataShown || !(m_nViewFlags & VIEW_BASE_INTERVAL) || !SnpOrderAllowed()) return;
  m_nViewFlags &= ~VIEW_BASE_INTERVAL;
  ComputeRowHeight();
  const int scaleY = m_nScaleY;
  ApplyModeScales();
  m_nScaleY = scaleY;
  m_nScrollX /= views::BaseUnitsPerSlot(m_nArrayType);
  Relayout();
}

void CChromosomeView::OnViewBaseInterval() {
  if (!m_bDataShown || (m_nViewFlags & VIEW_BASE_INTERVAL)) return;
  m_nViewFlags |= VIEW_BASE_INTERVAL;
  ComputeRowHeight();
  ApplyModeScales();
  m_nScrollX = platform::SaturatingCast(double(m_nScrollX) * views::BaseUnitsPerSlot(m_nArrayType));
  Relayout();
}

void CChromosomeView::OnParameterMeasure() {
  if (m_bDataShown) m_nMouseMode = MOUSE_MEASURE;
}

// The sheet works on a copy; OK takes it over. The rows take the height of
// the panels now switched on at once, so hit tests and the drawing agree.
void CChromosomeView::OnViewSetting() {
  if (qova::core::RunViewSettingSheet(*m_pDisplaySetting) != IDOK) return;
  if (m_bDataShown) {
    ComputeRowHeight();
    OnRowHeightChanged();
    UpdateLayout();
  }
  Invalidate(TRUE);
}

void CChromosomeView::OnUpdateViewAllGenome(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && (m_nViewFlags & VIEW_ONE_CHROMOSOME));
}

void CChromosomeView::OnUpdateViewEachChromosome(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & VIEW_ONE_CHROMOSOME));
}

void CChromosomeView::OnUpdateViewStepChromosome(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && (m_nViewFlags & VIEW_ONE_CHROMOSOME));
}

void CChromosomeView::OnUpdateViewSnpInterval(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && (m_nViewFlags & VIEW_BASE_INTERVAL) && SnpOrderAllowed());
}

void CChromosomeView::OnUpdateViewBaseInterval(CCmdUI* cmdUI) {
  cmdUI->Enable(m_bDataShown && !(m_nViewFlags & VIEW_BASE_INTERVAL));
}

void CChromosomeView::OnUpdateParameterMeasure(CCmdUI* cmdUI) { cmdUI->Enable(m_bDataShown); }

void CChromosomeView::OnUpdateViewSetting(CCmdUI* cmdUI) { cmdUI->Enable(TRUE); }

// --- printing ---
// The drawing fitted onto one page, or tiled over pages at the printed size
// the display settings give for the mode. Each page is the ordinary drawing
// pass under a mapping of its own; the screen's mapping is put back after.

BOOL CChromosomeView::OnPreparePrinting(CPrintInfo* info) { return DoPreparePrinting(info); }

views::PageGrid CChromosomeView::PrintPages(CDC* pDC) const {
  return views::PrintPages(PrintPlanFor(pDC), ComputePageLayout(), views::PrinterPage(pDC));
}

void CChromosomeView::OnBeginPrinting(CDC* pDC, CPrintInfo* info) {
  info->SetMaxPage(UINT(std::min(PrintPages(pDC).Count(), views::kLastPageNumber)));
}

void CChromosomeView::OnPrint(CDC* pDC, CPrintInfo* info) {
  const ViewMapping screen = *this;
  static_cast<ViewMapping&>(*this) =
      views::PrintPageMapping(PrintPlanFor(pDC), ComputePageLayout(), views::PrinterPage(pDC), info->m_nCurPage);
  CView::OnPrint(pDC, info);
  static_cast<ViewMapping&>(*this) = screen;
}

void CChromosomeView::OnEndPrinting(CDC* pDC, CPrintInfo* info) {
  (void)pDC;
  (void)info;
  Invalidate(TRUE);
}
