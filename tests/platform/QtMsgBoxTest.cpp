#include "platform/QtMsgBox.h"

#include "Finish.h"
#include "ModalAnswer.h"

#include <QAbstractButton>
#include <QGuiApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

struct Seen {
    QString title;
    QString text;
    Qt::TextFormat format = Qt::AutoText;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
    QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
};

Seen Inspect(QMessageBox& box) {
    return {box.windowTitle(),     box.text(),
            box.textFormat(),      box.icon(),
            box.standardButtons(), box.standardButton(box.defaultButton())};
}

// Shows a box, looks at it as the user sees it, then lets `close` answer it.
class QtMsgBoxTest : public ::testing::Test {
protected:
    QtMsgBoxTest() : previousTitle(QGuiApplication::applicationDisplayName()) {
        QGuiApplication::setApplicationDisplayName(u"Tarnwick"_s);
    }
    ~QtMsgBoxTest() override { QGuiApplication::setApplicationDisplayName(previousTitle); }

    MsgBoxResult ShowAndClose(const QString& text, int style, std::optional<QString> caption,
                              std::function<void(QMessageBox&)> close) {
        ModalAnswer<QMessageBox> answer([&](QMessageBox& box) {
            seen = Inspect(box);
            close(box);
        });
        QtMsgBox box;
        const MsgBoxResult result = Finish(box.Show(text, style, caption));
        EXPECT_TRUE(answer.Answered());
        return result;
    }

    static void Press(QMessageBox& box, QMessageBox::StandardButton button) {
        box.button(button)->click();
    }
    static void PressKey(QMessageBox& box, Qt::Key key) { QTest::keyClick(&box, key); }

    Seen seen;
    QString previousTitle;
};

} // namespace

TEST_F(QtMsgBoxTest, AnErrorReportShowsTheExclamationAndOkWithItsCaption) {
    const MsgBoxResult result =
        ShowAndClose(u"Failed\r\n\r\nat line 158\r\rPlease email"_s, MsgBoxStyle::Exclamation,
                     u"Application Error"_s, [](QMessageBox& box) { Press(box, QMessageBox::Ok); });
    EXPECT_EQ(result, MsgBoxResult::Ok);
    EXPECT_EQ(seen.title, u"Application Error"_s);
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(seen.text, u"Failed\n\nat line 158\n\nPlease email"_s)
        << "CR LF, lone CR and lone LF each make one line break";
}

TEST_F(QtMsgBoxTest, APlainBoxHasNoIconShowsTheApplicationTitleAndTakesTextAsItIs) {
    const MsgBoxResult result =
        ShowAndClose(u"<b>File</b> not found\nx"_s, MsgBoxStyle::OkOnly, std::nullopt,
                     [](QMessageBox& box) { PressKey(box, Qt::Key_Escape); });
    EXPECT_EQ(result, MsgBoxResult::Ok) << "closing an OK box counts as OK";
    EXPECT_EQ(seen.title, u"Tarnwick"_s);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    EXPECT_EQ(seen.format, Qt::PlainText);
    EXPECT_EQ(seen.text, u"<b>File</b> not found\nx"_s);
}

TEST_F(QtMsgBoxTest, AQuestionOffersYesAndNoWithYesAsTheDefault) {
    const MsgBoxResult enter =
        ShowAndClose(u"Are you sure you wish to overwrite /tmp/a ?"_s, MsgBoxStyle::YesNo,
                     std::nullopt, [](QMessageBox& box) { PressKey(box, Qt::Key_Return); });
    EXPECT_EQ(enter, MsgBoxResult::Yes);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);
    EXPECT_EQ(seen.defaultButton, QMessageBox::Yes);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.title, u"Tarnwick"_s);
}

TEST_F(QtMsgBoxTest, AQuestionAnswersTheButtonPressedAndClosingIsNo) {
    const auto ask = [&](std::function<void(QMessageBox&)> close) {
        return ShowAndClose(u"Open the folder?"_s, MsgBoxStyle::YesNo, std::nullopt, close);
    };
    EXPECT_EQ(ask([](QMessageBox& box) { Press(box, QMessageBox::Yes); }), MsgBoxResult::Yes);
    EXPECT_EQ(ask([](QMessageBox& box) { Press(box, QMessageBox::No); }), MsgBoxResult::No);
    EXPECT_EQ(ask([](QMessageBox& box) { PressKey(box, Qt::Key_Escape); }), MsgBoxResult::No);
    EXPECT_EQ(ask([](QMessageBox& box) { box.close(); }), MsgBoxResult::No);
}
