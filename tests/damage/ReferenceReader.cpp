#include "ReferenceReader.h"

namespace kest::damage {
namespace {

uint32_t U16(const std::string& b, size_t at) {
    return static_cast<uint32_t>(static_cast<unsigned char>(b[at]) << 8 |
                                 static_cast<unsigned char>(b[at + 1]));
}

uint32_t U32(const std::string& b, size_t at) {
    return U16(b, at) << 16 | U16(b, at + 2);
}

// A varint at `at`; moves `at` past it.
uint64_t Varint(const std::string& b, size_t& at) {
    uint64_t value = 0;
    for (int i = 0; i < 9 && at < b.size(); ++i) {
        auto byte = static_cast<unsigned char>(b[at++]);
        if (i == 8) return value << 8 | byte;
        value = value << 7 | (byte & 0x7f);
        if (!(byte & 0x80)) break;
    }
    return value;
}

}  // namespace

std::vector<uint32_t> PageMap::Pages(unsigned char type, const std::string& ownerPrefix) const {
    std::vector<uint32_t> found;
    for (const auto& [page, info] : pages)
        if (info.type == type && info.owner.starts_with(ownerPrefix)) found.push_back(page);
    return found;
}

std::string PageBytes(const std::string& bytes, uint32_t pageSize, uint32_t page) {
    size_t start = static_cast<size_t>(page - 1) * pageSize;
    if (page == 0 || start + pageSize > bytes.size()) return "";
    return bytes.substr(start, pageSize);
}

PageMap MapPages(const std::string& bytes,
                 const std::vector<std::pair<std::string, uint32_t>>& roots) {
    PageMap map;
    map.pageSize = U16(bytes, 16) == 1 ? 65536 : U16(bytes, 16);
    map.pageCount = static_cast<uint32_t>(bytes.size() / map.pageSize);
    for (const auto& [name, root] : roots) {
        std::vector<uint32_t> pending{root};
        while (!pending.empty()) {
            uint32_t page = pending.back();
            pending.pop_back();
            if (page == 0 || page > map.pageCount || map.pages.contains(page)) continue;
            size_t base = static_cast<size_t>(page - 1) * map.pageSize + (page == 1 ? 100 : 0);
            auto type = static_cast<unsigned char>(bytes[base]);
            map.pages[page] = {name, type};
            if (type != 2 && type != 5) continue;
            pending.push_back(U32(bytes, base + 8));
            for (uint32_t i = 0; i < U16(bytes, base + 3); ++i) {
                size_t cell = U16(bytes, base + 12 + 2 * i);
                pending.push_back(U32(bytes, static_cast<size_t>(page - 1) * map.pageSize + cell));
            }
        }
    }
    for (uint32_t trunk = U32(bytes, 32); trunk != 0 && trunk <= map.pageCount;) {
        size_t base = static_cast<size_t>(trunk - 1) * map.pageSize;
        map.freePages.push_back(trunk);
        for (uint32_t i = 0; i < U32(bytes, base + 4); ++i)
            map.freePages.push_back(U32(bytes, base + 8 + 4 * i));
        trunk = U32(bytes, base);
    }
    return map;
}

std::set<int64_t> LeafRowids(const std::string& bytes, uint32_t pageSize, uint32_t page) {
    std::set<int64_t> rowids;
    size_t start = static_cast<size_t>(page - 1) * pageSize;
    for (uint32_t i = 0; i < U16(bytes, start + 3); ++i) {
        size_t at = start + U16(bytes, start + 8 + 2 * i);
        Varint(bytes, at);  // the payload's length
        rowids.insert(static_cast<int64_t>(Varint(bytes, at)));
    }
    return rowids;
}

}  // namespace kest::damage
