#pragma once
// The common dialogs: file open and save, folder browser, colour, font and
// print. Each fills a request that the current implementation answers (a
// test script headless, a real dialog on screen).
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/ui/DC.h"
#include "platform/ui/WinTypes.h"

class CWnd;

// File dialog flags (values as the framework's).
constexpr DWORD OFN_READONLY = 0x00000001;
constexpr DWORD OFN_OVERWRITEPROMPT = 0x00000002;
constexpr DWORD OFN_HIDEREADONLY = 0x00000004;
constexpr DWORD OFN_NOCHANGEDIR = 0x00000008;
constexpr DWORD OFN_ALLOWMULTISELECT = 0x00000200;
constexpr DWORD OFN_PATHMUSTEXIST = 0x00000800;
constexpr DWORD OFN_FILEMUSTEXIST = 0x00001000;
constexpr DWORD OFN_EXPLORER = 0x00080000;
// Colour and font dialog flags.
constexpr DWORD CC_RGBINIT = 0x00000001;
constexpr DWORD CC_FULLOPEN = 0x00000002;
constexpr DWORD CC_ANYCOLOR = 0x00000100;
constexpr DWORD CF_SCREENFONTS = 0x00000001;
constexpr DWORD CF_PRINTERFONTS = 0x00000002;
constexpr DWORD CF_BOTH = 0x00000003;
constexpr DWORD CF_INITTOLOGFONTSTRUCT = 0x00000040;
constexpr DWORD CF_EFFECTS = 0x00000100;
// Print dialog flags.
constexpr DWORD PD_ALLPAGES = 0x00000000;
constexpr DWORD PD_SELECTION = 0x00000001;
constexpr DWORD PD_PAGENUMS = 0x00000002;
constexpr DWORD PD_NOSELECTION = 0x00000004;
constexpr DWORD PD_COLLATE = 0x00000010;
constexpr DWORD PD_RETURNDC = 0x00000100;
constexpr DWORD PD_PRINTSETUP = 0x00000040;
constexpr DWORD PD_USEDEVMODECOPIES = 0x00040000;
// Folder browser flags.
constexpr UINT BIF_RETURNONLYFSDIRS = 0x0001;
constexpr UINT BIF_EDITBOX = 0x0010;
constexpr UINT BIF_NEWDIALOGSTYLE = 0x0040;

namespace platform::ui {

// "Text (*.txt)|*.txt|All Files (*.*)|*.*||" as (description, patterns) pairs.
[[nodiscard]] std::vector<std::pair<std::string, std::string>> ParseFilter(std::string_view filter);

struct FileDialogRequest {
  bool open = true;
  std::string title;
  std::string defaultExtension;  // without the dot
  std::string initialName;
  std::string initialFolder;
  DWORD flags = 0;
  std::vector<std::pair<std::string, std::string>> filters;
  int filterIndex = 1;  // 1-based, as the framework counts
  // The answer: the chosen paths (several with OFN_ALLOWMULTISELECT).
  std::vector<std::string> chosen;
};

struct ColorDialogRequest {
  COLORREF initial = 0;
  DWORD flags = 0;
  COLORREF chosen = 0;
};

struct FontDialogRequest {
  LOGFONT initial;
  DWORD flags = 0;
  COLORREF color = 0;
  LOGFONT chosen;
};

struct FolderDialogRequest {
  std::string title;
  std::string startFolder;
  UINT flags = 0;
  std::string chosen;  // a folder path as the system gives it
};

struct PrintDialogRequest {
  bool setupOnly = false;
  DWORD flags = 0;
  int minPage = 1;
  int maxPage = 0xFFFF;
  // The answer: the page range, the copies and their order, and the
  // printer's page in pixels.
  int fromPage = 1;
  int toPage = 0xFFFF;
  bool pageRange = false;
  int copies = 1;
  bool collate = true;   // 1,2,1,2 rather than 1,1,2,2
  bool reverse = false;  // the last page first
  PrinterSettings printer;
};

struct PrintJobRequest {
  PrinterSettings printer;
  std::string title;
  bool preview = false;
  // The sheets the printer is handed: every page `copies` times, collated or
  // not, the last page first with `reverse`.
  int copies = 1;
  bool collate = true;
  bool reverse = false;
};

// The pages of a job of `pages` pages (indexes from 0) in the order its
// sheets come out of the printer, a page once for each copy. Printers and
// PDF files alike get the sheets in this order: few drivers repeat or turn
// pages themselves, and a file never does.
[[nodiscard]] std::vector<std::size_t> SheetOrder(std::size_t pages, const PrintJobRequest& request);

// Shows the folder browser; true with `request.chosen` set when the user chose one.
bool BrowseForFolder(FolderDialogRequest& request);

}  // namespace platform::ui

class CCommonDialog {
 public:
  explicit CCommonDialog(CWnd* parent) : m_pParentWnd(parent) {}
  virtual ~CCommonDialog() = default;
  CCommonDialog(const CCommonDialog&) = delete;
  CCommonDialog& operator=(const CCommonDialog&) = delete;
  virtual INT_PTR DoModal() = 0;

 protected:
  CWnd* m_pParentWnd;
};

struct OPENFILENAME {
  DWORD Flags = 0;
  std::string lpstrTitle;
  std::string lpstrInitialDir;
  DWORD nFilterIndex = 1;
};

class CFileDialog : public CCommonDialog {
 public:
  CFileDialog(BOOL openFileDialog, const char* defaultExtension = nullptr, const char* fileName = nullptr,
              DWORD flags = OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT, const char* filter = nullptr,
              CWnd* parent = nullptr);
  INT_PTR DoModal() override;

  [[nodiscard]] std::string GetPathName() const;
  [[nodiscard]] std::string GetFileName() const;
  [[nodiscard]] std::string GetFileExt() const;
  [[nodiscard]] std::string GetFileTitle() const;
  [[nodiscard]] std::string GetFolderPath() const;
  // Multiple selection.
  [[nodiscard]] POSITION GetStartPosition() const;
  std::string GetNextPathName(POSITION& pos) const;

  OPENFILENAME m_ofn;

 private:
  platform::ui::FileDialogRequest request_;
};

struct CHOOSECOLOR {
  DWORD Flags = 0;
  COLORREF rgbResult = 0;
};

class CColorDialog : public CCommonDialog {
 public:
  explicit CColorDialog(COLORREF initial = 0, DWORD flags = 0, CWnd* parent = nullptr);
  INT_PTR DoModal() override;
  [[nodiscard]] COLORREF GetColor() const { return m_cc.rgbResult; }
  CHOOSECOLOR m_cc;
};

struct CHOOSEFONT {
  DWORD Flags = 0;
  LOGFONT* lpLogFont = nullptr;
  COLORREF rgbColors = 0;
};

class CFontDialog : public CCommonDialog {
 public:
  // With `initial` given, OK writes the chosen font into it too.
  explicit CFontDialog(LOGFONT* initial = nullptr, DWORD flags = CF_EFFECTS | CF_SCREENFONTS, CDC* printer = nullptr,
                       CWnd* parent = nullptr);
  INT_PTR DoModal() override;
  void GetCurrentFont(LOGFONT* font) const { *font = m_lf; }
  [[nodiscard]] COLORREF GetColor() const { return m_cf.rgbColors; }
  CHOOSEFONT m_cf;
  LOGFONT m_lf;
};

struct PRINTDLG {
  DWORD Flags = 0;
  WORD nFromPage = 1;
  WORD nToPage = 0xFFFF;
  WORD nMinPage = 1;
  WORD nMaxPage = 0xFFFF;
  WORD nCopies = 1;
};

class CPrintDialog : public CCommonDialog {
 public:
  explicit CPrintDialog(BOOL printSetupOnly, DWORD flags = PD_ALLPAGES | PD_USEDEVMODECOPIES | PD_NOSELECTION,
                        CWnd* parent = nullptr);
  INT_PTR DoModal() override;
  [[nodiscard]] int GetFromPage() const { return m_pd.nFromPage; }
  [[nodiscard]] int GetToPage() const { return m_pd.nToPage; }
  [[nodiscard]] BOOL PrintRange() const { return (m_pd.Flags & PD_PAGENUMS) ? TRUE : FALSE; }
  [[nodiscard]] int GetCopies() const { return m_pd.nCopies; }
  [[nodiscard]] BOOL PrintCollate() const { return (m_pd.Flags & PD_COLLATE) ? TRUE : FALSE; }
  // The last page first, as the dialog's Reverse asks.
  [[nodiscard]] BOOL PrintReverse() const { return reverse_; }
  [[nodiscard]] const platform::ui::PrinterSettings& Printer() const { return printer_; }

  PRINTDLG m_pd;

 private:
  BOOL setupOnly_;
  BOOL reverse_ = FALSE;
  platform::ui::PrinterSettings printer_;
};
