#pragma once

#include "cli/JsonWriter.h"
#include "cli/ReportSinks.h"

#include <QByteArray>

#include <cstddef>
#include <optional>
#include <utility>

// The objects of one JSON array as a report gives them, one at a time: the commas between them,
// and the bytes handed on a block at a time rather than an object at a time.
class JsonObjectList {
public:
    explicit JsonObjectList(ByteSink& out) : out_(out) {}

    // False once what is written is thrown away: the objects need not be made.
    bool Wanted() const { return out_.Wants(); }

    // The bytes to append the next object to, the comma before it already there.
    QByteArray& Next() {
        if (!first_)
            bytes_.append(',');
        first_ = false;
        return bytes_;
    }

    // After each object: hands the bytes on once a block has gathered.
    void Done() {
        if (bytes_.size() >= kOutputBufferBytes)
            Flush();
    }

    void Flush() {
        out_.Write(bytes_);
        bytes_.clear();
    }

private:
    ByteSink& out_;
    QByteArray bytes_;
    bool first_ = true;
};

// `{"start":S,"length":L,"other_start":S2,"other_length":L2`, where an object of the look-alikes or
// of the rule matches begins; the other place null when there is none.
inline void AppendPlaces(QByteArray& bytes, std::size_t start, std::size_t length,
                         std::optional<std::pair<std::size_t, std::size_t>> other) {
    bytes.append("{\"start\":");
    JsonWriter::AppendNumber(bytes, start);
    bytes.append(",\"length\":");
    JsonWriter::AppendNumber(bytes, length);
    if (!other) {
        bytes.append(",\"other_start\":null,\"other_length\":null");
        return;
    }
    bytes.append(",\"other_start\":");
    JsonWriter::AppendNumber(bytes, other->first);
    bytes.append(",\"other_length\":");
    JsonWriter::AppendNumber(bytes, other->second);
}
