// Tab order: the reading order of the window, whatever order the controls
// were added in; labels and pictures never in it.
#include <gtest/gtest.h>

#include "platform/forms.h"

using namespace qv;

namespace {

struct Scrambled : Form {
    Scrambled() : Form("frmScrambled") {}
    CommandButton& cmdOK = addAt<CommandButton>(3000, 2400, 1095, 435, "cmdOK", "Ok");
    CommandButton& cmdPrint = addAt<CommandButton>(120, 2400, 1095, 435, "cmdPrint", "Stampa");
    TextBox& txtRightOfFirst = addAt<TextBox>(3000, 720, 1500, 315, "txtRight");
    Label& lblFirst = addAt<Label>(240, 750, 1000, 255, "lblFirst", "Primo");   // a little lower than its input
    TextBox& txtFirst = addAt<TextBox>(1300, 720, 1500, 315, "txtFirst");
    TextBox& txtNotes = addAt<TextBox>(1300, 1200, 3000, 795, "txtNotes", true);
    CheckBox& chkFlag = addAt<CheckBox>(1300, 2040, 1500, 315, "chkFlag", "Flag");
    Picture& picLogo = addAt<Picture>(0, 0, 495, 495, "picLogo");
};

TEST(TabOrder, FollowsLinesTopToBottomEachLeftToRight) {
    Scrambled w;
    std::vector<std::string> names;
    for (Control* c : w.tabOrder()) names.push_back(c->Name());
    EXPECT_EQ(names,
              (std::vector<std::string>{"txtFirst", "txtRight", "txtNotes", "chkFlag", "cmdPrint", "cmdOK"}));
    // A control without a tab stop keeps its place for clicks but leaves Tab.
    w.txtRightOfFirst.setTabStop(false);
    names.clear();
    for (Control* c : w.tabOrder()) names.push_back(c->Name());
    EXPECT_EQ(names, (std::vector<std::string>{"txtFirst", "txtNotes", "chkFlag", "cmdPrint", "cmdOK"}));
}

}  // namespace
