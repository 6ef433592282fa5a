// What the window tells of each side as its text changes: the names in the caption and in the
// panes' tooltips, and red marks that no longer fit the texts they were made from.
#include "app/Form1.h"
#include "app/Product.h"

using namespace Qt::StringLiterals;

void Form1::WatchSides() {
    RichTextBox1.SetTextListener([this](bool byUser) { SideTextChanged(1, byUser); });
    RichTextBox2.SetTextListener([this](bool byUser) { SideTextChanged(2, byUser); });
}

// An emptied side holds nothing; what the user types or pastes into an empty side is typed text
// (the CR that every load appends is not). The marks of both sides were made from the texts as
// they were: they stay, faded.
void Form1::SideTextChanged(int side, bool byUser) {
    const Pane& pane = side == 1 ? RichTextBox1 : RichTextBox2;
    SideName& name = sides_[side - 1];
    if (pane.Length() == 0)
        name = {};
    else if (byUser && name.kind == SideName::Kind::Empty)
        name = {SideName::Kind::Typed, {}};
    const QString note =
        u"From before Text File #%1 changed: run Find Differences again"_s.arg(side);
    RichTextBox1.SetStale(note);
    RichTextBox2.SetStale(note);
    ShowSideNames();
}

void Form1::SetSideFile(int side, const QString& path) {
    sides_[side - 1] = {SideName::Kind::File, path};
    ShowSideNames();
}

// The caption is start-up's to set until a side holds something.
void Form1::ShowSideNames() {
    const QString active = ActiveRulesPhrase(rules_);
    const QString title = WindowTitle(sides_[0], sides_[1], Product::kName) +
                          (active.isEmpty() ? QString() : u" ("_s + active + u")"_s);
    if (title != namedTitle_)
        setWindowTitle(namedTitle_ = title);
    for (const auto& [side, full, result] : {std::tuple{0, &RichTextBox1, &RichTextBox3},
                                             std::tuple{1, &RichTextBox2, &RichTextBox4}}) {
        full->SetOrigin(sides_[side].Origin());
        result->SetOrigin(sides_[side].Origin());
    }
}
