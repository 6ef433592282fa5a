#include "platform/PaneWidget.h"

#include "platform/Pane.h"

#include <QMimeData>
#include <QSignalSpy>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

class PaneWidgetTest : public ::testing::Test {
protected:
    PaneWidgetTest() {
        widget.resize(300, 400);
        widget.show();
    }

    Pane pane;
    PaneWidget widget{pane};
};

} // namespace

TEST_F(PaneWidgetTest, TypedAndPastedBreaksReachThePaneAsCRLF) {
    widget.setFocus();
    QTest::keyClicks(&widget, u"ab"_s);
    QTest::keyClick(&widget, Qt::Key_Return);
    QTest::keyClicks(&widget, u"c"_s);
    EXPECT_EQ(pane.Text(), u"ab\r\nc"_s);
    widget.InsertText(u"\nd\re"_s);
    EXPECT_EQ(pane.Text(), u"ab\r\nc\r\nd\r\ne"_s);
}

TEST_F(PaneWidgetTest, DroppedFilesAreAnnouncedNotInserted) {
    QSignalSpy dropped(&widget, &PaneWidget::FilesDropped);
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(u"/tmp/a.txt"_s), QUrl::fromLocalFile(u"/tmp/b.txt"_s)});
    QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget.viewport(), &enter);
    QCoreApplication::sendEvent(widget.viewport(), &drop);
    ASSERT_EQ(dropped.size(), 1);
    EXPECT_EQ(dropped[0][0].toStringList(), (QStringList{u"/tmp/a.txt"_s, u"/tmp/b.txt"_s}));
    EXPECT_EQ(pane.Text(), QString());
}

TEST_F(PaneWidgetTest, FollowsThePanesVisibility) {
    pane.SetVisible(false);
    EXPECT_FALSE(widget.isVisible());
    pane.SetVisible(true);
    EXPECT_TRUE(widget.isVisible());
}
