#include "cli/JsonEntries.h"

#include "compare/Lines.h"

void JsonEntries::Entry(std::u16string_view a, std::u16string_view b, std::size_t, std::size_t,
                        EntryLine at) {
    if (!bytes_.Wanted())
        return;
    bytes_.Put(first_ ? R"({"line":)" : R"(,{"line":)");
    first_ = false;
    bytes_.Number(at.line);
    if (mode_ == CliOptions::Mode::Lines) {
        bytes_.Put(R"(,"text":")");
        bytes_.Json(compare::LineContent(a));
    } else {
        bytes_.Put(R"(,"word":)");
        bytes_.Number(at.word);
        bytes_.Put(R"(,"text":")");
        bytes_.Json(b);
    }
    bytes_.Put(R"("})");
    bytes_.FlushFull();
}
