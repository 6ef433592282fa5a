#include "platform/QtMsgBox.h"

#include "platform/ModalDialog.h"

#include <QGuiApplication>
#include <QMessageBox>
#include <QPointer>

using namespace Qt::StringLiterals;

namespace {

constexpr int kButtonBits = 0x7;
constexpr int kIconBits = 0x70;

QString WithLineFeeds(QString text) {
    return text.replace(u"\r\n"_s, u"\n"_s).replace(u'\r', u'\n');
}

QMessageBox::Icon IconFor(int style) {
    switch (style & kIconBits) {
    case 16:
        return QMessageBox::Critical;
    case 32:
        return QMessageBox::Question;
    case MsgBoxStyle::Exclamation:
        return QMessageBox::Warning;
    case 64:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

bool IsQuestion(int style) {
    return (style & kButtonBits) == MsgBoxStyle::YesNo;
}

void AddButtons(QMessageBox& box, int style) {
    if (IsQuestion(style)) {
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
        box.setDefaultButton(QMessageBox::Ok);
        box.setEscapeButton(QMessageBox::Ok);
    }
}

MsgBoxResult ResultOf(const QMessageBox& box, int style) {
    const QMessageBox::StandardButton pressed = box.standardButton(box.clickedButton());
    if (pressed == QMessageBox::Yes)
        return MsgBoxResult::Yes;
    if (IsQuestion(style))
        return MsgBoxResult::No;
    return MsgBoxResult::Ok;
}

} // namespace

QtMsgBox::QtMsgBox(QWidget* parent) : parent_(parent) {}

Task<MsgBoxResult> QtMsgBox::Show(const QString& text, int style,
                                  const std::optional<QString>& caption) {
    // Owned here, but watched: the window it belongs to may take it along when it goes.
    QPointer<QMessageBox> box = new QMessageBox(parent_);
    box->setWindowTitle(caption.value_or(QGuiApplication::applicationDisplayName()));
    box->setTextFormat(Qt::PlainText);
    box->setText(WithLineFeeds(text));
    box->setIcon(IconFor(style));
    AddButtons(*box, style);
    co_await ShowModal(*box);
    const MsgBoxResult result = box                 ? ResultOf(*box, style)
                                : IsQuestion(style) ? MsgBoxResult::No
                                                    : MsgBoxResult::Ok;
    delete box.data();
    co_return result;
}
