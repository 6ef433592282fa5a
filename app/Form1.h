#pragma once

#include "app/Desktop.h"
#include "app/Panes.h"
#include "platform/Pane.h"

#include <QCursor>
#include <QMainWindow>

#include <atomic>
#include <optional>

class GuardedProcedure;
class PaneWidget;
class QGroupBox;
class QPushButton;
class QRadioButton;

// The program's one window: its controls under their design names, its event procedures and the
// little state it keeps (the busy flag and the pointer). The texts and results live in the panes.
// The procedures are grouped by concern in their own files: start-up, pointer, display options,
// comparisons, and the file commands.
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
    void Form_Load();
    void Form_Resize();
    // Ends the process at once.
    void Form_Unload();
    void Form_MouseMove();

    void PushButton1_Click(); // find differences (lines)
    void PushButton2_Click(); // save results #1
    void PushButton3_Click(); // load text file #1
    void PushButton4_Click(); // load text file #2
    void PushButton5_Click(); // save results #2
    void PushButton6_Click(); // find differences (words)
    void PushButton7_Click(); // clear text above
    void PushButton9_Click(); // load sample files
    void Option1_Click();
    void Option2_Click();

    // Selects or clears an option from code. Selecting runs its click procedure, as a click
    // does, also when it is selected already; clearing runs nothing.
    void SetOptionValue(QRadioButton* option, bool value);

    // Files dropped on a full pane load into that side as its load button would.
    void LoadDroppedFiles(int side, const QStringList& paths);

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

    bool StartComparison(GuardedProcedure& proc);
    void SaveDisplayOptions();
    void ShowFullTexts(bool fullTexts);

    void ApplySkin();
    void VisitMakerSiteAtRandom();
    void SetApplicationTitle();

    void LoadSide(int side, bool fromDialog, const QStringList& dropped);
    void SaveSide(int side);

    Desktop desktop_;
    bool busy_ = false;
    bool optionWasSelected_ = false;   // the option being clicked was selected when pressed
    std::atomic<bool> cancel_ = false; // read by the comparison's work beside the window
    int mousePointer_ = 0;
    std::optional<QCursor> mouseIcon_;
    QWidget* client_ = nullptr;
    std::vector<std::pair<QStringView, QWidget*>> controls_;
};
