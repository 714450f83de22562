// The grid's compact text storage: every change against a plain table of
// strings, and the memory it keeps for refills and the date sort's extra column.
#include <gtest/gtest.h>

#include <algorithm>
#include <numeric>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "platform/flexgrid.h"
#include "platform/textrows.h"

using namespace qv;

namespace {

using Table = std::vector<std::vector<std::string>>;

void expectSame(const TextRows& t, const Table& model, int step) {
    ASSERT_EQ(t.rows(), model.size()) << "step " << step;
    for (std::size_t r = 0; r < model.size(); ++r) {
        ASSERT_EQ(model[r].size(), t.cols());
        for (std::size_t c = 0; c < t.cols(); ++c)
            ASSERT_EQ(t.at(r, c), model[r][c]) << "step " << step << " cell " << r << "," << c;
    }
}

std::vector<std::string_view> views(const std::vector<std::string>& texts) {
    return {texts.begin(), texts.end()};
}

}  // namespace

TEST(TextRows, EveryChangeMatchesAPlainTable) {
    std::mt19937 rng(12345);
    auto pick = [&](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
    // Lengths around the spare room, and long ones that move rows and leave space behind.
    auto text = [&] {
        static const std::size_t lengths[] = {0, 1, 3, 4, 5, 11, 12, 13, 40, 300};
        const std::size_t n = lengths[pick(std::size(lengths))];
        std::string s(n, 'a');
        for (char& ch : s) ch = static_cast<char>('a' + pick(26));
        return s;
    };
    TextRows t(3);
    Table model;
    for (int step = 0; step < 6000; ++step) {
        const std::size_t rows = model.size(), cols = t.cols();
        switch (rows == 0 ? 0 : pick(10)) {
            case 0:
            case 1: {   // a fill's row, sometimes short of or beyond the columns
                std::vector<std::string> row;
                for (std::size_t c = 0, n = pick(cols + 2); c < n; ++c) row.push_back(text());
                t.append(views(row));
                row.resize(cols);
                model.push_back(row);
                break;
            }
            case 2: {
                const std::size_t n = pick(3);
                t.appendEmpty(n);
                model.resize(rows + n, std::vector<std::string>(cols));
                break;
            }
            case 3:
            case 4:
            case 5: {
                const std::size_t r = pick(rows), c = pick(cols);
                std::string s = text();
                t.set(r, c, s);
                model[r][c] = s;
                break;
            }
            case 6: {   // a text taken from the same row, or another one
                const std::size_t r = pick(rows), c = pick(cols), from = pick(rows), fc = pick(cols);
                const std::string expected = model[from][fc];
                t.set(r, c, t.at(from, fc));
                model[r][c] = expected;
                break;
            }
            case 7: {
                const std::size_t n = std::max<std::size_t>(1, cols + pick(3) - 1);
                t.setCols(n);
                for (auto& row : model) row.resize(n);
                break;
            }
            case 8:
                if (pick(4) == 0) {
                    const std::size_t n = pick(rows + 1);
                    t.truncate(n);
                    model.resize(n);
                } else {
                    const std::size_t r = pick(rows);
                    t.erase(r);
                    model.erase(model.begin() + static_cast<std::ptrdiff_t>(r));
                }
                break;
            default: {   // a sort of the rows after the first
                if (rows < 2) break;
                std::vector<int> from(rows - 1);
                std::iota(from.begin(), from.end(), 1);
                std::shuffle(from.begin(), from.end(), rng);
                t.reorder(1, from);
                Table sorted{model[0]};
                for (int f : from) sorted.push_back(model[static_cast<std::size_t>(f)]);
                model.swap(sorted);
                break;
            }
        }
        expectSame(t, model, step);
        if (HasFatalFailure()) return;
    }
}

TEST(TextRows, KeepsItsMemoryForRefillsAndTheExtraSortColumn) {
    TextRows t(19);
    std::vector<std::string> row(19, "Banca Popolare di Sondrio");
    auto fill = [&] {
        t.truncate(1);
        for (int r = 0; r < 20000; ++r) {
            row[0] = std::to_string(r);
            t.append(views(row));
        }
    };
    t.appendEmpty(1);
    fill();
    const std::size_t reserved = t.reservedWords();
    // About the texts themselves: their bytes, one offset each and a little per row.
    EXPECT_LT(reserved * 4, 20000u * (19 * (25 + 4) + 32) * 11 / 10);
    fill();
    EXPECT_EQ(t.reservedWords(), reserved);   // the refill wrote into the same chunks

    // The date sort's hidden key: one more column of day numbers, then gone again.
    t.setCols(20);
    for (std::size_t r = 1; r < t.rows(); ++r) t.set(r, 19, std::to_string(14000 + r % 5000));
    EXPECT_EQ(t.at(1, 18), "Banca Popolare di Sondrio");
    EXPECT_EQ(t.at(1, 19), "14001");
    t.setCols(19);
    EXPECT_EQ(t.reservedWords(), reserved);   // no row had to move

    // Rows edited one by one beyond their room: the space they leave is reclaimed.
    const std::string longer(60, 'x');
    for (int pass = 0; pass < 4; ++pass)
        for (std::size_t r = 1; r < t.rows(); ++r) t.set(r, static_cast<std::size_t>(pass), longer);
    EXPECT_LT(t.reservedWords(), 3 * t.liveWords());
    std::size_t wrong = 0;
    for (std::size_t r = 1; r < t.rows(); ++r)
        for (std::size_t c = 0; c < 19; ++c) wrong += t.at(r, c) != (c < 4 ? longer : row[1]);
    EXPECT_EQ(wrong, 0u);
}

TEST(FlexGridFill, AppendRowWritesOneWholeRow) {
    struct GridForm : Form {
        GridForm() : Form("frmGrid") {}
        FlexGrid& grid = addAt<FlexGrid>(0, 0, 6000, 3000, "MSFlexGrid1");
    } f;
    FlexGrid& g = f.grid;
    g.setRows(1);
    g.setCols(3);
    const std::vector<std::string_view> full = {"1", "Rossi", "Roma", "ignored"}, part = {"2"};
    g.appendRow(full);
    g.appendRow(part);
    EXPECT_EQ(g.Rows(), 3);
    EXPECT_EQ(g.TextMatrix(1, 1), "Rossi");
    EXPECT_EQ(g.TextMatrix(1, 2), "Roma");
    EXPECT_EQ(g.TextMatrix(2, 0), "2");
    EXPECT_EQ(g.TextMatrix(2, 2), "");
    g.setRows(1);   // a refill starts from the header row
    g.appendRow(part);
    EXPECT_EQ(g.Rows(), 2);
    EXPECT_EQ(g.TextMatrix(1, 1), "");
}
