#include <cstring>
#include <unordered_map>

#include "core/image/DiscImage.h"
#include "core/image/ImageFile.h"
#include "core/image/UdfText.h"
#include "core/image/UdfVolume.h"
#include "core/volumeid/VolumeIds.h"

namespace kest::image {

namespace {

using volumeid::UdfLe16;
using volumeid::UdfLe32;

// The volume recognition sequence starts at byte 32768 with descriptors of
// 2048 bytes, or of one block where blocks are larger.
constexpr std::uint64_t kRecognitionStart = 32768;
constexpr std::uint64_t kMaxRecognitionDescriptors = 64;
constexpr std::size_t kIdentifierSize = 38;  // a file identifier before its variable parts
constexpr std::uint8_t kDirectoryType = 4;
constexpr std::uint64_t kNoParent = UINT64_MAX;

// The owner-write bit of a file entry's permissions: without it the mounted
// disc shows the file read-only.
constexpr std::uint32_t kOwnerWrite = 0x800;

enum Characteristic : std::uint8_t {
    kHidden = 1,
    kDirectory = 2,
    kDeleted = 4,
    kParent = 8,
};

bool HasNsrDescriptor(const ImageFile& file) {
    for (std::uint64_t spacing : {2048u, 4096u}) {
        for (std::uint64_t i = 0; i < kMaxRecognitionDescriptors; ++i) {
            std::uint8_t head[6];
            if (!file.TryRead(kRecognitionStart + i * spacing, head)) break;
            std::string id(reinterpret_cast<const char*>(head + 1), 5);
            if (id == "NSR02" || id == "NSR03") return true;
            if (id != "BEA01" && id != "TEA01" && id != "CD001" && id != "BOOT2" && id != "CDW02") {
                break;
            }
        }
    }
    return false;
}

UdfAddress LongAddress(const std::uint8_t* longAd) {
    return {UdfLe32(longAd + 4), UdfLe16(longAd + 8)};
}
std::uint64_t NodeOf(UdfAddress address) {
    return std::uint64_t{address.partition} << 32 | address.block;
}
UdfAddress AddressOf(std::uint64_t node) {
    return {static_cast<std::uint32_t>(node), static_cast<std::uint16_t>(node >> 32)};
}

std::string TrimLabel(std::string label) {
    while (!label.empty() && (label.back() == ' ' || label.back() == '\0')) label.pop_back();
    return label;
}

class UdfImage : public DiscImage {
  public:
    UdfImage(std::unique_ptr<ImageFile> file, const volumeid::UdfVolumeDescriptors& descriptors)
        : m_file(std::move(file)), m_volume(*m_file, descriptors) {
        const std::uint8_t* lvd = descriptors.logicalVolume.data();
        m_label = TrimLabel(DecodeUdfFieldName({lvd + 84, 128}));
        std::vector<std::uint8_t> fileSet = m_volume.ReadDescriptor(
            LongAddress(lvd + 248), volumeid::kUdfFileSet, "file set descriptor");
        m_serial =
            volumeid::UdfDescriptorSerial(std::span(fileSet).first(volumeid::kUdfFileSetSize));
        UdfAddress root = LongAddress(fileSet.data() + 400);
        UdfNode node = m_volume.ReadNode(root);
        m_root.isDirectory = true;
        m_root.size = node.size;
        m_root.modified = node.modified;
        m_root.extents = std::move(node.extents);
        m_root.node = NodeOf(root);
        m_parents[m_root.node] = kNoParent;
    }

    const std::string& Label() const override { return m_label; }
    std::uint32_t Serial() const override { return m_serial; }
    const std::string& FileSystem() const override { return m_fileSystem; }
    ImageEntry Root() const override { return m_root; }

    std::vector<ImageEntry> ReadDirectory(const ImageEntry& directory) override {
        UdfNode node = m_volume.ReadNode(AddressOf(directory.node));
        if (node.fileType != kDirectoryType) {
            throw ImageError("The folder \"" + directory.name + "\" is not a directory");
        }
        std::vector<std::uint8_t> data = m_volume.ReadContents(node, "directory");
        std::vector<ImageEntry> entries;
        std::size_t at = 0;
        while (at + kIdentifierSize <= data.size()) {
            const std::uint8_t* fid = data.data() + at;
            if (!volumeid::IsUdfTag({fid, kIdentifierSize}, volumeid::kUdfFileIdentifier)) {
                throw ImageError("The folder \"" + directory.name +
                                 "\" holds a damaged file identifier");
            }
            std::uint8_t characteristics = fid[18];
            std::size_t nameLength = fid[19];
            std::size_t used = kIdentifierSize + UdfLe16(fid + 36) + nameLength;
            if (at + used > data.size()) {
                throw ImageError("A file identifier of the folder \"" + directory.name +
                                 "\" runs past its end");
            }
            std::span<const std::uint8_t> name(fid + used - nameLength, nameLength);
            at += (used + 3) & ~std::size_t{3};
            if (characteristics & (kDeleted | kParent) || nameLength == 0) continue;
            entries.push_back(ReadEntry(directory, LongAddress(fid + 20), characteristics, name));
        }
        return entries;
    }

  private:
    ImageEntry ReadEntry(const ImageEntry& directory, UdfAddress icb, std::uint8_t characteristics,
                         std::span<const std::uint8_t> name) {
        ImageEntry entry;
        entry.name = DecodeUdfName(name);
        entry.isDirectory = (characteristics & kDirectory) != 0;
        entry.hidden = (characteristics & kHidden) != 0;
        entry.node = NodeOf(icb);
        UdfNode node = m_volume.ReadNode(icb);
        entry.size = node.size;
        entry.modified = node.modified;
        entry.readOnly = (node.permissions & kOwnerWrite) == 0;
        entry.extents = std::move(node.extents);
        if (entry.isDirectory) {
            // Every folder has one parent: a folder met again under another
            // one (or under itself) is a loop a walk would never leave.
            auto [known, added] = m_parents.try_emplace(entry.node, directory.node);
            if (!added && known->second != directory.node) {
                throw ImageError("The folder \"" + entry.name + "\" in \"" + directory.name +
                                 "\" loops back to a folder above it");
            }
        }
        return entry;
    }

    std::unique_ptr<ImageFile> m_file;
    UdfVolume m_volume;
    std::string m_label;
    std::uint32_t m_serial = 0;
    const std::string m_fileSystem = "UDF";
    ImageEntry m_root;
    std::unordered_map<std::uint64_t, std::uint64_t> m_parents;
};

}  // namespace

std::unique_ptr<DiscImage> OpenUdfImage(const std::string& path) {
    auto file = std::make_unique<ImageFile>(path);
    if (!HasNsrDescriptor(*file)) return nullptr;
    const ImageFile& image = *file;
    auto descriptors = volumeid::ReadUdfVolumeDescriptors(
        [&image](std::uint64_t offset, std::span<std::uint8_t> buffer) {
            return image.TryRead(offset, buffer);
        },
        image.Size());
    if (!descriptors) return nullptr;
    return std::make_unique<UdfImage>(std::move(file), *descriptors);
}

}  // namespace kest::image
