#pragma once

#include <memory>
#include <string>

namespace kest::platform {

// Hands a file or folder to the desktop, which opens it with the program the
// user associated with its type.
class Shell {
  public:
    virtual ~Shell() = default;
    // True when the desktop accepted the request.
    virtual bool Open(const std::string& path) = 0;
};

// The desktop's opener (xdg-open).
std::unique_ptr<Shell> MakeDesktopShell();

}  // namespace kest::platform
