#pragma once

#include <QWidget>
#include <cstdint>

#include "core/catalog/CurrentCatalog.h"
#include "core/ui/Prompter.h"
#include "gui/widgets/BusyPointer.h"

class QProgressDialog;

namespace kest::gui {

// What the user sees while a catalog command runs: the hourglass, and the
// progress windows of the long ones, each with a Cancel that stays usable
// over the disabled window (a salvage, and the index rebuild).
class CatalogProgress {
  public:
    explicit CatalogProgress(QWidget* window) : m_window(window) {}
    ~CatalogProgress();
    CatalogProgress(const CatalogProgress&) = delete;
    CatalogProgress& operator=(const CatalogProgress&) = delete;

    void SetBusy(bool busy) { m_busy.Set(busy); }
    // Pages read of the file's pages; false once the user cancels.
    bool Salvage(int64_t done, int64_t total);
    // Tools > Rebuild Search Index.
    void RebuildIndex(CurrentCatalog& current, Prompter& prompter);

  private:
    QWidget* m_window;
    BusyPointer m_busy;
    QProgressDialog* m_salvage = nullptr;  // while a salvage runs
};

}  // namespace kest::gui
