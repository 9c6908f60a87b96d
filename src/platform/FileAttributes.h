#pragma once

#include <sys/stat.h>

#include <cstdint>
#include <string>
#include <unordered_map>

namespace kest::platform {

// The DOS attribute bits the catalog shows as R, H, S and A.
inline constexpr uint32_t kAttrReadOnly = 0x01;
inline constexpr uint32_t kAttrHidden = 0x02;
inline constexpr uint32_t kAttrSystem = 0x04;
inline constexpr uint32_t kAttrArchive = 0x20;

// Reads DOS attributes where the file system keeps them (the FAT ioctl, the
// NTFS and CIFS extended attributes) and otherwise derives them from the mode
// and the name: R when the owner cannot write, H for names starting with ".".
// How a volume answers is learnt from its first file and remembered per
// device, so a walk over ext4 costs no system call beyond the stat it has.
class FileAttributeReader {
  public:
    // `dirFd` is the open directory holding `name`; `fullPath` is the same
    // file by path; `st` is its lstat. Gives 0 or an errno value.
    int Read(int dirFd, const std::string& fullPath, const char* name, const struct stat& st,
             uint32_t& bits);

  private:
    enum class Method { FatIoctl, NtfsXattr, CifsXattr, Posix };
    Method MethodFor(int dirFd, dev_t device);
    static uint32_t PosixBits(const char* name, const struct stat& st);

    std::unordered_map<dev_t, Method> m_methods;
};

}  // namespace kest::platform
