#include "WindowFixture.h"

#include "app/ApplicationTitle.h"
#include "app/BooleanText.h"
#include "app/MousePointer.h"
#include "platform/Failure.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QRadioButton>

#include <functional>
#include <sys/stat.h>

using namespace Qt::StringLiterals;

namespace {

class StartupTest : public WindowFixture {};

QString LoadReport(const QString& description, int line) {
    return description + u"\r\nin Tarnwick2021/08/31.Form1.Form_Load at line "_s +
           QString::number(line) +
           u"\r\rPlease email screenshot of this message to support@quillmere.example"_s;
}

} // namespace

TEST_F(StartupTest, FirstRunSelectsTheListsAndStoresBothOptions) {
    Form1& form = Start();
    EXPECT_TRUE(box.shown.empty());
    EXPECT_TRUE(form.Option2->isChecked());
    EXPECT_FALSE(form.Option1->isChecked());
    EXPECT_FALSE(form.RichTextBox1.Visible());
    EXPECT_FALSE(form.RichTextBox2.Visible());
    EXPECT_TRUE(form.RichTextBox3.Visible());
    EXPECT_TRUE(form.RichTextBox4.Visible());
    EXPECT_EQ(Setting(u"Option2"_s), u"True"_s);
    EXPECT_EQ(Setting(u"Option1"_s), u"False"_s);
    for (const Pane* pane :
         {&form.RichTextBox1, &form.RichTextBox2, &form.RichTextBox3, &form.RichTextBox4})
        EXPECT_EQ(pane->Text(), QString()) << "the design placeholders are cleared";
    EXPECT_EQ(form.windowTitle(), u"Tarnwick"_s);
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), u"Tarnwick"_s);
    EXPECT_FALSE(form.windowIcon().isNull());
    EXPECT_EQ(form.MousePointer(), MousePointer::Default);
}

TEST_F(StartupTest, RestoresTheOptionStoredLastTime) {
    PresetSetting(u"Option2"_s, u"False"_s);
    PresetSetting(u"Option1"_s, u"TRUE"_s);
    Form1& form = Start();
    EXPECT_TRUE(form.Option1->isChecked());
    EXPECT_FALSE(form.Option2->isChecked());
    EXPECT_TRUE(form.RichTextBox1.Visible());
    EXPECT_FALSE(form.RichTextBox3.Visible());
    EXPECT_EQ(Setting(u"Option2"_s), u"False"_s);
    EXPECT_EQ(Setting(u"Option1"_s), u"True"_s);
}

TEST_F(StartupTest, AStoredWordThatIsNoBooleanIsReportedAndStartUpGoesOn) {
    PresetSetting(u"Option2"_s, u"yes"_s);
    Form1& form = Start();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, LoadReport(u"Type mismatch"_s, 158));
    EXPECT_EQ(box.shown[0].style, 48);
    EXPECT_EQ(box.shown[0].caption, u"Application Error"_s);
    EXPECT_TRUE(form.Option2->isChecked()) << "the option keeps its design state";
    EXPECT_EQ(Setting(u"Option2"_s), u"yes"_s) << "the bad value stays until the next click";
}

TEST_F(StartupTest, OneStartInAHundredShowsTheMakersSite) {
    random.numbers = {0.06};
    Start();
    EXPECT_EQ(random.seeds, std::vector<double>{3600.5})
        << "seeded from the seconds since midnight";
    EXPECT_EQ(shell.openedUrls, std::vector<QString>{u"https://www.quillmere.example/tarnwick"_s});

    window.reset();
    shell.openedUrls.clear();
    random.numbers = {0.07};
    Start();
    EXPECT_TRUE(shell.openedUrls.empty()) << "0.07 draws 8";
}

TEST_F(StartupTest, ABrowserThatCannotStartIsReportedAtLine122) {
    random.numbers = {0.069};
    shell.failOpenUrl = true;
    Start();
    EXPECT_EQ(box.Texts(),
              std::vector<QString>{LoadReport(u"The web browser could not be started"_s, 122)});
}

TEST_F(StartupTest, TheHandCursorFileIsOptionalButMustBeAPicture) {
    Write(u"HAND-M.CUR"_s, "not a picture");
    Start();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_TRUE(box.shown[0].text.contains(u"at line 122"_s)) << box.shown[0].text.toStdString();
}

// Only an ordinary file is read: anything else at the cursor's name gets one report, and start-up
// neither waits on it nor stops.
TEST_F(StartupTest, ACursorNameThatIsNoOrdinaryFileIsReportedWithoutWaiting) {
    const QString path = programFolder.filePath(u"HAND-M.CUR"_s);
    struct Row {
        const char* what;
        std::function<void()> make;
        QString description;
    };
    const std::vector<Row> rows{
        {"a pipe no one writes to",
         [&] { ASSERT_EQ(mkfifo(QFile::encodeName(path).constData(), 0600), 0); },
         path + u" is not an ordinary file"_s},
        {"a folder", [&] { QDir(programFolder.path()).mkdir(u"HAND-M.CUR"_s); },
         path + u" is a folder, not a file"_s},
        {"a link to nothing", [&] { QFile::link(programFolder.filePath(u"gone"_s), path); },
         path + u" is a link to a file that does not exist"_s},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.what);
        window.reset();
        box.shown.clear();
        QFile::remove(path);
        QDir(programFolder.path()).rmdir(u"HAND-M.CUR"_s);
        row.make();
        Form1& form = Start();
        EXPECT_EQ(box.Texts(), std::vector<QString>{LoadReport(row.description, 122)});
        EXPECT_TRUE(form.Option2->isChecked()) << "start-up went on";
    }
}

TEST_F(StartupTest, SettingsThatCouldNotBeReadAreToldOfOnceAndTheDefaultsApply) {
    const QString problem = u"The settings in /home/u/.config/Quillmere.conf could not be read"_s;
    settings.problem = problem;
    Form1& form = Start();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, problem);
    EXPECT_EQ(box.shown[0].style, 0);
    EXPECT_FALSE(box.shown[0].caption.has_value());
    EXPECT_TRUE(form.Option2->isChecked());
    EXPECT_TRUE(form.RichTextBox3.Visible());
}

TEST_F(StartupTest, TheSkinIsAStyleSheetBesideTheProgram) {
    QDir(programFolder.path()).mkpath(u"x"_s);
    Write(u"x/o.cjs"_s, "QPushButton { color: navy; }");
    Form1& form = Start();
    EXPECT_TRUE(box.shown.empty());
    EXPECT_TRUE(form.styleSheet().contains(u"navy"_s));
}

TEST_F(StartupTest, AnInstalledProgramTakesItsSkinAndHandFromTheSharedDataFolder) {
    ActAsInstalled();
    WriteInstalled(u"x/o.cjs"_s, "QPushButton { color: navy; }");
    WriteInstalled(u"HAND-M.CUR"_s, "not a picture");
    Form1& form = Start();
    EXPECT_TRUE(form.styleSheet().contains(u"navy"_s));
    ASSERT_EQ(box.shown.size(), 1u) << "the hand file was found, and read";
    EXPECT_TRUE(box.shown[0].text.contains(u"at line 122"_s));
}

TEST_F(StartupTest, ASkinThatIsNoStyleSheetGivesOneReportAtLine100) {
    QDir(programFolder.path()).mkpath(u"x"_s);
    Write(u"x/o.cjs"_s, QByteArray("\x00\x01\xff binary", 10));
    Form1& form = Start();
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_TRUE(box.shown[0].text.contains(u"at line 100"_s));
    EXPECT_TRUE(form.Option2->isChecked()) << "start-up went on";
}

TEST(BooleanTextTest, AcceptsTrueFalseAndFiniteNumbersOnly) {
    const struct {
        QString text;
        bool value;
    } accepted[] = {
        {u"True"_s, true},  {u"tRUE"_s, true},     {u"FALSE"_s, false}, {u"1"_s, true},
        {u"-1"_s, true},    {u"0"_s, false},       {u"-0"_s, false},    {u"0.0"_s, false},
        {u"2.5e3"_s, true}, {u" False "_s, false}, {u"+1"_s, true},
    };
    for (const auto& a : accepted)
        EXPECT_EQ(ToBoolean(a.text), a.value) << a.text.toStdString();
    // The number conversion reads some words as numbers that are none.
    for (const QString& text :
         {u"yes"_s, QString(), u"nan"_s, u"NaN"_s, u"inf"_s, u"INF"_s, u"-inf"_s, u"-Inf"_s,
          u"+inf"_s, u"infinity"_s, u"1e999"_s, u"0x1"_s, u"1,5"_s, u"TrueFalse"_s})
        EXPECT_THROW(ToBoolean(text), Failure) << text.toStdString();
}

TEST(ApplicationTitleTest, NamesAreCutAtBlanksToFortyCharactersAtMost) {
    const QString forty = u"Tarnwick Text Comparison for Harbour Ofs"_s;
    ASSERT_EQ(forty.size(), 40);
    const struct {
        QString name;
        QString title;
    } cases[] = {
        {u"Tarnwick"_s, u"Tarnwick"_s},
        {forty, forty},
        {QString(40, u'x'), QString(40, u'x')},
        {forty + u"s"_s, u"Tarnwick Text Comparison for Harbour"_s},
        {u"Tarnwick Text Comparison Suite for Harbour Office Workers!"_s,
         u"Tarnwick Text Comparison Suite for"_s},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ApplicationTitleFor(c.name), c.title) << c.name.toStdString();
    EXPECT_THROW(ApplicationTitleFor(QString(41, u'x')), Failure) << "no blank to cut at";
}
