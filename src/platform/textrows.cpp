#include "platform/textrows.h"

#include <algorithm>
#include <cstring>
#include <functional>
#include <new>
#include <stdexcept>
#include <string>

namespace qv {

namespace {
// Room every row keeps beyond its texts: one more cell's end and a short text.
constexpr std::size_t kSlackBytes = 12;
constexpr std::size_t kMinChunkWords = 256;          // 1 KB: small grids stay small
constexpr std::size_t kMaxChunkWords = 256 * 1024;   // 1 MB
// Space left behind is reclaimed only past this, so small tables are not
// copied over and over.
constexpr std::size_t kMinGarbageWords = 4096;
constexpr std::size_t kMaxRowBytes = 0xFFFFFF00u;

std::size_t roomFor(std::size_t bytes) {
    if (bytes > kMaxRowBytes - kSlackBytes) throw std::length_error("grid row too long");
    return (bytes + kSlackBytes + 3) / 4 * 4;
}

void copyBytes(char* to, std::string_view from) {
    if (!from.empty()) std::memcpy(to, from.data(), from.size());
}
}  // namespace

std::uint32_t* TextRows::alloc(std::size_t words) {
    if (cur_ < chunks_.size()) {
        Chunk& ch = chunks_[cur_];
        if (ch.size - ch.used >= words) {
            std::uint32_t* p = ch.words.get() + ch.used;
            ch.used += words;
            return p;
        }
        // The rest of this chunk stays unused until the space is reclaimed.
        garbage_ += ch.size - ch.used;
        ch.used = ch.size;
        ++cur_;
    }
    if (cur_ == chunks_.size() || chunks_[cur_].size < words) {
        const std::size_t size = std::max(words, std::clamp(reserved_, kMinChunkWords, kMaxChunkWords));
        // Not value-initialised: every word is written before it is read.
        Chunk fresh{std::unique_ptr<std::uint32_t[]>(new std::uint32_t[size]), size, 0};
        chunks_.insert(chunks_.begin() + static_cast<std::ptrdiff_t>(cur_), std::move(fresh));
        reserved_ += size;
    }
    Chunk& ch = chunks_[cur_];
    ch.used = words;
    return ch.words.get();
}

bool TextRows::growAtEnd(std::uint32_t* b, std::size_t extraWords) {
    if (cur_ >= chunks_.size()) return false;
    Chunk& ch = chunks_[cur_];
    if (b + wordsOf(b, cols_) != ch.words.get() + ch.used || ch.size - ch.used < extraWords) return false;
    ch.used += extraWords;
    b[0] += static_cast<std::uint32_t>(4 * extraWords);
    return true;
}

void TextRows::release(std::uint32_t* b) {
    const std::size_t w = wordsOf(b, cols_);
    if (cur_ < chunks_.size()) {
        Chunk& ch = chunks_[cur_];
        if (b + w == ch.words.get() + ch.used) {
            ch.used -= w;
            return;
        }
    }
    garbage_ += w;
}

void TextRows::set(std::size_t r, std::size_t c, std::string_view text) {
    std::uint32_t* b = rows_[r];
    char* bytes = textOf(b, cols_);
    const std::uint32_t start = c ? b[c] : 0, end = b[c + 1], used = usedOf(b, cols_);
    const std::size_t oldLen = end - start;
    if (text.size() == oldLen) {
        if (oldLen) std::memmove(bytes + start, text.data(), oldLen);
        return;
    }
    // A text from this very row would move under our feet: copy it first.
    std::string own;
    const std::less<const void*> before;
    if (!text.empty() && !before(text.data(), b) && before(text.data(), b + wordsOf(b, cols_))) {
        own.assign(text);
        text = own;
    }
    const std::size_t newUsed = used - oldLen + text.size();
    const auto shift = [&](std::uint32_t* ends) {
        for (std::size_t k = c + 1; k <= cols_; ++k)
            ends[k] = static_cast<std::uint32_t>(ends[k] - oldLen + text.size());
    };
    // A row at the end grows where it is and keeps its spare room whole;
    // elsewhere it moves only when its room is short.
    if (newUsed + kSlackBytes > b[0]) {
        const std::size_t room = roomFor(newUsed);
        if (!growAtEnd(b, (room - b[0]) / 4) && newUsed > b[0]) {
            // Elsewhere the row moves to the end, with the change made on the way.
            const std::size_t words = 1 + cols_ + room / 4;
            std::uint32_t* nb = alloc(words);
            nb[0] = static_cast<std::uint32_t>(room);
            std::memcpy(nb + 1, b + 1, 4 * cols_);
            shift(nb);
            char* to = textOf(nb, cols_);
            std::memcpy(to, bytes, start);
            copyBytes(to + start, text);
            std::memcpy(to + start + text.size(), bytes + end, used - end);
            release(b);
            rows_[r] = nb;
            reclaim();
            return;
        }
    }
    std::memmove(bytes + start + text.size(), bytes + end, used - end);
    copyBytes(bytes + start, text);
    shift(b);
}

void TextRows::append(std::span<const std::string_view> cells) {
    const std::size_t n = std::min(cells.size(), cols_);
    std::size_t total = 0;
    for (std::size_t c = 0; c < n; ++c) total += cells[c].size();
    const std::size_t room = roomFor(total);
    const std::size_t words = 1 + cols_ + room / 4;
    std::uint32_t* b = alloc(words);
    b[0] = static_cast<std::uint32_t>(room);
    char* to = textOf(b, cols_);
    std::uint32_t pos = 0;
    for (std::size_t c = 0; c < n; ++c) {
        copyBytes(to + pos, cells[c]);
        pos += static_cast<std::uint32_t>(cells[c].size());
        b[c + 1] = pos;
    }
    std::fill(b + 1 + n, b + 1 + cols_, pos);
    rows_.push_back(b);
}

void TextRows::appendEmpty(std::size_t count) {
    const std::size_t words = 1 + cols_ + kSlackBytes / 4;
    for (std::size_t i = 0; i < count; ++i) {
        std::uint32_t* b = alloc(words);
        b[0] = kSlackBytes;
        std::fill(b + 1, b + 1 + cols_, 0u);
        rows_.push_back(b);
    }
}

void TextRows::truncate(std::size_t count) {
    if (count >= rows_.size()) return;
    // From the last row back: rows cut in the order they were added give their space back at once.
    for (std::size_t r = rows_.size(); r-- > count;) release(rows_[r]);
    rows_.resize(count);
    reclaim();
}

void TextRows::erase(std::size_t r) {
    release(rows_[r]);
    rows_.erase(rows_.begin() + static_cast<std::ptrdiff_t>(r));
    reclaim();
}

void TextRows::setCols(std::size_t n) {
    if (n == cols_) return;
    if (n < cols_) {
        // In place: the header shrinks, the texts kept move up, and the block's room grows by what was cut.
        const std::size_t cut = cols_ - n;
        for (std::uint32_t* b : rows_) {
            const std::uint32_t kept = usedOf(b, n);
            std::memmove(textOf(b, n), textOf(b, cols_), kept);
            b[0] += static_cast<std::uint32_t>(4 * cut);
        }
        cols_ = n;
        return;
    }
    const std::size_t added = n - cols_;
    // Rows short of room move first, still in the old shape, each at once:
    // a failure leaves a whole table. Then every row widens where it is.
    for (std::uint32_t*& b : rows_) {
        const std::uint32_t used = usedOf(b, cols_);
        if (b[0] - used >= 4 * added) continue;
        const std::size_t room = roomFor(used + 4 * added);
        const std::size_t words = 1 + cols_ + room / 4;
        std::uint32_t* nb = alloc(words);
        nb[0] = static_cast<std::uint32_t>(room);
        std::memcpy(nb + 1, b + 1, 4 * cols_ + used);
        release(b);
        b = nb;
    }
    for (std::uint32_t* b : rows_) {
        const std::uint32_t used = usedOf(b, cols_);
        std::memmove(textOf(b, n), textOf(b, cols_), used);
        std::fill(b + 1 + cols_, b + 1 + n, used);
        b[0] -= static_cast<std::uint32_t>(4 * added);
    }
    cols_ = n;
    reclaim();
}

void TextRows::reorder(std::size_t first, std::span<const int> from) {
    std::vector<std::uint32_t*> moved(from.size());
    for (std::size_t i = 0; i < from.size(); ++i) moved[i] = rows_[static_cast<std::size_t>(from[i])];
    std::copy(moved.begin(), moved.end(), rows_.begin() + static_cast<std::ptrdiff_t>(first));
}

std::size_t TextRows::liveWords() const {
    std::size_t used = 0;
    for (std::size_t i = 0; i < chunks_.size() && i <= cur_; ++i) used += chunks_[i].used;
    return used - garbage_;
}

void TextRows::reclaim() {
    if (garbage_ < kMinGarbageWords) return;
    const std::size_t live = liveWords();
    if (garbage_ <= live) return;
    try {
        compact(live);
    } catch (const std::bad_alloc&) {
        // Reclaiming is only a saving: without memory for it the table stays as it is.
    }
}

void TextRows::compact(std::size_t live) {
    const auto largest = std::max_element(chunks_.begin(), chunks_.end(),
                                          [](const Chunk& a, const Chunk& b) { return a.size < b.size; });
    if (largest != chunks_.end() && largest->size >= live) {
        // The rows left fit in one chunk (a grid emptied for a refill): they
        // go to its front and every chunk stays for the rows to come.
        std::unique_ptr<std::uint32_t[]> copy(new std::uint32_t[std::max<std::size_t>(live, 1)]);
        std::vector<std::size_t> sizes;
        sizes.reserve(rows_.size());
        std::size_t pos = 0;
        for (const std::uint32_t* b : rows_) {
            const std::size_t w = wordsOf(b, cols_);
            std::memcpy(copy.get() + pos, b, 4 * w);
            sizes.push_back(w);
            pos += w;
        }
        std::iter_swap(chunks_.begin(), largest);
        for (Chunk& ch : chunks_) ch.used = 0;
        std::uint32_t* to = chunks_.front().words.get();
        if (pos) std::memcpy(to, copy.get(), 4 * pos);
        for (std::size_t i = 0, at = 0; i < rows_.size(); at += sizes[i], ++i) rows_[i] = to + at;
        chunks_.front().used = pos;
        cur_ = 0;
        garbage_ = 0;
        return;
    }
    // Otherwise the rows are copied into new chunks and the old ones freed.
    std::vector<Chunk> old;
    old.swap(chunks_);
    const std::size_t oldCur = cur_, oldGarbage = garbage_, oldReserved = reserved_;
    cur_ = 0;
    garbage_ = 0;
    reserved_ = 0;
    std::vector<std::uint32_t*> moved;
    try {
        moved.reserve(rows_.size());
        for (const std::uint32_t* b : rows_) {
            const std::size_t w = wordsOf(b, cols_);
            std::uint32_t* nb = alloc(w);
            std::memcpy(nb, b, 4 * w);
            moved.push_back(nb);
        }
    } catch (...) {
        chunks_.swap(old);
        cur_ = oldCur;
        garbage_ = oldGarbage;
        reserved_ = oldReserved;
        throw;
    }
    rows_.swap(moved);
}

}  // namespace qv
