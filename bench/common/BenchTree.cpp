#include "BenchTree.h"

#include <cstdlib>
#include <fstream>

namespace kest::bench {

bool RunShell(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

void MakeSmallFiles(const std::filesystem::path& root, int count) {
    for (int i = 0; i < count; ++i) {
        std::filesystem::path folder = root / ("folder" + std::to_string(i / 1000));
        if (i % 1000 == 0) std::filesystem::create_directories(folder);
        std::ofstream(folder / ("file" + std::to_string(i) + ".txt")) << i << '\n';
    }
}

}  // namespace kest::bench
