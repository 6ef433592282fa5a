#include "WindowFixture.h"

#include "app/MousePointer.h"
#include "platform/PaneObserver.h"

#include <functional>

using namespace Qt::StringLiterals;

namespace {

// Stands in for a pane's display that fails whenever the pane is coloured, as a pane that runs
// out of memory for its colours would. The pane keeps its text and colours regardless.
class FailingColours final : public PaneObserver {
public:
    explicit FailingColours(Pane& pane) : pane_(pane) { pane_.SetObserver(this); }
    ~FailingColours() { pane_.SetObserver(nullptr); }
    FailingColours(const FailingColours&) = delete;
    FailingColours& operator=(const FailingColours&) = delete;

    void TextReplaced() override {}
    void TextEdited(qsizetype, QStringView, qsizetype) override {}
    void ColoursChanged() override { throw Failure(u"Out of memory"_s); }
    void SelectionChanged() override {}
    void VisibilityChanged() override {}
    void ProgressChanged() override {}

private:
    Pane& pane_;
};

class ComparisonFailuresTest : public WindowFixture {};

} // namespace

// Colouring a differing line fails: the failure is reported at the colouring step, and the line
// is listed all the same.
TEST_F(ComparisonFailuresTest, ALineThatCannotBeColouredIsStillListed) {
    Form1& form = Start();
    form.RichTextBox1.SetText(u"same\r\nonly in one\r"_s);
    form.RichTextBox2.SetText(u"same\r\nonly in two\r"_s);
    {
        FailingColours failing(form.RichTextBox1);
        form.PushButton1_Click();
    }
    ASSERT_EQ(ErrorReports().size(), 1u);
    EXPECT_TRUE(
        ErrorReports()[0].contains(u"in Tarnwick2021/08/31.RTB.FindDifferencesIn1 at line 122"_s))
        << ErrorReports()[0].toStdString();
    EXPECT_EQ(form.RichTextBox3.Text(), u"\nonly in one\r"_s);
    EXPECT_EQ(form.RichTextBox4.Text(), u"\nonly in two\r"_s) << "the other direction ran";
    EXPECT_FALSE(form.RichTextBox2.RangesOf(kRed).empty());
    EXPECT_EQ(box.Texts().back(), u"Done."_s) << "the run went on to its end";
}

// Whatever fails in a comparison, it ends with the busy flag down and the default pointer, and
// the next comparison runs.
TEST_F(ComparisonFailuresTest, AFailedComparisonLeavesTheWindowReadyForTheNext) {
    using Click = Task<> (Form1::*)();
    const struct {
        const char* what;
        Click click;
        bool colouringFails; // else letting the window through fails
    } cases[] = {
        {"lines, colouring", &Form1::PushButton1_Click, true},
        {"words, colouring", &Form1::PushButton6_Click, true},
        {"lines, letting the window through", &Form1::PushButton1_Click, false},
        {"words, letting the window through", &Form1::PushButton6_Click, false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Form1& form = Start();
        form.RichTextBox1.SetText(u"one two\r\nthree\r"_s);
        form.RichTextBox2.SetText(u"one 2\r\n"_s);
        {
            std::optional<FailingColours> failing;
            if (c.colouringFails)
                failing.emplace(form.RichTextBox1);
            else
                pump.onPump = [](int) { throw Failure(u"The window could not be updated"_s); };
            (form.*c.click)();
            pump.onPump = nullptr;
        }
        ASSERT_FALSE(ErrorReports().empty());
        EXPECT_EQ(box.Texts().back(), u"Done."_s) << "the run went on to its end";
        EXPECT_FALSE(form.Busy());
        EXPECT_EQ(form.MousePointer(), MousePointer::Default);

        box.shown.clear();
        (form.*c.click)();
        EXPECT_EQ(box.Texts(), std::vector<QString>{u"Done."_s}) << "the next run goes through";
        EXPECT_FALSE(form.RichTextBox3.Text().isEmpty());
        window.reset();
        box.shown.clear();
    }
}
