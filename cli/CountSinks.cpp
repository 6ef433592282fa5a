#include "cli/CountSinks.h"

#include <utility>

ReadableCounts::ReadableCounts(char prefix, bool lineNumbers, QByteArray ownName,
                               QByteArray otherName, ByteSink& out)
    : prefix_(prefix), lineNumbers_(lineNumbers), ownName_(std::move(ownName)),
      otherName_(std::move(otherName)), bytes_(out) {}

void ReadableCounts::Counted(const CountedLine& line) {
    ++count_;
    if (!bytes_.Wanted())
        return; // only counted
    bytes_.Put(prefix_);
    bytes_.Put(' ');
    if (lineNumbers_) {
        bytes_.Number(line.line);
        bytes_.Put(": ");
    }
    bytes_.Number(line.here);
    bytes_.Put(kTimesIn);
    bytes_.Put(std::string_view(ownName_.constData(), std::size_t(ownName_.size())));
    bytes_.Put(", ");
    bytes_.Number(line.there);
    bytes_.Put(kTimesIn);
    bytes_.Put(std::string_view(otherName_.constData(), std::size_t(otherName_.size())));
    bytes_.Put(": ");
    bytes_.Readable(line.text);
    bytes_.Put('\n');
    bytes_.FlushFull();
}

void JsonCounts::Counted(const CountedLine& line) {
    ++count_;
    if (!bytes_.Wanted())
        return;
    bytes_.Put(count_ == 1 ? R"({"start":)" : R"(,{"start":)");
    bytes_.Number(line.start);
    bytes_.Put(R"(,"length":)");
    bytes_.Number(line.length);
    bytes_.Put(R"(,"here":)");
    bytes_.Number(line.here);
    bytes_.Put(R"(,"there":)");
    bytes_.Number(line.there);
    bytes_.Put(R"(,"line":)");
    bytes_.Number(line.line);
    bytes_.Put(R"(,"text":")");
    bytes_.Json(line.text);
    bytes_.Put(R"("})");
    bytes_.FlushFull();
}
