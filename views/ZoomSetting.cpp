#include "views/ZoomSetting.h"

#include "platform/ui/DataExchange.h"
#include "resources/ViewDialogs.h"
#include "views/ViewNavigation.h"

namespace res = qova::resources;
namespace views = qova::views;

IMPLEMENT_DYNAMIC(CZoomSetting, CDialog)

BEGIN_MESSAGE_MAP(CZoomSetting, CDialog)
  ON_NOTIFY(UDN_DELTAPOS, res::kZoomXUpDown, &CZoomSetting::OnDeltaPosX)
  ON_NOTIFY(UDN_DELTAPOS, res::kZoomYUpDown, &CZoomSetting::OnDeltaPosY)
END_MESSAGE_MAP()

CZoomSetting::CZoomSetting(CWnd* parent) : CDialog(res::kZoomSettingDialog, parent) { res::RegisterViewDialogs(); }

void CZoomSetting::DoDataExchange(CDataExchange* pDX) {
  CDialog::DoDataExchange(pDX);
  DDX_Text(pDX, res::kZoomX, ZoomX);
  DDV_MinMaxInt(pDX, ZoomX, 1, views::kLargestDisplaySize);
  DDX_Text(pDX, res::kZoomY, ZoomY);
  DDV_MinMaxInt(pDX, ZoomY, 1, views::kLargestDisplaySize);
}

void CZoomSetting::OnDeltaPosX(NMHDR* header, LRESULT* result) { Step(ZoomX, header, result); }

void CZoomSetting::OnDeltaPosY(NMHDR* header, LRESULT* result) { Step(ZoomY, header, result); }

// The arrows step what the edits show now; what does not read as a number
// keeps the member's value. The up arrow reports a negative change.
void CZoomSetting::Step(int& value, const NMHDR* header, LRESULT* result) {
  for (auto [id, member] : {std::pair{res::kZoomX, &ZoomX}, std::pair{res::kZoomY, &ZoomY}}) {
    if (const std::optional<int> typed = platform::ui::ParseTypedInteger(GetDlgItemText(id))) *member = *typed;
  }
  const int delta = reinterpret_cast<const NMUPDOWN*>(header)->iDelta;
  value = views::ClampDisplaySize(delta < 0 ? 1LL * value + 1 : 1LL * value - 1);
  SetDlgItemText(res::kZoomX, std::to_string(ZoomX));
  SetDlgItemText(res::kZoomY, std::to_string(ZoomY));
  *result = 1;
}
