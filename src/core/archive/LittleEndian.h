#pragma once

#include <cstdint>
#include <string_view>

#include "core/common/Errors.h"

namespace kest::archive {

// Little-endian numbers taken from a byte buffer; a read past its end raises
// "Input past end of file".
class ByteView {
  public:
    explicit ByteView(std::string_view bytes) : m_bytes(bytes) {}

    size_t Pos() const { return m_pos; }
    size_t Remaining() const { return m_bytes.size() - m_pos; }
    void Seek(size_t pos) {
        if (pos > m_bytes.size()) throw err::InputPastEnd();
        m_pos = pos;
    }
    void Skip(size_t count) { Take(count); }

    uint8_t U8() { return static_cast<uint8_t>(Take(1)[0]); }
    uint16_t U16() { return static_cast<uint16_t>(Le(Take(2))); }
    uint32_t U32() { return static_cast<uint32_t>(Le(Take(4))); }
    uint64_t U64() { return Le(Take(8)); }
    std::string_view Bytes(size_t count) { return Take(count); }

    static uint64_t Le(std::string_view bytes) {
        uint64_t value = 0;
        for (size_t i = bytes.size(); i-- > 0;) {
            value = (value << 8) | static_cast<uint8_t>(bytes[i]);
        }
        return value;
    }

  private:
    std::string_view Take(size_t count) {
        if (count > Remaining()) throw err::InputPastEnd();
        std::string_view part = m_bytes.substr(m_pos, count);
        m_pos += count;
        return part;
    }

    std::string_view m_bytes;
    size_t m_pos = 0;
};

}  // namespace kest::archive
