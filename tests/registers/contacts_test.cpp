// The contacts register: list, editor and filter.
#include <gtest/gtest.h>

#include "core/frmMain.h"
#include "core/globals.h"
#include "lists/filterwindow.h"
#include "platform/webbrowser.h"
#include "registers/frmAnagrafica.h"
#include "registers/frmEditAnagrafica.h"
#include "registers/frmSelectAnagrafica.h"
#include "fixture.h"

using namespace qv;

namespace {

struct Contact {
    int typeIndex;   // position in the type combo, -1 for none
    std::string nome, cognome, cap;
};

class ContactsTest : public qvtest::ListFixture<frmAnagrafica> {
protected:
    void SetUp() override {
        ListFixture::SetUp();
        // Listed by name: Clienti (index 0), Fornitori (index 1).
        exec("insert into TipologiaPersone (TIPOLOGIAID, Tipologia, DateTimeCreated) values "
             "(1, 'Fornitori', '2010-01-01 10:00:00'), (2, 'Clienti', '2010-01-01 10:00:00')");
    }
    void addContact(int type, const std::string& nome, const std::string& cognome, const std::string& more = "") {
        exec("insert into Anagrafica (TIPOLOGIAID, Nome, Cognome, Comune, NoteAnagrafica, DateTimeCreated) values (" +
             std::to_string(type) + ", " + nome + ", " + cognome + ", " + (more.empty() ? "Null, Null" : more) +
             ", '2010-01-01 10:00:00')");
    }
    // 1 Mario Rossi (Fornitori), 2 Rossi without a name (Clienti), 3 Anna Verdi (Clienti).
    void addThree() {
        addContact(1, "'Mario'", "'Rossi'", "'Milano', 'pagare a fine mese'");
        addContact(2, "Null", "'Rossi'", "'Roma', Null");
        addContact(2, "'Anna'", "'Verdi'", "'Milano', Null");
    }
    void typeContact(const Contact& c, bool* open = nullptr) {
        onModal([c, open](Form& f) {
            auto& e = dynamic_cast<frmEditAnagrafica&>(f);
            if (c.typeIndex >= 0) e.cboTipologia.setListIndex(c.typeIndex);
            e.txtNome.setText(c.nome);
            e.txtCognome.setText(c.cognome);
            e.txtCAP.setText(c.cap);
            e.cmdOK.click();
            if (open) *open = e.Loaded();
            if (e.Loaded()) {
                EXPECT_EQ(e.txtCognome.Text(), c.cognome);
            }
        });
    }
    void editRow(frmAnagrafica& l, int row, std::int64_t key) {
        gIsNew = false;
        l.MSFlexGrid1.setRow(row);
        l.mANAGRAFICAID = key;
    }
};

TEST_F(ContactsTest, HeadersAliasesAndHiddenKeys) {
    addThree();
    // A contact whose type row is missing is not listed.
    addContact(9, "'Senza'", "'Tipo'");
    frmAnagrafica& l = openList();
    FlexGrid& g = l.MSFlexGrid1;
    // The window's aliases give the surname, tax code, notes and e-mail headers;
    // from the field names alone they would read "CogName Ragione Sociale",
    // "CFIva", "Notes Contacts" and "Email".
    const std::vector<std::string> headers = {
        "IDFIELD", "IDFIELD", "Type", "Surname / Business Name", "Name", "Address", "Zip Code", "City",
        "State / Province", "Home Phone", "Business Phone", "Fax", "Mobile Phone", "Fiscal / VAT Code", "E-mail",
        "Web Site", "Notes", "Created", "Last Updated"};
    ASSERT_EQ(g.Cols(), 19);
    for (int c = 0; c < 19; ++c) EXPECT_EQ(g.TextMatrix(0, c), headers[static_cast<std::size_t>(c)]) << c;
    EXPECT_EQ(g.ColWidth(0), 0);
    EXPECT_EQ(g.ColWidth(1), 0);
    for (int c = 2; c < 19; ++c) EXPECT_GE(g.ColWidth(c), 600) << c;
    EXPECT_EQ(column(0), (std::vector<std::string>{"1", "2", "3"}));
    EXPECT_EQ(column(1), (std::vector<std::string>{"1", "2", "2"}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"Rossi", "Rossi", "Verdi"}));
    EXPECT_EQ(column(4), (std::vector<std::string>{"Mario", "", "Anna"}));
}

TEST_F(ContactsTest, EditorChecksInOrder) {
    addThree();
    openList();
    struct Case {
        bool english;
        Contact typed;
        std::string message;   // "" = saved
    };
    const std::vector<Case> cases = {
        {true, {-1, "Luca", "", ""}, "Select the type"},
        {true, {0, "Luca", "   ", ""}, "Insert the surname or the business name"},
        {true, {0, "", " Rossi ", ""}, "The record already exists"},   // a Null name is taken
        {true, {0, " Mario", "Rossi ", ""}, "The record already exists"},
        {true, {1, "Luca", "Rossi", "SW1A 1AA"}, ""},                 // any postal code outside Italian mode
        {false, {0, "Paolo", "Bianchi", "2010"}, "Lunghezza del codice di avviamento postale non valida"},
        {false, {0, "Paolo", "Bianchi", "2010A"}, "Il codice di avviamento postale contiene caratteri non validi"},
        {false, {0, "Paolo", "Verdi", " 20100 "}, ""},
        {false, {0, "", "Bianchi", "  "}, ""},   // a blank code is not checked
        {false, {0, "", "Bianchi", ""}, "Il record già esiste"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.typed.nome + "/" + c.typed.cognome + "/" + c.typed.cap);
        env::setEnglish(c.english);
        box().clear();
        gIsNew = true;
        bool open = false;
        typeContact(c.typed, &open);
        Instance<frmEditAnagrafica>::get().ShowModal();
        EXPECT_EQ(open, !c.message.empty());
        EXPECT_EQ(prompts(), c.message.empty() ? std::vector<std::string>{} : std::vector<std::string>{c.message});
        if (!c.message.empty()) {
            EXPECT_EQ(box().calls[0].buttons, 48);
        }
    }
    EXPECT_EQ(rows("select TIPOLOGIAID, ifnull(Nome, '-'), Cognome, CAP from Anagrafica where ANAGRAFICAID > 3"),
              (std::vector<std::vector<std::string>>{
                  {"1", "Luca", "Rossi", "SW1A 1AA"}, {"2", "Paolo", "Verdi", "20100"}, {"2", "-", "Bianchi", "<null>"}}));
}

TEST_F(ContactsTest, ADuplicateCheckThatCannotRunStopsTheSave) {
    addThree();
    openList();
    exec("alter table Anagrafica rename to AnagraficaOld");
    recordStatements();
    gIsNew = true;
    bool open = false;
    typeContact({0, "Luca", "Neri", ""}, &open);
    Instance<frmEditAnagrafica>::get().ShowModal();
    EXPECT_TRUE(open);
    ASSERT_EQ(prompts().size(), 1u);
    EXPECT_NE(prompts()[0].find("in procedure esisteRecordSQL"), std::string::npos) << prompts()[0];
    for (const auto& s : statements) EXPECT_NE(s.rfind("INSERT", 0), 0u) << s;
    exec("alter table AnagraficaOld rename to Anagrafica");
}

TEST_F(ContactsTest, DuplicateRulesAndTheSavedTexts) {
    addThree();
    frmAnagrafica& l = openList();
    recordStatements();
    // Editing a contact without changing surname and name is accepted.
    editRow(l, 2, 2);
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditAnagrafica&>(f);
        EXPECT_EQ(e.cboTipologia.Text(), "Clienti");
        EXPECT_EQ(e.idDelTipoAnag, 2);
        EXPECT_EQ(e.txtNome.Text(), "");
        EXPECT_EQ(e.txtComune.Text(), "Roma");
        e.cboTipologia.setListIndex(1);
        e.txtComune.setText("  ");
        e.txtEmail.setText(" r@x.it ");
        e.cmdOK.click();
    });
    Instance<frmEditAnagrafica>::get().ShowModal();
    EXPECT_TRUE(prompts().empty());
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(2, 2), "Fornitori");
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(2, 7), "");
    // A new contact with every detail, quotes included.
    gIsNew = true;
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditAnagrafica&>(f);
        EXPECT_EQ(e.idDelTipoAnag, -1);
        e.cboTipologia.setListIndex(0);
        int i = 0;
        for (TextBox* t : {&e.txtNome, &e.txtCognome, &e.txtIndirizzo, &e.txtCAP, &e.txtComune, &e.txtProvincia,
                           &e.txtTelefonoCasa, &e.txtTelefonoUfficio, &e.txtFax, &e.txtCellulare, &e.txtCFIva,
                           &e.txtEmail, &e.txtSitoWeb, &e.txtNote})
            t->setText("v" + std::to_string(i++));
        e.txtCognome.setText("D'Angelo");
        e.txtNote.setText(" ");
        e.cmdOK.click();
    });
    Instance<frmEditAnagrafica>::get().ShowModal();
    std::vector<std::string> seen;
    for (const auto& s : statements)
        if (s.rfind("select count", 0) == 0 || s.rfind("INSERT", 0) == 0 || s.rfind("UPDATE", 0) == 0)
            seen.push_back(s);
    EXPECT_EQ(seen, (std::vector<std::string>{
                        "select count(*) as conteggio from anagrafica where nome is Null and cognome='Rossi' and "
                        "anagraficaid<>2",
                        "UPDATE Anagrafica SET TIPOLOGIAID = 1,  Nome = Null,  Cognome = 'Rossi',  Indirizzo = Null,  "
                        "CAP = Null,  Comune = Null,  Provincia = Null,  TelefonoCasa = Null,  TelefonoUfficio = "
                        "Null,  Fax = Null,  Cellulare = Null,  CFIva = Null,  Email = 'r@x.it',  SitoWeb = Null,  "
                        "NoteAnagrafica = Null,  DateTimeLastUpdated = '2010-11-25 14:05:09' WHERE ANAGRAFICAID = 2 ",
                        "select count(*) as conteggio from anagrafica where nome ='v0' and cognome='D''Angelo'",
                        "INSERT INTO Anagrafica (TIPOLOGIAID, Nome, Cognome, Indirizzo, CAP, Comune, Provincia, "
                        "TelefonoCasa, TelefonoUfficio, Fax, Cellulare, CFIva, Email, SitoWeb, NoteAnagrafica, "
                        "DateTimeCreated) VALUES (2,  'v0',  'D''Angelo',  'v2',  'v3',  'v4',  'v5',  'v6',  'v7',  "
                        "'v8',  'v9',  'v10',  'v11',  'v12',  Null,  '2010-11-25 14:05:09') "}));
    EXPECT_EQ(column(3), (std::vector<std::string>{"Rossi", "Rossi", "Verdi", "D'Angelo"}));
    EXPECT_EQ(l.mANAGRAFICAID, 4);
    // The same surname with a name is another contact; the same pair is not.
    for (const auto& [nome, refused] : std::vector<std::pair<std::string, bool>>{{"Anna", false}, {"v0", true}}) {
        box().clear();
        bool open = false;
        typeContact({0, nome, "D'Angelo", ""}, &open);
        Instance<frmEditAnagrafica>::get().ShowModal();
        EXPECT_EQ(open, refused) << nome;
    }
}

TEST_F(ContactsTest, DeleteIsRefusedWhileACheckNamesTheContact) {
    addThree();
    struct Case {
        std::string reference;   // statement naming contact 2
        bool refused;
    };
    const std::vector<Case> cases = {
        {"insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero) values (1, 2, '1')", true},
        {"insert into AssegniRicevuti (FIRMATARIOID, ANAGRAFICAID, Numero) values (3, 2, '1')", true},
        {"insert into AssegniRicevuti (FIRMATARIOID, ANAGRAFICAID, Numero) values (2, 3, '1')", true},
        // Endorsements are not looked at: the endorsement row stays behind.
        {"insert into Girate (ASSEGNIRICEVUTIID, ANAGRAFICAID) values (1, 2)", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.reference);
        exec("delete from AssegniEmessi; delete from AssegniRicevuti; delete from Girate;");
        exec(c.reference);
        frmAnagrafica& l = openList();
        box().clear();
        l.MSFlexGrid1.pressCell(2, 3);
        if (!c.refused) box().queueAnswer(kAnswerYes);
        l.MSFlexGrid1.pressKey(46);
        EXPECT_EQ(prompts(), std::vector<std::string>{c.refused ? "Unable to delete the record. Related cheques exist."
                                                                 : "Are you sure to delete the record?"});
        EXPECT_EQ(count("select count(*) from Anagrafica where ANAGRAFICAID = 2"), c.refused ? 1 : 0);
        EXPECT_EQ(column(0), c.refused ? (std::vector<std::string>{"1", "2", "3"}) : (std::vector<std::string>{"1", "3"}));
        l.cmdClose_Click();
        forms::flushReleased();
    }
    EXPECT_EQ(count("select count(*) from Girate where ANAGRAFICAID = 2"), 1);
}

TEST_F(ContactsTest, FilterTextsWithAndAndOr) {
    addThree();
    frmAnagrafica& l = openList();
    struct Case {
        int typeIndex;
        std::string cognome, comune, note;
        bool orChosen;
        std::string filter;
        std::vector<std::string> listed;   // keys
    };
    const std::vector<Case> cases = {
        {0, "Rossi", "", "", false, "a.TIPOLOGIAID = 2 AND a.Cognome Like '%Rossi%'", {"2"}},
        {0, "Rossi", "", "", true, "a.TIPOLOGIAID = 2 OR a.Cognome Like '%Rossi%'", {"1", "2", "3"}},
        {-1, "Verdi, Rossi", "", "fine", false,
         "a.Cognome IN ('Verdi', 'Rossi') AND a.NoteAnagrafica Like '%fine%'", {"1"}},
        {1, "", "Roma,Torino", "", true, "a.TIPOLOGIAID = 1 OR a.Comune IN ('Roma', 'Torino')", {"1", "2"}},
        {-1, "", "", "", true, "", {"1", "2", "3"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.filter);
        onModal([&](Form& f) {
            auto& s = dynamic_cast<frmSelectAnagrafica&>(f);
            EXPECT_EQ(s.cboTipologia.ListCount(), 2);
            s.cboTipologia.setListIndex(c.typeIndex);
            s.txtCognome.setText(c.cognome);
            s.txtComune.setText(c.comune);
            s.txtNote.setText(c.note);
            (c.orChosen ? s.optOR : s.optAND)->setValue(true);
            s.cmdOK.click();
        });
        l.cmdSelect_Click();
        EXPECT_EQ(gFilterContacts, c.filter);
        EXPECT_EQ(column(0), c.listed);
    }
    // Every detail box filters on its own column.
    onModal([](Form& f) {
        auto& s = dynamic_cast<frmSelectAnagrafica&>(f);
        s.cmdClear.click();
        for (TextBox* t : {&s.txtNome, &s.txtCognome, &s.txtIndirizzo, &s.txtCAP, &s.txtComune, &s.txtProvincia,
                           &s.txtTelefonoCasa, &s.txtTelefonoUfficio, &s.txtFax, &s.txtCellulare, &s.txtCFIva,
                           &s.txtEmail, &s.txtSitoWeb, &s.txtNote})
            t->setText("x");
        s.cmdOK.click();
    });
    l.cmdSelect_Click();
    EXPECT_EQ(gFilterContacts,
              "a.Nome Like '%x%' OR a.Cognome Like '%x%' OR a.Indirizzo Like '%x%' OR a.CAP Like '%x%' OR a.Comune "
              "Like '%x%' OR a.Provincia Like '%x%' OR a.TelefonoCasa Like '%x%' OR a.TelefonoUfficio Like '%x%' OR "
              "a.Fax Like '%x%' OR a.Cellulare Like '%x%' OR a.CFIva Like '%x%' OR a.Email Like '%x%' OR "
              "a.SitoWeb Like '%x%' OR a.NoteAnagrafica Like '%x%'");
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(0, 0), "0 Records");
}

TEST_F(ContactsTest, PrintoutLeavesOutKeysAndStamps) {
    addThree();
    frmAnagrafica& l = openList();
    for (bool english : {true, false}) {
        env::setEnglish(english);
        l.cmdPrintGrid_Click();
    }
    EXPECT_EQ((std::vector<int>(gPrintGridOptions.begin() + 1, gPrintGridOptions.begin() + 6)),
              (std::vector<int>{0, 1, 17, 18, -1}));
    ASSERT_EQ(printed.size(), 2u);
    EXPECT_NE(printed[0].find("Quorvel - Contacts</p>"), std::string::npos);
    EXPECT_NE(printed[1].find("Quorvel - Anagrafica</p>"), std::string::npos);
    EXPECT_NE(printed[0].find("<tr><th>Type</th><th>Surname / Business Name</th><th>Name</th>"), std::string::npos);
    EXPECT_NE(printed[0].find("<th>Notes</th></tr><tr><td>Fornitori</td><td>Rossi</td><td>Mario</td>"),
              std::string::npos)
        << printed[0];
    EXPECT_EQ(printed[0].find("Created"), std::string::npos);
    EXPECT_EQ(printed[0].find("2010-01-01"), std::string::npos);
}

TEST_F(ContactsTest, TypeAndContactKeysAreWide) {
    exec("insert into TipologiaPersone (TIPOLOGIAID, Tipologia) values (5000000000, 'Banche')");
    exec("insert into Anagrafica (ANAGRAFICAID, TIPOLOGIAID, Cognome) values (3000000000, 5000000000, 'Banca')");
    frmAnagrafica& l = openList();
    EXPECT_EQ(column(1), std::vector<std::string>{"5000000000"});
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditAnagrafica&>(f);
        EXPECT_EQ(e.cboTipologia.Text(), "Banche");
        EXPECT_EQ(e.idDelTipoAnag, 5000000000);
        // End and Home walk the list; no type-ahead.
        e.cboTipologia.keyUp(35);
        EXPECT_EQ(e.cboTipologia.Text(), "Fornitori");
        EXPECT_EQ(e.idDelTipoAnag, 1);
        e.cboTipologia.keyUp(36);
        EXPECT_EQ(e.idDelTipoAnag, 5000000000);
        e.txtNome.setText("Sede");
        e.cmdOK.click();
    });
    l.MSFlexGrid1.doubleClickCell(1, 3);
    EXPECT_EQ(l.mANAGRAFICAID, 3000000000);
    EXPECT_EQ(rows("select TIPOLOGIAID, Nome from Anagrafica"),
              (std::vector<std::vector<std::string>>{{"5000000000", "Sede"}}));
    EXPECT_EQ(l.MSFlexGrid1.TextMatrix(1, 2), "Banche");
    EXPECT_TRUE(prompts().empty());
}

TEST_F(ContactsTest, TheWholeRoadFromTheMainWindow) {
    gFilterContacts = "stale";
    EXPECT_EQ(mainWindow().cmdAnagrafica.Caption(), "Co&ntacts");
    // The register is empty: the editor comes first.
    onModal([](Form& f) {
        auto& e = dynamic_cast<frmEditAnagrafica&>(f);
        EXPECT_EQ(e.LumoXPForm1.Caption(), "Contacts");
        EXPECT_EQ(dynamic_cast<Label*>(e.findControl("lblCFIva"))->Caption(), "Fiscal / VAT Code");
        e.cboTipologia.setListIndex(1);
        e.txtCognome.setText("Rossi");
        e.txtNome.setText("Mario");
        e.cmdOK.click();
    });
    onModal([&](Form& f) {
        EXPECT_EQ(gFilterContacts, "");
        auto& l = dynamic_cast<frmAnagrafica&>(f);
        EXPECT_EQ(l.LumoXPForm1.Caption(), "Contacts");
        EXPECT_EQ(column(3), std::vector<std::string>{"Rossi"});
        typeContact({0, "Anna", "Verdi", ""});
        l.cmdAdd_Click();
        onModal([](Form& s) {
            auto& sel = dynamic_cast<frmSelectAnagrafica&>(s);
            EXPECT_EQ(sel.LumoXPForm1.Caption(), "Search in Contacts");
            sel.txtNome.setText("Anna");
            sel.cmdOK.click();
        });
        l.cmdSelect_Click();
        EXPECT_EQ(column(3), std::vector<std::string>{"Verdi"});
        l.MSFlexGrid1.pressCell(1, 3);
        box().queueAnswer(kAnswerYes);
        l.cmdDelete_Click();
        EXPECT_EQ(l.MSFlexGrid1.Rows(), 1);
        l.cmdClose_Click();
    });
    mainWindow().cmdAnagrafica.click();
    EXPECT_EQ(modalShown, (std::vector<std::string>{"frmEditAnagrafica", "frmAnagrafica", "frmEditAnagrafica",
                                                     "frmSelectAnagrafica"}));
    EXPECT_EQ(rows("select TIPOLOGIAID, Nome, Cognome from Anagrafica"),
              (std::vector<std::vector<std::string>>{{"1", "Mario", "Rossi"}}));
    EXPECT_FALSE(Instance<frmAnagrafica>::exists());
}

}  // namespace
