#include "platform/linux/MountTable.h"

#include <fstream>
#include <sstream>

namespace kest::platform::os {

namespace {

std::vector<std::string_view> SplitFields(std::string_view line) {
    std::vector<std::string_view> fields;
    size_t pos = 0;
    while (pos < line.size()) {
        size_t end = line.find(' ', pos);
        if (end == std::string_view::npos) end = line.size();
        if (end > pos) fields.push_back(line.substr(pos, end - pos));
        pos = end + 1;
    }
    return fields;
}

bool ParseDeviceNumbers(std::string_view field, unsigned& major, unsigned& minor) {
    size_t colon = field.find(':');
    if (colon == std::string_view::npos) return false;
    try {
        size_t used = 0;
        std::string majorText(field.substr(0, colon)), minorText(field.substr(colon + 1));
        major = static_cast<unsigned>(std::stoul(majorText, &used));
        if (used != majorText.size()) return false;
        minor = static_cast<unsigned>(std::stoul(minorText, &used));
        return used == minorText.size();
    } catch (const std::exception&) {
        return false;
    }
}

bool IsOctalDigit(char c) {
    return c >= '0' && c <= '7';
}

bool IsInside(const std::string& path, const std::string& mountPoint) {
    if (mountPoint == "/") return !path.empty() && path[0] == '/';
    return path.compare(0, mountPoint.size(), mountPoint) == 0 &&
           (path.size() == mountPoint.size() || path[mountPoint.size()] == '/');
}

}  // namespace

std::string UnescapeMountField(std::string_view field) {
    std::string out;
    out.reserve(field.size());
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && i + 3 < field.size() && IsOctalDigit(field[i + 1]) &&
            IsOctalDigit(field[i + 2]) && IsOctalDigit(field[i + 3])) {
            out += static_cast<char>((field[i + 1] - '0') * 64 + (field[i + 2] - '0') * 8 +
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

std::vector<MountEntry> ParseMountInfo(std::string_view text) {
    std::vector<MountEntry> mounts;
    size_t pos = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string_view::npos) end = text.size();
        std::vector<std::string_view> fields = SplitFields(text.substr(pos, end - pos));
        pos = end + 1;

        // id parent MAJ:MIN root target options [optional...] - type source superoptions
        if (fields.size() < 9) continue;
        size_t separator = 6;
        while (separator < fields.size() && fields[separator] != "-") ++separator;
        if (separator + 2 >= fields.size()) continue;
        MountEntry entry;
        if (!ParseDeviceNumbers(fields[2], entry.major, entry.minor)) continue;
        entry.root = UnescapeMountField(fields[3]);
        entry.mountPoint = UnescapeMountField(fields[4]);
        if (entry.mountPoint.empty() || entry.mountPoint[0] != '/') continue;
        while (entry.mountPoint.size() > 1 && entry.mountPoint.back() == '/') {
            entry.mountPoint.pop_back();
        }
        entry.fsType = UnescapeMountField(fields[separator + 1]);
        entry.source = UnescapeMountField(fields[separator + 2]);
        mounts.push_back(std::move(entry));
    }
    return mounts;
}

std::vector<MountEntry> ReadMountInfo(const std::string& path) {
    std::ifstream in(path);
    std::stringstream text;
    text << in.rdbuf();
    return ParseMountInfo(text.str());
}

const MountEntry* FindMountFor(const std::vector<MountEntry>& mounts, const std::string& path) {
    const MountEntry* best = nullptr;
    for (const MountEntry& entry : mounts) {
        if (IsInside(path, entry.mountPoint) &&
            (!best || entry.mountPoint.size() >= best->mountPoint.size())) {
            best = &entry;
        }
    }
    return best;
}

}  // namespace kest::platform::os
