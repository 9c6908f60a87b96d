#pragma once

#include <string>

namespace kest {

// Keeps the file at path under the first free name of "<path>.damaged",
// "<path>.damaged.2", "<path>.damaged.3", …, so that no earlier kept file is
// ever replaced, while path itself never goes missing: a second name for the
// same file, or a copy where the file system has none. Gives the name used.
std::string KeepOriginal(const std::string& path);

}  // namespace kest
