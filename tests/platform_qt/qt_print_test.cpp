// Printing on the windowed backend into a file: a print job whose printer
// names an output file writes its pages there as a PDF, one PDF page per
// printed page at the printer's page size; a file that cannot be written is
// reported.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <regex>
#include <string>

#include "platform/MessageBox.h"
#include "platform/qt/PdfPages.h"
#include "platform/ui/Backend.h"
#include "platform/ui/CommonDialogs.h"
#include "platform/ui/DC.h"
#include "tests/platform_qt/qt_fixture.h"

namespace qova::test {
namespace {

using namespace platform::ui;

class QtPrintTest : public QtUiTest {
 protected:
  // Prints `pages` pages, each with its number, on an A4 page at 150 dpi.
  static void PrintPages(const std::string& outputFile, int pages) {
    PrintJobRequest request;
    request.printer = PrinterSettings{"PDF", 1240, 1754, 150, outputFile};
    request.title = "test";
    std::unique_ptr<PrintJob> job = Backend().StartPrintJob(request);
    ASSERT_NE(job, nullptr);
    for (int p = 1; p <= pages; ++p) {
      CDC dc(&job->StartPage());
      dc.TextOut(100, 100, "Page " + std::to_string(p));
      dc.Rectangle(50, 50, 1190, 1704);
      job->EndPage();
    }
    job->End();
  }
  static std::string Contents(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
  }
  static int PageCount(const std::string& pdf) {
    const std::regex page("/Type\\s*/Page[^s]");
    return int(std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
  }
};

TEST_F(QtPrintTest, AJobWithAnOutputFileWritesEveryPageAtThePrintersPageSize) {
  const QString path = ArtefactPath("print/qt_print_to_file.pdf");
  QDir().mkpath(ArtefactPath("print"));
  QFile::remove(path);
  PrintPages(path.toStdString(), 3);
  const std::string pdf = Contents(path);
  ASSERT_FALSE(pdf.empty());
  EXPECT_EQ(pdf.rfind("%PDF", 0), 0u);
  EXPECT_EQ(PageCount(pdf), 3);
  // 1240 by 1754 pixels at 150 dpi: 595.2 by 841.92 points.
  std::smatch box;
  ASSERT_TRUE(std::regex_search(pdf, box, std::regex("/MediaBox\\s*\\[\\s*0 0 ([0-9.]+) ([0-9.]+)")));
  EXPECT_NEAR(std::stod(box[1]), 595.2, 0.5);
  EXPECT_NEAR(std::stod(box[2]), 841.92, 0.5);
}

TEST_F(QtPrintTest, AFileThatCannotBeWrittenIsReportedAndNothingIsPrinted) {
  platform::ScopedRecordingSink messages;
  const std::string path = ArtefactPath("print/no such folder/x.pdf").toStdString();
  PrintPages(path, 1);
  ASSERT_EQ(messages.Texts().size(), 1u);
  EXPECT_NE(messages.Texts()[0].find("no such folder/x.pdf"), std::string::npos) << messages.Texts()[0];
  EXPECT_FALSE(platform::qt::WritePdf({}, ArtefactPath("print/empty.pdf").toStdString()));
  EXPECT_FALSE(QFile::exists(ArtefactPath("print/empty.pdf")));
}

}  // namespace
}  // namespace qova::test
