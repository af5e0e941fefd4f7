#include "platform/ui/Headless.h"

#include <algorithm>
#include <cstdio>

#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Paper.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/UserInput.h"

namespace platform::ui {

namespace {

class HeadlessPrintJob : public PrintJob {
 public:
  HeadlessPrintJob(const PrintJobRequest& request, std::function<void(PrintedJob)> done,
                   std::function<bool(const PrintedJob&)> preview)
      : request_(request), done_(std::move(done)), preview_(std::move(preview)) {
    job_.title = request.title;
    job_.preview = request.preview;
    job_.printer = request.printer;
  }
  DrawSurface& StartPage() override {
    page_ = std::make_unique<RecordingSurface>(PrinterCaps(job_.printer));
    return *page_;
  }
  void EndPage() override {
    if (!page_) return;
    job_.pages.push_back(page_->Contents());
    page_.reset();
  }
  void End() override {
    EndPage();
    // What comes out of the printer: the sheets, copies and order as asked.
    std::vector<Picture> sheets;
    for (std::size_t page : SheetOrder(job_.pages.size(), request_)) {
      if (request_.copies > 1)
        sheets.push_back(job_.pages[page]);
      else
        sheets.push_back(std::move(job_.pages[page]));
    }
    job_.pages = std::move(sheets);
    printChosen_ = job_.preview && preview_ && preview_(job_);
    if (done_) done_(std::move(job_));
    done_ = nullptr;
  }
  void Abort() override { done_ = nullptr; }
  [[nodiscard]] bool PrintChosen() const override { return printChosen_; }

 private:
  PrintJobRequest request_;
  PrintedJob job_;
  std::unique_ptr<RecordingSurface> page_;
  std::function<void(PrintedJob)> done_;
  std::function<bool(const PrintedJob&)> preview_;
  bool printChosen_ = false;
};

std::string ClassName(const CWnd& wnd) { return wnd.GetRuntimeClass()->m_lpszClassName; }

}  // namespace

HeadlessUi& Headless() {
  static HeadlessUi ui;
  return ui;
}

HeadlessUi::HeadlessUi() = default;
HeadlessUi::~HeadlessUi() = default;

void HeadlessUi::OnDialog(UINT templateId, DialogScript script) { dialogById_[templateId] = std::move(script); }
void HeadlessUi::OnDialog(std::string_view classOrCaption, DialogScript script) {
  dialogByName_[std::string(classOrCaption)] = std::move(script);
}
void HeadlessUi::OnSheet(std::string_view classOrCaption, SheetScript script) {
  sheetByName_[std::string(classOrCaption)] = std::move(script);
}
void HeadlessUi::OnModeless(UINT templateId, DialogScript script) { modelessById_[templateId] = std::move(script); }
void HeadlessUi::OnFileDialog(std::function<bool(FileDialogRequest&)> script) { fileScript_ = std::move(script); }
void HeadlessUi::OnColorDialog(std::function<bool(ColorDialogRequest&)> script) { colorScript_ = std::move(script); }
void HeadlessUi::OnFontDialog(std::function<bool(FontDialogRequest&)> script) { fontScript_ = std::move(script); }
void HeadlessUi::OnFolderDialog(std::function<bool(FolderDialogRequest&)> script) { folderScript_ = std::move(script); }
void HeadlessUi::OnPrintDialog(std::function<bool(PrintDialogRequest&)> script) { printScript_ = std::move(script); }
void HeadlessUi::OnPrintPreview(std::function<bool(const PrintedJob&)> script) { previewScript_ = std::move(script); }
void HeadlessUi::OnPopupMenu(std::function<UINT(const PopupMenuRequest&)> script) { popupScript_ = std::move(script); }

void HeadlessUi::Reset() {
  dialogById_.clear();
  dialogByName_.clear();
  sheetByName_.clear();
  modelessById_.clear();
  fileScript_ = nullptr;
  colorScript_ = nullptr;
  fontScript_ = nullptr;
  folderScript_ = nullptr;
  printScript_ = nullptr;
  previewScript_ = nullptr;
  popupScript_ = nullptr;
  shown_.clear();
  urls_.clear();
  urlSucceeds_ = true;
  clipboardText_.reset();
  clipboardPicture_.reset();
  cursor_ = nullptr;
  waitDepth_ = 0;
  waitsBegun_ = 0;
  jobs_.clear();
  popups_.clear();
  statusTexts_.clear();
  lastFileFolder_.clear();
  failures_.clear();
  clientDrawings_.clear();
  invalidated_.clear();
  timers_.clear();
  now_ = 0;
}

void HeadlessUi::Fail(const std::string& message) {
  failures_.push_back(message);
  std::fprintf(stderr, "headless user interface: %s\n", message.c_str());
  throw ScriptError(message);
}

template <class Script>
const Script* HeadlessUi::FindScript(const std::map<UINT, Script>& byId,
                                     const std::map<std::string, Script, std::less<>>& byName, UINT id,
                                     const CWnd& wnd, std::string_view caption) const {
  if (auto it = byId.find(id); id && it != byId.end()) return &it->second;
  if (auto it = byName.find(ClassName(wnd)); it != byName.end()) return &it->second;
  if (auto it = byName.find(caption); !caption.empty() && it != byName.end()) return &it->second;
  return nullptr;
}

void HeadlessUi::WindowCreated(CWnd& wnd) {
  auto* dialog = dynamic_cast<CDialog*>(&wnd);
  if (!dialog || !wnd.m_hWnd || wnd.m_hWnd->modal || wnd.m_hWnd->kind != WindowKind::Dialog) return;
  auto it = modelessById_.find(dialog->TemplateId());
  if (it == modelessById_.end()) return;
  DialogDriver driver(wnd);
  it->second(driver);
}

void HeadlessUi::WindowDestroyed(CWnd& wnd) {
  HWND h = wnd.m_hWnd;
  clientDrawings_.erase(h);
  invalidated_.erase(h);
  for (auto it = timers_.begin(); it != timers_.end();)
    it = it->first.first == h ? timers_.erase(it) : std::next(it);
}

void HeadlessUi::Invalidate(CWnd& wnd, const CRect* rect, bool erase) {
  (void)rect;
  (void)erase;
  invalidated_[wnd.m_hWnd] = true;
  // A repaint wipes out what was drawn outside the paint.
  if (auto it = clientDrawings_.find(wnd.m_hWnd); it != clientDrawings_.end()) it->second->Clear();
}

bool HeadlessUi::IsInvalidated(const CWnd& wnd) const {
  auto it = invalidated_.find(wnd.m_hWnd);
  return it != invalidated_.end() && it->second;
}

const Picture& HeadlessUi::ClientDrawing(const CWnd& wnd) {
  static const Picture empty;
  auto it = clientDrawings_.find(wnd.m_hWnd);
  return it == clientDrawings_.end() ? empty : it->second->Contents();
}

DrawSurface& HeadlessUi::ClientSurface(CWnd& wnd) {
  auto& surface = clientDrawings_[wnd.m_hWnd];
  CRect client = wnd.m_hWnd ? wnd.m_hWnd->ClientRect() : CRect();
  if (!surface) surface = std::make_unique<RecordingSurface>(DeviceCaps{client.Width(), client.Height(), 96, 96, false});
  return *surface;
}

Picture HeadlessUi::Paint(CWnd& wnd) {
  CRect client = wnd.m_hWnd ? wnd.m_hWnd->ClientRect() : CRect();
  RecordingSurface surface(DeviceCaps{client.Width(), client.Height(), 96, 96, false});
  PaintWindow(wnd, surface);
  invalidated_[wnd.m_hWnd] = false;
  if (auto it = clientDrawings_.find(wnd.m_hWnd); it != clientDrawings_.end()) it->second->Clear();
  return surface.Contents();
}

void HeadlessUi::RunModalDialog(CDialog& dialog) {
  std::string caption = dialog.GetWindowText();
  shown_.push_back({dialog.TemplateId(), ClassName(dialog), caption});
  const DialogScript* script = FindScript(dialogById_, dialogByName_, dialog.TemplateId(), dialog, caption);
  if (!script)
    Fail(platform::Format("no script for the modal dialog %u (%s, \"%s\")", dialog.TemplateId(),
                          ClassName(dialog).c_str(), caption.c_str()));
  DialogDriver driver(dialog);
  (*script)(driver);
  if (dialog.IsOpen())
    Fail(platform::Format("the dialog %u (%s) is still open after its script", dialog.TemplateId(),
                          ClassName(dialog).c_str()));
}

void HeadlessUi::RunPropertySheet(CPropertySheet& sheet) {
  std::string caption = sheet.GetTitle();
  shown_.push_back({0, ClassName(sheet), caption});
  std::map<UINT, SheetScript> noIds;
  const SheetScript* script = FindScript(noIds, sheetByName_, 0, sheet, caption);
  if (!script) Fail(platform::Format("no script for the property sheet \"%s\" (%s)", caption.c_str(), ClassName(sheet).c_str()));
  SheetDriver driver(sheet);
  (*script)(driver);
  if (sheet.IsOpen()) Fail(platform::Format("the property sheet \"%s\" is still open after its script", caption.c_str()));
}

bool HeadlessUi::RunFileDialog(FileDialogRequest& request) {
  shown_.push_back({0, request.open ? "CFileDialog(open)" : "CFileDialog(save)", request.title});
  if (!fileScript_) Fail("no script for a file dialog");
  if (request.initialFolder.empty()) request.initialFolder = lastFileFolder_;
  if (!fileScript_(request)) return false;
  for (std::string& path : request.chosen) {
    if (!request.initialFolder.empty() && platform::IsPlainFileName(path))
      path = platform::JoinPath(request.initialFolder, path);
  }
  if (!request.chosen.empty()) lastFileFolder_ = platform::FolderOf(request.chosen.front());
  return true;
}

bool HeadlessUi::RunColorDialog(ColorDialogRequest& request) {
  shown_.push_back({0, "CColorDialog", {}});
  if (!colorScript_) Fail("no script for a colour dialog");
  return colorScript_(request);
}

bool HeadlessUi::RunFontDialog(FontDialogRequest& request) {
  shown_.push_back({0, "CFontDialog", {}});
  if (!fontScript_) Fail("no script for a font dialog");
  return fontScript_(request);
}

bool HeadlessUi::RunFolderDialog(FolderDialogRequest& request) {
  shown_.push_back({0, "FolderBrowser", request.title});
  if (!folderScript_) Fail("no script for a folder browser");
  return folderScript_(request);
}

bool HeadlessUi::RunPrintDialog(PrintDialogRequest& request) {
  shown_.push_back({0, "CPrintDialog", {}});
  if (!printScript_) Fail("no script for a print dialog");
  return printScript_(request);
}

UINT HeadlessUi::TrackPopupMenu(const PopupMenuRequest& request) {
  popups_.push_back(request);
  if (!popupScript_) Fail("no script for a popup menu");
  UINT chosen = popupScript_(request);
  if (chosen == 0) return 0;
  auto offered = [&](auto& self, const std::vector<MenuEntry>& items) -> bool {
    for (const MenuEntry& e : items) {
      if (!e.popup.empty() ? self(self, e.popup) : (e.id == chosen && e.IsEnabled() && !e.IsSeparator())) return true;
    }
    return false;
  };
  if (!offered(offered, request.items)) Fail(platform::Format("the popup menu offers no enabled item %u", chosen));
  return chosen;
}

std::unique_ptr<PrintJob> HeadlessUi::StartPrintJob(const PrintJobRequest& request) {
  return std::make_unique<HeadlessPrintJob>(
      request, [this](PrintedJob job) { jobs_.push_back(std::move(job)); }, previewScript_);
}

void HeadlessUi::StartTimer(CWnd& wnd, UINT_PTR id, UINT elapse) {
  timers_[{wnd.m_hWnd, id}] = Timer{std::max<UINT>(elapse, 1), now_ + std::max<UINT>(elapse, 1)};
}

void HeadlessUi::StopTimer(CWnd& wnd, UINT_PTR id) { timers_.erase({wnd.m_hWnd, id}); }

bool HeadlessUi::HasTimer(const CWnd& wnd, UINT_PTR id) const { return timers_.count({wnd.m_hWnd, id}) != 0; }

void HeadlessUi::AdvanceClock(std::uint64_t milliseconds) {
  std::uint64_t end = now_ + milliseconds;
  while (true) {
    auto next = std::min_element(timers_.begin(), timers_.end(),
                                 [](const auto& a, const auto& b) { return a.second.due < b.second.due; });
    if (next == timers_.end() || next->second.due > end) break;
    now_ = next->second.due;
    next->second.due += next->second.elapse;
    auto [hwnd, id] = next->first;
    FireTimer(hwnd, id);
  }
  now_ = end;
}

bool HeadlessUi::SetClipboardText(std::string_view text) {
  clipboardText_ = std::string(text);
  clipboardPicture_.reset();
  return true;
}

bool HeadlessUi::SetClipboardPicture(const Picture& picture) {
  clipboardPicture_ = picture;
  clipboardText_.reset();
  return true;
}

bool HeadlessUi::OpenUrl(std::string_view url) {
  urls_.emplace_back(url);
  return urlSucceeds_;
}

void HeadlessUi::WaitForMessage() { Fail("the program waits for a message that nobody will send"); }

int HeadlessUi::RunMessageLoop() {
  MSG msg;
  while (PeekMessage(&msg, nullptr, 0, 0, PM_NOREMOVE)) {
    if (!GetMessage(&msg, nullptr, 0, 0)) return int(msg.wParam);
    DispatchMessage(&msg);
  }
  return 0;
}

// Drivers.

CWnd& DialogDriver::Control(UINT id) const {
  CWnd* control = dialog_->m_hWnd ? dialog_->GetDlgItem(int(id)) : nullptr;
  if (!control)
    throw ScriptError(platform::Format("the dialog %u has no control %u", dialog_->m_hWnd ? dialog_->m_hWnd->id : 0, id));
  return *control;
}

void DialogDriver::Expect(bool done, std::string_view what, UINT id) const {
  if (!done)
    throw ScriptError(platform::Format("a user cannot %.*s control %u of dialog %u", int(what.size()), what.data(), id,
                                       dialog_->m_hWnd ? dialog_->m_hWnd->id : 0));
}

std::string DialogDriver::Caption() const { return dialog_->GetWindowText(); }
std::string DialogDriver::Text(UINT id) const { return Control(id).GetWindowText(); }
int DialogDriver::Check(UINT id) const { return Control(id).State().check; }
bool DialogDriver::IsEnabled(UINT id) const { return Control(id).IsWindowEnabled() != FALSE; }
bool DialogDriver::IsVisible(UINT id) const { return Control(id).State().visible; }

std::vector<std::string> DialogDriver::Items(UINT id) const {
  std::vector<std::string> texts;
  for (const ListItem& item : Control(id).State().items) texts.push_back(item.text);
  return texts;
}

int DialogDriver::CurSel(UINT id) const { return Control(id).State().curSel; }

std::vector<int> DialogDriver::SelectedItems(UINT id) const {
  std::vector<int> selected;
  const auto& items = Control(id).State().items;
  for (size_t i = 0; i < items.size(); ++i)
    if (items[i].selected) selected.push_back(int(i));
  return selected;
}

int DialogDriver::ItemCheck(UINT id, int index) const {
  const auto& items = Control(id).State().items;
  if (index < 0 || index >= int(items.size())) throw ScriptError(platform::Format("control %u has no item %d", id, index));
  return items[size_t(index)].check;
}

int DialogDriver::Position(UINT id) const { return Control(id).State().pos; }
UINT DialogDriver::Focus() const { return dialog_->m_hWnd ? dialog_->m_hWnd->focusId : 0; }
bool DialogDriver::IsOpen() const { return dialog_->m_hWnd && !dialog_->m_hWnd->ended; }
int DialogDriver::Result() const { return dialog_->m_hWnd ? dialog_->m_hWnd->modalResult : -1; }

DialogDriver& DialogDriver::Type(UINT id, std::string_view text) {
  Expect(input::TypeText(Control(id), text), "type into", id);
  return *this;
}

DialogDriver& DialogDriver::Click(UINT id) {
  Expect(input::Click(Control(id)), "click", id);
  return *this;
}

DialogDriver& DialogDriver::SetCheck(UINT id, bool checked) {
  if ((Check(id) == 1) != checked) Click(id);
  return *this;
}

DialogDriver& DialogDriver::Select(UINT id, int index) {
  Expect(input::SelectItem(Control(id), index), "select an item of", id);
  return *this;
}

DialogDriver& DialogDriver::Select(UINT id, std::string_view itemText) {
  std::vector<std::string> items = Items(id);
  auto it = std::find(items.begin(), items.end(), itemText);
  Expect(it != items.end(), "find the item in", id);
  return Select(id, int(it - items.begin()));
}

DialogDriver& DialogDriver::SelectItems(UINT id, const std::vector<int>& indexes) {
  Expect(input::SelectItems(Control(id), indexes), "select these items of", id);
  return *this;
}

DialogDriver& DialogDriver::ToggleItemCheck(UINT id, int index) {
  Expect(input::ToggleItemCheck(Control(id), index), "check an item of", id);
  return *this;
}

DialogDriver& DialogDriver::DoubleClick(UINT id, int index) {
  Expect(input::DoubleClickItem(Control(id), index), "double-click an item of", id);
  return *this;
}

DialogDriver& DialogDriver::DragItem(UINT id, int from, int to) {
  Expect(input::MoveItem(Control(id), from, to), "drag an item of", id);
  return *this;
}

DialogDriver& DialogDriver::Spin(UINT id, int delta) {
  Expect(input::Spin(Control(id), delta), "spin", id);
  return *this;
}

DialogDriver& DialogDriver::PickDate(UINT id, const SYSTEMTIME& date) {
  Expect(input::PickDate(Control(id), date), "pick a date in", id);
  return *this;
}

DialogDriver& DialogDriver::ClickListItem(UINT id, int item) {
  Expect(input::ClickListItem(Control(id), item), "click an item of", id);
  return *this;
}

DialogDriver& DialogDriver::Cancel() {
  Expect(input::Escape(*dialog_), "press Escape in", 0);
  return *this;
}

Picture DialogDriver::Paint() const { return Headless().Paint(*dialog_); }

void DialogDriver::Post(std::function<void(DialogDriver&)> action) {
  HWND target = dialog_->m_hWnd;
  PostTask([target, action = std::move(action)] {
    CWnd* wnd = CWnd::FromHandle(target);
    if (!wnd) return;
    DialogDriver driver(*wnd);
    action(driver);
  });
}

DialogDriver SheetDriver::Page() const {
  CPropertyPage* page = sheet_->GetActivePage();
  if (!page) throw ScriptError("the property sheet has no active page");
  return DialogDriver(*page);
}

int SheetDriver::ActivePage() const { return sheet_->GetActiveIndex(); }

std::vector<std::string> SheetDriver::Tabs() const {
  std::vector<std::string> tabs;
  for (int i = 0; i < sheet_->GetPageCount(); ++i) tabs.push_back(sheet_->GetPage(i)->GetCaption());
  return tabs;
}

bool SheetDriver::SelectPage(int index) { return input::SelectPage(*sheet_, index); }
bool SheetDriver::Ok() { return sheet_->PressOk() != FALSE; }
void SheetDriver::Cancel() { sheet_->PressCancel(); }
bool SheetDriver::Apply() {
  if (!sheet_->HasApplyButton()) throw ScriptError("the property sheet has no Apply button");
  return sheet_->PressApply() != FALSE;
}
bool SheetDriver::IsOpen() const { return sheet_->IsOpen(); }

}  // namespace platform::ui
