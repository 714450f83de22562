// The printed pages as the preview lays them out, printed to PDF and read back
// as text: whole words and amounts, the page's order, every row once, and rows
// that never break across pages.
#include <gtest/gtest.h>

#include <QAction>
#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPageRanges>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>
#include <sys/resource.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/globals.h"
#include "core/printpreview.h"
#include "platform/flexgrid.h"
#include "platform/printlayout.h"
#include "platform/webbrowser.h"
#include "support/diskfull.h"
#include "support/fixture.h"

namespace qv::print {
// How the rows fell on the pages.
struct PageLayoutProbe {
    static std::vector<PageLayout::RowRange> rowsOfPage(const PageLayout& l, int page) { return l.tableRowsOfPage(page); }
    static double rowHeight(const PageLayout& l, int row) { return l.rows_[row].height; }
    static double heightUsed(const PageLayout& l, int page) { return l.pageHeightUsed(page); }
    static double pageHeight(const PageLayout& l) { return l.pageHeight_; }
};
}  // namespace qv::print

namespace qv {
namespace {

using Probe = print::PageLayoutProbe;

struct PrintWindow : Form {
    PrintWindow() : Form("frmPrintTest") {}
    template <class T, class... A> T& put(A&&... a) { return add<T>(std::forward<A>(a)...); }
};

std::string run(const std::string& command) { return qvtest::commandOutput(command); }

std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> namesIn(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& e : std::filesystem::directory_iterator(folder)) names.push_back(e.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

class PrintRenderTest : public qvtest::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_EQ(std::system("command -v pdftotext >/dev/null"), 0) << "pdftotext (poppler-utils) is needed";
        gPrintFontSize = 7;
    }
    void TearDown() override {
        gPrintGridOptions.fill(0);
        AppFixture::TearDown();
    }

    // A page of one column, "row0" to "row<n-1>".
    static std::string rowsPage(int n) {
        std::string page = "<table>";
        for (int r = 0; r < n; ++r) page += "<tr><td>row" + std::to_string(r) + "</td></tr>";
        return page + "</table>";
    }
    // The same page written into the browser, whose print shows the real preview.
    void showRows(int n) {
        webbrowser::setPreviewHandler(nullptr);
        web.Navigate("about:blank");
        web.Write(rowsPage(n));
        web.Close();
    }

    // The page printed to a PDF as the preview's print button does.
    std::string toPdf(const std::string& html, print::PageLayout& layout,
                      QPageLayout::Orientation orientation = QPageLayout::Portrait) {
        const std::string path = folder() + "/page" + std::to_string(pdfs_++) + ".pdf";
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setPageOrientation(orientation);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        EXPECT_TRUE(layout.load(html));
        EXPECT_TRUE(layout.print(printer));
        return path;
    }
    // The text of the PDF's pages (all when page is 0), one line per printed line.
    static std::vector<std::string> textLines(const std::string& pdf, int page = 0) {
        const std::string pages = page ? " -f " + std::to_string(page) + " -l " + std::to_string(page) : "";
        std::istringstream in(run("pdftotext -layout" + pages + " '" + pdf + "' -"));
        std::vector<std::string> lines;
        for (std::string l; std::getline(in, l);)
            if (l.find_first_not_of(" \f") != std::string::npos) lines.push_back(l);
        return lines;
    }
    static int lineOf(const std::vector<std::string>& lines, const std::string& text) {
        int found = -1;
        for (int i = 0; i < static_cast<int>(lines.size()); ++i)
            if (lines[i].find(text) != std::string::npos) {
                EXPECT_EQ(found, -1) << '"' << text << "\" printed twice";
                found = i;
            }
        EXPECT_NE(found, -1) << '"' << text << "\" not printed whole on one line";
        return found;
    }

    PrintWindow window;
    WebBrowser& web = window.put<WebBrowser>("web");

private:
    int pdfs_ = 0;
};

TEST_F(PrintRenderTest, ListPageKeepsTokensWholeAndInOrder) {
    auto& grid = window.put<FlexGrid>("MSFlexGrid1");
    const std::vector<std::vector<std::string>> cells{
        {"ID", "Beneficiario", "DataAssegno", "Sbarrato", "Importo", "Causale"},
        {"R01", "International Customer", "2026-12-09 00:00:00", "Crossed", "2,500.00 €", "Customer a<b>"},
        {"R02", "Rossi Mario", "2026-01-31 00:00:00", "No", "12.00 €", ""},
        {"R03", "Bianchi & C.", "2025-07-04 00:00:00", "Crossed", "1,234,567.89 €", "Internationalisation"}};
    grid.setRows(static_cast<int>(cells.size()));
    grid.setCols(static_cast<int>(cells[0].size()));
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c) grid.setTextMatrix(r, c, cells[r][c]);
    gPrintGridOptions[1] = -1;
    initPrintPreview(web);
    printWebSubtitle(web, "Quorvel - Outgoing cheques");
    printWebGrid(grid, web);
    printString(formattaPerStampa("Importo Totale: 1,237,079.89 €"), web);
    endPrintPreview(web);
    goPrintPreview(web);
    ASSERT_EQ(printed.size(), 1u);

    print::PageLayout layout;
    const auto lines = textLines(toPdf(printed[0], layout));
    EXPECT_EQ(layout.pageCount(), 1);
    const int title = lineOf(lines, "Quorvel - Outgoing cheques");
    const int header = lineOf(lines, "DataAssegno");
    std::vector<int> rows;
    for (const char* token : {"R01", "R02", "R03"}) rows.push_back(lineOf(lines, token));
    for (const char* token : {"2,500.00 €", "2026-12-09 00:00:00", "International Customer",
                              "1,234,567.89 €", "Internationalisation", "Customer a<b>", "Bianchi & C."})
        lineOf(lines, token);
    const int total = lineOf(lines, "Importo Totale: 1,237,079.89 €");
    EXPECT_LT(title, header);
    EXPECT_LT(header, rows[0]);
    EXPECT_TRUE(std::is_sorted(rows.begin(), rows.end()));
    EXPECT_LT(rows.back(), total);
    EXPECT_EQ(layout.scale(), 1.0);

    // Too many columns for the paper: the page is drawn smaller, never a word broken.
    std::string wide = "<table>";
    for (int r = 0; r < 2; ++r) {
        wide += "<tr>";
        for (int c = 0; c < 14; ++c) wide += "<td>" + std::string(r ? "2026-12-09" : "Internationalisation") + "</td>";
        wide += "</tr>";
    }
    const auto wideLines = textLines(toPdf(wide + "</table>", layout));
    EXPECT_LT(layout.scale(), 0.9);
    ASSERT_EQ(wideLines.size(), 2u);
    for (const std::string& word : {std::string("Internationalisation"), std::string("2026-12-09")}) {
        const std::string& line = wideLines[word[0] == 'I' ? 0 : 1];
        int count = 0;
        for (auto at = line.find(word); at != std::string::npos; at = line.find(word, at + 1)) ++count;
        EXPECT_EQ(count, 14) << line;
    }
    // Cells of one word each gain nothing from more room: drawn only as small
    // as its widest row needs, so a paper a little narrower than that width
    // draws it a little smaller.
    ASSERT_TRUE(layout.paginate(10000, 10000));
    const double needed = 10000 / layout.scale();
    ASSERT_TRUE(layout.paginate(needed * 0.99, 10000));
    EXPECT_NEAR(layout.scale(), 0.99, 1e-9);
}

TEST_F(PrintRenderTest, ShortCellsStayWholeWhileALongNoteWraps) {
    std::string note;
    for (int i = 0; i < 80; ++i) note += "word" + std::to_string(i) + " ";
    const std::string page = "<table><tr><th>Importo</th><th>DataAssegno</th><th>Note</th></tr>"
                             "<tr><td>2,500.00 €</td><td>2026-12-09 00:00:00</td><td>" + note +
                             "</td></tr></table>";
    print::PageLayout layout;
    const auto lines = textLines(toPdf(page, layout));
    EXPECT_EQ(layout.scale(), 1.0);
    lineOf(lines, "2,500.00 €");
    lineOf(lines, "2026-12-09 00:00:00");
    EXPECT_GT(lines.size(), 3u) << "the note should wrap";
}

// Drawn smaller because its headings do not fit: the room the smaller drawing
// gains keeps the date whole and goes to the long text too, not only to the
// short cells.
TEST_F(PrintRenderTest, AScaledPageGivesItsRoomToTheLongTextsToo) {
    std::string page = "<table><tr>";
    for (int c = 0; c < 10; ++c) page += "<th>Internationalisation</th>";
    page += "<th>Date</th><th>Causale</th></tr>";
    const std::string reason = "Fattura n. 123 saldo fornitura del mese di dicembre con consegna in sede";
    for (int r = 0; r < 3; ++r) {
        page += "<tr>";
        for (int c = 0; c < 10; ++c) page += "<td>x</td>";
        page += "<td>2026-12-0" + std::to_string(r + 1) + " 00:00:00</td><td>" + reason + "</td></tr>";
    }
    print::PageLayout layout;
    const auto lines = textLines(toPdf(page + "</table>", layout));
    EXPECT_LT(layout.scale(), 1.0);
    for (int r = 0; r < 3; ++r) lineOf(lines, "2026-12-0" + std::to_string(r + 1) + " 00:00:00");
    int long_ = 0;
    for (const std::string& l : lines) long_ += l.find("Fattura n. 123 saldo") != std::string::npos;
    EXPECT_EQ(long_, 3) << "the long text kept at its longest word";
}

TEST_F(PrintRenderTest, WindowPrintShowsEveryLabelBesideItsValue) {
    window.put<Label>("lblImporto", "Importo (€)");
    window.put<TextBox>("txtImporto").setText("2,500.00 €");
    window.put<Label>("lblData", "Data Assegno");
    window.put<TextBox>("txtData").setText("2026-12-09 00:00:00");
    window.put<Label>("lblBeneficiario", "Beneficiario");
    window.put<TextBox>("txtBeneficiario").setText("Rossi <M> & C.");
    window.put<CheckBox>("chkSbarrato", "Sbarrato", true).setValue(1);
    window.put<TextBox>("txtNote").setText("nota senza etichetta");
    printThisForm(window, web);
    ASSERT_EQ(printed.size(), 1u);

    print::PageLayout layout;
    const auto lines = textLines(toPdf(printed[0], layout));
    ASSERT_EQ(lines.size(), 5u);
    const std::vector<std::pair<std::string, std::string>> rows{{"Importo (€)", "2,500.00 €"},
                                                                {"Data Assegno", "2026-12-09 00:00:00"},
                                                                {"Beneficiario", "Rossi <M> & C."},
                                                                {"Sbarrato", "Sì"},
                                                                {"", "nota senza etichetta"}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(lineOf(lines, rows[i].second), static_cast<int>(i));
        EXPECT_NE(lines[i].find(rows[i].first), std::string::npos) << lines[i];
        EXPECT_LE(lines[i].find(rows[i].first), lines[i].find(rows[i].second)) << lines[i];
    }
}

TEST_F(PrintRenderTest, ThreeThousandRowsFillPagesWithEveryRowOnceAndWhole) {
    constexpr int kRows = 3000;
    std::string page = "<html><body><font style=\"font-size: 22pt;\">Title</p><table><tr><th>Row</th><th>Text</th></tr>";
    for (int r = 1; r <= kRows; ++r)
        page += "<tr><td>row" + std::to_string(r) + "</td><td>" +
                // Some rows wrap to two or three lines in their narrow column.
                (r % 7 ? "one line" : r % 2 ? "first second third" : "first second") + "</td></tr>";
    page += "</table>Total line</body></html>";
    page.replace(page.find("<th>Text</th>"), 13, "<th>Text column</th>");

    for (const auto orientation : {QPageLayout::Portrait, QPageLayout::Landscape}) {
        print::PageLayout layout;
        const std::string pdf = toPdf(page, layout, orientation);
        const int pages = layout.pageCount();
        EXPECT_GT(pages, 10);
        EXPECT_EQ(run("pdfinfo '" + pdf + "' | grep '^Pages:' | tr -s ' ' | cut -d' ' -f2"),
                  std::to_string(pages) + "\n");
        // The table's rows in order across the pages (row 0 is the header), each
        // page as full as a whole next row allows.
        int next = 0;
        for (int p = 0; p < pages; ++p) {
            const auto ranges = Probe::rowsOfPage(layout, p);
            ASSERT_EQ(ranges.size(), 1u) << "page " << p + 1;
            EXPECT_EQ(ranges[0].first, next);
            next = ranges[0].end;
            if (p + 1 < pages) {
                EXPECT_GT(Probe::heightUsed(layout, p) + Probe::rowHeight(layout, next), Probe::pageHeight(layout));
            }
        }
        EXPECT_EQ(next, kRows + 1);
        // Each row's text on the page the layout gave it, with its cells on one line.
        std::vector<int> seen(kRows + 1, 0);
        for (int p = 1; p <= pages; p += pages / 4 + 1) {
            const auto range = Probe::rowsOfPage(layout, p - 1)[0];
            const auto lines = textLines(pdf, p);
            for (int r = std::max(1, range.first); r < range.end; ++r) {
                const int at = lineOf(lines, "row" + std::to_string(r) + " ");
                if (at >= 0 && r % 7) {
                    EXPECT_NE(lines[at].find("one line"), std::string::npos) << lines[at];
                }
            }
        }
        int total = 0;
        for (const std::string& l : textLines(pdf)) {
            for (auto at = l.find("row"); at != std::string::npos; at = l.find("row", at + 3)) {
                const int r = std::atoi(l.c_str() + at + 3);
                ASSERT_TRUE(r >= 1 && r <= kRows) << l;
                ++seen[r];
            }
            if (l.find("Total line") != std::string::npos) ++total;
        }
        EXPECT_EQ(std::count(seen.begin() + 1, seen.end(), 1), kRows);
        EXPECT_EQ(total, 1);
        const auto last = textLines(pdf, pages);
        EXPECT_NE(last.back().find("Total line"), std::string::npos);
        EXPECT_NE(last[last.size() - 2].find("row3000"), std::string::npos);
    }
}


TEST_F(PrintRenderTest, TextOutsideTheVocabularyIsShownNotDropped) {
    struct Case { std::string html; std::vector<std::string> lines; };
    const std::vector<Case> cases{
        {"<table><tr><td>a &amp; b &lt;c&gt; &#8364; &euro;</td><td> spaced \t  out </td></tr></table>",
         {"a & b <c> € € spaced out"}},
        {"<body>x < y and <i>in an unknown tag</i>, Totale: <b>1</b></body>", {"x < y and in an unknown tag, Totale: 1"}},
        {"<table><tr><td>one<br>two</td></tr></table>", {"one", "two"}},
        // Text, tag, text: the text before the tag is kept too.
        {"<table><tr><td>abc<i>def</i>ghi</td><td>left<!-- c -->right</td><td>x<b>y</b></td></tr></table>",
         {"abcdefghi leftright xy"}},
        {"<table>stray<tr><td>cell</td></tr></table>after", {"stray", "cell", "after"}},
    };
    for (const auto& c : cases) {
        print::PageLayout layout;
        const auto lines = textLines(toPdf(c.html, layout));
        ASSERT_EQ(lines.size(), c.lines.size()) << c.html;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::string got;   // the text, with the layout's runs of blanks as one
            for (const char ch : lines[i])
                if (ch != ' ' || (!got.empty() && got.back() != ' ')) got += ch;
            EXPECT_EQ(got, c.lines[i]) << c.html;
        }
    }
}

TEST_F(PrintRenderTest, StoppingALongLayoutPrintsNothing) {
    std::string page = "<table>";
    for (int r = 0; r < 40000; ++r) page += "<tr><td>" + std::to_string(r) + "</td><td>cell text</td></tr>";
    print::PageLayout layout;
    int asked = 0;
    EXPECT_FALSE(layout.load(page, [&](double) { return ++asked < 2; }));
    EXPECT_EQ(asked, 2);
    ASSERT_TRUE(layout.load(page));
    const std::string path = folder() + "/stopped.pdf";
    {   // the file it would have replaced stays as it was, and no half file is left
        std::ofstream(path) << "old";
    }
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    EXPECT_FALSE(layout.print(printer, [](double done) { return done < 0.5; }));
    std::ifstream in(path);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "old");
    EXPECT_FALSE(std::filesystem::exists(path + ".part"));
    EXPECT_EQ(printer.outputFileName().toStdString(), path);
}

TEST_F(PrintRenderTest, APrintToAFileThatCannotBeWrittenSaysWhyAndKeepsTheOldFile) {
    std::string page = "<table>";
    for (int r = 0; r < 600; ++r) page += "<tr><td>row" + std::to_string(r) + "</td><td>cell text</td></tr>";
    print::PageLayout layout;
    ASSERT_TRUE(layout.load(page + "</table>"));
    const std::string old = "%PDF-1.4 the old, good printout";
    const struct {
        const char* name;
        std::string target;   // in the test's folder
        bool oldFile;
        rlim_t diskFullAt;     // 0: room enough
        const char* says;
        bool folderGoesAway = false;   // while the pages are painted, after the file was opened
    } cases[] = {
        {"folder missing", "missing/list.pdf", false, 0, "Cannot create the file"},
        {"disk full, no old file", "new.pdf", false, 20000, "Cannot write the file"},
        {"disk full over an old file", "old.pdf", true, 20000, "Cannot write the file"},
        {"a folder of that name", "folder.pdf", false, 0, "the file"},
        {"folder gone before the replace", "away/list.pdf", false, 0, "Cannot replace the file", true},
    };
    std::filesystem::create_directory(folder() + "/folder.pdf");
    std::filesystem::create_directory(folder() + "/away");
    std::ofstream(folder() + "/folder.pdf/inside") << "kept";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = folder() + "/" + c.target;
        if (c.oldFile) std::ofstream(path, std::ios::binary) << old;
        const auto before = namesIn(folder());
        QPrinter printer(QPrinter::HighResolution);
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        QString failure;
        bool printed;
        {
            std::optional<qvtest::DiskFullAt> full;
            if (c.diskFullAt) full.emplace(c.diskFullAt);
            printed = layout.print(printer, [&](double done) {
                if (c.folderGoesAway && done >= 1) std::filesystem::rename(folder() + "/away", folder() + "/gone");
                return true;
            }, &failure);
        }
        if (c.folderGoesAway) std::filesystem::rename(folder() + "/gone", folder() + "/away");
        EXPECT_FALSE(printed);
        EXPECT_NE(failure.indexOf(QString::fromLatin1(c.says)), -1) << failure.toStdString();
        EXPECT_NE(failure.indexOf(QString::fromStdString(path)), -1) << failure.toStdString();
        EXPECT_EQ(namesIn(folder()), before);   // no half file, under any name
        if (c.folderGoesAway) {
            EXPECT_EQ(namesIn(folder() + "/away"), std::vector<std::string>{});
        }
        if (c.oldFile) {
            EXPECT_TRUE(fileText(path) == old) << "the old file was changed";
        }
    }
    EXPECT_EQ(fileText(folder() + "/folder.pdf/inside"), "kept");
}

TEST_F(PrintRenderTest, AFailedPrintFromThePreviewSaysSoOnceAndLeavesThePreviewOpen) {
    showRows(600);
    const std::string full = folder() + "/full.pdf", good = folder() + "/good.pdf";
    std::ofstream(full, std::ios::binary) << "old";
    // The preview's print button twice: onto a full disk, then onto a disk
    // with room; the print dialog is taken as it stands, the overwrite question answered yes.
    std::vector<std::string> steps;
    QPrintPreviewDialog* preview = nullptr;
    std::optional<qvtest::DiskFullAt> diskFull;
    auto printTo = [&](const std::string& path) {
        preview->printer()->setOutputFormat(QPrinter::PdfFormat);
        preview->printer()->setOutputFileName(QString::fromStdString(path));
        for (QAction* a : preview->findChildren<QAction*>())
            if (a->text() == QStringLiteral("Print")) a->trigger();
    };
    // One timer per kind of window: a timer does not fire again inside its own handler.
    QTimer previewTimer, printDialogTimer, questionTimer;
    QObject::connect(&printDialogTimer, &QTimer::timeout, [] {
        if (auto* d = qobject_cast<QPrintDialog*>(QApplication::activeModalWidget())) d->accept();
    });
    QObject::connect(&questionTimer, &QTimer::timeout, [] {
        if (auto* m = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) m->button(QMessageBox::Yes)->click();
    });
    QObject::connect(&previewTimer, &QTimer::timeout, [&] {
        auto* p = qobject_cast<QPrintPreviewDialog*>(QApplication::activeModalWidget());
        if (!p || !steps.empty()) return;
        preview = p;
        steps.push_back("full");
        diskFull.emplace(20000);
        printTo(full);
        diskFull.reset();
        steps.push_back(p->isVisible() ? "open" : "closed");
        printTo(good);
    });
    for (QTimer* t : {&previewTimer, &printDialogTimer, &questionTimer}) t->start(50);
    web.ExecWB(7, 0);   // returns once the preview is closed
    EXPECT_EQ(steps, (std::vector<std::string>{"full", "open"}));
    ASSERT_EQ(prompts().size(), 1u);
    EXPECT_NE(prompts()[0].find("Cannot write the file \"" + full + "\""), std::string::npos) << prompts()[0];
    EXPECT_EQ(fileText(full), "old");
    EXPECT_EQ(fileText(good).rfind("%PDF", 0), 0u);
    EXPECT_EQ(namesIn(folder()).size(), 3u);   // the database, the old file, the new one
}

TEST_F(PrintRenderTest, ANoteLongerThanAPageGoesOnOverTheNextPages) {
    std::string note;
    for (int i = 0; i < 4000; ++i) note += "w" + std::to_string(i) + " ";
    window.put<Label>("lblNote", "Note");
    window.put<TextBox>("txtNote").setText(note);
    window.put<Label>("lblNumero", "Numero");
    window.put<TextBox>("txtNumero").setText("000123");
    printThisForm(window, web);
    ASSERT_EQ(printed.size(), 1u);

    print::PageLayout layout;
    const std::string pdf = toPdf(printed[0], layout);
    EXPECT_GT(layout.pageCount(), 1);
    std::string all;
    for (const std::string& l : textLines(pdf)) all += " " + l + " ";
    for (const std::string word : {"Note", "Numero", "000123", "w0", "w1999", "w3999"})
        EXPECT_NE(all.find(" " + word + " "), std::string::npos) << word;
    int words = 0;
    for (std::size_t at = all.find(" w"); at != std::string::npos; at = all.find(" w", at + 1)) ++words;
    EXPECT_EQ(words, 4000);   // every word once: no line lost or printed twice at a page break
}

TEST_F(PrintRenderTest, OnlyThePagesAskedForArePrinted) {
    print::PageLayout layout;
    ASSERT_TRUE(layout.load(rowsPage(600)));
    const std::string path = folder() + "/range.pdf";
    QPrinter printer(QPrinter::HighResolution);
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(path));
    QPageRanges ranges;
    ranges.addRange(1, 2);
    ranges.addPage(5);
    printer.setPageRanges(ranges);
    printer.setPrintRange(QPrinter::PageRange);
    ASSERT_TRUE(layout.print(printer));
    ASSERT_GE(layout.pageCount(), 5);
    EXPECT_NE(run("pdfinfo '" + path + "'").find("Pages:           3"), std::string::npos);
    const auto lines = textLines(path);
    const auto rows = Probe::rowsOfPage(layout, 4);
    EXPECT_EQ(lines.back(), "row" + std::to_string(rows.back().end - 1));
}

TEST_F(PrintRenderTest, TheRealPreviewOpensAndClosesCleanly) {
    showRows(200);
    bool seen = false;
    QTimer::singleShot(300, [&seen] {
        if (QWidget* w = QApplication::activeModalWidget()) {
            seen = qobject_cast<QPrintPreviewDialog*>(w) != nullptr;
            w->close();
        }
    });
    web.ExecWB(7, 0);   // returns once the preview is closed, and must not take the window with it
    EXPECT_TRUE(seen);
}

}  // namespace
}  // namespace qv
