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

QByteArray LookalikeNote(std::size_t line, const QByteArray& otherName,
                         compare::LookalikeKinds kinds) {
    return "    looks like line " + QByteArray::number(static_cast<qulonglong>(line)) + " of " +
           otherName + ": " + LookalikeKindNames(kinds, false) + "\n";
}

void ReadableLookalikes::Lookalike(const EntryLookalike& lookalike) {
    list_.Finish(); // the entry it belongs under goes first
    out_.Write(LookalikeNote(lookalike.otherLine, otherName_, lookalike.kinds));
}

void JsonLookalikes::Lookalike(const EntryLookalike& lookalike) {
    if (!list_.Wanted())
        return;
    QByteArray& bytes = list_.Next();
    AppendPlaces(bytes, lookalike.start, lookalike.length,
                 std::pair{lookalike.otherStart, lookalike.otherLength});
    bytes.append(",\"kinds\":[").append(LookalikeKindNames(lookalike.kinds, true)).append("]}");
    list_.Done();
}

void JsonLookalikes::Finish() {
    list_.Flush();
}
