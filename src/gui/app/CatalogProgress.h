#pragma once

#include <QWidget>
#include <cstdint>

#include "core/catalog/CurrentCatalog.h"
#include "core/ui/Prompter.h"

class QProgressDialog;

namespace kest::gui {

// The progress windows of the long catalog commands, each with a Cancel that
// stays usable over the disabled window: a salvage, and the index rebuild.
class CatalogProgress {
  public:
    explicit CatalogProgress(QWidget* window) : m_window(window) {}
    ~CatalogProgress();
    CatalogProgress(const CatalogProgress&) = delete;
    CatalogProgress& operator=(const CatalogProgress&) = delete;

    // Pages read of the file's pages; false once the user cancels.
    bool Salvage(int64_t done, int64_t total);
    // Tools > Rebuild Search Index.
    void RebuildIndex(CurrentCatalog& current, Prompter& prompter);

  private:
    QWidget* m_window;
    QProgressDialog* m_salvage = nullptr;  // while a salvage runs
};

}  // namespace kest::gui
