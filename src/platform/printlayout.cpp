#include "platform/printlayout.h"

#include <QFile>
#include <QFontMetricsF>
#include <QImage>
#include <QPageRanges>
#include <QPainter>
#include <QPrinter>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <filesystem>

namespace qv::print {

namespace {

// CSS pixels are 1/96 inch.
constexpr double kPx = PageLayout::kDotsPerInch / 96;
constexpr double kBorder = kPx, kPadding = 3 * kPx;
constexpr double kCellExtra = 2 * kPadding + kBorder;
constexpr double kDefaultPoints = 12;   // a browser's "medium"
constexpr double kFit = 0.01;           // rounding slack when a text is tried against a width
const QColor kHeaderBack(0x33, 0x66, 0x99);

// Fonts are measured as the printer draws them: at the layout's resolution.
const QPaintDevice& measuringDevice() {
    static const QImage image = [] {
        QImage i(1, 1, QImage::Format_Mono);
        const int dpm = static_cast<int>(std::lround(PageLayout::kDotsPerInch / 0.0254));
        i.setDotsPerMeterX(dpm);
        i.setDotsPerMeterY(dpm);
        return i;
    }();
    return image;
}

// A "<" opens a tag only before a name, "/" or "!"; otherwise it is text.
qsizetype nextTag(QStringView page, qsizetype from) {
    for (qsizetype at = page.indexOf(u'<', from); at >= 0; at = page.indexOf(u'<', at + 1)) {
        const QChar next = at + 1 < page.size() ? page[at + 1] : QChar();
        if (next.isLetter() || next == u'/' || next == u'!') return at;
    }
    return page.size();
}

bool isBlank(QChar c) { return c == u' ' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f'; }

// An entity at text[at] ('&'), decoded into out; returns the characters read.
qsizetype decodeEntity(QStringView text, qsizetype at, QString& out) {
    const qsizetype semi = text.indexOf(u';', at + 1);
    if (semi < 0 || semi - at > 10) {
        out += u'&';
        return 1;
    }
    const QStringView name = text.sliced(at + 1, semi - at - 1);
    static const struct { const char16_t* name; char16_t ch; } named[] = {
        {u"lt", u'<'}, {u"gt", u'>'}, {u"amp", u'&'}, {u"quot", u'"'}, {u"apos", u'\''}, {u"nbsp", u'\u00a0'},
        {u"euro", u'\u20ac'}};
    for (const auto& e : named)
        if (name.compare(QStringView(e.name), Qt::CaseInsensitive) == 0) {
            out += QChar(e.ch);
            return semi - at + 1;
        }
    if (name.startsWith(u'#')) {
        bool ok = false;
        const uint code = name.startsWith(u"#x", Qt::CaseInsensitive) ? name.sliced(2).toUInt(&ok, 16)
                                                                       : name.sliced(1).toUInt(&ok, 10);
        if (ok && code > 0 && code <= 0x10FFFF) {
            const char32_t c = code;
            out += QString::fromUcs4(&c, 1);
            return semi - at + 1;
        }
    }
    out += u'&';   // not an entity: shown as written
    return 1;
}

// The text with entities decoded and every run of blanks made one blank;
// pendingBlank carries a blank across pieces of one cell or paragraph.
void appendCollapsed(QString& out, QStringView raw, bool& pendingBlank) {
    for (qsizetype i = 0; i < raw.size();) {
        const QChar c = raw[i];
        if (isBlank(c)) {
            pendingBlank = true;
            ++i;
            continue;
        }
        if (pendingBlank && !out.isEmpty() && !out.endsWith(u'\n')) out += u' ';
        pendingBlank = false;
        if (c == u'&')
            i += decodeEntity(raw, i, out);
        else {
            out += c;
            ++i;
        }
    }
}

// Single blanks between words, none at the ends, no entity: usable as it stands.
bool isClean(QStringView raw) {
    if (raw.isEmpty() || isBlank(raw.front()) || isBlank(raw.back())) return false;
    bool blank = false;
    for (const QChar c : raw) {
        if (c == u'&' || c == u'\t' || c == u'\n' || c == u'\r' || c == u'\f') return false;
        const bool b = c == u' ';
        if (b && blank) return false;
        blank = b;
    }
    return true;
}

double pointsIn(const QString& declarations, double fallback) {
    static const QRegularExpression size(QStringLiteral("font-size\\s*:\\s*([0-9.]+)\\s*pt"),
                                         QRegularExpression::CaseInsensitiveOption);
    const auto m = size.match(declarations);
    bool ok = false;
    const double v = m.hasMatch() ? m.captured(1).toDouble(&ok) : 0;
    return ok && v > 0 ? v : fallback;
}

}  // namespace

int PageLayout::fontFor(double points, bool bold) {
    for (std::size_t i = 0; i < fonts_.size(); ++i)
        if (fonts_[i].points == points && fonts_[i].font.bold() == bold) return static_cast<int>(i);
    Font f;
    f.font = QFont(QStringLiteral("Arial"));
    f.font.setPointSizeF(points);
    f.font.setBold(bold);
    // Latin text needs no shaping; without it measuring and drawing are several times faster.
    f.font.setStyleStrategy(QFont::PreferNoShaping);
    f.points = points;
    const QFontMetricsF m(f.font, &measuringDevice());
    f.ascent = m.ascent();
    f.lineHeight = m.height();
    f.space = m.horizontalAdvance(u' ');
    fonts_.push_back(std::move(f));
    return static_cast<int>(fonts_.size() - 1);
}

float PageLayout::widthOf(Font& f, QStringView word) {
    // A key over the text itself: no copy unless the word is new.
    const QString key = QString::fromRawData(word.data(), word.size());
    const auto it = f.widths.constFind(key);
    if (it != f.widths.cend()) return *it;
    const QFontMetricsF m(f.font, &measuringDevice());
    const QString owned = word.toString();
    const float w = static_cast<float>(m.horizontalAdvance(owned));
    f.widths.insert(owned, w);
    return w;
}

QStringView PageLayout::cellText(const Cell& c) const {
    const QString& buffer = (c.len & kExtra) ? extra_ : text_;
    return QStringView(buffer).sliced(c.off, c.len & kLenMask);
}

void PageLayout::measureCell(Cell& c) {
    Font& f = fonts_[(c.len & kHeader) ? thFont_ : tdFont_];
    const QStringView t = cellText(c);
    double longest = 0, line = 0, widest = 0;
    qsizetype start = 0;
    bool first = true;
    for (qsizetype i = 0; i <= t.size(); ++i) {
        if (i < t.size() && t[i] != u' ' && t[i] != u'\n') continue;
        const double w = widthOf(f, t.sliced(start, i - start));
        longest = std::max(longest, w);
        line += (first ? 0 : f.space) + w;
        first = false;
        if (i == t.size() || t[i] == u'\n') {
            widest = std::max(widest, line);
            line = 0;
            first = true;
        }
        start = i + 1;
    }
    c.minW = static_cast<float>(longest);
    c.maxW = static_cast<float>(widest);
}

// Greedy wrapping at blanks, as a browser's cell does: fn(line text, its width).
template <class Fn> void PageLayout::forEachLine(const Cell& c, double width, Fn&& fn) const {
    const Font& f = fonts_[(c.len & kHeader) ? thFont_ : tdFont_];
    const QStringView t = cellText(c);
    if (t.isEmpty()) return;
    qsizetype lineStart = 0, wordStart = 0, lineEnd = 0;
    double lineW = -1;   // -1: nothing on the line yet
    for (qsizetype i = 0; i <= t.size(); ++i) {
        if (i < t.size() && t[i] != u' ' && t[i] != u'\n') continue;
        const QStringView word = t.sliced(wordStart, i - wordStart);
        const auto it = f.widths.constFind(QString::fromRawData(word.data(), word.size()));
        const double w = it != f.widths.cend() ? *it : 0;
        if (lineW >= 0 && lineW + f.space + w > width + kFit) {
            fn(t.sliced(lineStart, lineEnd - lineStart), lineW);
            lineStart = wordStart;
            lineW = -1;
        }
        lineW = lineW < 0 ? w : lineW + f.space + w;
        lineEnd = i;
        if (i < t.size() && t[i] == u'\n') {
            fn(t.sliced(lineStart, lineEnd - lineStart), lineW);
            lineStart = i + 1;
            lineW = -1;
        }
        wordStart = i + 1;
    }
    if (lineW >= 0) fn(t.sliced(lineStart, lineEnd - lineStart), lineW);
}

int PageLayout::lineCount(const Cell& c, double width) const {
    if ((c.len & kLenMask) == 0) return 0;
    if (c.maxW <= width + kFit && !(c.len & kExtra)) return 1;
    int n = 0;
    forEachLine(c, width, [&n](QStringView, double) { ++n; });
    return n;
}

bool PageLayout::load(const std::string& html, const Progress& progress) {
    *this = PageLayout();
    text_ = QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size()));
    const QStringView page(text_);
    const qsizetype n = page.size();

    std::vector<double> sizes{kDefaultPoints};
    int boldDepth = 0;
    int openText = -1;       // the paragraph being written, in texts_
    bool textBlank = false, textBreak = false;
    int openTable = -1, tableBlock = -1, fosterText = -1, nested = 0;
    bool rowOpen = false, cellOpen = false, cellHeader = false, cellDirect = false, cellBlank = false;
    qsizetype cellRawStart = 0, cellRawLen = 0;
    int cellRuns = 0;
    QString cellBuffer;
    double thPoints = kDefaultPoints, tdPoints = kDefaultPoints;
    thFont_ = fontFor(thPoints, true);
    tdFont_ = fontFor(tdPoints, false);

    auto endParagraph = [&](double gap) {
        if (openText < 0 && !blocks_.empty() && !blocks_.back().table) openText = blocks_.back().index;
        if (openText < 0 && gap > 0) {
            texts_.emplace_back();
            blocks_.push_back({false, static_cast<int>(texts_.size() - 1)});
            openText = static_cast<int>(texts_.size() - 1);
        }
        if (openText >= 0) texts_[openText].gapAfter = std::max(texts_[openText].gapAfter, gap);
        openText = -1;
        textBlank = textBreak = false;
    };
    auto addWords = [&](Text& t, QStringView raw) {
        QString decoded;
        bool blank = false;
        appendCollapsed(decoded, raw, blank);
        const bool leading = !raw.isEmpty() && isBlank(raw.front());
        const int font = fontFor(sizes.back(), boldDepth > 0);
        qsizetype start = 0;
        for (qsizetype i = 0; i <= decoded.size(); ++i) {
            if (i < decoded.size() && decoded[i] != u' ') continue;
            if (i > start) {
                const auto off = static_cast<std::uint32_t>(extra_.size());
                extra_ += QStringView(decoded).sliced(start, i - start);
                const bool spaceBefore = start > 0 || leading || textBlank;
                t.words.push_back({off, static_cast<std::uint32_t>(i - start), static_cast<std::uint16_t>(font),
                                   spaceBefore, textBreak, 0});
                textBlank = textBreak = false;
            }
            start = i + 1;
        }
        if (blank) textBlank = true;
    };
    auto closeCell = [&] {
        if (!cellOpen) return;
        Cell c{};
        if (cellDirect && cellRuns == 1) {
            c.off = static_cast<std::uint32_t>(cellRawStart);
            c.len = static_cast<std::uint32_t>(cellRawLen);
        } else {
            while (cellBuffer.endsWith(u'\n')) cellBuffer.chop(1);
            c.off = static_cast<std::uint32_t>(extra_.size());
            c.len = static_cast<std::uint32_t>(cellBuffer.size()) | (cellBuffer.isEmpty() ? 0 : kExtra);
            extra_ += cellBuffer;
        }
        if (cellHeader) c.len |= kHeader;
        measureCell(c);
        cells_.push_back(c);
        cellOpen = false;
    };
    auto cellToBuffer = [&] {   // the cell can no longer point into the page
        if (!cellDirect) return;
        cellDirect = false;
        cellBuffer.clear();
        cellBlank = false;
        if (cellRuns == 1) appendCollapsed(cellBuffer, page.sliced(cellRawStart, cellRawLen), cellBlank);
    };
    auto closeRow = [&] {
        closeCell();
        if (!rowOpen) return;
        rowOpen = false;
        Row& r = rows_.back();
        r.cells = static_cast<std::uint32_t>(cells_.size() - r.firstCell);
        if (r.cells == 0) rows_.pop_back();   // a row without cells takes no room
        tables_[openTable].rowEnd = static_cast<std::uint32_t>(rows_.size());
    };
    auto openRow = [&] {
        closeRow();
        rows_.push_back({static_cast<std::uint32_t>(cells_.size()), 0, 0});
        rowOpen = true;
    };

    qsizetype nextReport = 1 << 20;
    for (qsizetype i = 0; i < n;) {
        if (progress && i >= nextReport) {
            nextReport = i + (1 << 20);
            if (!progress(static_cast<double>(i) / n)) return false;
        }
        if (page[i] != u'<' || nextTag(page, i) != i) {
            const qsizetype end = nextTag(page, i + 1);
            const QStringView raw = page.sliced(i, end - i);
            if (cellOpen) {
                ++cellRuns;
                if (cellRuns == 1 && isClean(raw)) {
                    cellDirect = true;
                    cellRawStart = i;
                    cellRawLen = raw.size();
                } else {
                    if (cellRuns == 1) cellDirect = false, cellBuffer.clear(), cellBlank = false;
                    cellToBuffer();
                    appendCollapsed(cellBuffer, raw, cellBlank);
                }
            } else if (openTable >= 0) {
                // Text between cells goes before its table, as a browser puts it.
                if (!raw.trimmed().isEmpty()) {
                    if (fosterText < 0) {
                        texts_.emplace_back();
                        fosterText = static_cast<int>(texts_.size() - 1);
                        blocks_.insert(blocks_.begin() + tableBlock, {false, fosterText});
                        ++tableBlock;
                    }
                    addWords(texts_[fosterText], raw);
                }
            } else {
                if (openText < 0) {
                    if (raw.trimmed().isEmpty()) {
                        i = end;
                        continue;
                    }
                    texts_.emplace_back();
                    openText = static_cast<int>(texts_.size() - 1);
                    blocks_.push_back({false, openText});
                }
                addWords(texts_[openText], raw);
            }
            i = end;
            continue;
        }
        if (page.sliced(i).startsWith(u"<!--")) {
            const qsizetype end = page.indexOf(u"-->", i + 4);
            i = end < 0 ? n : end + 3;
            continue;
        }
        qsizetype close = page.indexOf(u'>', i + 1);
        if (close < 0) close = n;
        const QStringView tag = page.sliced(i + 1, close - i - 1);
        i = std::min(n, close + 1);
        const bool ending = tag.startsWith(u'/');
        qsizetype nameEnd = ending ? 1 : 0;
        while (nameEnd < tag.size() && (tag[nameEnd].isLetterOrNumber() || tag[nameEnd] == u'!')) ++nameEnd;
        const QStringView tagName = tag.sliced(ending ? 1 : 0, nameEnd - (ending ? 1 : 0));
        // Tags are compared in place: the page has a few tags per cell.
        const auto is = [tagName](QStringView want) { return tagName.compare(want, Qt::CaseInsensitive) == 0; };
        const QStringView attributes = tag.sliced(nameEnd);

        if (!ending && (is(u"style") || is(u"script") || is(u"title"))) {
            const qsizetype end = page.indexOf(QStringLiteral("</") + tagName.toString(), i, Qt::CaseInsensitive);
            const QString content = page.sliced(i, (end < 0 ? n : end) - i).toString();
            i = end < 0 ? n : std::min(n, page.indexOf(u'>', end) + 1);
            if (i <= 0) i = n;
            if (!is(u"style")) continue;
            static const QRegularExpression rule(QStringLiteral("([A-Za-z0-9_]+)\\s*\\{([^}]*)\\}"));
            for (auto it = rule.globalMatch(content); it.hasNext();) {
                const auto m = it.next();
                const QString selector = m.captured(1).toLower();
                if (selector == u"th") thPoints = pointsIn(m.captured(2), thPoints);
                if (selector == u"td") tdPoints = pointsIn(m.captured(2), tdPoints);
            }
            thFont_ = fontFor(thPoints, true);
            tdFont_ = fontFor(tdPoints, false);
            continue;
        }
        if (nested > 0 || (cellOpen && is(u"table") && !ending)) {
            // A table inside a cell: its texts stay in the cell.
            if (is(u"table")) nested += ending ? -1 : 1;
            else if (cellOpen && (is(u"td") || is(u"th") || is(u"tr") || is(u"br"))) {
                cellToBuffer();
                cellBlank = true;
            }
            continue;
        }
        if (is(u"font")) {
            if (ending) {
                if (sizes.size() > 1) sizes.pop_back();
            } else {
                const QString style = attributes.toString();
                sizes.push_back(pointsIn(style, sizes.back()));
            }
        } else if (is(u"b") || is(u"strong")) {
            boldDepth = std::max(0, boldDepth + (ending ? -1 : 1));
        } else if (is(u"br")) {
            if (cellOpen) {
                cellToBuffer();
                cellBuffer += u'\n';
                cellBlank = false;
                ++cellRuns;
            } else if (openTable < 0) {
                textBreak = true;
            }
        } else if (is(u"p") || is(u"div")) {
            if (openTable < 0) endParagraph(is(u"p") ? sizes.back() * kDotsPerInch / 72 : 0);
        } else if (is(u"table")) {
            if (!ending && openTable < 0) {
                endParagraph(0);
                tables_.emplace_back();
                openTable = static_cast<int>(tables_.size() - 1);
                tables_[openTable].firstRow = tables_[openTable].rowEnd = static_cast<std::uint32_t>(rows_.size());
                blocks_.push_back({true, openTable});
                tableBlock = static_cast<int>(blocks_.size() - 1);
                fosterText = -1;
            } else if (ending && openTable >= 0) {
                closeRow();
                openTable = -1;
            }
        } else if (openTable >= 0 && is(u"tr")) {
            if (ending) closeRow();
            else openRow();
        } else if (openTable >= 0 && (is(u"td") || is(u"th"))) {
            if (ending) {
                closeCell();
            } else {
                closeCell();
                if (!rowOpen) openRow();
                cellOpen = true;
                cellHeader = is(u"th");
                cellDirect = false;
                cellRuns = 0;
                cellBuffer.clear();
                cellBlank = false;
            }
        }
        // Any other tag is left out; its text is kept.
    }
    if (openTable >= 0) closeRow();

    for (Table& t : tables_) {
        for (std::uint32_t r = t.firstRow; r < t.rowEnd; ++r) {
            const Row& row = rows_[r];
            if (t.colMin.size() < row.cells) {
                t.colMin.resize(row.cells, 0);
                t.colMax.resize(row.cells, 0);
            }
            for (std::uint32_t c = 0; c < row.cells; ++c) {
                const Cell& cell = cells_[row.firstCell + c];
                t.colMin[c] = std::max(t.colMin[c], cell.minW);
                t.colMax[c] = std::max(t.colMax[c], cell.maxW);
            }
        }
    }
    for (Text& t : texts_)
        for (Word& w : t.words) w.width = widthOf(fonts_[w.font], QStringView(extra_).sliced(w.off, w.len));
    return !progress || progress(1);
}

void PageLayout::layOutText(Text& t, double width) {
    t.lines.clear();
    double x = 0;
    for (std::uint32_t i = 0; i < t.words.size(); ++i) {
        const Word& w = t.words[i];
        const Font& f = fonts_[w.font];
        const double advance = (w.spaceBefore ? f.space : 0) + w.width;
        const bool wrap = !t.lines.empty() && x > 0 && w.spaceBefore && x + advance > width + kFit;
        if (t.lines.empty() || w.lineBreak || wrap) {
            t.lines.push_back({i, i, 0, 0});
            x = 0;
        }
        Line& line = t.lines.back();
        line.wordEnd = i + 1;
        line.ascent = std::max<float>(line.ascent, f.ascent);
        line.height = std::max<float>(line.height, f.lineHeight);
        x += (x > 0 ? advance : w.width);
    }
}

bool PageLayout::paginate(double width, double height, const Progress& progress) {
    if (width == laidWidth_ && height == laidHeight_) return true;
    laidWidth_ = laidHeight_ = -1;
    pages_.clear();

    // The narrowest the page can be: its widest table at its columns' longest
    // words, its longest unbreakable text.
    double narrowest = 0;
    for (const Table& t : tables_) {
        double w = kBorder;
        for (float m : t.colMin) w += m + kCellExtra;
        narrowest = std::max(narrowest, w);
    }
    for (const Text& t : texts_) {
        double unit = 0;
        for (const Word& w : t.words) {
            unit = w.spaceBefore || w.lineBreak ? w.width : unit + w.width;
            narrowest = std::max(narrowest, unit);
        }
    }
    if (width <= 0 || height <= 0) return false;   // a paper with no room inside its margins
    // A page drawn smaller anyway is drawn a little smaller still, so that the
    // room it gains keeps short cells (amounts, dates) on one line.
    constexpr double kRoomWhenScaled = 1.15;
    scale_ = narrowest > width ? width / (narrowest * kRoomWhenScaled) : 1;
    pageWidth_ = width / scale_;
    pageHeight_ = height / scale_;

    std::size_t rowsDone = 0;
    for (Table& t : tables_) {
        const std::size_t cols = t.colMin.size();
        double sumMin = kBorder, sumMax = kBorder;
        for (std::size_t c = 0; c < cols; ++c) {
            sumMin += t.colMin[c] + kCellExtra;
            sumMax += t.colMax[c] + kCellExtra;
        }
        // As wide as the contents need; when that is too wide, every column gets
        // its longest word, and the room left goes first to the columns that want
        // least, so short cells (amounts, dates, names) stay on one line and only
        // the long texts wrap.
        std::vector<double> width(cols);
        for (std::size_t c = 0; c < cols; ++c) width[c] = t.colMin[c];
        if (sumMax <= pageWidth_) {
            for (std::size_t c = 0; c < cols; ++c) width[c] = t.colMax[c];
        } else if (pageWidth_ > sumMin) {
            std::vector<std::size_t> order(cols);
            for (std::size_t c = 0; c < cols; ++c) order[c] = c;
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                return t.colMax[a] - t.colMin[a] < t.colMax[b] - t.colMin[b];
            });
            double room = pageWidth_ - sumMin;
            for (std::size_t i = 0; i < cols; ++i) {
                const std::size_t c = order[i];
                const double give = std::min<double>(t.colMax[c] - t.colMin[c], room / double(cols - i));
                width[c] += give;
                room -= give;
            }
        }
        t.colX.assign(cols + 1, kBorder / 2);
        for (std::size_t c = 0; c < cols; ++c) t.colX[c + 1] = t.colX[c] + width[c] + kCellExtra;
        for (std::uint32_t r = t.firstRow; r < t.rowEnd; ++r) {
            Row& row = rows_[r];
            double content = 0;
            for (std::uint32_t c = 0; c < row.cells; ++c) {
                const Cell& cell = cells_[row.firstCell + c];
                const int lines = lineCount(cell, t.colX[c + 1] - t.colX[c] - kCellExtra);
                content = std::max(content, lines * fonts_[(cell.len & kHeader) ? thFont_ : tdFont_].lineHeight);
            }
            row.height = static_cast<float>(content + 2 * kPadding + kBorder);
            if (progress && (++rowsDone & 0x3fff) == 0 && !progress(0.5 * rowsDone / rows_.size())) return false;
        }
    }
    for (Text& t : texts_) layOutText(t, pageWidth_);

    // One pass down the page: a line or a row goes where it fits whole.
    pages_.emplace_back();
    double y = 0;
    auto place = [&](int block, std::uint32_t item, double h) {
        if (y > 0 && y + h > pageHeight_) {
            pages_.emplace_back();
            y = 0;
        }
        auto& pieces = pages_.back();
        if (!pieces.empty() && pieces.back().block == block && pieces.back().end == item && pieces.back().clipBottom == 0)
            ++pieces.back().end;
        else
            pieces.push_back({block, item, item + 1, y});
        y += h;
    };
    // A row taller than a page (a very long note) would lose its end: it goes
    // on over the next pages, cut between its lines.
    auto placeTall = [&](int block, std::uint32_t r) {
        const double h = rows_[r].height, inner = kPadding + kBorder / 2;
        const double unit = fonts_[tdFont_].lineHeight;
        const double slice = std::max(1.0, std::floor((pageHeight_ - 2 * inner) / unit)) * unit;
        if (y > 0) pages_.emplace_back();
        for (double shown = 0; shown < h - 2 * inner - kFit; shown += slice) {
            if (shown > 0) pages_.emplace_back();
            const double top = shown > 0 ? inner : 0;
            const double bottom = shown + slice >= h - 2 * inner - kFit ? h - shown : inner + slice;
            pages_.back().push_back({block, r, r + 1, -shown, top, bottom});
            y = bottom;
        }
    };
    for (int b = 0; b < static_cast<int>(blocks_.size()); ++b) {
        const Block& block = blocks_[b];
        if (block.table) {
            const Table& t = tables_[block.index];
            for (std::uint32_t r = t.firstRow; r < t.rowEnd; ++r)
                if (tall(rows_[r]))
                    placeTall(b, r);
                else
                    place(b, r, rows_[r].height);
        } else {
            const Text& t = texts_[block.index];
            for (std::uint32_t l = 0; l < t.lines.size(); ++l) place(b, l, t.lines[l].height);
            if (y > 0) y += t.gapAfter;
        }
    }
    laidWidth_ = width;
    laidHeight_ = height;
    return !progress || progress(1);
}

void PageLayout::paintText(QPainter& painter, const Text& t, const Piece& piece) const {
    painter.setPen(Qt::black);
    double y = piece.y;
    for (std::uint32_t l = piece.first; l < piece.end; ++l) {
        const Line& line = t.lines[l];
        double x = 0;
        for (std::uint32_t i = line.firstWord; i < line.wordEnd; ++i) {
            const Word& w = t.words[i];
            const Font& f = fonts_[w.font];
            if (i > line.firstWord && w.spaceBefore) x += f.space;
            painter.setFont(f.font);
            painter.drawText(QPointF(x, y + line.ascent), QString::fromRawData(extra_.constData() + w.off, w.len));
            x += w.width;
        }
        y += line.height;
    }
}

void PageLayout::paintTable(QPainter& painter, const Table& t, const Piece& piece) const {
    // In passes, so that pen and font change a few times a page, not per cell.
    double y = piece.y;
    for (std::uint32_t r = piece.first; r < piece.end; ++r) {
        const Row& row = rows_[r];
        for (std::uint32_t c = 0; c < row.cells; ++c)
            if (cells_[row.firstCell + c].len & kHeader)
                painter.fillRect(QRectF(t.colX[c], y, t.colX[c + 1] - t.colX[c], row.height), kHeaderBack);
        y += row.height;
    }
    for (const bool header : {true, false}) {
        const Font& f = fonts_[header ? thFont_ : tdFont_];
        painter.setFont(f.font);
        painter.setPen(header ? Qt::white : Qt::black);
        y = piece.y;
        for (std::uint32_t r = piece.first; r < piece.end; ++r) {
            const Row& row = rows_[r];
            for (std::uint32_t c = 0; c < row.cells; ++c) {
                const Cell& cell = cells_[row.firstCell + c];
                if (static_cast<bool>(cell.len & kHeader) != header || (cell.len & kLenMask) == 0) continue;
                const double width = t.colX[c + 1] - t.colX[c] - kCellExtra;
                const double left = t.colX[c] + kBorder / 2 + kPadding;
                // Header cells are centred, as a browser does.
                auto draw = [&](QStringView text, double w, double baseline) {
                    // A slice of a row over pages draws only its own lines: text
                    // outside the band would still be in a PDF, only hidden.
                    if (piece.clipBottom > 0 && (baseline - f.ascent < piece.clipTop - kFit ||
                                                 baseline - f.ascent + f.lineHeight > piece.clipBottom + kFit))
                        return;
                    const double x = header ? left + std::max(0.0, (width - w) / 2) : left;
                    painter.drawText(QPointF(x, baseline), QString::fromRawData(text.data(), text.size()));
                };
                // Centred in the row, as a browser does; from the top in a row
                // that runs over pages, so that its slices cut between lines.
                auto top = [&](double content) {
                    return tall(row) ? kPadding + kBorder / 2 : (row.height - content) / 2;
                };
                if (cell.maxW <= width + kFit && !(cell.len & kExtra)) {   // the common case: one line
                    draw(cellText(cell), cell.maxW, y + top(f.lineHeight) + f.ascent);
                    continue;
                }
                double baseline = y + top(lineCount(cell, width) * f.lineHeight) + f.ascent;
                forEachLine(cell, width, [&](QStringView text, double w) {
                    draw(text, w, baseline);
                    baseline += f.lineHeight;
                });
            }
            y += row.height;
        }
    }
    // Collapsed borders: a line above and below every row, and the column lines
    // drawn once down each run of rows with the same cells.
    painter.setPen(QPen(kHeaderBack, kBorder));
    y = piece.y;
    double runTop = y;
    for (std::uint32_t r = piece.first; r < piece.end; ++r) {
        const Row& row = rows_[r];
        const double right = t.colX[row.cells];
        painter.drawLine(QLineF(t.colX[0], y, right, y));
        painter.drawLine(QLineF(t.colX[0], y + row.height, right, y + row.height));
        y += row.height;
        if (r + 1 == piece.end || rows_[r + 1].cells != row.cells) {
            for (std::uint32_t c = 0; c <= row.cells; ++c) painter.drawLine(QLineF(t.colX[c], runTop, t.colX[c], y));
            runTop = y;
        }
    }
}

void PageLayout::paintPage(QPainter& painter, int page) const {
    if (page < 0 || page >= pageCount()) return;
    painter.save();
    painter.scale(scale_, scale_);
    for (const Piece& piece : pages_[page]) {
        const Block& b = blocks_[piece.block];
        if (piece.clipBottom > 0)
            painter.setClipRect(QRectF(0, piece.clipTop, pageWidth_, piece.clipBottom - piece.clipTop));
        if (b.table)
            paintTable(painter, tables_[b.index], piece);
        else
            paintText(painter, texts_[b.index], piece);
        if (piece.clipBottom > 0) painter.setClipping(false);
    }
    painter.restore();
}

bool PageLayout::print(QPrinter& printer, const Progress& progress) {
    const double dpi = printer.resolution();
    const QRectF area = printer.pageLayout().paintRectPixels(static_cast<int>(dpi));
    const double toDots = kDotsPerInch / dpi;
    auto part = [&progress](double from, double to) -> Progress {
        if (!progress) return {};
        return [=](double done) { return progress(from + (to - from) * done); };
    };
    if (!paginate(area.width() * toDots, area.height() * toDots, part(0, 0.2))) return false;

    // The painter's fonts are in points of the device: sized so that they come
    // out as measured once the painter maps dots to the device.
    std::vector<QFont> measured;
    for (Font& f : fonts_) {
        measured.push_back(f.font);
        f.font.setPointSizeF(f.points * toDots);
    }
    // The pages the print dialog asked for ("1-2,5"), when it asked for some.
    std::vector<int> wanted;
    const QPageRanges ranges = printer.pageRanges();
    for (int p = 0; p < pageCount(); ++p)
        if (printer.printRange() != QPrinter::PageRange || ranges.isEmpty() || ranges.contains(p + 1))
            wanted.push_back(p);
    // A file is written under another name and named only when whole: a
    // stopped print leaves no half file, nor loses the one it would replace.
    const QString target = printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    const QString partial = target.isEmpty() ? QString() : target + QStringLiteral(".part");
    if (!partial.isEmpty()) printer.setOutputFileName(partial);
    QPainter painter;
    bool done = !wanted.empty() && painter.begin(&printer);
    if (done) {
        painter.scale(1 / toDots, 1 / toDots);
        for (std::size_t i = 0; i < wanted.size() && done; ++i) {
            if (i > 0) printer.newPage();
            paintPage(painter, wanted[i]);
            if (progress && (i & 7) == 7) done = progress(0.2 + 0.8 * double(i + 1) / double(wanted.size()));
        }
        if (!done) printer.abort();
        painter.end();
    }
    for (std::size_t i = 0; i < fonts_.size(); ++i) fonts_[i].font = measured[i];
    done = done && (!progress || progress(1));
    if (!partial.isEmpty()) {
        printer.setOutputFileName(target);
        std::error_code failed;
        if (done) std::filesystem::rename(partial.toStdString(), target.toStdString(), failed);
        done = done && !failed;
        QFile::remove(partial);
    }
    return done;
}

std::vector<PageLayout::RowRange> PageLayout::tableRowsOfPage(int page) const {
    std::vector<RowRange> out;
    for (const Piece& p : pages_.at(page))
        if (blocks_[p.block].table) out.push_back({static_cast<int>(p.first), static_cast<int>(p.end)});
    return out;
}

double PageLayout::pageHeightUsed(int page) const {
    if (pages_.at(page).empty()) return 0;
    const Piece& last = pages_[page].back();
    if (last.clipBottom > 0) return last.clipBottom;
    const Block& b = blocks_[last.block];
    double y = last.y;
    for (std::uint32_t i = last.first; i < last.end; ++i)
        y += b.table ? rows_[i].height : texts_[b.index].lines[i].height;
    return y;
}

}  // namespace qv::print
