#pragma once

#include <cstdint>
#include <string>

namespace kest::test {

// Little-endian integers as bytes.
inline std::string LittleEndian(uint64_t value, int size) {
    std::string out;
    for (int i = 0; i < size; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
    return out;
}

// Appends little-endian numbers and raw bytes, for building archives byte by
// byte in tests.
class ByteWriter {
  public:
    ByteWriter& U8(uint8_t v) { return Le(v, 1); }
    ByteWriter& U16(uint16_t v) { return Le(v, 2); }
    ByteWriter& U32(uint32_t v) { return Le(v, 4); }
    ByteWriter& U64(uint64_t v) { return Le(v, 8); }
    ByteWriter& Raw(const std::string& bytes) {
        m_bytes += bytes;
        return *this;
    }
    size_t Size() const { return m_bytes.size(); }
    const std::string& Bytes() const { return m_bytes; }

  private:
    ByteWriter& Le(uint64_t v, int width) {
        m_bytes += LittleEndian(v, width);
        return *this;
    }
    std::string m_bytes;
};

}  // namespace kest::test
