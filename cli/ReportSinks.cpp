#include "cli/ReportSinks.h"

#include "cli/JsonWriter.h"
#include "cli/ReportEntries.h"
#include "platform/Failure.h"

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

constexpr qsizetype kOutputBufferBytes = qsizetype{1} << 20;
constexpr std::size_t kListUnits = std::size_t{1} << 18;
constexpr qsizetype kKeptBlockBytes = qsizetype{1} << 20;

} // namespace

void ReportOutput::Write(QByteArrayView bytes) {
    if (buffer_.size() + bytes.size() > kOutputBufferBytes)
        Flush();
    if (bytes.size() >= kOutputBufferBytes) {
        if (std::fwrite(bytes.data(), 1, static_cast<std::size_t>(bytes.size()), out_) !=
            static_cast<std::size_t>(bytes.size()))
            throw Failure(u"the report could not be written"_s);
        return;
    }
    if (buffer_.capacity() < kOutputBufferBytes)
        buffer_.reserve(kOutputBufferBytes);
    buffer_.append(bytes);
}

void ReportOutput::Flush() {
    const auto size = static_cast<std::size_t>(buffer_.size());
    const bool written = std::fwrite(buffer_.constData(), 1, size, out_) == size;
    buffer_.resize(0); // keeps its room for the next bytes
    if (!written || std::fflush(out_) != 0)
        throw Failure(u"the report could not be written"_s);
}

bool KeptRoom::Take(qint64 bytes) {
    if (left_.fetch_sub(bytes) >= bytes)
        return true;
    left_ += bytes;
    return false;
}

void KeptBytes::Write(QByteArrayView bytes) {
    if (!complete_ || bytes.isEmpty())
        return;
    if (!room_.Take(bytes.size())) {
        Release();
        complete_ = false;
        return;
    }
    size_ += bytes.size();
    while (!bytes.isEmpty()) {
        if (blocks_.empty() || blocks_.back().size() == kKeptBlockBytes) {
            blocks_.emplace_back();
            blocks_.back().reserve(kKeptBlockBytes);
        }
        QByteArray& block = blocks_.back();
        const qsizetype fitting = std::min(bytes.size(), kKeptBlockBytes - block.size());
        block.append(bytes.first(fitting));
        bytes = bytes.sliced(fitting);
    }
}

void KeptBytes::WriteTo(ByteSink& out) const {
    for (const QByteArray& block : blocks_)
        out.Write(block);
}

void KeptBytes::Release() {
    room_.GiveBack(size_);
    size_ = 0;
    blocks_ = {};
}

char16_t* ListSink::Put(char16_t* out, std::u16string_view units) {
    if (units.size() > 32)
        return std::copy(units.begin(), units.end(), out);
    for (const char16_t unit : units)
        *out++ = unit;
    return out;
}

void ListSink::Entry(std::u16string_view a, std::u16string_view b, std::size_t, std::size_t) {
    ++count_;
    if (!wanted_)
        return; // only counted
    const std::size_t needed = used_ + a.size() + b.size();
    if (needed > list_.size())
        list_.resize(std::max(needed, kListUnits + 1024));
    char16_t* out = Put(Put(list_.data() + used_, a), b);
    used_ = static_cast<std::size_t>(out - list_.data());
    if (used_ >= kListUnits)
        Flush();
}

void ListSink::Flush() {
    if (used_ == 0)
        return;
    wanted_ = out_.Wants();
    if (!wanted_) { // only counted from now on
        list_ = {};
        used_ = 0;
        return;
    }
    const QStringView list(list_.data(), static_cast<qsizetype>(used_));
    if (style_ == Style::Readable) {
        out_.Write(ReportEntries::Convert(mode_, list, prefix_));
    } else {
        QByteArray escaped;
        JsonWriter::AppendEscaped(escaped, list);
        out_.Write(escaped);
    }
    used_ = 0;
    wanted_ = out_.Wants();
}

void MarkSink::Entry(std::u16string_view, std::u16string_view, std::size_t start,
                     std::size_t length) {
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
    if (!open_ || !out_.Wants())
        return;
    if (!first_)
        bytes_.append(',');
    first_ = false;
    bytes_.append('[').append(QByteArray::number(static_cast<qulonglong>(start_))).append(',');
    bytes_.append(QByteArray::number(static_cast<qulonglong>(end_ - start_))).append(']');
    open_ = false;
    if (bytes_.size() >= kOutputBufferBytes) {
        out_.Write(bytes_);
        bytes_.clear();
    }
}

void MarkSink::Finish() {
    Close();
    out_.Write(bytes_);
    bytes_.clear();
}
