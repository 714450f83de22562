#include "platform/printlayout.h"

#include <QDir>
#include <QFontMetricsF>
#include <QImage>
#include <QPageRanges>
#include <QPaintEngine>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QRegularExpression>
#include <QSaveFile>
#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstring>
#include <unistd.h>

namespace qv::print {

namespace {

// CSS pixels are 1/96 inch.
constexpr double kPx = PageLayout::kDotsPerInch / 96;
constexpr double kBorder = kPx, kPadding = 3 * kPx;
constexpr double kCellExtra = 2 * kPadding + kBorder;
constexpr double kDefaultPoints = 12;   // a browser's "medium"
constexpr double kFit = 0.01;           // rounding slack when a text is tried against a width
// Widths in ems of the cell's font. A word wider than kLongWord, or an e-mail
// or web address wider than kShortValue, may be broken inside where its
// column is narrower; other words (codes, names, numbers, the usual e-mail)
// never are. Such a word asks of its column only kBrokenWord. A column whose
// values are no wider than kShortValue and hold no such word (phone numbers,
// dates, amounts, names) is short by nature: it gets its whole width before
// the long texts get more than their longest words.
constexpr double kLongWord = 12, kBrokenWord = 4, kShortValue = 10;
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

double emOf(double points) { return points * PageLayout::kDotsPerInch / 72; }

// An e-mail or web address: letters with an "@", a "/" or a "." before a letter.
bool isAddress(QStringView word) {
    bool letter = false, mark = false;
    for (qsizetype i = 0; i < word.size(); ++i) {
        const QChar c = word[i];
        letter = letter || c.isLetter();
        mark = mark || c == u'@' || c == u'/' || (c == u'.' && i + 1 < word.size() && word[i + 1].isLetter());
    }
    return letter && mark;
}

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

// The words of a collapsed text (single blanks, "\n" for a forced break):
// fn(word, breakAfter) for each, the empty word of an empty line included.
template <class Fn> void forEachWord(QStringView text, Fn&& fn) {
    qsizetype start = 0;
    for (qsizetype i = 0; i <= text.size(); ++i) {
        if (i < text.size() && text[i] != u' ' && text[i] != u'\n') continue;
        fn(text.sliced(start, i - start), i < text.size() && text[i] == u'\n');
        start = i + 1;
    }
}

struct Token {
    enum Kind { End, Text, Tag } kind = End;
    QStringView text;         // a text run, as written
    QStringView name;         // a tag's name
    QStringView attributes;   // what follows a tag's name
    bool ending = false;      // "</name>"
    bool is(QStringView want) const { return name.compare(want, Qt::CaseInsensitive) == 0; }
};

// The page as runs of text and tags, comments left out.
class Tokenizer {
public:
    explicit Tokenizer(QStringView page) : page_(page) {}
    qsizetype position() const { return at_; }

    Token next() {
        while (at_ < page_.size()) {
            const qsizetype tag = nextTag(page_, at_);
            if (tag > at_) {
                Token t;
                t.kind = Token::Text;
                t.text = page_.sliced(at_, tag - at_);
                at_ = tag;
                return t;
            }
            if (page_.sliced(at_).startsWith(u"<!--")) {
                const qsizetype end = page_.indexOf(u"-->", at_ + 4);
                at_ = end < 0 ? page_.size() : end + 3;
                continue;
            }
            qsizetype close = page_.indexOf(u'>', at_ + 1);
            if (close < 0) close = page_.size();
            const QStringView inner = page_.sliced(at_ + 1, close - at_ - 1);
            at_ = std::min(page_.size(), close + 1);
            Token t;
            t.kind = Token::Tag;
            t.ending = inner.startsWith(u'/');
            const qsizetype nameStart = t.ending ? 1 : 0;
            qsizetype nameEnd = nameStart;
            while (nameEnd < inner.size() && (inner[nameEnd].isLetterOrNumber() || inner[nameEnd] == u'!')) ++nameEnd;
            t.name = inner.sliced(nameStart, nameEnd - nameStart);
            t.attributes = inner.sliced(nameEnd);
            return t;
        }
        return {};
    }
    // The content of the element just opened (a style sheet, a script), read
    // as it stands up to its closing tag, which is passed.
    QStringView rawContent(QStringView name) {
        const qsizetype end = page_.indexOf(QStringLiteral("</") + name.toString(), at_, Qt::CaseInsensitive);
        const QStringView content = page_.sliced(at_, (end < 0 ? page_.size() : end) - at_);
        const qsizetype close = end < 0 ? -1 : page_.indexOf(u'>', end);
        at_ = close < 0 ? page_.size() : close + 1;
        return content;
    }

private:
    QStringView page_;
    qsizetype at_ = 0;
};

// A cell's text while it is read: its one clean run, still in the page (the
// common case, no copy), or else collected, decoded and collapsed.
struct CellText {
    bool header = false;
    QStringView direct;
    bool collected = false;
    QString buffer;
    bool blank = false;   // a blank waits before the next word

    void open(bool isHeader) {
        header = isHeader;
        direct = {};
        collected = blank = false;
        buffer.clear();
    }
    void add(QStringView raw) {
        if (!collected && direct.isNull() && isClean(raw))
            direct = raw;
        else {
            collect();
            appendCollapsed(buffer, raw, blank);
        }
    }
    void collect() {   // from now on the text is the cell's own
        if (collected) return;
        collected = true;
        if (!direct.isNull()) appendCollapsed(buffer, direct, blank);
        direct = {};
    }
    void lineBreak() {
        collect();
        buffer += u'\n';
        blank = false;
    }
};

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
    return QStringView(c.own ? extra_ : text_).sliced(c.off, c.len);
}

bool PageLayout::measureCell(Cell& c) {
    Font& f = fonts_[c.header ? thFont_ : tdFont_];
    const double em = emOf(f.points);
    double longest = 0, line = -1, widest = 0;
    bool breakable = false;
    forEachWord(cellText(c), [&](QStringView word, bool breakAfter) {
        const double w = widthOf(f, word);
        const bool mayBreak = w > kLongWord * em || (w > kShortValue * em && isAddress(word));
        breakable = breakable || mayBreak;
        longest = std::max(longest, mayBreak ? kBrokenWord * em : w);
        line = line < 0 ? w : line + f.space + w;
        if (breakAfter) {
            widest = std::max(widest, line);
            line = -1;
            c.breaks = true;
        }
    });
    c.minW = static_cast<float>(longest);
    c.maxW = static_cast<float>(std::max(widest, line));
    return breakable;
}

// A word wider than the width in pieces that fit, each cut after its last
// "/", "-", "." or "@" where that fills at least half the width, else at the
// edge: fn(piece, its width).
template <class Fn> void breakWord(const QFont& font, double points, QStringView word, double width, Fn&& fn) {
    QFont measured = font;   // the printer's fonts are sized for its device while it paints
    measured.setPointSizeF(points);
    const QFontMetricsF m(measured, &measuringDevice());
    for (qsizetype start = 0; start < word.size();) {
        qsizetype end = start, cut = -1;
        double x = 0, cutX = 0;
        while (end < word.size()) {
            const qsizetype unit = word[end].isHighSurrogate() && end + 1 < word.size() ? 2 : 1;
            const double a = unit == 1 ? m.horizontalAdvance(word[end]) : m.horizontalAdvance(word.sliced(end, 2).toString());
            if (end > start && x + a > width + kFit) break;
            x += a;
            end += unit;
            const QChar last = word[end - 1];
            if (end < word.size() && (last == u'/' || last == u'-' || last == u'.' || last == u'@')) {
                cut = end;
                cutX = x;
            }
        }
        if (end < word.size() && cut > start && cutX >= width / 2) {
            end = cut;
            x = cutX;
        }
        fn(word.sliced(start, end - start), x);
        start = end;
    }
}

// Greedy wrapping at blanks, as a browser's cell does: fn(line text, its width).
// A word longer than the width goes on lines of its own, broken inside.
template <class Fn> void PageLayout::forEachLine(const Cell& c, double width, Fn&& fn) const {
    const Font& f = fontOf(c);
    const QStringView t = cellText(c);
    if (t.isEmpty()) return;
    const QChar *lineStart = t.data(), *lineEnd = t.data();
    double lineW = -1;   // -1: nothing on the line yet
    forEachWord(t, [&](QStringView word, bool breakAfter) {
        const auto it = f.widths.constFind(QString::fromRawData(word.data(), word.size()));   // measured on reading
        double w = it != f.widths.cend() ? *it : 0;
        if (w > width + kFit) {
            if (lineW >= 0) fn(QStringView(lineStart, lineEnd), lineW);
            lineW = -1;
            breakWord(f.font, f.points, word, width, [&](QStringView piece, double pieceW) {
                if (lineW >= 0) fn(QStringView(lineStart, lineEnd), lineW);
                lineStart = piece.data();
                lineEnd = piece.data() + piece.size();
                lineW = pieceW;
            });
            // The last piece begins a line that the next words may join.
            word = QStringView(lineStart, lineEnd);
            w = lineW;
            lineW = -1;
        } else if (lineW >= 0 && lineW + f.space + w > width + kFit) {
            fn(QStringView(lineStart, lineEnd), lineW);
            lineStart = word.data();
            lineW = -1;
        }
        lineW = lineW < 0 ? w : lineW + f.space + w;
        lineEnd = word.data() + word.size();
        if (breakAfter) {
            fn(QStringView(lineStart, lineEnd), lineW);
            lineStart = lineEnd + 1;
            lineW = -1;
        }
    });
    if (lineW >= 0) fn(QStringView(lineStart, lineEnd), lineW);
}

int PageLayout::lineCount(const Cell& c, double width) const {
    if (c.len == 0) return 0;
    if (c.maxW <= width + kFit && !c.breaks) return 1;
    int n = 0;
    forEachLine(c, width, [&n](QStringView, double) { ++n; });
    return n;
}

// Builds the layout's blocks from the page's tokens, as a browser reads the
// small HTML the program writes.
class PageLayout::Reader {
public:
    explicit Reader(PageLayout& layout) : l_(layout) { readStyle({}); }

    void text(QStringView raw) {
        if (cellOpen_) {
            cell_.add(raw);
        } else if (table_ >= 0) {
            // Text between cells goes before its table, as a browser puts it.
            if (raw.trimmed().isEmpty()) return;
            if (fosterText_ < 0) {
                fosterText_ = newText(tableBlock_);
                ++tableBlock_;
            }
            addWords(l_.texts_[fosterText_], raw);
        } else {
            if (openText_ < 0) {
                if (raw.trimmed().isEmpty()) return;
                openText_ = newText(static_cast<int>(l_.blocks_.size()));
            }
            addWords(l_.texts_[openText_], raw);
        }
    }

    void tag(const Token& t, Tokenizer& tokens) {
        if (!t.ending && (t.is(u"style") || t.is(u"script") || t.is(u"title"))) {
            const QStringView content = tokens.rawContent(t.name);
            if (t.is(u"style")) readStyle(content);
            return;
        }
        if (nested_ > 0 || (cellOpen_ && t.is(u"table") && !t.ending)) {
            // A table inside a cell: its texts stay in the cell.
            if (t.is(u"table"))
                nested_ += t.ending ? -1 : 1;
            else if (cellOpen_ && (t.is(u"td") || t.is(u"th") || t.is(u"tr") || t.is(u"br"))) {
                cell_.collect();
                cell_.blank = true;
            }
            return;
        }
        if (t.is(u"font")) {
            if (!t.ending)
                sizes_.push_back(pointsIn(t.attributes.toString(), sizes_.back()));
            else if (sizes_.size() > 1)
                sizes_.pop_back();
        } else if (t.is(u"b") || t.is(u"strong")) {
            bold_ = std::max(0, bold_ + (t.ending ? -1 : 1));
        } else if (t.is(u"br")) {
            if (cellOpen_)
                cell_.lineBreak();
            else if (table_ < 0)
                textBreak_ = true;
        } else if (t.is(u"p") || t.is(u"div")) {
            if (table_ < 0) endParagraph(t.is(u"p") ? sizes_.back() * kDotsPerInch / 72 : 0);
        } else if (t.is(u"table")) {
            if (!t.ending && table_ < 0)
                openTable();
            else if (t.ending && table_ >= 0)
                closeTable();
        } else if (table_ >= 0 && t.is(u"tr")) {
            if (t.ending)
                closeRow();
            else
                openRow();
        } else if (table_ >= 0 && (t.is(u"td") || t.is(u"th"))) {
            closeCell();
            if (!t.ending) {
                if (!rowOpen_) openRow();
                cell_.open(t.is(u"th"));
                cellOpen_ = true;
            }
        }
        // Any other tag is left out; its text is kept.
    }

    void finish() {
        if (table_ >= 0) closeTable();
    }

private:
    void readStyle(QStringView sheet) {
        static const QRegularExpression rule(QStringLiteral("([A-Za-z0-9_]+)\\s*\\{([^}]*)\\}"));
        const QString text = sheet.toString();
        for (auto it = rule.globalMatch(text); it.hasNext();) {
            const auto m = it.next();
            const QString selector = m.captured(1).toLower();
            if (selector == u"th") thPoints_ = pointsIn(m.captured(2), thPoints_);
            if (selector == u"td") tdPoints_ = pointsIn(m.captured(2), tdPoints_);
        }
        l_.thFont_ = l_.fontFor(thPoints_, true);
        l_.tdFont_ = l_.fontFor(tdPoints_, false);
    }

    // A new paragraph, its block at that place in the page's order.
    int newText(int blockAt) {
        l_.texts_.emplace_back();
        const int index = static_cast<int>(l_.texts_.size() - 1);
        l_.blocks_.insert(l_.blocks_.begin() + blockAt, {false, index});
        return index;
    }
    void endParagraph(double gap) {
        if (openText_ < 0 && !l_.blocks_.empty() && !l_.blocks_.back().table) openText_ = l_.blocks_.back().index;
        if (openText_ < 0 && gap > 0) openText_ = newText(static_cast<int>(l_.blocks_.size()));
        if (openText_ >= 0) l_.texts_[openText_].gapAfter = std::max(l_.texts_[openText_].gapAfter, gap);
        openText_ = -1;
        textBlank_ = textBreak_ = false;
    }
    void addWords(Text& t, QStringView raw) {
        QString decoded;
        bool blank = false;
        appendCollapsed(decoded, raw, blank);
        const auto font = static_cast<std::uint16_t>(l_.fontFor(sizes_.back(), bold_ > 0));
        bool first = true;
        forEachWord(decoded, [&](QStringView word, bool) {
            if (!word.isEmpty()) {
                const auto off = static_cast<std::uint32_t>(l_.extra_.size());
                l_.extra_ += word;
                const bool spaceBefore = !first || (!raw.isEmpty() && isBlank(raw.front())) || textBlank_;
                t.words.push_back({off, static_cast<std::uint32_t>(word.size()), font, spaceBefore, textBreak_, 0});
                textBlank_ = textBreak_ = false;
            }
            first = false;
        });
        if (blank) textBlank_ = true;
    }

    void openTable() {
        endParagraph(0);
        l_.tables_.emplace_back();
        table_ = static_cast<int>(l_.tables_.size() - 1);
        l_.tables_[table_].firstRow = l_.tables_[table_].rowEnd = static_cast<std::uint32_t>(l_.rows_.size());
        l_.blocks_.push_back({true, table_});
        tableBlock_ = static_cast<int>(l_.blocks_.size() - 1);
        fosterText_ = -1;
    }
    void closeTable() {
        closeRow();
        table_ = -1;
    }
    void openRow() {
        closeRow();
        l_.rows_.push_back({static_cast<std::uint32_t>(l_.cells_.size()), 0, 0});
        rowOpen_ = true;
    }
    void closeRow() {
        closeCell();
        if (!rowOpen_) return;
        rowOpen_ = false;
        Row& r = l_.rows_.back();
        r.cells = static_cast<std::uint32_t>(l_.cells_.size() - r.firstCell);
        if (r.cells == 0) l_.rows_.pop_back();   // a row without cells takes no room
        l_.tables_[table_].rowEnd = static_cast<std::uint32_t>(l_.rows_.size());
    }
    void closeCell() {
        if (!cellOpen_) return;
        cellOpen_ = false;
        Cell c{};
        c.header = cell_.header;
        if (!cell_.collected && !cell_.direct.isNull()) {
            c.off = static_cast<std::uint32_t>(cell_.direct.data() - l_.text_.constData());
            c.len = static_cast<std::uint32_t>(cell_.direct.size());
        } else {
            while (cell_.buffer.endsWith(u'\n')) cell_.buffer.chop(1);
            c.own = true;
            c.off = static_cast<std::uint32_t>(l_.extra_.size());
            c.len = static_cast<std::uint32_t>(cell_.buffer.size());
            l_.extra_ += cell_.buffer;
        }
        if (l_.measureCell(c) && !c.header) {
            std::vector<bool>& breaks = l_.tables_[table_].colBreaks;
            const std::size_t col = l_.cells_.size() - l_.rows_.back().firstCell;
            if (breaks.size() <= col) breaks.resize(col + 1, false);
            breaks[col] = true;
        }
        l_.cells_.push_back(c);
    }

    PageLayout& l_;
    // Free text: the font, and the paragraph being written (in texts_).
    std::vector<double> sizes_{kDefaultPoints};
    int bold_ = 0;
    int openText_ = -1;
    bool textBlank_ = false, textBreak_ = false;
    // Tables: the open one, its block, the text put before it, tables nested in a cell.
    int table_ = -1, tableBlock_ = -1, fosterText_ = -1, nested_ = 0;
    bool rowOpen_ = false, cellOpen_ = false;
    CellText cell_;
    double thPoints_ = kDefaultPoints, tdPoints_ = kDefaultPoints;
};

bool PageLayout::load(const std::string& html, const Progress& progress) {
    *this = PageLayout();
    text_ = QString::fromUtf8(html.data(), static_cast<qsizetype>(html.size()));
    // A long page takes a while to convert: let the wait show before reading it.
    if (progress && !progress(0)) return false;
    Tokenizer tokens(text_);
    Reader reader(*this);
    qsizetype nextReport = 1 << 20;
    for (Token t = tokens.next(); t.kind != Token::End; t = tokens.next()) {
        if (t.kind == Token::Text)
            reader.text(t.text);
        else
            reader.tag(t, tokens);
        if (progress && tokens.position() >= nextReport) {
            nextReport = tokens.position() + (1 << 20);
            if (!progress(static_cast<double>(tokens.position()) / text_.size())) return false;
        }
    }
    reader.finish();

    for (Table& t : tables_) {
        for (std::uint32_t r = t.firstRow; r < t.rowEnd; ++r) {
            const Row& row = rows_[r];
            if (t.colMin.size() < row.cells) {
                t.colMin.resize(row.cells, 0);
                t.colMax.resize(row.cells, 0);
                t.colData.resize(row.cells, 0);
            }
            for (std::uint32_t c = 0; c < row.cells; ++c) {
                const Cell& cell = cells_[row.firstCell + c];
                t.colMin[c] = std::max(t.colMin[c], cell.minW);
                t.colMax[c] = std::max(t.colMax[c], cell.maxW);
                if (!cell.header) t.colData[c] = std::max(t.colData[c], cell.maxW);
            }
        }
        t.colBreaks.resize(t.colMin.size(), false);
        // How far the data go beyond each column's longest word, summed over
        // its cells: what its wrapping adds to the rows, where one long note weighs little.
        t.colOver.assign(t.colMin.size(), 0);
        for (std::uint32_t r = t.firstRow; r < t.rowEnd; ++r) {
            const Row& row = rows_[r];
            for (std::uint32_t c = 0; c < row.cells; ++c) {
                const Cell& cell = cells_[row.firstCell + c];
                if (!cell.header && cell.maxW > t.colMin[c]) t.colOver[c] += cell.maxW - t.colMin[c];
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

// As wide as the contents when the page allows. Else every column gets its
// longest word (one that may break counting four ems), then its whole contents
// as far as the room goes: first the columns short by nature (phone numbers,
// codes, dates, amounts, names), then the others, each group those that need
// least first. The columns still short (the long texts) share what is left by
// how much of their text overflows, so that the column that wraps in most rows
// gets most.
// The data come first: a heading that wraps costs one row, not one per cheque.
std::vector<double> PageLayout::columnWidths(const Table& t) const {
    const std::size_t cols = t.colMin.size();
    std::vector<double> width(t.colMin.begin(), t.colMin.end());
    double room = pageWidth_ - kBorder;
    for (std::size_t c = 0; c < cols; ++c) room -= t.colMin[c] + kCellExtra;
    for (const std::vector<float>* wanted : {&t.colData, &t.colMax}) {
        if (room <= 0) break;
        const bool data = wanted == &t.colData;
        const auto need = [&](std::size_t c) { return std::max(0.0, (*wanted)[c] - width[c]); };
        // A heading is a single cell: its share goes by its need alone.
        const auto weight = [&](std::size_t c) { return data ? t.colOver[c] : need(c); };
        const auto later = [&](std::size_t c) { return data && !shortByNature(t, c); };
        std::vector<std::size_t> order(cols);
        for (std::size_t c = 0; c < cols; ++c) order[c] = c;
        std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
            return later(a) != later(b) ? later(b) : need(a) < need(b);
        });
        std::vector<std::size_t> still;
        for (const std::size_t c : order) {
            if (need(c) > room) {
                still.push_back(c);
                continue;
            }
            room -= need(c);
            width[c] += need(c);
        }
        if (still.empty()) continue;
        // Each still short needs more than the room left, so no share exceeds its need.
        double weights = 0;
        for (const std::size_t c : still) weights += weight(c);
        for (const std::size_t c : still) width[c] += weights > 0 ? room * weight(c) / weights : room / double(still.size());
        room = 0;
    }
    return width;
}

bool PageLayout::shortByNature(const Table& t, std::size_t col) const {
    return !t.colBreaks[col] && t.colData[col] <= kShortValue * emOf(fonts_[tdFont_].points);
}

// The table's width with every column's data whole.
double PageLayout::wholeWidth(const Table& t) const {
    double width = kBorder;
    for (std::size_t c = 0; c < t.colMin.size(); ++c) width += std::max(t.colMin[c], t.colData[c]) + kCellExtra;
    return width;
}

// The table's width with the columns short by nature whole, the others at their longest words.
double PageLayout::shortValuesWidth(const Table& t) const {
    double width = kBorder;
    for (std::size_t c = 0; c < t.colMin.size(); ++c)
        width += (shortByNature(t, c) ? std::max(t.colMin[c], t.colData[c]) : t.colMin[c]) + kCellExtra;
    return width;
}

bool PageLayout::paginate(double width, double height, const Progress& progress) {
    if (width == laidWidth_ && height == laidHeight_) return true;
    laidWidth_ = laidHeight_ = -1;
    pages_.clear();

    // The narrowest the page can be: its widest table at its columns' longest
    // words (those that may break counted short), its longest unbreakable text.
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
    scale_ = 1;
    double shortWhole = narrowest;
    for (const Table& t : tables_) shortWhole = std::max(shortWhole, shortValuesWidth(t));
    if (shortWhole > width) {
        // Drawn smaller rather than phone numbers, names, dates and amounts cut
        // over lines, but at most 30 % below the size at which the longest
        // words fit; past that those wrap at their blanks.
        constexpr double kLeastForShortValues = 0.7;
        scale_ = std::max(width / shortWhole, std::min(1.0, width / narrowest) * kLeastForShortValues);
    }
    if (narrowest > width) {
        // Drawn smaller anyway: a little smaller still, for room that keeps
        // short cells whole and lets long texts wrap less, but no smaller than
        // shows every cell whole.
        constexpr double kMostRoomWhenScaled = 1.15;
        const double widest = narrowest * kMostRoomWhenScaled;
        double needed = narrowest;
        for (const Table& t : tables_) needed = std::max(needed, std::min(widest, wholeWidth(t)));
        scale_ = std::min(scale_, width / needed);
    }
    pageWidth_ = width / scale_;
    pageHeight_ = height / scale_;

    std::size_t rowsDone = 0;
    for (Table& t : tables_) {
        const std::vector<double> widths = columnWidths(t);
        t.colX.assign(widths.size() + 1, kBorder / 2);
        for (std::size_t c = 0; c < widths.size(); ++c) t.colX[c + 1] = t.colX[c] + widths[c] + kCellExtra;
        for (std::uint32_t r = t.firstRow; r < t.rowEnd; ++r) {
            Row& row = rows_[r];
            double content = 0;
            for (std::uint32_t c = 0; c < row.cells; ++c) {
                const Cell& cell = cells_[row.firstCell + c];
                const int lines = lineCount(cell, t.colX[c + 1] - t.colX[c] - kCellExtra);
                content = std::max(content, lines * fontOf(cell).lineHeight);
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
            if (cells_[row.firstCell + c].header)
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
                if (cell.header != header || cell.len == 0) continue;
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
                if (cell.maxW <= width + kFit && !cell.breaks) {   // the common case: one line
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

namespace {
// The preview's printer keeps its pages as pictures, whatever output the
// print dialog chose for the printer.
bool previewing(QPrinter& printer) {
    const QPaintEngine* engine = printer.paintEngine();
    return engine && engine->type() == QPaintEngine::Picture;
}

QString fileFailure(const QString& what, const QString& file, const QString& reason) {
    return QStringLiteral("%1 \"%2\": %3.\nNothing was written: a file of that name is left as it was.")
        .arg(what, QDir::toNativeSeparators(file), reason);
}

// Flushes the file's data to the disk, so that a full disk is known before
// the file takes the place of the old one.
bool writtenThrough(QSaveFile& file, QString& reason) {
    if (!file.flush() || file.error() != QFileDevice::NoError) {
        reason = file.errorString();
        return false;
    }
    if (::fsync(file.handle()) != 0) {
        reason = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    return true;
}
}  // namespace

bool PageLayout::print(QPrinter& printer, const Progress& progress, QString* failure) {
    if (failure) failure->clear();
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
    // Paints the pages asked for; false when stopped, up to the last moment.
    auto paintAll = [&](QPagedPaintDevice& device, QPainter& painter) {
        painter.scale(1 / toDots, 1 / toDots);
        for (std::size_t i = 0; i < wanted.size(); ++i) {
            if (i > 0) device.newPage();
            paintPage(painter, wanted[i]);
            if (progress && (i & 7) == 7 && !progress(0.2 + 0.8 * double(i + 1) / double(wanted.size()))) return false;
        }
        return !progress || progress(1);
    };
    bool done = false;
    QString failed;
    QPainter painter;
    if (wanted.empty()) {
        // No page in the range asked for: nothing to print.
    } else if (printer.outputFormat() == QPrinter::PdfFormat && !previewing(printer)) {
        // A file is written under another name and takes the old one's place
        // only once whole and on the disk: a stopped or failed print leaves
        // no half file, nor loses the one it would replace.
        const QString target = printer.outputFileName();
        QSaveFile file(target);
        if (!file.open(QIODevice::WriteOnly)) {
            failed = fileFailure(QStringLiteral("Cannot create the file"), target, file.errorString());
        } else {
            QPdfWriter writer(&file);
            writer.setCreator(printer.creator());
            writer.setTitle(printer.docName());
            writer.setPdfVersion(printer.pdfVersion());
            writer.setResolution(static_cast<int>(dpi));
            writer.setPageLayout(printer.pageLayout());
            QString reason;
            if (!painter.begin(&writer)) {
                failed = fileFailure(QStringLiteral("Cannot write the file"), target, file.errorString());
            } else if (paintAll(writer, painter)) {
                if (!painter.end() || !writtenThrough(file, reason))
                    failed = fileFailure(QStringLiteral("Cannot write the file"), target,
                                         reason.isEmpty() ? file.errorString() : reason);
                else if (!file.commit())
                    failed = fileFailure(QStringLiteral("Cannot replace the file"), target, file.errorString());
                else
                    done = true;
            }
            if (painter.isActive()) painter.end();
            if (!done) file.cancelWriting();
        }
    } else if (!painter.begin(&printer)) {
        failed = QStringLiteral("The printer \"%1\" cannot start the print.").arg(printer.printerName());
    } else {
        done = paintAll(printer, painter);
        // The preview's printer keeps its pages as pictures: aborting it frees
        // pages the preview still holds. Its caller drops a stopped run's pages.
        if (!done && !previewing(printer)) printer.abort();
        const bool ended = painter.end();
        if (done && (!ended || printer.printerState() == QPrinter::Error)) {
            done = false;
            failed = QStringLiteral("The printer \"%1\" did not take the print.").arg(printer.printerName());
        }
    }
    for (std::size_t i = 0; i < fonts_.size(); ++i) fonts_[i].font = measured[i];
    if (failure) *failure = failed;
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
