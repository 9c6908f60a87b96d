// The CAB reader: the header, the first folder entry and the file entries.
// Cabinets keep no packed size, CRC or comment per file.
#include <string_view>

#include "core/archive/ArchiveFile.h"
#include "core/archive/ArchiveHelpers.h"
#include "core/archive/FileCursor.h"
#include "core/archive/LittleEndian.h"
#include "core/archive/cArchive.h"
#include "core/text/CodePages.h"

namespace kest::archive {

namespace {

constexpr const char* kReader = "GetCab";
constexpr size_t kHeaderSize = 36;
constexpr size_t kFileFixedSize = 16;
constexpr size_t kMaxName = 260;
constexpr uint16_t kPreviousCabinet = 0x1;
constexpr uint16_t kNextCabinet = 0x2;
constexpr uint16_t kReservePresent = 0x4;

struct CabHeader {
    uint32_t filesOffset = 0;
    uint16_t folders = 0;
    uint16_t files = 0;
    uint16_t flags = 0;
};

void SkipString(FileCursor& cursor) {
    while (cursor.Take(1)[0] != '\0') {
    }
}

// Moves past the reserved area and the neighbour cabinets' names that the
// flags announce, to where the first folder entry stands.
void SkipOptionalFields(FileCursor& cursor, uint16_t flags) {
    if (flags & kReservePresent) {
        ByteView sizes(cursor.Take(4));
        uint16_t headerReserve = sizes.U16();
        cursor.Take(headerReserve);
    }
    for (uint16_t neighbour : {kPreviousCabinet, kNextCabinet}) {
        if (flags & neighbour) {
            SkipString(cursor);  // cabinet name
            SkipString(cursor);  // disk name
        }
    }
}

// One file entry at the cursor; the name runs to its NUL, or to the end of
// the 260 bytes it may fill (or of the file).
void ReadFileEntry(FileCursor& cursor, FileFound& entry) {
    ByteView fixed(cursor.Take(kFileFixedSize));
    entry.FileSize = fixed.U32();
    fixed.Skip(6);  // offset in the folder, folder index
    uint16_t dosDate = fixed.U16();
    uint16_t dosTime = fixed.U16();
    entry.Attributes = static_cast<int16_t>(fixed.U16());
    entry.FileDate = DosToDate(dosDate, dosTime);

    std::string_view rest = cursor.Peek(kMaxName);
    size_t nul = rest.find('\0');
    std::string_view name = rest.substr(0, nul);
    // Names flagged as UTF-8 (and any that are) stay; others are Windows-1252.
    SplitName split = SplitPath(text::DecodeStoredText(name, text::CodePage::Windows1252));
    entry.Directory = std::move(split.directory);
    entry.FileName = std::move(split.fileName);
    cursor.Seek(cursor.Pos() + name.size() + 1);
}

}  // namespace

void cArchive::GetCab() {
    auto file = ArchiveFile::Open(m_archivePath, m_window);
    if (!file) return;
    FileCursor cursor(*file, 0);
    if (cursor.Peek(4) != "MSCF") return;

    CabHeader header;
    auto readHeader = [&] {
        ByteView bytes(cursor.Take(kHeaderSize));
        bytes.Seek(16);
        header.filesOffset = bytes.U32();
        bytes.Seek(26);
        header.folders = bytes.U16();
        header.files = bytes.U16();
        header.flags = bytes.U16();
    };
    if (Step(kReader, 10, readHeader) == StepResult::Cancelled) return;
    m_entryCount = header.files;
    if (m_entryCount == 0) return;

    int32_t method = 0;
    auto readFolder = [&] {
        SkipOptionalFields(cursor, header.flags);
        ByteView folder(cursor.Take(8));
        folder.Skip(6);
        method = static_cast<int16_t>(folder.U16());
    };
    if (header.folders != 0 && Step(kReader, 20, readFolder) == StepResult::Cancelled) return;

    cursor.Seek(header.filesOffset);
    ReportEntries(kReader, 30, [&](FileFound& entry) {
        entry.Method = method;
        entry.Flags = static_cast<int16_t>(header.flags);
        ReadFileEntry(cursor, entry);
    });
}

}  // namespace kest::archive
