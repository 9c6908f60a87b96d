#include "core/common/DurableFile.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <filesystem>

#include "core/common/FileSystemError.h"

namespace kest {
namespace {

void SyncPath(const std::string& path, int flags) {
    int fd = open(path.c_str(), flags | O_CLOEXEC);
    if (fd < 0) throw FileSystemError(errno);
    int rc = fsync(fd);
    int error = errno;
    close(fd);
    if (rc != 0) throw FileSystemError(error);
}

std::string FolderOf(const std::string& path) {
    std::string folder = std::filesystem::path(path).parent_path().string();
    return folder.empty() ? "." : folder;
}

}  // namespace

void SyncFile(const std::string& path) {
    SyncPath(path, O_RDONLY);
}

void RenameDurably(const std::string& from, const std::string& to) {
    if (std::rename(from.c_str(), to.c_str()) != 0) throw FileSystemError(errno);
    SyncPath(FolderOf(to), O_RDONLY | O_DIRECTORY);
}

void RemoveIfPresent(const std::string& path) {
    std::error_code ec;
    std::filesystem::remove(path, ec);
    if (ec) throw FileSystemError(ec.value());
}

void CopyFileDurably(const std::string& from, const std::string& to) {
    std::filesystem::path target(to);
    std::string temporary =
        (target.parent_path() / ("." + target.filename().string() + ".kest-part")).string();
    try {
        std::error_code ec;
        std::filesystem::copy_file(from, temporary,
                                   std::filesystem::copy_options::overwrite_existing, ec);
        if (ec) throw FileSystemError(ec.value());
        SyncFile(temporary);
        RenameDurably(temporary, to);
    } catch (...) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        throw;
    }
}

}  // namespace kest
