#include "views/graph/GraphSetting.h"

#include <charconv>
#include <climits>
#include <optional>
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
std::vector<std::string> TabFields(const std::string& line) {
  std::vector<std::string> fields;
  std::size_t start = 0;
  for (;;) {
    const std::size_t tab = line.find('\t', start);
    fields.push_back(line.substr(start, tab == std::string::npos ? std::string::npos : tab - start));
    if (tab == std::string::npos) return fields;
    start = tab + 1;
  }
}

// A field as a whole number: blanks around it, an optional sign, digits; an
// empty field is 0. A number beyond 64 bits is held at the limit of its sign.
std::optional<long long> WholeNumber(std::string_view field) {
  const std::size_t first = field.find_first_not_of(" \t");
  if (first == std::string_view::npos) return 0;
  field = field.substr(first, field.find_last_not_of(" \t") - first + 1);
  const bool negative = field.starts_with('-');
  if (field.starts_with('+')) field.remove_prefix(1);
  long long value = 0;
  const auto [end, ec] = std::from_chars(field.data(), field.data() + field.size(), value);
  if (end != field.data() + field.size() || field.empty()) return std::nullopt;
  if (ec == std::errc::result_out_of_range) return negative ? LLONG_MIN : LLONG_MAX;
  if (ec != std::errc()) return std::nullopt;
  return value;
}

// The numbers of the file after its version line: line and field (from 0),
// their name in the dialog, and the member of the layout each one fills.
struct LayoutNumber {
  std::size_t line, field;
  const char* name;
  int GraphLayout::*asInt;
  long GraphLayout::*asLong;

  [[nodiscard]] long long Get(const GraphLayout& l) const { return asInt ? l.*asInt : l.*asLong; }
  void Set(GraphLayout& l, long long v) const {
    if (asInt)
      l.*asInt = int(v);
    else
      l.*asLong = long(v);
  }
};
constexpr LayoutNumber kLayoutNumbers[] = {
    {3, 0, "width", &GraphLayout::width, nullptr},
    {3, 1, "interval", &GraphLayout::interval, nullptr},
    {3, 2, "ch space", &GraphLayout::chSpace, nullptr},
    {3, 3, "y_div", &GraphLayout::yDiv, nullptr},
    {3, 4, "sample name text rotation", &GraphLayout::rotation, nullptr},
    {4, 0, "size_x", nullptr, &GraphLayout::zoomX},
    {4, 1, "y", nullptr, &GraphLayout::zoomY},
    {5, 0, "graph x", nullptr, &GraphLayout::graphX},
    {5, 1, "graph y", nullptr, &GraphLayout::graphY},
    {6, 0, "sample name x", nullptr, &GraphLayout::sampleNameX},
    {6, 1, "sample name y", nullptr, &GraphLayout::sampleNameY},
    {7, 0, "Chromosome x", nullptr, &GraphLayout::chromosomeX},
    {7, 1, "Chromosome y", nullptr, &GraphLayout::chromosomeY},
};
// A font's height and width in logical units, and its weight as the font dialog offers it.
constexpr long long kFontSizeLimit = 10000;
constexpr long long kHeaviestWeight = 1000;
constexpr COLORREF kLargestColour = 0xFFFFFF;

std::string OutsideRange(const char* name, long long value, long long low, long long high) {
  return platform::Format("%s %lld lies outside %lld to %lld", name, value, low, high);
}

// The lines of a graph settings file, read field by field; the first problem
// met stays in `error`.
class SettingsLines {
 public:
  SettingsLines(const std::vector<std::string>& lines, std::string& error) : lines_(lines), error_(error) {}

  // Field `index` of line `line` (from 0) within [low, high]; 0 when the file
  // or the line ends before it.
  long long Number(std::size_t line, std::size_t index, const char* name, long long low, long long high) {
    if (!error_.empty()) return 0;
    const std::vector<std::string> fields = Fields(line);
    if (index >= fields.size()) return 0;
    const std::optional<long long> value = WholeNumber(fields[index]);
    if (!value) {
      error_ = platform::Format("line %zu, %s: \"%s\" is not a whole number", line + 1, name,
                                fields[index].substr(0, 32).c_str());
    } else if (*value < low || *value > high) {
      error_ = platform::Format("line %zu, ", line + 1) + OutsideRange(name, *value, low, high);
    }
    return error_.empty() ? *value : 0;
  }

  [[nodiscard]] std::vector<std::string> Fields(std::size_t line) const {
    return TabFields(line < lines_.size() ? lines_[line] : std::string());
  }

 private:
  const std::vector<std::string>& lines_;
  std::string& error_;
};

std::string FontLine(const CFont& font) {
  LOGFONT lf;
  font.GetLogFont(&lf);
  return platform::Format("%d\t%d\t%d\t%d\t%s\n", int(lf.lfHeight), int(lf.lfWidth), int(lf.lfWeight),
                          int(lf.lfItalic), lf.lfFaceName);
}

// Height, width, weight, italic flag and face of font line `line` over `lf`.
void ReadFontLine(SettingsLines& file, std::size_t line, LOGFONT& lf) {
  lf.lfHeight = LONG(file.Number(line, 0, "font height", -kFontSizeLimit, kFontSizeLimit));
  lf.lfWidth = LONG(file.Number(line, 1, "font width", -kFontSizeLimit, kFontSizeLimit));
  lf.lfWeight = LONG(file.Number(line, 2, "font weight", 0, kHeaviestWeight));
  lf.lfItalic = BYTE(file.Number(line, 3, "italic flag", INT_MIN, INT_MAX) & 0xFF);
  const std::vector<std::string> fields = file.Fields(line);
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

std::string CGraphSetting::Refusal(const GraphLayout& layout) {
  for (const LayoutNumber& number : kLayoutNumbers) {
    const long long value = number.Get(layout);
    if (value < -GraphLayout::kLimit || value > GraphLayout::kLimit)
      return OutsideRange(number.name, value, -GraphLayout::kLimit, GraphLayout::kLimit);
  }
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
  if (const std::string refusal = Refusal(m_Layout); !refusal.empty()) {
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

int CGraphSetting::LoadSettings(std::string_view path, std::string& error) {
  error.clear();
  std::string bytes;
  if (!platform::ReadWholeFile(path, bytes)) {
    error = "it cannot be read";
    return 0;
  }
  const std::vector<std::string> lines = platform::SplitLines(bytes);
  // The first line holds the version, which every version of the file shares;
  // a file without one is no graph settings file.
  if (lines.empty() || lines[0].empty() || !WholeNumber(lines[0])) {
    error = lines.empty() ? "it is empty, not a graph settings file"
                          : platform::Format("line 1: \"%s\" is not the version of a graph settings file",
                                             lines[0].substr(0, 32).c_str());
    return 0;
  }
  SettingsLines file(lines, error);
  COLORREF colours[kGraphColours];
  for (int k = 0; k < kGraphColours; ++k) {
    const std::string name = platform::Format("colour %d", k);
    colours[k] = COLORREF(file.Number(k < 8 ? 1 : 2, std::size_t(k < 8 ? k : k - 8), name.c_str(), 0, kLargestColour));
  }
  GraphLayout next;
  for (const LayoutNumber& number : kLayoutNumbers)
    number.Set(next, file.Number(number.line, number.field, number.name, -GraphLayout::kLimit, GraphLayout::kLimit));
  LOGFONT sampleName, chromosome;
  m_SampleNameFont.GetLogFont(&sampleName);
  ReadFontLine(file, 8, sampleName);
  chromosome = sampleName;
  ReadFontLine(file, 9, chromosome);
  if (!error.empty()) return 0;

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
  for (int k = 0; k < kGraphColours; ++k) m_Colour[k] = colours[k];
  m_SampleNameFont.DeleteObject();
  m_SampleNameFont.CreateFontIndirect(&sampleName);
  m_ChromosomeFont.DeleteObject();
  m_ChromosomeFont.CreateFontIndirect(&chromosome);
  return 1;
}
