// The list grids on screen: mouse clicks after scrolling sideways, and the
// headers as the user reads them. QV_SHOTS=folder saves pictures of them.
#include <gtest/gtest.h>

#include <QDir>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTableView>
#include <algorithm>

#include "core/globals.h"
#include "issued/frmAssegniEmessi.h"
#include "realwindows.h"
#include "registers/frmAnagrafica.h"
#include "registers/frmMieiContiCorrenti.h"
#include "registers/frmSelectAnagrafica.h"

using namespace qv;

namespace {

QTableView& viewOf(FlexGrid& g) { return *static_cast<QTableView*>(g.widget()); }

void shoot(QWidget* w, const std::string& name) {
    const QString folder = qEnvironmentVariable("QV_SHOTS");
    if (!folder.isEmpty() && QDir().mkpath(folder)) w->grab().save(folder + "/" + QString::fromStdString(name) + ".png");
}

// Waits for the grid's queued view work to be done.
void settle() { QTest::qWait(50); }

// Column texts of the data rows.
std::vector<std::string> columnOf(const FlexGrid& g, int col) { return qvtest::gridColumn(g, col); }

class GridTest : public qvtest::RealWindows {
protected:
    // Seven accounts whose columns each hold their own order of the values.
    void addAccounts() {
        const int step[] = {1, 2, 3, 4, 5, 6, 3, 2};
        for (int i = 0; i < 7; ++i) {
            auto v = [&](int column) { return std::to_string((i * step[column - 1] + column) % 7); };
            exec("insert into MieiContiCorrenti (Descrizione, Banca, ABI, CAB, NumeroConto, Intestatari, "
                 "DateTimeCreated, DateTimeLastUpdated) values ('conto " + v(1) + "', 'banca " + v(2) + "', '0100" +
                 v(3) + "', '0320" + v(4) + "', 'numero " + v(5) + "', 'intestatario " + v(6) +
                 "', '2010-01-0" + std::to_string(1 + std::stoi(v(7))) + " 10:00:00', '2011-03-0" +
                 std::to_string(1 + std::stoi(v(8))) + " 08:00:00')");
        }
    }

    // Clicks the scroll bar's right arrow until the first column in view stands
    // more than half out of it.
    static void scrollPartly(QTableView& view) {
        QScrollBar* bar = view.horizontalScrollBar();
        QStyleOptionSlider opt;
        opt.initFrom(bar);
        opt.orientation = Qt::Horizontal;
        opt.minimum = bar->minimum();
        opt.maximum = bar->maximum();
        opt.sliderPosition = bar->sliderPosition();
        opt.sliderValue = bar->value();
        opt.singleStep = bar->singleStep();
        opt.pageStep = bar->pageStep();
        const QRect arrow = bar->style()->subControlRect(QStyle::CC_ScrollBar, &opt, QStyle::SC_ScrollBarAddLine, bar);
        QHeaderView* h = view.horizontalHeader();
        auto partly = [&] {
            const int c = h->logicalIndexAt(0);
            return bar->value() > 0 && c >= 0 && -h->sectionViewportPosition(c) * 2 > h->sectionSize(c);
        };
        for (int i = 0; i < 40 && !partly(); ++i) {
            QTest::mouseClick(bar, Qt::LeftButton, {}, arrow.center());
            settle();
        }
        ASSERT_TRUE(partly()) << "the grid did not scroll part way (value " << bar->value() << ")";
    }

    static bool ascending(const std::vector<std::string>& v) { return std::is_sorted(v.begin(), v.end()); }
    static bool descending(const std::vector<std::string>& v) { return std::is_sorted(v.rbegin(), v.rend()); }
};

TEST_F(GridTest, AClickAfterAPartialScrollKeepsTheViewAndSortsTheHeaderUnderTheMouse) {
    addAccounts();
    script = [this](Form& f) {
        if (f.Name() != "frmMieiContiCorrenti") return;
        auto& l = dynamic_cast<frmMieiContiCorrenti&>(f);
        f.setWidth(6500);   // narrow: the columns do not all fit
        settle();
        QTableView& view = viewOf(l.MSFlexGrid1);
        QHeaderView* header = view.horizontalHeader();
        scrollPartly(view);
        const int offset = header->offset();
        shoot(f.widget(), "accounts_partly_scrolled");

        // Two clicks on one spot of the header: the same column, up then down.
        const QPoint spot(header->viewport()->width() * 3 / 5, header->height() / 2);
        const int column = header->logicalIndexAt(spot.x());
        ASSERT_GE(column, 1);
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, spot);
        settle();
        EXPECT_EQ(header->offset(), offset);
        EXPECT_EQ(view.horizontalScrollBar()->value(), offset);
        EXPECT_EQ(header->logicalIndexAt(spot.x()), column);
        EXPECT_TRUE(ascending(columnOf(l.MSFlexGrid1, column))) << "column " << column;
        QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, spot);
        settle();
        EXPECT_EQ(header->offset(), offset);
        EXPECT_TRUE(descending(columnOf(l.MSFlexGrid1, column))) << "column " << column;
        shoot(f.widget(), "accounts_after_header_clicks");

        // A click on a data row selects it and leaves the view where it was.
        QTest::mouseClick(view.viewport(), Qt::LeftButton, {}, QPoint(spot.x(), view.rowViewportPosition(2) + 3));
        settle();
        EXPECT_EQ(l.MSFlexGrid1.Row(), 3);
        EXPECT_EQ(header->offset(), offset);
        EXPECT_EQ(view.horizontalScrollBar()->value(), offset);
        shoot(f.widget(), "accounts_after_row_click");
    };
    Instance<frmMieiContiCorrenti>::get().ShowModal();
    EXPECT_TRUE(prompts().empty()) << ::testing::PrintToString(prompts());
}

TEST_F(GridTest, EveryHeaderFitsItsColumn) {
    addAccounts();
    exec("insert into TipologiaPersone (Tipologia) values ('Privati')");
    exec("insert into Anagrafica (TIPOLOGIAID, Nome, Cognome, Provincia, NoteAnagrafica) values "
         "(1, 'Mario', 'Rossi', 'MI', 'n')");
    exec("insert into AssegniEmessi (CONTOCORRENTEID, ANAGRAFICAID, Numero, DataAssegno, Importo) values "
         "(1, 1, '7', '2010-02-03 00:00:00', 12.5)");
    std::vector<std::string> shown, cut;
    script = [&](Form& f) {
        auto* l = dynamic_cast<ListWindow*>(&f);
        if (!l) return;
        QHeaderView* header = viewOf(l->MSFlexGrid1).horizontalHeader();
        const QFontMetrics metrics(header->font());
        for (int c = 0; c < header->count(); ++c) {
            if (header->isSectionHidden(c)) continue;
            const QString text = QString::fromStdString(l->MSFlexGrid1.TextMatrix(0, c));
            shown.push_back(text.toStdString());
            if (header->sectionSize(c) < metrics.horizontalAdvance(text)) cut.push_back(f.Name() + ": " + text.toStdString());
        }
        f.widget()->resize(2000, f.widget()->height());   // every column in the picture
        settle();
        shoot(f.widget(), f.Name() + "_headers");
    };
    Instance<frmMieiContiCorrenti>::get().ShowModal();
    Instance<frmAnagrafica>::get().ShowModal();
    Instance<frmAssegniEmessi>::get().ShowModal();
    for (const char* header : {"Bank Code #1", "Bank Code #2", "State / Province"})
        EXPECT_NE(std::find(shown.begin(), shown.end(), header), shown.end()) << header;
    EXPECT_EQ(cut, std::vector<std::string>{});
}

TEST_F(GridTest, FiltersThatFindNothingLeaveTheHeadersAsTheyWere) {
    exec("insert into TipologiaPersone (Tipologia) values ('Privati')");
    exec("insert into Anagrafica (TIPOLOGIAID, Nome, Cognome, NoteAnagrafica) values (1, 'Mario', 'Rossi', 'n')");
    std::vector<std::string> before, after;
    auto headers = [](const FlexGrid& g) {
        std::vector<std::string> h;
        for (int c = 1; c < g.Cols(); ++c) h.push_back(g.TextMatrix(0, c));
        return h;
    };
    int filters = 0;
    script = [&](Form& f) {
        if (auto* l = dynamic_cast<frmAnagrafica*>(&f)) {
            before = headers(l->MSFlexGrid1);
            for (int i = 0; i < 2; ++i) {
                press(Qt::Key_F, Qt::AltModifier);   // &Filter
                ASSERT_TRUE(waitUntil([&] { return filters == i + 1 && QApplication::activeModalWidget() == f.widget(); }));
            }
            after = headers(l->MSFlexGrid1);
            EXPECT_EQ(l->MSFlexGrid1.TextMatrix(0, 0), "0 Records");
            shoot(f.widget(), "contacts_after_empty_filters");
            return;
        }
        if (auto* s = dynamic_cast<frmSelectAnagrafica*>(&f)) {
            QTest::mouseClick(s->txtCognome.widget(), Qt::LeftButton);
            type("nobody");
            press(Qt::Key_O, Qt::AltModifier);
            EXPECT_TRUE(waitUntil([&f] { return !f.Loaded(); })) << "the filter stayed open";
            ++filters;
        }
    };
    Instance<frmAnagrafica>::get().ShowModal();
    ASSERT_NE(std::find(before.begin(), before.end(), "Notes"), before.end()) << ::testing::PrintToString(before);
    EXPECT_EQ(after, before);
    EXPECT_EQ(filters, 2);
}

}  // namespace
