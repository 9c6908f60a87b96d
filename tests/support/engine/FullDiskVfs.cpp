#include "support/engine/FullDiskVfs.h"

#include <stdexcept>

namespace kest::test {

// The file as SQLite sees it: the real file's structure follows it.
struct FullDiskFile {
    sqlite3_file base;
    FullDiskVfs* owner;
    sqlite3_file* Real() { return reinterpret_cast<sqlite3_file*>(this + 1); }
    static FullDiskFile* Of(sqlite3_file* file) { return reinterpret_cast<FullDiskFile*>(file); }
    static sqlite3_file* RealOf(sqlite3_file* file) { return Of(file)->Real(); }

    static int Write(sqlite3_file* file, const void* data, int amount, sqlite3_int64 offset) {
        if (!Of(file)->owner->Take(static_cast<uint64_t>(amount))) return SQLITE_FULL;
        return RealOf(file)->pMethods->xWrite(RealOf(file), data, amount, offset);
    }
    static int Close(sqlite3_file* file) { return RealOf(file)->pMethods->xClose(RealOf(file)); }
    static const sqlite3_io_methods* Methods();
};

// The rest of the file's calls go to the real file as they are.
#define KEST_FORWARD(name, params, args) \
    [] params { return FullDiskFile::RealOf(file)->pMethods->name args; }

const sqlite3_io_methods* FullDiskFile::Methods() {
    static const sqlite3_io_methods methods = {
        3,
        &FullDiskFile::Close,
        KEST_FORWARD(xRead, (sqlite3_file * file, void* data, int amount, sqlite3_int64 offset),
                     (FullDiskFile::RealOf(file), data, amount, offset)),
        &FullDiskFile::Write,
        KEST_FORWARD(xTruncate, (sqlite3_file * file, sqlite3_int64 size),
                     (FullDiskFile::RealOf(file), size)),
        KEST_FORWARD(xSync, (sqlite3_file * file, int flags), (FullDiskFile::RealOf(file), flags)),
        KEST_FORWARD(xFileSize, (sqlite3_file * file, sqlite3_int64 * size),
                     (FullDiskFile::RealOf(file), size)),
        KEST_FORWARD(xLock, (sqlite3_file * file, int lock), (FullDiskFile::RealOf(file), lock)),
        KEST_FORWARD(xUnlock, (sqlite3_file * file, int lock), (FullDiskFile::RealOf(file), lock)),
        KEST_FORWARD(xCheckReservedLock, (sqlite3_file * file, int* out),
                     (FullDiskFile::RealOf(file), out)),
        KEST_FORWARD(xFileControl, (sqlite3_file * file, int op, void* arg),
                     (FullDiskFile::RealOf(file), op, arg)),
        KEST_FORWARD(xSectorSize, (sqlite3_file * file), (FullDiskFile::RealOf(file))),
        KEST_FORWARD(xDeviceCharacteristics, (sqlite3_file * file), (FullDiskFile::RealOf(file))),
        KEST_FORWARD(xShmMap,
                     (sqlite3_file * file, int region, int size, int extend, void volatile** out),
                     (FullDiskFile::RealOf(file), region, size, extend, out)),
        KEST_FORWARD(xShmLock, (sqlite3_file * file, int offset, int n, int flags),
                     (FullDiskFile::RealOf(file), offset, n, flags)),
        [](sqlite3_file* file) { FullDiskFile::RealOf(file)->pMethods->xShmBarrier(RealOf(file)); },
        KEST_FORWARD(xShmUnmap, (sqlite3_file * file, int remove),
                     (FullDiskFile::RealOf(file), remove)),
        KEST_FORWARD(xFetch, (sqlite3_file * file, sqlite3_int64 offset, int amount, void** out),
                     (FullDiskFile::RealOf(file), offset, amount, out)),
        KEST_FORWARD(xUnfetch, (sqlite3_file * file, sqlite3_int64 offset, void* page),
                     (FullDiskFile::RealOf(file), offset, page)),
    };
    return &methods;
}

#undef KEST_FORWARD

FullDiskVfs::FullDiskVfs() {
    m_real = sqlite3_vfs_find(nullptr);
    if (!m_real) throw std::runtime_error("SQLite has no default VFS");
    m_vfs = *m_real;
    m_vfs.pNext = nullptr;
    m_vfs.zName = "kest-full-disk";
    m_vfs.pAppData = this;
    m_vfs.szOsFile = static_cast<int>(sizeof(FullDiskFile)) + m_real->szOsFile;
    m_vfs.xOpen = [](sqlite3_vfs* vfs, const char* name, sqlite3_file* file, int flags,
                     int* outFlags) {
        auto* self = static_cast<FullDiskVfs*>(vfs->pAppData);
        auto* shim = FullDiskFile::Of(file);
        shim->owner = self;
        shim->base.pMethods = nullptr;
        int rc = self->m_real->xOpen(self->m_real, name, shim->Real(), flags, outFlags);
        if (shim->Real()->pMethods) shim->base.pMethods = FullDiskFile::Methods();
        return rc;
    };
    m_vfs.xDelete = [](sqlite3_vfs* vfs, const char* name, int syncDir) {
        auto* real = static_cast<FullDiskVfs*>(vfs->pAppData)->m_real;
        return real->xDelete(real, name, syncDir);
    };
    m_vfs.xAccess = [](sqlite3_vfs* vfs, const char* name, int flags, int* out) {
        auto* real = static_cast<FullDiskVfs*>(vfs->pAppData)->m_real;
        return real->xAccess(real, name, flags, out);
    };
    m_vfs.xFullPathname = [](sqlite3_vfs* vfs, const char* name, int size, char* out) {
        auto* real = static_cast<FullDiskVfs*>(vfs->pAppData)->m_real;
        return real->xFullPathname(real, name, size, out);
    };
    sqlite3_vfs_register(&m_vfs, 1);
}

FullDiskVfs::~FullDiskVfs() {
    sqlite3_vfs_unregister(&m_vfs);
    sqlite3_vfs_register(m_real, 1);
}

bool FullDiskVfs::Take(uint64_t bytes) {
    uint64_t room = m_room.load();
    do {
        if (room == kUnlimited) return true;
        if (bytes > room) {
            ++m_refused;
            return false;
        }
    } while (!m_room.compare_exchange_weak(room, room - bytes));
    return true;
}

}  // namespace kest::test
