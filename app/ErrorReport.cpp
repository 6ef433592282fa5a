#include "app/ErrorReport.h"

#include "platform/Failure.h"

#include <new>
#include <stdexcept>

using namespace Qt::StringLiterals;

QString ErrorReportText(const QString& description, const QString& location, int line) {
    return description + u"\r\n"_s + location + u"at line "_s + QString::number(line) + u"\r\r"_s +
           u"Please email screenshot of this message to "_s + kSupportAddress.toString();
}

Task<> ReportError(MsgBox& box, const QString& description, const QString& location, int line) {
    co_await box.Show(ErrorReportText(description, location, line), MsgBoxStyle::Exclamation,
                      QStringLiteral("Application Error"));
}

QString DescribeFailure(std::exception_ptr failure) {
    try {
        std::rethrow_exception(failure);
    } catch (const Failure& f) {
        return f.Description();
    } catch (const std::bad_alloc&) {
        return QStringLiteral("Out of memory");
    } catch (const std::out_of_range&) {
        return QStringLiteral("Subscript out of range");
    } catch (const std::overflow_error&) {
        return QStringLiteral("Overflow");
    } catch (const std::exception& e) {
        return QString::fromUtf8(e.what());
    } catch (...) {
        return QStringLiteral("Unexpected failure");
    }
}

Task<> GuardedProcedure::Report(int number, std::exception_ptr failure) {
    co_await ReportError(box_, DescribeFailure(failure), location_, number);
}
