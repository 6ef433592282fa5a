#include "cli/LookalikeSinks.h"

namespace {

constexpr qsizetype kJsonBufferBytes = qsizetype{1} << 20;

QByteArray Number(std::size_t value) {
    return QByteArray::number(static_cast<qulonglong>(value));
}

} // namespace

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
    out_.Write("    looks like line " + Number(lookalike.otherLine) + " of " + otherName_ + ": " +
               LookalikeKindNames(lookalike.kinds, false) + "\n");
}

void JsonLookalikes::Lookalike(const EntryLookalike& lookalike) {
    if (!out_.Wants())
        return;
    if (!first_)
        bytes_.append(',');
    first_ = false;
    bytes_.append("{\"start\":").append(Number(lookalike.start));
    bytes_.append(",\"length\":").append(Number(lookalike.length));
    bytes_.append(",\"other_start\":").append(Number(lookalike.otherStart));
    bytes_.append(",\"other_length\":").append(Number(lookalike.otherLength));
    bytes_.append(",\"kinds\":[").append(LookalikeKindNames(lookalike.kinds, true)).append("]}");
    if (bytes_.size() >= kJsonBufferBytes) {
        out_.Write(bytes_);
        bytes_.clear();
    }
}

void JsonLookalikes::Finish() {
    out_.Write(bytes_);
    bytes_.clear();
}
