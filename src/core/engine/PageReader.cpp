#include "core/engine/PageReader.h"

#include <algorithm>
#include <bit>

namespace kest::engine {
namespace {

constexpr unsigned char kIndexInterior = 0x02;
constexpr unsigned char kTableInterior = 0x05;
constexpr unsigned char kIndexLeaf = 0x0A;
constexpr unsigned char kTableLeaf = 0x0D;

uint32_t Big32(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) << 24 | static_cast<uint32_t>(p[1]) << 16 |
           static_cast<uint32_t>(p[2]) << 8 | p[3];
}

uint32_t Big16(const unsigned char* p) {
    return static_cast<uint32_t>(p[0]) << 8 | p[1];
}

// A variable-length integer of one to nine bytes at p, not reading past end;
// false when it runs past end.
bool Varint(const unsigned char* p, const unsigned char* end, uint64_t& value, size_t& length) {
    value = 0;
    for (size_t i = 0; i < 9; ++i) {
        if (p + i >= end) return false;
        if (i == 8) {
            value = value << 8 | p[i];
            length = 9;
            return true;
        }
        value = value << 7 | (p[i] & 0x7f);
        if ((p[i] & 0x80) == 0) {
            length = i + 1;
            return true;
        }
    }
    return false;
}

// The length of a value of the given serial type; false for the reserved types.
bool SerialLength(uint64_t type, uint64_t& length) {
    static constexpr uint64_t kFixed[] = {0, 1, 2, 3, 4, 6, 8, 8, 0, 0};
    if (type < 10) {
        length = kFixed[type];
        return true;
    }
    if (type < 12) return false;
    length = (type - 12) / 2;
    return true;
}

CellValue SerialValue(uint64_t type, const unsigned char* p, uint64_t length) {
    if (type == 0) return std::monostate{};
    if (type == 8) return int64_t{0};
    if (type == 9) return int64_t{1};
    if (type == 7) {
        uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits = bits << 8 | p[i];
        return std::bit_cast<double>(bits);
    }
    if (type <= 6) {
        // Big-endian two's complement, sign taken from the first byte.
        uint64_t bits = (p[0] & 0x80) ? ~uint64_t{0} : 0;
        for (uint64_t i = 0; i < length; ++i) bits = bits << 8 | p[i];
        return static_cast<int64_t>(bits);
    }
    std::string bytes(reinterpret_cast<const char*>(p), static_cast<size_t>(length));
    if (type % 2 == 1) return bytes;
    return Blob{std::move(bytes)};
}

}  // namespace

bool DecodeRecord(const std::string& payload, std::vector<CellValue>& values) {
    values.clear();
    auto begin = reinterpret_cast<const unsigned char*>(payload.data());
    const unsigned char* end = begin + payload.size();
    uint64_t headerSize = 0;
    size_t length = 0;
    if (!Varint(begin, end, headerSize, length) || headerSize < length ||
        headerSize > payload.size()) {
        return false;
    }
    std::vector<uint64_t> types;
    uint64_t bodySize = 0;
    for (size_t at = length; at < headerSize;) {
        uint64_t type = 0, size = 0;
        if (!Varint(begin + at, begin + headerSize, type, length) || !SerialLength(type, size))
            return false;
        at += length;
        types.push_back(type);
        bodySize += size;
        if (bodySize > payload.size()) return false;
    }
    if (headerSize + bodySize != payload.size()) return false;
    const unsigned char* body = begin + headerSize;
    for (uint64_t type : types) {
        uint64_t size = 0;
        SerialLength(type, size);
        values.push_back(SerialValue(type, body, size));
        body += size;
    }
    return true;
}

PageReader::PageReader(const std::string& path) : m_file(path, std::ios::binary) {
    unsigned char header[100] = {};
    if (!m_file.read(reinterpret_cast<char*>(header), sizeof header)) return;
    m_pageSize = Big16(header + 16);
    if (m_pageSize == 1) m_pageSize = 65536;
    if (m_pageSize < 512 || m_pageSize > 65536 || (m_pageSize & (m_pageSize - 1)) != 0) {
        m_pageSize = 0;
        return;
    }
    m_usable = m_pageSize - header[20];
    if (m_usable < 480) return;
    m_file.clear();
    m_file.seekg(0, std::ios::end);
    auto size = static_cast<uint64_t>(m_file.tellg());
    // A torn last page counts: what it holds is read, the rest taken as zeros.
    m_pageCount = static_cast<uint32_t>((size + m_pageSize - 1) / m_pageSize);
    m_seen.assign(m_pageCount + 1, false);
    // The header's page count holds when its change counter is the one the
    // count was written with.
    uint32_t declared = Big32(header + 28);
    if (Big32(header + 24) == Big32(header + 92) && declared > m_pageCount)
        m_missingPages = declared - m_pageCount;
}

bool PageReader::Load(uint32_t page, std::vector<unsigned char>& data) {
    if (page == 0 || page > m_pageCount) return false;
    data.assign(m_pageSize, 0);
    m_file.clear();
    m_file.seekg(static_cast<std::streamoff>(page - 1) * m_pageSize);
    m_file.read(reinterpret_cast<char*>(data.data()), m_pageSize);
    return m_file.gcount() > 0;
}

bool PageReader::Mark(uint32_t page) {
    if (page == 0 || page > m_pageCount || m_seen[page]) return false;
    m_seen[page] = true;
    ++m_seenCount;
    if (m_hook) m_hook(m_seenCount);
    return true;
}

bool PageReader::Payload(const std::vector<unsigned char>& data, size_t at, uint64_t size,
                         size_t maxLocal, std::string& payload) {
    // Nothing can be longer than the file.
    if (size > static_cast<uint64_t>(m_pageCount) * m_usable) return false;
    const uint64_t minLocal = (m_usable - 12) * 32 / 255 - 23;
    uint64_t local = size;
    if (size > maxLocal) {
        uint64_t k = minLocal + (size - minLocal) % (m_usable - 4);
        local = k <= maxLocal ? k : minLocal;
    }
    bool spills = local < size;
    if (at + local + (spills ? 4 : 0) > m_usable) return false;
    payload.assign(reinterpret_cast<const char*>(data.data() + at), static_cast<size_t>(local));
    if (!spills) return true;
    uint32_t next = Big32(data.data() + at + local);
    std::vector<unsigned char> overflow;
    while (payload.size() < size) {
        if (!Mark(next) || !Load(next, overflow)) return false;
        auto take = std::min<uint64_t>(m_usable - 4, size - payload.size());
        payload.append(reinterpret_cast<const char*>(overflow.data() + 4),
                       static_cast<size_t>(take));
        next = Big32(overflow.data());
    }
    return true;
}

bool PageReader::ReadTablePage(uint32_t page, std::vector<uint32_t>& children,
                               std::vector<PageRow>* rows, bool* whole) {
    if (whole) *whole = false;
    std::vector<unsigned char> data;
    if (!Load(page, data)) return false;
    const size_t h = page == 1 ? 100 : 0;
    const unsigned char type = data[h];
    if (type != kTableLeaf && type != kTableInterior) return false;
    const size_t headerSize = type == kTableLeaf ? 8 : 12;
    const size_t cells = Big16(&data[h + 3]);
    const size_t firstCell = h + headerSize + 2 * cells;
    if (firstCell > m_usable) return false;
    const unsigned char* end = data.data() + m_usable;
    if (type == kTableInterior) children.push_back(Big32(&data[h + 8]));
    const size_t firstRow = rows ? rows->size() : 0;
    bool ordered = true;
    for (size_t i = 0; i < cells; ++i) {
        const size_t at = Big16(&data[h + headerSize + 2 * i]);
        ordered = ordered && at >= firstCell && at + 4 <= m_usable;
        if (at < firstCell || at + 4 > m_usable) continue;
        if (type == kTableInterior) {
            children.push_back(Big32(&data[at]));
            continue;
        }
        if (!rows) continue;
        uint64_t size = 0, rowid = 0;
        size_t a = 0, b = 0;
        if (!Varint(&data[at], end, size, a) || !Varint(&data[at + a], end, rowid, b)) {
            ordered = false;
            continue;
        }
        PageRow row;
        row.rowid = static_cast<int64_t>(rowid);
        row.page = page;
        std::string payload;
        if (Payload(data, at + a + b, size, m_usable - 35, payload) &&
            DecodeRecord(payload, row.values)) {
            ordered = ordered && (rows->size() == firstRow || rows->back().rowid < row.rowid);
            rows->push_back(std::move(row));
        } else {
            ordered = false;
        }
    }
    if (rows && ordered)
        for (size_t r = firstRow; r < rows->size(); ++r) (*rows)[r].ordered = true;
    if (whole) *whole = ordered;
    return true;
}

bool PageReader::ReadIndexPage(uint32_t page, std::vector<uint32_t>& children,
                               std::vector<std::vector<CellValue>>& entries) {
    std::vector<unsigned char> data;
    if (!Load(page, data)) return false;
    const unsigned char type = data[0];
    if (type != kIndexLeaf && type != kIndexInterior) return false;
    const size_t headerSize = type == kIndexLeaf ? 8 : 12;
    const size_t cells = Big16(&data[3]);
    const size_t firstCell = headerSize + 2 * cells;
    if (firstCell > m_usable) return false;
    const unsigned char* end = data.data() + m_usable;
    if (type == kIndexInterior) children.push_back(Big32(&data[8]));
    const size_t maxLocal = (m_usable - 12) * 64 / 255 - 23;
    const size_t firstEntry = entries.size();
    bool sound = true;
    for (size_t i = 0; i < cells; ++i) {
        size_t at = Big16(&data[headerSize + 2 * i]);
        if (at < firstCell || at + 4 > m_usable) {
            sound = false;
            continue;
        }
        if (type == kIndexInterior) {
            children.push_back(Big32(&data[at]));
            at += 4;
        }
        uint64_t size = 0;
        size_t a = 0;
        std::string payload;
        std::vector<CellValue> values;
        if (Varint(&data[at], end, size, a) && Payload(data, at + a, size, maxLocal, payload) &&
            DecodeRecord(payload, values) && !values.empty() &&
            std::holds_alternative<int64_t>(values.back())) {
            entries.push_back(std::move(values));
        } else {
            sound = false;
        }
    }
    // Entries of a damaged leaf name no rows: random bytes can parse as some.
    if (!sound) entries.resize(firstEntry);
    return sound;
}

uint32_t PageReader::WalkTable(uint32_t root, const RowSink& sink) {
    std::vector<uint32_t> pending{root};
    uint32_t damaged = 0;
    while (!pending.empty()) {
        uint32_t page = pending.back();
        pending.pop_back();
        if (!Mark(page)) continue;
        std::vector<PageRow> rows;
        bool whole = false;
        ReadTablePage(page, pending, &rows, &whole);
        if (!whole) ++damaged;
        for (const auto& row : rows) sink(row);
    }
    return damaged;
}

void PageReader::WalkIndex(uint32_t root, const KeySink& sink) {
    std::vector<uint32_t> pending{root};
    while (!pending.empty()) {
        uint32_t page = pending.back();
        pending.pop_back();
        if (!Mark(page)) continue;
        std::vector<std::vector<CellValue>> entries;
        ReadIndexPage(page, pending, entries);
        for (const auto& entry : entries) sink(entry);
    }
}

void PageReader::MarkFreePages() {
    std::vector<unsigned char> data;
    if (!Load(1, data)) return;
    uint32_t trunk = Big32(&data[32]);
    const uint32_t perTrunk = m_usable / 4 - 2;
    while (Mark(trunk) && Load(trunk, data)) {
        uint32_t leaves = std::min(Big32(&data[4]), perTrunk);
        for (uint32_t i = 0; i < leaves; ++i) Mark(Big32(&data[8 + 4 * i]));
        trunk = Big32(&data[0]);
    }
}

void PageReader::ForEachUnreachedLeaf(
    const std::function<void(uint32_t, const std::vector<PageRow>&)>& sink, bool take) {
    for (uint32_t page = 2; page <= m_pageCount; ++page) {
        if (m_seen[page]) continue;
        std::vector<uint32_t> children;
        std::vector<PageRow> rows;
        std::vector<unsigned char> data;
        if (!Load(page, data) || data[0] != kTableLeaf) continue;
        if (take) Mark(page);
        if (ReadTablePage(page, children, &rows) && !rows.empty()) sink(page, rows);
    }
}

}  // namespace kest::engine
