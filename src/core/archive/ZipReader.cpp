// The ZIP reader: the end record, then every central directory entry. Local
// headers and file data are never read.
#include <algorithm>
#include <climits>
#include <optional>
#include <string_view>

#include "core/archive/ArchiveFile.h"
#include "core/archive/ArchiveHelpers.h"
#include "core/archive/FileCursor.h"
#include "core/archive/LittleEndian.h"
#include "core/archive/cArchive.h"
#include "core/archive/rarlib/Crc32.h"
#include "core/text/CodePages.h"

namespace kest::archive {

namespace {

using namespace std::string_view_literals;

constexpr const char* kReader = "GetZip";
// The end record (22 bytes) behind the longest possible archive comment.
constexpr size_t kTailWindow = 65557;
constexpr uint64_t kCentralFixedSize = 46;
constexpr auto kEndSignature = "PK\x05\x06"sv;
constexpr auto kLocatorSignature = "PK\x06\x07"sv;
constexpr auto kEnd64Signature = "PK\x06\x06"sv;
constexpr auto kCentralSignature = "PK\x01\x02"sv;
constexpr uint32_t kSaturated32 = 0xFFFFFFFF;
constexpr uint16_t kZip64Extra = 0x0001;
constexpr uint16_t kUnicodePath = 0x7075;
constexpr uint16_t kUnicodeComment = 0x6375;

struct Directory {
    uint64_t entries = 0;
    uint64_t size = 0;
    uint64_t offset = 0;
    uint64_t end = 0;  // where the directory should end: the (ZIP64) end record
};

// The ZIP64 end record, when a locator stands right before the end record.
void ReadZip64End(const ArchiveFile& file, uint64_t endRecordPos, Directory& dir) {
    if (endRecordPos < 20) return;
    std::string locator = file.ReadAt(endRecordPos - 20, 20);
    if (locator.size() < 20 || locator.substr(0, 4) != kLocatorSignature) return;
    uint64_t recordPos = ByteView::Le(std::string_view(locator).substr(8, 8));
    std::string record = file.ReadAt(recordPos, 56);
    if (record.size() < 56 || record.substr(0, 4) != kEnd64Signature) return;
    ByteView view(record);
    view.Seek(24);
    dir.entries = view.U64();
    view.Skip(8);  // total entries
    dir.size = view.U64();
    dir.offset = view.U64();
    dir.end = recordPos;
}

// Self-extracting files keep offsets relative to the archive, not the file.
void CorrectPrefixedOffset(const ArchiveFile& file, Directory& dir) {
    if (dir.size > dir.end || dir.end - dir.size == dir.offset) return;
    uint64_t expected = dir.end - dir.size;
    if (file.ReadAt(dir.offset, 4) != kCentralSignature &&
        file.ReadAt(expected, 4) == kCentralSignature) {
        dir.offset = expected;
    }
}

// The data of the first well-formed extra field with this id; a malformed
// extra field is ignored, as unknown ones are.
std::optional<std::string_view> ExtraField(std::string_view extra, uint16_t wanted) {
    ByteView view(extra);
    while (view.Remaining() >= 4) {
        uint16_t id = view.U16();
        uint16_t size = view.U16();
        if (size > view.Remaining()) break;
        std::string_view data = view.Bytes(size);
        if (id == wanted) return data;
    }
    return std::nullopt;
}

// The sizes that do not fit 32 bits stand in the ZIP64 extra field, in this
// order.
void ApplyZip64Extra(std::string_view extra, uint32_t unpacked, uint32_t packed, FileFound& entry) {
    auto field = ExtraField(extra, kZip64Extra);
    if (!field) return;
    ByteView data(*field);
    if (unpacked == kSaturated32 && data.Remaining() >= 8) {
        entry.FileSize = static_cast<int64_t>(data.U64());
    }
    if (packed == kSaturated32 && data.Remaining() >= 8) {
        entry.PackedSize = static_cast<int64_t>(data.U64());
    }
}

// The UTF-8 text an Info-ZIP Unicode extra field (0x7075 for the path,
// 0x6375 for the comment) gives for the stored bytes, when it is there, is
// of version 1 and was made for exactly these bytes.
std::optional<std::string> UnicodeExtra(std::string_view extra, uint16_t id,
                                        std::string_view stored) {
    auto field = ExtraField(extra, id);
    if (!field || field->size() < 5) return std::nullopt;
    ByteView data(*field);
    auto bytes = reinterpret_cast<const uint8_t*>(stored.data());
    if (data.U8() != 1 || data.U32() != Crc32({bytes, stored.size()})) return std::nullopt;
    std::string_view text = data.Bytes(data.Remaining());
    if (!text::IsValidUtf8(text)) return std::nullopt;
    return std::string(text);
}

// A stored name or comment as UTF-8: the Unicode extra field's text, else the
// bytes themselves when they are UTF-8 (flagged so, or as Linux tools write
// them), else the bytes read as code page 437.
std::string StoredText(std::string_view extra, uint16_t unicodeId, std::string_view stored) {
    if (auto unicode = UnicodeExtra(extra, unicodeId, stored)) return *unicode;
    return text::DecodeStoredText(stored, text::CodePage::Cp437);
}

void ReadCentralEntry(FileCursor& cursor, FileFound& entry) {
    ByteView fixed(cursor.Take(kCentralFixedSize));
    fixed.Seek(8);  // the signature and versions are not looked at
    entry.Flags = static_cast<int16_t>(fixed.U16());
    entry.Method = static_cast<int16_t>(fixed.U16());
    uint16_t dosTime = fixed.U16();
    uint16_t dosDate = fixed.U16();
    entry.Crc = fixed.U32();
    uint32_t packed = fixed.U32();
    uint32_t unpacked = fixed.U32();
    uint16_t nameLength = fixed.U16();
    uint16_t extraLength = fixed.U16();
    uint16_t commentLength = fixed.U16();
    fixed.Skip(4);  // disk number, internal attributes
    entry.Attributes = static_cast<int32_t>(fixed.U32());
    entry.PackedSize = packed;
    entry.FileSize = unpacked;
    entry.FileDate = DosToDate(dosDate, dosTime);

    // A view of the cursor lasts until its next call.
    std::string storedName(cursor.Take(nameLength));
    std::string extra(extraLength != 0 ? cursor.Take(extraLength) : std::string_view());
    std::string storedComment(commentLength != 0 ? cursor.Take(commentLength) : std::string_view());
    ApplyZip64Extra(extra, unpacked, packed, entry);
    SplitName name = SplitPath(StoredText(extra, kUnicodePath, storedName));
    entry.Directory = std::move(name.directory);
    entry.FileName = std::move(name.fileName);
    if (commentLength != 0) entry.Comment = StoredText(extra, kUnicodeComment, storedComment);
}

}  // namespace

void cArchive::GetZip() {
    auto file = ArchiveFile::Open(m_archivePath, m_window);
    if (!file || file->Size() == 0) return;

    // The tail window starts at offset 1 in short files: an end record at
    // offset 0 belongs to an archive with nothing in it.
    const uint64_t windowStart = file->Size() > kTailWindow ? file->Size() - kTailWindow : 1;
    std::string window;
    if (Step(kReader, 10, [&] { window = file->ReadAt(windowStart, kTailWindow); }) ==
        StepResult::Cancelled) {
        return;
    }
    const size_t signature = window.rfind(kEndSignature);
    if (signature == std::string::npos) return;

    Directory dir;
    dir.end = windowStart + signature;
    auto readEnd = [&] {
        ByteView record(window);
        record.Seek(signature + 4);
        record.Skip(4);  // disk numbers
        dir.entries = record.U16();
        record.Skip(2);  // total entries
        dir.size = record.U32();
        dir.offset = record.U32();
    };
    if (Step(kReader, 20, readEnd) == StepResult::Cancelled) return;
    auto locate = [&] {
        ReadZip64End(*file, windowStart + signature, dir);
        CorrectPrefixedOffset(*file, dir);
    };
    if (Step(kReader, 30, locate) == StepResult::Cancelled) return;

    // No count can claim more entries than the file has room for.
    const uint64_t room = dir.offset < file->Size() ? file->Size() - dir.offset : 0;
    m_entryCount = static_cast<int32_t>(
        std::min<uint64_t>({dir.entries, room / kCentralFixedSize, INT32_MAX}));

    FileCursor cursor(*file, dir.offset);
    ReportEntries(kReader, 40, [&](FileFound& entry) { ReadCentralEntry(cursor, entry); });
}

}  // namespace kest::archive
