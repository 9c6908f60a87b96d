#pragma once

#include <cstdint>
#include <string>

namespace kest::test {

// Writes a plain ustar archive of `count` empty files ("f/0000000", ...)
// straight to a file: a TAR bomb of a million entries takes a second, where
// the tar tool would need a million files first. False when it cannot write.
bool WriteTarBomb(const std::string& path, int64_t count);

}  // namespace kest::test
