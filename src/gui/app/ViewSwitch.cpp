#include "gui/app/ViewSwitch.h"

#include "gui/app/SearchView.h"

namespace kest::gui {

ViewSwitch::ViewSwitch(const app::Session& session, SearchView& search,
                       const MainControls& controls, const MainMenus& menus, QObject* parent)
    : QObject(parent), m_session(session), m_search(search), c(controls), m(menus) {
    setObjectName(QStringLiteral("viewSwitch"));
}

void ViewSwitch::Show(app::View view) {
    m_view = view;
    bool discsView = view == app::View::Discs;
    (discsView ? m.mnuDiscs : m.mnuSearch)->setChecked(true);
    UpdateCaptions();
    for (QLabel* panel : c.panels) panel->clear();
    ShowControls();
    c.lblScanDirec->setVisible(discsView);
    c.lblSearchDirec->setVisible(!discsView);
    c.lblResultCount->setVisible(!discsView);
    c.fgdDiscs->setVisible(discsView);
    c.fgdResults->setVisible(!discsView);
    QWidget* focus = discsView ? static_cast<QWidget*>(c.icbDrives) : c.cboSearch;
    if (focus->isEnabled()) focus->setFocus();
}

void ViewSwitch::ShowControls() {
    bool discsView = m_view == app::View::Discs;
    m_search.ShowControls(!discsView);
    for (QWidget* control : {static_cast<QWidget*>(c.lblNumDiscs),
                             static_cast<QWidget*>(c.icbDrives), static_cast<QWidget*>(c.cmdSS)})
        control->setVisible(discsView);
}

void ViewSwitch::UpdateCaptions() {
    c.toolButtons[0]->setText(QString::fromStdString(app::ViewButtonCaption(1, m_view)));
    c.toolButtons[1]->setText(QString::fromStdString(app::ViewButtonCaption(2, m_view)));
    c.lblSearchDirec->setText(QString::fromStdString(app::SearchHint(m_session.settings)));
}

}  // namespace kest::gui
