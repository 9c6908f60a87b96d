#pragma once

#include <QString>
#include <functional>

class QAbstractScrollArea;

namespace kest::gui {

// Files dragged from the desktop or a file window onto a grid are taken as
// a copy; the first dropped local file goes to `dropped`. Anything else is
// refused.
void AcceptDroppedFiles(QAbstractScrollArea* grid, std::function<void(const QString&)> dropped);

}  // namespace kest::gui
