// The ISO 9660 reader. The tree read is the one a mounted disc shows: the
// primary tree with its Rock Ridge names when the disc has Rock Ridge, else
// the Joliet tree when there is one, else the primary tree.
#include <sys/stat.h>

#include <algorithm>
#include <array>
#include <optional>
#include <unordered_set>

#include "core/image/DiscImage.h"
#include "core/image/ImageFile.h"
#include "core/image/IsoRecords.h"
#include "core/volumeid/VolumeIds.h"

namespace kest::image {

namespace {

using volumeid::kIsoSectorSize;

// Descriptors looked at before giving up on finding the terminator.
constexpr int kMaxDescriptors = 64;
constexpr size_t kRootRecordOffset = 156;
constexpr size_t kDirectoryChunk = 64 * kIsoSectorSize;

class IsoImage : public DiscImage {
  public:
    explicit IsoImage(const std::string& path) : m_file(path), m_size(m_file.Size()) {}

    // False when the image holds no ISO 9660 volume.
    bool Open();

    const std::string& Label() const override { return m_label; }
    uint32_t Serial() const override { return m_serial; }
    const std::string& FileSystem() const override { return m_fileSystem; }
    ImageEntry Root() const override { return m_root; }
    std::vector<ImageEntry> ReadDirectory(const ImageEntry& directory) override;

  private:
    // The system use area of the record, continuation areas followed.
    void ReadRockRidge(std::span<const uint8_t> record, RockRidgeFacts& facts) const;
    ImageEntry EntryOf(std::span<const uint8_t> record) const;
    // The directory a Rock Ridge child link points at, sized by its "." record.
    void FollowChildLink(uint32_t block, ImageEntry& entry) const;

    ImageFile m_file;
    uint64_t m_size;
    uint32_t m_blockSize = kIsoSectorSize;
    bool m_joliet = false;
    bool m_rockRidge = false;
    size_t m_suspSkip = 0;
    std::string m_label;
    uint32_t m_serial = 0;
    std::string m_fileSystem = "CDFS";
    ImageEntry m_root;
    // The directories read since the root was last read: a second reading
    // means the tree loops.
    std::unordered_set<uint64_t> m_read;
};

bool IsoImage::Open() {
    std::array<uint8_t, kIsoSectorSize> sector{};
    std::optional<std::array<uint8_t, kIsoSectorSize>> primary, joliet;
    for (int i = 0; i < kMaxDescriptors; ++i) {
        uint64_t offset = (16 + static_cast<uint64_t>(i)) * kIsoSectorSize;
        if (offset + kIsoSectorSize > m_size) break;
        m_file.Read(offset, sector, "a volume descriptor");
        if (!volumeid::IsIsoDescriptor(sector) || sector[0] == 255) break;
        if (sector[0] == 1 && !primary) primary = sector;
        if (volumeid::IsJolietDescriptor(sector) && !joliet) joliet = sector;
    }
    if (!primary) return false;
    volumeid::IsoVolume volume = volumeid::IsoVolumeOf(joliet ? *joliet : *primary);
    m_label = volume.label;
    m_serial = volume.serial;
    m_blockSize = Le16(primary->data() + 128);
    if (m_blockSize != 512 && m_blockSize != 1024 && m_blockSize != 2048) {
        throw ImageError("The volume's block size is not one ISO 9660 allows");
    }

    auto rootOf = [&](const std::array<uint8_t, kIsoSectorSize>& descriptor) {
        std::span<const uint8_t> record(descriptor.data() + kRootRecordOffset, 34);
        ImageEntry root = EntryOf(record);
        root.name = "/";  // as errors name it
        root.isDirectory = true;
        return root;
    };
    ImageEntry primaryRoot = rootOf(*primary);
    // Rock Ridge announces itself by an "SP" entry in the root's "." record.
    std::vector<uint8_t> first(m_blockSize);
    m_file.Read(primaryRoot.node, first, "the root folder");
    size_t length = first[0];
    if (length >= 34 && first[32] == 1) {
        size_t systemUse = 34;
        if (systemUse + 7 <= length && first[systemUse] == 'S' && first[systemUse + 1] == 'P' &&
            first[systemUse + 4] == 0xBE && first[systemUse + 5] == 0xEF) {
            m_rockRidge = true;
            m_suspSkip = first[systemUse + 6];
        }
    }
    m_joliet = !m_rockRidge && joliet.has_value();
    m_root = m_joliet ? rootOf(*joliet) : primaryRoot;
    return true;
}

ImageEntry IsoImage::EntryOf(std::span<const uint8_t> record) const {
    ImageEntry entry;
    const uint8_t flags = record[25];
    entry.isDirectory = (flags & kFlagDirectory) != 0;
    entry.hidden = (flags & kFlagHidden) != 0;
    entry.size = Le32(record.data() + 10);
    entry.modified = RecordingTime(record.data() + 18);
    uint64_t start = uint64_t{Le32(record.data() + 2)} * m_blockSize;
    if (entry.isDirectory) {
        entry.node = start;
    } else if (entry.size > 0) {
        entry.extents.push_back({start, entry.size});
    }
    size_t nameLength = record[32];
    const uint8_t* name = record.data() + 33;
    entry.name = m_joliet ? volumeid::Ucs2BeToUtf8(name, nameLength / 2)
                          : std::string(reinterpret_cast<const char*>(name), nameLength);
    entry.name = WithoutVersion(std::move(entry.name));
    return entry;
}

void IsoImage::ReadRockRidge(std::span<const uint8_t> record, RockRidgeFacts& facts) const {
    size_t nameLength = record[32];
    size_t start = 33 + nameLength + (nameLength % 2 == 0 ? 1 : 0) + m_suspSkip;
    std::vector<uint8_t> area;
    if (start < record.size()) area.assign(record.data() + start, record.data() + record.size());
    for (int hops = 0;; ++hops) {
        std::optional<Continuation> next = ParseSystemUse(area, facts);
        if (!next) return;
        if (hops >= kMaxContinuations || next->length > m_blockSize) {
            throw ImageError("A Rock Ridge continuation chain is damaged");
        }
        area.resize(next->length);
        m_file.Read(uint64_t{next->block} * m_blockSize + next->offset, area,
                    "a Rock Ridge continuation area");
    }
}

void IsoImage::FollowChildLink(uint32_t block, ImageEntry& entry) const {
    std::array<uint8_t, 34> dot{};
    m_file.Read(uint64_t{block} * m_blockSize, dot, "a relocated folder");
    entry.isDirectory = true;
    entry.extents.clear();
    entry.node = uint64_t{block} * m_blockSize;
    entry.size = Le32(dot.data() + 10);
}

std::vector<ImageEntry> IsoImage::ReadDirectory(const ImageEntry& directory) {
    if (directory.node == m_root.node) m_read.clear();
    if (!m_read.insert(directory.node).second) {
        throw ImageError("The folder \"" + directory.name + "\" loops back on itself");
    }
    if (directory.node > m_size || directory.size > m_size - directory.node) {
        throw ImageError("The image ends before the folder \"" + directory.name + "\"");
    }
    std::vector<ImageEntry> entries;
    bool continues = false;  // the last entry's data goes on in the next record
    std::vector<uint8_t> chunk;
    for (uint64_t done = 0; done < directory.size; done += chunk.size()) {
        chunk.resize(
            static_cast<size_t>(std::min<uint64_t>(kDirectoryChunk, directory.size - done)));
        m_file.Read(directory.node + done, chunk, "a folder's records");
        // Records never cross a block; a zero length ends a block's records.
        for (size_t block = 0; block < chunk.size(); block += m_blockSize) {
            size_t end = std::min<size_t>(block + m_blockSize, chunk.size());
            for (size_t at = block; at < end && chunk[at] != 0;) {
                size_t length = chunk[at];
                if (length < 34 || at + length > end || 33u + chunk[at + 32] > length) {
                    throw ImageError("The folder \"" + directory.name +
                                     "\" holds a damaged record");
                }
                std::span<const uint8_t> record(chunk.data() + at, length);
                at += length;
                if (record[32] == 1 && record[33] <= 1) continue;  // "." and ".."
                ImageEntry entry = EntryOf(record);
                bool more = (record[25] & kFlagMultiExtent) != 0;
                if (m_rockRidge) {
                    RockRidgeFacts facts;
                    ReadRockRidge(record, facts);
                    if (facts.relocated) continue;
                    if (facts.name) entry.name = *facts.name;
                    if (facts.modified) entry.modified = *facts.modified;
                    if (facts.mode) entry.readOnly = (*facts.mode & S_IWUSR) == 0;
                    if (facts.link) entry.size = facts.link->size();  // as lstat gives it
                    if (facts.childLink) FollowChildLink(*facts.childLink, entry);
                }
                if (continues && !entries.empty() && !entry.isDirectory) {
                    ImageEntry& file = entries.back();
                    file.size += entry.size;
                    file.extents.insert(file.extents.end(), entry.extents.begin(),
                                        entry.extents.end());
                } else {
                    entries.push_back(std::move(entry));
                }
                continues = more;
            }
        }
    }
    return entries;
}

}  // namespace

std::unique_ptr<DiscImage> OpenIsoImage(const std::string& path) {
    auto image = std::make_unique<IsoImage>(path);
    if (!image->Open()) return nullptr;
    return image;
}

}  // namespace kest::image
