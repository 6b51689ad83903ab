// The calculation book of 200 valves printed to a PDF file as the Linux
// window prints it once its print dialog's "打印" is pressed: laid out on
// the printer, drawn page by page, the file closed and its text mended.
//   usage: book_pdf FILE.pdf
#include "bench/valve_lists.h"
#include "ui/book.h"
#include "ui/qt/sheet_printer.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPrinter>

#include <cstdio>

int main(int argc, char **argv)
{
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: book_pdf FILE.pdf\n");
        return 2;
    }
    const std::vector<quorvel::Sheet> book
        = quorvel::MakeBook(quorvel::bench::IndexValves(200), "2026年12月10日", "0.1.0");
    QElapsedTimer printing;
    printing.start();
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromLocal8Bit(argv[1]));
    quorvel::SetUpForPrint(printer, book.front().title);
    if (!quorvel::PrintSheets(printer, book))
        return 1;
    std::printf("a book of 200 valves (%zu sheets) printed to a PDF file in %.2f s\n", book.size(),
        double(printing.elapsed()) / 1000);
}
