// Finding one's way among the differences: line numbers in the panes, from an entry of a list to
// its place in the full text, and back to the lists.
#include "app/Form1.h"
#include "app/LineNumbersSetting.h"
#include "platform/Failure.h"
#include "platform/PaneWidget.h"

#include <QAction>
#include <QRadioButton>

void Form1::WirePaneNavigation() {
    lineNumbers_ = new QAction(tr("Line Numbers"), this);
    lineNumbers_->setCheckable(true);
    connect(lineNumbers_, &QAction::triggered, this, &Form1::SwitchLineNumbers);
    auto* back = new QAction(tr("Back to the Lists"), this);
    back->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_L));
    addAction(back); // Ctrl+L, wherever the focus is in the window
    connect(back, &QAction::triggered, this, &Form1::BackToLists);
    const std::pair<Pane*, Pane*> sides[] = {{&RichTextBox1, &RichTextBox3},
                                             {&RichTextBox2, &RichTextBox4}};
    for (const auto& [full, list] : sides) {
        PaneWidget* fullView = ViewOf(*full);
        PaneWidget* listView = ViewOf(*list);
        fullView->addAction(lineNumbers_);
        fullView->addAction(back);
        listView->addAction(lineNumbers_);
        listView->ListEntriesOf(*full);
        connect(listView, &PaneWidget::EntryActivated, this,
                [this, full](qsizetype position, qsizetype length) {
                    ShowEntry(*full, {position, length});
                });
    }
}

void Form1::ShowLineNumbers(bool show) {
    for (const Pane* pane : {&RichTextBox1, &RichTextBox2, &RichTextBox3, &RichTextBox4})
        ViewOf(*pane)->ShowLineNumbers(show);
    lineNumbers_->setChecked(show);
}

// The user's switch, remembered; a setting that cannot be stored still switches the panes.
void Form1::SwitchLineNumbers(bool show) {
    ShowLineNumbers(show);
    try {
        LineNumbersSetting::Save(desktop_.settings, show);
    } catch (const Failure&) {
    }
}

// The full texts, as the first display option shows them, with the entry selected in the middle
// of its pane.
void Form1::ShowEntry(Pane& full, TextRange entry) {
    try {
        SetOptionValue(Option1, true);
    } catch (const Failure&) {
        ShowFullTexts(true);
    }
    PaneWidget* view = ViewOf(full);
    full.Select(entry.start, entry.End());
    view->setFocus();
    view->ShowStretch(entry, PaneWidget::Placing::Middle);
}

// The lists, as the second display option shows them; the list of the text that had the focus
// takes it.
void Form1::BackToLists() {
    const QWidget* focused = focusWidget();
    try {
        SetOptionValue(Option2, true);
    } catch (const Failure&) {
        ShowFullTexts(false);
    }
    if (focused == ViewOf(RichTextBox1))
        ViewOf(RichTextBox3)->setFocus();
    else if (focused == ViewOf(RichTextBox2))
        ViewOf(RichTextBox4)->setFocus();
}
