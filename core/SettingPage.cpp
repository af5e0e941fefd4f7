#include "core/SettingPage.h"

#include <algorithm>

#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Controls.h"
#include "platform/ui/DC.h"
#include "platform/ui/DataExchange.h"
#include "resources/SettingPages.h"

IMPLEMENT_DYNAMIC(CSettingPage, CPropertyPage)

CSettingPage::CSettingPage(UINT templateId) : CPropertyPage(templateId) {
  qova::resources::RegisterSettingPages();
}

void CSettingPage::BindInt(UINT edit, int& field) { fields_.push_back({FieldKind::Int, edit, &field, 0, 0, {}}); }

void CSettingPage::BindInt(UINT edit, int& field, int minValue, int maxValue) {
  fields_.push_back({FieldKind::CheckedInt, edit, &field, minValue, maxValue, {}});
}

void CSettingPage::BindFloat(UINT edit, float& field) { fields_.push_back({FieldKind::Float, edit, &field, 0, 0, {}}); }

void CSettingPage::BindCheck(UINT box, int& field) { fields_.push_back({FieldKind::Check, box, &field, 0, 0, {}}); }

void CSettingPage::BindList(UINT combo, int& field, std::span<const char* const> items) {
  fields_.push_back({FieldKind::List, combo, &field, 0, 0, items});
}

void CSettingPage::AddSpin(UINT spin, int& field, int minValue, int maxValue, bool repaint) {
  spins_.push_back({spin, &field, minValue, maxValue, repaint});
}

void CSettingPage::AddColorButton(UINT button, COLORREF& field) { colorButtons_.push_back({button, &field}); }

void CSettingPage::AddFilledSwatch(UINT frame, const COLORREF& color) {
  swatches_.push_back({frame, &color, true, nullptr, 1, nullptr});
}

void CSettingPage::AddLineSwatch(UINT frame, const COLORREF& color, const int* width, int widthDivisor,
                                 const int* penStyle) {
  swatches_.push_back({frame, &color, false, width, widthDivisor, penStyle});
}

void CSettingPage::DoDataExchange(CDataExchange* pDX) {
  CPropertyPage::DoDataExchange(pDX);
  for (const Field& f : fields_) {
    const int id = int(f.id);
    switch (f.kind) {
      case FieldKind::Int: DDX_Text(pDX, id, *static_cast<int*>(f.field)); break;
      case FieldKind::CheckedInt:
        DDX_Text(pDX, id, *static_cast<int*>(f.field));
        DDV_MinMaxInt(pDX, *static_cast<int*>(f.field), f.minValue, f.maxValue);
        break;
      case FieldKind::Float: DDX_Text(pDX, id, *static_cast<float*>(f.field)); break;
      case FieldKind::Check: DDX_Check(pDX, id, *static_cast<int*>(f.field)); break;
      case FieldKind::List: ExchangeList(pDX, f); break;
    }
  }
}

void CSettingPage::ExchangeList(CDataExchange* pDX, const Field& list) {
  auto* combo = static_cast<CComboBox*>(GetDlgItem(int(list.id)));
  if (!combo) return;
  int& value = *static_cast<int*>(list.field);
  if (pDX->m_bSaveAndValidate) {
    if (const int selected = combo->GetCurSel(); selected != CB_ERR) value = selected;
    return;
  }
  if (combo->GetCount() == 0) {
    for (const char* item : list.items) combo->AddString(item);
  }
  combo->SetCurSel(value >= 0 && value < int(list.items.size()) ? value : -1);
}

BOOL CSettingPage::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    for (const ColorButton& b : colorButtons_) {
      if (b.id != LOWORD(wParam)) continue;
      ChooseColor(*b.field);
      return TRUE;
    }
  }
  return CPropertyPage::OnCommand(wParam, lParam);
}

BOOL CSettingPage::OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result) {
  const auto* header = reinterpret_cast<const NMHDR*>(lParam);
  if (header && header->code == UDN_DELTAPOS) {
    for (const Spin& spin : spins_) {
      if (spin.id != header->idFrom) continue;
      StepSpin(spin, reinterpret_cast<const NMUPDOWN*>(header)->iDelta);
      *result = 0;
      return TRUE;
    }
  }
  return CPropertyPage::OnNotify(wParam, lParam, result);
}

void CSettingPage::StepSpin(const Spin& spin, int delta) {
  (void)UpdateData(TRUE);
  // The up-downs keep the system's range of 100 down to 0, so the up arrow
  // reports a negative change.
  int& value = *spin.field;
  if (delta < 0 && value < spin.maxValue)
    ++value;
  else if (delta > 0 && value > spin.minValue)
    --value;
  if (spin.repaint) Invalidate();
  UpdateData(FALSE);
}

void CSettingPage::ChooseColor(COLORREF& field) {
  CColorDialog dialog(field);
  if (dialog.DoModal() != IDOK) return;
  field = dialog.GetColor();
  Invalidate();
}

void CSettingPage::OnPaint() {
  CPaintDC dc(this);
  for (const Swatch& swatch : swatches_) DrawSwatch(dc, swatch);
}

void CSettingPage::DrawSwatch(CDC& dc, const Swatch& swatch) {
  CWnd* frame = GetDlgItem(int(swatch.frame));
  if (!frame) return;
  CRect r;
  frame->GetWindowRect(&r);
  ScreenToClient(&r);
  if (swatch.filled) {
    dc.FillSolidRect(&r, *swatch.color);
    return;
  }
  // A settings file can hold any number; the line stays inside its frame.
  const int width = std::clamp(swatch.width ? *swatch.width / swatch.widthDivisor : 1, 1, std::max(1, r.Height()));
  const int style = swatch.penStyle && *swatch.penStyle >= PS_SOLID && *swatch.penStyle <= PS_NULL ? *swatch.penStyle
                                                                                                   : PS_SOLID;
  CPen pen(style, width, *swatch.color);
  CPen* old = dc.SelectObject(&pen);
  const int middle = (r.top + r.bottom) / 2;
  dc.MoveTo(r.left, middle);
  dc.LineTo(r.right, middle);
  dc.SelectObject(old);
}

void CSettingPage::Enable(UINT id, bool enabled) {
  if (CWnd* control = GetDlgItem(int(id))) control->EnableWindow(enabled ? TRUE : FALSE);
}
