#include "core/image/IsoRecords.h"

#include <string_view>

namespace kest::image {

namespace {

// Days from 1970-01-01 to a date of the proleptic Gregorian calendar.
int64_t DaysFromCivil(int64_t year, int64_t month, int64_t day) {
    year -= month <= 2 ? 1 : 0;
    int64_t era = (year >= 0 ? year : year - 399) / 400;
    int64_t yearOfEra = year - era * 400;
    int64_t dayOfYear = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
    int64_t dayOfEra = yearOfEra * 365 + yearOfEra / 4 - yearOfEra / 100 + dayOfYear;
    return era * 146097 + dayOfEra - 719468;
}

// Seconds since the epoch of a time given in fields, less its offset from
// GMT in 15-minute steps (ignored when out of range, as mounted discs do).
int64_t Seconds(int64_t year, int month, int day, int hour, int minute, int second, int8_t zone) {
    if (month < 1 || month > 12 || day < 1 || day > 31 || hour < 0 || hour > 23 || minute < 0 ||
        minute > 59 || second < 0 || second > 59) {
        return 0;
    }
    int64_t seconds = DaysFromCivil(year, month, day) * 86400 + int64_t{hour} * 3600 +
                      int64_t{minute} * 60 + second;
    if (zone >= -52 && zone <= 52) seconds -= int64_t{zone} * 15 * 60;
    return seconds;
}

int Digits(const uint8_t* p, int count) {
    int value = 0;
    for (int i = 0; i < count; ++i) {
        if (p[i] < '0' || p[i] > '9') return -1;
        value = value * 10 + (p[i] - '0');
    }
    return value;
}

// The 17-byte form "YYYYMMDDHHMMSScc" and a zone byte.
int64_t LongFormTime(const uint8_t* p) {
    return Seconds(Digits(p, 4), Digits(p + 4, 2), Digits(p + 6, 2), Digits(p + 8, 2),
                   Digits(p + 10, 2), Digits(p + 12, 2), static_cast<int8_t>(p[16]));
}

// TF: the times present in the order of their flag bits; the second is the
// modification time.
void ReadTimes(std::span<const uint8_t> entry, RockRidgeFacts& facts) {
    uint8_t flags = entry[4];
    size_t size = (flags & 0x80) ? 17 : 7;
    size_t at = 5;
    if (flags & 0x01) at += size;  // creation
    if (!(flags & 0x02) || at + size > entry.size()) return;
    facts.modified =
        size == 17 ? LongFormTime(entry.data() + at) : RecordingTime(entry.data() + at);
}

// SL: the link's target, its components joined by "/".
void ReadLink(std::span<const uint8_t> entry, RockRidgeFacts& facts) {
    std::string& target = facts.link.emplace(facts.link.value_or(""));
    for (size_t at = 5; at + 2 <= entry.size();) {
        uint8_t flags = entry[at];
        size_t size = entry[at + 1];
        if (at + 2 + size > entry.size()) break;
        if (facts.linkSlash) target += '/';
        if (flags & 0x02) {
            target += '.';
        } else if (flags & 0x04) {
            target += "..";
        } else if (flags & 0x08) {
            target += '/';
        } else {
            target.append(reinterpret_cast<const char*>(entry.data() + at + 2), size);
        }
        // A continued component goes on without a "/"; so does the root's.
        facts.linkSlash = !(flags & 0x01) && !(flags & 0x08);
        at += 2 + size;
    }
}

}  // namespace

int64_t RecordingTime(const uint8_t* time) {
    return Seconds(1900 + int64_t{time[0]}, time[1], time[2], time[3], time[4], time[5],
                   static_cast<int8_t>(time[6]));
}

std::string WithoutVersion(std::string name) {
    size_t semicolon = name.find(';');
    if (semicolon != std::string::npos) {
        name.erase(semicolon);
        if (name.size() > 1 && name.back() == '.') name.pop_back();
    }
    return name;
}

std::optional<Continuation> ParseSystemUse(std::span<const uint8_t> area, RockRidgeFacts& facts) {
    std::optional<Continuation> next;
    for (size_t at = 0; at + 4 <= area.size();) {
        size_t length = area[at + 2];
        if (length < 4 || at + length > area.size()) break;
        std::span<const uint8_t> entry = area.subspan(at, length);
        at += length;
        auto is = [&](std::string_view signature) {
            return entry[0] == static_cast<uint8_t>(signature[0]) &&
                   entry[1] == static_cast<uint8_t>(signature[1]);
        };
        if (is("ST")) break;
        if (is("CE") && length >= 28) {
            next = Continuation{Le32(entry.data() + 4), Le32(entry.data() + 12),
                                Le32(entry.data() + 20)};
        } else if (is("NM") && length >= 5) {
            if (entry[4] & 0x06) continue;  // "." or ".."
            facts.name.emplace(facts.name.value_or(""))
                .append(reinterpret_cast<const char*>(entry.data() + 5), length - 5);
        } else if (is("TF") && length >= 5) {
            ReadTimes(entry, facts);
        } else if (is("PX") && length >= 12) {
            facts.mode = Le32(entry.data() + 4);
        } else if (is("SL") && length >= 5) {
            ReadLink(entry, facts);
        } else if (is("CL") && length >= 12) {
            facts.childLink = Le32(entry.data() + 4);
        } else if (is("RE")) {
            facts.relocated = true;
        }
    }
    return next;
}

}  // namespace kest::image
