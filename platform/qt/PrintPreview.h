#pragma once
// The print preview: the recorded pages on the printer's sheets, painted as
// they are printed, with the tool bar the framework's preview has and the
// page or pages shown out of how many. Print... closes the preview and
// leaves the printing to File > Print, so that what it prints is what
// File > Print gives. It opens within the available part of its screen.
#include <QDialog>
#include <QString>

#include <vector>

#include "platform/ui/RecordingCanvas.h"

class QLabel;
class QPrinter;
class QPrintPreviewWidget;

namespace platform::qt {

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

 private:
  // The first and last page shown: Two Page shows the first page alone and
  // then the pages two by two, each even page with the odd one after it.
  [[nodiscard]] std::pair<int, int> ShownPages() const;
  // Next Page (+1) or Prev Page (-1): a page further, or a pair in Two Page.
  void Step(int direction);
  void ShowPage(int page);
  void UpdateIndicator();

  QPrinter& printer_;
  QPrintPreviewWidget* preview_;
  QLabel* indicator_;
  bool printChosen_ = false;
};

}  // namespace platform::qt
