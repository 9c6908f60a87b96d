#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace kest::engine {

// One value as the engine hands it back: NULL, a whole number, a real or text.
// Dates are text "YYYY-MM-DD HH:MM:SS" (local time, no zone).
using Value = std::variant<std::monostate, int64_t, double, std::string>;

inline bool IsNull(const Value& v) {
    return std::holds_alternative<std::monostate>(v);
}

// The value as text the way a bound grid shows it: NULL is "", numbers in
// their shortest decimal form (1.5, 42).
std::string ValueText(const Value& v);

}  // namespace kest::engine
