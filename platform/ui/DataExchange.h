#pragma once
// Dialog data exchange: moving values between a dialog's controls and its
// members (loading when the dialog opens, saving with validation on OK), with
// the framework's messages for text that does not parse or is out of range.
// A failed check shows its message, puts the focus on the control and makes
// UpdateData return FALSE, so the dialog stays open.
#include <ctime>
#include <optional>
#include <stdexcept>
#include <string>

#include "platform/ui/Wnd.h"

class CTime;

namespace platform::ui {

// Thrown by CDataExchange::Fail and caught by UpdateData.
class DataExchangeFailure : public std::exception {
 public:
  [[nodiscard]] const char* what() const noexcept override { return "dialog data exchange failed"; }
};

// The framework's messages (with %1 and %2 for the bounds).
inline constexpr const char* kParseIntMessage = "Please enter an integer.";
inline constexpr const char* kParseUIntMessage = "Please enter a positive integer.";
inline constexpr const char* kParseRealMessage = "Please enter a number.";
inline constexpr const char* kIntRangeMessage = "Please enter an integer between %1 and %2.";
inline constexpr const char* kRealRangeMessage = "Please enter a number between %1 and %2.";
inline constexpr const char* kStringSizeMessage = "Please enter no more than %1 characters.";

// The integer a whole text holds as the exchange reads it (blanks around it
// allowed), or nothing: for controls that follow what is typed before OK.
[[nodiscard]] std::optional<int> ParseTypedInteger(const std::string& text);

// Replaces %1 and %2 in `format`.
[[nodiscard]] std::string FormatMessage2(std::string_view format, std::string_view first,
                                         std::string_view second = {});

}  // namespace platform::ui

class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate) : m_bSaveAndValidate(saveAndValidate), m_pDlgWnd(dialog) {}

  BOOL m_bSaveAndValidate;
  CWnd* m_pDlgWnd;
  UINT m_idLastControl = 0;
  BOOL m_bEditLastControl = FALSE;

  // The control `id` of the dialog; remembered as the one a failure focuses.
  CWnd* PrepareCtrl(int id);
  CWnd* PrepareEditCtrl(int id);
  // Focuses the last prepared control and ends the exchange.
  [[noreturn]] void Fail();
};

void DDX_Text(CDataExchange* pDX, int id, int& value);
void DDX_Text(CDataExchange* pDX, int id, long& value);
void DDX_Text(CDataExchange* pDX, int id, UINT& value);
void DDX_Text(CDataExchange* pDX, int id, BYTE& value);
void DDX_Text(CDataExchange* pDX, int id, short& value);
void DDX_Text(CDataExchange* pDX, int id, float& value);
void DDX_Text(CDataExchange* pDX, int id, double& value);
void DDX_Text(CDataExchange* pDX, int id, std::string& value);
void DDX_Check(CDataExchange* pDX, int id, int& value);
// The index of the checked button in the group that starts at `id`, -1 for none.
void DDX_Radio(CDataExchange* pDX, int id, int& value);
// Binds `control` to the dialog's control `id` (done once; later calls do nothing).
void DDX_Control(CDataExchange* pDX, int id, CWnd& control);
void DDX_CBIndex(CDataExchange* pDX, int id, int& index);
void DDX_CBString(CDataExchange* pDX, int id, std::string& value);
void DDX_LBIndex(CDataExchange* pDX, int id, int& index);
void DDX_LBString(CDataExchange* pDX, int id, std::string& value);
void DDX_MonthCalCtrl(CDataExchange* pDX, int id, SYSTEMTIME& value);

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue);
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minValue, long maxValue);
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue);
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minValue, BYTE maxValue);
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minValue, short maxValue);
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minValue, float maxValue);
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minValue, double maxValue);
void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars);
