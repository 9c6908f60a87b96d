#include "core/archive/PackedListing.h"

#include <archive.h>
#include <archive_entry.h>
#include <locale.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <climits>
#include <string_view>

#include "core/archive/ArchiveHelpers.h"
#include "core/common/Errors.h"
#include "core/text/CodePages.h"

namespace kest::archive {

namespace {

constexpr size_t kBlock = size_t{256} << 10;
constexpr int32_t kEncryptedFlag = 0x1;
// Every entry of an ISO 9660 image has a directory record of its own, of 33
// bytes and a name of at least one.
constexpr uint64_t kSmallestIsoRecord = 34;

// libarchive converts names to and from "the current locale": within a
// listing that is C.UTF-8 on this thread, so 7z's and Joliet's UTF-16 names
// arrive as UTF-8 whatever locale the program runs in.
class Utf8Locale {
  public:
    Utf8Locale() {
        static const locale_t utf8 = newlocale(LC_CTYPE_MASK, "C.UTF-8", nullptr);
        if (utf8 != nullptr) m_previous = uselocale(utf8);
    }
    ~Utf8Locale() {
        if (m_previous != nullptr) uselocale(m_previous);
    }
    Utf8Locale(const Utf8Locale&) = delete;
    Utf8Locale& operator=(const Utf8Locale&) = delete;

  private:
    locale_t m_previous = nullptr;
};

// A stored path without the "./" and "/" it may start with.
std::string_view Relative(std::string_view path) {
    for (;;) {
        if (path.starts_with("./")) {
            path.remove_prefix(2);
        } else if (path.starts_with("/")) {
            path.remove_prefix(1);
        } else {
            return path;
        }
    }
}

}  // namespace

// The archive file as libarchive's read, skip and seek callbacks see it.
struct PackedListing::Source {
    explicit Source(const ArchiveFile& f) : file(f), block(kBlock) {}
    const ArchiveFile& file;
    std::vector<char> block;
    uint64_t pos = 0;
    uint64_t furthest = 0;  // the end of the furthest read
    bool pastEnd = false;   // a read or seek went beyond the end
    std::string readError;

    static la_ssize_t Read(struct archive* a, void* data, const void** buffer) {
        auto* self = static_cast<Source*>(data);
        try {
            size_t got = self->file.ReadInto(self->pos, self->block.data(), self->block.size());
            if (got == 0) self->pastEnd = true;
            self->pos += got;
            self->furthest = std::max(self->furthest, self->pos);
            *buffer = self->block.data();
            return static_cast<la_ssize_t>(got);
        } catch (const std::exception& e) {
            self->readError = e.what();
            archive_set_error(a, EIO, "%s", e.what());
            return -1;
        }
    }
    static la_int64_t Skip(struct archive*, void* data, la_int64_t request) {
        auto* self = static_cast<Source*>(data);
        const uint64_t room = self->file.Size() - std::min(self->pos, self->file.Size());
        const uint64_t moved =
            std::min(static_cast<uint64_t>(std::max<la_int64_t>(request, 0)), room);
        self->pos += moved;
        return static_cast<la_int64_t>(moved);
    }
    static la_int64_t Seek(struct archive*, void* data, la_int64_t offset, int whence) {
        auto* self = static_cast<Source*>(data);
        const auto size = static_cast<la_int64_t>(self->file.Size());
        la_int64_t base = whence == SEEK_SET   ? 0
                          : whence == SEEK_CUR ? static_cast<la_int64_t>(self->pos)
                                               : size;
        la_int64_t target = base + offset;
        if (target < 0) return ARCHIVE_FATAL;
        if (target > size) {
            self->pastEnd = true;
            target = size;
        }
        self->pos = static_cast<uint64_t>(target);
        return target;
    }
};

PackedListing::PackedListing(const ArchiveFile& file, std::string type)
    : m_source(std::make_unique<Source>(file)), m_type(std::move(type)) {}

PackedListing::~PackedListing() {
    if (m_archive != nullptr) archive_read_free(m_archive);
}

void PackedListing::Raise(int status) {
    if (status == ARCHIVE_FATAL) m_failed = true;
    if (!m_source->readError.empty()) throw err::DeviceIo();
    if (archive_errno(m_archive) == ENOMEM) throw err::OutOfMemory();
    const char* text = archive_error_string(m_archive);
    // The data ends before the headers say it does.
    if (m_source->pastEnd || text == nullptr) throw err::InputPastEnd();
    throw err::InternalError(text);
}

bool PackedListing::Open() {
    Utf8Locale utf8;
    m_archive = archive_read_new();
    if (m_archive == nullptr) throw err::OutOfMemory();
    if (m_type == "7z") {
        archive_read_support_format_7zip(m_archive);
    } else if (m_type == "iso") {
        archive_read_support_format_iso9660(m_archive);
    } else {
        // A TAR file of any of the kinds may be wrapped in any compression.
        archive_read_support_format_tar(m_archive);
        archive_read_support_filter_gzip(m_archive);
        archive_read_support_filter_bzip2(m_archive);
        archive_read_support_filter_xz(m_archive);
        archive_read_support_filter_zstd(m_archive);
    }
    archive_read_set_callback_data(m_archive, m_source.get());
    archive_read_set_read_callback(m_archive, &Source::Read);
    archive_read_set_skip_callback(m_archive, &Source::Skip);
    archive_read_set_seek_callback(m_archive, &Source::Seek);
    int status = archive_read_open1(m_archive);
    if (status == ARCHIVE_OK) return true;
    // A single format is chosen at the open, so a file it does not know ends here.
    if (archive_format(m_archive) == 0) return false;
    Raise(status);
}

PackedListing::Next PackedListing::Read(FileFound& entry) {
    Utf8Locale utf8;
    ::archive_entry* header = nullptr;
    int status = archive_read_next_header(m_archive, &header);
    if (status == ARCHIVE_EOF) return Next::End;
    if (status < ARCHIVE_WARN) {
        // Nothing the enabled formats know: the file is not this archive.
        // (Asking about encryption without a format would crash libarchive.)
        if (!m_any && archive_format(m_archive) == 0) return Next::NotAnArchive;
        if (!m_any && archive_read_has_encrypted_entries(m_archive) > 0) {
            m_failed = true;
            return Next::HeadersEncrypted;
        }
        Raise(status);
    }
    m_any = true;
    // Directories that share one extent (a crafted image) would list the
    // entries below it again for each of them: a few kilobytes could list
    // millions of entries, and libarchive would hold them all.
    if (m_type == "iso" && ++m_entries > m_source->file.Size() / kSmallestIsoRecord) {
        m_failed = true;
        throw err::InternalError("The image lists more entries than it has room for");
    }
    if (archive_entry_filetype(header) == AE_IFDIR) return Next::Directory;
    Fill(header, entry);
    return entry.FileName.empty() ? Next::Directory : Next::Entry;
}

void PackedListing::Fill(::archive_entry* header, FileFound& entry) const {
    const char* stored = archive_entry_pathname(header);
    std::string path =
        text::DecodeStoredText(Relative(stored != nullptr ? stored : ""), text::CodePage::Cp437);
    SplitName name = SplitPath(path);
    entry.Directory = std::move(name.directory);
    entry.FileName = std::move(name.fileName);
    entry.FileDate = archive_entry_mtime_is_set(header) != 0
                         ? UnixTimeToDate(archive_entry_mtime(header))
                         : FileTimeToDate(0, false);
    entry.FileSize = archive_entry_size_is_set(header) != 0 ? archive_entry_size(header) : 0;
    // Plain TAR and ISO store the data as it is; the others keep no packed
    // size per entry.
    const bool asItIs = m_type == "iso" || (m_type != "7z" && archive_filter_code(m_archive, 0) ==
                                                                  ARCHIVE_FILTER_NONE);
    entry.PackedSize = asItIs ? entry.FileSize : 0;
    entry.Method = m_type == "7z" ? 0 : archive_filter_code(m_archive, 0);
    const mode_t mode = archive_entry_mode(header);
    entry.Attributes =
        ((mode & S_IWUSR) == 0 ? 0x01 : 0) | (entry.FileName.starts_with('.') ? 0x02 : 0);
    entry.Flags = archive_entry_is_data_encrypted(header) != 0 ? kEncryptedFlag : 0;
    entry.Crc = 0;
    entry.Comment.clear();
}

int32_t PackedListing::EstimatedCount(int32_t listed) const {
    const uint64_t size = m_source->file.Size();
    const uint64_t reached = m_source->furthest;
    if (reached == 0 || reached >= size) return listed;
    const double estimate =
        static_cast<double>(listed) * static_cast<double>(size) / static_cast<double>(reached);
    return static_cast<int32_t>(std::min<double>(estimate, INT32_MAX));
}

}  // namespace kest::archive
