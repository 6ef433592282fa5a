#include "platform/QtFileDialog.h"

#include "Finish.h"
#include "ModalAnswer.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kLoadFilter = u"Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"_s;
const QString kSaveFilter = u"Text Files(*.txt)|*.txt|All Files (*.*)|*.*|"_s;
constexpr int kLoadFlags = 0x280201;

struct Seen {
    QString title;
    QFileDialog::AcceptMode acceptMode = QFileDialog::AcceptOpen;
    QFileDialog::FileMode fileMode = QFileDialog::AnyFile;
    QStringList shownFilters; // as the filter box lists them
    QString selectedFilter;
    QString folder;
    bool confirmsOverwrite = true;
    QString defaultSuffix;
};

Seen Inspect(QFileDialog& dialog) {
    QStringList shown;
    if (const auto* box = dialog.findChild<QComboBox*>(u"fileTypeCombo"_s))
        for (int i = 0; i < box->count(); ++i)
            shown.append(box->itemText(i));
    return {dialog.windowTitle(),
            dialog.acceptMode(),
            dialog.fileMode(),
            shown,
            dialog.selectedNameFilter(),
            dialog.directory().absolutePath(),
            !dialog.testOption(QFileDialog::DontConfirmOverwrite),
            dialog.defaultSuffix()};
}

// Presses the dialog's Open or Save button, with the checks it makes.
void PressAccept(QFileDialog& dialog) {
    auto* buttons = dialog.findChild<QDialogButtonBox*>();
    ASSERT_NE(buttons, nullptr);
    for (QAbstractButton* button : buttons->buttons())
        if (buttons->buttonRole(button) == QDialogButtonBox::AcceptRole) {
            EXPECT_TRUE(button->isEnabled()) << "the dialog refuses the name";
            button->click();
        }
}

// The dialog's visible file view, once it shows `path`; `index` is where it shows it.
QAbstractItemView* FileView(QFileDialog& dialog, const QString& path, QModelIndex& index) {
    for (QAbstractItemView* view : dialog.findChildren<QAbstractItemView*>()) {
        auto* files = qobject_cast<QFileSystemModel*>(view->model());
        if (!files || !view->isVisible())
            continue;
        const bool listed = QTest::qWaitFor([&] {
            index = files->index(path);
            return index.isValid() && view->visualRect(index).isValid();
        });
        return listed ? view : nullptr;
    }
    return nullptr;
}

// Whether the dialog's visible file view lists `paths` one below the other in this order, as it
// does once it has read the folder and sorted its list, waiting until it does.
bool ListedInOrder(QFileDialog& dialog, const QStringList& paths) {
    return QTest::qWaitFor([&] {
        int above = -1;
        for (const QString& path : paths) {
            QModelIndex index;
            const QAbstractItemView* view = FileView(dialog, path, index);
            if (!view || view->visualRect(index).top() <= above)
                return false;
            above = view->visualRect(index).top();
        }
        return true;
    });
}

// Clicks each file in the dialog's file view, holding Ctrl after the first, as a user picks them.
void PickWithCtrl(QFileDialog& dialog, const QString& folder, const QStringList& names) {
    dialog.setDirectory(folder);
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
    for (const QString& name : names) {
        QModelIndex index;
        QAbstractItemView* view = FileView(dialog, QDir(folder).filePath(name), index);
        ASSERT_NE(view, nullptr) << name.toStdString() << " is not listed";
        QTest::mouseClick(view->viewport(), Qt::LeftButton, modifiers,
                          view->visualRect(index).center());
        modifiers = Qt::ControlModifier;
    }
}

// Types into the file name box and presses the dialog's accept button, as a user would.
void Type(QFileDialog& dialog, const QString& folder, const QString& names) {
    dialog.setDirectory(folder);
    dialog.findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(names);
    dialog.QDialog::accept(); // past the checks the Open or Save button makes, which would ask
}

class QtFileDialogTest : public ::testing::Test {
protected:
    void SetUpFor(const QString& title, int flags, const QString& filter) {
        dialog.SetFileName({});
        dialog.SetFlags(flags);
        dialog.SetDialogTitle(title);
        dialog.SetFilter(filter);
    }

    // Opens the dialog, notes what it shows, lets `act` close it, and gives back FileName.
    QString Use(Task<> (QtFileDialog::*show)(), std::function<void(QFileDialog&)> act) {
        ModalAnswer<QFileDialog> answer([&](QFileDialog& shown) {
            seen = Inspect(shown);
            act(shown);
        });
        Finish((dialog.*show)());
        EXPECT_TRUE(answer.Answered());
        return dialog.FileName();
    }

    QString MakeFile(const QString& name) {
        QFile file(folder.filePath(name));
        EXPECT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("text\r\n");
        return QDir::toNativeSeparators(file.fileName());
    }

    QTemporaryDir folder;
    QtFileDialog dialog{nullptr, QtFileDialog::Kind::QtWidgets};
    Seen seen;
};

QString Native(const QString& path) {
    return QDir::toNativeSeparators(path);
}

} // namespace

TEST_F(QtFileDialogTest, OpenShowsTheTitleAndEachFilterByItsOwnDescription) {
    SetUpFor(u"Load List(s) - Hold Ctrl to select multiple list files"_s, kLoadFlags, kLoadFilter);
    const QString chosen = Use(&QtFileDialog::ShowOpen, [](QFileDialog& d) { d.reject(); });
    EXPECT_EQ(chosen, QString()) << "a cancel leaves no name";
    EXPECT_EQ(seen.title, u"Load List(s) - Hold Ctrl to select multiple list files"_s);
    EXPECT_EQ(seen.acceptMode, QFileDialog::AcceptOpen);
    EXPECT_EQ(seen.shownFilters, (QStringList{u"Text Files (*.txt)"_s, u"All Files (*.*)"_s}));
    EXPECT_TRUE(seen.selectedFilter.startsWith(u"Text Files (*.txt)"_s))
        << "the first filter is in force";
}

// Typed names select the files the dialog lists, and its list sorts itself once it has read the
// folder, which may be before the names are typed or after (its selection then follows the
// sorted list): the names come back as typed either way. The test waits for the sorted list, as
// a user sees it before pressing Open.
TEST_F(QtFileDialogTest, SeveralPickedFilesComeBackAsFolderThenNamesInTheirOrder) {
    MakeFile(u"a.txt"_s);
    MakeFile(u"b.txt"_s);
    MakeFile(u"c.txt"_s);
    SetUpFor(u"Load"_s, kLoadFlags, kLoadFilter);
    const QString chosen = Use(&QtFileDialog::ShowOpen, [&](QFileDialog& d) {
        d.setDirectory(folder.path());
        d.findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(u"\"c.txt\" \"a.txt\" \"b.txt\""_s);
        EXPECT_TRUE(ListedInOrder(d, {folder.filePath(u"a.txt"_s), folder.filePath(u"b.txt"_s),
                                      folder.filePath(u"c.txt"_s)}));
        d.QDialog::accept();
    });
    const QString nul(QChar(u'\0'));
    EXPECT_EQ(chosen,
              Native(folder.path()) + nul + u"c.txt"_s + nul + u"a.txt"_s + nul + u"b.txt"_s);
}

// The open dialog set up as the load buttons set it up takes any typed name, as the file
// loader is the one to say "File not found", and still lets several files be picked.
TEST_F(QtFileDialogTest, OpenTakesTypedNamesUncheckedAndSeveralPickedFiles) {
    MakeFile(u"a.txt"_s);
    MakeFile(u"b.txt"_s);
    MakeFile(u"c.txt"_s);
    const QString nul(QChar(u'\0'));
    const QString in = Native(folder.path());
    const struct {
        const char* what;
        std::function<void(QFileDialog&, const QString& folder)> act;
        QString chosen;
    } cases[] = {
        {"a typed name that does not exist",
         [](QFileDialog& d, const QString& f) {
             d.setDirectory(f);
             d.findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(u"gone.txt"_s);
             PressAccept(d);
         },
         Native(folder.filePath(u"gone.txt"_s))},
        {"two typed names that do not exist",
         [](QFileDialog& d, const QString& f) {
             d.setDirectory(f);
             d.findChild<QLineEdit*>(u"fileNameEdit"_s)->setText(u"\"gone.txt\" \"lost.txt\""_s);
             PressAccept(d);
         },
         in + nul + u"gone.txt"_s + nul + u"lost.txt"_s},
        {"three files picked with Ctrl",
         [](QFileDialog& d, const QString& f) {
             PickWithCtrl(d, f, {u"c.txt"_s, u"a.txt"_s, u"b.txt"_s});
             PressAccept(d);
         },
         in + nul + u"c.txt"_s + nul + u"a.txt"_s + nul + u"b.txt"_s},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SetUpFor(u"Load List(s) - Hold Ctrl to select multiple list files"_s, kLoadFlags,
                 kLoadFilter);
        ModalAnswer<QMessageBox> warning([](QMessageBox& box) { box.reject(); });
        const QString path = folder.path();
        EXPECT_EQ(Use(&QtFileDialog::ShowOpen, [&](QFileDialog& d) { c.act(d, path); }), c.chosen);
        EXPECT_FALSE(warning.Answered()) << "the dialog itself says nothing about the names";
    }
}

TEST_F(QtFileDialogTest, OnePickedFileComesBackAsItsFullPath) {
    const QString file = MakeFile(u"only.txt"_s);
    SetUpFor(u"Load"_s, kLoadFlags, kLoadFilter);
    EXPECT_EQ(Use(&QtFileDialog::ShowOpen,
                  [&](QFileDialog& d) { Type(d, folder.path(), u"only.txt"_s); }),
              file);
}

TEST_F(QtFileDialogTest, WithoutMultiSelectionATypedNameNeedNotExist) {
    SetUpFor(u"Load"_s, kLoadFlags & ~0x200, kLoadFilter);
    const QString chosen =
        Use(&QtFileDialog::ShowOpen, [&](QFileDialog& d) { Type(d, folder.path(), u"gone"_s); });
    EXPECT_EQ(seen.fileMode, QFileDialog::AnyFile);
    EXPECT_EQ(chosen, Native(folder.filePath(u"gone"_s)));
}

TEST_F(QtFileDialogTest, SaveTakesTheTypedNameAsItIsWithoutAskingAboutAnExistingFile) {
    const QString existing = MakeFile(u"results"_s);
    SetUpFor(u"Save Results"_s, kLoadFlags, kSaveFilter);
    ModalAnswer<QMessageBox> confirmation([](QMessageBox& box) {
        if (QAbstractButton* yes = box.button(QMessageBox::Yes))
            yes->click();
        else
            box.reject();
    });
    const QString chosen =
        Use(&QtFileDialog::ShowSave, [&](QFileDialog& d) { Type(d, folder.path(), u"results"_s); });
    EXPECT_EQ(chosen, existing) << "no extension is added";
    EXPECT_FALSE(confirmation.Answered()) << "the caller asks about replacing, not the dialog";
    EXPECT_EQ(seen.acceptMode, QFileDialog::AcceptSave);
    EXPECT_FALSE(seen.confirmsOverwrite);
    EXPECT_EQ(seen.defaultSuffix, QString());
    EXPECT_EQ(seen.shownFilters, (QStringList{u"Text Files(*.txt)"_s, u"All Files (*.*)"_s}));
}

TEST_F(QtFileDialogTest, TheNextUseStartsInTheLastFolderWithTheLastFilter) {
    QDir(folder.path()).mkdir(u"sub"_s);
    const QString sub = folder.filePath(u"sub"_s);
    SetUpFor(u"Load"_s, kLoadFlags & ~0x200, kLoadFilter);
    Use(&QtFileDialog::ShowOpen, [&](QFileDialog& d) {
        d.selectNameFilter(d.nameFilters().at(1));
        Type(d, sub, u"new name"_s);
    });
    SetUpFor(u"Save Results"_s, kLoadFlags, kSaveFilter);
    Use(&QtFileDialog::ShowSave, [](QFileDialog& d) { d.reject(); });
    EXPECT_EQ(QDir(seen.folder), QDir(sub));
    EXPECT_TRUE(seen.selectedFilter.startsWith(u"All Files (*.*)"_s))
        << seen.selectedFilter.toStdString();
}

// The filter in force when the user chose tells the caller what to write.
TEST_F(QtFileDialogTest, TellsWhichFilterWasInForceWhenTheUserChose) {
    SetUpFor(u"Save"_s, kLoadFlags, kSaveFilter + u"CSV with line numbers (*.csv)|*.csv|"_s);
    Use(&QtFileDialog::ShowSave, [&](QFileDialog& d) {
        d.selectNameFilter(d.nameFilters().at(2));
        Type(d, folder.path(), u"out.csv"_s);
    });
    EXPECT_EQ(dialog.FilterIndex(), 2);
    Use(&QtFileDialog::ShowSave, [&](QFileDialog& d) {
        d.selectNameFilter(d.nameFilters().at(0));
        Type(d, folder.path(), u"out.txt"_s);
    });
    EXPECT_EQ(dialog.FilterIndex(), 0);
}
