// The cheque lists as the program prints them, on A4 portrait at the 7 pt of a
// new database, printed to PDF and read back: with realistic data every cheque
// date and every amount stays whole on one line; only long texts wrap.
#include <gtest/gtest.h>

#include <QPrinter>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

#include "core/globals.h"
#include "issued/frmAssegniEmessi.h"
#include "platform/printlayout.h"
#include "received/frmAssegniRicevuti.h"
#include "support/fixture.h"
#include "support/locale_scope.h"

namespace qv {
namespace {

constexpr int kCheques = 1000;

const char* const kSurnames[] = {"Rossi",  "Russo",  "Ferrari", "Esposito", "Bianchi", "Romano",  "Colombo", "Ricci",
                                 "Marino", "Greco",  "Bruno",   "Gallo",    "Conti",   "De Luca", "Costa",   "Mancini",
                                 "Giordano", "Rizzo", "Lombardi", "Moretti", "Barbieri", "Fontana", "Santoro", "Caruso",
                                 "Ferrara", "Galli", "Martini",  "Leone",    "Longo",   "Gentile"};
const char* const kNames[] = {"Marco", "Anna",   "Luca",  "Giulia", "Paolo", "Sara",
                              "Giovanni", "Maria", "Andrea", "Elena", "Franco", "Laura"};
const char* const kBanks[] = {"Intesa Sanpaolo", "UniCredit", "Banca Popolare di Sondrio", "BPER Banca",
                              "Credito Emiliano", "Banca Monte dei Paschi di Siena", "Banco BPM"};
const char* const kTowns[] = {"Milano", "Roma", "Bologna", "Reggio Emilia", "Torino", "Sesto San Giovanni", ""};

std::string quoted(const std::string& s) {
    std::string out = "'";
    for (char c : s) out += c == '\'' ? std::string("''") : std::string(1, c);
    return out + "'";
}

std::string run(const std::string& command) { return qvtest::commandOutput(command); }

class PrintColumnsTest : public qvtest::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        ASSERT_EQ(std::system("command -v pdftotext >/dev/null"), 0) << "pdftotext (poppler-utils) is needed";
        std::string people = "insert into Anagrafica (Cognome, Nome) values ";
        for (int i = 0; i < 120; ++i)
            people += std::string(i ? ", " : "") + "(" + quoted(kSurnames[i % 30]) + ", " + quoted(kNames[i % 12]) + ")";
        exec(people);
        exec("insert into MieiContiCorrenti (Descrizione, Banca) values ('Conto corrente ordinario', 'UniCredit'), "
             "('Conto aziendale', 'Intesa Sanpaolo')");
        startMain();
    }
    void TearDown() override {
        gPrintGridOptions.fill(0);
        AppFixture::TearDown();
    }

    static std::string date(int i) {
        char d[32];
        std::snprintf(d, sizeof d, "'%04d-%02d-%02d 00:00:00'", 2015 + i % 6, 1 + i % 12, 1 + (i * 7) % 28);
        return d;
    }
    static std::string amount(int i) {   // from a few euros to some hundred thousands
        return std::to_string((i * 7919L) % 90000 + (i % 9 == 0 ? 180000 : 0)) + "." + std::to_string(10 + i % 90);
    }
    static std::string reason(int i) {
        return i % 4 ? quoted("Saldo fattura n. " + std::to_string(100 + i % 400) + "/2019") : "NULL";
    }

    void addReceived() {
        std::string sql = "insert into AssegniRicevuti (FIRMATARIOID, ANAGRAFICAID, Numero, DataAssegno, "
                          "LuogoEmissione, SuPiazza, Banca, ABI, CAB, NumeroConto, Trasferibile, Sbarrato, Importo, "
                          "Causale, AssegnoNote) values ";
        for (int i = 0; i < kCheques; ++i) {
            char numbers[64];
            std::snprintf(numbers, sizeof numbers, "'%07d', ", 1000000 + i * 7717);
            sql += std::string(i ? ", " : "") + "(" + std::to_string(1 + (i * 7) % 120) + ", " +
                   std::to_string(1 + (i * 11 + 5) % 120) + ", " + numbers + date(i) + ", " +
                   quoted(kTowns[i % 7]) + ", " + std::to_string(i % 2) + ", " + quoted(kBanks[i % 7]) + ", '0" +
                   std::to_string(3000 + i % 900) + "', '0" + std::to_string(1000 + i % 8000) + "', '" +
                   std::to_string(100000 + i * 37) + "', " + std::to_string(i % 3 == 0) + ", " +
                   std::to_string(i % 5 != 0) + ", " + amount(i) + ", " + reason(i) + ", " +
                   (i % 6 ? "NULL" : "'Ritirato in sede'") + ")";
        }
        exec(sql);
    }
    void addIssued(const std::string& longNote) {
        std::string sql = "insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, "
                          "LuogoEmissione, SuPiazza, Trasferibile, Sbarrato, Importo, Causale, AssegnoNote) values ";
        for (int i = 0; i < kCheques; ++i)
            sql += std::string(i ? ", " : "") + "(" + std::to_string(1 + i % 2) + ", " +
                   std::to_string(1 + (i * 13 + 3) % 120) + ", '" + std::to_string(300000 + i) + "', " + date(i) +
                   ", " + quoted(kTowns[i % 7]) + ", " + std::to_string(i % 2) + ", " + std::to_string(i % 3 == 0) +
                   ", 1, " + amount(i) + ", " + reason(i) + ", " +
                   (i == 400 ? quoted(longNote) : i % 6 ? "NULL" : "'Ritirato in sede'") + ")";
        exec(sql);
    }

    // The list's own printout, printed to a PDF on A4 portrait; its text read back.
    template <class List> std::string printList(print::PageLayout& layout, const std::string& name) {
        List& list = Instance<List>::get();
        list.Load();
        list.cmdPrintGrid_Click();
        EXPECT_EQ(printed.size(), 1u);
        const char* shots = std::getenv("QV_SHOTS");   // kept to be looked at, in a folder made when needed
        const std::string keep = shots ? shots : "";
        if (!keep.empty()) std::filesystem::create_directories(keep);
        // One file for each locale's run: the runs go side by side.
        const std::string path = (keep.empty() ? folder() : keep) + "/" + name + "-" +
                                 qvtest::LocaleScope::run().name().toStdString() + ".pdf";
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        EXPECT_TRUE(layout.load(printed.at(0)));
        EXPECT_TRUE(layout.print(printer));
        return run("pdftotext -layout '" + path + "' -");
    }

    static int matches(const std::string& text, const std::regex& re) {
        return static_cast<int>(std::distance(std::sregex_iterator(text.begin(), text.end(), re), std::sregex_iterator()));
    }
    // Every cheque date and amount whole on one line of the printout, and so
    // many names (surname and name) as there are cheques times namesPerCheque.
    static void expectWhole(const std::string& printout, int namesPerCheque) {
        // The total line after the rows is an amount too (in some locales of the cells' own form).
        const std::string text = printout.substr(0, printout.rfind("Total amount of displayed cheques"));
        EXPECT_EQ(matches(text, std::regex("\\d{4}-\\d\\d-\\d\\d 00:00:00")), kCheques);
        EXPECT_EQ(matches(text, std::regex("\\d{4}-\\d\\d-\\d\\d")), kCheques);
        EXPECT_EQ(matches(text, std::regex("\\d[.,]\\d\\d €")), kCheques);
        std::string names;
        for (int i = 0; i < 120; ++i) names += std::string(i ? "|" : "") + kSurnames[i % 30] + " " + kNames[i % 12];
        if (namesPerCheque) {
            EXPECT_EQ(matches(text, std::regex(names)), namesPerCheque * kCheques);
        }
    }
};

TEST_F(PrintColumnsTest, IncomingChequesKeepDatesAndAmountsOnOneLine) {
    addReceived();
    print::PageLayout layout;
    const std::string text = printList<frmAssegniRicevuti>(layout, "incoming");
    EXPECT_EQ(layout.scale(), 1.0);   // drawn at full size
    // Fifteen columns leave too little room at full size for the names too:
    // of the 71 pt left beyond the longest words, dates and amounts take 35,
    // while the two names would need 59 pt more.
    expectWhole(text, 0);
    EXPECT_LE(layout.pageCount(), 36);
}

TEST_F(PrintColumnsTest, OutgoingChequesWithOneLongNoteKeepDatesAmountsAndNamesOnOneLine) {
    std::string note;
    while (note.size() < 230) note += "Consegnato in sede al ragioniere dopo la telefonata del mattino, ";
    note.resize(230);
    addIssued(note);
    print::PageLayout layout;
    const std::string text = printList<frmAssegniEmessi>(layout, "outgoing");
    EXPECT_EQ(layout.scale(), 1.0);
    expectWhole(text, 1);
    // The one long note does not take the room from the reasons: each wraps once at most.
    EXPECT_EQ(matches(text, std::regex("Saldo fattura n\\.")), kCheques * 3 / 4);
    EXPECT_LE(layout.pageCount(), 26);
}

}  // namespace
}  // namespace qv
