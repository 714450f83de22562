#include "core/formprep.h"

#include <gtest/gtest.h>

#include "platform/flexgrid.h"
#include "platform/webbrowser.h"
#include "support/fixture.h"

namespace qv {
namespace {

struct PrepWindow : Form {
    PrepWindow() : Form("frmPrepTest") {}
    template <class T, class... A> T& put(A&&... a) { return add<T>(std::forward<A>(a)...); }
};

using FormPrepTest = qvtest::AppFixture;

TEST_F(FormPrepTest, PutSpacesInLabelsAndDefaultPointer) {
    const std::vector<std::pair<std::string, std::string>> cases{
        {"DataAssegno", "Data Assegno"}, {"DataUltimaModifica", "Data Ultima Modifica"},
        {"NumeroConto", "Numero Conto"}, {"ABI", "ABI"}, {"CFIva", "CFIva"},
        {"ASSEGNIEMESSIID", "ASSEGNIEMESSIID"}, {"Numero_Conto", "Numero _Conto"}, {"", ""},
        {"x`y[", "x `y ["}, {"\xC3\xA0Z", "\xC3\xA0 Z"},
    };
    for (const auto& [in, out] : cases) {
        screen::setMousePointer(11);
        EXPECT_EQ(PutSpacesInLabels(in), out) << in;
        EXPECT_EQ(screen::mousePointer(), 0);
    }
}

TEST_F(FormPrepTest, CenterRoundsHalfToEvenThenHalvesTowardsZero) {
    const std::vector<std::tuple<double, double, int>> cases{
        {1000, 0, 500}, {1001, 0, 500}, {1000.5, 0, 500}, {1001.5, 0, 501}, {1003.5, 0, 502},
        {100, 105, -2}, {100, 102.5, -1}, {100, 103.5, -2}, {11520, 6420, 2550},
    };
    for (const auto& [screenSize, size, want] : cases) EXPECT_EQ(centerOffset(screenSize, size), want) << size;

    PrepWindow w;   // larger than the screen: negative position
    w.setWidth(screen::widthTwips() + 3000);
    w.setHeight(screen::heightTwips() + 2000);
    CenterForm(w);
    EXPECT_NEAR(w.Top(), -1000, pixelsToTwips(1));
    EXPECT_NEAR(w.Left(), -1500, pixelsToTwips(1));
}

TEST_F(FormPrepTest, DisattivaTabstopPreparesControls) {
    PrepWindow w;
    auto& frame = w.put<SkinForm>("LumoXPForm1", "Anagrafica");
    auto& label = w.put<Label>("lblNome", "Nome");
    auto& web = w.put<WebBrowser>("web");
    auto& combo = w.put<ComboBox>("cboTipo");
    label.setTabStop(true);
    web.setTabStop(true);
    std::vector<CommandButton*> buttons;
    for (const char* c : {"Stampa", "Versa", "Annulla", "stampa", "&Elimina Operazione"})
        buttons.push_back(&w.put<CommandButton>(std::string("cmd") + c, c));
    DisattivaTabstop(w.Controls());
    EXPECT_FALSE(label.TabStop());
    EXPECT_FALSE(web.TabStop());
    EXPECT_TRUE(combo.DropDownList());
    EXPECT_TRUE(frame.DrawGradientForm());
    const std::vector<std::string> want{"&Print", "Deposit", "&Cancel", "stampa", "&Elimina Operazione"};
    for (std::size_t i = 0; i < want.size(); ++i) EXPECT_EQ(buttons[i]->Caption(), want[i]);
    EXPECT_EQ(frame.Caption(), "Contacts");
}

TEST(DayNumberOfText, IsoThenLocaleThenDayMonthYear) {
    const std::vector<std::pair<std::string, std::optional<long>>> cases{
        {"1899-12-30", 0}, {"2010-11-25 14:05:09", 40507}, {"25/11/2010", 40507}, {"31/12/29", 47483},
        {"2000-02-29", 36585}, {"2010-02-30", std::nullopt}, {"2010-11-25 25:00", std::nullopt},
        {"", std::nullopt}, {"12,50", std::nullopt},
    };
    for (const auto& [text, days] : cases) EXPECT_EQ(dayNumberOfText(text), days) << text;
}

class SortByDateTest : public qvtest::AppFixture {
protected:
    void fill(const std::vector<std::pair<std::string, std::string>>& rows) {
        grid.setRows(static_cast<int>(rows.size()) + 1);
        grid.setCols(2);
        for (int r = 1; r < grid.Rows(); ++r) {
            grid.setTextMatrix(r, 0, rows[r - 1].first);
            grid.setTextMatrix(r, 1, rows[r - 1].second);
        }
        grid.setCol(0);
    }
    std::vector<std::string> column(int c) const {
        std::vector<std::string> t;
        for (int r = 1; r < grid.Rows(); ++r) t.push_back(grid.TextMatrix(r, c));
        return t;
    }
    PrepWindow window;
    FlexGrid& grid = window.put<FlexGrid>("MSFlexGrid1");
};

TEST_F(SortByDateTest, ByDayOnlyStableBothWays) {
    fill({{"2010-11-25 18:00:00", "eve"}, {"15/01/2010", "jan"}, {"2010-11-25 08:00:00", "morn"},
          {"2009-12-31 23:59:59", "dec"}});
    sortGridByDate(grid, 0, 3);
    EXPECT_EQ(column(1), (std::vector<std::string>{"dec", "jan", "eve", "morn"}));
    sortGridByDate(grid, 0, 4);
    EXPECT_EQ(column(1), (std::vector<std::string>{"eve", "morn", "jan", "dec"}));
    EXPECT_EQ(grid.Cols(), 2);
    EXPECT_EQ(grid.Col(), 0);
    EXPECT_TRUE(box().calls.empty());
}

TEST_F(SortByDateTest, HeaderOnlyOrBadDateLeavesTheGrid) {
    fill({});
    sortGridByDate(grid, 0, 3);
    EXPECT_EQ(grid.Cols(), 2);
    EXPECT_TRUE(box().calls.empty());

    fill({{"2010-03-01", "mar"}, {"ieri", "bad"}, {"2009-12-31", "dec"}});
    sortGridByDate(grid, 0, 3);
    EXPECT_EQ(column(0), (std::vector<std::string>{"2010-03-01", "ieri", "2009-12-31"}));
    EXPECT_EQ(column(1), (std::vector<std::string>{"mar", "bad", "dec"}));
    EXPECT_EQ(grid.Cols(), 2);
    ASSERT_EQ(box().calls.size(), 1u);
    EXPECT_EQ(box().calls[0].prompt, "Error 13 (Type mismatch) in procedure sortGridByDate of Modulo basGeneralCustom");
}

}  // namespace
}  // namespace qv
