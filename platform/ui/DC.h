#pragma once
// The drawing context the views draw through: mapping modes with 64-bit
// transforms, pens, brushes and fonts selected into it, lines, rectangles,
// pixels and text. Coordinates are logical; the context maps them to device
// pixels and hands the result to its surface.
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/DrawSurface.h"
#include "platform/ui/Object.h"
#include "platform/ui/WinTypes.h"

class CDC;
class CWnd;

// Mapping modes.
constexpr int MM_TEXT = 1;
constexpr int MM_ISOTROPIC = 7;
constexpr int MM_ANISOTROPIC = 8;
// Pen styles.
constexpr int PS_SOLID = 0;
constexpr int PS_DASH = 1;
constexpr int PS_DOT = 2;
constexpr int PS_DASHDOT = 3;
constexpr int PS_DASHDOTDOT = 4;
constexpr int PS_NULL = 5;
// Raster operations of lines and fills.
constexpr int R2_BLACK = 1;
constexpr int R2_NOTMERGEPEN = 2;
constexpr int R2_MASKNOTPEN = 3;
constexpr int R2_NOTCOPYPEN = 4;
constexpr int R2_MASKPENNOT = 5;
constexpr int R2_NOT = 6;
constexpr int R2_XORPEN = 7;
constexpr int R2_NOTMASKPEN = 8;
constexpr int R2_MASKPEN = 9;
constexpr int R2_NOTXORPEN = 10;
constexpr int R2_NOP = 11;
constexpr int R2_MERGENOTPEN = 12;
constexpr int R2_COPYPEN = 13;
constexpr int R2_MERGEPENNOT = 14;
constexpr int R2_MERGEPEN = 15;
constexpr int R2_WHITE = 16;
// Background modes.
constexpr int TRANSPARENT = 1;
constexpr int OPAQUE = 2;
// Text alignment.
constexpr UINT TA_LEFT = 0;
constexpr UINT TA_TOP = 0;
constexpr UINT TA_RIGHT = 2;
constexpr UINT TA_CENTER = 6;
constexpr UINT TA_BOTTOM = 8;
constexpr UINT TA_BASELINE = 24;
// DrawText formats.
constexpr UINT DT_TOP = 0x0;
constexpr UINT DT_LEFT = 0x0;
constexpr UINT DT_CENTER = 0x1;
constexpr UINT DT_RIGHT = 0x2;
constexpr UINT DT_VCENTER = 0x4;
constexpr UINT DT_BOTTOM = 0x8;
constexpr UINT DT_WORDBREAK = 0x10;
constexpr UINT DT_SINGLELINE = 0x20;
constexpr UINT DT_EXPANDTABS = 0x40;
constexpr UINT DT_NOCLIP = 0x100;
constexpr UINT DT_CALCRECT = 0x400;
constexpr UINT DT_NOPREFIX = 0x800;
// Stock objects.
constexpr int WHITE_BRUSH = 0;
constexpr int LTGRAY_BRUSH = 1;
constexpr int GRAY_BRUSH = 2;
constexpr int DKGRAY_BRUSH = 3;
constexpr int BLACK_BRUSH = 4;
constexpr int NULL_BRUSH = 5;
constexpr int HOLLOW_BRUSH = NULL_BRUSH;
constexpr int WHITE_PEN = 6;
constexpr int BLACK_PEN = 7;
constexpr int NULL_PEN = 8;
constexpr int SYSTEM_FONT = 13;
constexpr int DEFAULT_GUI_FONT = 17;
// Device capabilities.
constexpr int HORZSIZE = 4;
constexpr int VERTSIZE = 6;
constexpr int HORZRES = 8;
constexpr int VERTRES = 10;
constexpr int LOGPIXELSX = 88;
constexpr int LOGPIXELSY = 90;
constexpr int PHYSICALWIDTH = 110;
constexpr int PHYSICALHEIGHT = 111;
constexpr int PHYSICALOFFSETX = 112;
constexpr int PHYSICALOFFSETY = 113;
// Font weights and sets.
constexpr LONG FW_DONTCARE = 0;
constexpr LONG FW_NORMAL = 400;
constexpr LONG FW_BOLD = 700;
constexpr BYTE DEFAULT_CHARSET = 1;
constexpr BYTE ANSI_CHARSET = 0;

struct LOGFONT {
  LONG lfHeight = 0;
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = 0;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = 0;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  char lfFaceName[32] = {};
};
using LPLOGFONT = LOGFONT*;

struct TEXTMETRIC {
  LONG tmHeight = 0;
  LONG tmAscent = 0;
  LONG tmDescent = 0;
  LONG tmInternalLeading = 0;
  LONG tmExternalLeading = 0;
  LONG tmAveCharWidth = 0;
  LONG tmMaxCharWidth = 0;
};

namespace platform::ui {
// Copies `face` into a LOGFONT face field (truncated to 31 characters).
void SetFaceName(LOGFONT& font, std::string_view face);
// a * b / c rounded half away from zero, in 64 bits.
[[nodiscard]] int MulDiv(int a, int b, int c);
}  // namespace platform::ui

class CGdiObject : public CObject {
  DECLARE_DYNAMIC(CGdiObject)
 public:
  BOOL DeleteObject();
  [[nodiscard]] bool IsCreated() const { return m_bCreated; }

 protected:
  bool m_bCreated = false;
};

class CPen : public CGdiObject {
  DECLARE_DYNAMIC(CPen)
 public:
  CPen() = default;
  CPen(int style, int width, COLORREF color) { CreatePen(style, width, color); }
  BOOL CreatePen(int style, int width, COLORREF color);

  int m_nStyle = PS_SOLID;
  int m_nWidth = 0;  // logical units; 0 draws one pixel wide
  COLORREF m_color = 0;
};

class CBrush : public CGdiObject {
  DECLARE_DYNAMIC(CBrush)
 public:
  CBrush() = default;
  explicit CBrush(COLORREF color) { CreateSolidBrush(color); }
  BOOL CreateSolidBrush(COLORREF color);

  COLORREF m_color = 0xFFFFFF;
  bool m_bHollow = false;
};

class CFont : public CGdiObject {
  DECLARE_DYNAMIC(CFont)
 public:
  // A font of `pointSize` tenths of a point, sized for the context's mapping
  // (the screen's resolution when `dc` is null).
  BOOL CreatePointFont(int pointSize, std::string_view face, CDC* dc = nullptr);
  // Like CreatePointFont with lfHeight in tenths of a point.
  BOOL CreatePointFontIndirect(const LOGFONT* font, CDC* dc = nullptr);
  BOOL CreateFontIndirect(const LOGFONT* font);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic, BYTE underline,
                  BYTE strikeOut, BYTE charSet, BYTE outPrecision, BYTE clipPrecision, BYTE quality,
                  BYTE pitchAndFamily, std::string_view face);
  int GetLogFont(LOGFONT* font) const;

  LOGFONT m_logFont;
};

class CDC : public CObject {
  DECLARE_DYNAMIC(CDC)
 public:
  explicit CDC(platform::ui::DrawSurface* surface = nullptr);
  ~CDC() override;
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;

  // Mapping.
  int SetMapMode(int mode);
  [[nodiscard]] int GetMapMode() const { return state_.mapMode; }
  CPoint SetWindowOrg(int x, int y);
  CPoint SetWindowOrg(POINT p) { return SetWindowOrg(p.x, p.y); }
  [[nodiscard]] CPoint GetWindowOrg() const { return state_.windowOrg; }
  CSize SetWindowExt(int cx, int cy);
  CSize SetWindowExt(SIZE s) { return SetWindowExt(s.cx, s.cy); }
  [[nodiscard]] CSize GetWindowExt() const { return state_.windowExt; }
  CPoint SetViewportOrg(int x, int y);
  CPoint SetViewportOrg(POINT p) { return SetViewportOrg(p.x, p.y); }
  [[nodiscard]] CPoint GetViewportOrg() const { return state_.viewportOrg; }
  CSize SetViewportExt(int cx, int cy);
  CSize SetViewportExt(SIZE s) { return SetViewportExt(s.cx, s.cy); }
  [[nodiscard]] CSize GetViewportExt() const { return state_.viewportExt; }
  void LPtoDP(POINT* points, int count = 1) const;
  void LPtoDP(RECT* rect) const;
  void LPtoDP(SIZE* size) const;
  void DPtoLP(POINT* points, int count = 1) const;
  void DPtoLP(RECT* rect) const;
  void DPtoLP(SIZE* size) const;

  // Objects: each returns the one selected before.
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CGdiObject* SelectStockObject(int index);
  [[nodiscard]] CPen* GetCurrentPen() const { return state_.pen; }
  [[nodiscard]] CBrush* GetCurrentBrush() const { return state_.brush; }
  [[nodiscard]] CFont* GetCurrentFont() const { return state_.font; }

  COLORREF SetTextColor(COLORREF color);
  [[nodiscard]] COLORREF GetTextColor() const { return state_.textColor; }
  COLORREF SetBkColor(COLORREF color);
  [[nodiscard]] COLORREF GetBkColor() const { return state_.bkColor; }
  int SetBkMode(int mode);
  [[nodiscard]] int GetBkMode() const { return state_.bkMode; }
  int SetROP2(int rop);
  [[nodiscard]] int GetROP2() const { return state_.rop2; }
  UINT SetTextAlign(UINT align);
  [[nodiscard]] UINT GetTextAlign() const { return state_.textAlign; }
  // Saves the whole state; RestoreDC(-1) goes back to the last save.
  int SaveDC();
  BOOL RestoreDC(int savedDC);

  // Drawing.
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  // A line from the current position to (x, y), without the end point; (x, y)
  // becomes the current position.
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  [[nodiscard]] CPoint GetCurrentPosition() const { return state_.position; }
  BOOL Polyline(const POINT* points, int count);
  BOOL Rectangle(int left, int top, int right, int bottom);
  BOOL Rectangle(LPCRECT rect) { return Rectangle(rect->left, rect->top, rect->right, rect->bottom); }
  void FillRect(LPCRECT rect, CBrush* brush);
  void FillSolidRect(LPCRECT rect, COLORREF color);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF color);
  COLORREF SetPixel(int x, int y, COLORREF color);
  COLORREF SetPixel(POINT p, COLORREF color) { return SetPixel(p.x, p.y, color); }
  BOOL SetPixelV(int x, int y, COLORREF color);
  void InvertRect(LPCRECT rect);
  BOOL TextOut(int x, int y, std::string_view text);
  // Writes `text` into `rect` by `format` (DT_...); returns the text height
  // in logical units. DT_CALCRECT only measures and widens the rectangle.
  int DrawText(std::string_view text, LPRECT rect, UINT format);
  [[nodiscard]] CSize GetTextExtent(std::string_view text) const;
  BOOL GetTextMetrics(TEXTMETRIC* metrics) const;

  [[nodiscard]] int GetDeviceCaps(int index) const;
  [[nodiscard]] BOOL IsPrinting() const;
  int StartPage();
  int EndPage();

  [[nodiscard]] platform::ui::DrawSurface* Surface() const { return surface_; }
  // The font as it reaches the device (height in pixels after the mapping).
  [[nodiscard]] platform::ui::DeviceFont ResolvedFont() const;

 protected:
  void SetSurface(platform::ui::DrawSurface* surface) {
    surface_ = surface;
    keepsEmptyLines_ = !surface || surface->KeepsEmptyLines();
  }

 private:
  struct DcState {
    int mapMode = MM_TEXT;
    CPoint windowOrg;
    CSize windowExt{1, 1};
    CPoint viewportOrg;
    CSize viewportExt{1, 1};
    CPen* pen = nullptr;
    CBrush* brush = nullptr;
    CFont* font = nullptr;
    COLORREF textColor = 0;
    COLORREF bkColor = 0xFFFFFF;
    int bkMode = OPAQUE;
    int rop2 = R2_COPYPEN;
    UINT textAlign = TA_LEFT | TA_TOP;
    CPoint position;
  };

  // Logical to device in 64 bits, truncating as integer arithmetic does.
  // Inline: the views map every SNP of a genome through here.
  [[nodiscard]] long long MapX(long long x) const {
    const Transform& t = Xf();
    long long d = x - t.windowOrgX;
    if (t.scaledX) d = Quotient(d * t.viewportExtX, t.windowExtX);
    return d + t.viewportOrgX;
  }
  [[nodiscard]] long long MapY(long long y) const {
    const Transform& t = Xf();
    long long d = y - t.windowOrgY;
    if (t.scaledY) d = Quotient(d * t.viewportExtY, t.windowExtY);
    return d + t.viewportOrgY;
  }
  // n / d truncated, d an extent (a 32-bit number); in 32 bits when n fits,
  // where the division is several times faster and gives the same quotient.
  [[nodiscard]] static long long Quotient(long long n, int d) {
    if (static_cast<unsigned long long>(n) + 0x80000000ull < 0x100000000ull && d != -1)
      return static_cast<int>(n) / d;
    return n / d;
  }
  // The mapping as the drawing calls use it, computed once per change.
  struct Transform {
    bool valid = false;
    bool scaledX = false, scaledY = false;
    long long windowOrgX = 0, windowOrgY = 0, viewportOrgX = 0, viewportOrgY = 0;
    long long viewportExtX = 1, viewportExtY = 1;
    int windowExtX = 1, windowExtY = 1;
  };
  [[nodiscard]] const Transform& Xf() const {
    if (!xf_.valid) ComputeTransform();
    return xf_;
  }
  void ComputeTransform() const;
  // Every change of the mapping goes through here.
  void MappingChanged() {
    xf_.valid = false;
    lastEnd_.valid = false;
  }
  [[nodiscard]] long long UnmapX(long long x) const;
  [[nodiscard]] long long UnmapY(long long y) const;
  [[nodiscard]] CSize EffectiveViewportExt() const {
    return state_.mapMode == MM_ISOTROPIC ? IsotropicViewportExt() : state_.viewportExt;
  }
  [[nodiscard]] CSize IsotropicViewportExt() const;
  CSize SetExtent(CSize& extent, int cx, int cy);
  [[nodiscard]] platform::ui::DevicePen ResolvedPen() const {
    const CPen& pen = *state_.pen;
    const PenCache& c = penCache_;
    if (c.pen == &pen && c.style == pen.m_nStyle && c.width == pen.m_nWidth && c.color == pen.m_color &&
        c.mapMode == state_.mapMode && c.windowExt == state_.windowExt.cx && c.viewportExt == EffectiveViewportExt().cx)
      return c.device;
    return ResolvePen();
  }
  // Resolves the selected pen and keeps it in the cache.
  [[nodiscard]] platform::ui::DevicePen ResolvePen() const;
  // On paper, whether a dot covers its whole logical unit: where the unit
  // is wider than the whole device pixels a pixel of the screen holds,
  // along either axis.
  [[nodiscard]] bool DotsCoverTheirUnits() const;
  [[nodiscard]] CRect DeviceRect(LONG left, LONG top, LONG right, LONG bottom) const;
  void DrawLine(CPoint from, CPoint to);
  void DrawTextAt(long long x, long long y, std::string_view text, const platform::ui::DeviceFont& font,
                  UINT align, const CRect* clip);

  platform::ui::DrawSurface* surface_;
  DcState state_;
  std::vector<DcState> saved_;
  // The last pen resolved, with what it was resolved from: runs of lines
  // with one pen resolve it once.
  struct PenCache {
    const CPen* pen = nullptr;
    int style = 0, width = 0, mapMode = 0;
    COLORREF color = 0;
    LONG windowExt = 0, viewportExt = 0;
    platform::ui::DevicePen device;
  };
  mutable PenCache penCache_;
  // The device point of the last line's end, while the mapping stands.
  struct MappedPoint {
    bool valid = false;
    CPoint logical;
    long long x = 0, y = 0;
  };
  MappedPoint lastEnd_;
  bool keepsEmptyLines_ = true;
  mutable Transform xf_;
};

// The context of a window's paint (the surface the paint is drawn on).
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* wnd);
};

// Drawing on a window outside its paint; a repaint wipes it out.
class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* wnd);
};

namespace platform::ui {

// Paints `wnd` (its OnPaint, a view's OnDraw) onto `surface`.
void PaintWindow(CWnd& wnd, DrawSurface& surface);
// The surface of the paint that is running for `wnd`, or null.
[[nodiscard]] DrawSurface* CurrentPaintSurface(const CWnd& wnd);

}  // namespace platform::ui
