#pragma once

#include <QDialog>

namespace kest::gui {

// The help contents window: one tab per topic in a fixed-width font. A
// Ctrl+left click on its icon shows the picture window.
class frmContents : public QDialog {
    Q_OBJECT
  public:
    explicit frmContents(QWidget* main);
};

}  // namespace kest::gui
