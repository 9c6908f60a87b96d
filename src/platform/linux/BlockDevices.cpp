#include "platform/linux/BlockDevices.h"

#include <algorithm>
#include <filesystem>
#include <fstream>

namespace kest::platform::os {

namespace fs = std::filesystem;

namespace {

constexpr unsigned kScsiCdromMajor = 11;
constexpr unsigned kFloppyMajor = 2;

std::string ReadFirstLine(const fs::path& file) {
    std::ifstream in(file);
    std::string line;
    std::getline(in, line);
    return line;
}

std::string UeventValue(const fs::path& deviceDir, const std::string& key) {
    std::ifstream in(deviceDir / "uevent");
    std::string line;
    while (std::getline(in, line)) {
        if (line.compare(0, key.size() + 1, key + "=") == 0) return line.substr(key.size() + 1);
    }
    return {};
}

bool StartsWith(const std::string& text, const char* prefix) {
    return text.rfind(prefix, 0) == 0;
}

// A device-mapper disk (LVM, LUKS) takes its removable bit from the disk below it.
bool IsRemovableDisk(const fs::path& diskDir, int depth = 0) {
    if (ReadFirstLine(diskDir / "removable") == "1") return true;
    std::error_code ec;
    if (depth > 4 || !fs::is_directory(diskDir / "slaves", ec)) return false;
    for (const auto& slave : fs::directory_iterator(diskDir / "slaves", ec)) {
        fs::path below = fs::canonical(slave.path(), ec);
        if (ec) continue;
        if (fs::exists(below / "partition", ec)) below = below.parent_path();
        if (IsRemovableDisk(below, depth + 1)) return true;
    }
    return false;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<BlockDevice> DescribeBlockDevice(const SystemPaths& paths, unsigned major,
                                               unsigned minor) {
    std::error_code ec;
    fs::path link = fs::path(paths.sys) / "dev" / "block" /
                    (std::to_string(major) + ":" + std::to_string(minor));
    fs::path deviceDir = fs::canonical(link, ec);
    if (ec) return std::nullopt;
    fs::path diskDir =
        fs::exists(deviceDir / "partition", ec) ? deviceDir.parent_path() : deviceDir;

    BlockDevice device;
    std::string devName = UeventValue(deviceDir, "DEVNAME");
    if (devName.empty()) devName = deviceDir.filename().string();
    device.node = (fs::path(paths.dev) / devName).string();
    device.disk = diskDir.filename().string();
    device.backingFile = ReadFirstLine(diskDir / "loop" / "backing_file");
    device.optical = major == kScsiCdromMajor || StartsWith(device.disk, "sr") ||
                     ReadUdevProperties(paths, major, minor)["ID_CDROM"] == "1";
    device.floppy = major == kFloppyMajor || StartsWith(device.disk, "fd");
    device.removable = device.optical || device.floppy || IsRemovableDisk(diskDir);
    return device;
}

std::map<std::string, std::string> ReadUdevProperties(const SystemPaths& paths, unsigned major,
                                                      unsigned minor) {
    std::map<std::string, std::string> properties;
    std::ifstream in(fs::path(paths.udevData) /
                     ("b" + std::to_string(major) + ":" + std::to_string(minor)));
    std::string line;
    while (std::getline(in, line)) {
        size_t equals = line.find('=');
        if (!StartsWith(line, "E:") || equals == std::string::npos) continue;
        properties[line.substr(2, equals - 2)] = line.substr(equals + 1);
    }
    return properties;
}

std::string DecodeUdevText(const std::string& text) {
    std::string out;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\\' && i + 3 < text.size() && text[i + 1] == 'x' &&
            HexDigit(text[i + 2]) >= 0 && HexDigit(text[i + 3]) >= 0) {
            out += static_cast<char>(HexDigit(text[i + 2]) * 16 + HexDigit(text[i + 3]));
            i += 3;
        } else {
            out += text[i];
        }
    }
    return out;
}

std::vector<std::string> ListOpticalDrives(const SystemPaths& paths) {
    std::vector<std::string> drives;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(fs::path(paths.sys) / "block", ec)) {
        std::string name = entry.path().filename().string();
        if (StartsWith(name, "sr")) drives.push_back((fs::path(paths.dev) / name).string());
    }
    std::sort(drives.begin(), drives.end());
    return drives;
}

}  // namespace kest::platform::os
