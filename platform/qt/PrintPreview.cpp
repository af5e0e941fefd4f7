#include "platform/qt/PrintPreview.h"

#include <QAction>
#include <QApplication>
#include <QGraphicsItem>
#include <QGraphicsScene>
#include <QGraphicsView>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
#include <QScrollBar>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/qt/QtPrinting.h"

namespace platform::qt {

namespace {

// The size the preview asks for: a sheet upright with room round it.
constexpr QSize kPreferredSize(900, 1000);
// The room a window system's title bar and borders take round a window,
// where no window shown yet tells it.
constexpr QMargins kFrameAllowance(10, 40, 10, 10);

// The frame round the program's windows: as one shown has it, or the allowance.
QMargins FrameMargins() {
  for (QWidget* window : QApplication::topLevelWidgets()) {
    if (!window->isVisible()) continue;
    const QRect frame = window->frameGeometry(), inner = window->geometry();
    if (frame != inner)
      return {inner.left() - frame.left(), inner.top() - frame.top(), frame.right() - inner.right(),
              frame.bottom() - inner.bottom()};
  }
  return kFrameAllowance;
}

QRectF Bounds(const std::vector<QRectF>& places) {
  QRectF all;
  for (const QRectF& place : places) all |= place;
  return all;
}

}  // namespace

PrintPreviewDialog::PrintPreviewDialog(QPrinter& printer, const std::vector<platform::ui::Picture>& pages,
                                       const QString& title)
    : printer_(printer),
      preview_(new QPrintPreviewWidget(&printer, this)),
      view_(preview_->findChild<QGraphicsView*>()),
      indicator_(new QLabel(this)) {
  setObjectName("printPreview");
  setWindowTitle(title.isEmpty() ? QString("Print Preview") : title + " - Print Preview");
  auto* bar = new QToolBar(this);
  QAction* print = bar->addAction("&Print...");
  QAction* next = bar->addAction("&Next Page");
  QAction* previous = bar->addAction("Pre&v Page");
  QAction* twoPages = bar->addAction("&Two Page");
  QAction* zoomIn = bar->addAction("Zoom &In");
  QAction* zoomOut = bar->addAction("Zoom &Out");
  QAction* close = bar->addAction("&Close");
  indicator_->setObjectName("pageIndicator");
  indicator_->setContentsMargins(12, 0, 12, 0);
  bar->addWidget(indicator_);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(preview_, 1);
  // Within the available part of the screen, frame included: the dialog is
  // then placed in the middle of it.
  const QMargins frame = FrameMargins();
  const QRect available = screen()->availableGeometry().marginsRemoved(frame);
  resize(kPreferredSize.boundedTo(available.size()));

  QObject::connect(preview_, &QPrintPreviewWidget::paintRequested,
                   [&pages](QPrinter* device) { PaintPages(*device, pages); });
  QObject::connect(preview_, &QPrintPreviewWidget::previewChanged, this, [this] { UpdateIndicator(); });
  QObject::connect(print, &QAction::triggered, this, [this] {
    printChosen_ = true;
    accept();
  });
  QObject::connect(next, &QAction::triggered, this, [this] { Step(1); });
  QObject::connect(previous, &QAction::triggered, this, [this] { Step(-1); });
  QObject::connect(twoPages, &QAction::triggered, this, [this, twoPages] {
    const bool two = !TwoPages();
    twoPages->setText(two ? "&One Page" : "&Two Page");
    SetTwoPages(two);
  });
  QObject::connect(zoomIn, &QAction::triggered, this, [this] { Zoom(true); });
  QObject::connect(zoomOut, &QAction::triggered, this, [this] { Zoom(false); });
  QObject::connect(close, &QAction::triggered, this, &QDialog::reject);
  if (view_) {
    // The scroll bars move before their value is set: the page in view is read once it is.
    for (QScrollBar* scroll : {view_->horizontalScrollBar(), view_->verticalScrollBar()})
      QObject::connect(scroll, &QAbstractSlider::actionTriggered, this, [this] {
        if (following_) return;
        following_ = true;
        QMetaObject::invokeMethod(this, [this] { FollowScroll(); }, Qt::QueuedConnection);
      });
    // The sheets dragged by hand.
    view_->viewport()->installEventFilter(this);
  }
  preview_->setViewMode(QPrintPreviewWidget::SinglePageView);
  preview_->setZoomMode(QPrintPreviewWidget::CustomZoom);
  UpdateIndicator();
}

void PrintPreviewDialog::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  ShowPage(page_);
}

void PrintPreviewDialog::resizeEvent(QResizeEvent* event) {
  QDialog::resizeEvent(event);
  if (fitting_) ShowPage(page_);
}

bool PrintPreviewDialog::eventFilter(QObject* watched, QEvent* event) {
  if (view_ && watched == view_->viewport() && event->type() == QEvent::MouseButtonRelease) FollowScroll();
  return QDialog::eventFilter(watched, event);
}

bool PrintPreviewDialog::TwoPages() const {
  return preview_->viewMode() == QPrintPreviewWidget::FacingPagesView;
}

std::pair<int, int> PrintPreviewDialog::ShownPages() const {
  const int count = std::max(1, preview_->pageCount());
  const int page = std::clamp(page_, 1, count);
  if (!TwoPages() || page == 1) return {page, page};
  const int first = page - (page % 2);  // 2-3, 4-5, ...
  return {first, std::min(first + 1, count)};
}

std::vector<QRectF> PrintPreviewDialog::PagePlaces() const {
  std::vector<QRectF> places;
  if (!view_ || !view_->scene()) return places;
  for (const QGraphicsItem* sheet : view_->scene()->items())
    if (!sheet->parentItem()) places.push_back(sheet->sceneBoundingRect());
  // The sheets lie in rows, read left to right.
  std::sort(places.begin(), places.end(), [](const QRectF& a, const QRectF& b) {
    return std::pair(a.top(), a.left()) < std::pair(b.top(), b.left());
  });
  return places;
}

QRectF PrintPreviewDialog::ShownRoom() const {
  const std::vector<QRectF> places = PagePlaces();
  if (places.empty()) return {};
  const auto [first, last] = ShownPages();
  const int count = int(places.size());
  QRectF room = places[std::min(first, count) - 1] | places[std::min(last, count) - 1];
  if (TwoPages() && first == last) {
    const QRectF all = Bounds(places);
    room.setLeft(all.left());
    room.setRight(all.right());
  }
  return room;
}

void PrintPreviewDialog::Step(int direction) {
  const auto [first, last] = ShownPages();
  if (!TwoPages())
    ShowPage(first + direction);
  else if (direction > 0)
    ShowPage(last + 1);
  else
    ShowPage(first == 2 ? 1 : first - 2);
}

void PrintPreviewDialog::ShowPage(int page) {
  page_ = std::clamp(page, 1, std::max(1, preview_->pageCount()));
  page_ = ShownPages().first;
  if (fitting_) Fit();
  MoveToShown();
  UpdateIndicator();
}

void PrintPreviewDialog::SetTwoPages(bool two) {
  preview_->setViewMode(two ? QPrintPreviewWidget::FacingPagesView : QPrintPreviewWidget::SinglePageView);
  // A new view mode turns the framework's own fitting on again.
  preview_->setZoomMode(QPrintPreviewWidget::CustomZoom);
  fitting_ = true;
  ShowPage(page_);
}

void PrintPreviewDialog::Zoom(bool in) {
  fitting_ = false;
  if (!view_) return in ? preview_->zoomIn() : preview_->zoomOut();
  const QPointF middle = view_->mapToScene(view_->viewport()->rect().center());
  // Scroll bars that came and went with the zoom would move the middle after it.
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  view_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
  in ? preview_->zoomIn() : preview_->zoomOut();
  view_->centerOn(middle);
  // A window that now holds more rows than the one shown shows that row at its top, as Next and Prev do.
  if (const QRectF room = ShownRoom(); !room.isEmpty()) {
    const QRect place = view_->mapFromScene(room).boundingRect();
    QScrollBar* down = view_->verticalScrollBar();
    if (HoldsMoreRows(place)) down->setValue(down->value() + place.top() - view_->viewport()->rect().top());
  }
  moved_ = QPoint(view_->horizontalScrollBar()->value(), view_->verticalScrollBar()->value());
}

void PrintPreviewDialog::Fit() {
  const QRectF room = ShownRoom();
  if (!view_ || !view_->isVisible() || room.isEmpty()) return;
  // Whether every sheet fits the window at the size that fits the room
  // shown, as the window is without scroll bars: only then is there nothing
  // to scroll to.
  const QSizeF inside = view_->contentsRect().size();
  const double whole = std::min(inside.width() / room.width(), inside.height() / room.height());
  const QRectF all = Bounds(PagePlaces());
  const bool everySheet = all.width() * whole <= inside.width() && all.height() * whole <= inside.height();
  // The room spans the rows' width, so only a column of rows ever scrolls.
  view_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
  view_->setVerticalScrollBarPolicy(everySheet ? Qt::ScrollBarAlwaysOff : Qt::ScrollBarAlwaysOn);
  const QSizeF port = view_->viewport()->size();
  const double scale = std::min(port.width() / room.width(), port.height() / room.height());
  view_->setTransform(QTransform::fromScale(scale, scale));
}

bool PrintPreviewDialog::HoldsMoreRows(const QRect& place) const {
  return 2 * place.height() <= view_->viewport()->height();
}

void PrintPreviewDialog::MoveToShown() {
  const QRectF room = ShownRoom();
  if (!view_ || room.isEmpty()) return;
  // The room in the middle of the window where it fits, else its top left
  // corner at the window's; its row at the top of a window that holds more
  // rows, as a scroll back to that place reads it.
  const QRect place = view_->mapFromScene(room).boundingRect();
  const QRect port = view_->viewport()->rect();
  const auto offset = [](int from, int length, int window) {
    return length <= window ? from - (window - length) / 2 : from;
  };
  QScrollBar* across = view_->horizontalScrollBar();
  QScrollBar* down = view_->verticalScrollBar();
  const int top = place.top() - port.top();
  across->setValue(across->value() + offset(place.left() - port.left(), place.width(), port.width()));
  down->setValue(down->value() + (HoldsMoreRows(place) ? top : offset(top, place.height(), port.height())));
  moved_ = QPoint(across->value(), down->value());
}

void PrintPreviewDialog::FollowScroll() {
  following_ = false;
  if (!view_) return;
  QScrollBar* down = view_->verticalScrollBar();
  const QPoint now(view_->horizontalScrollBar()->value(), down->value());
  if (now == moved_) return;
  moved_ = now;
  const std::vector<QRectF> places = PagePlaces();
  if (places.empty()) return;
  const bool scrolls = down->maximum() > down->minimum();
  if (scrolls && now.y() == down->minimum()) {
    page_ = 1;
  } else if (scrolls && now.y() == down->maximum()) {
    page_ = int(places.size());
  } else {
    page_ = FirstPageInView(places);
  }
  page_ = ShownPages().first;
  UpdateIndicator();
}

int PrintPreviewDialog::FirstPageInView(const std::vector<QRectF>& places) const {
  // Read from the top of the window: the first sheet of which at least half
  // is in view (half the window, for a sheet taller than the window), so
  // that a sliver of a row scrolled nearly out of sight does not count;
  // failing that, the sheet most in view.
  const QRect port = view_->viewport()->rect();
  int most = 1;
  long long largest = 0;
  for (std::size_t p = 0; p < places.size(); ++p) {
    const QRect sheet = view_->mapFromScene(places[p]).boundingRect();
    const QRect seen = sheet & port;
    if (seen.isEmpty()) continue;
    if (2 * seen.height() >= std::min(sheet.height(), port.height())) return int(p) + 1;
    if (1LL * seen.width() * seen.height() > largest) {
      largest = 1LL * seen.width() * seen.height();
      most = int(p) + 1;
    }
  }
  return most;
}

void PrintPreviewDialog::UpdateIndicator() { indicator_->setText(PageIndicator()); }

QString PrintPreviewDialog::PageIndicator() const {
  const int count = std::max(1, preview_->pageCount());
  const auto [first, last] = ShownPages();
  if (first == last) return QString("Page %1 of %2").arg(first).arg(count);
  return QString("Pages %1-%2 of %3").arg(first).arg(last).arg(count);
}

}  // namespace platform::qt
