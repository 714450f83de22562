// The about box: the program's name and version and its web page, which the
// user can open in the default browser.
#pragma once

#include <string>

#include "platform/forms.h"

namespace qv {

inline constexpr const char* kWebPageItalian = "https://www.quorvel.it";
inline constexpr const char* kWebPageEnglish = "https://www.quorvel.com";

// Opens the address in the default browser (module basGeneral). An empty
// address does nothing.
void LaunchBrowser(const std::string& address);

class frmAbout : public Form {
public:
    frmAbout();

    void Form_Load() override;
    void cmdGoToWebPage_Click();
    void cmdOK_Click();

    SkinForm& LumoXPForm1;
    Picture& LumoXPPicture1;
    Label& lblTitle;
    Label& LumoXPLabel3;
    Label& LumoXPLabel1;
    TextBox& txtWebPage;
    CommandButton& cmdGoToWebPage;
    CommandButton& cmdOK;
};

}  // namespace qv
