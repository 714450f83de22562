// A table of texts kept compactly, the storage of the grid. Each row is one
// block of 32-bit words inside a few large chunks: the block's text room in
// bytes, the end offset of every cell, then the cells' bytes back to back. A
// cell costs its bytes plus 4, a row 8 more for its pointer; rows are
// reordered by moving their pointers only.
//
// Every row keeps room for one more short cell, so a column added for a
// moment (the date sort's hidden key) moves no row. A row written at the end
// of the newest chunk, as fills do, grows where it is; a row that outgrows its
// room elsewhere moves to the end, and the space left behind is reclaimed
// once it exceeds what the rows use. Cut rows leave their chunks to the rows
// added next, so a refill writes into memory already in use.
//
// Views returned by at() stay valid until the table next changes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string_view>
#include <vector>

namespace qv {

class TextRows {
public:
    explicit TextRows(std::size_t cols = 1) : cols_(cols) {}

    std::size_t rows() const { return rows_.size(); }
    std::size_t cols() const { return cols_; }

    // Unchecked: r < rows(), c < cols().
    std::string_view at(std::size_t r, std::size_t c) const {
        const std::uint32_t* b = rows_[r];
        const std::uint32_t start = c ? b[c] : 0;
        return {textOf(b, cols_) + start, b[c + 1] - start};
    }
    // The text may be a view into this table.
    void set(std::size_t r, std::size_t c, std::string_view text);

    // Adds one row holding the given texts; cells beyond them are empty and
    // texts beyond cols() are ignored.
    void append(std::span<const std::string_view> cells);
    void appendEmpty(std::size_t count);
    void truncate(std::size_t count);   // keeps the first count rows
    void erase(std::size_t r);
    void setCols(std::size_t n);        // new cells are empty
    // Row from[i] moves to first + i; from holds each of first .. first +
    // from.size() - 1 once.
    void reorder(std::size_t first, std::span<const int> from);
    void prefetch(std::size_t r) const { __builtin_prefetch(rows_[r]); }

    // Words held in chunks, and words of the rows' blocks.
    std::size_t reservedWords() const { return reserved_; }
    std::size_t liveWords() const;

private:
    struct Chunk {
        std::unique_ptr<std::uint32_t[]> words;
        std::size_t size = 0, used = 0;
    };

    static const char* textOf(const std::uint32_t* b, std::size_t cols) {
        return reinterpret_cast<const char*>(b + 1 + cols);
    }
    static char* textOf(std::uint32_t* b, std::size_t cols) { return reinterpret_cast<char*>(b + 1 + cols); }
    static std::uint32_t usedOf(const std::uint32_t* b, std::size_t cols) { return cols ? b[cols] : 0; }
    static std::size_t wordsOf(const std::uint32_t* b, std::size_t cols) { return 1 + cols + b[0] / 4; }

    std::uint32_t* alloc(std::size_t words);
    bool growAtEnd(std::uint32_t* b, std::size_t extraWords);
    void release(std::uint32_t* b);
    void reclaim();
    void compact(std::size_t live);

    std::vector<std::uint32_t*> rows_;
    std::size_t cols_;
    std::vector<Chunk> chunks_;   // chunks_[0 .. cur_] in use, the rest free
    std::size_t cur_ = 0;
    // Words of the chunks in use that no row holds: the one count kept as
    // rows change. Counts updated side by side get paired into SSE vector
    // instructions, which run far slower once the process's upper vector
    // state is left dirty (as the Qt platform leaves it here).
    std::size_t garbage_ = 0;
    std::size_t reserved_ = 0;    // words of all chunks
};

}  // namespace qv
