#pragma once

#include "compare/FindUnit.h"
#include "compare/LineIndex.h"
#include "compare/Lines.h"

#include <cstdint>
#include <string_view>
#include <vector>

namespace compare {

// Both directions of the line comparison with one table, of the text with fewer pieces, for when
// there is no room for a table of each: the other text is read once, piece by piece, each looked
// up and the lines of the table it finds noted; the table's pieces never noted are the red ones of
// its own text. Beside the texts it takes the smaller text's index and a byte a piece of it.
//
// Calls missingFromFirst(Piece) for each piece of `first` that `second` lacks, in order, and
// missingFromSecond(Piece) likewise; the first text's pieces all come before the second's, or all
// after. `going(piecesDone)` is asked now and then; false stops the work where it stands.
class OneTableMembership {
public:
    // What it takes beside the texts, at most, for texts of these many pieces.
    static std::size_t Bytes(std::size_t firstPieces, std::size_t secondPieces) {
        return (std::min(firstPieces, secondPieces) + 1) * (kIndexBytesPerPiece + 1);
    }
    static constexpr std::size_t kIndexBytesPerPiece = 16;

    template <typename MissingFromFirst, typename MissingFromSecond, typename Going>
    static void Run(std::u16string_view first, std::u16string_view second,
                    MissingFromFirst&& missingFromFirst, MissingFromSecond&& missingFromSecond,
                    Going&& going) {
        if (CountCRs(second) <= CountCRs(first))
            RunIndexing(second, first, missingFromSecond, missingFromFirst, going);
        else
            RunIndexing(first, second, missingFromFirst, missingFromSecond, going);
    }

private:
    static constexpr std::size_t kSlice = std::size_t{1} << 14;

    static std::size_t CountCRs(std::u16string_view text) {
        std::size_t crs = 0;
        for (std::size_t at = FindUnit(text, kCR, 0); at < text.size();
             at = FindUnit(text, kCR, at + 1))
            ++crs;
        return crs;
    }

    // `indexed` is the text with fewer pieces, `read` the other.
    template <typename MissingFromIndexed, typename MissingFromRead, typename Going>
    static void RunIndexing(std::u16string_view indexed, std::u16string_view read,
                            MissingFromIndexed& missingFromIndexed,
                            MissingFromRead& missingFromRead, Going& going) {
        const LineIndex table(indexed);
        std::vector<std::uint8_t> found(table.PieceCount(), 0);
        std::size_t done = 0;
        if (!read.empty()) {
            for (std::size_t start = 0;; ++done) {
                if (done % kSlice == 0 && !going(done))
                    return;
                const std::size_t cr = FindUnit(read, kCR, start);
                const Piece piece{start, cr - start};
                if (const auto first =
                        table.FirstPieceWith(LineContent(read.substr(piece.start, piece.length))))
                    found[*first] = 1;
                else
                    missingFromRead(piece);
                if (cr == read.size())
                    break;
                start = cr + 1;
            }
        }
        for (std::size_t piece = 0; piece < table.PieceCount(); ++piece, ++done) {
            if (done % kSlice == 0 && !going(done))
                return;
            if (!found[table.FirstPieceLike(piece)])
                missingFromIndexed(table.PieceAt(piece));
        }
    }
};

} // namespace compare
