// Tab order: the reading order of the window, whatever order the controls
// were added in; labels and pictures never in it.
#include <gtest/gtest.h>

#include <QWidget>

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

std::vector<std::string> names(const std::vector<Control*>& controls) {
    std::vector<std::string> out;
    for (Control* c : controls) out.push_back(c->Name());
    return out;
}

const std::vector<std::string> kReadingOrder = {"txtFirst", "txtRight", "txtNotes", "chkFlag", "cmdPrint", "cmdOK"};

TEST(TabOrder, FollowsLinesTopToBottomEachLeftToRight) {
    Scrambled w;
    EXPECT_EQ(names(w.tabOrder()), kReadingOrder);
    // A control without a tab stop keeps its place, so Tab goes on from it
    // after a click into it; Tab itself passes over it.
    w.txtRightOfFirst.setTabStop(false);
    EXPECT_EQ(names(w.tabOrder()), kReadingOrder);
    EXPECT_FALSE(w.txtRightOfFirst.TabStop());
}

// The chain the shown window really follows is the one tabOrder gives.
TEST(TabOrder, IsTheChainTheShownWindowLinks) {
    Scrambled w;
    w.txtRightOfFirst.setTabStop(false);
    w.Show();
    std::vector<std::string> linked;
    QWidget* first = w.txtFirst.widget();
    QWidget* at = first;
    do {
        if (w.findControl(at->objectName().toStdString()) && at->focusPolicy() != Qt::NoFocus)
            linked.push_back(at->objectName().toStdString());
        at = at->nextInFocusChain();
    } while (at != first && linked.size() < 20);
    EXPECT_EQ(linked, names(w.tabOrder()));
    EXPECT_EQ(linked, kReadingOrder);
    w.Unload();
}

}  // namespace
