#include "platform/QtFileDialog.h"

#include "ModalAnswer.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QTemporaryDir>

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
    QString Use(void (QtFileDialog::*show)(), std::function<void(QFileDialog&)> act) {
        ModalAnswer<QFileDialog> answer([&](QFileDialog& shown) {
            seen = Inspect(shown);
            act(shown);
        });
        (dialog.*show)();
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
    EXPECT_EQ(seen.fileMode, QFileDialog::ExistingFiles);
    EXPECT_EQ(seen.shownFilters, (QStringList{u"Text Files (*.txt)"_s, u"All Files (*.*)"_s}));
    EXPECT_TRUE(seen.selectedFilter.startsWith(u"Text Files (*.txt)"_s))
        << "the first filter is in force";
}

TEST_F(QtFileDialogTest, SeveralPickedFilesComeBackAsFolderThenNamesInTheirOrder) {
    MakeFile(u"a.txt"_s);
    MakeFile(u"b.txt"_s);
    MakeFile(u"c.txt"_s);
    SetUpFor(u"Load"_s, kLoadFlags, kLoadFilter);
    const QString chosen = Use(&QtFileDialog::ShowOpen, [&](QFileDialog& d) {
        Type(d, folder.path(), u"\"c.txt\" \"a.txt\" \"b.txt\""_s);
    });
    const QString nul(QChar(u'\0'));
    EXPECT_EQ(chosen,
              Native(folder.path()) + nul + u"c.txt"_s + nul + u"a.txt"_s + nul + u"b.txt"_s);
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
