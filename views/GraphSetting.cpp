#include "views/GraphSetting.h"

#include <cstdlib>
#include <string>
#include <vector>

#include "platform/File.h"
#include "platform/MessageBox.h"
#include "platform/Strings.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DataExchange.h"

namespace {

using namespace qova::resources;

constexpr COLORREF kDefaultColours[kGraphColours] = {0xFF0000, 0xFFFF80, 0x00FFFF, 0xFF80FF, 0x8080FF, 0x4040FF, 0,
                                                     0,        0,        0,        0,        0,        0};
// The fonts are made as 10-point fonts of the system's default face.
constexpr int kFontPointSize = 100;

// The tab-separated fields of `line`.
std::vector<std::string> Fields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

// Field `index` read as atoi reads it: leading blanks skipped, up to the first
// character that is no digit; 0 when empty or missing.
long Number(const std::vector<std::string>& fields, std::size_t index) {
  return index < fields.size() ? std::strtol(fields[index].c_str(), nullptr, 10) : 0;
}

std::string FontLine(const CFont& font) {
  LOGFONT lf;
  font.GetLogFont(&lf);
  return platform::Format("%d\t%d\t%d\t%d\t%s\n", int(lf.lfHeight), int(lf.lfWidth), int(lf.lfWeight),
                          int(lf.lfItalic), lf.lfFaceName);
}

// Height, width, weight, italic flag and face of a font line over `lf`.
void ReadFontLine(const std::vector<std::string>& fields, LOGFONT& lf) {
  lf.lfHeight = LONG(Number(fields, 0));
  lf.lfWidth = LONG(Number(fields, 1));
  lf.lfWeight = LONG(Number(fields, 2));
  lf.lfItalic = BYTE(Number(fields, 3) & 0xFF);
  platform::ui::SetFaceName(lf, fields.size() > 4 ? fields[4] : std::string());
}

}  // namespace

IMPLEMENT_DYNAMIC(CGraphSetting, CDialog)

BEGIN_MESSAGE_MAP(CGraphSetting, CDialog)
END_MESSAGE_MAP()

CGraphSetting::CGraphSetting(CWnd* parent) : CDialog(kGraphSettingDialog, parent) {
  RegisterGraphSettingDialog();
  for (int k = 0; k < kGraphColours; ++k) m_Colour[k] = kDefaultColours[k];
  m_SampleNameFont.CreatePointFont(kFontPointSize, "");
  m_ChromosomeFont.CreatePointFont(kFontPointSize, "");
}

void CGraphSetting::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  GraphLayout& l = m_Layout;
  DDX_Text(pDX, int(kGraphWidth), l.width);
  DDX_Text(pDX, int(kGraphInterval), l.interval);
  DDX_Text(pDX, int(kGraphZoomX), l.zoomX);
  DDX_Text(pDX, int(kGraphZoomY), l.zoomY);
  DDX_Text(pDX, int(kGraphOriginX), l.graphX);
  DDX_Text(pDX, int(kGraphOriginY), l.graphY);
  DDX_Text(pDX, int(kGraphNameX), l.sampleNameX);
  DDX_Text(pDX, int(kGraphNameY), l.sampleNameY);
  DDX_Text(pDX, int(kGraphChromosomeX), l.chromosomeX);
  DDX_Text(pDX, int(kGraphChromosomeY), l.chromosomeY);
  DDX_Text(pDX, int(kGraphChromosomeSpace), l.chSpace);
  DDX_Text(pDX, int(kGraphVerticalDivisor), l.yDiv);
  DDX_Text(pDX, int(kGraphRotation), l.rotation);
}

const char* CGraphSetting::Refusal(const GraphLayout& layout) {
  // Each of these divides a coordinate in the drawing or in the column drag.
  if (static_cast<long long>(layout.width) + layout.interval < 1) return "width plus interval must be at least 1";
  if (layout.yDiv < 1) return "y_div must be at least 1";
  if (layout.zoomX < 1 || layout.zoomY < 1) return "size_x and y must be at least 1";
  return "";
}

void CGraphSetting::OnOK() {
  // A refused entry leaves the numbers as they were before OK.
  const GraphLayout before = m_Layout;
  if (!UpdateData(TRUE)) {
    m_Layout = before;
    return;
  }
  if (const char* refusal = Refusal(m_Layout); *refusal) {
    m_Layout = before;
    AfxMessageBox(refusal);
    return;
  }
  EndDialog(IDOK);
}

BOOL CGraphSetting::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    const UINT id = LOWORD(wParam);
    for (int k = 0; k < kGraphColours; ++k) {
      if (kGraphChangeButtons[k] != id) continue;
      ChangeColour(k);
      return TRUE;
    }
    if (id == kGraphSampleNameFont || id == kGraphChromosomeFont) {
      ChangeFont(id == kGraphSampleNameFont ? m_SampleNameFont : m_ChromosomeFont);
      return TRUE;
    }
  }
  return CDialog::OnCommand(wParam, lParam);
}

void CGraphSetting::ChangeColour(int colour) {
  // Kept at once: Cancel of the settings dialog does not take it back.
  CColorDialog dialog(m_Colour[colour]);
  if (dialog.DoModal() != IDOK) return;
  m_Colour[colour] = dialog.GetColor();
  Invalidate(TRUE);
}

void CGraphSetting::ChangeFont(CFont& font) {
  LOGFONT lf;
  font.GetLogFont(&lf);
  CFontDialog dialog(&lf, CF_SCREENFONTS | CF_EFFECTS | CF_INITTOLOGFONTSTRUCT);
  if (dialog.DoModal() != IDOK) return;
  font.DeleteObject();
  font.CreateFontIndirect(&lf);
}

void CGraphSetting::OnPaint() {
  CPaintDC dc(this);
  for (int k = 0; k < kGraphColours; ++k) {
    CWnd* swatch = GetDlgItem(int(kGraphSwatches[k]));
    if (!swatch) continue;
    CRect r;
    swatch->GetWindowRect(&r);
    ScreenToClient(&r);
    CBrush brush(m_Colour[k]);
    dc.FillRect(&r, &brush);
  }
}

int CGraphSetting::SaveSettings(std::string_view path) const {
  const GraphLayout& l = m_Layout;
  std::string text = "100\n";
  for (int k = 0; k < kGraphColours; ++k)
    text += std::to_string(int(m_Colour[k])) + (k == 7 || k == kGraphColours - 1 ? "\n" : "\t");
  text += platform::Format("%d\t%d\t%d\t%d\t%d\n", l.width, l.interval, l.chSpace, l.yDiv, l.rotation);
  for (const auto& [x, y] : {std::pair{l.zoomX, l.zoomY}, {l.graphX, l.graphY}, {l.sampleNameX, l.sampleNameY},
                             {l.chromosomeX, l.chromosomeY}})
    text += platform::Format("%ld\t%ld\n", x, y);
  text += FontLine(m_SampleNameFont) + FontLine(m_ChromosomeFont);
  return platform::WriteWholeFile(path, text) ? 1 : 0;
}

int CGraphSetting::LoadSettings(std::string_view path) {
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) return 0;
  const std::vector<std::string> lines = platform::SplitLines(bytes);
  // The first line holds the version, which every version of the file shares.
  auto fields = [&](std::size_t line) { return Fields(line < lines.size() ? lines[line] : std::string()); };
  const std::vector<std::string> low = fields(1), high = fields(2);
  for (int k = 0; k < 8; ++k) m_Colour[k] = COLORREF(Number(low, std::size_t(k)));
  for (int k = 8; k < kGraphColours; ++k) m_Colour[k] = COLORREF(Number(high, std::size_t(k - 8)));

  GraphLayout next;
  const std::vector<std::string> sizes = fields(3);
  next.width = int(Number(sizes, 0));
  next.interval = int(Number(sizes, 1));
  next.chSpace = int(Number(sizes, 2));
  next.yDiv = int(Number(sizes, 3));
  next.rotation = int(Number(sizes, 4));
  long* pairs[4][2] = {{&next.zoomX, &next.zoomY},
                       {&next.graphX, &next.graphY},
                       {&next.sampleNameX, &next.sampleNameY},
                       {&next.chromosomeX, &next.chromosomeY}};
  for (std::size_t p = 0; p < 4; ++p) {
    const std::vector<std::string> pair = fields(4 + p);
    *pairs[p][0] = Number(pair, 0);
    *pairs[p][1] = Number(pair, 1);
  }
  // A number the drawing divides by keeps its old value rather than become
  // a division by zero (a hand-edited or short file).
  if (static_cast<long long>(next.width) + next.interval < 1) {
    next.width = m_Layout.width;
    next.interval = m_Layout.interval;
  }
  if (next.yDiv < 1) next.yDiv = m_Layout.yDiv;
  if (next.zoomX < 1) next.zoomX = m_Layout.zoomX;
  if (next.zoomY < 1) next.zoomY = m_Layout.zoomY;
  m_Layout = next;

  LOGFONT lf;
  m_SampleNameFont.GetLogFont(&lf);
  ReadFontLine(fields(8), lf);
  m_SampleNameFont.DeleteObject();
  m_SampleNameFont.CreateFontIndirect(&lf);
  ReadFontLine(fields(9), lf);
  m_ChromosomeFont.DeleteObject();
  m_ChromosomeFont.CreateFontIndirect(&lf);
  return 1;
}
