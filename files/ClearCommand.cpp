// "Clear Text Above": all four panes emptied, to start again.
#include "app/ErrorReport.h"
#include "app/Form1.h"

using namespace Qt::StringLiterals;

void Form1::PushButton7_Click() {
    GuardedProcedure proc(desktop_.msgBox, u"in Tarnwick2021/08/31.Form1.PushButton7_Click "_s);
    proc.Step(100, [&] { RichTextBox1.SetText({}); });
    proc.Step(102, [&] { RichTextBox2.SetText({}); });
    proc.Step(104, [&] { RichTextBox3.SetText({}); });
    proc.Step(106, [&] { RichTextBox4.SetText({}); });
}
