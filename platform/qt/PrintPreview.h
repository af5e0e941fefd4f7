#pragma once
// The print preview: the recorded pages on the printer's sheets, painted as
// they are printed, with the tool bar the framework's preview has and the
// page or pages shown out of how many. Print... closes the preview and
// leaves the printing to File > Print, so that what it prints is what
// File > Print gives. It opens within the available part of its screen.
#include <QDialog>
#include <QPoint>
#include <QRect>
#include <QRectF>
#include <QString>

#include <utility>
#include <vector>

#include "platform/ui/RecordingCanvas.h"

class QGraphicsView;
class QLabel;
class QPrinter;
class QPrintPreviewWidget;

namespace platform::qt {

// The dialog keeps the page shown and whether the pages are fitted to the
// window itself, and fits and moves the framework's view itself: the
// framework's own fitting refits at every resize of its view, and with two
// sheets across side by side its scroll bar then comes and goes without end;
// its own current page is the page most in view, which is not always the one
// the dialog moved to.
class PrintPreviewDialog : public QDialog {
 public:
  // `printer` and `pages` outlive the dialog.
  PrintPreviewDialog(QPrinter& printer, const std::vector<platform::ui::Picture>& pages, const QString& title);

  // Whether the preview was closed by its Print... button.
  [[nodiscard]] bool PrintChosen() const { return printChosen_; }
  [[nodiscard]] QPrintPreviewWidget& Preview() const { return *preview_; }
  [[nodiscard]] QPrinter& Printer() const { return printer_; }
  // "Page 2 of 4", or in Two Page "Pages 2-3 of 4" ("Page 1 of 4" where a page stands alone).
  [[nodiscard]] QString PageIndicator() const;

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  [[nodiscard]] bool TwoPages() const;
  // The first and last page shown: Two Page shows the first page alone and
  // then the pages two by two, each even page with the odd one after it.
  [[nodiscard]] std::pair<int, int> ShownPages() const;
  // Where each sheet lies in the view's scene, page 1 first.
  [[nodiscard]] std::vector<QRectF> PagePlaces() const;
  // The room of the page or pages shown; a page alone in Two Page takes the
  // room of a pair, so that every row of Two Page shows at one size.
  [[nodiscard]] QRectF ShownRoom() const;
  // Next Page (+1) or Prev Page (-1): a page further, or a pair in Two Page.
  void Step(int direction);
  void ShowPage(int page);
  void SetTwoPages(bool two);
  // Zoom In or Out about the window's middle; a window that then holds more
  // rows than the one shown shows that row at its top.
  void Zoom(bool in);
  // The room shown as large as the window holds it, the scroll bars kept as
  // they are whatever the size, so that fitting cannot resize the window's
  // inside and call for another fit.
  void Fit();
  // Whether the window is at least twice as high as `place`, a row of
  // sheets as the view shows it. A row shown then stands at the window's
  // top, where a scroll back reads it first. Where one row fills the window
  // it stands in the middle: the slivers of the rows above and below it are
  // less than half a sheet, which a scroll back passes over.
  [[nodiscard]] bool HoldsMoreRows(const QRect& place) const;
  // The page or pair shown brought into view: Next and Prev, a page mode, a fit.
  void MoveToShown();
  // After a scroll by the user: the page shown becomes page 1 at the top of
  // the scroll range, the last page at its end, and in between the first
  // page in view from the top of the window.
  void FollowScroll();
  [[nodiscard]] int FirstPageInView(const std::vector<QRectF>& places) const;
  void UpdateIndicator();

  QPrinter& printer_;
  QPrintPreviewWidget* preview_;
  QGraphicsView* view_;
  QLabel* indicator_;
  int page_ = 1;
  bool fitting_ = true;
  bool following_ = false;
  QPoint moved_;  // the scroll position where the dialog last put the view
  bool printChosen_ = false;
};

}  // namespace platform::qt
