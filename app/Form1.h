#pragma once

#include "app/Desktop.h"
#include "app/LoadsInFlight.h"
#include "app/Panes.h"
#include "app/Product.h"
#include "app/SideNames.h"
#include "app/WindowRules.h"
#include "platform/Pane.h"
#include "platform/Task.h"

#include <QCursor>
#include <QMainWindow>

#include <atomic>
#include <optional>

class GuardedProcedure;
class PaneWidget;
class QAction;
class QGroupBox;
class QPushButton;
class QRadioButton;

// The program's one window: its controls under their design names, its event procedures and the
// little state it keeps (the busy flag, the pointer, the loads under way). The texts and results
// live in the panes. The procedures are grouped by concern in their own files: start-up, pointer,
// display options, comparisons, and the file commands. A procedure that waits (for work beside
// the window, for the user to answer a box) is a coroutine: a click starts it, and it resumes
// from the window's event loop, so no event is ever handled inside another's procedure.
class Form1 final : public QMainWindow {
    Q_OBJECT

public:
    explicit Form1(const Desktop& desktop, QWidget* parent = nullptr);
    ~Form1() override;

    // The panes, as the procedures see them.
    Pane RichTextBox1, RichTextBox2, RichTextBox3, RichTextBox4;
    Panes panes{RichTextBox1, RichTextBox2, RichTextBox3, RichTextBox4};

    QGroupBox* Frame1 = nullptr;
    QGroupBox* Frame2 = nullptr;
    QGroupBox* Frame3 = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton2 = nullptr;
    QPushButton* PushButton3 = nullptr;
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton5 = nullptr;
    QPushButton* PushButton6 = nullptr;
    QPushButton* PushButton7 = nullptr;
    QPushButton* PushButton9 = nullptr;
    QRadioButton* Option1 = nullptr;
    QRadioButton* Option2 = nullptr;
    FileDialog& CommonDialog1;

    PaneWidget* ViewOf(const Pane& pane) const;
    QWidget* Control(QStringView name) const;

    int MousePointer() const { return mousePointer_; }
    void SetMousePointer(int pointer);
    bool Busy() const { return busy_; }
    // Stops a running comparison (Esc): what it found so far stays, and no "Done." follows.
    void CancelComparison();

    // Start-up, before the window is first shown.
    Task<> Form_Load();
    void Form_Resize();
    // Ends the process at once.
    void Form_Unload();
    void Form_MouseMove();

    Task<> PushButton1_Click(); // find differences (lines)
    Task<> PushButton2_Click(); // save results #1
    Task<> PushButton3_Click(); // load text file #1
    Task<> PushButton4_Click(); // load text file #2
    Task<> PushButton5_Click(); // save results #2
    Task<> PushButton6_Click(); // find differences (words)
    Task<> PushButton7_Click(); // clear text above
    Task<> PushButton9_Click(); // load sample files
    void Option1_Click();
    void Option2_Click();

    // Selects or clears an option from code. Selecting runs its click procedure, as a click
    // does, also when it is selected already; clearing runs nothing.
    void SetOptionValue(QRadioButton* option, bool value);

    // Files dropped on a full pane load into that side as its load button would.
    Task<> LoadDroppedFiles(int side, const QStringList& paths);

    // What each side holds, as the caption and the panes' tooltips tell it.
    const SideName& NameOf(int side) const { return sides_[side - 1]; }
    // F8 and Shift+F8 (Alt+Down, Alt+Up): the next or previous red stretch of the full pane that
    // has the focus, or else of the side whose pane had it last (side 1 at first).
    void GoToDifference(bool forward);

    // What counts as no difference in the comparisons: none unless chosen (RulesCommand).
    const WindowRules& Rules() const { return rules_; }
    // The rules for this run, as the command line gives them: not remembered.
    void UseRules(WindowRules rules);
    // The "Comparison Rules" dialog; what the user accepts is used and remembered.
    Task<> ChooseRules();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void CreateControls();
    void WireEvents();
    void WatchPointer(QWidget* control, bool isButton);
    void ApplyPointer();
    void PointerOverButton();
    void PointerReset();

    Task<bool> StartComparison(GuardedProcedure& proc);
    void SaveDisplayOptions();
    void ShowFullTexts(bool fullTexts);

    void ApplySkin();
    void VisitMakerSiteAtRandom();
    void SetApplicationTitle();

    Task<> LoadSide(int side, bool fromDialog, QStringList dropped);
    void WatchSides();
    void SideTextChanged(int side, bool byUser);
    void SetSideFile(int side, const QString& path);
    void ShowSideNames();
    Task<> SaveSide(int side);

    // Finding one's way: line numbers, from a list's entry to its place and back (PaneNavigation).
    void WirePaneNavigation();
    void ShowLineNumbers(bool show);
    void SwitchLineNumbers(bool show);
    void ShowEntry(Pane& full, TextRange entry);
    void BackToLists();
    void WireRules();

    Desktop desktop_;
    bool busy_ = false;
    bool optionWasSelected_ = false;   // the option being clicked was selected when pressed
    std::atomic<bool> cancel_ = false; // read by the comparison's work beside the window
    LoadsInFlight loads_;
    SideName sides_[2];
    WindowRules rules_;
    QString namedTitle_{Product::kName}; // the caption the sides' names last made
    int lastSide_ = 1;                   // the side whose pane last had the focus
    int mousePointer_ = 0;
    std::optional<QCursor> mouseIcon_;
    QWidget* client_ = nullptr;
    QAction* lineNumbers_ = nullptr;
    std::vector<std::pair<QStringView, QWidget*>> controls_;
};
