#include "core/printpreview.h"

#include <gtest/gtest.h>

#include "core/globals.h"
#include "platform/flexgrid.h"
#include "platform/webbrowser.h"
#include "support/fixture.h"

namespace qv {
namespace {

std::string head(int points) {
    const std::string p = std::to_string(points);
    return "<html><HEAD><STYLE>     table {border-collapse:collapse;} th {    margin:5px;    padding: 3px;    "
           "border:1px solid #336699; background-color:#336699;    color:#FFFFFF;   font-family: Arial;  font-size: " +
           p + "pt;    font-weight:bold; }  td {    margin:5px;    padding: 3px;    border:1px solid #336699; "
           "background-color:#FFFFFF;    color:#000000;    font-family: Arial; font-size: " + p +
           "pt; }         fontDettaglio { font-size: " + p +
           "pt;  font-family: Arial; font-color: black; } </STYLE></HEAD><body>";
}

struct PrintWindow : Form {
    PrintWindow() : Form("frmPrintTest") {}
    template <class T, class... A> T& put(A&&... a) { return add<T>(std::forward<A>(a)...); }
};

class PrintPreviewTest : public qvtest::AppFixture {
protected:
    void SetUp() override {
        AppFixture::SetUp();
        gPrintFontSize = 7;
    }
    void TearDown() override {
        gPrintGridOptions.fill(0);
        AppFixture::TearDown();
    }
    PrintWindow window;
    WebBrowser& web = window.put<WebBrowser>("web");
};

TEST_F(PrintPreviewTest, GridPageSkipsListedAndHiddenColumns) {
    auto& grid = window.put<FlexGrid>("MSFlexGrid1");
    grid.setRows(2);
    grid.setCols(4);
    const char* cells[2][4] = {{"ID", "Tipo", "Key", "Note"}, {"1", "a<b>c", "k", "x & y"}};
    for (int c = 0; c < 4; ++c) {
        for (int r = 0; r < 2; ++r) grid.setTextMatrix(r, c, cells[r][c]);
        grid.setColWidth(c, c == 2 ? 0 : 900);
    }
    struct Case { int points; std::vector<int> list; std::string rows; };
    // Column 2 is hidden (width 0) and never prints.
    const std::vector<Case> cases{
        {7, {-1, 3}, "<tr><th>ID</th><th>Tipo</th><th>Note</th></tr><tr><td>1</td><td>a&lt;b&gt;c</td><td>x & y</td></tr>"},
        {10, {0, -1}, "<tr><th>Tipo</th><th>Note</th></tr><tr><td>a&lt;b&gt;c</td><td>x & y</td></tr>"},
    };
    for (const auto& c : cases) {
        gPrintFontSize = c.points;
        gPrintGridOptions.fill(0);
        std::copy(c.list.begin(), c.list.end(), gPrintGridOptions.begin() + 1);
        printed.clear();
        initPrintPreview(web);
        printWebSubtitle(web, "Quorvel - <Types>");
        printWebGrid(grid, web);
        printString("Totale: <b>1</b>", web);
        endPrintPreview(web);
        goPrintPreview(web);
        const std::string page = head(c.points) + "<font style=\"font-family: arial ; font-size: 22pt;\">Quorvel - "
                                 "<Types></p><table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">" + c.rows +
                                 "</table>Totale: <b>1</b></body></html>";
        EXPECT_EQ(web.pageText(), page);
        EXPECT_EQ(printed, std::vector<std::string>{page});
    }
    EXPECT_TRUE(box().calls.empty());
}

TEST_F(PrintPreviewTest, FormPageHasOneRowPerControl) {
    window.put<TextBox>("txtNome").setText("Rossi <M> & C.");
    window.put<Label>("lblNome", "Nome <e>");
    auto& cbo = window.put<ComboBox>("cboTipo");
    window.put<Label>("lblTipo", "Tipo");
    for (int v : {0, 1, 2}) window.put<CheckBox>("chk" + std::to_string(v), "Girato", true).setValue(v);
    window.put<TextBox>("txtNote").setText("nota");   // no lblNote
    window.put<CommandButton>("cmdOK", "&Ok");
    cbo.AddItem("<Fornitore>");
    cbo.setListIndex(0);

    printThisForm(window, web);
    const std::string page = head(7) +
        "<table><tr></tr><tr><th>Nome &lt;e&gt;</th><td>Rossi &lt;M&gt; & C.</td></tr><tr></tr>"
        "<tr><th>Tipo</th><td>&lt;Fornitore&gt;</td></tr><tr></tr>"
        "<tr><th>Girato</th><td>No</td></tr><tr><th>Girato</th><td>Sì</td></tr><tr><th>Girato</th><td>Sì</td></tr>"
        "<tr><td>nota</td></tr><tr></tr></table></body></html>";
    EXPECT_EQ(web.pageText(), page);
    EXPECT_EQ(printed, std::vector<std::string>{page});
}

TEST_F(PrintPreviewTest, FailingStepReportsItselfAndTheCallerGoesOn) {
    printString("<p>", web);   // no page yet
    goPrintPreview(web);
    ASSERT_EQ(box().calls.size(), 2u);
    EXPECT_EQ(box().calls[0].prompt, "Error 91 (Object variable or With block variable not set) in procedure "
                                     "printString of Modulo basPrintPreview");
    EXPECT_EQ(box().calls[0].buttons, 48);
    EXPECT_TRUE(printed.empty());
}

}  // namespace
}  // namespace qv
