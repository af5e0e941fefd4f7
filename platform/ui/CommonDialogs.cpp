#include "platform/ui/CommonDialogs.h"

#include <algorithm>

#include "platform/Paths.h"
#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/Paper.h"

namespace platform::ui {

std::vector<std::pair<std::string, std::string>> ParseFilter(std::string_view filter) {
  std::vector<std::pair<std::string, std::string>> pairs;
  std::vector<std::string> parts;
  size_t start = 0;
  while (start < filter.size()) {
    size_t bar = filter.find('|', start);
    if (bar == std::string_view::npos) bar = filter.size();
    parts.emplace_back(filter.substr(start, bar - start));
    start = bar + 1;
  }
  for (size_t i = 0; i + 1 < parts.size(); i += 2) {
    if (parts[i].empty()) break;
    pairs.emplace_back(parts[i], parts[i + 1]);
  }
  return pairs;
}

bool BrowseForFolder(FolderDialogRequest& request) { return Backend().RunFolderDialog(request); }

std::vector<std::size_t> SheetOrder(std::size_t pages, const PrintJobRequest& request) {
  const std::size_t copies = std::size_t(std::max(1, request.copies));
  const auto page = [&](std::size_t i) { return request.reverse ? pages - 1 - i : i; };
  std::vector<std::size_t> order;
  order.reserve(pages * copies);
  for (std::size_t outer = 0; outer < (request.collate ? copies : pages); ++outer)
    for (std::size_t inner = 0; inner < (request.collate ? pages : copies); ++inner)
      order.push_back(page(request.collate ? inner : outer));
  return order;
}

}  // namespace platform::ui

CFileDialog::CFileDialog(BOOL openFileDialog, const char* defaultExtension, const char* fileName, DWORD flags,
                         const char* filter, CWnd* parent)
    : CCommonDialog(parent) {
  request_.open = openFileDialog != FALSE;
  if (defaultExtension) request_.defaultExtension = defaultExtension;
  if (fileName) request_.initialName = fileName;
  if (filter) request_.filters = platform::ui::ParseFilter(filter);
  m_ofn.Flags = flags;
}

INT_PTR CFileDialog::DoModal() {
  request_.title = m_ofn.lpstrTitle;
  request_.initialFolder = m_ofn.lpstrInitialDir;
  request_.flags = m_ofn.Flags;
  request_.filterIndex = int(m_ofn.nFilterIndex);
  request_.chosen.clear();
  if (!platform::ui::Backend().RunFileDialog(request_) || request_.chosen.empty()) {
    request_.chosen.clear();
    return IDCANCEL;
  }
  // A name typed without an extension gets the default one, as the system does.
  if (!request_.defaultExtension.empty()) {
    for (std::string& path : request_.chosen)
      if (platform::ExtensionOf(platform::FileNameOf(path)).empty()) path += "." + request_.defaultExtension;
  }
  m_ofn.nFilterIndex = DWORD(request_.filterIndex);
  return IDOK;
}

std::string CFileDialog::GetPathName() const { return request_.chosen.empty() ? std::string() : request_.chosen[0]; }

std::string CFileDialog::GetFileName() const { return platform::FileNameOf(GetPathName()); }

std::string CFileDialog::GetFileExt() const {
  std::string ext = platform::ExtensionOf(GetFileName());
  return ext.empty() ? ext : ext.substr(1);
}

std::string CFileDialog::GetFileTitle() const { return platform::StemOf(GetFileName()); }

std::string CFileDialog::GetFolderPath() const { return platform::FolderOf(GetPathName()); }

POSITION CFileDialog::GetStartPosition() const {
  return request_.chosen.empty() ? nullptr : platform::ui::PositionOf(0);
}

std::string CFileDialog::GetNextPathName(POSITION& pos) const {
  size_t index = platform::ui::IndexOf(pos);
  std::string path = index < request_.chosen.size() ? request_.chosen[index] : std::string();
  pos = index + 1 < request_.chosen.size() ? platform::ui::PositionOf(index + 1) : nullptr;
  return path;
}

CColorDialog::CColorDialog(COLORREF initial, DWORD flags, CWnd* parent) : CCommonDialog(parent) {
  m_cc.Flags = flags;
  m_cc.rgbResult = initial;
}

INT_PTR CColorDialog::DoModal() {
  platform::ui::ColorDialogRequest request;
  request.initial = m_cc.rgbResult;
  request.flags = m_cc.Flags;
  request.chosen = m_cc.rgbResult;
  if (!platform::ui::Backend().RunColorDialog(request)) return IDCANCEL;
  m_cc.rgbResult = request.chosen;
  return IDOK;
}

CFontDialog::CFontDialog(LOGFONT* initial, DWORD flags, CDC* printer, CWnd* parent) : CCommonDialog(parent) {
  (void)printer;
  m_cf.Flags = flags;
  if (initial) {
    m_lf = *initial;
    m_cf.lpLogFont = initial;
    m_cf.Flags |= CF_INITTOLOGFONTSTRUCT;
  } else {
    m_cf.lpLogFont = &m_lf;
  }
}

INT_PTR CFontDialog::DoModal() {
  platform::ui::FontDialogRequest request;
  request.initial = m_lf;
  request.chosen = m_lf;
  request.flags = m_cf.Flags;
  request.color = m_cf.rgbColors;
  if (!platform::ui::Backend().RunFontDialog(request)) return IDCANCEL;
  m_lf = request.chosen;
  if (m_cf.lpLogFont) *m_cf.lpLogFont = request.chosen;
  m_cf.rgbColors = request.color;
  return IDOK;
}

CPrintDialog::CPrintDialog(BOOL printSetupOnly, DWORD flags, CWnd* parent)
    : CCommonDialog(parent), setupOnly_(printSetupOnly) {
  m_pd.Flags = flags | (printSetupOnly ? PD_PRINTSETUP : 0);
  CWinApp* app = AfxGetApp();
  printer_ = app ? app->m_printer : platform::ui::DefaultPrinter();
}

INT_PTR CPrintDialog::DoModal() {
  platform::ui::PrintDialogRequest request;
  request.setupOnly = setupOnly_ != FALSE;
  request.flags = m_pd.Flags;
  request.minPage = m_pd.nMinPage;
  request.maxPage = m_pd.nMaxPage;
  request.fromPage = m_pd.nMinPage;
  request.toPage = m_pd.nMaxPage;
  request.copies = m_pd.nCopies;
  request.collate = (m_pd.Flags & PD_COLLATE) != 0;
  request.reverse = reverse_ != FALSE;
  request.printer = printer_;
  if (!platform::ui::Backend().RunPrintDialog(request)) return IDCANCEL;
  printer_ = request.printer;
  m_pd.nCopies = WORD(std::clamp(request.copies, 1, 0xFFFF));
  m_pd.Flags = request.collate ? (m_pd.Flags | PD_COLLATE) : (m_pd.Flags & ~PD_COLLATE);
  reverse_ = request.reverse ? TRUE : FALSE;
  if (request.pageRange) {
    m_pd.Flags |= PD_PAGENUMS;
    m_pd.nFromPage = WORD(request.fromPage);
    m_pd.nToPage = WORD(request.toPage);
  } else {
    m_pd.Flags &= ~PD_PAGENUMS;
  }
  return IDOK;
}
