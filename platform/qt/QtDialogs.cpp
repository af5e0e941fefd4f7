// Dialogs, property sheets and their controls on screen.
#include <QAbstractItemModel>
#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFontDatabase>
#include <QFontMetrics>
#include <QFrame>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/qt/PainterSurface.h"
#include "platform/qt/QtPeers.h"
#include "platform/qt/QtTabStops.h"
#include "platform/qt/QtText.h"
#include "platform/ui/App.h"
#include "platform/ui/DC.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/Resources.h"
#include "platform/ui/UserInput.h"
#include "platform/ui/Wnd.h"

namespace platform::qt {

using platform::ui::ControlKind;
using platform::ui::ListItem;
using platform::ui::WindowState;
namespace input = platform::ui::input;

// Peers in general.

WidgetPeer::WidgetPeer(HWND hwnd, QWidget* widget) : hwnd_(hwnd), widget_(widget), context_(std::make_unique<QObject>()) {}

WidgetPeer::~WidgetPeer() {
  context_.reset();  // cuts every connection at once
  if (widget_) {
    widget_->hide();
    widget_->deleteLater();
  }
}

void WidgetPeer::Refresh(unsigned changes) {
  if (!widget_ || !IsWindow(hwnd_)) return;
  ++updating_;
  if (changes & platform::ui::ChangeEnabled) widget_->setEnabled(hwnd_->enabled);
  if (changes & platform::ui::ChangeRect && hwnd_->kind == platform::ui::WindowKind::Control)
    widget_->setGeometry(ControlGeometry(*hwnd_, *widget_));
  RefreshOwn(changes);
  if (changes & platform::ui::ChangeVisible) widget_->setVisible(hwnd_->visible);
  --updating_;
}

QRect ControlGeometry(const WindowState& s, QWidget& widget) {
  const CRect& r = s.rect;
  QRect placed(r.left, r.top, r.Width(), r.Height());
  if (auto* combo = qobject_cast<QComboBox*>(&widget)) {
    // A combo box's rectangle reaches down to the bottom of its dropped list;
    // the box itself is one line high and the list opens over what lies below.
    int line = std::min(combo->sizeHint().height(), placed.height());
    int rowHeight = std::max(1, combo->fontMetrics().height() + 2);
    combo->setMaxVisibleItems(std::max(1, (placed.height() - line) / rowHeight));
    placed.setHeight(line);
  }
  return placed;
}

WidgetPeer* PeerOf(HWND hwnd) { return IsWindow(hwnd) ? static_cast<WidgetPeer*>(hwnd->peer.get()) : nullptr; }

QFont DialogFontOf(std::string_view face, int pointSize) {
  // The Windows dialog faces stand for the system's dialog font; here that is the general one.
  static constexpr std::string_view kSystemFaces[] = {"MS Shell Dlg", "MS Shell Dlg 2", "MS Sans Serif", "Tahoma",
                                                      "System"};
  bool system = face.empty() || std::find(std::begin(kSystemFaces), std::end(kSystemFaces), face) != std::end(kSystemFaces);
  QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
  if (!system) font.setFamily(ToQString(face));
  font.setPointSize(pointSize > 0 ? pointSize : 8);
  return font;
}

CSize BaseUnitsOf(std::string_view face, int pointSize) {
  QFontMetrics metrics(DialogFontOf(face, pointSize));
  int average = (metrics.horizontalAdvance("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz") / 26 + 1) / 2;
  return {std::max(1, average), std::max(1, metrics.height())};
}

namespace {

// The font of the window's template (pages and dialogs), else the default dialog font.
QFont DialogFont(const WindowState& s) {
  const platform::ui::DialogTemplate* t = platform::ui::Resources::Instance().Dialog(s.id);
  return t ? DialogFontOf(t->fontFace, t->fontSize) : DialogFontOf({}, 8);
}

// Paints the model window's client area (its swatches and the like) on the widget.
void PaintModelWindow(HWND hwnd, QWidget* widget) {
  CWnd* wnd = CWnd::FromHandle(hwnd);
  if (!wnd) return;
  QPainter painter(widget);
  PainterSurface surface(painter, platform::ui::DeviceCaps{widget->width(), widget->height(), 96, 96, false});
  platform::ui::PaintWindow(*wnd, surface);
}

class ModelDialog : public QDialog {
 public:
  explicit ModelDialog(HWND hwnd) : hwnd_(hwnd) {}
  void reject() override {
    // Escape and the close box are the dialog's Cancel; the dialog decides.
    if (CWnd* wnd = CWnd::FromHandle(hwnd_)) input::Escape(*wnd);
  }

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    reject();
  }
  void paintEvent(QPaintEvent*) override { PaintModelWindow(hwnd_, this); }

 private:
  HWND hwnd_;
};

class ModelPage : public QWidget {
 public:
  ModelPage(HWND hwnd, QWidget* parent) : QWidget(parent), hwnd_(hwnd) {}

 protected:
  void paintEvent(QPaintEvent*) override { PaintModelWindow(hwnd_, this); }

 private:
  HWND hwnd_;
};

// An up-down control: two arrows that propose a change of one step.
class UpDownWidget : public QWidget {
 public:
  explicit UpDownWidget(QWidget* parent) : QWidget(parent) {
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    up = new QToolButton(this);
    up->setArrowType(Qt::UpArrow);
    up->setObjectName("up");
    down = new QToolButton(this);
    down->setArrowType(Qt::DownArrow);
    down->setObjectName("down");
    for (QToolButton* b : {up, down}) {
      b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
      b->setAutoRepeat(true);
      layout->addWidget(b);
    }
  }
  QToolButton* up;
  QToolButton* down;
};

QString ItemText(const std::string& text) {
  QString shown = ToQString(text);
  shown.replace('\t', "    ");
  return shown;
}

// A multi-line edit keeps the system's CR LF line ends in the model; Qt's text has LF.
QString MultiLineText(const std::string& text) { return ToQString(text).replace("\r\n", "\n"); }

QWidget* MakeMultiLineEdit(WindowState& s, QWidget* parent, QObject* context) {
  auto* edit = new QPlainTextEdit(parent);
  edit->setVerticalScrollBarPolicy((s.style & WS_VSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  edit->setHorizontalScrollBarPolicy((s.style & WS_HSCROLL) ? Qt::ScrollBarAlwaysOn : Qt::ScrollBarAlwaysOff);
  edit->setLineWrapMode((s.style & (WS_HSCROLL | ES_AUTOHSCROLL)) ? QPlainTextEdit::NoWrap : QPlainTextEdit::WidgetWidth);
  edit->setTabChangesFocus(!(s.style & ES_WANTRETURN));
  HWND hwnd = &s;
  QObject::connect(edit, &QPlainTextEdit::textChanged, context, [hwnd, edit] {
    WidgetPeer* peer = PeerOf(hwnd);
    CWnd* control = CWnd::FromHandle(hwnd);
    if (!peer || peer->Updating() || !control) return;
    input::TypeText(*control, FromQString(edit->toPlainText().replace("\n", "\r\n")));
  });
  return edit;
}

void RefreshMultiLineEdit(const WindowState& s, QPlainTextEdit& edit) {
  edit.setReadOnly(s.style & ES_READONLY);
  QString text = MultiLineText(s.text);
  if (edit.toPlainText() == text) return;
  edit.setPlainText(text);
  // A box that the program fills shows from its first line.
  edit.moveCursor(QTextCursor::Start);
  edit.ensureCursorVisible();
}

class ControlPeer : public WidgetPeer {
 public:
  ControlPeer(HWND hwnd, QWidget* widget) : WidgetPeer(hwnd, widget) {}

 protected:
  void RefreshOwn(unsigned changes) override;

 private:
  void RefreshItems(unsigned changes);
};

void ControlPeer::RefreshItems(unsigned changes) {
  WindowState& s = *hwnd_;
  if (auto* list = qobject_cast<QListWidget*>(widget_.data())) {
    QSignalBlocker block(list);
    if (changes & platform::ui::ChangeItems) {
      list->clear();
      const bool tabStops = (s.style & LBS_USETABSTOPS) != 0;
      if (tabStops) SetListTabStops(list, s.tabStops);
      for (const ListItem& item : s.items) {
        auto* row = new QListWidgetItem(tabStops ? ToQString(item.text) : ItemText(item.text), list);
        if (s.control == ControlKind::CheckListBox) {
          row->setFlags(row->flags() | Qt::ItemIsUserCheckable);
          row->setCheckState(item.check ? Qt::Checked : Qt::Unchecked);
        }
      }
    }
    for (int i = 0; i < list->count() && i < int(s.items.size()); ++i)
      list->item(i)->setSelected(s.items[size_t(i)].selected || (s.curSel == i && !(s.style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL))));
    if (s.curSel >= 0 && s.curSel < list->count()) list->setCurrentRow(s.curSel, QItemSelectionModel::NoUpdate);
    return;
  }
  if (auto* combo = qobject_cast<QComboBox*>(widget_.data())) {
    QSignalBlocker block(combo);
    if (changes & platform::ui::ChangeItems) {
      combo->clear();
      for (const ListItem& item : s.items) combo->addItem(ToQString(item.text));
    }
    combo->setCurrentIndex(s.curSel);
    if (combo->isEditable() && combo->currentText() != ToQString(s.text)) combo->setEditText(ToQString(s.text));
    return;
  }
  if (auto* tree = qobject_cast<QTreeWidget*>(widget_.data())) {
    QSignalBlocker block(tree);
    if (changes & (platform::ui::ChangeColumns | platform::ui::ChangeItems)) {
      QStringList headings;
      for (const auto& column : s.columns) headings << ToQString(column.heading);
      tree->setColumnCount(std::max(1, int(s.columns.size())));
      tree->setHeaderLabels(headings);
      for (int c = 0; c < int(s.columns.size()); ++c)
        if (s.columns[size_t(c)].width > 0) tree->setColumnWidth(c, s.columns[size_t(c)].width);
      tree->clear();
      for (const ListItem& item : s.items) {
        auto* row = new QTreeWidgetItem(tree);
        row->setText(0, ToQString(item.text));
        for (size_t c = 0; c < item.subItems.size(); ++c) row->setText(int(c + 1), ToQString(item.subItems[c]));
        if (s.listExStyle & LVS_EX_CHECKBOXES) row->setCheckState(0, item.check ? Qt::Checked : Qt::Unchecked);
      }
    }
    for (int i = 0; i < tree->topLevelItemCount() && i < int(s.items.size()); ++i)
      tree->topLevelItem(i)->setSelected(s.items[size_t(i)].selected);
  }
}

void ControlPeer::RefreshOwn(unsigned changes) {
  WindowState& s = *hwnd_;
  QWidget* w = widget_;
  // Only the control the dialog gave the focus takes it: a refresh of every
  // control would otherwise leave it on whichever was refreshed last.
  if ((changes & platform::ui::ChangeFocus) && s.parent && s.parent->focusId == s.id && s.id != 0) w->setFocus();
  switch (s.control) {
    case ControlKind::Static:
      if (auto* label = qobject_cast<QLabel*>(w)) label->setText(PlainCaption(s.text));
      break;
    case ControlKind::GroupBox:
      if (auto* box = qobject_cast<QGroupBox*>(w)) box->setTitle(ToQString(s.text));
      break;
    case ControlKind::Edit:
      if (auto* lines = qobject_cast<QPlainTextEdit*>(w)) RefreshMultiLineEdit(s, *lines);
      if (auto* edit = qobject_cast<QLineEdit*>(w)) {
        if (edit->text() != ToQString(s.text)) edit->setText(ToQString(s.text));
        edit->setReadOnly(s.style & ES_READONLY);
        if (s.limitText > 0) edit->setMaxLength(s.limitText);
      }
      break;
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton:
      if (auto* button = qobject_cast<QAbstractButton*>(w)) {
        button->setText(ToQString(s.text));
        QSignalBlocker block(button);
        if (auto* check = qobject_cast<QCheckBox*>(w))
          check->setCheckState(s.check == 2 ? Qt::PartiallyChecked : s.check ? Qt::Checked : Qt::Unchecked);
        else if (s.control == ControlKind::RadioButton)
          button->setChecked(s.check != 0);
      }
      break;
    case ControlKind::ComboBox:
    case ControlKind::ListBox:
    case ControlKind::CheckListBox:
    case ControlKind::DragListBox:
    case ControlKind::ListCtrl: RefreshItems(changes); break;
    case ControlKind::Progress:
      if (auto* bar = qobject_cast<QProgressBar*>(w)) {
        bar->setRange(std::min(s.rangeMin, s.rangeMax), std::max(s.rangeMin, s.rangeMax));
        bar->setValue(s.pos);
      }
      break;
    case ControlKind::MonthCalendar:
      if (auto* calendar = qobject_cast<QCalendarWidget*>(w)) {
        QSignalBlocker block(calendar);
        calendar->setSelectedDate(QDate(s.date.wYear, s.date.wMonth, s.date.wDay));
      }
      break;
    default: break;
  }
}

// Reads the Qt list's selection back into the model as the user's choice.
void ListSelectionChanged(HWND hwnd, QListWidget* list) {
  WidgetPeer* peer = PeerOf(hwnd);
  CWnd* control = CWnd::FromHandle(hwnd);
  if (!peer || peer->Updating() || !control) return;
  std::vector<int> rows;
  for (int i = 0; i < list->count(); ++i)
    if (list->item(i)->isSelected()) rows.push_back(i);
  if (hwnd->style & (LBS_EXTENDEDSEL | LBS_MULTIPLESEL))
    input::SelectItems(*control, rows);
  else if (rows.size() == 1)
    input::SelectItem(*control, rows[0]);
  peer->Refresh(platform::ui::ChangeSelection);
}

// Tab walks the template's tab stops in the template's order (the order the
// widgets are made in); any other control takes the focus only when clicked,
// and an up-down's arrows never, so that the edit they step keeps it.
void SetTabStop(const WindowState& s, QWidget& widget) {
  if (auto* spin = dynamic_cast<UpDownWidget*>(&widget)) {
    spin->up->setFocusPolicy(Qt::NoFocus);
    spin->down->setFocusPolicy(Qt::NoFocus);
    return;
  }
  if (!(widget.focusPolicy() & Qt::TabFocus)) return;
  widget.setFocusPolicy((s.style & WS_TABSTOP) ? Qt::StrongFocus : Qt::ClickFocus);
}

QWidget* MakeControlWidget(WindowState& s, QWidget* parent) {
  QObject* context = nullptr;
  HWND hwnd = &s;
  auto control = [hwnd]() { return CWnd::FromHandle(hwnd); };
  auto user = [hwnd]() {
    WidgetPeer* peer = PeerOf(hwnd);
    return peer && !peer->Updating();
  };
  auto sync = [hwnd](unsigned changes) {
    if (WidgetPeer* peer = PeerOf(hwnd)) peer->Refresh(changes);
  };
  QWidget* widget = nullptr;
  auto peer = std::make_unique<ControlPeer>(hwnd, nullptr);
  context = peer->Context();
  switch (s.control) {
    case ControlKind::Static: {
      auto* label = new QLabel(parent);
      label->setWordWrap(true);
      label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
      widget = label;
      break;
    }
    case ControlKind::Frame: {
      auto* frame = new QFrame(parent);
      frame->setFrameShape(QFrame::Box);
      widget = frame;
      break;
    }
    case ControlKind::Animation: widget = new QLabel(parent); break;
    case ControlKind::GroupBox: widget = new QGroupBox(parent); break;
    case ControlKind::Edit: {
      if (s.style & ES_MULTILINE) {
        widget = MakeMultiLineEdit(s, parent, context);
        break;
      }
      auto* edit = new QLineEdit(parent);
      QObject::connect(edit, &QLineEdit::textEdited, context, [=](const QString& text) {
        if (user() && control()) input::TypeText(*control(), FromQString(text));
      });
      widget = edit;
      break;
    }
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::RadioButton: {
      QAbstractButton* button = nullptr;
      if (s.control == ControlKind::CheckBox) {
        button = new QCheckBox(parent);
      } else if (s.control == ControlKind::RadioButton) {
        button = new QRadioButton(parent);
        button->setAutoExclusive(false);
      } else {
        auto* push = new QPushButton(parent);
        push->setAutoDefault(false);
        push->setDefault(s.style & BS_DEFPUSHBUTTON);
        button = push;
      }
      QObject::connect(button, &QAbstractButton::clicked, context, [=] {
        if (!user() || !control()) return;
        input::Click(*control());
        sync(platform::ui::ChangeCheck);
      });
      widget = button;
      break;
    }
    case ControlKind::ComboBox: {
      auto* combo = new QComboBox(parent);
      combo->setEditable((s.style & 0x3) == CBS_DROPDOWN);
      QObject::connect(combo, qOverload<int>(&QComboBox::activated), context, [=](int index) {
        if (user() && control()) input::SelectItem(*control(), index);
      });
      if (combo->isEditable())
        QObject::connect(combo, &QComboBox::editTextChanged, context, [=](const QString& text) {
          if (user() && control()) input::TypeText(*control(), FromQString(text));
        });
      widget = combo;
      break;
    }
    case ControlKind::ListBox:
    case ControlKind::CheckListBox:
    case ControlKind::DragListBox: {
      auto* list = new QListWidget(parent);
      list->setSelectionMode((s.style & LBS_NOSEL)          ? QAbstractItemView::NoSelection
                             : (s.style & LBS_EXTENDEDSEL) ? QAbstractItemView::ExtendedSelection
                             : (s.style & LBS_MULTIPLESEL) ? QAbstractItemView::MultiSelection
                                                           : QAbstractItemView::SingleSelection);
      QObject::connect(list, &QListWidget::itemSelectionChanged, context, [=] { ListSelectionChanged(hwnd, list); });
      QObject::connect(list, &QListWidget::itemDoubleClicked, context, [=](QListWidgetItem* item) {
        if (user() && control()) input::DoubleClickItem(*control(), list->row(item));
      });
      if (s.control == ControlKind::CheckListBox)
        QObject::connect(list, &QListWidget::itemChanged, context, [=](QListWidgetItem* item) {
          int row = list->row(item);
          if (!user() || !control() || row < 0 || row >= int(hwnd->items.size())) return;
          if ((item->checkState() == Qt::Checked) != (hwnd->items[size_t(row)].check != 0))
            input::ToggleItemCheck(*control(), row);
        });
      if (s.control == ControlKind::DragListBox) {
        list->setDragDropMode(QAbstractItemView::InternalMove);
        QObject::connect(list->model(), &QAbstractItemModel::rowsMoved, context,
                         [=](const QModelIndex&, int start, int, const QModelIndex&, int row) {
                           if (!user() || !control()) return;
                           input::MoveItem(*control(), start, row > start ? row - 1 : row);
                           sync(platform::ui::ChangeItems | platform::ui::ChangeSelection);
                         });
      }
      widget = list;
      break;
    }
    case ControlKind::ListCtrl: {
      auto* tree = new QTreeWidget(parent);
      tree->setRootIsDecorated(false);
      tree->setSelectionMode((s.style & LVS_SINGLESEL) ? QAbstractItemView::SingleSelection
                                                       : QAbstractItemView::ExtendedSelection);
      QObject::connect(tree, &QTreeWidget::itemClicked, context, [=](QTreeWidgetItem* item, int) {
        if (user() && control()) input::ClickListItem(*control(), tree->indexOfTopLevelItem(item));
      });
      QObject::connect(tree, &QTreeWidget::itemChanged, context, [=](QTreeWidgetItem* item, int column) {
        int row = tree->indexOfTopLevelItem(item);
        if (!user() || !control() || column != 0 || row < 0 || row >= int(hwnd->items.size())) return;
        bool checked = item->checkState(0) == Qt::Checked;
        if (checked != (hwnd->items[size_t(row)].check != 0)) input::SetListItemCheck(*control(), row, checked);
      });
      widget = tree;
      break;
    }
    case ControlKind::Progress: {
      auto* bar = new QProgressBar(parent);
      bar->setTextVisible(false);
      widget = bar;
      break;
    }
    case ControlKind::UpDown: {
      auto* spin = new UpDownWidget(parent);
      // The up arrow moves toward the range's maximum, whichever way round the range is.
      auto step = [=](bool up) {
        if (!user() || !control()) return;
        int towardMax = hwnd->rangeMax >= hwnd->rangeMin ? 1 : -1;
        input::Spin(*control(), up ? towardMax : -towardMax);
      };
      QObject::connect(spin->up, &QToolButton::clicked, context, [=] { step(true); });
      QObject::connect(spin->down, &QToolButton::clicked, context, [=] { step(false); });
      widget = spin;
      break;
    }
    case ControlKind::MonthCalendar: {
      auto* calendar = new QCalendarWidget(parent);
      calendar->setGridVisible(false);
      QObject::connect(calendar, &QCalendarWidget::clicked, context, [=](QDate date) {
        if (!user() || !control()) return;
        SYSTEMTIME t;
        t.wYear = WORD(date.year());
        t.wMonth = WORD(date.month());
        t.wDay = WORD(date.day());
        t.wDayOfWeek = WORD(date.dayOfWeek() % 7);
        input::PickDate(*control(), t);
      });
      widget = calendar;
      break;
    }
    default: widget = new QWidget(parent); break;
  }
  widget->setObjectName(QString::number(s.id));
  SetTabStop(s, *widget);
  widget->setGeometry(ControlGeometry(s, *widget));
  if (s.control == ControlKind::GroupBox) widget->lower();
  peer->SetWidget(widget);
  s.peer = std::move(peer);
  return widget;
}

void BuildControls(WindowState& dialog, QWidget* host) {
  for (WindowState* child : dialog.children) {
    if (child->kind != platform::ui::WindowKind::Control) continue;
    MakeControlWidget(*child, host);
    child->peer->Refresh(platform::ui::ChangeAll);
  }
  for (WindowState* child : dialog.children)
    if (child->control == ControlKind::GroupBox && child->peer) static_cast<WidgetPeer*>(child->peer.get())->Widget()->lower();
}

// A window that closes while it is the active one hands the activation, and
// so the keyboard, back to the main window. A window manager would pick some
// window; without one nobody would, and the menus' shortcuts would go nowhere.
void ReturnActivationFrom(QWidget* closing) {
  if (!closing || !closing->isWindow() || !closing->isVisible()) return;
  bool wasActive = closing->isActiveWindow() || QApplication::activeWindow() == nullptr;
  closing->hide();
  CWnd* main = AfxGetMainWnd();
  WidgetPeer* mainPeer = main ? PeerOf(main->m_hWnd) : nullptr;
  QWidget* mainWidget = mainPeer ? mainPeer->Widget() : nullptr;
  if (!wasActive || !mainWidget || mainWidget == closing || !mainWidget->isVisible() || !mainWidget->isEnabled()) return;
  mainWidget->raise();
  mainWidget->activateWindow();
}

class DialogPeer : public WidgetPeer {
 public:
  using WidgetPeer::WidgetPeer;
  ~DialogPeer() override { ReturnActivationFrom(widget_); }

 protected:
  void RefreshOwn(unsigned changes) override {
    if (changes & platform::ui::ChangeText) widget_->setWindowTitle(ToQString(hwnd_->text));
  }
};

// A modal window is shown by its modal loop; shown before, it would not be modal.
unsigned ModalSafeChanges(const WindowState& s) {
  return s.modal ? platform::ui::ChangeAll & ~platform::ui::ChangeVisible : platform::ui::ChangeAll;
}

Qt::WindowFlags DialogFlags(const WindowState& s) {
  Qt::WindowFlags flags = Qt::Dialog;
  // A dialog without a system menu has no close box.
  if (!(s.style & WS_SYSMENU)) flags |= Qt::CustomizeWindowHint | Qt::WindowTitleHint;
  return flags;
}

}  // namespace

void CreateDialogPeer(CWnd& dialog) {
  WindowState& s = dialog.State();
  auto* widget = new ModelDialog(&s);
  widget->setWindowFlags(DialogFlags(s));
  widget->setFont(DialogFont(s));
  widget->setFixedSize(s.rect.Width(), s.rect.Height());
  widget->setObjectName(QString("dialog%1").arg(s.id));
  s.peer = std::make_unique<DialogPeer>(&s, widget);
  BuildControls(s, widget);
  s.peer->Refresh(ModalSafeChanges(s));
}

// Property sheets: a tab per page, the page built when it is first shown.

namespace {

class SheetWidget : public QDialog {
 public:
  SheetWidget(HWND hwnd, bool withApply) : hwnd_(hwnd) {
    auto* layout = new QVBoxLayout(this);
    tabs = new QTabWidget(this);
    layout->addWidget(tabs);
    QDialogButtonBox::StandardButtons shown = QDialogButtonBox::Ok | QDialogButtonBox::Cancel;
    if (withApply) shown |= QDialogButtonBox::Apply;
    buttons = new QDialogButtonBox(shown, this);
    layout->addWidget(buttons);
  }
  void reject() override {
    if (auto* sheet = dynamic_cast<CPropertySheet*>(CWnd::FromHandle(hwnd_))) sheet->PressCancel();
  }
  QTabWidget* tabs;
  QDialogButtonBox* buttons;

 protected:
  void closeEvent(QCloseEvent* event) override {
    event->ignore();
    reject();
  }

 private:
  HWND hwnd_;
};

class SheetPeer : public WidgetPeer {
 public:
  SheetPeer(HWND hwnd, SheetWidget* widget) : WidgetPeer(hwnd, widget), sheet_(widget) {}

 protected:
  void RefreshOwn(unsigned changes) override {
    auto* sheet = dynamic_cast<CPropertySheet*>(CWnd::FromHandle(hwnd_));
    if (!sheet) return;
    if (changes & platform::ui::ChangeText) widget_->setWindowTitle(ToQString(hwnd_->text));
    if (changes & platform::ui::ChangeSelection) {
      QSignalBlocker block(sheet_->tabs);
      sheet_->tabs->setCurrentIndex(sheet->GetActiveIndex());
    }
    if (QPushButton* apply = sheet_->buttons->button(QDialogButtonBox::Apply)) apply->setEnabled(sheet->IsApplyEnabled());
  }

 private:
  SheetWidget* sheet_;
};

// The size of a page's window, in pixels, from its template.
QSize PageSize(const CPropertyPage& page) {
  const platform::ui::DialogTemplate* t = platform::ui::Resources::Instance().Dialog(page.TemplateId());
  if (!t) return {};
  const CRect r = platform::ui::DialogUnitsToPixels({0, 0, t->size.cx, t->size.cy}, BaseUnitsOf(t->fontFace, t->fontSize));
  return {r.Width(), r.Height()};
}

}  // namespace

void CreateSheetPeer(CWnd& wnd) {
  auto& sheet = static_cast<CPropertySheet&>(wnd);
  WindowState& s = sheet.State();
  auto* widget = new SheetWidget(&s, sheet.HasApplyButton());
  widget->setFont(DialogFontOf({}, 8));
  widget->setObjectName("sheet");
  // The pages are built as they are first shown, but the sheet opens at the
  // size of its largest page, with every tab in view, and keeps it.
  widget->tabs->setUsesScrollButtons(false);
  widget->tabs->setElideMode(Qt::ElideNone);
  QSize largest(0, 0);
  for (int i = 0; i < sheet.GetPageCount(); ++i) largest = largest.expandedTo(PageSize(*sheet.GetPage(i)));
  for (int i = 0; i < sheet.GetPageCount(); ++i) {
    auto* host = new QWidget;
    host->setObjectName(QString("tab%1").arg(i));
    host->setMinimumSize(largest);
    widget->tabs->addTab(host, PlainCaption(sheet.GetPage(i)->GetCaption()));
  }
  HWND hwnd = &s;
  auto* peer = new SheetPeer(hwnd, widget);
  s.peer.reset(peer);
  QObject::connect(widget->tabs, &QTabWidget::currentChanged, peer->Context(), [hwnd, widget](int index) {
    auto* model = dynamic_cast<CPropertySheet*>(CWnd::FromHandle(hwnd));
    if (!model) return;
    if (!input::SelectPage(*model, index)) {
      QSignalBlocker block(widget->tabs);
      widget->tabs->setCurrentIndex(model->GetActiveIndex());
    }
  });
  QObject::connect(widget->buttons, &QDialogButtonBox::clicked, peer->Context(), [hwnd, widget](QAbstractButton* b) {
    auto* model = dynamic_cast<CPropertySheet*>(CWnd::FromHandle(hwnd));
    if (!model) return;
    switch (widget->buttons->standardButton(b)) {
      case QDialogButtonBox::Ok: model->PressOk(); break;
      case QDialogButtonBox::Cancel: model->PressCancel(); break;
      case QDialogButtonBox::Apply: model->PressApply(); break;
      default: break;
    }
  });
  peer->Refresh(ModalSafeChanges(s));
}

void CreatePagePeer(CWnd& wnd) {
  auto& page = static_cast<CPropertyPage&>(wnd);
  WindowState& s = page.State();
  CPropertySheet* sheet = page.GetSheet();
  WidgetPeer* sheetPeer = sheet ? PeerOf(sheet->m_hWnd) : nullptr;
  auto* sheetWidget = sheetPeer ? static_cast<SheetWidget*>(sheetPeer->Widget()) : nullptr;
  QWidget* host = sheetWidget ? sheetWidget->tabs->widget(sheet->GetPageIndex(&page)) : nullptr;
  auto* widget = new ModelPage(&s, host);
  widget->setFont(DialogFont(s));
  widget->setGeometry(0, 0, s.rect.Width(), s.rect.Height());
  widget->setObjectName(QString("page%1").arg(s.id));
  if (host) host->setMinimumSize(std::max(host->minimumWidth(), s.rect.Width()), std::max(host->minimumHeight(), s.rect.Height()));
  s.peer = std::make_unique<DialogPeer>(&s, widget);
  BuildControls(s, widget);
  s.peer->Refresh(platform::ui::ChangeAll);
}

void RunModalLoop(CWnd& wnd) {
  WidgetPeer* peer = PeerOf(wnd.m_hWnd);
  auto* dialog = peer ? qobject_cast<QDialog*>(peer->Widget()) : nullptr;
  if (!dialog || wnd.m_hWnd->ended) return;
  dialog->exec();
}

void EndModalLoop(CWnd& wnd) {
  WidgetPeer* peer = PeerOf(wnd.m_hWnd);
  if (auto* dialog = peer ? qobject_cast<QDialog*>(peer->Widget()) : nullptr) dialog->done(wnd.m_hWnd->modalResult);
}

}  // namespace platform::qt
