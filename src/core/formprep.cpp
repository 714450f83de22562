#include "core/formprep.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>

#include "core/translation.h"
#include "platform/environment.h"
#include "platform/flexgrid.h"
#include "platform/procedure.h"
#include "platform/runtime.h"

namespace qv {

namespace {

const Owner kGeneral = Owner::module("basGeneral");
const Owner kGeneralCustom = Owner::module("basGeneralCustom");

double roundHalfEven(double x) {
    const double down = std::floor(x);
    const double frac = x - down;
    if (frac > 0.5) return down + 1;
    if (frac < 0.5) return down;
    return std::fmod(down, 2.0) == 0.0 ? down : down + 1;
}

// Plain Italian captions that get their access key.
constexpr std::array<std::pair<const char*, const char*>, 10> kAccessKeys{{
    {"Stampa", "S&tampa"},
    {"Esci", "Es&ci"},
    {"Elimina", "&Elimina"},
    {"Aggiungi", "&Aggiungi"},
    {"Seleziona", "&Seleziona"},
    {"Gira", "&Gira"},
    {"Versa", "&Versa"},
    {"Ok", "&Ok"},
    {"Annulla", "A&nnulla"},
    {"Reimposta", "&Reimposta"},
}};

// ---- date texts

struct Groups {
    std::array<int, 3> value{};
    std::array<int, 3> digits{};
    std::array<char, 2> sep{};
    std::size_t end = 0;
};

// Three digit groups from the start of the text, joined by one of "/-.".
std::optional<Groups> readGroups(const std::string& s) {
    Groups g;
    std::size_t i = 0;
    for (int k = 0; k < 3; ++k) {
        if (k > 0) {
            if (i >= s.size() || (s[i] != '/' && s[i] != '-' && s[i] != '.')) return std::nullopt;
            g.sep[static_cast<std::size_t>(k - 1)] = s[i++];
        }
        const std::size_t start = i;
        long v = 0;
        while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && i - start < 4)
            v = v * 10 + (s[i++] - '0');
        if (i == start || (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])))) return std::nullopt;
        g.value[static_cast<std::size_t>(k)] = static_cast<int>(v);
        g.digits[static_cast<std::size_t>(k)] = static_cast<int>(i - start);
    }
    g.end = i;
    return g;
}

bool readNumber(const std::string& s, std::size_t& i, int minDigits, int maxDigits, int limit) {
    const std::size_t start = i;
    int v = 0;
    while (i < s.size() && std::isdigit(static_cast<unsigned char>(s[i])) && static_cast<int>(i - start) < maxDigits)
        v = v * 10 + (s[i++] - '0');
    return static_cast<int>(i - start) >= minDigits && v < limit;
}

// Nothing, or a time of day "H:MM[:SS]" after blanks (or after "T" in ISO form).
bool restIsTime(const std::string& s, std::size_t i, bool iso) {
    if (i == s.size()) return true;
    if (iso && s[i] == 'T') {
        ++i;
    } else {
        if (s[i] != ' ') return false;
        while (i < s.size() && s[i] == ' ') ++i;
    }
    if (!readNumber(s, i, 1, 2, 24) || i >= s.size() || s[i++] != ':' || !readNumber(s, i, 2, 2, 60)) return false;
    if (i < s.size() && s[i] == ':') {
        ++i;
        if (!readNumber(s, i, 2, 2, 60)) return false;
    }
    return i == s.size();
}

int fullYear(int value, int digits) {
    if (digits <= 2) return value < 30 ? 2000 + value : 1900 + value;
    return value;
}

bool isValidDate(int y, int m, int d) {
    if (y < 100 || y > 9999 || m < 1 || m > 12 || d < 1) return false;
    static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    const bool leap = (y % 4 == 0 && y % 100 != 0) || y % 400 == 0;
    return d <= kDays[m - 1] + (m == 2 && leap ? 1 : 0);
}

long daysFromCivil(int y, int m, int d) {
    y -= m <= 2;
    const long era = (y >= 0 ? y : y - 399) / 400;
    const long yoe = y - era * 400;
    const long doy = (153L * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const long doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

std::optional<long> dayNumber(int y, int m, int d) {
    if (!isValidDate(y, m, d)) return std::nullopt;
    return daysFromCivil(y, m, d) - daysFromCivil(1899, 12, 30);
}

// The order of day, month and year in the locale's short date ('d', 'm', 'y'),
// learnt from how it writes a date whose three numbers differ.
std::optional<std::array<char, 3>> localeOrder() {
    const std::string sample = env::shortDate({2033, 11, 22, 0, 0, 0});
    std::array<char, 3> order{};
    int found = 0;
    for (std::size_t i = 0; i < sample.size();) {
        if (!std::isdigit(static_cast<unsigned char>(sample[i]))) {
            ++i;
            continue;
        }
        int v = 0;
        while (i < sample.size() && std::isdigit(static_cast<unsigned char>(sample[i]))) v = v * 10 + (sample[i++] - '0');
        if (found == 3) return std::nullopt;
        order[static_cast<std::size_t>(found++)] = v == 22 ? 'd' : v == 11 ? 'm' : (v == 2033 || v == 33) ? 'y' : '?';
    }
    if (found != 3) return std::nullopt;
    for (char want : {'d', 'm', 'y'})
        if (std::count(order.begin(), order.end(), want) != 1) return std::nullopt;
    return order;
}

std::optional<long> dayNumberInOrder(const Groups& g, const std::array<char, 3>& order) {
    int y = 0, m = 0, d = 0;
    for (std::size_t k = 0; k < 3; ++k) {
        switch (order[k]) {
            case 'y': y = fullYear(g.value[k], g.digits[k]); break;
            case 'm': m = g.value[k]; break;
            default: d = g.value[k]; break;
        }
    }
    return dayNumber(y, m, d);
}

}  // namespace

int centerOffset(double screenSize, double windowSize) {
    return static_cast<int>(roundHalfEven(screenSize - windowSize)) / 2;
}

void CenterForm(Form& form) {
    runProc(kGeneral, "CenterForm", [&] {
        form.setTop(centerOffset(screen::heightTwips(), form.Height()));
        form.setLeft(centerOffset(screen::widthTwips(), form.Width()));
    });
}

void DisattivaTabstop(const std::vector<Control*>& controls) {
    runProc(kGeneral, "DisattivaTabstop", [&] {
        for (Control* c : controls) {
            switch (c->Kind()) {
                case ControlKind::Browser:
                case ControlKind::Label:
                    c->setTabStop(false);
                    break;
                case ControlKind::ComboBox:
                    static_cast<ComboBox*>(c)->setDropDownList(true);
                    break;
                case ControlKind::SkinForm: {
                    auto* frame = static_cast<SkinForm*>(c);
                    frame->setDrawGradientForm(true);
                    // The main window is the first one opened and stays open.
                    const auto& open = Form::openWindows();
                    if (!open.empty()) frame->setIconFrom(*open.front());
                    break;
                }
                default:
                    break;
            }
        }
        for (Control* c : controls) {
            if (c->Kind() != ControlKind::Button) continue;
            const std::string caption = c->Caption();
            for (const auto& [plain, withKey] : kAccessKeys) {
                if (caption == plain) {
                    c->setCaption(withKey);
                    break;
                }
            }
        }
        if (isEnglish()) doEnglish(controls);
    });
}

std::string PutSpacesInLabels(const std::string& text) {
    return runProc(kGeneral, "PutSpacesInLabels", [&] {
        const auto upperish = [](char ch) {
            const auto code = static_cast<unsigned char>(ch);
            return code >= 65 && code <= 96;
        };
        std::string out;
        out.reserve(text.size() + text.size() / 2);
        for (std::size_t i = 0; i < text.size(); ++i) {
            if (i > 0 && upperish(text[i]) && !upperish(text[i - 1])) out += ' ';
            out += text[i];
        }
        screen::setMousePointer(0);
        return out;
    });
}

std::optional<long> dayNumberOfText(const std::string& raw) {
    const std::string text = trim(raw);
    const auto g = readGroups(text);
    if (!g) return std::nullopt;
    if (g->digits[0] == 4 && g->sep[0] == '-' && g->sep[1] == '-') {
        if (!restIsTime(text, g->end, true)) return std::nullopt;
        return dayNumber(g->value[0], g->value[1], g->value[2]);
    }
    if (!restIsTime(text, g->end, false)) return std::nullopt;
    if (const auto order = localeOrder())
        if (const auto n = dayNumberInOrder(*g, *order)) return n;
    return dayNumberInOrder(*g, {'d', 'm', 'y'});
}

void sortGridByDate(FlexGrid& grid, int dateCol, int sortSetting) {
    runProc(kGeneralCustom, "sortGridByDate", [&] {
        // Every date is read before the grid changes, so a cell that is not a
        // date leaves the grid exactly as it was.
        std::vector<long> days;
        const int rows = grid.Rows();
        for (int r = 1; r < rows; ++r) {
            const auto n = dayNumberOfText(grid.TextMatrix(r, dateCol));
            if (!n) throw RuntimeError(kErrTypeMismatch);
            days.push_back(*n);
        }
        const int cols = grid.Cols();
        const int col = grid.Col();
        grid.setCols(cols + 1);
        try {
            grid.setColWidth(cols, 0);
            for (int r = 1; r < rows; ++r)
                grid.setTextMatrix(r, cols, std::to_string(days[static_cast<std::size_t>(r - 1)]));
            grid.setCol(cols);
            grid.setSort(sortSetting);
        } catch (const RuntimeError&) {
            grid.setCols(cols);
            grid.setCol(col);
            throw;
        }
        grid.setCols(cols);
        grid.setCol(col);
    });
}

}  // namespace qv
