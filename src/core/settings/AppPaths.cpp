#include "core/settings/AppPaths.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>

namespace kest {

namespace fs = std::filesystem;

namespace {

fs::path ExecutableFolder() {
    std::error_code ec;
    fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? fs::path() : exe.parent_path();
}

fs::path UserDataFolder() {
    const char* xdg = std::getenv("XDG_DATA_HOME");
    // The XDG rules ignore a relative XDG_DATA_HOME.
    if (xdg && *xdg && fs::path(xdg).is_absolute()) return fs::path(xdg);
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        const passwd* pw = getpwuid(getuid());
        home = pw ? pw->pw_dir : "/tmp";
    }
    return fs::path(home) / ".local" / "share";
}

}  // namespace

AppPaths::AppPaths(fs::path folder) : m_folder(std::move(folder)) {}

AppPaths AppPaths::Locate(const std::string& home) {
    fs::path folder;
    std::error_code ec;
    if (!home.empty()) {
        folder = fs::absolute(home, ec);
        if (ec) folder = home;
    } else {
        fs::path exeFolder = ExecutableFolder();
        if (!exeFolder.empty() && fs::is_regular_file(exeFolder / kIniName, ec)) {
            folder = exeFolder;
        } else {
            folder = UserDataFolder() / "kest";
        }
    }
    fs::create_directories(folder, ec);
    return AppPaths(folder.lexically_normal());
}

const AppPaths& AppPaths::ForRun(const std::string& home) {
    static const AppPaths paths = Locate(home);
    return paths;
}

std::string AppPaths::FolderText() const {
    std::string text = m_folder.string();
    while (text.size() > 1 && text.back() == '/') text.pop_back();
    return text;
}

}  // namespace kest
