// The doubles other tests lean on: a fault here would make those tests pass for wrong reasons.
#include "Finish.h"
#include "MemorySettingsStore.h"
#include "ScriptedFileDialog.h"
// Built here with the project's warnings until the window's tests use them.
#include "RecordingProcessControl.h"
#include "RecordingShell.h"
#include "ScriptedRandomGenerator.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

TEST(TestDoublesTest, ScriptedFileDialogRecordsSetUpInOrderAndAnswersInTurn) {
    ScriptedFileDialog dialog;
    dialog.answers = {u"/tmp/a.txt"_s};
    FileDialog& asUsed = dialog;
    asUsed.SetFileName({});
    asUsed.SetFlags(0x280201);
    asUsed.SetDialogTitle(u"Load"_s);
    asUsed.SetFilter(u"All|*.*|"_s);
    asUsed.ShowOpen();
    EXPECT_EQ(asUsed.FileName(), u"/tmp/a.txt"_s);
    asUsed.ShowSave();
    EXPECT_EQ(asUsed.FileName(), QString()) << "out of answers is a cancel";
    EXPECT_EQ(dialog.calls,
              (std::vector<QString>{u"FileName="_s, u"Flags=2621953"_s, u"DialogTitle=Load"_s,
                                    u"Filter=All|*.*|"_s, u"ShowOpen"_s, u"ShowSave"_s}));
    EXPECT_EQ(ScriptedFileDialog::Selection(u"/d"_s, {u"a"_s, u"b"_s}), u"/d\0a\0b"_s);
}

TEST(TestDoublesTest, MemorySettingsStoreFailingWritesChangeNothing) {
    MemorySettingsStore store;
    store.SaveSetting(u"Q"_s, u"T"_s, u"Option1"_s, u"True"_s);
    store.failWrites = true;
    EXPECT_THROW(store.SaveSetting(u"Q"_s, u"T"_s, u"Option1"_s, u"False"_s), Failure);
    EXPECT_EQ(store.GetSetting(u"Q"_s, u"T"_s, u"Option1"_s, u"0"_s), u"True"_s);
    EXPECT_EQ(store.GetSetting(u"Q"_s, u"Other"_s, u"Option1"_s, u"0"_s), u"0"_s);
    EXPECT_EQ(store.writes.size(), 1u);
}

TEST(TestDoublesTest, ScriptedFileDialogFailsOnlyTheCallItIsToldTo) {
    ScriptedFileDialog dialog;
    dialog.answers = {u"/tmp/a.txt"_s};
    dialog.failing = u"ShowSave"_s;
    EXPECT_THROW(Finish(dialog.ShowSave()), Failure);
    EXPECT_EQ(dialog.FileName(), QString()) << "a failed Show leaves no name";
    dialog.SetFileName(u"kept"_s);
    EXPECT_EQ(dialog.FileName(), u"kept"_s);
    dialog.failing = u"FileName"_s;
    EXPECT_THROW(dialog.SetFileName({}), Failure);
    dialog.ShowOpen();
    EXPECT_EQ(dialog.FileName(), u"/tmp/a.txt"_s) << "the answer is still there for the next Show";
}
