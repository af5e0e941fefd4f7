#pragma once
// The headless implementation of the user interface: tests and scripted runs
// register a script per dialog (by template id, class name or caption) that
// reads and sets controls and presses buttons as a user would, and answers
// for the common dialogs and popup menus. A modal dialog without a script,
// or one still open after its script, stops the run with a ScriptError.
// Everything shown is recorded: dialogs, opened addresses, the clipboard,
// print jobs, the cursor and what was drawn on windows outside a paint.
#include <algorithm>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/ui/Backend.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Menu.h"
#include "platform/ui/RecordingCanvas.h"

class CDialog;
class CPropertySheet;
class CWnd;

namespace platform::ui {

class ScriptError : public std::logic_error {
 public:
  using std::logic_error::logic_error;
};

// A script's hands on one dialog (or the active page of a sheet). Reading
// functions take the control's id; acting functions throw ScriptError when a
// user could not do what they ask (a disabled or hidden control, a missing item).
class DialogDriver {
 public:
  explicit DialogDriver(CWnd& dialog) : dialog_(&dialog) {}

  [[nodiscard]] CWnd& Window() const { return *dialog_; }
  [[nodiscard]] std::string Caption() const;
  [[nodiscard]] std::string Text(UINT id) const;
  [[nodiscard]] int Check(UINT id) const;
  [[nodiscard]] bool IsChecked(UINT id) const { return Check(id) == 1; }
  [[nodiscard]] bool IsEnabled(UINT id) const;
  [[nodiscard]] bool IsVisible(UINT id) const;
  [[nodiscard]] std::vector<std::string> Items(UINT id) const;
  [[nodiscard]] int CurSel(UINT id) const;
  [[nodiscard]] std::vector<int> SelectedItems(UINT id) const;
  [[nodiscard]] int ItemCheck(UINT id, int index) const;
  [[nodiscard]] int Position(UINT id) const;
  [[nodiscard]] UINT Focus() const;
  [[nodiscard]] bool IsOpen() const;
  [[nodiscard]] int Result() const;

  DialogDriver& Type(UINT id, std::string_view text);
  DialogDriver& Click(UINT id);
  DialogDriver& SetCheck(UINT id, bool checked);
  DialogDriver& Select(UINT id, int index);
  DialogDriver& Select(UINT id, std::string_view itemText);
  DialogDriver& SelectItems(UINT id, const std::vector<int>& indexes);
  DialogDriver& ToggleItemCheck(UINT id, int index);
  DialogDriver& DoubleClick(UINT id, int index);
  DialogDriver& DragItem(UINT id, int from, int to);
  DialogDriver& Spin(UINT id, int delta);
  DialogDriver& PickDate(UINT id, const SYSTEMTIME& date);
  DialogDriver& ClickListItem(UINT id, int item);
  DialogDriver& Ok() { return Click(IDOK); }
  // The Escape key (IDCANCEL, with or without a Cancel button).
  DialogDriver& Cancel();
  // What the dialog paints (its swatches and the like).
  [[nodiscard]] Picture Paint() const;
  // Runs `action` on this dialog at the next pump of the message queue, as a
  // user acting while the program works (a modeless dialog's Cancel).
  void Post(std::function<void(DialogDriver&)> action);

 private:
  [[nodiscard]] CWnd& Control(UINT id) const;
  void Expect(bool done, std::string_view what, UINT id) const;
  CWnd* dialog_;
};

class SheetDriver {
 public:
  explicit SheetDriver(CPropertySheet& sheet) : sheet_(&sheet) {}
  [[nodiscard]] CPropertySheet& Sheet() const { return *sheet_; }
  // The active page.
  [[nodiscard]] DialogDriver Page() const;
  [[nodiscard]] int ActivePage() const;
  [[nodiscard]] std::vector<std::string> Tabs() const;
  // Clicks a tab; false when the current page refused to be left.
  bool SelectPage(int index);
  bool Ok();
  void Cancel();
  // Throws ScriptError on a sheet without an Apply button.
  bool Apply();
  [[nodiscard]] bool IsOpen() const;

 private:
  CPropertySheet* sheet_;
};

using DialogScript = std::function<void(DialogDriver&)>;
using SheetScript = std::function<void(SheetDriver&)>;

struct ShownDialog {
  UINT templateId = 0;
  std::string className;
  std::string caption;
};

struct PrintedJob {
  std::string title;
  bool preview = false;
  PrinterSettings printer;
  // The sheets printed, in the order they came out, a page once per copy.
  std::vector<Picture> pages;
};

class HeadlessUi : public UiBackend {
 public:
  HeadlessUi();
  ~HeadlessUi() override;

  // Scripts. A dialog is matched by its template id, then its class name,
  // then its caption.
  void OnDialog(UINT templateId, DialogScript script);
  void OnDialog(std::string_view classOrCaption, DialogScript script);
  void OnSheet(std::string_view classOrCaption, SheetScript script);
  // Called when a modeless dialog of the template is created.
  void OnModeless(UINT templateId, DialogScript script);
  // A file dialog opens in the request's initial folder, else where the last
  // one was left, as the system's does; the script sees that folder as
  // `initialFolder`, and a bare file name it answers lands in it.
  void OnFileDialog(std::function<bool(FileDialogRequest&)> script);
  void OnColorDialog(std::function<bool(ColorDialogRequest&)> script);
  void OnFontDialog(std::function<bool(FontDialogRequest&)> script);
  void OnFolderDialog(std::function<bool(FolderDialogRequest&)> script);
  void OnPrintDialog(std::function<bool(PrintDialogRequest&)> script);
  // Called with a preview's pages; true chooses its Print (no script: Close).
  void OnPrintPreview(std::function<bool(const PrintedJob&)> script);
  // Returns the id to choose (0 dismisses the menu).
  void OnPopupMenu(std::function<UINT(const PopupMenuRequest&)> script);
  // Forgets scripts and records (tests start clean).
  void Reset();

  // Records.
  [[nodiscard]] const std::vector<ShownDialog>& ShownDialogs() const { return shown_; }
  [[nodiscard]] const std::vector<std::string>& OpenedUrls() const { return urls_; }
  void SetOpenUrlSucceeds(bool succeeds) { urlSucceeds_ = succeeds; }
  [[nodiscard]] const std::optional<std::string>& ClipboardText() const { return clipboardText_; }
  [[nodiscard]] const std::optional<Picture>& ClipboardPicture() const { return clipboardPicture_; }
  [[nodiscard]] HCURSOR Cursor() const { return cursor_; }
  // Whether the wait cursor shows, and how many waits began.
  [[nodiscard]] bool Waiting() const { return waitDepth_ > 0; }
  [[nodiscard]] int WaitsBegun() const { return waitsBegun_; }
  [[nodiscard]] const std::vector<PrintedJob>& PrintJobs() const { return jobs_; }
  [[nodiscard]] const std::vector<PopupMenuRequest>& PopupMenus() const { return popups_; }
  // Every text shown in the status bar through ShowStatusText, in order.
  [[nodiscard]] const std::vector<std::string>& StatusTexts() const { return statusTexts_; }
  // What was drawn on the window outside a paint since it was last invalidated.
  [[nodiscard]] const Picture& ClientDrawing(const CWnd& wnd);
  // Whether the window asked for a paint since it was last painted here.
  [[nodiscard]] bool IsInvalidated(const CWnd& wnd) const;
  // Paints the window's client area into a picture (its OnPaint; a view's OnDraw).
  Picture Paint(CWnd& wnd);
  // Every ScriptError raised so far.
  [[nodiscard]] const std::vector<std::string>& Failures() const { return failures_; }

  // The test clock: timers fire, in order, as it passes their time.
  [[nodiscard]] std::uint64_t Now() const { return now_; }
  void AdvanceClock(std::uint64_t milliseconds);
  [[nodiscard]] bool HasTimer(const CWnd& wnd, UINT_PTR id) const;

  // The implementation.
  void WindowCreated(CWnd& wnd) override;
  void WindowDestroyed(CWnd& wnd) override;
  void Invalidate(CWnd& wnd, const CRect* rect, bool erase) override;
  void RunModalDialog(CDialog& dialog) override;
  void RunPropertySheet(CPropertySheet& sheet) override;
  bool RunFileDialog(FileDialogRequest& request) override;
  bool RunColorDialog(ColorDialogRequest& request) override;
  bool RunFontDialog(FontDialogRequest& request) override;
  bool RunFolderDialog(FolderDialogRequest& request) override;
  bool RunPrintDialog(PrintDialogRequest& request) override;
  UINT TrackPopupMenu(const PopupMenuRequest& request) override;
  std::unique_ptr<PrintJob> StartPrintJob(const PrintJobRequest& request) override;
  DrawSurface& ClientSurface(CWnd& wnd) override;
  void StartTimer(CWnd& wnd, UINT_PTR id, UINT elapse) override;
  void StopTimer(CWnd& wnd, UINT_PTR id) override;
  void CursorChanged(HCURSOR cursor) override { cursor_ = cursor; }
  void StatusTextShown(std::string_view text) override { statusTexts_.emplace_back(text); }
  void BeginWait() override {
    ++waitDepth_;
    ++waitsBegun_;
  }
  void EndWait() override { waitDepth_ = std::max(0, waitDepth_ - 1); }
  bool SetClipboardText(std::string_view text) override;
  std::optional<std::string> GetClipboardText() override { return clipboardText_; }
  bool SetClipboardPicture(const Picture& picture) override;
  bool OpenUrl(std::string_view url) override;
  void WaitForMessage() override;
  int RunMessageLoop() override;

 private:
  [[noreturn]] void Fail(const std::string& message);
  template <class Script>
  const Script* FindScript(const std::map<UINT, Script>& byId, const std::map<std::string, Script, std::less<>>& byName,
                           UINT id, const CWnd& wnd, std::string_view caption) const;

  struct Timer {
    UINT elapse = 0;
    std::uint64_t due = 0;
  };

  std::map<UINT, DialogScript> dialogById_;
  std::map<std::string, DialogScript, std::less<>> dialogByName_;
  std::map<std::string, SheetScript, std::less<>> sheetByName_;
  std::map<UINT, DialogScript> modelessById_;
  std::function<bool(FileDialogRequest&)> fileScript_;
  std::function<bool(ColorDialogRequest&)> colorScript_;
  std::function<bool(FontDialogRequest&)> fontScript_;
  std::function<bool(FolderDialogRequest&)> folderScript_;
  std::function<bool(PrintDialogRequest&)> printScript_;
  std::function<bool(const PrintedJob&)> previewScript_;
  std::function<UINT(const PopupMenuRequest&)> popupScript_;

  std::vector<ShownDialog> shown_;
  std::vector<std::string> urls_;
  bool urlSucceeds_ = true;
  std::optional<std::string> clipboardText_;
  std::optional<Picture> clipboardPicture_;
  HCURSOR cursor_ = nullptr;
  int waitDepth_ = 0;
  int waitsBegun_ = 0;
  std::vector<PrintedJob> jobs_;
  std::vector<PopupMenuRequest> popups_;
  std::vector<std::string> statusTexts_;
  std::string lastFileFolder_;
  std::vector<std::string> failures_;
  std::map<HWND, std::unique_ptr<RecordingSurface>> clientDrawings_;
  std::map<HWND, bool> invalidated_;
  std::map<std::pair<HWND, UINT_PTR>, Timer> timers_;
  std::uint64_t now_ = 0;
};

// The headless implementation (the default one).
HeadlessUi& Headless();

}  // namespace platform::ui
