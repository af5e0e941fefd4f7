#pragma once
// The print preview: the recorded pages on the printer's sheets, painted as
// they are printed, with the tool bar the framework's preview has. Print...
// closes the preview and leaves the printing to File > Print, so that what
// it prints is what File > Print gives.
#include <QDialog>
#include <QString>

#include <vector>

#include "platform/ui/RecordingCanvas.h"

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

 private:
  void ShowPage(int page);

  QPrinter& printer_;
  QPrintPreviewWidget* preview_;
  bool printChosen_ = false;
};

}  // namespace platform::qt
