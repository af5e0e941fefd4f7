#pragma once
// The date picker of the date filters: a month calendar and "Set". After
// IDOK, SelectedDate holds the picked day at 00:00:00.000; Cancel (Escape or
// the close box) leaves it as it was.
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

class CCalendar : public CDialog {
  DECLARE_DYNAMIC(CCalendar)

 public:
  explicit CCalendar(CWnd* parent = nullptr);

  SYSTEMTIME SelectedDate;
  CMonthCalCtrl MonthCalendar;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnBnClickedOk();

  DECLARE_MESSAGE_MAP()
};
