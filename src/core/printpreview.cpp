#include "core/printpreview.h"

#include "core/globals.h"
#include "platform/flexgrid.h"
#include "platform/forms.h"
#include "platform/procedure.h"
#include "platform/webbrowser.h"

namespace qv {

namespace {

const Owner kModule = Owner::module("basPrintPreview");

std::string replaceAll(std::string text, const std::string& what, const std::string& with) {
    for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + with.size()))
        text.replace(at, what.size(), with);
    return text;
}

bool skippedByOptions(int col) {
    for (std::size_t i = 1; i < gPrintGridOptions.size(); ++i) {
        if (gPrintGridOptions[i] == -1) return false;
        if (gPrintGridOptions[i] == col) return true;
    }
    return false;
}

// The caption cell of a field: the label named "lbl" and the field's name
// without its three-letter prefix (txtNome -> lblNome), for every such control.
void writeCaptionCells(const Form& form, const Control& field, WebBrowser& web) {
    const std::string& name = field.Name();
    const std::string labelName = "lbl" + name.substr(std::min<std::size_t>(3, name.size()));
    for (const Control* c : form.Controls())
        if (c->Name() == labelName) web.Write("<th>" + formattaPerStampa(c->Caption()) + "</th>");
}

}  // namespace

void initPrintPreview(WebBrowser& web) {
    runProc(kModule, "initPrintPreview", [&] {
        web.Navigate("about:blank");
        const std::string size = std::to_string(gPrintFontSize);
        web.Write(std::string("<html><HEAD><STYLE>    ") + " table {border-collapse:collapse;}" +
                  " th {    margin:5px;    padding: 3px;    border:1px solid #336699; " +
                  "background-color:#336699;    color:#FFFFFF;   font-family: Arial;  font-size: " + size +
                  "pt;    font-weight:bold; } " + " td {    margin:5px;    padding: 3px;    border:1px solid #336699; " +
                  "background-color:#FFFFFF;    color:#000000;    font-family: Arial; font-size: " + size +
                  "pt; }        " + " fontDettaglio { font-size: " + size +
                  "pt;  font-family: Arial; font-color: black; } " + "</STYLE></HEAD><body>");
    });
}

void printWebSubtitle(WebBrowser& web, const std::string& text) {
    runProc(kModule, "printWebSubtitle", [&] {
        web.Write("<font style=\"font-family: arial ; font-size: 22pt;\">" + text + "</p>");
    });
}

void printString(const std::string& text, WebBrowser& web) {
    runProc(kModule, "printString", [&] { web.Write(text); });
}

void printWebGrid(FlexGrid& grid, WebBrowser& web) {
    runProc(kModule, "printWebGrid", [&] {
        web.Write("<table border=\"0\" cellpadding=\"0\" cellspacing=\"0\">");
        for (int r = 0; r < grid.Rows(); ++r) {
            web.Write("<tr>");
            const char* open = r == 0 ? "<th>" : "<td>";
            const char* close = r == 0 ? "</th>" : "</td>";
            for (int c = 0; c < grid.Cols(); ++c) {
                if (grid.ColWidth(c) == 0 || skippedByOptions(c)) continue;
                web.Write(open);
                web.Write(formattaPerStampa(grid.TextMatrix(r, c)));
                web.Write(close);
            }
            web.Write("</tr>");
        }
        web.Write("</table>");
    });
}

void endPrintPreview(WebBrowser& web) {
    runProc(kModule, "endPrintPreview", [&] {
        web.Write("</body></html>");
        web.Close();
    });
}

void goPrintPreview(WebBrowser& web) {
    runProc(kModule, "goPrintPreview", [&] { web.ExecWB(7, 0); });
}

void printThisForm(Form& form, WebBrowser& web) {
    runProc(kModule, "printThisForm", [&] {
        initPrintPreview(web);
        printString("<table>", web);
        for (const Control* c : form.Controls()) {
            web.Write("<tr>");
            switch (c->Kind()) {
                case ControlKind::TextBox:
                case ControlKind::DateField:
                case ControlKind::ComboBox:
                    writeCaptionCells(form, *c, web);
                    // A combo's text is escaped like every other value: a "<"
                    // in a contact's name must not start a tag in the page.
                    web.Write("<td>" + formattaPerStampa(c->Text()) + "</td>");
                    break;
                case ControlKind::CheckBox: {
                    const auto& box = static_cast<const CheckBox&>(*c);
                    web.Write("<th>" + formattaPerStampa(box.Caption()) + "</th>");
                    const int v = box.Value();
                    if (v == 0)
                        web.Write("<td>No</td>");
                    else if (v == 1 || v == 2)
                        web.Write("<td>Sì</td>");
                    break;
                }
                default:
                    break;
            }
            web.Write("</tr>");
        }
        printString("</table>", web);
        endPrintPreview(web);
        goPrintPreview(web);
    });
}

std::string formattaPerStampa(const std::string& value) {
    return runProc(kModule, "formattaPerStampa",
                   [&] { return replaceAll(replaceAll(value, "<", "&lt;"), ">", "&gt;"); });
}

}  // namespace qv
