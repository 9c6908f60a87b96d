#include "platform/Volumes.h"

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
    std::vector<Drive> items;
    for (const Drive& drive : volumes.ListDrives()) {
        if (drive.type == DriveType::Optical) {
            VolumeInfo info = volumes.GetVolumeInfo(drive.root);
            std::string text = drive.root + " ";
            if (info.ok) text += "[" + info.label + "]";
            items.push_back({drive.root, text, drive.type, drive.iconIndex});
        } else if (!onlyOptical && drive.type != DriveType::Unknown) {
            items.push_back(drive);
        }
    }
    return items;
}

}  // namespace kest::platform
