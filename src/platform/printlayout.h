// The printed page of a window laid out as a browser prints it, for the print
// preview: the small HTML the program writes (a style sheet with the cell
// fonts, a heading in a font tag, tables of header and data cells, free text)
// is read once, its texts measured once, and then split into pages for any
// paper in one pass. Pages hold row ranges only; each is painted on request.
#pragma once

#include <QColor>
#include <QFont>
#include <QHash>
#include <QString>
#include <QStringView>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QPainter;
class QPrinter;

namespace qv::print {

// Told how far a long step has come; returns false to stop it.
using Progress = std::function<bool(double done)>;   // done from 0 to 1

class PageLayout {
public:
    // Layout units: dots of 1/1200 inch.
    static constexpr double kDotsPerInch = 1200;

    // Reads the page and measures its texts. False when stopped.
    bool load(const std::string& html, const Progress& progress = {});
    // Splits the page into pages of that paint area (in dots). False when stopped.
    bool paginate(double width, double height, const Progress& progress = {});
    // Paginates for the printer's page and paints every page on it. False when
    // stopped or failed: a failure (a file that cannot be written whole, a
    // printer that refuses the print) is told in failure, a stop leaves it empty.
    bool print(QPrinter& printer, const Progress& progress = {}, QString* failure = nullptr);
    // One page at the painter's origin; the painter maps dots to its device.
    void paintPage(QPainter& painter, int page) const;

    int pageCount() const { return static_cast<int>(pages_.size()); }
    // The whole page is drawn at this size so that its widest table fits with
    // its short values whole.
    double scale() const { return scale_; }

private:
    friend struct PageLayoutProbe;   // the checks of how rows fall on pages
    class Reader;

    struct Font {
        QFont font;
        double points;
        double ascent, lineHeight, space;
        QHash<QString, float> widths;
    };
    struct Cell {   // one per table cell: kept to 16 bytes
        std::uint32_t off;        // its text, in the page or, when own, in extra_
        std::uint32_t len : 29;
        std::uint32_t header : 1;   // bold and centred
        std::uint32_t own : 1;      // its text differs from the page's (entities, blanks, several runs)
        std::uint32_t breaks : 1;   // holds forced line breaks
        float minW, maxW;           // longest word (one that may break counted short); widest line
    };
    struct Row {
        std::uint32_t firstCell;
        std::uint32_t cells;
        float height = 0;
    };
    struct Table {
        std::uint32_t firstRow = 0, rowEnd = 0;
        std::vector<float> colMin, colMax;   // longest word (as Cell::minW), widest line, per column
        std::vector<float> colData;          // widest line of the data cells
        std::vector<bool> colBreaks;         // a data cell holds a word that may be broken
        std::vector<double> colOver;         // the data's width beyond colMin, summed over the cells
        std::vector<double> colX;            // left edges, then the right edge
    };
    struct Word {
        std::uint32_t off, len;   // in the text buffer
        std::uint16_t font;
        bool spaceBefore, lineBreak;   // lineBreak: a forced new line before it
        float width;
    };
    struct Line {
        std::uint32_t firstWord, wordEnd;
        float ascent, height;
    };
    struct Text {
        std::vector<Word> words;
        std::vector<Line> lines;
        double gapAfter = 0;
    };
    struct Block {
        bool table;
        int index;
    };
    struct Piece {   // a part of one block on one page
        int block;
        std::uint32_t first, end;   // lines or rows
        double y;
        // A row taller than a page goes on in slices: the band of the page it
        // may paint (clipBottom 0: no clip).
        double clipTop = 0, clipBottom = 0;
    };

    struct RowRange {
        int first, end;
    };

    int fontFor(double points, bool bold);
    float widthOf(Font& f, QStringView word);
    const Font& fontOf(const Cell& c) const { return fonts_[c.header ? thFont_ : tdFont_]; }
    QStringView cellText(const Cell& c) const;
    // Measures the cell; true when it holds a word that may be broken inside.
    bool measureCell(Cell& c);
    std::vector<double> columnWidths(const Table& t) const;
    bool shortByNature(const Table& t, std::size_t col) const;
    double wholeWidth(const Table& t) const;
    double shortValuesWidth(const Table& t) const;
    int lineCount(const Cell& c, double width) const;
    template <class Fn> void forEachLine(const Cell& c, double width, Fn&& fn) const;
    void layOutText(Text& t, double width);
    void paintTable(QPainter& painter, const Table& t, const Piece& piece) const;
    void paintText(QPainter& painter, const Text& t, const Piece& piece) const;
    bool tall(const Row& row) const { return row.height > pageHeight_; }
    // Rows of every table, in page order, as [first, end) per page.
    std::vector<RowRange> tableRowsOfPage(int page) const;
    double pageHeightUsed(int page) const;   // in dots, before the scale

    QString text_;    // the page as read
    QString extra_;   // cell texts that differ from the page's (entities, blanks)
    std::vector<Font> fonts_;
    int thFont_ = 0, tdFont_ = 0;
    std::vector<Cell> cells_;
    std::vector<Row> rows_;
    std::vector<Table> tables_;
    std::vector<Text> texts_;
    std::vector<Block> blocks_;
    std::vector<std::vector<Piece>> pages_;
    double scale_ = 1, pageWidth_ = 0, pageHeight_ = 0;
    double laidWidth_ = -1, laidHeight_ = -1;
};

}  // namespace qv::print
