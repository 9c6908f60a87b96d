#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

// Bounds-checked little-endian reads from one header held in memory. A read
// past the end sets the failed state and gives 0, so a parser can read a
// whole fixed part and test Ok() once.
namespace kest::archive {

class ByteCursor {
  public:
    explicit ByteCursor(std::span<const uint8_t> bytes, size_t pos = 0)
        : m_bytes(bytes), m_pos(pos), m_ok(pos <= bytes.size()) {}

    bool Ok() const { return m_ok; }
    size_t Pos() const { return m_pos; }
    size_t Remaining() const { return m_ok ? m_bytes.size() - m_pos : 0; }
    void Seek(size_t pos) {
        if (pos > m_bytes.size())
            m_ok = false;
        else
            m_pos = pos;
    }
    void Skip(uint64_t count) {
        if (count > Remaining())
            m_ok = false;
        else
            m_pos += static_cast<size_t>(count);
    }

    uint8_t U8() { return static_cast<uint8_t>(Fixed(1)); }
    uint16_t U16() { return static_cast<uint16_t>(Fixed(2)); }
    uint32_t U32() { return static_cast<uint32_t>(Fixed(4)); }
    uint64_t U64() { return Fixed(8); }

    // The RAR 5 variable-length integer: 7 bits a byte, low group first, at
    // most 10 bytes.
    uint64_t VarInt() {
        uint64_t value = 0;
        for (int shift = 0; shift < 70 && Remaining() > 0; shift += 7) {
            uint8_t byte = m_bytes[m_pos++];
            if (shift < 64) value |= static_cast<uint64_t>(byte & 0x7F) << shift;
            if ((byte & 0x80) == 0) return value;
        }
        m_ok = false;
        return 0;
    }

    std::span<const uint8_t> Bytes(uint64_t count) {
        if (count > Remaining()) {
            m_ok = false;
            return {};
        }
        auto result = m_bytes.subspan(m_pos, static_cast<size_t>(count));
        m_pos += static_cast<size_t>(count);
        return result;
    }
    std::string Text(uint64_t count) {
        auto bytes = Bytes(count);
        return std::string(bytes.begin(), bytes.end());
    }

  private:
    uint64_t Fixed(size_t size) {
        if (size > Remaining()) {
            m_ok = false;
            return 0;
        }
        uint64_t value = 0;
        for (size_t i = 0; i < size; ++i)
            value |= static_cast<uint64_t>(m_bytes[m_pos + i]) << (8 * i);
        m_pos += size;
        return value;
    }

    std::span<const uint8_t> m_bytes;
    size_t m_pos;
    bool m_ok;
};

}  // namespace kest::archive
