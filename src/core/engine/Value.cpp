#include "core/engine/Value.h"

#include <cstdio>

namespace kest::engine {

std::string ValueText(const Value& v) {
    if (auto i = std::get_if<int64_t>(&v)) return std::to_string(*i);
    if (auto d = std::get_if<double>(&v)) {
        char buf[32];
        std::snprintf(buf, sizeof buf, "%.15g", *d);
        return buf;
    }
    if (auto s = std::get_if<std::string>(&v)) return *s;
    return {};
}

}  // namespace kest::engine
