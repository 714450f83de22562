// The print preview of the issued cheques list page (all 16 columns) at 1,000,
// 10,000 and 100,000 rows: reading and measuring the page, laying it out into
// pages, and the preview's pages ready (the preview widget asks for every page);
// peak memory of each size in a process of its own; the PDF of 10,000 rows.
// Then the received cheques list page at its real width (the 15 columns it
// prints): its pages, its scale, and at 1,000 rows the cheque dates
// the PDF shows split over lines.
// Goals: pages ready in 0.3 s / 2 s / 15 s, under 1 GB at 100,000 rows, the
// PDF under 20 MB.
#include <sys/resource.h>

#include <QApplication>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "core/globals.h"
#include "core/printpreview.h"
#include "platform/flexgrid.h"
#include "platform/forms.h"
#include "platform/printlayout.h"
#include "platform/webbrowser.h"

using namespace qv;
using Clock = std::chrono::steady_clock;

namespace {

double secs(Clock::time_point a, Clock::time_point b) { return std::chrono::duration<double>(b - a).count(); }

struct ListForm : Form {
    ListForm() : Form("frmBench") {}
    FlexGrid& grid = addAt<FlexGrid>(120, 120, 14000, 8000, "MSFlexGrid1");
    WebBrowser& web = add<WebBrowser>("web");
};

std::string money(long cents) {
    std::string whole = std::to_string(cents / 100);
    for (int at = static_cast<int>(whole.size()) - 3; at > 0; at -= 3) whole.insert(at, ",");
    char tail[16];
    std::snprintf(tail, sizeof tail, ".%02ld €", cents % 100);
    return whole + tail;
}

// The page the issued cheques list writes, with every column printed.
std::string issuedPage(int rows) {
    ListForm form;
    FlexGrid& g = form.grid;
    static const char* heads[] = {"ASSEGNIEMESSIID", "CONTOCORRENTEID", "ContoCorrente", "ANAGRAFICAID",
                                  "Beneficiario", "NumeroAssegno", "DataAssegno", "LuogoEmissione", "SuPiazza",
                                  "Trasferibile", "Sbarrato", "Importo", "Causale", "Note", "DataCreazione",
                                  "DataUltimaModifica"};
    static const char* towns[] = {"Milano", "Roma", "Torino", "Bergamo", "Reggio nell'Emilia", ""};
    g.setCols(16);
    g.setRows(rows + 1);
    for (int c = 0; c < 16; ++c) g.setTextMatrix(0, c, heads[c]);
    char date[32], stamp[32], number[16];
    long total = 0;
    for (int i = 0; i < rows; ++i) {
        const int r = i + 1;
        std::snprintf(number, sizeof number, "%06d", (i * 13) % 1000000);
        std::snprintf(date, sizeof date, "20%02d-%02d-%02d 00:00:00", 5 + (i * 7) % 15, 1 + (i * 5) % 12,
                      1 + (i * 11) % 28);
        std::snprintf(stamp, sizeof stamp, "2021-%02d-%02d %02d:%02d:%02d", 1 + i % 12, 1 + i % 28, i % 24, i % 60,
                      (i * 7) % 60);
        const long cents = (i * 7919L) % 1000000 + (i % 4 == 0 ? 100000 : 0);
        total += cents;
        const std::string cells[16] = {std::to_string(r), std::to_string(1 + i % 100),
                                       "Conto " + std::to_string(1 + i % 100), std::to_string(1 + (i * 7) % 1000),
                                       "Cognome" + std::to_string(1 + (i * 7) % 1000) + " Nome" + std::to_string(i % 1000),
                                       number, date, towns[i % 6], i % 3 == 0 ? "Sì" : "No", i % 2 ? "Sì" : "No",
                                       (i / 2) % 2 ? "Sì" : "No", money(cents),
                                       "Fattura n. " + std::to_string(i % 997) + " saldo fornitura",
                                       i % 5 ? "" : "Consegnato a mano", stamp, i % 3 ? stamp : ""};
        for (int c = 0; c < 16; ++c) g.setTextMatrix(r, c, cells[c]);
    }
    gPrintGridOptions.fill(0);
    gPrintGridOptions[1] = -1;
    gPrintFontSize = 7;   // PRTCSIZE as a new database has it
    initPrintPreview(form.web);
    printWebSubtitle(form.web, "Quorvel - Outgoing cheques");
    printWebGrid(g, form.web);
    printString(formattaPerStampa("Importo Totale: " + money(total)), form.web);
    endPrintPreview(form.web);
    return form.web.pageText();
}

// The page read and laid out for A4 paper, as the preview's printer has it.
void layOutForA4(const std::string& page, print::PageLayout& layout, QPrinter& printer) {
    layout.load(page);
    printer.setPageSize(QPageSize(QPageSize::A4));
    const QRectF area = printer.pageLayout().paintRectPixels(printer.resolution());
    const double toDots = print::PageLayout::kDotsPerInch / printer.resolution();
    layout.paginate(area.width() * toDots, area.height() * toDots);
}

// The page the received cheques list writes: the 15 columns it prints.
std::string receivedPage(int rows) {
    ListForm form;
    FlexGrid& g = form.grid;
    static const char* heads[] = {"Signer", "Payee", "Checque Number", "Cheque Date", "Place of issue", "Town Cheque",
                                  "Bank", "Bank Code #1", "Bank Code #2", "Account number", "Negotiable", "Crossed",
                                  "Amount", "Reason", "Notes"};
    static const char* names[] = {"Rossi Marco", "Esposito Anna", "Bianchi Luca", "De Luca Giulia", "Gallo Paolo",
                                  "Fontana Elena", "Colombo Giovanni"};
    static const char* banks[] = {"Intesa Sanpaolo", "UniCredit", "Banca Popolare di Sondrio", "BPER Banca",
                                  "Credito Emiliano"};
    static const char* towns[] = {"Milano", "Roma", "Bologna", "Reggio Emilia", "Sesto San Giovanni", ""};
    g.setCols(15);
    g.setRows(rows + 1);
    for (int c = 0; c < 15; ++c) g.setTextMatrix(0, c, heads[c]);
    char date[32], number[16];
    for (int i = 0; i < rows; ++i) {
        std::snprintf(number, sizeof number, "%07d", 1000000 + (i * 7717) % 9000000);
        std::snprintf(date, sizeof date, "20%02d-%02d-%02d 00:00:00", 15 + i % 6, 1 + i % 12, 1 + (i * 7) % 28);
        const std::string cells[15] = {names[i % 7], names[(i * 3 + 2) % 7], number, date, towns[i % 6],
                                       i % 2 ? "True" : "False", banks[i % 5], "0" + std::to_string(3000 + i % 900),
                                       "0" + std::to_string(1000 + i % 8000), std::to_string(100000 + i),
                                       i % 3 ? "False" : "True", i % 5 ? "True" : "False",
                                       money((i * 7919L) % 9000000 + 1000),
                                       i % 4 ? "Saldo fattura n. " + std::to_string(100 + i % 400) + "/2019" : "",
                                       i % 6 ? "" : "Ritirato in sede"};
        for (int c = 0; c < 15; ++c) g.setTextMatrix(i + 1, c, cells[c]);
    }
    gPrintGridOptions.fill(0);
    gPrintGridOptions[1] = -1;
    gPrintFontSize = 7;
    initPrintPreview(form.web);
    printWebSubtitle(form.web, "Quorvel - Incoming cheques");
    printWebGrid(g, form.web);
    endPrintPreview(form.web);
    return form.web.pageText();
}

// Cheque dates ("YYYY-MM-DD 00:00:00") the PDF does not show whole on one line.
int wrappedDates(const std::string& pdf, int rows) {
    const std::string command = "pdftotext -layout '" + pdf + "' - | grep -oE '[0-9]{4}-[0-9]{2}-[0-9]{2} 00:00:00' | wc -l";
    FILE* pipe = popen(command.c_str(), "r");
    if (!pipe) return -1;
    int whole = -1;
    if (std::fscanf(pipe, "%d", &whole) != 1) whole = -1;
    pclose(pipe);
    return whole < 0 ? -1 : rows - whole;
}

void runReceived(int rows) {
    const std::string page = receivedPage(rows);
    const auto t0 = Clock::now();
    print::PageLayout layout;
    QPrinter printer(QPrinter::HighResolution);
    layOutForA4(page, layout, printer);
    const auto t1 = Clock::now();
    std::printf("%7d rows, received list (15 columns): layout %6.3f s, %d pages, scale %.2f", rows, secs(t0, t1),
                layout.pageCount(), layout.scale());
    if (rows <= 1000) {
        const auto path = std::filesystem::temp_directory_path() / "quorvel-print-bench-received.pdf";
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(QString::fromStdString(path.string()));
        layout.print(pdf);
        std::printf(", %d cheque dates split over lines", wrappedDates(path.string(), rows));
        std::filesystem::remove(path);
    }
    std::printf("\n");
}

double peakMegabytes() {
    rusage u{};
    getrusage(RUSAGE_SELF, &u);
    return u.ru_maxrss / 1024.0;
}

int runSize(int rows) {
    const std::string page = issuedPage(rows);
    const double before = peakMegabytes();
    const auto t0 = Clock::now();
    print::PageLayout layout;
    QPrinter printer(QPrinter::HighResolution);
    // Laid out for the preview's paper here, so that its time shows apart.
    layOutForA4(page, layout, printer);
    const auto t1 = Clock::now();
    QPrintPreviewWidget preview(&printer);
    QObject::connect(&preview, &QPrintPreviewWidget::paintRequested, [&](QPrinter* p) { layout.print(*p); });
    preview.updatePreview();
    const auto t2 = Clock::now();
    const double goal = rows <= 1000 ? 0.3 : rows <= 10000 ? 2 : 15;
    std::printf("%7d rows: %5.2f MB page, layout %6.3f s, pages ready %6.3f s (%d pages, scale %.2f) %s, "
                "peak %6.1f MB (%.1f MB before the preview)\n",
                rows, page.size() / 1e6, secs(t0, t1), secs(t0, t2), preview.pageCount(), layout.scale(),
                secs(t0, t2) < goal ? "goal met" : "OVER THE GOAL", peakMegabytes(), before);

    if (rows == 10000) {
        const auto path = std::filesystem::temp_directory_path() / "quorvel-print-bench.pdf";
        QPrinter pdf(QPrinter::HighResolution);
        pdf.setPageSize(QPageSize(QPageSize::A4));
        pdf.setOutputFormat(QPrinter::PdfFormat);
        pdf.setOutputFileName(QString::fromStdString(path.string()));
        const auto p0 = Clock::now();
        layout.print(pdf);
        const auto p1 = Clock::now();
        const double mb = std::filesystem::file_size(path) / 1e6;
        std::printf("%7d rows: PDF %.1f MB in %.2f s %s\n", rows, mb, secs(p0, p1),
                    mb < 20 ? "(goal met)" : "(OVER THE GOAL)");
        std::filesystem::remove(path);
    }
    std::fflush(stdout);
    runReceived(rows);
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (!std::getenv("QT_QPA_PLATFORM")) setenv("QT_QPA_PLATFORM", "offscreen", 1);
    if (argc > 1) {
        QApplication app(argc, argv);
        return runSize(std::atoi(argv[1]));
    }
    // Each size in a process of its own, so that each peak is its own.
    std::puts("issued cheques list page, 16 columns, A4 portrait");
    std::fflush(stdout);
    for (int rows : {1000, 10000, 100000})
        if (std::system((std::string("\"") + argv[0] + "\" " + std::to_string(rows)).c_str()) != 0) return 1;
    return 0;
}
