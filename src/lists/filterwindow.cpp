#include "lists/filterwindow.h"

#include "core/database.h"
#include "core/formprep.h"
#include "core/msgbox.h"
#include "lists/amounts.h"
#include "core/printpreview.h"
#include "core/sqlhelpers.h"
#include "core/trace.h"

namespace qv {

SavedFilter gSavedFilterTypes, gSavedFilterContacts, gSavedFilterAccounts, gSavedFilterIssued,
    gSavedFilterReceived;

Criterion textCriterion(const Control& input, const std::string& column) {
    return [&input, column]() -> std::string {
        const std::string t = trim(input.Text());
        if (t.empty()) return {};
        std::string padded = Pad(t);
        if (t.find(',') != std::string::npos) return column + " IN (" + PutTicksIn(padded) + ")";
        return column + " Like '%" + padded + "%'";
    };
}

Criterion comboCriterion(const ComboBox& input, const std::string& column) {
    return [&input, column]() -> std::string {
        if (input.ListIndex() == -1) return {};
        return column + " = " + sqlKey(input.ItemData(input.ListIndex()));
    };
}

Criterion dateBoundCriterion(const Control& input, const std::string& column, const std::string& op) {
    return [&input, column, op]() -> std::string {
        if (trim(input.Text()).empty()) return {};
        const auto d = parseDateInput(input.Text());
        if (!d) throw RuntimeError(kErrTypeMismatch);
        return column + " " + op + " ('" + FormattaData(*d) + "')";
    };
}

Criterion amountBoundCriterion(const Control& input, const std::string& column, const std::string& op) {
    return [&input, column, op]() -> std::string {
        if (trim(input.Text()).empty()) return {};
        const auto amount = parseAmount(input.Text());
        if (!amount) throw RuntimeError(kErrTypeMismatch);
        return column + " " + op + " " + *amount + " ";
    };
}

Criterion flagCriterion(const CheckBox& input, const std::string& prefix) {
    return [&input, prefix]() -> std::string {
        if (input.Value() == 2) return {};
        return prefix + wrapbooleanchk(input.Value()) + " ";
    };
}

bool FilterWindow::refuse(const std::string& message) {
    MyMsgBox(message, 48, "Quorvel");
    return false;
}

FilterWindow::FilterWindow(const std::string& formName, const std::string& caption, SavedFilter& saved,
                           bool andOr, int width, int height)
    : Form(formName),
      LumoXPForm1(addAt<SkinForm>(0, 0, width, 450, "LumoXPForm1", caption)),
      cmdOK(add<CommandButton>("cmdOK", "Ok")),
      cmdCancel(add<CommandButton>("cmdCancel", "Annulla")),
      cmdClear(add<CommandButton>("cmdClear", "Reimposta")),
      cmdPrint(add<CommandButton>("cmdPrint", "Stampa")),
      web(add<WebBrowser>("web")),
      saved_(saved) {
    setCaption(caption);
    setWidth(width);
    setHeight(height);
    setMinimumSize(width, height);
    // One row: Print and the AND/OR choice on the left, Reset, Ok and Cancel
    // flush right, so that no caption is drawn over another button.
    const int top = height - 660;
    constexpr int kPitch = 1215, kButton = 1095, kMargin = 240;
    cmdPrint.Move(120, top, kButton, 435);
    cmdCancel.Move(width - kMargin - kButton, top, kButton, 435);
    cmdOK.Move(width - kMargin - kPitch - kButton, top, kButton, 435);
    cmdClear.Move(width - kMargin - 2 * kPitch - kButton, top, kButton, 435);
    if (andOr) {
        optAND = &addAt<OptionButton>(120 + kPitch, top, 840, 435, "optAND", "AND");
        optOR = &addAt<OptionButton>(120 + kPitch + 900, top, 840, 435, "optOR", "OR");
        optAND->setValue(true);
    }
    cmdOK.Click = [this] { cmdOK_Click(); };
    cmdCancel.Click = [this] { cmdCancel_Click(); };
    cmdCancel.setCancel(true);
    cmdClear.Click = [this] { cmdClear_Click(); };
    cmdPrint.Click = [this] { cmdPrint_Click(); };
}

void FilterWindow::Form_Load() {
    runProc(owner(), "Form_Load", [this] {
        CenterForm(*this);
        OpenDb();
        DisattivaTabstop(Controls());
        // Its lists of choices are read at one moment: a database that cannot
        // be read now opens no filter with empty lists.
        if (!readAllOrNothing(owner(), "Form_Load", [this] { fillCombos(); })) {
            Unload();
            releaseInstance();
            return;
        }
        saved_.init = true;
        restore();
        if (optOR && saved_.orChosen) {
            optOR->setValue(true);
            optAND->setValue(false);
        }
        afterLoad();
    });
}

void FilterWindow::restore() {
    for (Control* c : Controls()) {
        switch (c->Kind()) {
            case ControlKind::TextBox:
            case ControlKind::DateField:
                if (auto it = saved_.texts.find(c->Name()); it != saved_.texts.end()) c->setText(it->second);
                break;
            case ControlKind::CheckBox:
                if (auto it = saved_.checks.find(c->Name()); it != saved_.checks.end())
                    static_cast<CheckBox*>(c)->setValue(it->second);
                break;
            case ControlKind::ComboBox:
                if (auto it = saved_.combos.find(c->Name()); it != saved_.combos.end()) {
                    auto* combo = static_cast<ComboBox*>(c);
                    int index = -1;
                    if (it->second)
                        for (int i = 0; i < combo->ListCount(); ++i)
                            if (combo->ItemData(i) == *it->second) {
                                index = i;
                                break;
                            }
                    combo->setListIndex(index);
                }
                break;
            default:
                break;
        }
    }
}

void FilterWindow::remember() {
    for (Control* c : Controls()) {
        switch (c->Kind()) {
            case ControlKind::TextBox:
            case ControlKind::DateField:
                saved_.texts[c->Name()] = c->Text();
                break;
            case ControlKind::CheckBox:
                saved_.checks[c->Name()] = static_cast<CheckBox*>(c)->Value();
                break;
            case ControlKind::ComboBox: {
                auto* combo = static_cast<ComboBox*>(c);
                saved_.combos[c->Name()] = combo->ListIndex() == -1
                                               ? std::nullopt
                                               : std::optional<std::int64_t>(combo->ItemData(combo->ListIndex()));
                break;
            }
            default:
                break;
        }
    }
}

std::string FilterWindow::buildCondition(const std::string& join) {
    std::string condition;
    for (const auto& criterion : criteria) {
        const std::string clause = criterion();
        if (clause.empty()) continue;
        if (!condition.empty()) condition += join;
        condition += clause;
    }
    return condition;
}

void FilterWindow::cmdOK_Click() {
    runProc(owner(), "cmdOK_Click", [this] {
        OpenDb();
        std::string join = " AND ";
        if (optAND && !optAND->Value()) {
            optOR->setValue(true);
            join = " OR ";
        }
        if (!checks()) return;
        filterText() = buildCondition(join);
        list().FillGrid();
        remember();
        if (optOR) saved_.orChosen = optOR->Value();
        Unload();
        releaseInstance();
    });
}

void FilterWindow::cmdClear_Click() {
    runProc(owner(), "cmdClear_Click", [this] {
        for (Control* c : Controls()) {
            switch (c->Kind()) {
                case ControlKind::TextBox:
                case ControlKind::DateField:
                    c->setText("");
                    break;
                case ControlKind::CheckBox:
                    static_cast<CheckBox*>(c)->setValue(clearedCheckValue());
                    break;
                case ControlKind::ComboBox:
                    static_cast<ComboBox*>(c)->setListIndex(-1);
                    break;
                default:
                    break;
            }
        }
        remember();
    });
}

void FilterWindow::cmdCancel_Click() {
    runProc(owner(), "cmdCancel_Click", [this] { Unload(); });
}

void FilterWindow::cmdPrint_Click() {
    runProc(owner(), "cmdPrint_Click", [this] { printThisForm(*this, web); });
}

}  // namespace qv
