#include "cli/ReportSinks.h"

#include "compare/LineBreakUnits.h"
#include "platform/Failure.h"

#include <algorithm>
#include <span>

using namespace Qt::StringLiterals;

namespace {

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

qint64 KeptRoom::TakeUpTo(qint64 bytes) {
    qint64 left = left_.load();
    qint64 taken = 0;
    do
        taken = std::clamp<qint64>(left, 0, bytes);
    while (!left_.compare_exchange_weak(left, left - taken));
    return taken;
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

ListSink::ListSink(CliOptions::Mode mode, char prefix, ByteSink& out, std::size_t partUnits)
    : out_(out), partUnits_(std::max<std::size_t>(partUnits, 2)), entries_(mode, {}, prefix) {}

char16_t* ListSink::Put(char16_t* out, std::u16string_view units) {
    if (units.size() > 32)
        return std::copy(units.begin(), units.end(), out);
    for (const char16_t unit : units)
        *out++ = unit;
    return out;
}

void ListSink::Entry(std::u16string_view a, std::u16string_view b, std::size_t, std::size_t,
                     EntryLine) {
    ++count_;
    if (!wanted_)
        return; // only counted
    if (list_.empty())
        list_.resize(partUnits_);
    Add(a);
    Add(b);
}

void ListSink::Add(std::u16string_view units) {
    for (;;) {
        const std::size_t fitting = std::min(units.size(), partUnits_ - used_);
        Put(list_.data() + used_, units.substr(0, fitting));
        used_ += fitting;
        units.remove_prefix(fitting);
        if (units.empty())
            return;
        Flush(false);
        if (!wanted_)
            return;
    }
}

void ListSink::Flush(bool last) {
    wanted_ = out_.Wants();
    if (!wanted_) { // only counted from now on
        list_ = {};
        used_ = 0;
        return;
    }
    // A high surrogate may be half of a pair, and a CR half of a CR LF: the next part tells.
    std::size_t ready = used_;
    if (!last && ready > 0 && (QChar::isHighSurrogate(list_[ready - 1]) || list_[ready - 1] == kCR))
        --ready;
    WritePart(QStringView(list_.data(), static_cast<qsizetype>(ready)), last);
    std::copy(list_.begin() + static_cast<std::ptrdiff_t>(ready),
              list_.begin() + static_cast<std::ptrdiff_t>(used_), list_.begin());
    used_ -= ready;
    wanted_ = out_.Wants();
}

void ListSink::WritePart(QStringView part, bool last) {
    entries_.Continue(part, last);
    // Mostly ASCII: a byte a unit and one more an entry. Grown if that is not enough.
    const qsizetype expected = part.size() + part.size() / 4 + ReportEntries::kMinimumRoom;
    if (bytes_.size() < expected)
        bytes_.resize(expected);
    qsizetype size = 0;
    while (!entries_.AtEnd()) {
        if (bytes_.size() - size < ReportEntries::kMinimumRoom)
            bytes_.resize(2 * bytes_.size());
        size +=
            entries_.ConvertInto(std::span(bytes_.data() + size, bytes_.data() + bytes_.size()));
    }
    if (size > 0)
        out_.Write(QByteArrayView(bytes_.constData(), size));
}
