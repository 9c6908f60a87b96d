#pragma once

#include <QColor>
#include <cstdint>
#include <optional>

namespace kest::gui {

// Colours are stored as the classic 0x00BBGGRR value; anything outside that
// range (negative, system colours) leaves the desktop's colour.
inline std::optional<QColor> StoredColour(int32_t value) {
    if (value < 0 || value > 0xFFFFFF) return std::nullopt;
    return QColor(value & 0xFF, (value >> 8) & 0xFF, (value >> 16) & 0xFF);
}

inline int32_t ColourValue(const QColor& colour) {
    return colour.red() | colour.green() << 8 | colour.blue() << 16;
}

}  // namespace kest::gui
