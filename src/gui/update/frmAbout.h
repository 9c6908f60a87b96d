#pragma once

#include <QDialog>

#include "core/update/UpdateCheck.h"

namespace kest::gui {

class ClickLabel;

// The about window: the release, the links to the maker's site and e-mail,
// the update window, the release history and credits.
class frmAbout : public QDialog {
    Q_OBJECT
  public:
    frmAbout(QWidget* main, update::UpdateContext context);

  private:
    // A left click on the label opens the address (and marks the label visited).
    void LinkTo(ClickLabel* label, const std::string& address);

    update::UpdateContext m_context;
};

// "major.minor.revision" of the running program.
QString ReleaseCaption();

}  // namespace kest::gui
