#pragma once

#include "platform/MsgBox.h"
#include "platform/Task.h"

#include <QString>

#include <exception>
#include <type_traits>

inline constexpr QStringView kSupportAddress = u"support@quillmere.example";

// The text of the "Application Error" report for a failure at a numbered statement.
QString ErrorReportText(const QString& description, const QString& location, int line);

// Shows the report (exclamation icon, OK only, caption "Application Error") and waits.
Task<> ReportError(MsgBox& box, const QString& description, const QString& location, int line);

// What the user is told about a caught exception.
QString DescribeFailure(std::exception_ptr failure);

template <typename T> inline constexpr bool kIsTask = false;
template <typename T> inline constexpr bool kIsTask<Task<T>> = true;

// A procedure made of numbered statements under one handler: a statement that fails is reported
// with its number and the procedure goes on with the next statement. Nothing is rolled back.
// Statements are awaited, since the report waits for the user; a statement may itself be a
// coroutine (a lambda returning Task<>), which is awaited in turn.
//
//     GuardedProcedure proc(box, u"in Tarnwick2021/08/31.Form1.PushButton7_Click "_s);
//     co_await proc.Step(100, [&] { RichTextBox1.SetText({}); });
//
// A statement without a number of its own is run under the number of the nearest one above it
// (0 above the first); a call into a routine without a report of its own is one statement, so a
// failure anywhere inside it abandons the whole call.
class GuardedProcedure {
public:
    GuardedProcedure(MsgBox& box, QString location) : box_(box), location_(std::move(location)) {}

    template <typename Statement> Task<> Step(int number, Statement statement) {
        std::exception_ptr failure;
        try {
            if constexpr (kIsTask<std::invoke_result_t<Statement&>>)
                co_await statement();
            else
                statement();
        } catch (...) {
            failure = std::current_exception();
        }
        if (failure)
            co_await Report(number, failure);
    }

    // The test of a conditional block. A test that fails counts as true, so execution goes on
    // with the first statement inside the block.
    template <typename Condition> Task<bool> Test(int number, Condition condition) {
        std::exception_ptr failure;
        try {
            if constexpr (kIsTask<std::invoke_result_t<Condition&>>)
                co_return static_cast<bool>(co_await condition());
            else
                co_return static_cast<bool>(condition());
        } catch (...) {
            failure = std::current_exception();
        }
        co_await Report(number, failure);
        co_return true;
    }

    const QString& Location() const { return location_; }

private:
    Task<> Report(int number, std::exception_ptr failure);

    MsgBox& box_;
    QString location_;
};
