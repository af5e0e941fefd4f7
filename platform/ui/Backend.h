#pragma once
// The one seam between the user-interface model and a screen. The headless
// implementation (Headless.h) answers from test scripts and records what was
// shown; the windowed one (platform/qt) shows real windows. Everything the
// program's user-interface code needs from the system goes through here.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "platform/ui/Geometry.h"
#include "platform/ui/WinTypes.h"

class CDialog;
class CPropertySheet;
class CWnd;

namespace platform::ui {

class DrawSurface;
struct Picture;
struct FileDialogRequest;
struct ColorDialogRequest;
struct FontDialogRequest;
struct FolderDialogRequest;
struct PrintDialogRequest;
struct PopupMenuRequest;
struct PrintJobRequest;

enum class CursorShape { Arrow, IBeam, Wait, Cross, SizeNWSE, SizeNESW, SizeWE, SizeNS, SizeAll, No, Hand };

struct CursorHandle {
  CursorShape shape;
};
// The handle of a standard cursor (IDC_ARROW ...); unknown ids give the arrow.
[[nodiscard]] HCURSOR StandardCursor(int idc);

// A print job: one surface per page.
class PrintJob {
 public:
  virtual ~PrintJob() = default;
  virtual DrawSurface& StartPage() = 0;
  virtual void EndPage() = 0;
  virtual void End() = 0;
  virtual void Abort() = 0;
  // A preview, once ended: whether the user asked in it to print.
  [[nodiscard]] virtual bool PrintChosen() const { return false; }
};

class UiBackend {
 public:
  virtual ~UiBackend() = default;

  // Windows came, went or changed (the windowed implementation builds and
  // mirrors its widgets here).
  virtual void WindowCreated(CWnd& wnd) { (void)wnd; }
  virtual void WindowDestroyed(CWnd& wnd) { (void)wnd; }
  virtual void Invalidate(CWnd& wnd, const CRect* rect, bool erase) { (void)wnd; (void)rect; (void)erase; }

  // Runs a modal dialog whose window exists and was initialised; returns
  // when EndDialog has been called.
  virtual void RunModalDialog(CDialog& dialog) = 0;
  virtual void RunPropertySheet(CPropertySheet& sheet) = 0;
  // A modal loop that EndDialog ended (the windowed implementation leaves its loop).
  virtual void ModalEnded(CWnd& wnd) { (void)wnd; }

  // Common dialogs; true for OK.
  virtual bool RunFileDialog(FileDialogRequest& request) = 0;
  virtual bool RunColorDialog(ColorDialogRequest& request) = 0;
  virtual bool RunFontDialog(FontDialogRequest& request) = 0;
  virtual bool RunFolderDialog(FolderDialogRequest& request) = 0;
  virtual bool RunPrintDialog(PrintDialogRequest& request) = 0;
  // The id chosen from a popup menu, or 0 when it was dismissed.
  virtual UINT TrackPopupMenu(const PopupMenuRequest& request) = 0;
  virtual std::unique_ptr<PrintJob> StartPrintJob(const PrintJobRequest& request) = 0;

  // Drawing on a window outside its paint (CClientDC).
  virtual DrawSurface& ClientSurface(CWnd& wnd) = 0;

  virtual void StartTimer(CWnd& wnd, UINT_PTR id, UINT elapse) = 0;
  virtual void StopTimer(CWnd& wnd, UINT_PTR id) = 0;
  virtual void CaptureChanged(CWnd* capture) { (void)capture; }
  virtual void CursorChanged(HCURSOR cursor) { (void)cursor; }
  // A long task starts on the user-interface thread: the screen is brought
  // up to date first (a dialog just closed leaves it), and the wait cursor
  // shows over the whole program until EndWait. Waits nest.
  virtual void BeginWait() {}
  virtual void EndWait() {}
  virtual void FocusChanged(CWnd* focus) { (void)focus; }
  // The program told the user something in the main window's status bar.
  virtual void StatusTextShown(std::string_view text) { (void)text; }

  virtual bool SetClipboardText(std::string_view text) = 0;
  [[nodiscard]] virtual std::optional<std::string> GetClipboardText() = 0;
  virtual bool SetClipboardPicture(const Picture& picture) = 0;
  // Opens a web address in the user's browser; false when that failed.
  virtual bool OpenUrl(std::string_view url) = 0;

  // Lets the screen deliver what the user did meanwhile (the message pump calls it).
  virtual void ProcessPendingEvents() {}
  // Blocks until a message is posted (a headless run has nobody to wait for).
  virtual void WaitForMessage() = 0;
  // A message was posted to the program's queue.
  virtual void MessagePosted() {}
  // The program's message loop; returns the exit code of the quit message.
  virtual int RunMessageLoop() = 0;
  // Dialog base units (pixels per 4 horizontal and 8 vertical dialog units)
  // of a dialog font.
  [[nodiscard]] virtual CSize DialogBaseUnits(std::string_view face, int pointSize) {
    (void)face;
    (void)pointSize;
    return {6, 13};
  }
};

// The current implementation: the headless one unless another was installed.
UiBackend& Backend();
// Installs an implementation (not owned); nullptr goes back to the headless one.
void SetBackend(UiBackend* backend);

// The clipboard and the browser, through the current implementation.
bool SetClipboardText(std::string_view text);
[[nodiscard]] std::optional<std::string> GetClipboardText();
bool SetClipboardPicture(const Picture& picture);
bool OpenUrl(std::string_view url);

// Runs `task` at the next pump of the message queue.
void PostTask(std::function<void()> task);
// Runs the tasks and messages waiting in the queue, but not a quit message.
void DrainMessages();
[[nodiscard]] bool MessageQueueEmpty();
// Forgets every waiting message (tests start clean).
void ClearMessageQueue();
// The id of the command being dispatched (0 outside a command).
[[nodiscard]] UINT CurrentCommandId();

// Delivers a timer tick to the window that owns the timer.
void FireTimer(HWND hwnd, UINT_PTR id);

}  // namespace platform::ui

struct MSG {
  HWND hwnd = nullptr;
  UINT message = 0;
  WPARAM wParam = 0;
  LPARAM lParam = 0;
  std::function<void()> task;  // a posted task instead of a message
};

constexpr UINT PM_NOREMOVE = 0;
constexpr UINT PM_REMOVE = 1;

// The message queue of the user-interface thread.
BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg);
// FALSE for the quit message.
BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax);
LRESULT DispatchMessage(const MSG* msg);
BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
void PostQuitMessage(int exitCode);
