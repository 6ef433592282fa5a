#pragma once

#include <cstdint>
#include <initializer_list>
#include <memory>
#include <vector>

class Pane;

// What a job beside the window read from the panes: which panes, and the text each held then.
// What the job found may be applied, on the window's thread, only while its token holds: every
// pane is still there and holds that same text.
class PaneToken {
public:
    PaneToken(std::initializer_list<const Pane*> panes);

    bool Holds() const;

private:
    struct Read {
        std::weak_ptr<Pane*> pane;
        std::uint64_t generation;
    };
    std::vector<Read> read_;
};
