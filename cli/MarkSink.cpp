#include "cli/MarkSink.h"

using namespace std::string_view_literals;

void MarkSink::Entry(std::u16string_view, std::u16string_view, std::size_t start,
                     std::size_t length, EntryLine) {
    if (length == 0)
        return;
    if (open_ && start == end_) {
        end_ += length;
        return;
    }
    Close();
    start_ = start;
    end_ = start + length;
    open_ = true;
}

void MarkSink::Close() {
    if (!open_ || !bytes_.Wanted())
        return;
    char* out = bytes_.Reserve(4 + 2 * EntryBytes::kNumberBytes);
    out = EntryBytes::Put(out, first_ ? "["sv : ",["sv);
    first_ = false;
    out = EntryBytes::Number(out, start_);
    *out++ = ',';
    out = EntryBytes::Number(out, end_ - start_);
    *out++ = ']';
    bytes_.Done(out);
    open_ = false;
    bytes_.FlushFull();
}

void MarkSink::Finish() {
    Close();
    bytes_.Flush();
}
