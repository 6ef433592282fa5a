// The line comparison, over whole texts and over texts in chunks, against its definition: a piece
// of one text (cut at CR, less one leading LF) is missing when no piece of the other equals it.
#include "FuzzInput.h"
#include "MissingPieces.h"
#include "PlainComparisons.h"
#include "compare/ContentHash.h"
#include "compare/LineSet.h"
#include "compare/PieceCutter.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

namespace {

using Text = std::u16string_view;

// Both directions through one set of `held`, read in chunks of `chunk` units.
void Streamed(Text held, Text read, std::size_t chunk, std::vector<std::size_t>& ofRead,
              std::vector<std::size_t>& ofHeld) {
    compare::LineSet set;
    const auto each = [&](Text text, auto&& piece) {
        compare::PieceCutter cutter;
        for (std::size_t at = 0; at < text.size(); at += chunk)
            cutter.Add(text.substr(at, chunk), piece);
        cutter.End(piece);
    };
    each(held, [&](Text piece, compare::Piece, bool) {
        const Text content = compare::LineContent(piece);
        set.Add(content, compare::ContentHash(content));
    });
    each(read, [&](Text piece, compare::Piece place, bool) {
        const Text content = compare::LineContent(piece);
        const std::size_t entry = set.Find(content, compare::ContentHash(content));
        if (entry == compare::LineSet::kNone)
            ofRead.push_back(place.start);
        else
            set.Mark(entry);
    });
    each(held, [&](Text piece, compare::Piece place, bool) {
        const Text content = compare::LineContent(piece);
        if (!set.Marked(set.Find(content, compare::ContentHash(content))))
            ofHeld.push_back(place.start);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr char16_t kAlphabet[] = {u'a', u'b', u'\r', u'\n', u' ', u'\u00e9', u'\u20ac'};
    const auto [chunk, texts] = TextsFrom(data, size, kAlphabet);
    for (int own = 0; own < 2; ++own) {
        std::vector<std::size_t> whole;
        for (const compare::Piece piece : MissingPieces(texts[own], texts[1 - own]))
            whole.push_back(piece.start);
        Check(whole == plain::MissingPieces(texts[own], texts[1 - own]));
    }
    std::vector<std::size_t> ofRead, ofHeld;
    Streamed(texts[1], texts[0], chunk, ofRead, ofHeld);
    Check(ofRead == plain::MissingPieces(texts[0], texts[1]));
    Check(ofHeld == plain::MissingPieces(texts[1], texts[0]));
    return 0;
}
