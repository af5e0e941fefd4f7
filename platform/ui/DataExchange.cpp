#include "platform/ui/DataExchange.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdlib>

#include "platform/Strings.h"
#include "platform/ui/Controls.h"
#include "platform/ui/Dialog.h"

using platform::ui::ControlKind;
using platform::ui::WindowState;

namespace platform::ui {

std::string FormatMessage2(std::string_view format, std::string_view first, std::string_view second) {
  std::string out;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == '%' && i + 1 < format.size() && (format[i + 1] == '1' || format[i + 1] == '2')) {
      out += format[i + 1] == '1' ? first : second;
      ++i;
    } else {
      out += format[i];
    }
  }
  return out;
}

}  // namespace platform::ui

namespace {

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// A whole text that holds one integer, blanks around it allowed. A zero must
// be written as "0": text that converts to nothing is not a zero.
bool ParseInteger(const std::string& text, long long minValue, long long maxValue, long long& value) {
  const char* p = text.c_str();
  while (IsBlank(*p)) ++p;
  char first = *p;
  errno = 0;
  char* end = nullptr;
  long long v = std::strtoll(p, &end, 10);
  if (end == p || errno == ERANGE) return false;
  if (v == 0 && first != '0') return false;
  while (IsBlank(*end)) ++end;
  if (*end != '\0' || v < minValue || v > maxValue) return false;
  value = v;
  return true;
}

bool ParseUnsigned(const std::string& text, unsigned long long maxValue, unsigned long long& value) {
  std::string trimmed = platform::Trim(text);
  if (!trimmed.empty() && trimmed[0] == '-') return false;
  long long v = 0;
  if (!ParseInteger(text, 0, LLONG_MAX, v) || static_cast<unsigned long long>(v) > maxValue) return false;
  value = static_cast<unsigned long long>(v);
  return true;
}

bool ParseReal(const std::string& text, double& value) {
  const char* p = text.c_str();
  while (IsBlank(*p)) ++p;
  char* end = nullptr;
  double v = std::strtod(p, &end);
  if (end == p || !std::isfinite(v)) return false;
  while (IsBlank(*end)) ++end;
  if (*end != '\0') return false;
  value = v;
  return true;
}

}  // namespace

std::optional<int> platform::ui::ParseTypedInteger(const std::string& text) {
  long long value = 0;
  if (!ParseInteger(text, INT_MIN, INT_MAX, value)) return std::nullopt;
  return static_cast<int>(value);
}

namespace {

[[noreturn]] void FailWith(CDataExchange* pDX, const std::string& message) {
  AfxMessageBox(message, MB_ICONEXCLAMATION);
  pDX->Fail();
}

template <class Int>
void ExchangeSigned(CDataExchange* pDX, int id, Int& value) {
  CWnd* edit = pDX->PrepareEditCtrl(id);
  if (!edit) return;
  if (!pDX->m_bSaveAndValidate) {
    edit->SetWindowText(std::to_string(static_cast<long long>(value)));
    return;
  }
  long long v = 0;
  if (!ParseInteger(edit->GetWindowText(), std::numeric_limits<Int>::min(), std::numeric_limits<Int>::max(), v))
    FailWith(pDX, platform::ui::kParseIntMessage);
  value = static_cast<Int>(v);
}

template <class Int>
void ExchangeUnsigned(CDataExchange* pDX, int id, Int& value) {
  CWnd* edit = pDX->PrepareEditCtrl(id);
  if (!edit) return;
  if (!pDX->m_bSaveAndValidate) {
    edit->SetWindowText(std::to_string(static_cast<unsigned long long>(value)));
    return;
  }
  unsigned long long v = 0;
  if (!ParseUnsigned(edit->GetWindowText(), std::numeric_limits<Int>::max(), v))
    FailWith(pDX, platform::ui::kParseUIntMessage);
  value = static_cast<Int>(v);
}

template <class Real>
void ExchangeReal(CDataExchange* pDX, int id, Real& value, int digits) {
  CWnd* edit = pDX->PrepareEditCtrl(id);
  if (!edit) return;
  if (!pDX->m_bSaveAndValidate) {
    edit->SetWindowText(platform::Format("%.*g", digits, static_cast<double>(value)));
    return;
  }
  double v = 0;
  if (!ParseReal(edit->GetWindowText(), v)) FailWith(pDX, platform::ui::kParseRealMessage);
  value = static_cast<Real>(v);
}

template <class Value>
void CheckRange(CDataExchange* pDX, Value value, Value minValue, Value maxValue, const char* message,
                const std::string& low, const std::string& high) {
  // Values loaded into the controls are the program's own; only the user's are checked.
  if (!pDX->m_bSaveAndValidate) return;
  if (value < minValue || value > maxValue) FailWith(pDX, platform::ui::FormatMessage2(message, low, high));
}

template <class Int>
void CheckIntegerRange(CDataExchange* pDX, Int value, Int minValue, Int maxValue) {
  CheckRange(pDX, value, minValue, maxValue, platform::ui::kIntRangeMessage, std::to_string(minValue),
             std::to_string(maxValue));
}

// The radio buttons of the group that starts at `first` (up to the next group start).
std::vector<WindowState*> RadioGroup(CWnd* dialog, int first) {
  std::vector<WindowState*> group;
  bool inGroup = false;
  for (WindowState* c : dialog->State().children) {
    if (!inGroup) {
      if (c->id == UINT(first)) inGroup = true;
      else continue;
    } else if (c->style & WS_GROUP) {
      break;
    }
    if (c->control == ControlKind::RadioButton) group.push_back(c);
  }
  return group;
}

}  // namespace

CWnd* CDataExchange::PrepareCtrl(int id) {
  m_idLastControl = UINT(id);
  m_bEditLastControl = FALSE;
  return m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
}

CWnd* CDataExchange::PrepareEditCtrl(int id) {
  CWnd* control = PrepareCtrl(id);
  m_bEditLastControl = TRUE;
  return control;
}

void CDataExchange::Fail() {
  if (m_pDlgWnd && m_idLastControl) {
    if (CWnd* control = m_pDlgWnd->GetDlgItem(int(m_idLastControl))) control->SetFocus();
  }
  throw platform::ui::DataExchangeFailure();
}

void DDX_Text(CDataExchange* pDX, int id, int& value) { ExchangeSigned(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, int id, long& value) { ExchangeSigned(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, int id, short& value) { ExchangeSigned(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, int id, UINT& value) { ExchangeUnsigned(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, int id, BYTE& value) { ExchangeUnsigned(pDX, id, value); }
void DDX_Text(CDataExchange* pDX, int id, float& value) { ExchangeReal(pDX, id, value, FLT_DIG); }
void DDX_Text(CDataExchange* pDX, int id, double& value) { ExchangeReal(pDX, id, value, DBL_DIG); }

void DDX_Text(CDataExchange* pDX, int id, std::string& value) {
  CWnd* edit = pDX->PrepareEditCtrl(id);
  if (!edit) return;
  if (pDX->m_bSaveAndValidate)
    value = edit->GetWindowText();
  else
    edit->SetWindowText(value);
}

void DDX_Check(CDataExchange* pDX, int id, int& value) {
  CWnd* button = pDX->PrepareCtrl(id);
  if (!button) return;
  if (pDX->m_bSaveAndValidate) {
    value = button->State().check;
  } else {
    int check = (value >= BST_UNCHECKED && value <= BST_INDETERMINATE) ? value : BST_UNCHECKED;
    pDX->m_pDlgWnd->CheckDlgButton(id, UINT(check));
  }
}

void DDX_Radio(CDataExchange* pDX, int id, int& value) {
  pDX->PrepareCtrl(id);
  std::vector<WindowState*> group = RadioGroup(pDX->m_pDlgWnd, id);
  if (pDX->m_bSaveAndValidate) {
    value = -1;
    for (size_t i = 0; i < group.size(); ++i)
      if (group[i]->check) value = int(i);
    return;
  }
  for (size_t i = 0; i < group.size(); ++i) pDX->m_pDlgWnd->CheckDlgButton(int(group[i]->id), int(i) == value ? 1 : 0);
}

void DDX_Control(CDataExchange* pDX, int id, CWnd& control) {
  if (control.m_hWnd) return;
  if (!control.SubclassDlgItem(UINT(id), pDX->m_pDlgWnd))
    throw std::logic_error(platform::Format("no control %d to bind", id));
}

void DDX_CBIndex(CDataExchange* pDX, int id, int& index) {
  auto* combo = static_cast<CComboBox*>(pDX->PrepareCtrl(id));
  if (!combo) return;
  if (pDX->m_bSaveAndValidate)
    index = combo->GetCurSel();
  else
    combo->SetCurSel(index);
}

void DDX_CBString(CDataExchange* pDX, int id, std::string& value) {
  auto* combo = static_cast<CComboBox*>(pDX->PrepareCtrl(id));
  if (!combo) return;
  if (pDX->m_bSaveAndValidate) {
    value = combo->GetWindowText();
  } else if (combo->SelectString(-1, value) == CB_ERR) {
    combo->SetWindowText(value);
  }
}

void DDX_LBIndex(CDataExchange* pDX, int id, int& index) {
  auto* list = static_cast<CListBox*>(pDX->PrepareCtrl(id));
  if (!list) return;
  if (pDX->m_bSaveAndValidate)
    index = list->GetCurSel();
  else
    list->SetCurSel(index);
}

void DDX_LBString(CDataExchange* pDX, int id, std::string& value) {
  auto* list = static_cast<CListBox*>(pDX->PrepareCtrl(id));
  if (!list) return;
  if (pDX->m_bSaveAndValidate) {
    int sel = list->GetCurSel();
    value = sel == LB_ERR ? std::string() : list->GetText(sel);
  } else {
    list->SelectString(-1, value);
  }
}

void DDX_MonthCalCtrl(CDataExchange* pDX, int id, SYSTEMTIME& value) {
  auto* calendar = static_cast<CMonthCalCtrl*>(pDX->PrepareCtrl(id));
  if (!calendar) return;
  if (pDX->m_bSaveAndValidate)
    calendar->GetCurSel(&value);
  else
    calendar->SetCurSel(&value);
}

void DDV_MinMaxInt(CDataExchange* pDX, int value, int minValue, int maxValue) {
  CheckIntegerRange(pDX, value, minValue, maxValue);
}
void DDV_MinMaxLong(CDataExchange* pDX, long value, long minValue, long maxValue) {
  CheckIntegerRange(pDX, value, minValue, maxValue);
}
void DDV_MinMaxShort(CDataExchange* pDX, short value, short minValue, short maxValue) {
  CheckIntegerRange(pDX, value, minValue, maxValue);
}
void DDV_MinMaxUInt(CDataExchange* pDX, UINT value, UINT minValue, UINT maxValue) {
  CheckIntegerRange(pDX, value, minValue, maxValue);
}
void DDV_MinMaxByte(CDataExchange* pDX, BYTE value, BYTE minValue, BYTE maxValue) {
  CheckIntegerRange(pDX, value, minValue, maxValue);
}
void DDV_MinMaxFloat(CDataExchange* pDX, float value, float minValue, float maxValue) {
  CheckRange(pDX, value, minValue, maxValue, platform::ui::kRealRangeMessage,
             platform::Format("%.*g", FLT_DIG, double(minValue)), platform::Format("%.*g", FLT_DIG, double(maxValue)));
}
void DDV_MinMaxDouble(CDataExchange* pDX, double value, double minValue, double maxValue) {
  CheckRange(pDX, value, minValue, maxValue, platform::ui::kRealRangeMessage,
             platform::Format("%.*g", DBL_DIG, minValue), platform::Format("%.*g", DBL_DIG, maxValue));
}

void DDV_MaxChars(CDataExchange* pDX, const std::string& value, int maxChars) {
  if (!pDX->m_bSaveAndValidate) {
    if (CWnd* edit = pDX->m_pDlgWnd->GetDlgItem(int(pDX->m_idLastControl))) edit->State().limitText = maxChars;
    return;
  }
  if (int(value.size()) > maxChars)
    FailWith(pDX, platform::ui::FormatMessage2(platform::ui::kStringSizeMessage, std::to_string(maxChars)));
}
