#include "support/archive/RarAceOracle.h"

#include <stdlib.h>
#include <time.h>

#include <cstdio>
#include <fstream>

namespace kest::test {

std::vector<std::string> OracleSection(const std::string& expectedFile,
                                       const std::string& command) {
    std::ifstream in(expectedFile);
    std::vector<std::string> lines;
    const std::string start = "===== $ " + command;
    bool inside = false;
    for (std::string line; std::getline(in, line);) {
        if (line.rfind("=====", 0) == 0) {
            if (inside) break;
            inside = line.rfind(start, 0) == 0;
            continue;
        }
        if (inside) lines.push_back(line);
    }
    return lines;
}

std::vector<OracleRecord> OracleRecords(const std::vector<std::string>& lines,
                                        const std::string& startKey, const std::string& separator) {
    std::vector<OracleRecord> records;
    for (const auto& raw : lines) {
        size_t first = raw.find_first_not_of(' ');
        if (first == std::string::npos) continue;
        std::string line = raw.substr(first);
        size_t split = line.find(separator);
        if (split == std::string::npos) continue;
        std::string key = line.substr(0, split);
        size_t valueStart = line.find_first_not_of(' ', split + separator.size());
        std::string value = valueStart == std::string::npos ? "" : line.substr(valueStart);
        while (!key.empty() && key.back() == ' ') key.pop_back();
        if (key == startKey) records.emplace_back();
        if (!records.empty()) records.back()[key] = value;
    }
    return records;
}

std::string PythonBytes(const std::string& literal) {
    std::string body = literal.substr(2, literal.size() - 3);  // b'...'
    std::string out;
    for (size_t i = 0; i < body.size(); ++i) {
        if (body[i] != '\\' || i + 1 == body.size()) {
            out += body[i];
        } else if (body[i + 1] == 'x' && i + 3 < body.size()) {
            out += static_cast<char>(std::stoi(body.substr(i + 2, 2), nullptr, 16));
            i += 3;
        } else {
            out += body[++i];
        }
    }
    return out;
}

namespace {

template <typename Header, typename OpenData, typename Handle>
Listing<Header> ListThrough(const std::string& path, Handle (*open)(OpenData*),
                            int (*read)(Handle, Header*),
                            int (*process)(Handle, int, const char*, const char*),
                            int (*close)(Handle)) {
    Listing<Header> listing;
    OpenData data;
    data.ArcName = path;
    Handle handle = open(&data);
    listing.opened = handle != nullptr;
    listing.openResult = data.OpenResult;
    Header header;
    while (handle && read(handle, &header) == 0) {
        listing.entries.push_back(header);
        process(handle, 0, nullptr, nullptr);  // skip
    }
    if (handle) close(handle);
    return listing;
}

}  // namespace

RarListing ListRar(const std::string& path) {
    using namespace archive::rarlib;
    return ListThrough(path, RAROpenArchive, RARReadHeader, RARProcessFile, RARCloseArchive);
}

AceListing ListAce(const std::string& path) {
    using namespace archive::acelib;
    return ListThrough(path, ACEOpenArchive, ACEReadHeader, ACEProcessFile, ACECloseArchive);
}

ScopedUtc::ScopedUtc() {
    const char* tz = getenv("TZ");
    m_hadTz = tz != nullptr;
    if (tz) m_savedTz = tz;
    setenv("TZ", "UTC", 1);
    tzset();
}

ScopedUtc::~ScopedUtc() {
    if (m_hadTz)
        setenv("TZ", m_savedTz.c_str(), 1);
    else
        unsetenv("TZ");
    tzset();
}

std::string DosTimeText(uint32_t dosTime) {
    char text[32];
    snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u:%02u", (dosTime >> 25) + 1980,
             (dosTime >> 21) & 0x0F, (dosTime >> 16) & 0x1F, (dosTime >> 11) & 0x1F,
             (dosTime >> 5) & 0x3F, (dosTime & 0x1F) * 2);
    return text;
}

}  // namespace kest::test
