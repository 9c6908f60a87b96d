#include "platform/Volumes.h"

#include <algorithm>
#include <cstdio>

namespace kest::platform {

const char* DriveTypeName(DriveType type) {
    switch (type) {
        case DriveType::Removable:
            return "removable";
        case DriveType::Fixed:
            return "fixed";
        case DriveType::Network:
            return "network";
        case DriveType::Optical:
            return "optical";
        case DriveType::Unknown:
            break;
    }
    return "unknown";
}

int DriveIconIndex(DriveType type, bool floppy) {
    switch (type) {
        case DriveType::Removable:
            return floppy ? 1 : 2;
        case DriveType::Fixed:
            return 3;
        case DriveType::Optical:
            return 4;
        case DriveType::Network:
            return 5;
        case DriveType::Unknown:
            break;
    }
    return 0;
}

std::string FormatSerial(std::uint32_t serial) {
    char text[10];
    std::snprintf(text, sizeof text, "%04X-%04X", static_cast<unsigned>(serial >> 16),
                  static_cast<unsigned>(serial & 0xFFFF));
    return text;
}

std::vector<Drive> DriveBoxItems(const Volumes& volumes, bool onlyOptical) {
    std::vector<Drive> drives = volumes.ListDrives();
    // A machine without an optical drive would offer nothing to scan: it
    // offers its other volumes, marked, and the scan warns about each.
    bool othersMarked = onlyOptical && std::none_of(drives.begin(), drives.end(), [](auto& d) {
                            return d.type == DriveType::Optical;
                        });
    std::vector<Drive> items;
    for (const Drive& drive : drives) {
        if (drive.type == DriveType::Optical) {
            VolumeInfo info = volumes.GetVolumeInfo(drive.root);
            std::string text = drive.root + " ";
            if (info.ok) text += "[" + info.label + "]";
            items.push_back({drive.root, text, drive.type, drive.iconIndex});
        } else if ((!onlyOptical || othersMarked) && drive.type != DriveType::Unknown) {
            items.push_back(drive);
            if (othersMarked) items.back().text += kNotOpticalMark;
        }
    }
    return items;
}

std::string EmptyDriveBoxNote(size_t itemCount, bool onlyOptical) {
    if (itemCount > 0) return {};
    return onlyOptical ? "Nothing to scan: no optical drive and no other volume is mounted."
                       : "Nothing to scan: no volume is mounted.";
}

}  // namespace kest::platform
