#pragma once
// "Zoom Setting": the display size of the view in x and y, typed or stepped
// by one with the up-downs (never below 1). The caller fills the members and
// reads them after IDOK.
#include "platform/ui/Dialog.h"

class CZoomSetting : public CDialog {
  DECLARE_DYNAMIC(CZoomSetting)

 public:
  explicit CZoomSetting(CWnd* parent = nullptr);

  int ZoomY = 100;
  int ZoomX = 100;

 protected:
  void DoDataExchange(CDataExchange* pDX) override;
  void OnDeltaPosX(NMHDR* header, LRESULT* result);
  void OnDeltaPosY(NMHDR* header, LRESULT* result);

  DECLARE_MESSAGE_MAP()

 private:
  void Step(int& value, const NMHDR* header, LRESULT* result);
};
