#pragma once

#include <QDialog>

#include "core/update/UpdateCheck.h"

namespace kest::gui {

// The about window: the release, the links to the maker's site and e-mail,
// the update window, the release history and credits.
class frmAbout : public QDialog {
    Q_OBJECT
  public:
    frmAbout(QWidget* main, update::UpdateContext context);

  private:
    update::UpdateContext m_context;
};

// "major.minor.revision" of the running program.
QString ReleaseCaption();

}  // namespace kest::gui
