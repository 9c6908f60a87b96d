#pragma once

#include <QObject>

#include "core/app/Session.h"
#include "gui/app/MainControls.h"
#include "gui/app/WindowParts.h"

namespace kest::gui {

// The options dialog (mnuOpts, Ctrl+I, toolbar button 3): the window takes
// what each Apply changed, the disc list what the dialog's closing changed.
class OptionsCommand : public QObject {
    Q_OBJECT
  public:
    OptionsCommand(app::Session& session, const MainControls& controls, const WindowParts& parts,
                   QWidget* window);

    void Show();

  private:
    // What one Apply changed: colours, font, title, hints, drives.
    void Take();

    app::Session& m_session;
    const MainControls& c;
    const WindowParts& p;
    QWidget* m_window;
};

}  // namespace kest::gui
