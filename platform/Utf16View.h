#pragma once

#include <QStringView>

#include <string_view>

// The comparison engine works on standard views of the same UTF-16 code units a QString holds.
inline std::u16string_view AsU16(QStringView text) {
    return {reinterpret_cast<const char16_t*>(text.utf16()), static_cast<std::size_t>(text.size())};
}

inline QStringView AsQt(std::u16string_view text) {
    return {text.data(), static_cast<qsizetype>(text.size())};
}
