#include "app/ErrorReport.h"

#include "Finish.h"
#include "ScriptedMsgBox.h"
#include "platform/Failure.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace Qt::StringLiterals;

namespace {

const QString kLocation = u"in Tarnwick2021/08/31.Form1.Form_Load "_s;

QString Expected(const QString& description, int line) {
    return description + u"\r\n"_s + kLocation + u"at line "_s + QString::number(line) +
           u"\r\rPlease email screenshot of this message to support@quillmere.example"_s;
}

} // namespace

TEST(ErrorReportTest, ShowsTheReportExactlyWithExclamationAndOkOnly) {
    ScriptedMsgBox box;
    ReportError(box, u"Type mismatch"_s, kLocation, 158);
    ASSERT_EQ(box.shown.size(), 1u);
    EXPECT_EQ(box.shown[0].text, Expected(u"Type mismatch"_s, 158));
    EXPECT_EQ(box.shown[0].style, 48);
    EXPECT_EQ(box.shown[0].caption, u"Application Error"_s);
}

TEST(ErrorReportTest, AFailingStepIsReportedAndTheProcedureGoesOn) {
    ScriptedMsgBox box;
    std::vector<int> ran;
    GuardedProcedure proc(box, kLocation);
    proc.Step(0, [&] { throw Failure(u"first"_s); });
    proc.Step(100, [&] { ran.push_back(100); });
    proc.Step(102, [&] {
        ran.push_back(102);
        throw Failure(u"second"_s);
        ran.push_back(-1); // the rest of a failed statement is abandoned
    });
    proc.Step(104, [&] { ran.push_back(104); });
    EXPECT_EQ(ran, (std::vector<int>{100, 102, 104}));
    EXPECT_EQ(box.Texts(),
              (std::vector<QString>{Expected(u"first"_s, 0), Expected(u"second"_s, 102)}));
}

TEST(ErrorReportTest, AFailingConditionCountsAsTrue) {
    ScriptedMsgBox box;
    GuardedProcedure proc(box, kLocation);
    EXPECT_TRUE(Finish(proc.Test(120, [&]() -> bool { throw Failure(u"Bad file name"_s); })));
    EXPECT_FALSE(Finish(proc.Test(120, [] { return false; })));
    EXPECT_EQ(box.Texts(), std::vector<QString>{Expected(u"Bad file name"_s, 120)});
}

TEST(ErrorReportTest, DescribesEveryKindOfFailure) {
    const auto describe = [](auto&& thrower) {
        try {
            thrower();
        } catch (...) {
            return DescribeFailure(std::current_exception());
        }
        return QString();
    };
    EXPECT_EQ(describe([] { throw Failure(u"File not found"_s); }), u"File not found"_s);
    EXPECT_EQ(describe([] { throw std::bad_alloc(); }), u"Out of memory"_s);
    EXPECT_EQ(describe([] { throw std::out_of_range("x"); }), u"Subscript out of range"_s);
    EXPECT_EQ(describe([] { throw std::overflow_error("x"); }), u"Overflow"_s);
    EXPECT_EQ(describe([] { throw std::runtime_error("disk on fire"); }), u"disk on fire"_s);
}
