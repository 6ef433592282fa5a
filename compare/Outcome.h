#pragma once

namespace RTB {

// How a comparison ended.
enum class Outcome {
    Finished,
    Interrupted, // a full pane was given a new text while it ran: what it found no longer fits
    Cancelled,   // the user asked it to stop: what it found so far is shown
};

} // namespace RTB
