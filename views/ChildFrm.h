#pragma once
// The document window of all three document types.
#include "platform/ui/Frame.h"

class CChildFrame : public CMDIChildWnd {
  DECLARE_DYNCREATE(CChildFrame)
 public:
  CChildFrame() = default;
  ~CChildFrame() override = default;

  BOOL PreCreateWindow(CREATESTRUCT& cs) override;

 protected:
  DECLARE_MESSAGE_MAP()
};
