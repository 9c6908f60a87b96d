#include "core/scan/FileFacts.h"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstring>
#include <ctime>

#include "core/common/FileSystemError.h"
#include "core/scan/DisplayName.h"
#include "core/scan/ScanView.h"
#include "core/text/NameBytes.h"

namespace kest::scan {

namespace {

bool IsPagefileName(std::string_view relativePath) {
    static constexpr std::string_view kPagefile = "pagefile.sys";
    if (relativePath.size() != kPagefile.size()) return false;
    for (size_t i = 0; i < kPagefile.size(); ++i) {
        char c = relativePath[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != kPagefile[i]) return false;
    }
    return true;
}

}  // namespace

void FileTimeFormatter::Format(time_t time, std::string& dateText, std::string& isoDate) {
    char* us = m_us;
    if (!m_known || time != m_time) {
        struct tm local {};
        localtime_r(&time, &local);
        // Written by hand: this runs once per file of a scan.
        auto put = [](char* at, int value, int digits) {
            for (int i = digits - 1; i >= 0; --i, value /= 10)
                at[i] = static_cast<char>('0' + value % 10);
        };
        int year = local.tm_year + 1900;
        if (year < 0 || year > 9999) year = 0;
        std::memcpy(us, "mm/dd/yyyy hh:nn:ss", sizeof m_us);
        put(us, local.tm_mon + 1, 2);
        put(us + 3, local.tm_mday, 2);
        put(us + 6, year, 4);
        put(us + 11, local.tm_hour, 2);
        put(us + 14, local.tm_min, 2);
        put(us + 17, local.tm_sec, 2);
        m_known = true;
        m_time = time;
    }
    dateText.assign(us, sizeof m_us - 1);
    isoDate.assign(us + 6, 4);
    isoDate.append({'-', us[0], us[1], '-', us[3], us[4]});
    isoDate.append(us + 10, 9);
}

std::string AttributeLetters(uint32_t bits) {
    std::string letters;
    if (bits & platform::kAttrReadOnly) letters += 'R';
    if (bits & platform::kAttrHidden) letters += 'H';
    if (bits & platform::kAttrSystem) letters += 'S';
    if (bits & platform::kAttrArchive) letters += 'A';
    return letters;
}

void FileFactsReader::Report(int error, const std::string& fullPath) {
    KestError e = FileSystemError(error);
    std::string shownPath;
    text::EscapeNameBytes(fullPath, shownPath);
    m_prompter.Show(
        "Error in file info",
        std::to_string(e.Number()) + "\r\n" + e.Description() + "\r\n'" + shownPath + "'",
        Icon::Critical);
}

bool FileFactsReader::Start(time_t modified, int64_t size, std::string_view relativePath,
                            FileFacts& facts) {
    m_times.Format(modified, facts.dateText, facts.isoDate);
    facts.size = size;
    char digits[24];
    facts.sizeText.assign(digits, std::to_chars(digits, digits + sizeof digits, size).ptr);
    facts.attributes.clear();
    if (m_view) m_view->Pump();
    if (IsPagefileName(relativePath)) {
        facts.attributes = "?";
        return false;
    }
    return true;
}

void FileFactsReader::Fill(time_t modified, int64_t size, uint32_t attributeBits,
                           std::string_view relativePath, FileFacts& facts) {
    if (Start(modified, size, relativePath, facts))
        facts.attributes = AttributeLetters(attributeBits);
}

void FileFactsReader::Read(int dirFd, const std::string& fullPath, const char* name,
                           std::string_view relativePath, FileFacts& facts) {
    facts.dateText.clear();
    facts.isoDate.clear();
    facts.sizeText.clear();
    facts.size = 0;
    facts.attributes.clear();
    struct stat st {};
    if (fstatat(dirFd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) {
        Report(errno, fullPath);
        return;
    }
    if (!Start(st.st_mtim.tv_sec, st.st_size, relativePath, facts)) return;
    uint32_t bits = 0;
    if (int error = m_attributes.Read(dirFd, fullPath, name, st, bits); error != 0) {
        Report(error, fullPath);
        return;
    }
    facts.attributes = AttributeLetters(bits);
}

FileFacts FileFactsReader::Read(const std::string& fullPath, const std::string& root) {
    auto slash = fullPath.find_last_of('/');
    std::string dir = slash == std::string::npos ? "." : fullPath.substr(0, slash + 1);
    std::string name = slash == std::string::npos ? fullPath : fullPath.substr(slash + 1);
    std::string relative =
        fullPath.compare(0, root.size(), root) == 0 ? fullPath.substr(root.size()) : fullPath;
    int dirFd = open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) {
        Report(errno, fullPath);
        return {};
    }
    FileFacts facts;
    Read(dirFd, fullPath, name.c_str(), relative, facts);
    close(dirFd);
    return facts;
}

}  // namespace kest::scan
