#pragma once

#include "files/DecodedText.h"

#include <QByteArray>

#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// One of the tool's files as the comparisons see it: the text a load button gives, with the CR the
// buttons append, or with `exact` the bytes as UTF-8 and nothing more. It is read once when opened
// and again for each reading, so that it is never held whole; a pipe or a device is kept as its
// bytes, as it can be read only once.
class InputText {
public:
    // `path` "-" is standard input. Throws Failure with a description for the user. Reading fails
    // at once when `stop` is set.
    InputText(const QByteArray& path, bool exact, const std::atomic<bool>& stop);
    ~InputText();

    // The text's length in UTF-16 units; for broken UTF-8, at most that.
    qsizetype Length() const;
    // How many CRs it holds; for UTF-16, at most that.
    qsizetype CRs() const;
    // How many bytes the file holds.
    qint64 FileBytes() const;
    // How many bytes are kept in memory of what cannot be read twice (a pipe's bytes).
    qint64 KeptBytes() const;
    // The whole text in one string.
    std::u16string ReadAll();
    // The whole text in one string, read for the last time: what was kept to read it again is
    // let go, and no reading may follow.
    std::u16string TakeAll();

    // One reading of the text, a chunk at a time; only one may be under way at once.
    class Reading {
    public:
        explicit Reading(InputText& text);
        ~Reading();
        // The next chunk, valid until the next call; empty at the end.
        std::u16string_view Next();
        std::u16string_view operator()() { return Next(); }

    private:
        InputText& text_;
        std::optional<DecodedText::Reader> reader_;
        bool ended_ = false;
    };

private:
    std::unique_ptr<DecodedText> text_;
    bool appendCR_;
};
