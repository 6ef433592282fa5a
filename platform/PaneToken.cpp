#include "platform/PaneToken.h"

#include "platform/Pane.h"

#include <algorithm>

PaneToken::PaneToken(std::initializer_list<const Pane*> panes) {
    for (const Pane* pane : panes)
        read_.push_back({pane->Lifetime(), pane->TextGeneration()});
}

bool PaneToken::Holds() const {
    return std::all_of(read_.begin(), read_.end(), [](const Read& read) {
        const std::shared_ptr<Pane*> pane = read.pane.lock();
        return pane && (*pane)->TextGeneration() == read.generation;
    });
}
