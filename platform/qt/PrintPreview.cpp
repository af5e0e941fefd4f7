#include "platform/qt/PrintPreview.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QScreen>
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

}  // namespace

PrintPreviewDialog::PrintPreviewDialog(QPrinter& printer, const std::vector<platform::ui::Picture>& pages,
                                       const QString& title)
    : printer_(printer), preview_(new QPrintPreviewWidget(&printer, this)), indicator_(new QLabel(this)) {
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
    const int first = ShownPages().first;
    const bool two = preview_->viewMode() == QPrintPreviewWidget::SinglePageView;
    preview_->setViewMode(two ? QPrintPreviewWidget::FacingPagesView : QPrintPreviewWidget::SinglePageView);
    twoPages->setText(two ? "&One Page" : "&Two Page");
    preview_->fitInView();
    ShowPage(first);
  });
  QObject::connect(zoomIn, &QAction::triggered, preview_, [this] { preview_->zoomIn(); });
  QObject::connect(zoomOut, &QAction::triggered, preview_, [this] { preview_->zoomOut(); });
  QObject::connect(close, &QAction::triggered, this, &QDialog::reject);
  preview_->setViewMode(QPrintPreviewWidget::SinglePageView);
  preview_->fitInView();
  UpdateIndicator();
}

std::pair<int, int> PrintPreviewDialog::ShownPages() const {
  const int count = std::max(1, preview_->pageCount());
  const int page = std::clamp(preview_->currentPage(), 1, count);
  if (preview_->viewMode() != QPrintPreviewWidget::FacingPagesView || page == 1) return {page, page};
  const int first = page - (page % 2);  // 2-3, 4-5, ...
  return {first, std::min(first + 1, count)};
}

QString PrintPreviewDialog::PageIndicator() const {
  const int count = std::max(1, preview_->pageCount());
  const auto [first, last] = ShownPages();
  if (first == last) return QString("Page %1 of %2").arg(first).arg(count);
  return QString("Pages %1-%2 of %3").arg(first).arg(last).arg(count);
}

void PrintPreviewDialog::Step(int direction) {
  const auto [first, last] = ShownPages();
  if (preview_->viewMode() != QPrintPreviewWidget::FacingPagesView)
    ShowPage(first + direction);
  else if (direction > 0)
    ShowPage(last + 1);
  else
    ShowPage(first == 2 ? 1 : first - 2);
}

void PrintPreviewDialog::ShowPage(int page) {
  preview_->setCurrentPage(std::clamp(page, 1, std::max(1, preview_->pageCount())));
  UpdateIndicator();
}

void PrintPreviewDialog::UpdateIndicator() { indicator_->setText(PageIndicator()); }

}  // namespace platform::qt
