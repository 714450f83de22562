// The main window: loading it starts the program; its buttons open every
// other window, copy the database and end the program.
#pragma once

#include "platform/forms.h"

namespace qv {

class frmMain : public Form {
public:
    frmMain();

    void Form_Load() override;
    void Form_Activate() override;

    // Empties every list filter before a list window opens.
    void annullaWhere();

    void cmdAssegniRicevuti_Click();
    void cmdAssegniEmessi_Click();
    void cmdAnagrafica_Click();
    void cmdContiCorrenti_Click();
    void cmdReportistica_Click();
    void cmdTipologia_Click();
    void cmdInfo_Click();
    void cmdBackup_Click();
    void cmdEsci_Click();

    SkinForm& LumoXPForm1;
    Label& LumoXPLabel1;
    CommandButton& cmdAssegniRicevuti;
    CommandButton& cmdAssegniEmessi;
    CommandButton& cmdAnagrafica;
    CommandButton& cmdContiCorrenti;
    CommandButton& cmdReportistica;
    CommandButton& cmdTipologia;
    CommandButton& cmdInfo;
    CommandButton& cmdBackup;
    CommandButton& cmdEsci;
    Picture& LumoXPPicture1;
    Picture& LumoXPPicture;
    Picture& LumoXPPicture2;
    Picture& LumoXPPicture3;
};

// The one main window of the run.
frmMain& mainWindow();
void releaseMainWindow();   // tests

}  // namespace qv
