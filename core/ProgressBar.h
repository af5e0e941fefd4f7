#pragma once
// The modeless progress dialog of long operations. The operation owns a
// keep-going flag, builds the dialog on its stack with a pointer to it, and
// between items tests the flag, updates the bar and the status line, and
// calls PumpMessages so that the window stays responsive. Cancel clears the
// flag and gives the main window back at once; otherwise the destructor does.
//
//   BOOL keepGoing = TRUE;
//   CProgressBar progress(&keepGoing);
//   for (int i = 0; i < count && keepGoing; ++i) {
//     ...one item...
//     progress.SetStatusText("Reading " + name);
//     progress.SetPosition(i * 100 / count);
//     CProgressBar::PumpMessages();
//   }
#include <string>
#include <string_view>

#include "platform/ui/Dialog.h"

class CProgressBar : public CDialog {
  DECLARE_DYNAMIC(CProgressBar)
 public:
  // Disables the main window and shows the dialog. `keepGoing` must outlive
  // the dialog; it is only ever cleared, never set.
  explicit CProgressBar(BOOL* keepGoing);
  ~CProgressBar() override;
  CProgressBar(const CProgressBar&) = delete;
  CProgressBar& operator=(const CProgressBar&) = delete;

  // Processes every waiting message, then the idle work. FALSE when the quit
  // message was met; it is posted again so the main loop still ends.
  static BOOL PumpMessages();

  void OnCancel() override;

  // The bar (clamped to 0..100) and the status line; both do nothing once
  // the dialog is gone, so callers need not test the window themselves.
  void SetPosition(int percent);
  void SetStatusText(std::string_view text);
  // The animation shown while the dialog is up (it may be missing).
  [[nodiscard]] static std::string AnimationPath();

 private:
  void Close();

  BOOL* m_pKeepGoing;
};
