#include <filesystem>
#include <system_error>

#include "platform/Shell.h"

namespace kest::platform {
namespace {

namespace fs = std::filesystem;

// A "file://" URI of an absolute path, every byte outside the unreserved set
// and "/" written as %XX, so the URI holds no quote a D-Bus argument could trip on.
std::string FileUri(const std::string& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    std::string text = ec ? path : absolute.string();
    static const char* hex = "0123456789ABCDEF";
    std::string uri = "file://";
    for (char ch : text) {
        auto c = static_cast<unsigned char>(ch);
        bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                     c == '-' || c == '.' || c == '_' || c == '~' || c == '/';
        if (plain) {
            uri += static_cast<char>(c);
        } else {
            uri += '%';
            uri += hex[c >> 4];
            uri += hex[c & 15];
        }
    }
    return uri;
}

// A relative name starting with "-" would read as an option.
std::string PathArgument(const std::string& path) {
    return path.starts_with('-') ? "./" + path : path;
}

bool Exists(const std::string& path) {
    std::error_code ec;
    return fs::exists(path, ec);
}

class LinuxShell : public Shell {
  public:
    explicit LinuxShell(Launcher& launcher) : m_launcher(launcher) {}

    ShellStatus Execute(const std::string& path, ShellVerb verb, const std::string& item) override {
        if (!Exists(path)) {
            std::string parent = fs::path(path).parent_path().string();
            return parent.empty() || Exists(parent) ? ShellStatus::FileNotFound
                                                    : ShellStatus::PathNotFound;
        }
        if (verb == ShellVerb::Explore && ShowInFileManager(path, item))
            return ShellStatus::Started;
        return OpenWithDefault(path);
    }

    bool OpenWith(const std::string& path) override {
        LaunchResult result = m_launcher.Run(
            {"gdbus", "call", "--session", "--dest", "org.freedesktop.portal.Desktop",
             "--object-path", "/org/freedesktop/portal/desktop", "--method",
             "org.freedesktop.portal.OpenURI.OpenURI", "", FileUri(path), "{'ask': <true>}"});
        return result.started && result.exitCode <= 0;
    }

  private:
    // The file manager's ShowItems selects the item in its folder; without an
    // item ShowFolders opens the folder itself.
    bool ShowInFileManager(const std::string& folder, const std::string& item) {
        std::string target = folder;
        std::string method = "ShowFolders";
        if (!item.empty() && Exists((fs::path(folder) / item).string())) {
            target = (fs::path(folder) / item).string();
            method = "ShowItems";
        }
        LaunchResult result = m_launcher.Run(
            {"gdbus", "call", "--session", "--dest", "org.freedesktop.FileManager1",
             "--object-path", "/org/freedesktop/FileManager1", "--method",
             "org.freedesktop.FileManager1." + method, "['" + FileUri(target) + "']", ""});
        return result.started && result.exitCode <= 0;
    }

    // xdg-open, else gio open. xdg-open exits with 2 for a missing file, 3
    // when no tool can open the file and 4 when opening failed.
    ShellStatus OpenWithDefault(const std::string& path) {
        LaunchResult result = m_launcher.Run({"xdg-open", PathArgument(path)});
        if (result.started) {
            switch (result.exitCode) {
                case -1:
                case 0:
                    return ShellStatus::Started;
                case 2:
                    return ShellStatus::FileNotFound;
                case 3:
                case 4:
                    return ShellStatus::NoAssociation;
                default:
                    return ShellStatus::Failed;
            }
        }
        result = m_launcher.Run({"gio", "open", FileUri(path)});
        if (result.started && result.exitCode <= 0) return ShellStatus::Started;
        // Nothing on this machine can open it.
        return ShellStatus::NoAssociation;
    }

    Launcher& m_launcher;
};

}  // namespace

std::unique_ptr<Shell> MakeDesktopShell(Launcher& launcher) {
    return std::make_unique<LinuxShell>(launcher);
}

// The desktop shell over its own process starter, which lives as long as it.
std::unique_ptr<Shell> MakeDesktopShell() {
    struct OwningShell : Shell {
        std::unique_ptr<Launcher> launcher = MakeProcessLauncher();
        std::unique_ptr<Shell> shell = MakeDesktopShell(*launcher);
        ShellStatus Execute(const std::string& path, ShellVerb verb,
                            const std::string& item) override {
            return shell->Execute(path, verb, item);
        }
        bool OpenWith(const std::string& path) override { return shell->OpenWith(path); }
    };
    return std::make_unique<OwningShell>();
}

}  // namespace kest::platform
