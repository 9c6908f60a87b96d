#pragma once

#include <QObject>

#include "core/app/Session.h"
#include "core/app/ViewTexts.h"
#include "gui/app/MainControls.h"
#include "gui/app/MainMenus.h"

namespace kest::gui {

class SearchView;

// Which of the two views the window shows: the toolbar's first two buttons,
// View > Go To and their shortcuts switch it; the captions name the view shown.
class ViewSwitch : public QObject {
    Q_OBJECT
  public:
    ViewSwitch(const app::Session& session, SearchView& search, const MainControls& controls,
               const MainMenus& menus, QObject* parent);

    app::View Current() const { return m_view; }
    // Shows a view: its controls and grid, both status panels emptied, the
    // focus in its box when that is enabled.
    void Show(app::View view);
    // The controls of the view shown again (after the settings changed).
    void ShowControls();
    // The toolbar's view captions and the Search view's hint.
    void UpdateCaptions();

  private:
    const app::Session& m_session;
    SearchView& m_search;
    const MainControls& c;
    const MainMenus& m;
    app::View m_view = app::View::Discs;
};

}  // namespace kest::gui
