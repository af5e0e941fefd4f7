#pragma once
// The on-screen counterparts of the model's windows. A peer owns its widget,
// mirrors the window's state into it (Refresh) and turns what the user does
// with the widget into the model's user-input calls.
#include <QFont>
#include <QPointer>
#include <QWidget>

#include <memory>

#include "platform/ui/DrawSurface.h"
#include "platform/ui/WindowState.h"

class QMdiArea;

namespace platform::qt {

class WidgetPeer : public platform::ui::WindowPeer {
 public:
  WidgetPeer(HWND hwnd, QWidget* widget);
  ~WidgetPeer() override;
  WidgetPeer(const WidgetPeer&) = delete;
  WidgetPeer& operator=(const WidgetPeer&) = delete;

  void Refresh(unsigned changes) override;
  [[nodiscard]] QWidget* Widget() const { return widget_; }
  // Peers whose widget needs the peer's connections are made first and given the widget then.
  void SetWidget(QWidget* widget) { widget_ = widget; }
  [[nodiscard]] HWND Hwnd() const { return hwnd_; }
  // The object that carries the widget's connections (gone with the peer).
  [[nodiscard]] QObject* Context() const { return context_.get(); }
  // The widget that child windows go into (an MDI area, a tab page ...).
  [[nodiscard]] virtual QWidget* ChildHost() const { return widget_; }
  // Whether the peer is writing the state into its widget (widget signals are then not the user's).
  [[nodiscard]] bool Updating() const { return updating_ > 0; }

 protected:
  virtual void RefreshOwn(unsigned changes) { (void)changes; }
  HWND hwnd_;
  QPointer<QWidget> widget_;
  std::unique_ptr<QObject> context_;
  int updating_ = 0;
};

[[nodiscard]] WidgetPeer* PeerOf(HWND hwnd);

// Builders, one per kind of window (QtDialogs.cpp, QtFrames.cpp).
void CreateDialogPeer(CWnd& dialog);
void CreateSheetPeer(CWnd& sheet);
void CreatePagePeer(CWnd& page);
void CreateFramePeer(CWnd& frame);
void CreateChildFramePeer(CWnd& child);
void CreateViewPeer(CWnd& view);
void CreateBarPeer(CWnd& bar);
// Ends the modal loop of a dialog or sheet.
void EndModalLoop(CWnd& wnd);
// Runs the modal loop of a dialog or sheet until EndModalLoop.
void RunModalLoop(CWnd& wnd);
// The view's overlay of drawings made outside its paint.
platform::ui::DrawSurface& ViewOverlay(CWnd& view);
void InvalidateView(CWnd& view);
// The font a dialog template names, as this system shows it, and its base units.
[[nodiscard]] QFont DialogFontOf(std::string_view face, int pointSize);
[[nodiscard]] CSize BaseUnitsOf(std::string_view face, int pointSize);
// Where a control's widget goes: the control's rectangle, except where the
// template's rectangle means more than the widget's size (a combo box's list).
[[nodiscard]] QRect ControlGeometry(const platform::ui::WindowState& control, QWidget& widget);
// Mirrors the model's cursor on the window under the mouse.
void ShowCursorOn(CWnd* wnd, HCURSOR cursor);

}  // namespace platform::qt
