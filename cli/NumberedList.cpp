#include "cli/NumberedList.h"

#include "compare/Lines.h"

void NumberedList::Entry(std::u16string_view a, std::u16string_view b, std::size_t, std::size_t,
                         EntryLine at) {
    ++count_;
    if (!bytes_.Wanted())
        return; // only counted
    bytes_.Put(prefix_);
    bytes_.Put(' ');
    bytes_.Number(at.line);
    bytes_.Put(": ");
    bytes_.Readable(mode_ == CliOptions::Mode::Lines ? compare::LineContent(a) : b);
    bytes_.Put('\n');
    bytes_.FlushFull();
}
