#include "compare/LineSet.h"

#include <algorithm>
#include <cstring>
#include <stdexcept>

namespace compare {

namespace {

constexpr std::size_t kFirstSlots = 1024;

bool FitsInBytes(std::u16string_view content) {
    return std::all_of(content.begin(), content.end(), [](char16_t unit) { return unit < 0x100; });
}

} // namespace

LineSet::LineSet(bool numbered) : slots_(kFirstSlots, 0), numbered_(numbered) {}

std::size_t LineSet::MemoryBytes() const {
    return store_.capacity() + slots_.capacity() * sizeof(std::uint64_t);
}

std::size_t LineSet::Store(std::u16string_view content) {
    const std::size_t entry = store_.size();
    const bool wide = !FitsInBytes(content);
    const auto put = [&](std::uint64_t value) {
        for (;;) {
            const auto low = static_cast<unsigned char>(value & 0x7F);
            value >>= 7;
            store_.push_back(value != 0 ? low | 0x80 : low);
            if (value == 0)
                break;
        }
    };
    put(std::uint64_t{content.size()} << 2 | (wide ? 2 : 0));
    if (numbered_)
        put(count_);
    if (wide) {
        const auto* bytes = reinterpret_cast<const unsigned char*>(content.data());
        store_.insert(store_.end(), bytes, bytes + content.size() * sizeof(char16_t));
    } else {
        for (const char16_t unit : content)
            store_.push_back(static_cast<unsigned char>(unit));
    }
    if (store_.size() >= std::numeric_limits<std::uint32_t>::max())
        throw std::length_error("Too many different lines to compare");
    return entry;
}

namespace {

std::uint64_t Varint(const unsigned char*& at) {
    std::uint64_t value = 0;
    for (int shift = 0;; shift += 7) {
        value |= std::uint64_t{*at & 0x7Fu} << shift;
        if ((*at++ & 0x80) == 0)
            return value;
    }
}

} // namespace

std::uint64_t LineSet::Header(std::size_t entry, const unsigned char*& at) const {
    at = store_.data() + entry;
    const std::uint64_t header = Varint(at);
    if (numbered_)
        Varint(at);
    return header;
}

std::uint32_t LineSet::Number(std::size_t entry) const {
    const unsigned char* at = store_.data() + entry;
    Varint(at);
    return static_cast<std::uint32_t>(Varint(at));
}

std::u16string LineSet::Content(std::size_t entry) const {
    const unsigned char* at = nullptr;
    const std::uint64_t header = Header(entry, at);
    std::u16string content(static_cast<std::size_t>(header >> 2), u'\0');
    if ((header & 2) != 0)
        std::memcpy(content.data(), at, content.size() * sizeof(char16_t));
    else
        std::copy(at, at + content.size(), content.begin());
    return content;
}

bool LineSet::Holds(std::size_t entry, std::u16string_view content) const {
    const unsigned char* at = nullptr;
    const std::uint64_t header = Header(entry, at);
    if ((header >> 2) != content.size())
        return false;
    if ((header & 2) != 0)
        return std::memcmp(at, content.data(), content.size() * sizeof(char16_t)) == 0;
    for (const char16_t unit : content)
        if (unit != *at++)
            return false;
    return true;
}

std::size_t LineSet::Add(std::u16string_view content, std::uint32_t hash) {
    for (std::size_t i = HomeSlot(hash);; i = (i + 1) & (slots_.size() - 1)) {
        const std::uint64_t slot = slots_[i];
        if (slot == 0) {
            const std::size_t entry = Store(content);
            slots_[i] = std::uint64_t{hash} << 32 | (entry + 1);
            if (++count_ * 4 > slots_.size() * 3)
                Grow();
            return entry;
        }
        if ((slot >> 32) == hash && Holds((slot & 0xFFFFFFFFu) - 1, content))
            return (slot & 0xFFFFFFFFu) - 1;
    }
}

std::size_t LineSet::Find(std::u16string_view content, std::uint32_t hash) const {
    for (std::size_t i = HomeSlot(hash);; i = (i + 1) & (slots_.size() - 1)) {
        const std::uint64_t slot = slots_[i];
        if (slot == 0)
            return kNone;
        if ((slot >> 32) == hash && Holds((slot & 0xFFFFFFFFu) - 1, content))
            return (slot & 0xFFFFFFFFu) - 1;
    }
}

void LineSet::Grow() {
    std::vector<std::uint64_t> old(slots_.size() * 2, 0);
    old.swap(slots_);
    const std::size_t mask = slots_.size() - 1;
    for (const std::uint64_t slot : old) {
        if (slot == 0)
            continue;
        std::size_t i = (slot >> 32) & mask;
        while (slots_[i] != 0)
            i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

} // namespace compare
