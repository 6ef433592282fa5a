// "Clear Text Above": all four panes emptied, to start again.
#include "app/ErrorReport.h"
#include "app/Form1.h"

using namespace Qt::StringLiterals;

Task<> Form1::PushButton7_Click() {
    GuardedProcedure proc(desktop_.msgBox, u"in Tarnwick2021/08/31.Form1.PushButton7_Click "_s);
    // A load still under way would fill a pane again afterwards: it stops here.
    loads_.SupersedeAll();
    co_await proc.Step(100, [&] { RichTextBox1.SetText({}); });
    co_await proc.Step(102, [&] { RichTextBox2.SetText({}); });
    co_await proc.Step(104, [&] { RichTextBox3.SetText({}); });
    co_await proc.Step(106, [&] { RichTextBox4.SetText({}); });
}
