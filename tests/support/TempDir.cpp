#include "support/TempDir.h"

#include <stdlib.h>

#include <fstream>
#include <stdexcept>

namespace kest::test {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kest-test-XXXXXX").string();
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp failed");
    m_path = pattern;
}

TempDir::~TempDir() {
    std::error_code ec;
    // Tests may leave read-only folders behind; make them writable first.
    for (auto it = std::filesystem::recursive_directory_iterator(
             m_path, std::filesystem::directory_options::skip_permission_denied, ec);
         !ec && it != std::filesystem::recursive_directory_iterator(); it.increment(ec)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ec);
    }
    std::filesystem::remove_all(m_path, ec);
}

std::string TempDir::Write(const std::string& name, const std::string& content) const {
    auto path = m_path / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return path.string();
}

std::string SharedDataDir() {
    const char* env = getenv("KEST_SHARED_DIR");
    std::filesystem::path dir = env ? env : KEST_SHARED_DIR;
    std::error_code ec;
    return std::filesystem::is_directory(dir / "testdata", ec) ? dir.string() : std::string();
}

}  // namespace kest::test
