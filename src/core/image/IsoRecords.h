#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

// The parts of ISO 9660 directory records and of their Rock Ridge (SUSP)
// system use entries the reader takes.
namespace kest::image {

inline constexpr uint8_t kFlagHidden = 0x01;
inline constexpr uint8_t kFlagDirectory = 0x02;
inline constexpr uint8_t kFlagMultiExtent = 0x80;
// Continuation areas followed for one record at most.
inline constexpr int kMaxContinuations = 16;

inline uint16_t Le16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}
inline uint32_t Le32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

// A record's 7-byte recording time as seconds since the epoch, UTC; 0 when
// its fields are out of range.
int64_t RecordingTime(const uint8_t* time);
// A name without its version (";1") and without a trailing "." left bare by it.
std::string WithoutVersion(std::string name);

// What the Rock Ridge entries of one record say.
struct RockRidgeFacts {
    std::optional<std::string> name;    // NM
    std::optional<int64_t> modified;    // TF modify time
    std::optional<uint32_t> mode;       // PX
    std::optional<std::string> link;    // SL: the link's target
    bool linkSlash = false;             // the next SL component follows a "/"
    std::optional<uint32_t> childLink;  // CL: a relocated directory's block
    bool relocated = false;             // RE: shown at its child link instead
};

// Where a system use area goes on (CE).
struct Continuation {
    uint32_t block = 0;
    uint32_t offset = 0;
    uint32_t length = 0;
};

// Adds the entries of one system use area to `facts`; the continuation it
// names, if any.
std::optional<Continuation> ParseSystemUse(std::span<const uint8_t> area, RockRidgeFacts& facts);

}  // namespace kest::image
