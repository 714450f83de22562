// A program run with the received cheques windows, and builders of contacts,
// own accounts, cheques, endorsements and deposits (values as SQL literals).
#pragma once

#include <string>
#include <vector>

#include "core/globals.h"
#include "lists/filterwindow.h"
#include "platform/environment.h"
#include "platform/flexgrid.h"
#include "platform/webbrowser.h"
#include "received/frmAssegniRicevuti.h"
#include "received/frmEditAssegniRicevuti.h"
#include "received/frmEditGirate.h"
#include "received/frmEditVersamenti.h"
#include "received/frmSelectAssegniRicevuti.h"
#include "fixture.h"
#include "locale_scope.h"

namespace qvtest {

class ReceivedTest : public ListFixture<qv::frmAssegniRicevuti> {
protected:
    long long contact(const std::string& surname, const std::string& name = "NULL", const std::string& id = "NULL") {
        exec("insert into Anagrafica (ANAGRAFICAID, Cognome, Nome) values (" + id + ", '" + surname + "', " + name + ")");
        return count("select max(rowid) from Anagrafica where Cognome = '" + surname + "'");
    }
    long long account(const std::string& description) {
        exec("insert into MieiContiCorrenti (Descrizione) values ('" + description + "')");
        return count("select max(CONTOCORRENTEID) from MieiContiCorrenti");
    }
    long long cheque(long long signer, long long payee, const std::string& number, const std::string& amount,
                     const std::string& flags = "1, 0, NULL") {
        exec("insert into AssegniRicevuti (FIRMATARIOID, ANAGRAFICAID, Numero, DataAssegno, Importo, SuPiazza, "
             "Trasferibile, Sbarrato, Banca, ABI, CAB, NumeroConto) values (" + std::to_string(signer) + ", " +
             std::to_string(payee) + ", '" + number + "', '2010-11-01 00:00:00', " + amount + ", " + flags +
             ", 'Banca Uno', '01005', '03200', '1000')");
        return count("select max(ASSEGNIRICEVUTIID) from AssegniRicevuti");
    }
    void endorse(long long chq, long long to, int full, const std::string& date = "NULL",
                 const std::string& note = "NULL") {
        exec("insert into Girate (ASSEGNIRICEVUTIID, ANAGRAFICAID, GirataPiena, DataGirata, NoteGirata) values (" +
             std::to_string(chq) + ", " + std::to_string(to) + ", " + std::to_string(full) + ", " + date + ", " +
             note + ")");
    }
    void deposit(long long chq, long long into, const std::string& date = "NULL", const std::string& note = "NULL") {
        exec("insert into Versamenti (ASSEGNIRICEVUTIID, CONTOCORRENTEID, DataVersamento, NoteVersamento) values (" +
             std::to_string(chq) + ", " + std::to_string(into) + ", " + date + ", " + note + ")");
    }
    // A statement that fails while it is in place.
    void lock(const std::string& table, const std::string& when = "delete") {
        exec("create trigger stop before " + when + " on " + table + " begin select raise(abort, 'locked'); end");
    }
    void unlock() { exec("drop trigger stop"); }

    std::vector<std::string> statementsStartingWith(const std::string& prefix) const {
        std::vector<std::string> out;
        for (const auto& s : statements)
            if (s.rfind(prefix, 0) == 0) out.push_back(s);
        return out;
    }

    static constexpr const char* kLocked = "Error 3146 (locked) in procedure gDbExecute of Modulo basGeneral";

    LocaleScope english_{LocaleScope::english()};
};

}  // namespace qvtest
