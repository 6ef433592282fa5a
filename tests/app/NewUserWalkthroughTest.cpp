#include "WindowFixture.h"

#include <QPushButton>
#include <QRadioButton>
#include <QTest>

using namespace Qt::StringLiterals;

// The whole program as a new user meets it, through its buttons.
TEST_F(WindowFixture, NewUserWalkthrough) {
    Form1* form = &Start();
    EXPECT_TRUE(form->Option2->isChecked()) << "a first start shows the lists";

    dialog.answers = {Write(u"monday.txt"_s, "apples\npears\nplums 3 kg\n")};
    QTest::mouseClick(form->PushButton3, Qt::LeftButton);
    dialog.answers = {Write(u"tuesday.txt"_s, "apples\nplums 4 kg\ncherries\n")};
    QTest::mouseClick(form->PushButton4, Qt::LeftButton);
    EXPECT_TRUE(form->Option1->isChecked()) << "loading shows the full texts";

    QTest::mouseClick(form->PushButton1, Qt::LeftButton);
    EXPECT_EQ(box.Texts(), std::vector<QString>{u"Done."_s});
    EXPECT_EQ(form->RichTextBox3.Text(), u"\npears\r\nplums 3 kg\r"_s);
    EXPECT_EQ(form->RichTextBox4.Text(), u"\nplums 4 kg\r\ncherries\r"_s);
    EXPECT_FALSE(form->RichTextBox1.RangesOf(kRed).empty());

    QTest::mouseClick(form->Option2, Qt::LeftButton);
    EXPECT_TRUE(form->RichTextBox3.Visible());
    EXPECT_EQ(Setting(u"Option2"_s), u"True"_s);

    QTest::mouseClick(form->PushButton6, Qt::LeftButton);
    EXPECT_EQ(box.shown.size(), 2u);
    EXPECT_EQ(form->RichTextBox3.Text(), u"\r\npears\r\nplums\r\n3\r\nkg"_s)
        << "line 2 is paired with 'plums 4 kg', line 3 with 'cherries'";

    const QString lists = programFolder.filePath(u"lists.txt"_s);
    dialog.answers = {lists};
    QTest::mouseClick(form->PushButton2, Qt::LeftButton);
    EXPECT_EQ(Read(lists), QByteArray("pears\nplums\n3\nkg\n")) << "a word a line";
    QTest::mouseClick(form->Option1, Qt::LeftButton);
    const QString full = programFolder.filePath(u"full.txt"_s);
    dialog.answers = {full};
    QTest::mouseClick(form->PushButton5, Qt::LeftButton);
    EXPECT_EQ(Read(full), QByteArray("apples\nplums 4 kg\ncherries\n")) << "the file as loaded";

    QTest::mouseClick(form->PushButton7, Qt::LeftButton);
    EXPECT_EQ(form->RichTextBox1.Text(), QString());
    EXPECT_EQ(form->RichTextBox4.Text(), QString());

    window.reset();
    form = &Start();
    EXPECT_TRUE(form->Option1->isChecked()) << "the last option is remembered";
    EXPECT_TRUE(form->RichTextBox1.Visible());
    EXPECT_EQ(box.shown.size(), 2u) << "no error along the way";
}
