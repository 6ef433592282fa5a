// The window keeps answering while loads and comparisons run, and Esc stops a comparison.
#include "Finish.h"
#include "WindowFixture.h"

#include "app/MousePointer.h"
#include "platform/QtEventPump.h"

#include <QTest>
#include <QTimer>

#include <thread>

using namespace Qt::StringLiterals;

namespace {

// The real event pump, whose work waits until the window's timer has fired three times: it can
// end only if the window's events are handled while it runs.
class WorkThatWaitsForTheWindow final : public EventPump {
public:
    Task<> Yield() override { return real_.Yield(); }
    Task<> RunAside(std::function<void()> work, std::function<void()> tick) override {
        const int before = ticks;
        co_await real_.RunAside(
            [&] {
                const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
                while (ticks < before + 3 && std::chrono::steady_clock::now() < giveUp)
                    std::this_thread::sleep_for(std::chrono::milliseconds(1));
                work();
            },
            tick);
        ++asides;
    }

    std::atomic<int> ticks = 0;
    int asides = 0;

private:
    QtEventPump real_;
};

class WindowStaysLiveTest : public WindowFixture {};

} // namespace

TEST_F(WindowStaysLiveTest, ATimerKeepsFiringDuringLoadsAndComparisons) {
    WorkThatWaitsForTheWindow live;
    window = std::make_unique<Form1>(Desktop{box, dialog, settings, shell, fileSystem, live,
                                             process, random, rulesDialog, [] { return 3600.5; }});
    Form1& form = *window;
    Finish(form.Form_Load());
    form.show();
    QTimer timer;
    QObject::connect(&timer, &QTimer::timeout, [&] { ++live.ticks; });
    timer.start(1);
    dialog.answers = {Write(u"a.txt"_s, "same\none\n")};
    Finish(form.PushButton3_Click());
    dialog.answers = {Write(u"b.txt"_s, "same\ntwo\n")};
    Finish(form.PushButton4_Click());
    Finish(form.PushButton1_Click());
    Finish(form.PushButton6_Click());
    EXPECT_GE(live.asides, 4) << "two loads and two comparisons, each beside the window";
    EXPECT_GE(live.ticks, 12);
    EXPECT_EQ(box.Texts(), (std::vector<QString>{u"Done."_s, u"Done."_s}));
    EXPECT_EQ(form.RichTextBox3.Text(), u"\r\none"_s) << "what the word comparison found";
}

TEST_F(WindowStaysLiveTest, EscStopsAComparisonWithoutDone) {
    using Click = Task<> (Form1::*)();
    for (const Click click : {&Form1::PushButton1_Click, &Form1::PushButton6_Click}) {
        Form1& form = Start();
        form.RichTextBox1.SetText(u"one\r\n"_s);
        form.RichTextBox2.SetText(u"two\r\n"_s);
        form.RichTextBox3.SetText(u"old"_s);
        form.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&form));
        pump.calls = 0;
        pump.onPump = [&](int call) {
            if (call == 2) // while the comparison is worked out
                QTest::keyClick(&form, Qt::Key_Escape);
        };
        (form.*click)();
        EXPECT_TRUE(box.shown.empty()) << "no Done. for a comparison stopped by the user";
        EXPECT_NE(form.RichTextBox3.Text(), u"old"_s) << "what was found so far is shown";
        EXPECT_FALSE(form.Busy());
        EXPECT_EQ(form.MousePointer(), MousePointer::Default);
        pump.onPump = nullptr;
        window.reset();
    }
}
