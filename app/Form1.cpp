#include "app/Form1.h"

#include "app/FormLayout.h"
#include "app/MousePointer.h"
#include "platform/PaneWidget.h"

#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QShortcut>

#include <algorithm>

using namespace Qt::StringLiterals;

namespace {

QFont ArialBold(double points) {
    QFont font(u"Arial"_s);
    font.setPointSizeF(points);
    font.setBold(true);
    return font;
}

void PaintWhite(QWidget* widget, QPalette::ColorRole role = QPalette::Window) {
    QPalette palette = widget->palette();
    palette.setColor(role, Qt::white);
    widget->setPalette(palette);
    widget->setAutoFillBackground(true);
}

} // namespace

Form1::Form1(const Desktop& desktop, QWidget* parent)
    : QMainWindow(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                              Qt::WindowCloseButtonHint),
      CommonDialog1(desktop.fileDialog), desktop_(desktop) {
    CreateControls();
    WireEvents();
    setFixedSize(FormLayout::ToPixels(FormLayout::kClientWidth),
                 FormLayout::ToPixels(FormLayout::kClientHeight));
}

// The panes' widgets go first: they are the panes' observers, and the panes are members.
Form1::~Form1() {
    delete takeCentralWidget();
}

void Form1::CreateControls() {
    client_ = new QWidget(this);
    client_->setObjectName(u"Form1"_s);
    PaintWhite(client_);
    client_->setFont(ArialBold(9));
    setCentralWidget(client_);

    const std::pair<QStringView, Pane*> paneNames[] = {{u"RichTextBox1", &RichTextBox1},
                                                       {u"RichTextBox2", &RichTextBox2},
                                                       {u"RichTextBox3", &RichTextBox3},
                                                       {u"RichTextBox4", &RichTextBox4}};
    for (const FormLayout::Control& design : FormLayout::Controls()) {
        QWidget* container = design.container.isEmpty() ? client_ : Control(design.container);
        QWidget* control = nullptr;
        switch (design.kind) {
        case FormLayout::Kind::Frame:
            control = new QGroupBox(design.caption.toString(), container);
            PaintWhite(control);
            break;
        case FormLayout::Kind::Option:
            control = new QRadioButton(design.caption.toString(), container);
            PaintWhite(control);
            break;
        case FormLayout::Kind::Button:
            control = new QPushButton(design.caption.toString(), container);
            control->setFont(ArialBold(11.25));
            PaintWhite(control, QPalette::Button);
            break;
        case FormLayout::Kind::Pane: {
            Pane* pane =
                std::find_if(std::begin(paneNames), std::end(paneNames), [&](const auto& p) {
                    return p.first == design.name;
                })->second;
            pane->SetText(design.name.toString()); // the design-time placeholder
            auto* view = new PaneWidget(*pane, container);
            // The full texts show where their differences are beside the scroll bar.
            view->ShowOverview(pane == &RichTextBox1 || pane == &RichTextBox2);
            control = view;
            break;
        }
        }
        control->setObjectName(design.name.toString());
        control->setGeometry(FormLayout::PixelRect(design));
        controls_.emplace_back(design.name, control);
    }

    const auto find = [this](QStringView name) { return Control(name); };
    Frame1 = static_cast<QGroupBox*>(find(u"Frame1"));
    Frame2 = static_cast<QGroupBox*>(find(u"Frame2"));
    Frame3 = static_cast<QGroupBox*>(find(u"Frame3"));
    PushButton1 = static_cast<QPushButton*>(find(u"PushButton1"));
    PushButton2 = static_cast<QPushButton*>(find(u"PushButton2"));
    PushButton3 = static_cast<QPushButton*>(find(u"PushButton3"));
    PushButton4 = static_cast<QPushButton*>(find(u"PushButton4"));
    PushButton5 = static_cast<QPushButton*>(find(u"PushButton5"));
    PushButton6 = static_cast<QPushButton*>(find(u"PushButton6"));
    PushButton7 = static_cast<QPushButton*>(find(u"PushButton7"));
    PushButton9 = static_cast<QPushButton*>(find(u"PushButton9"));
    Option1 = static_cast<QRadioButton*>(find(u"Option1"));
    Option2 = static_cast<QRadioButton*>(find(u"Option2"));
    Option2->setChecked(true);

    // The keyboard visits the controls in their design order; frames take no focus and are left
    // out, or the chain would break at them.
    std::vector<QWidget*> byTab;
    std::vector<const FormLayout::Control*> designs;
    for (const FormLayout::Control& design : FormLayout::Controls())
        designs.push_back(&design);
    std::sort(designs.begin(), designs.end(),
              [](auto* a, auto* b) { return a->tabIndex < b->tabIndex; });
    for (const FormLayout::Control* design : designs)
        if (QWidget* control = Control(design->name); control->focusPolicy() != Qt::NoFocus)
            byTab.push_back(control);
    for (std::size_t i = 1; i < byTab.size(); ++i)
        QWidget::setTabOrder(byTab[i - 1], byTab[i]);
}

void Form1::WireEvents() {
    // A click starts its procedure, which goes on by itself when it has to wait.
    const std::pair<QPushButton*, Task<> (Form1::*)()> clicks[] = {
        {PushButton1, &Form1::PushButton1_Click}, {PushButton2, &Form1::PushButton2_Click},
        {PushButton3, &Form1::PushButton3_Click}, {PushButton4, &Form1::PushButton4_Click},
        {PushButton5, &Form1::PushButton5_Click}, {PushButton6, &Form1::PushButton6_Click},
        {PushButton7, &Form1::PushButton7_Click}, {PushButton9, &Form1::PushButton9_Click}};
    for (const auto& [button, procedure] : clicks) {
        connect(button, &QPushButton::clicked, this, [this, procedure] { (this->*procedure)(); });
        WatchPointer(button, true);
    }
    // A click on the option that is selected already changes nothing, and runs nothing.
    for (const auto& [option, procedure] :
         {std::pair{Option1, &Form1::Option1_Click}, std::pair{Option2, &Form1::Option2_Click}}) {
        connect(option, &QRadioButton::pressed, this,
                [this, option] { optionWasSelected_ = option->isChecked(); });
        connect(option, &QRadioButton::clicked, this, [this, procedure] {
            if (optionWasSelected_)
                return;
            // The option procedures report nothing; a setting that cannot be stored (a
            // read-only settings folder) must not end the program, and the panes still follow
            // the option chosen.
            try {
                (this->*procedure)();
            } catch (...) {
                ShowFullTexts(Option1->isChecked());
            }
        });
    }
    for (QWidget* control : {static_cast<QWidget*>(Frame1), static_cast<QWidget*>(Frame2),
                             static_cast<QWidget*>(Frame3), static_cast<QWidget*>(Option1),
                             static_cast<QWidget*>(Option2)})
        WatchPointer(control, false);
    for (Pane* pane : {&RichTextBox1, &RichTextBox2, &RichTextBox3, &RichTextBox4}) {
        WatchPointer(ViewOf(*pane), false);
        WatchPointer(ViewOf(*pane)->viewport(), false);
    }
    connect(ViewOf(RichTextBox1), &PaneWidget::FilesDropped, this,
            [this](const QStringList& paths) { LoadDroppedFiles(1, paths); });
    connect(ViewOf(RichTextBox2), &PaneWidget::FilesDropped, this,
            [this](const QStringList& paths) { LoadDroppedFiles(2, paths); });
    client_->setMouseTracking(true);
    client_->installEventFilter(this);
    auto* escape = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(escape, &QShortcut::activated, this, &Form1::CancelComparison);
    for (const auto& [key, forward] : {std::pair{QKeySequence(Qt::Key_F8), true},
                                       std::pair{QKeySequence(Qt::SHIFT | Qt::Key_F8), false},
                                       std::pair{QKeySequence(Qt::ALT | Qt::Key_Down), true},
                                       std::pair{QKeySequence(Qt::ALT | Qt::Key_Up), false}}) {
        auto* shortcut = new QShortcut(key, this);
        connect(shortcut, &QShortcut::activated, this,
                [this, next = forward] { GoToDifference(next); });
    }
    // F8 goes to the side the user was last in.
    connect(qApp, &QApplication::focusChanged, this, [this](QWidget*, QWidget* now) {
        for (const auto& [side, full, result] : {std::tuple{1, &RichTextBox1, &RichTextBox3},
                                                 std::tuple{2, &RichTextBox2, &RichTextBox4}})
            if (now && (now == ViewOf(*full) || now == ViewOf(*result)))
                lastSide_ = side;
    });
    WatchSides();
    WirePaneNavigation();
    WireRules();
}

QWidget* Form1::Control(QStringView name) const {
    for (const auto& [controlName, control] : controls_)
        if (controlName == name)
            return control;
    return nullptr;
}

PaneWidget* Form1::ViewOf(const Pane& pane) const {
    for (const auto& [name, control] : controls_)
        if (auto* view = qobject_cast<PaneWidget*>(control); view && &view->Model() == &pane)
            return view;
    return nullptr;
}

// Lays each result pane exactly over the full pane of its file.
void Form1::Form_Resize() {
    const std::pair<const Pane*, const Pane*> pairs[] = {{&RichTextBox1, &RichTextBox3},
                                                         {&RichTextBox2, &RichTextBox4}};
    for (const auto& [full, result] : pairs) {
        const QRect place = ViewOf(*full)->geometry();
        PaneWidget* over = ViewOf(*result);
        over->resize(over->width(), place.height());
        over->resize(place.width(), place.height());
        over->move(over->x(), place.y());
        over->move(place.x(), place.y());
    }
}

void Form1::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    Form_Resize();
}

void Form1::Form_Unload() {
    desktop_.process.EndProcess();
}

void Form1::closeEvent(QCloseEvent* event) {
    Form_Unload();
    event->accept();
}
