#include "cli/PieceStream.h"

#include "cli/BreakScan.h"
#include "cli/MappedFile.h"

#include <QByteArrayView>

#include <algorithm>
#include <vector>

namespace {

constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
// Read bytes are let go this many at a time.
constexpr std::size_t kForgetBytes = std::size_t{64} << 20;

bool ValidUtf8(std::string_view bytes) {
    return QByteArrayView(bytes.data(), static_cast<qsizetype>(bytes.size())).isValidUtf8();
}

} // namespace

bool PieceStream::ForEach(const Each& each) const {
    const bool exact = form_ == ByteLines::Form::Exact;
    const char* const data = bytes_.data();
    const std::size_t size = bytes_.size();
    if (exact && size == 0)
        return true;
    const std::size_t base = static_cast<std::size_t>(data - file_.Bytes().data());
    std::vector<std::uint32_t> found(kBlockBytes);
    std::size_t start = 0;     // where the current piece starts
    std::size_t skipLf = size; // the LF of a CR LF, which is no break of its own
    std::size_t checked = 0;   // bytes known to be valid UTF-8
    std::size_t forgotten = 0;
    const auto emit = [&](std::size_t end) {
        std::size_t from = start;
        if (exact && from < end && data[from] == '\n')
            ++from; // a piece's content goes without one LF in front
        each(std::string_view(data + from, end - from), end);
    };
    for (std::size_t block = 0; block < size; block += kBlockBytes) {
        const std::size_t length = std::min(kBlockBytes, size - block);
        const break_scan::Found breaks =
            break_scan::Scan(data + block, length, exact, found.data());
        std::size_t lastBreak = block;
        for (std::size_t i = 0; i < breaks.count; ++i) {
            const std::size_t at = block + found[i];
            lastBreak = at;
            if (at == skipLf)
                continue;
            emit(at);
            start = at + 1;
            if (!exact && data[at] == '\r' && at + 1 < size && data[at + 1] == '\n') {
                skipLf = at + 1;
                start = at + 2;
            }
        }
        // Breaks are ASCII, so no character runs across one: what lies before the last is whole.
        if (lastBreak > checked) {
            if (!ValidUtf8(std::string_view(data + checked, lastBreak - checked)))
                return false;
            checked = lastBreak;
        }
        if (std::min(start, checked) >= forgotten + kForgetBytes) {
            forgotten = std::min(start, checked);
            file_.Forget(base + forgotten);
        }
    }
    if (!ValidUtf8(std::string_view(data + checked, size - checked)))
        return false;
    emit(size);
    if (!exact)
        each({}, size); // after the CR that a load appends
    return true;
}
