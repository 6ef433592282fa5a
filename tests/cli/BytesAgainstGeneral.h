#pragma once

#include "PrintedRun.h"
#include "cli/ByteLineComparison.h"
#include "cli/CliComparison.h"

#include <gtest/gtest.h>

#include <optional>

// The line comparison on bytes held against the general comparison, with the same options: where
// the bytes are not `taken`, the byte path must leave the run to the general one having printed
// nothing; where they are, both must print the same and end with the same status.
inline testing::AssertionResult BytesAsGeneral(const CliOptions& options, bool taken) {
    std::optional<int> general, asBytes;
    const QByteArray expected =
        Printed([&](std::FILE* out) { return RunGeneralComparison(options, out); }, general);
    const QByteArray got =
        Printed([&](std::FILE* out) { return CompareLinesAsBytes(options, out); }, asBytes);
    if (!taken) {
        if (asBytes.has_value() || !got.isEmpty())
            return testing::AssertionFailure() << "the bytes were taken: " << got.toStdString();
        return testing::AssertionSuccess();
    }
    if (!asBytes.has_value())
        return testing::AssertionFailure() << "the bytes were left to the general comparison";
    if (got != expected)
        return testing::AssertionFailure() << "on bytes:\n"
                                           << got.toStdString() << "\ngeneral:\n"
                                           << expected.toStdString();
    if (asBytes != general)
        return testing::AssertionFailure()
               << "status " << *asBytes << " on bytes, " << general.value_or(-1) << " general";
    return testing::AssertionSuccess();
}
