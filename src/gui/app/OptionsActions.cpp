// The main window's way into the options dialog (mnuOpts, Ctrl+I, toolbar
// button 3) and what it takes from each Apply.
#include "core/app/OptionsEffects.h"
#include "core/app/ViewTexts.h"
#include "core/discs/DiscListSettings.h"
#include "core/settings/OptionsForm.h"
#include "gui/app/MainWindow.h"
#include "gui/dialogs/ModalRun.h"
#include "gui/grids/ListGrid.h"
#include "gui/options/frmOpts.h"

namespace kest::gui {

void MainWindow::ConnectOptions() {
    connect(m.mnuOpts, &QAction::triggered, this, &MainWindow::ShowOptions);
}

void MainWindow::ShowOptions() {
    Trap("Error in menu Options", [this] {
        DiscListShape before = DiscListShapeOf(m_session.settings);
        {
            frmOpts dialog(this, m_session, [this] { TakeOptions(); });
            RunModal(dialog);
        }
        if (DiscListShapeOf(m_session.settings) == before) return;
        app::FitDiscColumns(m_session);
        if (m_session.current.HasDatabase()) {
            LoadDiscList();
        } else {
            discs::SetDiscHeaders(m_discs.table,
                                  discs::DiscListOptionsFrom(m_session.settings, m_session.window));
            c.fgdDiscs->Reload();
        }
    });
}

void MainWindow::TakeOptions() {
    ApplyColours();
    ApplyGridFont();
    ShowSizeUnit();
    setWindowTitle(
        QString::fromStdString(app::ProgramTitle(m_session.settings, m_session.current)));
    QString hint = QString::fromStdString(app::SearchHint(m_session.settings));
    c.cboSearch->setToolTip(hint);
    c.cboSearch->setAccessibleDescription(hint);
    UpdateViewCaptions();
    RefreshDrives();
}

}  // namespace kest::gui
