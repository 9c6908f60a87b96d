#pragma once

#include <optional>
#include <vector>

#include "core/explore/FolderNames.h"

namespace kest::gui {

// The Explore window's place and its ways back and forward, as a file
// manager keeps them: going somewhere new drops the steps forward.
class ExploreHistory {
  public:
    const explore::FolderPath& Current() const { return m_current; }
    bool CanGoBack() const { return !m_back.empty(); }
    bool CanGoForward() const { return !m_forward.empty(); }

    // The window shows path now; remembered, the place left is a step back.
    void Visit(const explore::FolderPath& path, bool remember);
    // The place one step back (forward), the current one becoming a step the
    // other way; none at the end. The caller visits it without remembering.
    std::optional<explore::FolderPath> StepBack();
    std::optional<explore::FolderPath> StepForward();

  private:
    explore::FolderPath m_current;
    std::vector<explore::FolderPath> m_back, m_forward;
};

}  // namespace kest::gui
