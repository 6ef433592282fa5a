#pragma once

#include "cli/RuleChangeMap.h"

#include "compare/Prefetch.h"

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>
#include <vector>

// The pieces of valid UTF-8 text that the line comparison compares, cut from the bytes as they
// are, each content hashed once. Where UTF-8 is valid, two contents have equal bytes exactly when
// their UTF-16 units are equal, so the comparison needs no decoding.
//
// AsLoaded text is cut as a load leaves it: every CR LF, lone CR and lone LF is one line break,
// which the loaded text holds as CR LF, and a CR is appended. Cutting that at CR gives the first
// line alone, every later line behind the LF of the break before it, and one empty piece after
// the appended CR. Exact text is cut at every CR and nothing else; it has no pieces when it is
// empty. Either way a piece's content, what is compared, is the piece without one LF in front.
class ByteLines {
public:
    enum class Form { AsLoaded, Exact };

    // `bytes` must outlive this; for AsLoaded text, without its byte-order mark. Cutting stops
    // once the text has more than `maxPieces` pieces. With `changes`, a map of the same bytes, it
    // is marked as the text is cut, while each block is still in the cache, and each piece noted
    // as one the rules may change when the map marks a byte of its content (MayChange).
    ByteLines(std::string_view bytes, Form form, std::size_t maxPieces,
              RuleChangeMap* changes = nullptr);

    // Whether the text was cut to its end.
    bool Complete() const { return complete_; }
    std::size_t PieceCount() const { return pieces_; }
    // The piece's content: its bytes without one LF in front.
    std::string_view Content(std::size_t piece) const {
        const std::uint64_t start = cuts_[piece] >> 2;
        const std::uint64_t next = cuts_[piece + 1];
        return {bytes_.data() + start, static_cast<std::size_t>((next >> 2) - (next & 3) - start)};
    }
    // The piece begins with an LF: in AsLoaded text the LF of a break (all pieces but the first
    // and the last), in Exact text one that the file has there.
    bool AfterBreak(std::size_t piece) const {
        if (form_ == Form::AsLoaded)
            return piece > 0 && piece + 1 < pieces_;
        const std::uint64_t start = cuts_[piece] >> 2;
        return start > 0 && bytes_[start - 1] == '\n';
    }
    std::uint64_t Hash(std::size_t piece) const { return hashes_[piece]; }
    // Asks for where the piece stands and its hash ahead of their use.
    void Prefetch(std::size_t piece) const {
        TARNWICK_PREFETCH(&cuts_[piece]);
        TARNWICK_PREFETCH(&hashes_[piece]);
    }
    // Where a piece's content starts.
    std::uint64_t Place(std::size_t piece) const { return cuts_[piece] >> 2; }
    // Whether the content at `place` is `content`: its bytes are those, and a CR, a break or the
    // end follows them.
    bool HoldsAt(std::uint64_t place, std::string_view content) const {
        const std::size_t size = bytes_.size();
        const std::size_t end = place + content.size();
        if (end > size || std::memcmp(bytes_.data() + place, content.data(), content.size()) != 0)
            return false;
        return end == size || bytes_[end] == '\r' ||
               (form_ == Form::AsLoaded && bytes_[end] == '\n');
    }
    // Whether the map the text was cut with marks a byte of the piece's content: where it does
    // not, the rules leave the content as it is (false without a map).
    bool MayChange(std::size_t piece) const {
        return !changing_.empty() && (changing_[piece / 64] >> (piece % 64) & 1) != 0;
    }
    // How long the longest content is, in bytes.
    std::size_t LongestContent() const { return longest_; }
    Form TextForm() const { return form_; }
    bool NonAscii() const { return nonAscii_; }
    std::string_view Bytes() const { return bytes_; }
    // What the cuts and hashes take, in bytes, a piece (and with a map an eighth of a byte more).
    static constexpr std::size_t kBytesPerPiece = 2 * sizeof(std::uint64_t);

private:
    void Cut(RuleChangeMap* changes);
    void HashPieces(std::size_t from, std::size_t to, const RuleChangeMap* changes);

    std::string_view bytes_;
    Form form_;
    // Where each piece's content starts, shifted left by two, with the length of what comes before
    // it and after the content before (0, 1 or 2 bytes: a break, or in Exact text a CR and the LF
    // the content goes without) in the low bits; then the end, as a piece with nothing in front.
    // A content ends where the next one's break begins. An AsLoaded text's last piece starts at
    // the end, with nothing in front.
    std::vector<std::uint64_t> cuts_;
    std::vector<std::uint64_t> hashes_;
    std::vector<std::uint64_t> changing_; // a bit a piece, with a map (see MayChange)
    std::size_t pieces_ = 0;
    std::size_t maxPieces_;
    std::size_t longest_ = 0;
    bool nonAscii_ = false;
    bool complete_ = true;
};
