#pragma once

#include <filesystem>
#include <string>

namespace kest::bench {

// Whether a shell command succeeded.
bool RunShell(const std::string& command);

// `count` small files (each holding its number), a thousand to a folder.
void MakeSmallFiles(const std::filesystem::path& root, int count);

}  // namespace kest::bench
