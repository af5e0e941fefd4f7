#include "platform/ui/Backend.h"

#include <cstdio>
#include <deque>

#include "platform/Time.h"
#include "platform/ui/Constants.h"
#include "platform/ui/Headless.h"
#include "platform/ui/Wnd.h"

namespace {

platform::ui::UiBackend* g_backend = nullptr;
std::deque<MSG> g_queue;

}  // namespace

namespace platform::ui {

UiBackend& Backend() { return g_backend ? *g_backend : Headless(); }

void SetBackend(UiBackend* backend) { g_backend = backend; }

HCURSOR StandardCursor(int idc) {
  static const CursorHandle arrow{CursorShape::Arrow}, ibeam{CursorShape::IBeam}, wait{CursorShape::Wait},
      cross{CursorShape::Cross}, nwse{CursorShape::SizeNWSE}, nesw{CursorShape::SizeNESW}, we{CursorShape::SizeWE},
      ns{CursorShape::SizeNS}, all{CursorShape::SizeAll}, no{CursorShape::No}, hand{CursorShape::Hand};
  switch (idc) {
    case IDC_IBEAM: return &ibeam;
    case IDC_WAIT: return &wait;
    case IDC_CROSS: return &cross;
    case IDC_SIZENWSE: return &nwse;
    case IDC_SIZENESW: return &nesw;
    case IDC_SIZEWE: return &we;
    case IDC_SIZENS: return &ns;
    case IDC_SIZEALL: return &all;
    case IDC_NO: return &no;
    case IDC_HAND: return &hand;
    default: return &arrow;
  }
}

bool SetClipboardText(std::string_view text) { return Backend().SetClipboardText(text); }
std::optional<std::string> GetClipboardText() { return Backend().GetClipboardText(); }
bool SetClipboardPicture(const Picture& picture) { return Backend().SetClipboardPicture(picture); }
bool OpenUrl(std::string_view url) { return Backend().OpenUrl(url); }

void PostTask(std::function<void()> task) {
  MSG msg;
  msg.task = std::move(task);
  g_queue.push_back(std::move(msg));
  Backend().MessagePosted();
}

void DrainMessages() {
  while (!g_queue.empty() && g_queue.front().message != WM_QUIT) {
    MSG msg = std::move(g_queue.front());
    g_queue.pop_front();
    DispatchMessage(&msg);
  }
}

bool MessageQueueEmpty() { return g_queue.empty(); }

void ClearMessageQueue() { g_queue.clear(); }

void FireTimer(HWND hwnd, UINT_PTR id) {
  if (CWnd* wnd = CWnd::FromHandle(hwnd)) wnd->SendMessage(WM_TIMER, id, 0);
}

}  // namespace platform::ui

BOOL PeekMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax, UINT removeMsg) {
  (void)hwnd;
  (void)filterMin;
  (void)filterMax;
  platform::ui::Backend().ProcessPendingEvents();
  if (g_queue.empty()) return FALSE;
  if (msg) *msg = g_queue.front();
  if (removeMsg & PM_REMOVE) g_queue.pop_front();
  return TRUE;
}

BOOL GetMessage(MSG* msg, HWND hwnd, UINT filterMin, UINT filterMax) {
  (void)hwnd;
  (void)filterMin;
  (void)filterMax;
  while (g_queue.empty()) platform::ui::Backend().WaitForMessage();
  MSG next = std::move(g_queue.front());
  g_queue.pop_front();
  BOOL quit = next.message == WM_QUIT;
  if (msg) *msg = std::move(next);
  return quit ? FALSE : TRUE;
}

LRESULT DispatchMessage(const MSG* msg) {
  if (!msg) return 0;
  if (msg->task) {
    msg->task();
    return 0;
  }
  CWnd* target = CWnd::FromHandle(msg->hwnd);
  return target ? target->SendMessage(msg->message, msg->wParam, msg->lParam) : 0;
}

BOOL PostMessage(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  MSG msg;
  msg.hwnd = hwnd;
  msg.message = message;
  msg.wParam = wParam;
  msg.lParam = lParam;
  g_queue.push_back(std::move(msg));
  platform::ui::Backend().MessagePosted();
  return TRUE;
}

void PostQuitMessage(int exitCode) { PostMessage(nullptr, WM_QUIT, WPARAM(exitCode), 0); }

void GetSystemTime(SYSTEMTIME* time) {
  CTime now = CTime::GetCurrentTime();
  std::string s = now.FormatGmt("%Y %m %d %H %M %S %w");
  int y = 0, mo = 0, d = 0, h = 0, mi = 0, se = 0, wd = 0;
  std::sscanf(s.c_str(), "%d %d %d %d %d %d %d", &y, &mo, &d, &h, &mi, &se, &wd);
  *time = SYSTEMTIME{WORD(y), WORD(mo), WORD(wd), WORD(d), WORD(h), WORD(mi), WORD(se), 0};
}

void GetLocalTime(SYSTEMTIME* time) {
  CTime now = CTime::GetCurrentTime();
  *time = SYSTEMTIME{WORD(now.GetYear()),  WORD(now.GetMonth()),  WORD(now.GetDayOfWeek() - 1), WORD(now.GetDay()),
                     WORD(now.GetHour()), WORD(now.GetMinute()), WORD(now.GetSecond()),         0};
}
