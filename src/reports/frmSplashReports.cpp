#include "reports/frmSplashReports.h"

#include "core/database.h"
#include "core/formprep.h"
#include "core/msgbox.h"
#include "core/translation.h"
#include "platform/procedure.h"
#include "reports/frmReportistica.h"

namespace qv {

namespace {
const Owner kChooser = Owner::form("frmSplashReports");

// The button grid: six columns, three rows; the last cell is the Exit button's.
constexpr int kColumnLefts[6] = {240, 1560, 2880, 4080, 5400, 6720};
constexpr int kRowTops[3] = {600, 1560, 2520};
constexpr int kButtonWidth = 1095, kButtonHeight = 855;
}  // namespace

frmSplashReports::frmSplashReports()
    : Form("frmSplashReports"),
      LumoXPForm(addAt<SkinForm>(0, 0, 8070, 450, "LumoXPForm", "Scegli Report")),
      cmdShowReport([this] {
          std::array<CommandButton*, kButtons> buttons{};
          for (int i = 0; i < kButtons; ++i) {
              buttons[static_cast<std::size_t>(i)] = &addAt<CommandButton>(
                  kColumnLefts[i % 6], kRowTops[i / 6], kButtonWidth, kButtonHeight,
                  "cmdShowReport(" + std::to_string(i) + ")", std::string());
          }
          return buttons;
      }()),
      cmdClose(addAt<CommandButton>(6720, 2520, kButtonWidth, kButtonHeight, "cmdClose", "Esci")) {
    setCaption("Scegli Report");
    setWidth(8070);
    setHeight(3600);
    for (int i = 0; i < kButtons; ++i) cmdShowReport[static_cast<std::size_t>(i)]->Click = [this, i] { cmdShowReport_Click(i); };
    cmdClose.Click = [this] { cmdClose_Click(); };
    cmdClose.setCancel(true);
}

void frmSplashReports::Form_Load() {
    runProc(kChooser, "Form_Load", [this] {
        CenterForm(*this);
        gMaxReportIndex = kButtons - 1;
        PopolaArrayReport();
        for (int i = 0; i <= gMaxReportIndex; ++i) {
            CommandButton& button = *cmdShowReport[static_cast<std::size_t>(i)];
            const auto row = static_cast<std::size_t>(i);
            if (row < gArrayReport.size() && !gArrayReport[row].sqlreport.empty()) {
                button.setVisible(true);
                std::string caption = gArrayReport[row].titolo;
                if (isEnglish()) SostituisciCaptionEng(caption);
                button.setCaption(caption);
            } else {
                button.setVisible(false);
            }
        }
        DisattivaTabstop(Controls());
        // One size for every title, so the buttons look alike.
        fitCaptionsAlike({cmdShowReport.begin(), cmdShowReport.end()});
    });
}

void frmSplashReports::PopolaArrayReport() {
    runProc(kChooser, "PopolaArrayReport", [this] {
        reportsRead_ = false;
        gArrayReport.clear();
        OpenDb();
        resetRs();
        gRsOpen("select * from reportistica order by ordine");
        Recordset& rs = gRs();
        while (!rs.isEOF()) {
            ReportDefinition def;
            // A Null text counts as the empty text; the count stays as read.
            def.sqlreport = rs.Fields("sqlreport").value().str();
            def.titolo = rs.Fields("titolo").value().str();
            def.numparametri = rs.Fields("numparametri").value();
            def.tipopar1 = rs.Fields("tipopar1").value().str();
            def.tipopar2 = rs.Fields("tipopar2").value().str();
            def.promptpar1 = rs.Fields("promptpar1").value().str();
            def.promptpar2 = rs.Fields("promptpar2").value().str();
            gArrayReport.push_back(std::move(def));
            if (isEnglish()) traductiPrompPars(static_cast<int>(gArrayReport.size()) - 1);
            rs.MoveNext();
        }
        CloseDb();
        reportsRead_ = true;
    });
}

void frmSplashReports::traductiPrompPars(int row) {
    runProc(kChooser, "traductiPrompPars", [&] {
        if (row < 0 || row >= static_cast<int>(gArrayReport.size())) throw RuntimeError(kErrSubscript);
        ReportDefinition& def = gArrayReport[static_cast<std::size_t>(row)];
        def.promptpar1 = translatePrompt(def.promptpar1);
        def.promptpar2 = translatePrompt(def.promptpar2);
    });
}

std::optional<std::string> frmSplashReports::ask(const std::string& italian, const std::string& english,
                                                 std::string& answer) {
    answer.clear();
    answer = gMsgBox().input(isEnglish() ? english : italian, "Quorvel");
    if (trim(answer).empty()) return std::nullopt;
    return answer;
}

std::optional<std::vector<Placeholder>> frmSplashReports::askOne(ParamKind kind, int param,
                                                                 const std::string& prompt) {
    std::string& answer = param == 1 ? inputPar1 : inputPar2;
    if (!ask("Inserisci " + prompt, "Insert " + prompt, answer)) return std::nullopt;
    auto values = answerPlaceholders(kind, param, answer);
    if (!values) MyMsgBox(invalidAnswerMessage(kind, param), 48, "Quorvel");
    return values;
}

std::optional<std::vector<Placeholder>> frmSplashReports::askPeriod() {
    if (!ask("Inserisci la data di partenza (GG/MM/AAAA)", "Insert the starting date (DD/MM/YYYY)", inputPar1))
        return std::nullopt;
    if (!readDateAnswer(inputPar1)) {
        MyMsgBox(invalidAnswerMessage(ParamKind::TwoDates, 1), 48, "Quorvel");
        return std::nullopt;
    }
    if (!ask("Inserisci la data di arrivo (GG/MM/AAAA)", "Insert the end date (DD/MM/YYYY)", inputPar2))
        return std::nullopt;
    auto values = periodPlaceholders(inputPar1, inputPar2);
    if (!values) MyMsgBox(invalidAnswerMessage(ParamKind::TwoDates, 1), 48, "Quorvel");
    return values;
}

std::optional<std::vector<Placeholder>> frmSplashReports::askParameters(const ReportDefinition& def) {
    std::vector<Placeholder> all;
    // A Null or a word in the count fails here, before anything is asked.
    const double count = def.numparametri.toDouble();
    for (int param = 1; param <= 2; ++param) {
        if (!(count > param - 1)) break;
        const ParamKind kind = paramKind(param == 1 ? def.tipopar1 : def.tipopar2);
        std::optional<std::vector<Placeholder>> values;
        if (kind == ParamKind::TwoDates && param == 1)
            values = askPeriod();
        else if (kind == ParamKind::None || kind == ParamKind::TwoDates)
            continue;   // a kind it cannot ask asks nothing and leaves its placeholders
        else
            values = askOne(kind, param, param == 1 ? def.promptpar1 : def.promptpar2);
        if (!values) return std::nullopt;
        all.insert(all.end(), values->begin(), values->end());
    }
    return all;
}

void frmSplashReports::cmdShowReport_Click(int index) {
    runProc(kChooser, "cmdShowReport_Click", [&] {
        // A load that failed (another program held the database) left the
        // table empty or cut short: it is read again; a failure then was told.
        if (!reportsRead_) PopolaArrayReport();
        if (!reportsRead_) return;
        // A report another program removed since the buttons were made has no row to run.
        if (index < 0 || index >= static_cast<int>(gArrayReport.size())) return;
        const auto row = static_cast<std::size_t>(index);
        // Every answer is in before the query changes, and all of them go in
        // at once: an answer is never searched for another's placeholder.
        if (const auto values = askParameters(gArrayReport[row])) {
            gArrayReport[row].sqlreport = substitutePlaceholders(gArrayReport[row].sqlreport, *values);
            gReportIndex = index;
            // A fresh window for every run, even after its close box left one behind.
            Instance<frmReportistica>::release();
            Instance<frmReportistica>::get().ShowModal();
        }
        // Puts the stored placeholders back for the next run.
        PopolaArrayReport();
    });
}

void frmSplashReports::cmdClose_Click() {
    runProc(kChooser, "cmdClose_Click", [this] {
        Unload();
        Instance<frmSplashReports>::release();
    });
}

}  // namespace qv
