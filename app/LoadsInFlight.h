#pragma once

#include "platform/Task.h"

#include <QObject>

#include <coroutine>
#include <cstdint>
#include <map>
#include <vector>

class Pane;

// The loads under way into the full panes. A load is superseded by a later load into the same
// pane, or by clearing the panes: it then stops at its next statement, and what it read is not
// shown. While a pane is being loaded it takes no edits. Commands that read the panes (the
// comparisons, a save) wait until every load is in, so that they work on what the user will see.
class LoadsInFlight {
public:
    // Held by one load for as long as it runs.
    class Ticket {
    public:
        Ticket(LoadsInFlight& loads, Pane& pane, std::uint64_t serial);
        ~Ticket();
        Ticket(const Ticket&) = delete;
        Ticket& operator=(const Ticket&) = delete;

        // Whether no later load into the pane, and no clearing, has taken its place.
        bool Current() const;

    private:
        LoadsInFlight& loads_;
        Pane& pane_;
        std::uint64_t serial_;
    };

    Ticket Begin(Pane& pane);
    // Every load under way is superseded.
    void SupersedeAll();
    // Resumes the caller, among the window's later events, once no load is under way.
    Task<> Settled();
    bool Running() const { return running_ > 0; }

private:
    struct Slot {
        std::uint64_t serial = 0; // of the latest load into the pane
        int running = 0;
    };
    void End(Pane& pane);

    std::map<const Pane*, Slot> panes_;
    int running_ = 0;
    std::vector<std::coroutine_handle<>> waiting_;
    QObject waker_;
    friend class Ticket;
};
