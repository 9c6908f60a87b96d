#include "gui/app/CatalogProgress.h"

#include <QCoreApplication>
#include <QProgressDialog>
#include <QPushButton>

#include "core/catalog/RebuildIndex.h"

namespace kest::gui {

CatalogProgress::~CatalogProgress() {
    delete m_salvage;
}

bool CatalogProgress::Salvage(int64_t done, int64_t total) {
    if (done >= total) {
        delete m_salvage;
        m_salvage = nullptr;
        return true;
    }
    if (!m_salvage) {
        m_salvage =
            new QProgressDialog(QStringLiteral("Recovering the rows of the damaged catalog..."),
                                QStringLiteral("&Cancel"), 0, 1000, m_window);
        m_salvage->setObjectName(QStringLiteral("dlgSalvage"));
        m_salvage->setAccessibleName(QStringLiteral("Recovering the damaged catalog"));
        m_salvage->setWindowTitle(QStringLiteral("Repairing database"));
        m_salvage->setWindowModality(Qt::WindowModal);
        m_salvage->setMinimumDuration(500);
    }
    m_salvage->setValue(static_cast<int>(total > 0 ? done * 1000 / total : 0));
    QCoreApplication::processEvents();
    return !m_salvage->wasCanceled();
}

// The window repaints after each slice; Cancel (or Escape) stops the rebuild
// between slices.
void CatalogProgress::RebuildIndex(CurrentCatalog& current, Prompter& prompter) {
    QProgressDialog progress(QStringLiteral("Rebuilding the search index..."), QString(), 0, 1000,
                             m_window);
    progress.setObjectName(QStringLiteral("frmReindex"));
    progress.setAccessibleName(QStringLiteral("Rebuild Search Index"));
    progress.setWindowTitle(QStringLiteral("Rebuild Search Index"));
    auto* cancel = new QPushButton(QStringLiteral("Cancel"), &progress);
    cancel->setObjectName(QStringLiteral("cmdReindexCancel"));
    cancel->setAccessibleName(QStringLiteral("Cancel"));
    progress.setCancelButton(cancel);
    progress.setWindowModality(Qt::WindowModal);
    progress.setMinimumDuration(0);
    progress.setAutoClose(false);
    progress.setValue(0);
    RebuildIndexCommand(
        current, prompter,
        [&progress](int64_t done, int64_t total) {
            progress.setValue(total > 0 ? static_cast<int>(done * 1000 / total) : 1000);
        },
        [&progress] {
            QCoreApplication::processEvents();
            return progress.wasCanceled();
        });
}

}  // namespace kest::gui
