#pragma once

#include "platform/InputFile.h"
#include "platform/TextFileForm.h"

#include <QByteArray>
#include <QString>
#include <QStringView>

#include <functional>
#include <memory>
#include <optional>

// A file's text, handed out a piece at a time and as often as asked, so that neither its bytes
// nor its text need be held whole. The first reading learns the encoding and the text's length;
// every later one decodes the file again. What cannot be read twice is kept: a stream (a pipe or
// a device) as its bytes, rich text, which is read whole, as its text.
//
// AsLoaded gives the text as a pane shows a loaded file, every line break as CR LF:
// - rich text (starting with "{\rtf") gives its plain text;
// - a UTF-8 or UTF-16 (LE or BE) byte-order mark selects that encoding and is dropped;
// - otherwise valid UTF-8 is read as UTF-8, anything else as Windows-1252.
// Exact gives the bytes as UTF-8 and nothing more: line breaks as they are, a byte-order mark as
// U+FEFF. Either way bytes that are invalid in the encoding read as U+FFFD.
class DecodedText {
public:
    enum class Form { AsLoaded, Exact };

    // Reads the file once. Throws Failure when it cannot be read or holds more than `maxBytes`.
    DecodedText(std::unique_ptr<InputFile> file, Form form, qint64 maxBytes,
                qsizetype chunkBytes = kChunkBytes);
    // Over bytes already in memory.
    DecodedText(QByteArray bytes, Form form, qsizetype chunkBytes = kChunkBytes);
    ~DecodedText();
    DecodedText(const DecodedText&) = delete;
    DecodedText& operator=(const DecodedText&) = delete;

    // The text's length; for broken UTF-8, at most that.
    qsizetype Length() const;
    // How many CRs the text holds; for UTF-16, at most that.
    qsizetype CRs() const;
    // How many bytes the file holds.
    qint64 FileBytes() const;
    // How many bytes it keeps of what cannot be read twice: a stream's bytes, rich text's text.
    qint64 KeptBytes() const;
    // Lets go of what it keeps, once the last reading is done: no reading may follow.
    void Release();
    // How the file holds its text: its encoding, its byte-order mark and its kind of line break.
    // For a file that mixes kinds, mixedBreaks is set and a reading notes each break (below).
    TextFileForm FileForm() const;

    // One reading of the text, from its start, a piece of about a chunk at a time. Only one
    // reading of a text may be under way at once.
    class Reader {
    public:
        // With `eachBreak`, the reading notes there the kind of each line break as the file has
        // it (for AsLoaded text, but rich text).
        explicit Reader(DecodedText& text, LineBreakKinds* eachBreak = nullptr);
        ~Reader();
        Reader(const Reader&) = delete;
        Reader& operator=(const Reader&) = delete;
        // The next piece; empty at the end. It stays valid until the next call. Throws Failure
        // when the file cannot be read again, or no longer holds what it held.
        QStringView Next();

    private:
        struct State;
        // The next chunk decoded, which may be empty; nothing at the end.
        std::optional<QStringView> Decode();
        DecodedText& text_;
        std::unique_ptr<State> state_;
    };

    // Calls piece() with the whole text, in order, in pieces of about a chunk.
    void Read(const std::function<void(QStringView)>& piece, LineBreakKinds* eachBreak = nullptr);
    // The whole text in one string.
    QString ReadAll(LineBreakKinds* eachBreak = nullptr);

    static constexpr qsizetype kChunkBytes = qsizetype{1} << 16;

private:
    class Bytes;
    struct Plan;

    void Survey();

    std::unique_ptr<Bytes> bytes_;
    std::unique_ptr<Plan> plan_;
    QString kept_; // rich text, read whole
};
