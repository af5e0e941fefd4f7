#include "platform/qt/QtBackend.h"

#include <QAbstractScrollArea>
#include <QApplication>
#include <QClipboard>
#include <QColorDialog>
#include <QDesktopServices>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFontDialog>
#include <QImage>
#include <QGridLayout>
#include <QLabel>
#include <QMenu>
#include <QMessageBox>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QUrl>

#include <map>

#include "platform/MessageBox.h"
#include "platform/Paths.h"
#include "platform/Strings.h"
#include "platform/qt/PainterSurface.h"
#include "platform/qt/QtPeers.h"
#include "platform/qt/QtPrinting.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RasterCanvas.h"
#include "platform/ui/App.h"
#include "platform/ui/Backend.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/Dialog.h"
#include "platform/ui/Menu.h"
#include "platform/ui/PropertySheet.h"
#include "platform/ui/RecordingCanvas.h"

namespace platform::qt {

using platform::ui::WindowKind;

namespace {


QString Caption() {
  CWinApp* app = AfxGetApp();
  return ToQString(app && !app->m_strAppTitle.empty() ? app->m_strAppTitle : std::string("QOVA"));
}

// The widest Qt lets a message box grow on a screen this wide, whatever its
// text: the whole of a small screen, else 480 pixels less, and never past
// 1000. A label wider than that is cut at the box's right edge.
int WidestMessageBox(int screenWidth) {
  return screenWidth <= 1024 ? screenWidth : std::min(screenWidth - 480, 1000);
}

// Qt breaks a message's lines at spaces once the box would pass half the
// screen: "Cytoband=" and its band would part. The system keeps a line whole
// while it fits the screen: the text is at least as wide as its widest line
// then, and the box grows to it. A line wider than the box can grow (the
// reason of a failure in a list of them) is wrapped at spaces at the widest
// the box allows, so that it is read whole all the same.
void KeepLinesWhole(QMessageBox& box, int widestBox) {
  auto* label = box.findChild<QLabel*>("qt_msgbox_label");
  if (!label || !box.layout()) return;
  const bool wraps = label->wordWrap();
  label->setWordWrap(false);
  const int natural = label->sizeHint().width();
  label->setWordWrap(wraps);
  label->setMinimumWidth(natural);
  box.layout()->invalidate();
  const int beside = box.layout()->totalMinimumSize().width() - natural;  // the icon and the margins
  label->setMinimumWidth(std::max(0, std::min(natural, widestBox - beside)));
}

// The box is at least as wide as its title beside the window's icon and
// the title bar's three buttons, each about two lines of the title high and
// wide, with margins: Qt allows a narrow box 50 pixels beside its title,
// which window managers cut to "Q...A".
void MakeRoomForTitle(QMessageBox& box) {
  constexpr int kTitleBarFurniture = 10;  // in lines of the title's font
  const QFontMetrics metrics(QApplication::font("QMdiSubWindowTitleBar"));
  const int room = metrics.horizontalAdvance(box.windowTitle()) + kTitleBarFurniture * metrics.height();
  if (auto* grid = qobject_cast<QGridLayout*>(box.layout()))
    grid->addItem(new QSpacerItem(room, 0, QSizePolicy::Fixed, QSizePolicy::Fixed), grid->rowCount(), 0, 1,
                  grid->columnCount());
}

class QtMessageSink : public platform::MessageSink {
 public:
  int Show(std::string_view text, UINT type) override {
    // Boxes and common dialogs live on the stack: they take no parent, which
    // could go away under them while they run.
    QMessageBox box;
    box.setWindowTitle(Caption());
    box.setText(ToQString(text));
    switch (type & 0xF0) {
      case MB_ICONHAND: box.setIcon(QMessageBox::Critical); break;
      case MB_ICONQUESTION: box.setIcon(QMessageBox::Question); break;
      case MB_ICONEXCLAMATION: box.setIcon(QMessageBox::Warning); break;
      case MB_ICONASTERISK: box.setIcon(QMessageBox::Information); break;
      default: break;
    }
    std::vector<std::pair<QMessageBox::StandardButton, int>> buttons;
    switch (type & 0xF) {
      case MB_OKCANCEL: buttons = {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}}; break;
      case MB_YESNOCANCEL:
        buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
        break;
      case MB_YESNO: buttons = {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}}; break;
      default: buttons = {{QMessageBox::Ok, IDOK}}; break;
    }
    int defaultAnswer = platform::DefaultButton(type);
    for (auto [button, answer] : buttons) {
      box.addButton(button);
      if (answer == defaultAnswer) box.setDefaultButton(button);
    }
    // Once the box has its icon, which lays it out anew.
    const QScreen* screen = QGuiApplication::primaryScreen();
    KeepLinesWhole(box, WidestMessageBox(screen ? screen->availableGeometry().width() : 1024));
    MakeRoomForTitle(box);
    // A reason can be copied into a report or a search.
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    box.exec();
    QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    for (auto [button, answer] : buttons)
      if (button == pressed) return answer;
    // The close box answers Cancel where there is one, else the default.
    for (auto [button, answer] : buttons)
      if (answer == IDCANCEL) return IDCANCEL;
    return defaultAnswer;
  }
};

QString FilterString(const std::vector<std::pair<std::string, std::string>>& filters) {
  QStringList parts;
  for (const auto& [description, patterns] : filters) {
    QString d = ToQString(description).trimmed();
    QString p = ToQString(patterns).replace(';', ' ');
    parts << (d.contains('(') ? d : d + " (" + p + ")");
  }
  return parts.join(";;");
}

QFont FromLogFont(const LOGFONT& lf) {
  QFont font = lf.lfFaceName[0] ? QFont(ToQString(lf.lfFaceName)) : QApplication::font();
  if (lf.lfHeight != 0) font.setPointSizeF(std::abs(lf.lfHeight) * 72.0 / 96.0);
  font.setWeight(QFont::Weight(std::clamp<int>(lf.lfWeight ? lf.lfWeight : FW_NORMAL, 100, 900)));
  font.setItalic(lf.lfItalic);
  font.setUnderline(lf.lfUnderline);
  font.setStrikeOut(lf.lfStrikeOut);
  return font;
}

LOGFONT ToLogFont(const QFont& font, LOGFONT lf) {
  lf.lfHeight = -LONG(std::lround(font.pointSizeF() * 96.0 / 72.0));
  lf.lfWeight = font.weight();
  lf.lfItalic = font.italic();
  lf.lfUnderline = font.underline();
  lf.lfStrikeOut = font.strikeOut();
  platform::ui::SetFaceName(lf, FromQString(font.family()));
  return lf;
}

class QtUi : public platform::ui::UiBackend {
 public:
  void WindowCreated(CWnd& wnd) override {
    if (!wnd.m_hWnd || wnd.m_hWnd->peer) return;
    switch (wnd.m_hWnd->kind) {
      case WindowKind::Dialog: CreateDialogPeer(wnd); break;
      case WindowKind::PropertySheet: CreateSheetPeer(wnd); break;
      case WindowKind::PropertyPage: CreatePagePeer(wnd); break;
      case WindowKind::MainFrame: CreateFramePeer(wnd); break;
      case WindowKind::ChildFrame: CreateChildFramePeer(wnd); break;
      case WindowKind::View: CreateViewPeer(wnd); break;
      case WindowKind::ToolBar:
      case WindowKind::StatusBar: CreateBarPeer(wnd); break;
      default: break;
    }
    // A frame makes its bars and views while it is being created, before it
    // has a widget to put them in: their widgets come now.
    if (!wnd.m_hWnd->peer) return;
    std::vector<HWND> children = wnd.m_hWnd->children;
    for (HWND child : children) {
      bool framed = child->kind == WindowKind::View || child->kind == WindowKind::ToolBar ||
                    child->kind == WindowKind::StatusBar || child->kind == WindowKind::ChildFrame;
      if (framed && IsWindow(child) && child->wnd) WindowCreated(*child->wnd);
    }
  }

  void WindowDestroyed(CWnd& wnd) override {
    for (auto it = timers_.begin(); it != timers_.end();)
      it = it->first.first == wnd.m_hWnd ? timers_.erase(it) : std::next(it);
  }

  void Invalidate(CWnd& wnd, const CRect* rect, bool erase) override {
    (void)rect;
    (void)erase;
    if (wnd.m_hWnd && wnd.m_hWnd->kind == WindowKind::View) {
      InvalidateView(wnd);
    } else if (WidgetPeer* peer = PeerOf(wnd.m_hWnd); peer && peer->Widget()) {
      peer->Widget()->update();
    }
  }

  void RunModalDialog(CDialog& dialog) override { RunModalLoop(dialog); }
  void RunPropertySheet(CPropertySheet& sheet) override { RunModalLoop(sheet); }
  void ModalEnded(CWnd& wnd) override { EndModalLoop(wnd); }

  bool RunFileDialog(platform::ui::FileDialogRequest& request) override {
    QFileDialog dialog(nullptr, ToQString(request.title));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(request.open ? QFileDialog::AcceptOpen : QFileDialog::AcceptSave);
    if (request.open)
      dialog.setFileMode((request.flags & OFN_ALLOWMULTISELECT) ? QFileDialog::ExistingFiles : QFileDialog::ExistingFile);
    if (!request.open && !(request.flags & OFN_OVERWRITEPROMPT)) dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.filters.empty()) {
      QString filters = FilterString(request.filters);
      dialog.setNameFilters(filters.split(";;"));
      int index = std::clamp(request.filterIndex, 1, int(request.filters.size())) - 1;
      dialog.selectNameFilter(filters.split(";;").value(index));
    }
    if (!request.defaultExtension.empty()) dialog.setDefaultSuffix(ToQString(request.defaultExtension));
    if (!request.initialFolder.empty()) dialog.setDirectory(ToQString(platform::NativePath(request.initialFolder)));
    if (!request.initialName.empty()) dialog.selectFile(ToQString(request.initialName));
    if (dialog.exec() != QDialog::Accepted) return false;
    request.chosen.clear();
    for (const QString& file : dialog.selectedFiles()) request.chosen.push_back(FromQString(file));
    return !request.chosen.empty();
  }

  bool RunColorDialog(platform::ui::ColorDialogRequest& request) override {
    QColor chosen = QColorDialog::getColor(ToQColor(request.initial), nullptr, {},
                                           QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid()) return false;
    request.chosen = FromQColor(chosen);
    return true;
  }

  bool RunFontDialog(platform::ui::FontDialogRequest& request) override {
    bool ok = false;
    QFont chosen = QFontDialog::getFont(&ok, FromLogFont(request.initial), nullptr, {},
                                        QFontDialog::DontUseNativeDialog);
    if (!ok) return false;
    request.chosen = ToLogFont(chosen, request.initial);
    return true;
  }

  bool RunFolderDialog(platform::ui::FolderDialogRequest& request) override {
    QString start = request.startFolder.empty() ? QString() : ToQString(platform::NativePath(request.startFolder));
    QString folder = QFileDialog::getExistingDirectory(nullptr, ToQString(request.title), start,
                                                       QFileDialog::ShowDirsOnly | QFileDialog::DontUseNativeDialog);
    if (folder.isEmpty()) return false;
    request.chosen = FromQString(folder);
    return true;
  }

  bool RunPrintDialog(platform::ui::PrintDialogRequest& request) override {
    auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    UsePaper(*printer, request.printer);
    QPrintDialog dialog(printer.get(), nullptr);
    if (request.setupOnly) {
      dialog.setWindowTitle("Print Setup");
      // Print Setup only chooses the printer and its sheet: its button says
      // so, as a setup box's does, where the print dialog's says "Print".
      if (auto* buttons = dialog.findChild<QDialogButtonBox*>(QString(), Qt::FindDirectChildrenOnly)) {
        if (QPushButton* ok = buttons->button(QDialogButtonBox::Ok)) ok->setText("OK");
        // Nor does it write the output file the last print chose, which the
        // printer keeps for the next File > Print: its OK takes the choice
        // without the print button's questions about that file (whether it
        // may be replaced, whether it can be opened), which File > Print asks
        // when it prints there.
        QObject::disconnect(buttons, &QDialogButtonBox::accepted, &dialog, nullptr);
        QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QPrintDialog::accept);
      }
    }
    dialog.setMinMax(request.minPage, std::max(request.minPage, request.maxPage));
    if (dialog.exec() != QDialog::Accepted) return false;
    request.printer = PrinterOf(*printer);
    request.pageRange = dialog.printRange() == QAbstractPrintDialog::PageRange;
    request.fromPage = dialog.fromPage();
    request.toPage = dialog.toPage();
    request.copies = printer->copyCount();
    request.collate = printer->collateCopies();
    request.reverse = printer->pageOrder() == QPrinter::LastPageFirst;
    // The print that follows goes to this printer (its options included);
    // Print Setup only leaves its choice in the program's printer.
    if (!request.setupOnly) printer_ = std::move(printer);
    return true;
  }

  UINT TrackPopupMenu(const platform::ui::PopupMenuRequest& request) override {
    QMenu menu;
    menu.setObjectName("popup");
    FillPopup(menu, request.items);
    QPoint global(request.screenPoint.x, request.screenPoint.y);
    if (request.owner && request.owner->m_hWnd) {
      CPoint origin(0, 0);
      request.owner->ClientToScreen(&origin);
      WidgetPeer* peer = PeerOf(request.owner->m_hWnd);
      QWidget* widget = peer ? peer->Widget() : nullptr;
      if (auto* area = qobject_cast<QAbstractScrollArea*>(widget)) widget = area->viewport();
      if (widget) global = widget->mapToGlobal(QPoint(request.screenPoint.x - origin.x, request.screenPoint.y - origin.y));
    }
    QAction* chosen = menu.exec(global);
    return chosen ? chosen->data().toUInt() : 0;
  }

  std::unique_ptr<platform::ui::PrintJob> StartPrintJob(const platform::ui::PrintJobRequest& request) override {
    std::unique_ptr<QPrinter> printer = std::move(printer_);
    if (!printer || request.preview) {
      // A preview, or a print without the dialog: the program's printer.
      printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
      UsePaper(*printer, request.printer);
    }
    return MakePrintJob(std::move(printer), request);
  }

  platform::ui::DrawSurface& ClientSurface(CWnd& wnd) override {
    if (wnd.m_hWnd && wnd.m_hWnd->kind == WindowKind::View) return ViewOverlay(wnd);
    // Other windows show what they draw at their next paint.
    scratch_.Clear();
    Invalidate(wnd, nullptr, true);
    return scratch_;
  }

  void StartTimer(CWnd& wnd, UINT_PTR id, UINT elapse) override {
    HWND hwnd = wnd.m_hWnd;
    auto timer = std::make_unique<QTimer>();
    timer->setInterval(int(std::max<UINT>(elapse, 1)));
    QObject::connect(timer.get(), &QTimer::timeout, [hwnd, id] { platform::ui::FireTimer(hwnd, id); });
    timer->start();
    timers_[{hwnd, id}] = std::move(timer);
  }

  void StopTimer(CWnd& wnd, UINT_PTR id) override {
    auto it = timers_.find({wnd.m_hWnd, id});
    if (it == timers_.end()) return;
    // The timer may be the one firing now: let it go once its signal is over.
    it->second->stop();
    it->second.release()->deleteLater();
    timers_.erase(it);
  }

  void CursorChanged(HCURSOR cursor) override { ShowCursorOn(platform::ui::MouseWindow(), cursor); }

  void BeginWait() override {
    if (waits_++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
    // What a dialog just closed covered is painted again, and the cursor
    // changes, before the task holds the thread; what the user does meanwhile
    // waits for the task's end.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    for (QWidget* window : QApplication::topLevelWidgets())
      if (window->isVisible()) window->repaint();
  }
  void EndWait() override {
    if (waits_ > 0 && --waits_ == 0) QApplication::restoreOverrideCursor();
  }

  void FocusChanged(CWnd* focus) override {
    if (WidgetPeer* peer = focus ? PeerOf(focus->m_hWnd) : nullptr; peer && peer->Widget()) peer->Widget()->setFocus();
  }

  bool SetClipboardText(std::string_view text) override {
    QGuiApplication::clipboard()->setText(ToQString(text));
    return true;
  }
  std::optional<std::string> GetClipboardText() override {
    QString text = QGuiApplication::clipboard()->text();
    if (text.isNull()) return std::nullopt;
    return FromQString(text);
  }
  bool SetClipboardPicture(const platform::ui::Picture& picture) override {
    QImage image(std::max(1, picture.caps.width), std::max(1, picture.caps.height), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      PainterSurface surface(painter, picture.caps, &image);
      picture.ReplayOn(surface);
    }
    QGuiApplication::clipboard()->setImage(image);
    return true;
  }
  bool OpenUrl(std::string_view url) override {
    return QDesktopServices::openUrl(QUrl(ToQString(url)));
  }

  void ProcessPendingEvents() override {
    ++modelPump_;
    QCoreApplication::processEvents(QEventLoop::AllEvents);
    --modelPump_;
    if (!platform::ui::MessageQueueEmpty()) MessagePosted();
  }

  void WaitForMessage() override {
    ++modelPump_;
    while (platform::ui::MessageQueueEmpty()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    --modelPump_;
  }

  void MessagePosted() override {
    if (drainScheduled_) return;
    drainScheduled_ = true;
    QMetaObject::invokeMethod(qApp, [this] { Drain(); }, Qt::QueuedConnection);
  }

  int RunMessageLoop() override {
    Drain();
    if (quitCode_) return *std::exchange(quitCode_, std::nullopt);
    return QApplication::exec();
  }

  CSize DialogBaseUnits(std::string_view face, int pointSize) override { return BaseUnitsOf(face, pointSize); }

 private:
  // Runs the program's posted messages from Qt's loop (a long operation's own
  // pump takes them itself); the quit message ends the loop.
  void Drain() {
    drainScheduled_ = false;
    if (modelPump_) return;
    platform::ui::DrainMessages();
    MSG msg;
    if (!platform::ui::MessageQueueEmpty() && ::GetMessage(&msg, nullptr, 0, 0) == FALSE) {
      quitCode_ = int(msg.wParam);
      QCoreApplication::exit(*quitCode_);
    }
  }

  static void FillPopup(QMenu& menu, const std::vector<platform::ui::MenuEntry>& items) {
    for (const platform::ui::MenuEntry& e : items) {
      if (e.IsSeparator()) {
        menu.addSeparator();
      } else if (!e.popup.empty()) {
        FillPopup(*menu.addMenu(ToQString(e.text)), e.popup);
      } else {
        QAction* action = menu.addAction(ToQString(e.text));
        action->setData(e.id);
        action->setEnabled(e.IsEnabled());
        action->setCheckable(e.flags & MF_CHECKED);
        action->setChecked(e.flags & MF_CHECKED);
      }
    }
  }

  std::map<std::pair<HWND, UINT_PTR>, std::unique_ptr<QTimer>> timers_;
  std::unique_ptr<QPrinter> printer_;
  int waits_ = 0;  // waits begun and not yet ended
  platform::ui::RecordingSurface scratch_{platform::ui::DeviceCaps{}};
  int modelPump_ = 0;
  bool drainScheduled_ = false;
  std::optional<int> quitCode_;
};

QtUi& Instance() {
  static QtUi ui;
  return ui;
}

QtMessageSink& Sink() {
  static QtMessageSink sink;
  return sink;
}

}  // namespace

void InstallQtBackend() {
  EnsureQtApplication();
  platform::ui::SetBackend(&Instance());
  platform::SetMessageSink(&Sink());
  // Idle processing (the tool bar's enabled states) runs a few times a second.
  static QTimer* idle = [] {
    auto* timer = new QTimer(qApp);
    timer->setInterval(250);
    QObject::connect(timer, &QTimer::timeout, [] {
      CWinApp* app = AfxGetApp();
      if (!app || &platform::ui::Backend() != &Instance()) return;
      LONG count = 0;
      while (app->OnIdle(count++)) {
      }
    });
    timer->start();
    return timer;
  }();
  (void)idle;
}

void UninstallQtBackend() {
  platform::ui::SetBackend(nullptr);
  if (&platform::CurrentMessageSink() == &Sink()) platform::SetMessageSink(nullptr);
}

QWidget* WidgetOf(const CWnd& wnd) {
  WidgetPeer* peer = PeerOf(wnd.m_hWnd);
  return peer ? peer->Widget() : nullptr;
}

}  // namespace platform::qt
