#include "platform/FileDialogFilter.h"

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QString kLoadFilter = u"Text Files (*.txt)|*.txt|All Files (*.*)|*.*|"_s;
const QString kSaveFilter = u"Text Files(*.txt)|*.txt|All Files (*.*)|*.*|"_s;

} // namespace

TEST(FileDialogFilterTest, EveryPairBecomesItsDescriptionFollowedByItsPatterns) {
    EXPECT_EQ(QtNameFilters(kLoadFilter, StarDotStar::MatchesEveryFile),
              (QStringList{u"Text Files (*.txt) (*.txt)"_s, u"All Files (*.*) (*.*)"_s}));
    EXPECT_EQ(QtNameFilters(kSaveFilter, StarDotStar::MatchesEveryFile).first(),
              u"Text Files(*.txt) (*.txt)"_s)
        << "the description is kept exactly, even without a blank before its parenthesis";
}

TEST(FileDialogFilterTest, StarDotStarShowsFilesWithoutExtensionWhereItWouldHideThem) {
    EXPECT_EQ(QtNameFilters(kLoadFilter, StarDotStar::NeedsADot),
              (QStringList{u"Text Files (*.txt) (*.txt)"_s, u"All Files (*.*) (*)"_s}));
    EXPECT_EQ(QtNameFilters(u"Odd|*.*x|"_s, StarDotStar::NeedsADot), QStringList{u"Odd (*.*x)"_s})
        << "only the whole pattern *.* is widened";
}

TEST(FileDialogFilterTest, SeveralPatternsInOneFieldAreAllApplied) {
    EXPECT_EQ(QtNameFilters(u"Texts|*.txt;*.log; *.*|"_s, StarDotStar::NeedsADot),
              QStringList{u"Texts (*.txt *.log *)"_s});
}

TEST(FileDialogFilterTest, IncompleteOrEmptyPairsAreDroppedAndAMissingDescriptionIsThePattern) {
    EXPECT_TRUE(QtNameFilters(u""_s).isEmpty());
    EXPECT_TRUE(QtNameFilters(u"Text Files|"_s).isEmpty());
    EXPECT_EQ(QtNameFilters(u"Text|*.txt|Nothing||Dangling"_s, StarDotStar::NeedsADot),
              QStringList{u"Text (*.txt)"_s});
    EXPECT_EQ(QtNameFilters(u"|*.md|"_s), QStringList{u"*.md (*.md)"_s});
    EXPECT_EQ(QtNameFilters(u"Text|*.txt"_s), QStringList{u"Text (*.txt)"_s})
        << "the closing | may be missing";
}

TEST(FileDialogFilterTest, TheChosenFilterIsFoundByItsWholeTextOrByItsDescription) {
    const QStringList filters = QtNameFilters(kLoadFilter, StarDotStar::NeedsADot);
    EXPECT_EQ(NameFilterIndex(filters, u"All Files (*.*) (*)"_s), 1);
    EXPECT_EQ(NameFilterIndex(filters, u"All Files (*.*)"_s), 1);
    EXPECT_EQ(NameFilterIndex(filters, u"Text Files (*.txt)"_s), 0);
    EXPECT_EQ(NameFilterIndex(filters, u"Text Files"_s), -1);
    EXPECT_EQ(NameFilterIndex(filters, QString()), -1);
}
