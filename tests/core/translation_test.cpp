#include "core/translation.h"

#include <gtest/gtest.h>

#include <string>

#include "core/trace.h"
#include "platform/environment.h"
#include "platform/flexgrid.h"
#include "platform/forms.h"

namespace qv {
namespace {

std::string caption(std::string text) { return SostituisciCaptionEng(text); }
std::string message(std::string text) { return SostituisciMessaggioEng(text); }

TEST(TranslationTables, RowCountsAndOrder) {
    ASSERT_EQ(buttonTable().size(), 16u);
    ASSERT_EQ(captionTable().size(), 66u);
    ASSERT_EQ(messageTable().size(), 33u);

    EXPECT_EQ(buttonTable()[0].italian, "S&tampa");
    EXPECT_EQ(buttonTable()[6].english, "Deposit");
    EXPECT_EQ(buttonTable()[15].italian, "&Vai al sito web");
    EXPECT_EQ(buttonTable()[15].english, "&Go");

    EXPECT_EQ(captionTable()[0].english, "Incoming checques");
    EXPECT_EQ(captionTable()[3].italian, "Tipologia Record Anagrafica");
    EXPECT_EQ(captionTable()[25].italian, "Importo (\xE2\x82\xAC)");
    EXPECT_EQ(captionTable()[26].italian, "Importo");
    EXPECT_EQ(captionTable()[61].italian, "Tutti gli ass. ricevuti non versati n\xC3\xA8 girati");
    EXPECT_EQ(captionTable()[64].english, "Search");
    EXPECT_EQ(captionTable()[65].italian, "Informazioni su");

    EXPECT_EQ(messageTable()[0].italian, "Impossibile eliminare il record. Esistono assegni collegati.");
    EXPECT_EQ(messageTable()[5].italian, "Selezionare il conto corrente");
    EXPECT_EQ(messageTable()[31].italian, "Selezionare il Conto Corrente");
    EXPECT_EQ(messageTable()[31].english, "Select the acccount number");
    EXPECT_EQ(messageTable()[32].english, "Invalid deposit date");
}

// A row whose Italian text contains an earlier row's text could never match.
TEST(TranslationTables, NoRowIsShadowedByAnEarlierRow) {
    for (auto table : {captionTable(), messageTable()})
        for (std::size_t j = 0; j < table.size(); ++j)
            for (std::size_t i = 0; i < j; ++i)
                EXPECT_EQ(table[j].italian.find(table[i].italian), std::string_view::npos)
                    << table[j].italian << " holds earlier " << table[i].italian;
}

// Each Italian text alone becomes exactly its own English text: later rows do
// not touch text an earlier row put in ("Deposit Notes", not "Deposit Notess").
TEST(TranslationTables, EveryRowTranslatesItsOwnTextExactly) {
    for (const auto& row : captionTable())
        EXPECT_EQ(caption(std::string(row.italian)), row.english) << row.italian;
    for (const auto& row : messageTable())
        EXPECT_EQ(message(std::string(row.italian)), row.english) << row.italian;
}

TEST(CaptionTranslation, Examples) {
    const struct { const char* in; const char* out; } cases[] = {
        {"Cerca in Anagrafica", "Search in Contacts"},
        {"Cerca Assegni Ricevuti", "Search Incoming checques"},
        {"Note Versamento", "Deposit Notes"},
        {"Note Girata", "Endorsement Notes"},
        {"Note", "Notes"},
        {"Note Versamento / Note", "Deposit Notes / Notes"},
        {"Importo (\xE2\x82\xAC)", "Amount"},
        {"Su piazza", "Town"},
        {"Su Piazza", "Town Cheque"},
        {"su piazza", "su piazza"},
        {"Assegni emessi nel mese", "Outgoing cheques in the month"},
        {"Tipologia Record Anagrafica", "Contact Type"},
        {"Numero di Conto Corrente", "Account number"},
        {"Intestatari", "Holders"},
        {"Informazioni su", "About"},
        {"da", "min"},
        {"a", "to"},
        {"su", "on"},
        {"dal", "dal"},
        {"da ", "da "},
        {"Benificiario", "Benificiario"},
        {"Data", "Data"},
        {"E-mail", "E-mail"},
        {"Fax", "Fax"},
        {"", ""},
    };
    env::setEnglish(true);
    for (const auto& c : cases) EXPECT_EQ(caption(c.in), c.out) << c.in;
}

TEST(CaptionTranslation, StoresTheResultInTheArgument) {
    std::string text = "Data Assegno";
    EXPECT_EQ(SostituisciCaptionEng(text), "Cheque Date");
    EXPECT_EQ(text, "Cheque Date");
}

TEST(MessageTranslation, Examples) {
    const struct { const char* in; const char* out; } cases[] = {
        {"Attenzione: Selezionare la tipologia!", "Attenzione: Select the type!"},
        {"Selezionare il conto corrente", "Select the account"},
        {"Selezionare il Conto Corrente", "Select the acccount number"},
        {"Impossibile connettersi al database", "Impossibile connettersi al database"},
        {"Formato della data non valido", "Formato della data non valido"},
        {"Error 13 (Type mismatch) in procedure Pad of Modulo basGeneral",
         "Error 13 (Type mismatch) in procedure Pad of Modulo basGeneral"},
        // No whole-text rules for messages.
        {"da", "da"},
    };
    for (const auto& c : cases) EXPECT_EQ(message(c.in), c.out) << c.in;

    std::string text = "Operazione eliminata";
    EXPECT_EQ(SostituisciMessaggioEng(text), "Operation deleted");
    EXPECT_EQ(text, "Operation deleted");
}

TEST(LanguageSwitch, OnlyTheCaptionTranslationIsTraced) {
    gCurrentProc = "none";
    isEnglish();
    std::string prompt = "Operazione eliminata";
    SostituisciMessaggioEng(prompt);
    EXPECT_EQ(gCurrentProc, "none");
    std::string text = "Note";
    SostituisciCaptionEng(text);
    EXPECT_EQ(gCurrentProc, "basGeneral::SostituisciCaptionEng");
}

TEST(LanguageSwitch, FollowsTheEnvironment) {
    env::setEnglish(false);
    EXPECT_FALSE(isEnglish());
    env::setEnglish(true);
    EXPECT_TRUE(isEnglish());
}

class SampleWindow : public Form {
public:
    SampleWindow() : Form("frmSample") {
        skin = &add<SkinForm>("LumoXPForm1", "Assegni Emessi");
        print = &add<CommandButton>("cmdPrint", "S&tampa");
        deposit = &add<CommandButton>("cmdVersa", "&Versa");
        keepOp = &add<CommandButton>("cmdDelOp", "&Elimina Operazione");
        keepOk = &add<CommandButton>("cmdOK", "&Ok");
        plainLabel = &add<Label>("lblNumero", "Numero Assegno");
        accessLabel = &add<Label>("lblElimina", "&Elimina");
        fromLabel = &add<Label>("lblDa", "da");
        check = &add<CheckBox>("chkTrasferibile", "Trasferibile");
        option = &add<OptionButton>("optAnagrafica", "Anagrafica");
        text = &add<TextBox>("txtNote");
        date = &add<DateField>("txtDataAssegno");
        text->setText("Note");
    }
    SkinForm* skin;
    CommandButton *print, *deposit, *keepOp, *keepOk;
    Label *plainLabel, *accessLabel, *fromLabel;
    CheckBox* check;
    OptionButton* option;
    TextBox* text;
    DateField* date;
};

TEST(DoEnglish, TranslatesEachControlKindByItsOwnRule) {
    SampleWindow w;
    doEnglish(w.Controls());
    EXPECT_EQ(w.skin->Caption(), "Outgoing checques");
    EXPECT_EQ(w.print->Caption(), "&Print");
    EXPECT_EQ(w.deposit->Caption(), "Deposit");
    EXPECT_EQ(w.keepOp->Caption(), "&Elimina Operazione");
    EXPECT_EQ(w.keepOk->Caption(), "&Ok");
    EXPECT_EQ(w.plainLabel->Caption(), "Checque Number");
    EXPECT_EQ(w.accessLabel->Caption(), "&Elimina");
    EXPECT_EQ(w.fromLabel->Caption(), "min");
    EXPECT_EQ(w.check->Caption(), "Negotiable");
    EXPECT_EQ(w.option->Caption(), "Anagrafica");
    EXPECT_EQ(w.text->Text(), "Note");
    EXPECT_EQ(w.date->TextForToday(), "Today");
}

class ButtonTableWindow : public Form {
public:
    ButtonTableWindow() : Form("frmButtons") {
        for (const auto& row : buttonTable())
            buttons.push_back(&add<CommandButton>("cmd" + std::to_string(buttons.size()), std::string(row.italian)));
    }
    std::vector<CommandButton*> buttons;
};

TEST(DoEnglish, EveryButtonRowMatchesItsWholeCaption) {
    ButtonTableWindow w;
    doEnglish(w.Controls());
    for (std::size_t i = 0; i < buttonTable().size(); ++i)
        EXPECT_EQ(w.buttons[i]->Caption(), buttonTable()[i].english) << buttonTable()[i].italian;
}

class GridWindow : public Form {
public:
    GridWindow() : Form("frmGrid") { grid = &add<FlexGrid>("MSFlexGrid1"); }
    FlexGrid* grid;
};

TEST(DoEnglishGrid, TranslatesTheGivenHeadersOnly) {
    GridWindow w;
    FlexGrid& g = *w.grid;
    g.setRows(2);
    g.setCols(4);
    g.setCols(5);
    // The last header is English already and is not asked for.
    const char* headers[] = {"Numero Assegno", "IDFIELD", "Note Versamento", "Data", "Notes"};
    for (int c = 0; c < 5; ++c) {
        g.setTextMatrix(0, c, headers[c]);
        g.setTextMatrix(1, c, "Anagrafica");
    }
    const int columns[] = {0, 1, 2, 3};
    doEnglishGrid(g, columns);
    EXPECT_EQ(g.TextMatrix(0, 0), "Checque Number");
    EXPECT_EQ(g.TextMatrix(0, 1), "IDFIELD");
    EXPECT_EQ(g.TextMatrix(0, 2), "Deposit Notes");
    EXPECT_EQ(g.TextMatrix(0, 3), "Data");
    EXPECT_EQ(g.TextMatrix(0, 4), "Notes");
    for (int c = 0; c < 5; ++c) EXPECT_EQ(g.TextMatrix(1, c), "Anagrafica");
}

}  // namespace
}  // namespace qv
