#include "document/Calendar.h"

#include "document/FilterDates.h"
#include "platform/ui/DataExchange.h"
#include "resources/ExtractDialogs.h"

IMPLEMENT_DYNAMIC(CCalendar, CDialog)

BEGIN_MESSAGE_MAP(CCalendar, CDialog)
ON_BN_CLICKED(IDOK, &CCalendar::OnBnClickedOk)
END_MESSAGE_MAP()

CCalendar::CCalendar(CWnd* parent) : CDialog(qova::resources::kCalendarDialog, parent) {
  qova::resources::RegisterExtractDialogs();
}

void CCalendar::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Control(pDX, static_cast<int>(qova::resources::kCalendarMonth), MonthCalendar);
}

void CCalendar::OnBnClickedOk() {
  SYSTEMTIME picked;
  MonthCalendar.GetCurSel(&picked);
  // The picked day from its first moment: a From limit then takes the whole
  // day in, a To limit leaves all of it after midnight out.
  SelectedDate = StartOfDay(picked);
  CDialog::OnOK();
}
