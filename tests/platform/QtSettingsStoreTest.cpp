#include "platform/QtSettingsStore.h"

#include "platform/Failure.h"

#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kApp = u"Quillmere"_s;
const QString kSection = u"Tarnwick"_s;

// Points the per-user settings of one format at a temporary folder, so that no test reads or
// writes the user's own settings, and points them back afterwards.
class QtSettingsStoreTest : public ::testing::TestWithParam<QSettings::Format> {
protected:
    QtSettingsStoreTest() { SetUserFolder(folder.path()); }
    ~QtSettingsStoreTest() override {
        SetUserFolder(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation));
    }

    void SetUserFolder(const QString& path) {
        QSettings::setPath(GetParam(), QSettings::UserScope, path);
    }

    // The file the store keeps this user's values in: named after the application alone.
    QString SettingsFile() const {
        const QString extension = GetParam() == QSettings::IniFormat ? u".ini"_s : u".conf"_s;
        return folder.filePath(kApp + extension);
    }

    QString FileContent() const {
        QFile file(SettingsFile());
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).replace(u"\r\n"_s, u"\n"_s);
    }

    void WriteFile(const QByteArray& content) const {
        QFile file(SettingsFile());
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(content);
    }

    QTemporaryDir folder;
    QtSettingsStore store{GetParam()};
};

} // namespace

TEST_P(QtSettingsStoreTest, AnAbsentKeyGivesTheDefaultAndWritesNothing) {
    EXPECT_EQ(store.GetSetting(kApp, kSection, u"Option2"_s, u"1"_s), u"1"_s);
    EXPECT_EQ(store.GetSetting(kApp, kSection, u"Option1"_s, u"0"_s), u"0"_s);
    EXPECT_FALSE(QFile::exists(SettingsFile()));
}

TEST_P(QtSettingsStoreTest, SavedTextsAreOnDiskUnderTheSectionAtOnce) {
    store.SaveSetting(kApp, kSection, u"Option2"_s, u"True"_s);
    store.SaveSetting(kApp, kSection, u"Option1"_s, u"False"_s);
    const QString content = FileContent();
    EXPECT_TRUE(content.startsWith(u"[Tarnwick]\n"_s)) << content.toStdString();
    EXPECT_TRUE(content.contains(u"\nOption2=True\n"_s)) << content.toStdString();
    EXPECT_TRUE(content.contains(u"\nOption1=False\n"_s)) << content.toStdString();
}

TEST_P(QtSettingsStoreTest, ReadsGiveBackTheLastTextSavedAndKeepSectionsApart) {
    store.SaveSetting(kApp, kSection, u"Option1"_s, u"True"_s);
    store.SaveSetting(kApp, kSection, u"Option1"_s, u"False"_s);
    store.SaveSetting(kApp, u"Other"_s, u"Option1"_s, u"-1"_s);
    EXPECT_EQ(store.GetSetting(kApp, kSection, u"Option1"_s, u"0"_s), u"False"_s);
    EXPECT_EQ(store.GetSetting(kApp, u"Other"_s, u"Option1"_s, u"0"_s), u"-1"_s);
    EXPECT_EQ(QtSettingsStore(GetParam()).GetSetting(kApp, kSection, u"Option1"_s, u"0"_s),
              u"False"_s)
        << "a second store, as in the next run, reads the same";
}

TEST_P(QtSettingsStoreTest, HandEditedValuesComeBackAsTheirText) {
    WriteFile("[Tarnwick]\nOption1=TRUE\nOption2=yes, please\nOption3=\n");
    EXPECT_EQ(store.GetSetting(kApp, kSection, u"Option1"_s, u"0"_s), u"TRUE"_s);
    EXPECT_EQ(store.GetSetting(kApp, kSection, u"Option2"_s, u"1"_s), u"yes, please"_s);
    EXPECT_EQ(store.GetSetting(kApp, kSection, u"Option3"_s, u"0"_s), QString())
        << "an empty value is present, not absent";
}

TEST_P(QtSettingsStoreTest, AWriteThatCannotReachTheDiskFailsWithAClearMessage) {
    // A plain file where the settings folder should be: no one, not even root, can write there.
    const QString blocker = folder.filePath(u"blocker"_s);
    QFile file(blocker);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    SetUserFolder(blocker);
    try {
        store.SaveSetting(kApp, kSection, u"Option2"_s, u"True"_s);
        FAIL() << "expected a failure";
    } catch (const Failure& failure) {
        EXPECT_TRUE(failure.Description().startsWith(u"The settings could not be saved: "_s))
            << failure.Description().toStdString();
        EXPECT_TRUE(failure.Description().contains(u"blocker"_s));
    }
}

TEST_P(QtSettingsStoreTest, AWriteIntoAReadOnlyFolderFailsAndKeepsTheOldValue) {
    store.SaveSetting(kApp, kSection, u"Option2"_s, u"True"_s);
    const QString before = FileContent();
    QFile::setPermissions(SettingsFile(), QFile::ReadOwner);
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(folder.filePath(u"probe"_s));
    const bool canStillWrite = probe.open(QIODevice::WriteOnly);
    if (!canStillWrite) {
        EXPECT_THROW(store.SaveSetting(kApp, kSection, u"Option2"_s, u"False"_s), Failure);
    }
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (canStillWrite)
        GTEST_SKIP() << "permissions do not bind this user (root)";
    EXPECT_EQ(FileContent(), before);
}

namespace {

// Bytes no settings file holds: what a crash or a wrong program leaves behind.
QByteArray Junk() {
    QByteArray junk;
    quint32 state = 12345;
    for (int i = 0; i < 4096; ++i) {
        state = state * 1103515245u + 12345u;
        junk.append(static_cast<char>(state >> 24));
    }
    return junk;
}

// Valid settings, but a size no settings file has.
QByteArray Huge() {
    QByteArray huge = "[Tarnwick]\nOption1=True\n";
    while (huge.size() <= QtSettingsStore::kMaxFileBytes)
        huge.append("Key").append(QByteArray::number(huge.size())).append("=value\n");
    return huge;
}

} // namespace

// Such a file is not rewritten: it is moved aside whole, the user is told once, and the settings
// start again from the defaults.
TEST_P(QtSettingsStoreTest, AFileThatCannotBeReadIsMovedAsideAndTheDefaultsApply) {
    struct Row {
        const char* what;
        QByteArray content;
        QString reason;
    };
    for (const Row& row :
         {Row{"junk", Junk(), u"it is not a valid settings file"_s},
          Row{"broken section", "[Tarnwick\nOption1=True\n", u"it is not a valid settings file"_s},
          Row{"huge", Huge(), u"it is far too large for settings"_s}}) {
        SCOPED_TRACE(row.what);
        QFile::remove(SettingsFile() + u".unreadable"_s);
        WriteFile(row.content);
        QtSettingsStore fresh(GetParam());
        EXPECT_EQ(fresh.GetSetting(kApp, kSection, u"Option1"_s, u"0"_s), u"0"_s);
        const std::optional<QString> problem = fresh.TakeProblem();
        ASSERT_TRUE(problem.has_value());
        EXPECT_TRUE(problem->contains(row.reason)) << problem->toStdString();
        EXPECT_TRUE(problem->contains(SettingsFile() + u".unreadable"_s)) << problem->toStdString();
        EXPECT_FALSE(fresh.TakeProblem().has_value()) << "told once";
        QFile aside(SettingsFile() + u".unreadable"_s);
        ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
        EXPECT_EQ(aside.readAll(), row.content) << "kept byte for byte";
        fresh.SaveSetting(kApp, kSection, u"Option1"_s, u"True"_s);
        EXPECT_EQ(QtSettingsStore(GetParam()).GetSetting(kApp, kSection, u"Option1"_s, u"0"_s),
                  u"True"_s);
    }
}

TEST_P(QtSettingsStoreTest, AnUnreadableFileThatCannotBeMovedIsLeftAsItIs) {
    WriteFile(Junk());
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::ExeOwner);
    QFile probe(folder.filePath(u"probe"_s));
    const bool canStillWrite = probe.open(QIODevice::WriteOnly);
    QtSettingsStore fresh(GetParam());
    const QString value = fresh.GetSetting(kApp, kSection, u"Option2"_s, u"1"_s);
    const std::optional<QString> problem = fresh.TakeProblem();
    bool saved = true;
    try {
        fresh.SaveSetting(kApp, kSection, u"Option2"_s, u"True"_s);
    } catch (const Failure&) {
        saved = false;
    }
    QFile::setPermissions(folder.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    if (canStillWrite)
        GTEST_SKIP() << "permissions do not bind this user (root)";
    EXPECT_EQ(value, u"1"_s);
    ASSERT_TRUE(problem.has_value());
    EXPECT_TRUE(problem->contains(u"left as it is"_s)) << problem->toStdString();
    EXPECT_FALSE(saved);
    QFile file(SettingsFile());
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), Junk());
}

#if defined(Q_OS_WIN) || defined(Q_OS_DARWIN)
// The native store there is no file; the same code is checked on the INI format.
const auto kFormats = ::testing::Values(QSettings::IniFormat);
#else
const auto kFormats = ::testing::Values(QSettings::NativeFormat, QSettings::IniFormat);
#endif

INSTANTIATE_TEST_SUITE_P(Formats, QtSettingsStoreTest, kFormats,
                         [](const ::testing::TestParamInfo<QSettings::Format>& format) {
                             return format.param == QSettings::IniFormat ? "Ini" : "Native";
                         });
