#pragma once

#include <QDialog>

namespace kest::gui {

// The picture window: Kest's kestrel; a click on the picture closes it.
class frmPic : public QDialog {
    Q_OBJECT
  public:
    explicit frmPic(QWidget* main);
};

}  // namespace kest::gui
