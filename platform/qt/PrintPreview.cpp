#include "platform/qt/PrintPreview.h"

#include <QAction>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

#include "platform/qt/QtPrinting.h"

namespace platform::qt {

PrintPreviewDialog::PrintPreviewDialog(QPrinter& printer, const std::vector<platform::ui::Picture>& pages,
                                       const QString& title)
    : printer_(printer), preview_(new QPrintPreviewWidget(&printer, this)) {
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
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(bar);
  layout->addWidget(preview_, 1);
  resize(900, 1000);

  QObject::connect(preview_, &QPrintPreviewWidget::paintRequested,
                   [&pages](QPrinter* device) { PaintPages(*device, pages); });
  QObject::connect(print, &QAction::triggered, this, [this] {
    printChosen_ = true;
    accept();
  });
  QObject::connect(next, &QAction::triggered, this, [this] { ShowPage(preview_->currentPage() + 1); });
  QObject::connect(previous, &QAction::triggered, this, [this] { ShowPage(preview_->currentPage() - 1); });
  QObject::connect(twoPages, &QAction::triggered, this, [this, twoPages] {
    const bool two = preview_->viewMode() == QPrintPreviewWidget::SinglePageView;
    preview_->setViewMode(two ? QPrintPreviewWidget::FacingPagesView : QPrintPreviewWidget::SinglePageView);
    twoPages->setText(two ? "&One Page" : "&Two Page");
    preview_->fitInView();
  });
  QObject::connect(zoomIn, &QAction::triggered, preview_, [this] { preview_->zoomIn(); });
  QObject::connect(zoomOut, &QAction::triggered, preview_, [this] { preview_->zoomOut(); });
  QObject::connect(close, &QAction::triggered, this, &QDialog::reject);
  preview_->setViewMode(QPrintPreviewWidget::SinglePageView);
  preview_->fitInView();
}

void PrintPreviewDialog::ShowPage(int page) {
  preview_->setCurrentPage(std::clamp(page, 1, std::max(1, preview_->pageCount())));
}

}  // namespace platform::qt
