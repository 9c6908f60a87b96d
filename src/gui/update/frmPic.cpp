#include "gui/update/frmPic.h"

#include <QIcon>
#include <QVBoxLayout>

#include "gui/dialogs/CenterOnMain.h"
#include "gui/widgets/ClickLabel.h"

namespace kest::gui {

frmPic::frmPic(QWidget* main) : QDialog(main) {
    setObjectName(QStringLiteral("frmPic"));
    setWindowTitle(QStringLiteral("The Infamous Kest"));
    auto* picKest = new ClickLabel(this);
    picKest->setObjectName(QStringLiteral("picKest"));
    picKest->setPixmap(QIcon(QStringLiteral(":/kestrel.svg")).pixmap(240, 240));
    picKest->setToolTip(QStringLiteral("Click to close"));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(picKest);
    connect(picKest, &ClickLabel::Pressed, this, &QDialog::accept);
    CenterOnMain(main, this);
}

}  // namespace kest::gui
