#include "core/settings/IniFile.h"

// The narrow, case-insensitive store only, compiled here: no wide conversion
// and no link to the packaged library.
#define SI_NO_CONVERSION
#define SI_IMPLEMENTATION
#include <SimpleIni.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <system_error>

#include "core/common/KestError.h"
#include "core/common/ReplacementFile.h"
#include "core/settings/AppPaths.h"

namespace kest {

namespace fs = std::filesystem;

namespace {

// What a profile read gives at most: a 2048-character buffer with its terminator.
constexpr size_t kMaxValueLength = 2047;
constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

std::string CutToBuffer(std::string_view value) {
    return std::string(value.substr(0, kMaxValueLength));
}

std::string WithoutQuotes(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        value = value.substr(1, value.size() - 2);
    }
    return std::string(value);
}

// Settings text: blank, or with at least one section, key or comment line, and
// no NUL byte. Anything else is some other file that a save must not replace.
bool LooksLikeIni(std::string_view data) {
    if (data.find('\0') != std::string_view::npos) return false;
    bool blank = true;
    for (size_t start = 0; start < data.size();) {
        size_t end = data.find_first_of("\r\n", start);
        std::string_view line =
            data.substr(start, end == std::string_view::npos ? end : end - start);
        size_t first = line.find_first_not_of(" \t");
        if (first != std::string_view::npos) {
            char lead = line[first];
            if (lead == '[' || lead == ';' || lead == '#' ||
                line.find('=') != std::string_view::npos) {
                return true;
            }
            blank = false;
        }
        if (end == std::string_view::npos) break;
        start = end + 1;
    }
    return blank;
}

std::optional<std::string> ReadWhole(const fs::path& path) {
    try {
        std::ifstream in(path, std::ios::binary);
        if (!in) return std::nullopt;
        std::string data((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) return std::nullopt;
        return data;
    } catch (const std::exception&) {
        return std::nullopt;
    }
}

bool IsReadOnly(const fs::path& path) {
    struct stat st {};
    if (stat(path.c_str(), &st) != 0) return false;
    return (st.st_mode & S_IWUSR) == 0 || access(path.c_str(), W_OK) != 0;
}

}  // namespace

struct IniFile::Impl {
    CSimpleIniA ini{true, true, false};
    bool readable = true;  // false: the file exists but could not be read as INI text
    std::string problem;   // why it could not
    bool hadBom = false;
    std::optional<std::string> loaded;             // the file's bytes as read, when it was there
    mutable std::optional<KestError> saveFailure;  // why the last save could not write
};

IniFile::IniFile(fs::path path) : m_path(std::move(path)), m_impl(std::make_unique<Impl>()) {
    m_impl->ini.SetSpaces(false);
    m_impl->ini.SetQuotes(false);
    std::error_code ec;
    if (!fs::exists(m_path, ec)) return;
    auto unreadable = [this](const char* why) {
        m_impl->readable = false;
        m_impl->problem = why;
    };
    if (!fs::is_regular_file(m_path, ec)) {
        unreadable("it is not a file");
        return;
    }
    std::optional<std::string> read = ReadWhole(m_path);
    if (!read) {
        unreadable("it could not be read");
        return;
    }
    m_impl->loaded = *read;
    std::string data = std::move(*read);
    m_impl->hadBom = data.starts_with(kUtf8Bom);
    if (m_impl->hadBom) data.erase(0, kUtf8Bom.size());
    if (!LooksLikeIni(data) || m_impl->ini.LoadData(data) < 0) {
        unreadable("it holds no settings text");
    }
}

const std::string& IniFile::Problem() const {
    return m_impl->problem;
}

IniFile::~IniFile() = default;
IniFile::IniFile(IniFile&&) noexcept = default;
IniFile& IniFile::operator=(IniFile&&) noexcept = default;

std::optional<std::string> IniFile::Stored(std::string_view section, std::string_view key) const {
    const char* value =
        m_impl->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    if (!value) return std::nullopt;
    return std::string(value);
}

long IniFile::KeysIn(std::string_view section) const {
    return m_impl->ini.GetSectionSize(std::string(section).c_str());
}

bool IniFile::UnchangedOnDisk() const {
    if (!m_impl->readable || !m_impl->loaded) return false;
    return ReadWhole(m_path) == m_impl->loaded;
}

std::string IniFile::Read(std::string_view section, std::string_view key,
                          std::string_view defaultValue) const {
    const char* value =
        m_impl->ini.GetValue(std::string(section).c_str(), std::string(key).c_str(), nullptr);
    if (!value || key.empty()) return CutToBuffer(defaultValue);
    return CutToBuffer(WithoutQuotes(value));
}

void IniFile::Write(std::string_view section, std::string_view key, std::string_view value) {
    std::string sectionText(section);
    if (key.empty()) {
        m_impl->ini.Delete(sectionText.c_str(), nullptr);
    } else if (value.empty()) {
        m_impl->ini.Delete(sectionText.c_str(), std::string(key).c_str());
    } else {
        m_impl->ini.SetValue(sectionText.c_str(), std::string(key).c_str(),
                             std::string(value).c_str(), nullptr, true);
    }
}

bool IniFile::Save() const {
    m_impl->saveFailure.reset();
    if (!m_impl->readable) return false;
    try {
        // A linked settings file is replaced at its real place, keeping the link.
        if (IsReadOnly(WriteTarget(m_path.string()))) return false;
        std::string data;
        if (m_impl->ini.Save(data, m_impl->hadBom) < 0) return false;
        // Nothing changed: the file already holds these bytes, and writing them
        // again would only cost a sync (a search saves its history every time).
        if (data == m_impl->loaded) return true;
        ReplacementFile file(m_path.string());
        file.Write(data);
        file.Replace();
        return true;
    } catch (const KestError& e) {
        m_impl->saveFailure = e;
        return false;
    }
}

const KestError* IniFile::SaveFailure() const {
    return m_impl->saveFailure ? &*m_impl->saveFailure : nullptr;
}

const fs::path& IniPath() {
    static const fs::path path = AppPaths::ForRun().IniPath();
    return path;
}

namespace {
fs::path Resolve(const std::string& file) {
    return file.empty() ? IniPath() : fs::path(file);
}
}  // namespace

std::string ReadIni(std::string_view section, std::string_view key, std::string_view defaultValue,
                    const std::string& file) {
    return IniFile(Resolve(file)).Read(section, key, defaultValue);
}

long WriteIni(std::string_view section, std::string_view key, std::string_view value,
              const std::string& file) {
    IniFile ini(Resolve(file));
    ini.Write(section, key, value);
    return ini.Save() ? 1 : 0;
}

}  // namespace kest
