#include "cli/JsonResult.h"

#include "cli/JsonWriter.h"

void JsonResult::Entry(std::u16string_view a, std::u16string_view b, std::size_t, std::size_t,
                       EntryLine) {
    ++count_;
    if (!bytes_.Wanted())
        return; // only counted
    const std::size_t units = a.size() + b.size();
    if (units > EntryBytes::kPartUnits) {
        bytes_.Json(a);
        bytes_.Json(b);
    } else {
        char* out = bytes_.Reserve(JsonWriter::kEscapedBytesPerUnit * units);
        // A word's entry begins with the CR LF that ends the line before.
        out = a == u"\r\n" ? EntryBytes::Put(out, R"(\r\n)") : JsonWriter::PutEscaped(out, a);
        bytes_.Done(JsonWriter::PutEscaped(out, b));
    }
    bytes_.FlushFull();
}
