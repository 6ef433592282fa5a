#pragma once

#include "platform/MsgBox.h"

#include <QString>

#include <exception>

inline constexpr QStringView kSupportAddress = u"support@quillmere.example";

// The text of the "Application Error" report for a failure at a numbered statement.
QString ErrorReportText(const QString& description, const QString& location, int line);

// Shows the report (exclamation icon, OK only, caption "Application Error") and waits.
void ReportError(MsgBox& box, const QString& description, const QString& location, int line);

// What the user is told about a caught exception.
QString DescribeFailure(std::exception_ptr failure);

// A procedure made of numbered statements under one handler: a statement that fails is reported
// with its number and the procedure goes on with the next statement. Nothing is rolled back.
//
//     GuardedProcedure proc(box, u"in Tarnwick2021/08/31.Form1.PushButton7_Click "_s);
//     proc.Step(100, [&] { RichTextBox1.SetText({}); });
//
// A statement without a number of its own is run under the number of the nearest one above it
// (0 above the first); a call into a routine without a report of its own is one statement, so a
// failure anywhere inside it abandons the whole call.
class GuardedProcedure {
public:
    GuardedProcedure(MsgBox& box, QString location) : box_(box), location_(std::move(location)) {}

    template <typename Statement> void Step(int number, Statement&& statement) {
        try {
            statement();
        } catch (...) {
            Report(number, std::current_exception());
        }
    }

    // The test of a conditional block. A test that fails counts as true, so execution goes on
    // with the first statement inside the block.
    template <typename Condition> bool Test(int number, Condition&& condition) {
        try {
            return static_cast<bool>(condition());
        } catch (...) {
            Report(number, std::current_exception());
            return true;
        }
    }

    const QString& Location() const { return location_; }

private:
    void Report(int number, std::exception_ptr failure);

    MsgBox& box_;
    QString location_;
};
