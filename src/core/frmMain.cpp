#include "core/frmMain.h"

#include <cstdint>
#include <limits>
#include <memory>

#include "core/backup.h"
#include "core/database.h"
#include "core/dbupdates.h"
#include "core/formprep.h"
#include "core/frmAbout.h"
#include "core/globals.h"
#include "core/msgbox.h"
#include "core/trace.h"
#include "core/translation.h"
#include "issued/frmAssegniEmessi.h"
#include "received/frmAssegniRicevuti.h"
#include "registers/frmAnagrafica.h"
#include "registers/frmMieiContiCorrenti.h"
#include "registers/frmTipologiaPersone.h"
#include "reports/frmSplashReports.h"

namespace qv {

namespace {
const Owner kMain = Owner::form("frmMain");

std::unique_ptr<frmMain>& mainSlot() {
    static std::unique_ptr<frmMain> m;
    return m;
}
}  // namespace

frmMain& mainWindow() {
    if (!mainSlot()) mainSlot() = std::make_unique<frmMain>();
    return *mainSlot();
}
void releaseMainWindow() { mainSlot().reset(); }

frmMain::frmMain()
    : Form("frmMain"),
      LumoXPForm1(addAt<SkinForm>(0, 0, 6450, 450, "LumoXPForm1", "Quorvel 3.0")),
      LumoXPLabel1(addAt<Label>(0, 480, 6375, 495, "LumoXPLabel1", "Quorvel 3.0", true)),
      cmdAssegniRicevuti(addAt<CommandButton>(240, 600, 1095, 975, "cmdAssegniRicevuti", "Assegni &Ricevuti")),
      cmdAssegniEmessi(addAt<CommandButton>(5040, 600, 1095, 975, "cmdAssegniEmessi", "Assegni &Emessi")),
      cmdAnagrafica(addAt<CommandButton>(240, 1680, 1095, 975, "cmdAnagrafica", "&Anagrafica")),
      cmdContiCorrenti(addAt<CommandButton>(5040, 1680, 1095, 975, "cmdContiCorrenti", "C&onti Correnti")),
      cmdReportistica(addAt<CommandButton>(240, 2760, 1095, 975, "cmdReportistica", "Re&ports")),
      cmdTipologia(addAt<CommandButton>(5040, 2760, 1095, 975, "cmdTipologia", "&Tipologie Anagrafica")),
      cmdInfo(addAt<CommandButton>(2040, 3840, 1095, 975, "cmdInfo", "&Informazioni")),
      cmdBackup(addAt<CommandButton>(3240, 3840, 1095, 975, "cmdBackup", "Database &Backup")),
      cmdEsci(addAt<CommandButton>(4440, 3840, 1095, 975, "cmdEsci", "Es&ci")),
      LumoXPPicture1(addAt<Picture>(1440, 960, 3495, 2775, "LumoXPPicture1")),
      LumoXPPicture(addAt<Picture>(120, 4080, 495, 495, "LumoXPPicture")),
      LumoXPPicture2(addAt<Picture>(5160, 4080, 495, 495, "LumoXPPicture2")),
      LumoXPPicture3(addAt<Picture>(5760, 4080, 495, 495, "LumoXPPicture3")) {
    setWidth(6450);
    setHeight(5100);
    LumoXPLabel1.setCentered(true);
    cmdAssegniRicevuti.Click = [this] { cmdAssegniRicevuti_Click(); };
    cmdAssegniEmessi.Click = [this] { cmdAssegniEmessi_Click(); };
    cmdAnagrafica.Click = [this] { cmdAnagrafica_Click(); };
    cmdContiCorrenti.Click = [this] { cmdContiCorrenti_Click(); };
    cmdReportistica.Click = [this] { cmdReportistica_Click(); };
    cmdTipologia.Click = [this] { cmdTipologia_Click(); };
    cmdInfo.Click = [this] { cmdInfo_Click(); };
    cmdBackup.Click = [this] { cmdBackup_Click(); };
    cmdEsci.Click = [this] { cmdEsci_Click(); };
}

void frmMain::Form_Load() {
    runProc(kMain, "Form_Load", [this] {
        gDbType = "SqlLite";
        setOpenFailureAction([this] { Unload(); });
        OpenDb();
        // A failed open has shown its message and unloaded this window: the start ends here.
        if (dbOpenFailed()) return;
        AggiornaDatabase();
        AggiornaReportistica();
        CenterForm(*this);
        setCaption("Quorvel 3.0");
        DisattivaTabstop(Controls());
    });
}

void frmMain::Form_Activate() {
    runProc(kMain, "Form_Activate", [] {
        gTrapErrors = true;
        const std::int64_t size = requireWholeNumber(getSetting("PRTCSIZE"));
        if (size < std::numeric_limits<int>::min() || size > std::numeric_limits<int>::max())
            throw RuntimeError(6, "Overflow");
        gPrintFontSize = static_cast<int>(size);
        gLogStatus = getSetting("LOGSTATUS");
    });
}

void frmMain::annullaWhere() {
    runProc(kMain, "annullaWhere", [] {
        gFilterContacts.clear();
        gFilterIssued.clear();
        gFilterReceived.clear();
        gFilterAccounts.clear();
        gFilterTypes.clear();
    });
}

void frmMain::cmdAssegniRicevuti_Click() {
    runProc(kMain, "cmdAssegniRicevuti_Click", [this] {
        annullaWhere();
        Instance<frmAssegniRicevuti>::get().ShowModal();
    });
}

void frmMain::cmdAssegniEmessi_Click() {
    runProc(kMain, "cmdAssegniEmessi_Click", [this] {
        annullaWhere();
        Instance<frmAssegniEmessi>::get().ShowModal();
    });
}

void frmMain::cmdAnagrafica_Click() {
    runProc(kMain, "cmdAnagrafica_Click", [this] {
        annullaWhere();
        Instance<frmAnagrafica>::get().ShowModal();
    });
}

void frmMain::cmdContiCorrenti_Click() {
    runProc(kMain, "cmdContiCorrenti_Click", [this] {
        annullaWhere();
        Instance<frmMieiContiCorrenti>::get().ShowModal();
    });
}

void frmMain::cmdReportistica_Click() {
    runProc(kMain, "cmdReportistica_Click", [] { Instance<frmSplashReports>::get().ShowModal(); });
}

void frmMain::cmdTipologia_Click() {
    runProc(kMain, "cmdTipologia_Click", [this] {
        annullaWhere();
        Instance<frmTipologiaPersone>::get().ShowModal();
    });
}

void frmMain::cmdInfo_Click() {
    runProc(kMain, "cmdInfo_Click", [] { Instance<frmAbout>::get().ShowModal(); });
}

void frmMain::cmdBackup_Click() {
    runProc(kMain, "cmdBackup_Click", [] {
        const std::string prompt = isEnglish() ? "Insert the destination path of the database backup"
                                               : "Inserire il percorso dove copiare il database";
        std::string folder = trim(gMsgBox().input(prompt, "Quorvel"));
        if (folder.empty()) return;
        // A folder typed the Windows way ends with a backslash: same folder.
        if (folder.back() == '\\') folder.back() = '/';
        if (folder.back() != '/') folder += '/';
        // The file is copied while no other connection can be writing it.
        bool copied = false;
        if (SQLiteComponent* db = gSqlLiteDb())
            db->whileReading([&] { copied = APIFileCopy(gDbPath, folder + gDbName, true); });
        if (copied)
            MyMsgBox("Copia del database avvenuta con successo", 64, "Quorvel");
        else
            MyMsgBox("Errore durante la copia del database", 48, "Quorvel");
    });
}

void frmMain::cmdEsci_Click() {
    runProc(kMain, "cmdEsci_Click", [this] { Unload(); });
}

}  // namespace qv
