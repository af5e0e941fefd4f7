#include "platform/ui/EmfWriter.h"

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <array>
#include <initializer_list>
#include <optional>

#include "platform/Strings.h"
#include "platform/ui/PictureBounds.h"

namespace platform::ui {

namespace {

// Record types.
constexpr std::uint32_t EMR_HEADER = 1;
constexpr std::uint32_t EMR_EOF = 14;
constexpr std::uint32_t EMR_SETPIXELV = 15;
constexpr std::uint32_t EMR_SETBKMODE = 18;
constexpr std::uint32_t EMR_SETROP2 = 20;
constexpr std::uint32_t EMR_SETTEXTALIGN = 22;
constexpr std::uint32_t EMR_SETTEXTCOLOR = 24;
constexpr std::uint32_t EMR_SETBKCOLOR = 25;
constexpr std::uint32_t EMR_MOVETOEX = 27;
constexpr std::uint32_t EMR_SELECTOBJECT = 37;
constexpr std::uint32_t EMR_CREATEPEN = 38;
constexpr std::uint32_t EMR_CREATEBRUSHINDIRECT = 39;
constexpr std::uint32_t EMR_DELETEOBJECT = 40;
constexpr std::uint32_t EMR_RECTANGLE = 43;
constexpr std::uint32_t EMR_LINETO = 54;
constexpr std::uint32_t EMR_EXTCREATEFONTINDIRECTW = 82;
constexpr std::uint32_t EMR_EXTTEXTOUTW = 84;

constexpr std::uint32_t kSignature = 0x464D4520;  // " EMF"
constexpr std::uint32_t kVersion = 0x00010000;
constexpr std::uint32_t kHeaderSize = 108;
// Stock objects are selected by their index with the high bit set.
constexpr std::uint32_t kStock = 0x80000000;
constexpr std::uint32_t kWhiteBrush = kStock | 0, kNullBrush = kStock | 5, kBlackPen = kStock | 7,
                        kNullPen = kStock | 8, kSystemFont = kStock | 13;
// Handle-table slots: one pen, one brush and one font live at a time.
constexpr std::uint32_t kPenSlot = 1, kBrushSlot = 2, kFontSlot = 3, kHandles = 4;
constexpr std::uint32_t kGmCompatible = 1;
constexpr std::uint32_t kEtoClipped = 0x4;
constexpr std::uint32_t kTransparent = 1, kOpaque = 2;
constexpr std::uint32_t kCopyPen = 13, kNot = 6;
// A LogFontPanose: the LOGFONTW and the fields after it, all zero.
constexpr std::size_t kLogFontPanoseSize = 320;

class Writer {
 public:
  explicit Writer(const Picture& picture) : picture_(picture) {}

  std::string Write() {
    Record(EMR_SETBKMODE, {kTransparent});
    Record(EMR_SETTEXTALIGN, {0});  // TA_LEFT | TA_TOP: the reference is the text box's corner
    for (const DrawRecord& r : picture_.records) Add(r);
    Select(kBlackPen);
    Select(kWhiteBrush);
    Select(kSystemFont);
    for (std::uint32_t slot : {kPenSlot, kBrushSlot, kFontSlot})
      if (live_[slot]) Record(EMR_DELETEOBJECT, {slot});
    Record(EMR_EOF, {0, 16, 20});
    return Header() + body_;
  }

 private:
  void Put(std::string& out, std::uint32_t v) {
    for (int k = 0; k < 4; ++k) out.push_back(char((v >> (8 * k)) & 0xFF));
  }
  void Record(std::uint32_t type, std::initializer_list<std::uint32_t> words) {
    Put(body_, type);
    Put(body_, std::uint32_t(8 + 4 * words.size()));
    for (std::uint32_t w : words) Put(body_, w);
    ++records_;
  }
  static std::uint32_t U(long long v) { return std::uint32_t(Clamp32(v)); }

  void Select(std::uint32_t handle) { Record(EMR_SELECTOBJECT, {handle}); }

  // Makes the object of `slot` anew unless it is the one already there.
  template <class Key>
  bool Replace(std::uint32_t slot, std::optional<Key>& current, const Key& wanted, std::uint32_t stock) {
    if (current && *current == wanted) return false;
    if (live_[slot]) {
      Select(stock);  // an object is never deleted while selected
      Record(EMR_DELETEOBJECT, {slot});
    }
    current = wanted;
    live_[slot] = true;
    return true;
  }

  void UsePen(COLORREF color, int width, int style) {
    const std::array<std::uint32_t, 3> key{color, std::uint32_t(width), std::uint32_t(style)};
    if (Replace(kPenSlot, pen_, key, kBlackPen)) Record(EMR_CREATEPEN, {kPenSlot, U(style), U(width), 0, color});
    Select(kPenSlot);
  }
  void UseBrush(COLORREF color) {
    if (Replace(kBrushSlot, brush_, color, kWhiteBrush)) Record(EMR_CREATEBRUSHINDIRECT, {kBrushSlot, 0, color, 0});
    Select(kBrushSlot);
  }
  void UseFont(std::uint32_t index) {
    if (Replace(kFontSlot, font_, index, kSystemFont)) CreateFont(picture_.fonts[index]);
    Select(kFontSlot);
  }
  void SetRop(std::uint32_t rop) {
    if (rop != rop_) Record(EMR_SETROP2, {rop});
    rop_ = rop;
  }

  void CreateFont(const DeviceFont& f) {
    std::string elw(kLogFontPanoseSize, '\0');
    const std::int32_t height = f.cellHeight ? f.height : -f.height;
    const std::int32_t fields[5] = {height, f.width, f.escapement, f.escapement, f.weight};
    std::memcpy(elw.data(), fields, sizeof fields);  // little-endian like the file
    elw[20] = f.italic ? 1 : 0;
    elw[21] = f.underline ? 1 : 0;
    elw[22] = f.strikeOut ? 1 : 0;
    elw[23] = 1;  // DEFAULT_CHARSET
    const std::u16string face = platform::Widen(f.face.substr(0, 31));
    for (std::size_t k = 0; k < face.size(); ++k) {
      elw[28 + 2 * k] = char(face[k] & 0xFF);
      elw[29 + 2 * k] = char(face[k] >> 8);
    }
    Put(body_, EMR_EXTCREATEFONTINDIRECTW);
    Put(body_, std::uint32_t(12 + elw.size()));
    Put(body_, kFontSlot);
    body_ += elw;
    ++records_;
  }

  void FillBox(const CRect& r, COLORREF color) {
    Select(kNullPen);
    UseBrush(color);
    // With no pen a rectangle leaves out its right and bottom edge.
    Record(EMR_RECTANGLE, {U(r.left), U(r.top), U(r.right + 1LL), U(r.bottom + 1LL)});
  }

  void Add(const DrawRecord& r) {
    switch (r.op) {
      case DrawOp::Line:
        SetRop(r.rop);
        UsePen(r.color, r.width, r.penStyle);
        Record(EMR_MOVETOEX, {U(r.x1), U(r.y1)});
        Record(EMR_LINETO, {U(r.x2), U(r.y2)});
        break;
      case DrawOp::Rectangle:
        SetRop(r.rop);
        if (r.flags & DrawRecord::kHasPen)
          UsePen(r.color, r.width, r.penStyle);
        else
          Select(kNullPen);
        if (r.flags & DrawRecord::kHasBrush)
          UseBrush(r.fill);
        else
          Select(kNullBrush);
        Record(EMR_RECTANGLE, {U(r.x1), U(r.y1), U(r.x2), U(r.y2)});
        break;
      case DrawOp::FillRect:
        SetRop(kCopyPen);
        FillBox(r.Rect(), r.color);
        break;
      case DrawOp::Invert:
        SetRop(kNot);
        FillBox(r.Rect(), 0);
        break;
      case DrawOp::Pixel:
        Record(EMR_SETPIXELV, {U(r.x1), U(r.y1), r.color});
        break;
      case DrawOp::Text: AddText(r); break;
    }
  }

  void AddText(const DrawRecord& r) {
    const std::u16string text = platform::Widen(picture_.TextOf(r));
    if (text.empty()) return;
    SetRop(kCopyPen);
    UseFont(r.font);
    if (!textColor_ || *textColor_ != r.color) Record(EMR_SETTEXTCOLOR, {r.color});
    textColor_ = r.color;
    const bool opaque = (r.flags & DrawRecord::kOpaque) != 0;
    Record(EMR_SETBKMODE, {opaque ? kOpaque : kTransparent});
    if (opaque) Record(EMR_SETBKCOLOR, {r.fill});
    const PixelBox box = TextBoxOf(picture_, r);
    const CRect clip = r.clip ? picture_.clips[r.clip - 1] : CRect();
    const std::uint32_t chars = std::uint32_t(text.size());
    const std::uint32_t stringBytes = (2 * chars + 3) / 4 * 4;
    const std::uint32_t offString = 76, offDx = offString + stringBytes;
    Put(body_, EMR_EXTTEXTOUTW);
    Put(body_, offDx + 4 * chars);
    for (long long v : {box.left, box.top, box.right, box.bottom}) Put(body_, U(v));
    Put(body_, kGmCompatible);
    Put(body_, 0);  // exScale, eyScale: unused by a device in pixels
    Put(body_, 0);
    Put(body_, U(r.x1));
    Put(body_, U(r.y1));
    Put(body_, chars);
    Put(body_, offString);
    Put(body_, r.clip ? kEtoClipped : 0);
    for (LONG v : {clip.left, clip.top, clip.right, clip.bottom}) Put(body_, U(v));
    Put(body_, offDx);
    for (std::uint32_t k = 0; k < stringBytes / 2; ++k) {
      const char16_t unit = k < chars ? text[k] : u'\0';
      body_.push_back(char(unit & 0xFF));
      body_.push_back(char(unit >> 8));
    }
    // Advances that spread the text box's width over its characters.
    for (std::uint32_t k = 0; k < chars; ++k)
      Put(body_, std::uint32_t(r.x2 * (k + 1LL) / chars - r.x2 * std::int64_t(k) / chars));
    ++records_;
  }

  std::string Header() {
    const DeviceCaps& caps = picture_.caps;
    const int dpiX = std::max(1, caps.dpiX), dpiY = std::max(1, caps.dpiY);
    std::string h;
    Put(h, EMR_HEADER);
    Put(h, kHeaderSize);
    // An empty picture has the bounds (0,0)-(-1,-1).
    const PixelBox drawn = DrawnBounds(picture_);
    const PixelBox b = drawn.Empty() ? PixelBox{0, 0, -1, -1} : drawn;
    for (long long v : {b.left, b.top, b.right, b.bottom}) Put(h, U(v));
    // The frame in hundredths of a millimetre.
    Put(h, U(b.left * 2540 / dpiX));
    Put(h, U(b.top * 2540 / dpiY));
    Put(h, U(b.right * 2540 / dpiX));
    Put(h, U(b.bottom * 2540 / dpiY));
    Put(h, kSignature);
    Put(h, kVersion);
    Put(h, std::uint32_t(kHeaderSize + body_.size()));
    Put(h, records_ + 1);
    Put(h, kHandles);  // the handle count and a reserved zero
    Put(h, 0);         // no description
    Put(h, 0);
    Put(h, 0);  // no palette
    Put(h, U(caps.width));
    Put(h, U(caps.height));
    Put(h, U(caps.width * 254LL / (10LL * dpiX)));
    Put(h, U(caps.height * 254LL / (10LL * dpiY)));
    Put(h, 0);  // no pixel format, no OpenGL
    Put(h, 0);
    Put(h, 0);
    Put(h, U(caps.width * 25400LL / dpiX));
    Put(h, U(caps.height * 25400LL / dpiY));
    return h;
  }

  const Picture& picture_;
  std::string body_;
  std::uint32_t records_ = 0;
  bool live_[kHandles] = {};
  std::optional<std::array<std::uint32_t, 3>> pen_;
  std::optional<COLORREF> brush_;
  std::optional<std::uint32_t> font_;
  std::optional<COLORREF> textColor_;
  std::uint32_t rop_ = kCopyPen;
};

}  // namespace

std::string EnhancedMetafileOf(const Picture& picture) { return Writer(picture).Write(); }

}  // namespace platform::ui
