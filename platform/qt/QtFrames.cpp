// The main window, MDI child windows, views and the control bars on screen.
#include <QAbstractScrollArea>
#include <QCloseEvent>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QKeySequence>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QMenu>
#include <QMenuBar>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QShortcut>
#include <QStatusBar>
#include <QToolBar>
#include <QWheelEvent>
#include <QWindowStateChangeEvent>

#include "platform/qt/PainterSurface.h"
#include "platform/qt/QtPeers.h"
#include "platform/qt/QtText.h"
#include "platform/ui/Backend.h"
#include "platform/ui/DC.h"
#include "platform/ui/Frame.h"
#include "platform/ui/RecordingCanvas.h"
#include "platform/ui/Resources.h"
#include "platform/ui/UserInput.h"

namespace platform::qt {

using platform::ui::MenuEntry;
using platform::ui::WindowState;
namespace input = platform::ui::input;

namespace {

CFrameWnd* FrameOf(HWND hwnd) { return dynamic_cast<CFrameWnd*>(CWnd::FromHandle(hwnd)); }

// The window of the child that the program holds active in an MDI frame.
QMdiSubWindow* ActiveSubWindowOf(HWND frame) {
  auto* main = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandle(frame));
  CMDIChildWnd* active = main ? main->MDIGetActive() : nullptr;
  WidgetPeer* peer = active ? PeerOf(active->m_hWnd) : nullptr;
  return peer ? qobject_cast<QMdiSubWindow*>(peer->Widget()) : nullptr;
}

// When the main window becomes active again, Qt gives the keyboard back to
// the widget that last had it, or to the first one that takes it when that
// one went (a disabled window loses its focus: under a progress dialog), and
// so activates whichever child holds that widget. The child the program
// holds active takes it instead, so that a command or a dialog changes
// nothing about which window is active.
void GiveFocusToActiveChild(QWidget& window, HWND frame) {
  QMdiSubWindow* sub = ActiveSubWindowOf(frame);
  if (!sub) return;
  QWidget* focus = window.focusWidget();
  if (focus && (focus == sub || sub->isAncestorOf(focus))) return;
  QWidget* content = sub->widget();
  (content && content->isVisible() ? content : sub)->setFocus(Qt::ActiveWindowFocusReason);
}

class FrameWindow : public QMainWindow {
 public:
  explicit FrameWindow(HWND hwnd) : hwnd_(hwnd) {}

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (CWnd* wnd = CWnd::FromHandle(hwnd_)) input::Close(*wnd);
  }
  bool event(QEvent* event) override {
    if (event->type() == QEvent::WindowActivate && IsWindow(hwnd_)) GiveFocusToActiveChild(*this, hwnd_);
    // A maximised MDI child writes its own title into the main window's, and
    // puts back the title it found when it is restored or another takes its
    // place, by then a stale one; the model's title already names the
    // maximised child, so the model's stands, once the workspace has settled.
    if (event->type() == QEvent::WindowTitleChange && IsWindow(hwnd_))
      QMetaObject::invokeMethod(this, [this] {
        if (IsWindow(hwnd_) && windowTitle() != ToQString(hwnd_->text)) setWindowTitle(ToQString(hwnd_->text));
      }, Qt::QueuedConnection);
    return QMainWindow::event(event);
  }

 private:
  HWND hwnd_;
};

QKeySequence ToKeySequence(const platform::ui::Accelerator& a) {
  int key = 0;
  if (a.key >= 'A' && a.key <= 'Z') key = Qt::Key_A + (a.key - 'A');
  else if (a.key >= '0' && a.key <= '9') key = Qt::Key_0 + (a.key - '0');
  else if (a.key >= VK_F1 && a.key <= VK_F12) key = Qt::Key_F1 + (a.key - VK_F1);
  else if (a.key == VK_INSERT) key = Qt::Key_Insert;
  else if (a.key == VK_DELETE) key = Qt::Key_Delete;
  else if (a.key == VK_BACK) key = Qt::Key_Backspace;
  else if (a.key == VK_RETURN) key = Qt::Key_Return;
  else if (a.key == VK_ESCAPE) key = Qt::Key_Escape;
  else return QKeySequence();
  int modifiers = 0;
  if (a.flags & FCONTROL) modifiers |= Qt::CTRL;
  if (a.flags & FSHIFT) modifiers |= Qt::SHIFT;
  if (a.flags & FALT) modifiers |= Qt::ALT;
  return QKeySequence(key | modifiers);
}

class FramePeer : public WidgetPeer {
 public:
  FramePeer(HWND hwnd, FrameWindow* window) : WidgetPeer(hwnd, window), window_(window) {}
  [[nodiscard]] QWidget* ChildHost() const override { return mdi ? static_cast<QWidget*>(mdi) : widget_.data(); }

  void FillMenu(QMenu* menu, const std::vector<MenuEntry>& entries) {
    menu->clear();
    HWND hwnd = hwnd_;
    for (const MenuEntry& e : entries) {
      if (e.IsSeparator()) {
        menu->addSeparator();
      } else if (!e.popup.empty()) {
        FillMenu(menu->addMenu(ToQString(e.text)), e.popup);
      } else {
        QAction* action = menu->addAction(ToQString(e.text));
        action->setData(e.id);
        action->setEnabled(e.IsEnabled());
        // The prompt before its line break is the status bar's fly-by text.
        std::string prompt = AfxLoadString(e.id);
        action->setStatusTip(ToQString(prompt.substr(0, prompt.find('\n'))));
        action->setCheckable(e.flags & MF_CHECKED);
        action->setChecked(e.flags & MF_CHECKED);
        UINT id = e.id;
        QObject::connect(action, &QAction::triggered, Context(), [hwnd, id] {
          if (CFrameWnd* frame = FrameOf(hwnd)) input::ChooseCommand(*frame, id);
        });
      }
    }
  }

  void RebuildMenus() {
    CFrameWnd* frame = FrameOf(hwnd_);
    if (!frame) return;
    QMenuBar* bar = window_->menuBar();
    bar->clear();
    std::vector<MenuEntry> entries = frame->UpdatedMenu();
    HWND hwnd = hwnd_;
    for (size_t i = 0; i < entries.size(); ++i) {
      QMenu* menu = bar->addMenu(ToQString(entries[i].text));
      menu->setObjectName(QString("menu%1").arg(i));
      FillMenu(menu, entries[i].popup);
      // Update-UI runs each time a menu opens, as the framework does.
      QObject::connect(menu, &QMenu::aboutToShow, Context(), [this, hwnd, menu, i] {
        CFrameWnd* f = FrameOf(hwnd);
        if (!f) return;
        std::vector<MenuEntry> now = f->UpdatedMenu();
        if (i < now.size()) FillMenu(menu, now[i].popup);
      });
    }
  }

  void InstallAccelerators() {
    CFrameWnd* frame = FrameOf(hwnd_);
    if (!frame || !frame->m_pAccelTable) return;
    HWND hwnd = hwnd_;
    for (const platform::ui::Accelerator& a : frame->m_pAccelTable->entries) {
      QKeySequence sequence = ToKeySequence(a);
      if (sequence.isEmpty()) continue;
      auto* shortcut = new QShortcut(sequence, window_);
      UINT key = a.key;
      BYTE modifiers = BYTE(a.flags & (FCONTROL | FSHIFT | FALT));
      QObject::connect(shortcut, &QShortcut::activated, Context(), [hwnd, key, modifiers] {
        if (CFrameWnd* f = FrameOf(hwnd)) input::Key(*f, key, modifiers);
      });
    }
  }

  QMdiArea* mdi = nullptr;

 protected:
  void RefreshOwn(unsigned changes) override {
    if (changes & platform::ui::ChangeText) window_->setWindowTitle(ToQString(hwnd_->text));
    if (changes & platform::ui::ChangeMenu) RebuildMenus();
  }

 private:
  FrameWindow* window_;
};

class ChildWindow : public QMdiSubWindow {
 public:
  explicit ChildWindow(HWND hwnd) : hwnd_(hwnd) { setAttribute(Qt::WA_DeleteOnClose, false); }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    if (CWnd* wnd = CWnd::FromHandle(hwnd_)) input::Close(*wnd);
  }
  void moveEvent(QMoveEvent* event) override {
    QMdiSubWindow::moveEvent(event);
    UserPlaced();
  }
  void resizeEvent(QResizeEvent* event) override {
    QMdiSubWindow::resizeEvent(event);
    UserPlaced();
  }
  void changeEvent(QEvent* event) override {
    QMdiSubWindow::changeEvent(event);
    // Qt's own passes through the states while it changes one (restoring a
    // window passes through "normal" while the window still has its
    // maximised size) come as overrides: only the state it ends in counts.
    if (event->type() == QEvent::WindowStateChange && !static_cast<QWindowStateChangeEvent*>(event)->isOverride())
      UserPlaced();
  }

 private:
  // What the user did with the window's frame, told to the model (not what the model told the window).
  void UserPlaced() {
    WidgetPeer* peer = PeerOf(hwnd_);
    CWnd* wnd = CWnd::FromHandle(hwnd_);
    if (!peer || peer->Updating() || !wnd || !isVisible()) return;
    int state = isMaximized() ? SW_SHOWMAXIMIZED : isMinimized() ? SW_MINIMIZE : SW_RESTORE;
    QRect g = state == SW_RESTORE ? geometry() : QRect(hwnd_->rect.left, hwnd_->rect.top, hwnd_->rect.Width(), hwnd_->rect.Height());
    input::PlaceWindow(*wnd, CRect(g.x(), g.y(), g.x() + g.width(), g.y() + g.height()), state);
  }

  HWND hwnd_;
};

class ChildPeer : public WidgetPeer {
 public:
  ChildPeer(HWND hwnd, ChildWindow* window) : WidgetPeer(hwnd, window), window_(window) {}
  // Qt counts a window just added as the last one active, and when it goes
  // without ever having been active (a window made for a file that then fails
  // to open) activates another of its own choosing, the first one made, when
  // the deleted widget leaves. Taken out of the workspace at once it counts
  // as what it is, and the active window stays active.
  ~ChildPeer() override {
    auto* sub = qobject_cast<QMdiSubWindow*>(widget_.data());
    if (QMdiArea* area = sub ? sub->mdiArea() : nullptr) area->removeSubWindow(sub);
  }

 protected:
  void RefreshOwn(unsigned changes) override {
    if (changes & platform::ui::ChangeText) window_->setWindowTitle(ToQString(hwnd_->text));
    if (changes & platform::ui::ChangeRect) Place();
    if ((changes & platform::ui::ChangeFocus) && window_->mdiArea()) window_->mdiArea()->setActiveSubWindow(window_);
  }

 private:
  // The model's show state, and its place while the window is neither maximised nor minimised.
  void Place() {
    const WindowState& s = *hwnd_;
    const QRect place(s.rect.left, s.rect.top, s.rect.Width(), s.rect.Height());
    if (s.maximized) {
      if (!window_->isMaximized()) window_->showMaximized();
    } else if (s.minimized) {
      if (!window_->isMinimized()) window_->showMinimized();
      window_->move(place.topLeft());
    } else {
      if (window_->isMaximized() || window_->isMinimized()) window_->showNormal();
      window_->setGeometry(place);
    }
  }

  ChildWindow* window_;
};

// Tells the model the size of the MDI workspace whenever it changes.
class WorkspaceWatcher : public QObject {
 public:
  explicit WorkspaceWatcher(HWND frame, QObject* parent) : QObject(parent), frame_(frame) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Resize)
      if (auto* main = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandle(frame_))) {
        QSize size = static_cast<QWidget*>(watched)->size();
        main->SetMDIClientSize(CSize(size.width(), size.height()));
      }
    return false;
  }

 private:
  HWND frame_;
};

UINT MouseFlags(Qt::MouseButtons buttons, Qt::KeyboardModifiers modifiers) {
  UINT flags = 0;
  if (buttons & Qt::LeftButton) flags |= MK_LBUTTON;
  if (buttons & Qt::RightButton) flags |= MK_RBUTTON;
  if (buttons & Qt::MiddleButton) flags |= MK_MBUTTON;
  if (modifiers & Qt::ShiftModifier) flags |= MK_SHIFT;
  if (modifiers & Qt::ControlModifier) flags |= MK_CONTROL;
  return flags;
}

class ViewWidget : public QAbstractScrollArea {
 public:
  explicit ViewWidget(HWND hwnd) : hwnd_(hwnd), overlay_(platform::ui::DeviceCaps{}) {
    viewport()->setMouseTracking(true);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    for (int bar : {SB_HORZ, SB_VERT}) {
      QScrollBar* scroll = bar == SB_VERT ? verticalScrollBar() : horizontalScrollBar();
      connect(scroll, &QAbstractSlider::actionTriggered, this, [this, bar, scroll](int action) { Scrolled(bar, scroll, action); });
    }
  }

  void Invalidate() {
    cacheValid_ = false;
    overlay_.Clear();
    viewport()->update();
  }
  platform::ui::RecordingSurface& Overlay() {
    viewport()->update();
    return overlay_;
  }
  void SyncScrollBars() {
    if (!IsWindow(hwnd_)) return;
    syncing_ = true;
    for (int bar : {SB_HORZ, SB_VERT}) {
      const platform::ui::ScrollBarState& state = hwnd_->scroll[bar];
      QScrollBar* scroll = bar == SB_VERT ? verticalScrollBar() : horizontalScrollBar();
      int page = int(state.page);
      scroll->setRange(state.min, std::max(state.min, state.max - std::max(page - 1, 0)));
      scroll->setPageStep(std::max(page, 1));
      scroll->setSingleStep(std::max(page / 10, 1));
      scroll->setValue(state.pos);
      Qt::ScrollBarPolicy policy = state.visible ? Qt::ScrollBarAsNeeded : Qt::ScrollBarAlwaysOff;
      if (bar == SB_VERT) setVerticalScrollBarPolicy(policy);
      else setHorizontalScrollBarPolicy(policy);
    }
    syncing_ = false;
  }

 protected:
  void paintEvent(QPaintEvent*) override {
    CWnd* wnd = CWnd::FromHandle(hwnd_);
    QSize size = viewport()->size();
    if (!wnd || size.isEmpty()) return;
    platform::ui::DeviceCaps caps{size.width(), size.height(), 96, 96, false};
    if (!cacheValid_ || cache_.size() != size) {
      // The drawing pass runs once per invalidation; mouse feedback is laid over a copy.
      cache_ = QImage(size, QImage::Format_RGB32);
      cache_.fill(Qt::white);
      QPainter painter(&cache_);
      PainterSurface surface(painter, caps, &cache_);
      platform::ui::PaintWindow(*wnd, surface);
      cacheValid_ = true;
    }
    QImage shown = cache_;
    if (!overlay_.Contents().records.empty()) {
      QPainter painter(&shown);
      PainterSurface surface(painter, caps, &shown);
      overlay_.Contents().ReplayOn(surface);
    }
    QPainter(viewport()).drawImage(0, 0, shown);
  }
  void resizeEvent(QResizeEvent* event) override {
    QAbstractScrollArea::resizeEvent(event);
    if (CWnd* wnd = CWnd::FromHandle(hwnd_)) input::Resize(*wnd, viewport()->width(), viewport()->height());
    cacheValid_ = false;
  }
  void mousePressEvent(QMouseEvent* e) override {
    Mouse(e->button() == Qt::RightButton ? WM_RBUTTONDOWN : WM_LBUTTONDOWN, e);
  }
  void mouseReleaseEvent(QMouseEvent* e) override {
    Mouse(e->button() == Qt::RightButton ? WM_RBUTTONUP : WM_LBUTTONUP, e);
  }
  void mouseDoubleClickEvent(QMouseEvent* e) override {
    if (e->button() == Qt::LeftButton) Mouse(WM_LBUTTONDBLCLK, e);
  }
  void mouseMoveEvent(QMouseEvent* e) override { Mouse(WM_MOUSEMOVE, e); }
  void wheelEvent(QWheelEvent* e) override {
    if (CWnd* wnd = CWnd::FromHandle(hwnd_))
      input::Scroll(*wnd, SB_VERT, e->angleDelta().y() > 0 ? SB_LINEUP : SB_LINEDOWN);
  }
  void scrollContentsBy(int, int) override {}

 private:
  void Mouse(UINT message, QMouseEvent* e) {
    CWnd* wnd = CWnd::FromHandle(hwnd_);
    if (!wnd) return;
    QPoint p = e->position().toPoint();
    input::Mouse(*wnd, message, MouseFlags(e->buttons(), e->modifiers()), CPoint(p.x(), p.y()));
  }
  void Scrolled(int bar, QScrollBar* scroll, int action) {
    CWnd* wnd = CWnd::FromHandle(hwnd_);
    if (syncing_ || !wnd) return;
    UINT code = SB_ENDSCROLL;
    switch (action) {
      case QAbstractSlider::SliderSingleStepAdd: code = SB_LINEDOWN; break;
      case QAbstractSlider::SliderSingleStepSub: code = SB_LINEUP; break;
      case QAbstractSlider::SliderPageStepAdd: code = SB_PAGEDOWN; break;
      case QAbstractSlider::SliderPageStepSub: code = SB_PAGEUP; break;
      case QAbstractSlider::SliderToMinimum: code = SB_TOP; break;
      case QAbstractSlider::SliderToMaximum: code = SB_BOTTOM; break;
      case QAbstractSlider::SliderMove: code = SB_THUMBTRACK; break;
      default: return;
    }
    input::Scroll(*wnd, bar, code, scroll->sliderPosition());
    // The view decides where the bar goes.
    if (IsWindow(hwnd_)) scroll->setSliderPosition(hwnd_->scroll[bar].pos);
  }

  HWND hwnd_;
  QImage cache_;
  bool cacheValid_ = false;
  bool syncing_ = false;
  platform::ui::RecordingSurface overlay_;
};

class ViewPeer : public WidgetPeer {
 public:
  ViewPeer(HWND hwnd, ViewWidget* view) : WidgetPeer(hwnd, view), view_(view) {}
  ViewWidget* view_;

 protected:
  void RefreshOwn(unsigned changes) override {
    if (changes & platform::ui::ChangeScroll) view_->SyncScrollBars();
  }
};

// The button's picture as an icon; none when no tool bar has one.
QIcon ButtonIcon(UINT command) {
  const platform::ui::ButtonImage* image = platform::ui::Resources::Instance().ButtonImageOf(command);
  if (!image) return {};
  QImage pixels(16, 16, QImage::Format_ARGB32);
  pixels.fill(Qt::transparent);
  for (int y = 0; y < 16; ++y) {
    const char* row = image->rows[size_t(y)];
    for (int x = 0; row && x < 16 && row[x]; ++x)
      if (std::optional<COLORREF> colour = platform::ui::ButtonImageColour(row[x])) pixels.setPixelColor(x, y, ToQColor(*colour));
  }
  return QIcon(QPixmap::fromImage(pixels));
}

class BarPeer : public WidgetPeer {
 public:
  BarPeer(HWND hwnd, QWidget* widget, bool toolBar) : WidgetPeer(hwnd, widget), toolBar_(toolBar) {}

 protected:
  void RefreshOwn(unsigned changes) override {
    if (!(changes & platform::ui::ChangeBars)) return;
    if (toolBar_) RefreshToolBar(static_cast<QToolBar*>(widget_.data()));
    else RefreshStatusBar(static_cast<QStatusBar*>(widget_.data()));
  }

 private:
  void RefreshToolBar(QToolBar* bar) {
    const auto& items = hwnd_->items;
    if (bar->actions().size() != qsizetype(items.size())) {
      bar->clear();
      HWND frameHwnd = hwnd_->parent;
      for (const platform::ui::ListItem& button : items) {
        if (!button.data) {
          bar->addSeparator();
          continue;
        }
        QString text = ToQString(button.text);
        // The picture on the button, its text as the tool tip.
        QAction* action = bar->addAction(ButtonIcon(UINT(button.data)), text.isEmpty() ? QString::number(button.data) : text);
        std::string prompt = AfxLoadString(UINT(button.data));
        action->setStatusTip(ToQString(prompt.substr(0, prompt.find('\n'))));
        action->setData(QVariant::fromValue<qulonglong>(button.data));
        UINT id = UINT(button.data);
        QObject::connect(action, &QAction::triggered, Context(), [frameHwnd, id] {
          if (CFrameWnd* frame = FrameOf(frameHwnd)) input::ChooseCommand(*frame, id);
        });
      }
    }
    QList<QAction*> actions = bar->actions();
    for (qsizetype i = 0; i < actions.size() && i < qsizetype(items.size()); ++i) {
      const platform::ui::ListItem& button = items[size_t(i)];
      if (!button.data) continue;
      actions[i]->setEnabled(!button.selected);
      actions[i]->setCheckable(button.check != 0);
      actions[i]->setChecked(button.check != 0);
    }
  }
  void RefreshStatusBar(QStatusBar* bar) {
    const auto& items = hwnd_->items;
    while (labels_.size() < items.size()) {
      auto* label = new QLabel(bar);
      label->setObjectName(QString("pane%1").arg(labels_.size()));
      if (labels_.empty())
        bar->addWidget(label, 1);
      else
        bar->addPermanentWidget(label);
      labels_.push_back(label);
    }
    for (size_t i = 0; i < items.size(); ++i) labels_[i]->setText(ToQString(items[i].text));
  }

  bool toolBar_;
  std::vector<QLabel*> labels_;
};

FramePeer* FramePeerOf(HWND hwnd) { return dynamic_cast<FramePeer*>(PeerOf(hwnd)); }

}  // namespace

void CreateFramePeer(CWnd& frame) {
  WindowState& s = frame.State();
  HWND hwnd = &s;
  auto* window = new FrameWindow(hwnd);
  window->setObjectName("mainframe");
  window->resize(s.rect.Width(), s.rect.Height());
  auto* peer = new FramePeer(hwnd, window);
  s.peer.reset(peer);
  if (frame.IsKindOf(RUNTIME_CLASS(CMDIFrameWnd))) {
    peer->mdi = new QMdiArea(window);
    peer->mdi->setObjectName("mdi");
    peer->mdi->setOption(QMdiArea::DontMaximizeSubWindowOnActivation);
    window->setCentralWidget(peer->mdi);
    peer->mdi->viewport()->installEventFilter(new WorkspaceWatcher(hwnd, peer->mdi));
    QObject::connect(peer->mdi, &QMdiArea::subWindowActivated, peer->Context(), [hwnd](QMdiSubWindow* sub) {
      auto* main = dynamic_cast<CMDIFrameWnd*>(CWnd::FromHandle(hwnd));
      FramePeer* framePeer = FramePeerOf(hwnd);
      if (!main || !sub || !framePeer || framePeer->Updating()) return;
      for (CMDIChildWnd* child : main->MDIChildren()) {
        WidgetPeer* childPeer = PeerOf(child->m_hWnd);
        if (childPeer && childPeer->Widget() == sub && main->MDIGetActive() != child) main->MDIActivate(child);
      }
    });
  }
  peer->InstallAccelerators();
  peer->Refresh(platform::ui::ChangeAll);
}

void CreateChildFramePeer(CWnd& child) {
  WindowState& s = child.State();
  FramePeer* parent = FramePeerOf(s.parent);
  if (!parent) return;  // made with its frame's peer
  auto* window = new ChildWindow(&s);
  window->setObjectName(QString("child"));
  s.peer = std::make_unique<ChildPeer>(&s, window);
  if (parent->mdi) parent->mdi->addSubWindow(window);
  s.peer->Refresh(platform::ui::ChangeAll);
}

void CreateViewPeer(CWnd& view) {
  WindowState& s = view.State();
  WidgetPeer* parent = PeerOf(s.parent);
  if (!parent) return;  // made with its frame's peer
  auto* widget = new ViewWidget(&s);
  widget->setObjectName("view");
  s.peer = std::make_unique<ViewPeer>(&s, widget);
  if (auto* sub = qobject_cast<QMdiSubWindow*>(parent->Widget()))
    sub->setWidget(widget);
  else if (auto* main = qobject_cast<QMainWindow*>(parent->Widget()))
    main->setCentralWidget(widget);
  widget->SyncScrollBars();
}

void CreateBarPeer(CWnd& bar) {
  WindowState& s = bar.State();
  WidgetPeer* parent = PeerOf(s.parent);
  auto* main = parent ? qobject_cast<QMainWindow*>(parent->Widget()) : nullptr;
  if (!main) return;
  bool toolBar = s.kind == platform::ui::WindowKind::ToolBar;
  QWidget* widget = nullptr;
  if (toolBar) {
    auto* tb = main->addToolBar("Standard");
    tb->setObjectName("toolbar");
    tb->setToolButtonStyle(Qt::ToolButtonIconOnly);
    tb->setIconSize(QSize(16, 16));
    widget = tb;
  } else {
    widget = main->statusBar();
    widget->setObjectName("statusbar");
  }
  s.peer = std::make_unique<BarPeer>(&s, widget, toolBar);
  s.peer->Refresh(platform::ui::ChangeAll);
}

platform::ui::DrawSurface& ViewOverlay(CWnd& view) {
  auto* peer = dynamic_cast<ViewPeer*>(PeerOf(view.m_hWnd));
  static platform::ui::RecordingSurface nowhere{platform::ui::DeviceCaps{}};
  if (!peer) {
    nowhere.Clear();
    return nowhere;
  }
  return peer->view_->Overlay();
}

void InvalidateView(CWnd& view) {
  if (auto* peer = dynamic_cast<ViewPeer*>(PeerOf(view.m_hWnd))) peer->view_->Invalidate();
}

void ShowCursorOn(CWnd* wnd, HCURSOR cursor) {
  WidgetPeer* peer = wnd ? PeerOf(wnd->m_hWnd) : nullptr;
  if (!peer || !peer->Widget()) return;
  Qt::CursorShape shape = Qt::ArrowCursor;
  switch (cursor ? cursor->shape : platform::ui::CursorShape::Arrow) {
    case platform::ui::CursorShape::Cross: shape = Qt::CrossCursor; break;
    case platform::ui::CursorShape::Wait: shape = Qt::WaitCursor; break;
    case platform::ui::CursorShape::IBeam: shape = Qt::IBeamCursor; break;
    case platform::ui::CursorShape::SizeWE: shape = Qt::SizeHorCursor; break;
    case platform::ui::CursorShape::SizeNS: shape = Qt::SizeVerCursor; break;
    case platform::ui::CursorShape::SizeNWSE: shape = Qt::SizeFDiagCursor; break;
    case platform::ui::CursorShape::SizeNESW: shape = Qt::SizeBDiagCursor; break;
    case platform::ui::CursorShape::SizeAll: shape = Qt::SizeAllCursor; break;
    case platform::ui::CursorShape::No: shape = Qt::ForbiddenCursor; break;
    case platform::ui::CursorShape::Hand: shape = Qt::PointingHandCursor; break;
    default: break;
  }
  QWidget* target = peer->Widget();
  if (auto* area = qobject_cast<QAbstractScrollArea*>(target)) target = area->viewport();
  target->setCursor(shape);
}

}  // namespace platform::qt
