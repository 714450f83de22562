#include "core/frmAbout.h"

#include <cstdio>
#include <fstream>

#include "core/formprep.h"
#include "core/msgbox.h"
#include "core/translation.h"
#include "platform/environment.h"
#include "platform/procedure.h"

namespace qv {

namespace {
const Owner kAbout = Owner::form("frmAbout");
}  // namespace

void LaunchBrowser(const std::string& address) {
    runProc(Owner::module("basGeneral"), "LaunchBrowser", [&] {
        if (address.empty()) return;
        // A probe page in the program folder comes first: a folder that takes
        // no file stops the launch here. The probe never outlives this call.
        const std::string probe = env::programFolder() + "/test.htm";
        {
            std::ofstream out(probe, std::ios::binary | std::ios::trunc);
            out << "\"<HTML> <\\HTML>\"\r\n";
            out.close();
            if (out.fail()) throw RuntimeError(kErrPathFileAccess);
        }
        // The address goes to the desktop's opener as its one argument; no
        // shell ever sees it.
        const env::LaunchResult result = env::launchBrowser(address);
        switch (result) {
            case env::LaunchResult::Started:
                break;
            case env::LaunchResult::NoBrowser:
                MyMsgBox("Could not find associated Browser", 48, "Browser Not Found");
                break;
            case env::LaunchResult::Failed:
                MyMsgBox("Unable to open Web Page.", 48, "Quorvel");
                break;
        }
        std::remove(probe.c_str());
    });
}

frmAbout::frmAbout()
    : Form("frmAbout"),
      LumoXPForm1(addAt<SkinForm>(0, 0, 6420, 450, "LumoXPForm1", "Informazioni su Quorvel")),
      LumoXPPicture1(addAt<Picture>(240, 720, 495, 495, "LumoXPPicture1")),
      lblTitle(addAt<Label>(960, 600, 6495, 375, "lblTitle", "Quorvel", true)),
      LumoXPLabel3(addAt<Label>(960, 960, 3375, 375, "LumoXPLabel3", "Versione 3.0", true)),
      LumoXPLabel1(addAt<Label>(360, 2040, 1695, 255, "LumoXPLabel1", "Sito web:")),
      txtWebPage(addAt<TextBox>(360, 2280, 4335, 375, "txtWebPage")),
      cmdGoToWebPage(addAt<CommandButton>(4920, 2280, 1215, 375, "cmdGoToWebPage", "&Vai al sito web")),
      cmdOK(addAt<CommandButton>(2760, 2760, 1095, 375, "cmdOK", "&Ok")) {
    setCaption("Informazioni su Quorvel");
    setWidth(6420);
    setHeight(3480);
    txtWebPage.setText(kWebPageItalian);
    txtWebPage.setLocked(true);
    cmdGoToWebPage.Click = [this] { cmdGoToWebPage_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdOK.setCancel(true);
}

void frmAbout::Form_Load() {
    runProc(kAbout, "Form_Load", [this] {
        CenterForm(*this);
        DisattivaTabstop(Controls());
        if (isEnglish()) txtWebPage.setText(kWebPageEnglish);
    });
}

void frmAbout::cmdGoToWebPage_Click() {
    runProc(kAbout, "cmdGoToWebPage_Click", [this] { LaunchBrowser(txtWebPage.Text()); });
}

void frmAbout::cmdOK_Click() {
    runProc(kAbout, "cmdOK_Click", [this] {
        Unload();
        Instance<frmAbout>::release();
    });
}

}  // namespace qv
