#pragma once

#include <QWidget>

#include "core/explore/FolderNames.h"

class QLineEdit;
class QToolButton;

namespace kest::gui {

// The Explore window's path bar: Back, Forward and Up, and the Path box that
// shows the place and takes one typed in.
class ExplorePathBar : public QWidget {
    Q_OBJECT
  public:
    explicit ExplorePathBar(QWidget* parent);

    // The place shown, and which of the steps are open from it.
    void Show(const explore::FolderPath& path, bool canGoBack, bool canGoForward);
    // After a typed path led nowhere: the shown place's path text again.
    void RevertPath();

  signals:
    void BackWanted();
    void ForwardWanted();
    void UpWanted();
    void PathEntered(const explore::FolderPath& path);

  private:
    QToolButton *cmdBack, *cmdForward, *cmdUp;
    QLineEdit* txtPath;
    explore::FolderPath m_shown;
};

}  // namespace kest::gui
