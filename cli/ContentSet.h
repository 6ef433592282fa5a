#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

// Distinct line contents, held by their bytes and found by their hash: a content is in the set
// when one with the same hash has the same bytes. Each content is held once however often it is
// inserted, so a bucket of many repeats takes the room of one.
class ContentSet {
public:
    // What a slot of the table takes.
    static constexpr std::uint64_t kSlotBytes = 24;
    // Slots for each content expected, at least: the table never holds more than this share.
    static constexpr double kSlotsPerContent = 1.5;

    // Room for `expected` contents is made at once, so that the table seldom has to grow.
    explicit ContentSet(std::uint64_t expected = 0);
    void Insert(std::uint64_t hash, std::string_view content);
    bool Contains(std::uint64_t hash, std::string_view content) const;

private:
    struct Slot {
        std::uint64_t hash = 0;
        const char* data = nullptr; // nullptr: empty
        std::uint64_t size = 0;
    };
    static_assert(sizeof(Slot) == kSlotBytes);

    std::size_t Home(std::uint64_t hash) const {
        // The hash's low half scaled to the table, of any size.
        return static_cast<std::size_t>(((hash & 0xFFFF'FFFFull) * slots_.size()) >> 32);
    }
    // The slot that holds `content`, or the empty one where it would go.
    std::size_t Find(std::uint64_t hash, std::string_view content) const;
    const char* Keep(std::string_view content);
    void Grow();

    std::vector<Slot> slots_;
    std::size_t used_ = 0;
    std::vector<std::unique_ptr<char[]>> blocks_;
    std::size_t blockLeft_ = 0;
    char* blockAt_ = nullptr;
};
