#include "cli/InputText.h"

#include "cli/CliOptions.h"
#include "cli/StandardInput.h"
#include "files/TextFileReading.h"
#include "platform/Failure.h"
#include "platform/LargePages.h"
#include "platform/LocalFiles.h"

#include <QFile>

namespace {

// A file whose reading fails as soon as the tool has given up on the comparison.
class StoppableFile final : public InputFile {
public:
    StoppableFile(std::unique_ptr<InputFile> file, const std::atomic<bool>& stop)
        : file_(std::move(file)), stop_(stop) {}

    std::size_t Read(char* data, std::size_t size) override {
        if (stop_.load(std::memory_order_relaxed))
            throw Failure(QStringLiteral("Stopped"));
        return file_->Read(data, size);
    }
    qint64 SizeHint() const override { return file_->SizeHint(); }
    void Rewind() override { file_->Rewind(); }

private:
    std::unique_ptr<InputFile> file_;
    const std::atomic<bool>& stop_;
};

} // namespace

InputText::InputText(const QByteArray& path, bool exact, const std::atomic<bool>& stop)
    : appendCR_(!exact) {
    auto file = path == kStandardInput ? OpenStandardInput()
                                       : LocalFiles::OpenForReading(path, QFile::decodeName(path),
                                                                    LocalFiles::Accept::Streams);
    text_ = std::make_unique<DecodedText>(
        std::make_unique<StoppableFile>(std::move(file), stop),
        exact ? DecodedText::Form::Exact : DecodedText::Form::AsLoaded, kMaxTextFileBytes);
}

InputText::~InputText() = default;

qsizetype InputText::Length() const {
    return text_->Length() + (appendCR_ ? 1 : 0);
}

qsizetype InputText::CRs() const {
    return text_->CRs() + (appendCR_ ? 1 : 0);
}

qint64 InputText::FileBytes() const {
    return text_->FileBytes();
}

qint64 InputText::KeptBytes() const {
    return text_->KeptBytes();
}

std::u16string InputText::TakeAll() {
    std::u16string text = ReadAll();
    text_->Release();
    return text;
}

std::u16string InputText::ReadAll() {
    std::u16string text;
    text.reserve(static_cast<std::size_t>(Length()));
    AdviseLargePages(text.data(), text.capacity() * sizeof(char16_t));
    Reading reading(*this);
    for (std::u16string_view chunk = reading.Next(); !chunk.empty(); chunk = reading.Next())
        text.append(chunk);
    return text;
}

InputText::Reading::Reading(InputText& text) : text_(text) {
    reader_.emplace(*text.text_);
}

InputText::Reading::~Reading() = default;

std::u16string_view InputText::Reading::Next() {
    if (ended_)
        return {};
    const QStringView piece = reader_->Next();
    if (!piece.isEmpty())
        return {reinterpret_cast<const char16_t*>(piece.utf16()),
                static_cast<std::size_t>(piece.size())};
    ended_ = true;
    return text_.appendCR_ ? std::u16string_view(u"\r") : std::u16string_view();
}
