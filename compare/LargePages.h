#pragma once

#include <cstddef>

namespace compare {

// Asks the system to back a large buffer, about to be written from one end to the other, with
// large pages where it offers them: a word comparison writes hundreds of megabytes of fresh
// memory, and taking it in 2 MiB pages instead of 4 KiB ones saves most of the cost of first
// touching it. Only a hint: the contents are unchanged, and where it is not offered nothing
// happens. Buffers too small to hold an aligned large page are left alone.
void AdviseLargePages(const void* data, std::size_t bytes);

} // namespace compare
