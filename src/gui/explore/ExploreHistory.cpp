#include "gui/explore/ExploreHistory.h"

namespace kest::gui {
namespace {

std::optional<explore::FolderPath> Step(std::vector<explore::FolderPath>& from,
                                        std::vector<explore::FolderPath>& to,
                                        const explore::FolderPath& current) {
    if (from.empty()) return std::nullopt;
    explore::FolderPath path = std::move(from.back());
    from.pop_back();
    to.push_back(current);
    return path;
}

}  // namespace

void ExploreHistory::Visit(const explore::FolderPath& path, bool remember) {
    if (remember && path != m_current) {
        m_back.push_back(m_current);
        m_forward.clear();
    }
    m_current = path;
}

std::optional<explore::FolderPath> ExploreHistory::StepBack() {
    return Step(m_back, m_forward, m_current);
}

std::optional<explore::FolderPath> ExploreHistory::StepForward() {
    return Step(m_forward, m_back, m_current);
}

}  // namespace kest::gui
