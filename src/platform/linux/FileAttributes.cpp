#include "platform/FileAttributes.h"

#include <fcntl.h>
#include <linux/magic.h>
#include <linux/msdos_fs.h>
#include <sys/ioctl.h>
#include <sys/statfs.h>
#include <sys/xattr.h>
#include <unistd.h>

#include <cerrno>

namespace kest::platform {

namespace {

// Magic numbers of file systems that keep DOS attributes; not all are in
// <linux/magic.h> on every system.
constexpr long kExfatMagic = 0x2011BAB0;
constexpr long kNtfs3Magic = 0x7366746e;
constexpr long kNtfsMagic = 0x5346544e;
constexpr long kFuseMagic = 0x65735546;  // ntfs-3g mounts through FUSE
constexpr long kCifsMagic = static_cast<long>(0xFF534D42);
constexpr long kSmb2Magic = static_cast<long>(0xFE534D42);

// Errors that mean "this file system does not answer that way".
bool Unsupported(int error) {
    return error == ENOTTY || error == ENOTSUP || error == ENODATA || error == EINVAL ||
           error == ENOSYS;
}

int ReadXattr(const std::string& path, const char* key, bool bigEndian, uint32_t& bits) {
    unsigned char raw[4] = {};
    ssize_t n = lgetxattr(path.c_str(), key, raw, sizeof raw);
    if (n < 0) return errno;
    if (n < 4) return ENODATA;
    if (bigEndian) {
        bits = uint32_t(raw[0]) << 24 | uint32_t(raw[1]) << 16 | uint32_t(raw[2]) << 8 | raw[3];
    } else {
        bits = uint32_t(raw[3]) << 24 | uint32_t(raw[2]) << 16 | uint32_t(raw[1]) << 8 | raw[0];
    }
    return 0;
}

int ReadFatIoctl(int dirFd, const char* name, uint32_t& bits) {
    int fd = openat(dirFd, name, O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return errno;
    __u32 value = 0;
    int rc = ioctl(fd, FAT_IOCTL_GET_ATTRIBUTES, &value);
    int error = rc < 0 ? errno : 0;
    close(fd);
    if (error == 0) bits = value;
    return error;
}

}  // namespace

uint32_t FileAttributeReader::PosixBits(const char* name, const struct stat& st) {
    uint32_t bits = 0;
    if (!S_ISLNK(st.st_mode) && (st.st_mode & S_IWUSR) == 0) bits |= kAttrReadOnly;
    if (name[0] == '.') bits |= kAttrHidden;
    return bits;
}

FileAttributeReader::Method FileAttributeReader::MethodFor(int dirFd, dev_t device) {
    auto found = m_methods.find(device);
    if (found != m_methods.end()) return found->second;
    struct statfs fs {};
    Method method = Method::Posix;
    if (fstatfs(dirFd, &fs) == 0) {
        long type = static_cast<long>(fs.f_type);
        if (type == MSDOS_SUPER_MAGIC || type == kExfatMagic) method = Method::FatIoctl;
        if (type == kNtfs3Magic || type == kNtfsMagic || type == kFuseMagic) {
            method = Method::NtfsXattr;
        }
        if (type == kCifsMagic || type == kSmb2Magic) method = Method::CifsXattr;
    }
    m_methods[device] = method;
    return method;
}

int FileAttributeReader::Read(int dirFd, const std::string& fullPath, const char* name,
                              const struct stat& st, uint32_t& bits) {
    Method method = MethodFor(dirFd, st.st_dev);
    int error = 0;
    switch (method) {
        case Method::FatIoctl:
            error = ReadFatIoctl(dirFd, name, bits);
            break;
        case Method::NtfsXattr:
            error = ReadXattr(fullPath, "system.ntfs_attrib_be", true, bits);
            break;
        case Method::CifsXattr:
            error = ReadXattr(fullPath, "user.cifs.dosattrib", false, bits);
            break;
        case Method::Posix:
            bits = PosixBits(name, st);
            return 0;
    }
    if (error == 0) return 0;
    if (Unsupported(error)) {
        // The volume keeps no DOS attributes after all (exFAT on older
        // kernels, a FUSE file system other than ntfs-3g).
        m_methods[st.st_dev] = Method::Posix;
    } else if (error != EACCES && error != EPERM) {
        return error;
    }
    bits = PosixBits(name, st);
    return 0;
}

}  // namespace kest::platform
