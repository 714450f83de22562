// The list grid under a large register: fill row by row as a list window
// does, first paint, header sort, date sort (hidden day-number column), and
// wheel paging. Prints each step's time and the process's peak memory.
// Goals at 100,000 rows x 19 columns: fill + first paint < 150 ms, each sort
// < 150 ms, peak < 150 MB, time growing linearly with the rows.
#include <QAbstractScrollArea>
#include <QApplication>
#include <QElapsedTimer>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/flexgrid.h"
#include "platform/forms.h"

using namespace qv;

namespace {

constexpr int kCols = 19;
constexpr int kDateCol = 3;   // DataAssegno
constexpr int kNameCol = 5;   // Banca

struct ListForm : Form {
    ListForm() : Form("frmBench") {}
    FlexGrid& grid = addAt<FlexGrid>(120, 120, 14000, 8000, "MSFlexGrid1");
};

long statusKb(const char* key) {
    std::ifstream in("/proc/self/status");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind(key, 0) == 0) return std::atol(line.c_str() + std::string(key).size());
    return -1;
}

// A day count of a "YYYY-MM-DD ..." text, the time of day dropped.
long dayNumber(const std::string& t) {
    int y = std::atoi(t.c_str()), m = std::atoi(t.c_str() + 5), d = std::atoi(t.c_str() + 8);
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

// Texts of a received-cheques list: one source row per record, as the result set hands them over.
std::vector<std::string> sourceRow(int i) {
    static const char* banks[] = {"Banca Popolare di Sondrio", "Intesa Sanpaolo", "UniCredit", "Banco BPM",
                                  "Credito Emiliano", "Banca Sella", "Monte dei Paschi di Siena"};
    static const char* towns[] = {"Milano", "Roma", "Torino", "Bergamo", "Reggio nell'Emilia", "Bari"};
    static const char* people[] = {"Rossi Mario", "Bianchi Luca", "Esposito Anna", "Colombo Giulia",
                                   "Ferrari Srl Costruzioni Generali", "Ricci Paolo"};
    char date[32], stamp[32], amount[32];
    std::snprintf(date, sizeof date, "20%02d-%02d-%02d 00:00:00", 5 + (i * 7) % 15, 1 + (i * 5) % 12, 1 + (i * 11) % 28);
    std::snprintf(stamp, sizeof stamp, "2021-%02d-%02d %02d:%02d:%02d", 1 + i % 12, 1 + i % 28, i % 24, i % 60,
                  (i * 7) % 60);
    std::snprintf(amount, sizeof amount, "%d,%03d.%02d \xE2\x82\xAC", (i * 37) % 90 + 1, (i * 191) % 1000, i % 100);
    return {std::to_string(100000 + i),
            std::to_string(4000000 + (i * 7919) % 1000000),
            std::to_string(i % 500 + 1),
            date,
            towns[i % 6],
            banks[i % 7],
            "0" + std::to_string(3000 + i % 900),
            std::to_string(10000 + (i * 13) % 90000),
            "00000" + std::to_string(1000000 + (i * 31) % 9000000),
            i % 3 ? "No" : "Yes",
            i % 2 ? "Yes" : "No",
            amount,
            "Fattura n. " + std::to_string(i % 997) + " saldo fornitura",
            i % 5 ? "" : "Consegnato a mano in filiale",
            people[i % 6],
            people[(i + 3) % 6],
            i % 4 ? "Deposited" : "Endorsed",
            stamp,
            i % 3 ? std::string(stamp) : std::string()};
}

double msSince(const QElapsedTimer& t) { return static_cast<double>(t.nsecsElapsed()) / 1e6; }

struct PaintWatch : QObject {
    bool painted = false;
    bool eventFilter(QObject*, QEvent* e) override {
        if (e->type() == QEvent::Paint) painted = true;
        return false;
    }
};

void run(int n, const std::vector<std::vector<std::string>>& pool) {
    ListForm form;
    FlexGrid& g = form.grid;
    auto* area = static_cast<QAbstractScrollArea*>(g.widget());
    PaintWatch watch;
    area->viewport()->installEventFilter(&watch);
    QCoreApplication::processEvents();

    QElapsedTimer t;
    t.start();
    // As the list fill does: empty the grid, headers, then one row at a time.
    g.setRows(1);
    g.setCols(kCols);
    for (int c = 0; c < kCols; ++c) g.setTextMatrix(0, c, "Header " + std::to_string(c));
    const std::size_t poolSize = pool.size();
    for (int r = 1; r <= n; ++r) {
        g.setRows(g.Rows() + 1);
        const auto& src = pool[static_cast<std::size_t>(r) % poolSize];
        g.setTextMatrix(r, 0, std::to_string(r));   // the key differs on every row
        for (int c = 1; c < kCols; ++c) g.setTextMatrix(r, c, src[static_cast<std::size_t>(c)]);
    }
    // Column widths over the header and the first 60 rows.
    for (int c = 0; c < kCols; ++c) {
        int w = 0;
        for (int r = 0; r <= std::min(60, g.Rows() - 1); ++r) w = std::max(w, g.TextWidth(g.TextMatrix(r, c)));
        g.setColWidth(c, c == 0 ? 0 : std::clamp(w + 200, 600, 8000));
    }
    g.setRow(0);
    const double fillMs = msSince(t);
    form.Show();
    while (!watch.painted) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
    const double paintMs = msSince(t);

    // Header click: generic ascending by a text column.
    t.restart();
    g.setCol(kNameCol);
    g.setSort(1);
    QCoreApplication::processEvents();
    const double sortMs = msSince(t);

    // Date sort: a hidden column of day numbers, numeric sort, column removed.
    t.restart();
    g.setCols(g.Cols() + 1);
    const int sortCol = g.Cols() - 1;
    g.setColWidth(sortCol, 0);
    for (int r = 1; r < g.Rows(); ++r) g.setTextMatrix(r, sortCol, std::to_string(dayNumber(g.TextMatrix(r, kDateCol))));
    g.setCol(sortCol);
    g.setSort(3);
    g.setCols(g.Cols() - 1);
    QCoreApplication::processEvents();
    const double dateSortMs = msSince(t);
    bool ordered = true;
    for (int r = 2; r < g.Rows(); ++r) ordered = ordered && g.TextMatrix(r - 1, kDateCol) <= g.TextMatrix(r, kDateCol);

    // Wheel paging, as the wheel hook does it, each step repainted.
    double wheelMax = 0, wheelTotal = 0;
    for (int step = 0; step < 20; ++step) {
        t.restart();
        int pageRows = g.Height() / g.RowHeight(0);
        while (pageRows > 0 && (g.TopRow() + pageRows > g.Rows() - 1 || !g.RowIsVisible(g.TopRow() + pageRows)))
            --pageRows;
        g.setTopRow(std::min(g.Rows() - 1, g.TopRow() + pageRows));
        watch.painted = false;
        area->viewport()->update();
        while (!watch.painted) QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        const double ms = msSince(t);
        wheelTotal += ms;
        wheelMax = std::max(wheelMax, ms);
    }

    std::printf("rows %7d: fill %7.1f ms (%5.0f ns/row)  fill+first paint %7.1f ms  sort %6.1f ms  date sort %6.1f ms%s"
                "  wheel x20 %6.1f ms (max step %5.2f ms, top row %d)\n",
                n, fillMs, fillMs * 1e6 / n, paintMs, sortMs, dateSortMs, ordered ? "" : " (NOT ORDERED)", wheelTotal,
                wheelMax, g.TopRow());
    std::printf("              memory now %6.1f MB, peak %6.1f MB\n", statusKb("VmRSS:") / 1024.0,
                statusKb("VmHWM:") / 1024.0);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    if (qgetenv("QT_QPA_PLATFORM").isEmpty()) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    std::vector<std::vector<std::string>> pool;
    for (int i = 0; i < 4096; ++i) pool.push_back(sourceRow(i));
    std::printf("baseline memory %.1f MB\n", statusKb("VmRSS:") / 1024.0);
    for (int n : {1000, 10000, 100000}) run(n, pool);
    return 0;
}
