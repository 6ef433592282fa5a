#include "cli/LookalikeSinks.h"

#include "cli/JsonWriter.h"

QByteArray LookalikeKindNames(compare::LookalikeKinds kinds, bool quoted) {
    QByteArray names;
    for (const compare::LookalikeKind kind : compare::kLookalikeKinds) {
        if (!kinds.Has(kind))
            continue;
        if (!names.isEmpty())
            names.append(quoted ? "," : ", ");
        const std::string_view name = compare::LookalikeKindName(kind);
        if (quoted)
            names.append('"');
        names.append(name.data(), static_cast<qsizetype>(name.size()));
        if (quoted)
            names.append('"');
    }
    return names;
}

void ReadableLookalikes::Lookalike(const EntryLookalike& lookalike) {
    list_.Finish(); // the entry it belongs under goes first
    out_.Write("    looks like line " +
               QByteArray::number(static_cast<qulonglong>(lookalike.otherLine)) + " of " +
               otherName_ + ": " + LookalikeKindNames(lookalike.kinds, false) + "\n");
}

void JsonLookalikes::Lookalike(const EntryLookalike& lookalike) {
    if (!out_.Wants())
        return;
    if (!first_)
        bytes_.append(',');
    first_ = false;
    bytes_.append("{\"start\":");
    JsonWriter::AppendNumber(bytes_, lookalike.start);
    bytes_.append(",\"length\":");
    JsonWriter::AppendNumber(bytes_, lookalike.length);
    bytes_.append(",\"other_start\":");
    JsonWriter::AppendNumber(bytes_, lookalike.otherStart);
    bytes_.append(",\"other_length\":");
    JsonWriter::AppendNumber(bytes_, lookalike.otherLength);
    bytes_.append(",\"kinds\":[").append(LookalikeKindNames(lookalike.kinds, true)).append("]}");
    if (bytes_.size() >= kOutputBufferBytes) {
        out_.Write(bytes_);
        bytes_.clear();
    }
}

void JsonLookalikes::Finish() {
    out_.Write(bytes_);
    bytes_.clear();
}
