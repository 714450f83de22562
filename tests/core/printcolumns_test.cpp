// The cheque and contact lists as the program prints them, on A4 portrait at
// the 7 pt of a new database, printed to PDF and read back: with realistic data
// every cheque date, amount, name and phone number stays whole on one line;
// only long texts wrap, and a web address or e-mail too long for its column is
// broken inside it rather than the whole page drawn smaller.
#include <gtest/gtest.h>

#include <QPrinter>
#include <algorithm>
#include <charconv>
#include <cmath>
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
#include "registers/frmAnagrafica.h"
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
// 227 characters without a blank, as pasted from a browser.
const char* const kWebAddress =
    "https://www.comune.example.it/servizi/tributi/pagamenti/avvisi-di-pagamento/2019-1/"
    "dettaglio-avviso-scadenza-rata-unica-tassa-rifiuti-utenze-domestiche/contribuente/"
    "RSSMRA80A01H501U/documento-completo-con-allegati.pdf?lingua=it";
const char* const kLongEmail = "amministrazione.contabilita.fornitori@studio-associato-rossi-bianchi.example.it";

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
        printed.clear();
        List& list = Instance<List>::get();
        list.Load();
        list.cmdPrintGrid_Click();
        Instance<List>::release();   // the next printout loads the list afresh
        EXPECT_EQ(printed.size(), 1u);
        const char* shots = std::getenv("QV_SHOTS");   // kept to be looked at, in a folder made when needed
        const std::string keep = shots ? shots : "";
        if (!keep.empty()) std::filesystem::create_directories(keep);
        // One file for each locale's run: the runs go side by side.
        const std::string path = (keep.empty() ? folder() : keep) + "/" + name + "-" +
                                 qvtest::LocaleScope::run().name().toStdString() + ".pdf";
        pdf = path;
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageSize(QPageSize(QPageSize::A4));
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(QString::fromStdString(path));
        EXPECT_TRUE(layout.load(printed.at(0)));
        EXPECT_TRUE(layout.print(printer));
        return run("pdftotext -layout '" + path + "' -");
    }

    std::string pdf;   // the last printout

    // The pieces of a word broken over lines, as the PDF shows them one under
    // the other at the left edge of its column, as far as they make up the word.
    static std::vector<std::string> brokenWord(const std::string& pdf, const std::string& word) {
        struct Box {
            int page;
            double x, y;
            std::string text;
        };
        std::vector<Box> boxes;
        std::istringstream in(run("pdftotext -bbox '" + pdf + "' -"));
        static const std::regex box("xMin=\"([0-9.]+)\" yMin=\"([0-9.]+)\".*>([^<]*)</word>");
        const auto number = [](const std::string& text) {   // whatever the process locale
            double v = 0;
            std::from_chars(text.data(), text.data() + text.size(), v);
            return v;
        };
        int page = 0;
        for (std::string line; std::getline(in, line);) {
            std::smatch m;
            if (line.find("<page ") != std::string::npos) ++page;
            if (std::regex_search(line, m, box)) boxes.push_back({page, number(m[1]), number(m[2]), m[3]});
        }
        std::vector<std::string> pieces;
        const auto first = std::find_if(boxes.begin(), boxes.end(), [&](const Box& b) {
            return b.text.size() >= 3 && word.compare(0, b.text.size(), b.text) == 0;
        });
        if (first == boxes.end()) return pieces;
        std::vector<const Box*> below;
        for (const Box& b : boxes)
            if (b.page == first->page && std::abs(b.x - first->x) < 0.01 && b.y >= first->y) below.push_back(&b);
        std::sort(below.begin(), below.end(), [](const Box* a, const Box* b) { return a->y < b->y; });
        std::size_t done = 0;
        for (const Box* b : below) {
            if (done >= word.size() || word.compare(done, b->text.size(), b->text) != 0) break;
            pieces.push_back(b->text);
            done += b->text.size();
        }
        return pieces;
    }
    static std::string joined(const std::vector<std::string>& pieces) {
        std::string all;
        for (const std::string& p : pieces) all += p;
        return all;
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

TEST_F(PrintColumnsTest, IncomingChequesKeepDatesAmountsAndNamesOnOneLine) {
    addReceived();
    print::PageLayout layout;
    const std::string text = printList<frmAssegniRicevuti>(layout, "incoming");
    // Fifteen columns leave too little room at 7 pt for the signer's and the
    // payee's names beside the dates, amounts and other short values: the page
    // is drawn a little smaller for them rather than the names cut on every row.
    EXPECT_GT(layout.scale(), 0.85);
    expectWhole(text, 2);
    EXPECT_LE(layout.pageCount(), 36);
}

TEST_F(PrintColumnsTest, OutgoingChequesWithOneLongNoteKeepDatesAmountsAndNamesOnOneLine) {
    std::string words;
    while (words.size() < 230) words += "Consegnato in sede al ragioniere dopo la telefonata del mattino, ";
    words.resize(230);
    // One note of many words, or one web address too long for any column.
    for (const std::string& note : {words, std::string(kWebAddress)}) {
        SCOPED_TRACE(note);
        exec("delete from AssegniEmessi");
        addIssued(note);
        print::PageLayout layout;
        const std::string text = printList<frmAssegniEmessi>(layout, "outgoing" + std::to_string(note.size()));
        EXPECT_EQ(layout.scale(), 1.0);   // at the configured 7 pt
        expectWhole(text, 1);
        // The one long note does not take the room from the reasons: each wraps once at most.
        EXPECT_EQ(matches(text, std::regex("Saldo fattura n\\.")), kCheques * 3 / 4);
        EXPECT_LE(layout.pageCount(), 26);
        if (note == kWebAddress) {   // printed whole, broken within its column
            const auto pieces = brokenWord(pdf, note);
            EXPECT_EQ(joined(pieces), note);
            ASSERT_GT(pieces.size(), 5u);
            // Cut after a "/", "-" or "." where there is one in reach.
            const auto marked = std::count_if(pieces.begin(), pieces.end() - 1, [](const std::string& p) {
                return p.back() == '/' || p.back() == '-' || p.back() == '.';
            });
            EXPECT_GT(2 * marked, static_cast<long>(pieces.size())) << ::testing::PrintToString(pieces);
        }
    }
}

// 2,000 contacts, 40 of them with every field (four phone numbers, an address,
// an e-mail, a web site, a note), one of these with an e-mail of 80 characters.
TEST_F(PrintColumnsTest, ContactsKeepEveryPhoneNumberAndNameOnOneLine) {
    constexpr int kContacts = 2000, kFull = 40;
    exec("insert into TipologiaPersone (TIPOLOGIAID, Tipologia) values (1, 'Cliente'), (2, 'Fornitore'), (3, 'Banca')");
    std::string sql = "insert into Anagrafica (TIPOLOGIAID, Cognome, Nome, Indirizzo, CAP, Comune, Provincia, "
                      "TelefonoCasa, TelefonoUfficio, Fax, Cellulare, CFIva, Email, SitoWeb, NoteAnagrafica) values ";
    for (int i = 0; i < kContacts; ++i) {
        sql += std::string(i ? ", " : "") + "(" + std::to_string(1 + i % 3) + ", " + quoted(kSurnames[i % 30]) + ", " +
               quoted(kNames[i % 12]) + ", ";
        if (i % (kContacts / kFull) != 7) {
            sql += "NULL, NULL, " + quoted(kTowns[i % 7]) + ", NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL, NULL)";
            continue;
        }
        char phones[4][24];
        std::snprintf(phones[0], sizeof phones[0], "+39 02 %04d %04d", 1000 + i % 9000, 2000 + i * 7 % 8000);
        std::snprintf(phones[1], sizeof phones[1], "+39 02 %04d %04d", 3000 + i % 7000, 4000 + i * 3 % 6000);
        std::snprintf(phones[2], sizeof phones[2], "+39 02 %04d %04d", 5000 + i % 5000, 6000 + i * 5 % 4000);
        std::snprintf(phones[3], sizeof phones[3], "+39 347 %03d %04d", 100 + i % 900, 1000 + i * 11 % 9000);
        sql += quoted("Via Giuseppe Garibaldi " + std::to_string(i % 200)) + ", '20121', " + quoted(kTowns[i % 6]) +
               ", 'MI', " + quoted(phones[0]) + ", " + quoted(phones[1]) + ", " + quoted(phones[2]) + ", " +
               quoted(phones[3]) + ", 'RSSMRA80A01H501U', " +
               quoted(i == 407 ? kLongEmail : std::string(kSurnames[i % 30]) + "@example.it") +
               ", 'www.rossi-impianti.it', 'Paga a 60 giorni fine mese')";
    }
    exec(sql);
    print::PageLayout layout;
    const std::string text = printList<frmAnagrafica>(layout, "contacts");
    EXPECT_EQ(matches(text, std::regex("\\+39 \\d{2,3} \\d{3,4} \\d{4}")), 4 * kFull);
    std::string surnames, names;
    for (const char* s : kSurnames) surnames += std::string(surnames.empty() ? "" : "|") + s;
    for (const char* n : kNames) names += std::string(names.empty() ? "" : "|") + n;
    EXPECT_EQ(matches(text, std::regex("(" + surnames + ") +(" + names + ")")), kContacts);
    const auto pieces = brokenWord(pdf, kLongEmail);
    EXPECT_EQ(joined(pieces), kLongEmail);
    EXPECT_GT(pieces.size(), 1u);
    // Fifteen columns with four phone numbers do not fit at 7 pt: drawn smaller
    // for those (by less than a quarter), not for the long e-mail.
    EXPECT_GT(layout.scale(), 0.75);
}

}  // namespace
}  // namespace qv
