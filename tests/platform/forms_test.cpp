// Windows and controls: modal showing, activation, design state, instances.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QTimer>
#include <QTest>
#include <QWidget>

#include "platform/forms.h"
#include "platform/runtime.h"

using namespace qv;

namespace {

struct Counted : Form {
    explicit Counted(const std::string& n = "frmCounted") : Form(n) {}
    TextBox& txt = addAt<TextBox>(0, 0, 1000, 300, "txtName");
    ComboBox& cbo = addAt<ComboBox>(0, 400, 1000, 300, "cboKind");
    CheckBox& chk = addAt<CheckBox>(0, 800, 1000, 300, "chkFlag", "Flag");
    CommandButton& cmd = addAt<CommandButton>(0, 1200, 1000, 300, "cmdOK", "Ok");
    int loads = 0, activations = 0, unloads = 0;
    void Form_Load() override { ++loads; }
    void Form_Activate() override { ++activations; }
    void Form_Unload() override { ++unloads; }
};

struct Child : Counted {
    Child() : Counted("frmChild") {}
    static int destroyed;
    ~Child() override { ++destroyed; }
};
int Child::destroyed = 0;

class FormsTest : public ::testing::Test {
protected:
    void TearDown() override { forms::setModalRunner(nullptr); }
};

TEST_F(FormsTest, ModalWindowActivatesItsParentWhenItCloses) {
    Counted parent;
    parent.Show();
    EXPECT_EQ(parent.loads, 1);
    EXPECT_EQ(parent.activations, 1);
    Child::destroyed = 0;
    int scripted = 0;
    forms::setModalRunner([&](Form& f) {
        ++scripted;
        auto& child = dynamic_cast<Child&>(f);
        EXPECT_EQ(child.activations, 1);
        EXPECT_EQ(Form::openWindows().back(), &f);
        // The window's own OK: unload and release while its handler runs.
        child.Unload();
        Instance<Child>::release();
        EXPECT_EQ(Child::destroyed, 0);   // not while its code is on the stack
    });
    Instance<Child>::get().ShowModal();
    EXPECT_EQ(scripted, 1);
    EXPECT_EQ(Child::destroyed, 1);
    EXPECT_FALSE(Instance<Child>::exists());
    EXPECT_EQ(parent.activations, 2);

    // A window the script leaves open is closed as by its close box: unloaded, not released.
    forms::setModalRunner([](Form&) {});
    Child& again = Instance<Child>::get();
    again.ShowModal();
    EXPECT_FALSE(again.Loaded());
    EXPECT_EQ(again.unloads, 1);
    EXPECT_TRUE(Instance<Child>::exists());
    EXPECT_EQ(parent.activations, 3);
    Instance<Child>::release();
    forms::flushReleased();
}

TEST_F(FormsTest, UnloadAndTheCloseBoxReallyCloseTheWindow) {
    // The main window: its own exit button, then its close box.
    for (bool closeBox : {false, true}) {
        SCOPED_TRACE(closeBox ? "close box" : "Unload");
        Counted main;
        main.Show();
        ASSERT_TRUE(main.Visible());
        if (closeBox)
            main.widget()->close();
        else
            main.Unload();
        EXPECT_EQ(main.unloads, 1);
        EXPECT_FALSE(main.Loaded());
        EXPECT_FALSE(main.Visible());
    }
    // A modal window in its own event loop, closed with its close box.
    Counted modal("frmModal");
    QTimer::singleShot(0, [&] { modal.widget()->close(); });
    modal.ShowModal();
    EXPECT_EQ(modal.unloads, 1);
    EXPECT_FALSE(modal.Visible());
}

TEST_F(FormsTest, LoadedAgainAWindowStartsAsDesigned) {
    forms::setModalRunner([](Form& f) {
        auto& c = dynamic_cast<Counted&>(f);
        c.txt.setText("typed");
        c.chk.setValue(1);
        c.cbo.AddItem("one");
        c.cbo.setListIndex(0);
    });
    Counted w;
    w.ShowModal();
    EXPECT_EQ(w.txt.Text(), "typed");
    forms::setModalRunner([](Form& f) {
        auto& c = dynamic_cast<Counted&>(f);
        EXPECT_EQ(c.txt.Text(), "");
        EXPECT_EQ(c.chk.Value(), 0);
        EXPECT_EQ(c.cbo.ListCount(), 0);
    });
    w.ShowModal();
    EXPECT_EQ(w.loads, 2);
}

TEST_F(FormsTest, ComboItemsSelectionAndEvents) {
    Counted w;
    w.Load();
    int changes = 0;
    w.cbo.Change = [&] { ++changes; };
    for (const char* t : {"a", "b", "c"}) {
        w.cbo.AddItem(t);
        w.cbo.setItemData(w.cbo.NewIndex(), 100 + w.cbo.NewIndex());
    }
    EXPECT_EQ(w.cbo.ListCount(), 3);
    EXPECT_EQ(w.cbo.ListIndex(), -1);
    EXPECT_EQ(w.cbo.Text(), "");
    EXPECT_EQ(changes, 0);   // adding items selects nothing
    w.cbo.setListIndex(2);
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(w.cbo.Text(), "c");
    EXPECT_EQ(w.cbo.ItemData(w.cbo.ListIndex()), 102);
    w.cbo.setListIndex(-1);
    EXPECT_EQ(w.cbo.Text(), "");
    EXPECT_THROW(w.cbo.setListIndex(3), RuntimeError);
    EXPECT_THROW(w.cbo.ItemData(-1), RuntimeError);
    w.cbo.setDropDownList(true);
    w.cbo.setListIndex(1);
    EXPECT_EQ(w.cbo.Text(), "b");
    int lastKey = 0;
    w.cbo.KeyUp = [&](int code, int) { lastKey = code; };
    w.cbo.keyUp(35);
    EXPECT_EQ(lastKey, 35);
}

TEST_F(FormsTest, CheckValuesAndCaptions) {
    Counted w;
    w.Load();
    for (int v : {0, 1, 2, 0}) {
        w.chk.setValue(v);
        EXPECT_EQ(w.chk.Value(), v);
    }
    EXPECT_THROW(w.chk.setValue(3), RuntimeError);
    EXPECT_EQ(w.cmd.Caption(), "Ok");
    EXPECT_THROW(w.txt.Caption(), RuntimeError);   // a text box has no caption
    int clicks = 0;
    w.cmd.Click = [&] { ++clicks; };
    w.cmd.click();
    w.cmd.setEnabled(false);
    w.cmd.click();
    EXPECT_EQ(clicks, 1);
}

TEST_F(FormsTest, AOneLineTextKeepsAPastedTextWhole) {
    Counted w;
    w.Load();
    for (std::size_t n : {32767u, 32768u, 100000u}) {
        SCOPED_TRACE(n);
        const std::string text(n, 'x');
        w.txt.setText(text);
        EXPECT_EQ(w.txt.Text(), text);
        // A paste goes in at the cursor.
        auto* edit = qobject_cast<QLineEdit*>(w.txt.widget());
        ASSERT_TRUE(edit);
        edit->clear();
        edit->insert(QString::fromStdString("a" + text));
        EXPECT_EQ(w.txt.Text().size(), n + 1);
    }
}

TEST_F(FormsTest, GeometryIsInTwips) {
    Counted w;
    w.txt.Move(1500, 300, 3000, 450);
    EXPECT_NEAR(w.txt.Left(), 1500, twipsPerPixel());
    EXPECT_NEAR(w.txt.Width(), 3000, twipsPerPixel());
    w.setWidth(6450);
    EXPECT_NEAR(w.Width(), 6450, twipsPerPixel());
    EXPECT_GT(screen::widthTwips(), 0);
}

}  // namespace

namespace {
struct DateForm : Form {
    DateForm() : Form("frmDate") {}
    DateField& txtData = addAt<DateField>(0, 0, 1500, 300, "txtData");
    TextBox& txtOther = addAt<TextBox>(0, 400, 1500, 300, "txtOther");
    CommandButton& cmdCancel = addAt<CommandButton>(0, 800, 1500, 300, "cmdCancel", "Annulla");
};
}  // namespace

TEST_F(FormsTest, LeavingADateFieldValidatesIt) {
    DateForm w;
    w.Show();
    w.widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.widget()));
    int asked = 0;
    bool refuse = true;
    w.txtData.Validate = [&] {
        ++asked;
        return refuse;
    };
    w.txtData.SetFocus();
    w.txtOther.widget()->setFocus(Qt::TabFocusReason);
    QApplication::processEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(w.txtData.hasFocus());   // refused: the focus stays
    // Going to Cancel never asks; an accepted value lets the focus go.
    w.cmdCancel.widget()->setFocus(Qt::MouseFocusReason);
    EXPECT_EQ(asked, 1);
    w.txtData.SetFocus();
    refuse = false;
    w.txtOther.widget()->setFocus(Qt::TabFocusReason);
    EXPECT_EQ(asked, 2);
    EXPECT_TRUE(w.txtOther.hasFocus());
    w.Unload();
}

TEST_F(FormsTest, APressRefusedByADateFieldClicksNothing) {
    struct W : Form {
        W() : Form("frmPress") {}
        DateField& txtData = addAt<DateField>(0, 0, 1500, 300, "txtData");
        CommandButton& cmdOK = addAt<CommandButton>(0, 400, 1500, 300, "cmdOK", "Ok");
    } w;
    w.Show();
    w.widget()->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(w.widget()));
    bool refuse = true;
    int asked = 0;
    w.txtData.Validate = [&] {
        ++asked;
        return refuse;
    };
    int clicks = 0;
    w.cmdOK.Click = [&] { ++clicks; };
    // A real press and release, as the window system delivers them.
    auto press = [&] { QTest::mouseClick(w.cmdOK.widget(), Qt::LeftButton); };
    w.txtData.SetFocus();
    press();
    EXPECT_EQ(asked, 1);
    EXPECT_EQ(clicks, 0);
    EXPECT_TRUE(w.txtData.hasFocus());
    QApplication::processEvents();
    refuse = false;
    press();
    EXPECT_EQ(clicks, 1);
    w.Unload();
}
