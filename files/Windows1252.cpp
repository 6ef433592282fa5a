#include "files/Windows1252.h"

#include <array>

namespace {

constexpr uchar kFirstTypographic = 0x80;
constexpr uchar kLastTypographic = 0x9F;

constexpr std::array<char16_t, kLastTypographic - kFirstTypographic + 1> kTypographic = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, // 80-87
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F, // 88-8F
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90-97
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178, // 98-9F
};

// One lookup per byte, without a branch: whole files go through it.
constexpr std::array<char16_t, 256> BuildTable() {
    std::array<char16_t, 256> table{};
    for (int byte = 0; byte < 256; ++byte)
        table[byte] = static_cast<char16_t>(byte);
    for (int byte = kFirstTypographic; byte <= kLastTypographic; ++byte)
        table[byte] = kTypographic[byte - kFirstTypographic];
    return table;
}

constexpr std::array<char16_t, 256> kTable = BuildTable();

} // namespace

char16_t Windows1252ToUnicode(uchar byte) {
    return kTable[byte];
}

QChar* DecodeWindows1252(QByteArrayView bytes, QChar* out) {
    for (char byte : bytes)
        *out++ = QChar(kTable[static_cast<uchar>(byte)]);
    return out;
}
