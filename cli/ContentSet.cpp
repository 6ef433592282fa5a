#include "cli/ContentSet.h"

#include <algorithm>
#include <cstring>

namespace {

constexpr std::size_t kFirstSlots = 1024;
constexpr std::size_t kBlockBytes = std::size_t{1} << 20;
// An empty content still needs an address that is not the empty slot's.
constexpr char kNothing[1] = {};

} // namespace

ContentSet::ContentSet(std::uint64_t expected)
    : slots_(std::max<std::size_t>(
          kFirstSlots,
          static_cast<std::size_t>(static_cast<double>(expected) * kSlotsPerContent))) {}

std::size_t ContentSet::Find(std::uint64_t hash, std::string_view content) const {
    for (std::size_t i = Home(hash);; i = i + 1 == slots_.size() ? 0 : i + 1) {
        const Slot& slot = slots_[i];
        if (slot.data == nullptr || (slot.hash == hash && slot.size == content.size() &&
                                     std::memcmp(slot.data, content.data(), content.size()) == 0))
            return i;
    }
}

bool ContentSet::Contains(std::uint64_t hash, std::string_view content) const {
    return slots_[Find(hash, content)].data != nullptr;
}

void ContentSet::Insert(std::uint64_t hash, std::string_view content) {
    Slot& slot = slots_[Find(hash, content)];
    if (slot.data != nullptr)
        return;
    slot = {hash, Keep(content), content.size()};
    if (static_cast<double>(++used_) * kSlotsPerContent > static_cast<double>(slots_.size()))
        Grow();
}

const char* ContentSet::Keep(std::string_view content) {
    if (content.empty())
        return kNothing;
    if (content.size() > blockLeft_) {
        const std::size_t size = std::max(kBlockBytes, content.size());
        blocks_.push_back(std::make_unique<char[]>(size));
        blockAt_ = blocks_.back().get();
        blockLeft_ = size;
    }
    std::memcpy(blockAt_, content.data(), content.size());
    const char* kept = blockAt_;
    blockAt_ += content.size();
    blockLeft_ -= content.size();
    return kept;
}

void ContentSet::Grow() {
    std::vector<Slot> old(slots_.size() * 2);
    old.swap(slots_);
    for (const Slot& slot : old) {
        if (slot.data == nullptr)
            continue;
        std::size_t i = Home(slot.hash);
        while (slots_[i].data != nullptr)
            i = i + 1 == slots_.size() ? 0 : i + 1;
        slots_[i] = slot;
    }
}
