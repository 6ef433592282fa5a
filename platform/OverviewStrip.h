#pragma once

#include <QWidget>

#include <vector>

class Pane;
class PaneWidget;

// A thin strip beside a pane's scroll bar that marks where in the whole text the red differences
// are, so that one red line among a million still shows. Each pixel row stands for the stretch of
// text the scroll bar gives it and is marked when any of that stretch is red: a few hundred
// questions to the pane, however many differences it holds. A click scrolls there.
class OverviewStrip final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kWidth = 6;

    explicit OverviewStrip(PaneWidget& pane);

    // The text or its colours changed: the marks are worked out again when next drawn.
    void Stale();
    // Which pixel rows are marked, top to bottom (for tests): red ones, and those where only
    // lines or words that a comparison rule matched stand, in their own quiet colour.
    const std::vector<bool>& Marks();
    const std::vector<bool>& RuleMarks();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool event(QEvent* event) override;

private:
    void WorkOut();

    PaneWidget& pane_;
    std::vector<bool> marks_;
    std::vector<bool> ruleMarks_;
    bool stale_ = true;
};
