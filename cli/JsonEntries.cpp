#include "cli/JsonEntries.h"

#include "cli/JsonWriter.h"

#include "compare/Lines.h"

using namespace std::string_view_literals;

namespace {

// Room for an entry beside its text: the names and two numbers.
constexpr std::size_t kEntryBytes = 64 + 2 * EntryBytes::kNumberBytes;

} // namespace

void JsonEntries::Entry(std::u16string_view a, std::u16string_view b, std::size_t, std::size_t,
                        EntryLine at) {
    if (!bytes_.Wanted())
        return;
    const bool lines = mode_ == CliOptions::Mode::Lines;
    const std::u16string_view text = lines ? compare::LineContent(a) : b;
    // Most texts are short: the whole entry goes into one room, with no check between its parts.
    const bool whole = text.size() <= EntryBytes::kPartUnits;
    char* out =
        bytes_.Reserve(kEntryBytes + (whole ? JsonWriter::kEscapedBytesPerUnit * text.size() : 0));
    out = EntryBytes::Put(out, first_ ? R"({"line":)"sv : R"(,{"line":)"sv);
    first_ = false;
    out = EntryBytes::Number(out, at.line);
    if (!lines) {
        out = EntryBytes::Put(out, R"(,"word":)"sv);
        out = EntryBytes::Number(out, at.word);
    }
    out = EntryBytes::Put(out, R"(,"text":")"sv);
    if (whole) {
        out = JsonWriter::PutEscaped(out, text);
    } else {
        bytes_.Done(out);
        bytes_.Json(text);
        out = bytes_.Reserve(2);
    }
    out = EntryBytes::Put(out, R"("})"sv);
    bytes_.Done(out);
    bytes_.FlushFull();
}
