#include "gui/discfacts/DiscFactsOptions.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QGroupBox>
#include <QTabWidget>

#include "core/discfacts/DiscListFacts.h"

namespace kest::gui {
namespace {

QCheckBox* Box(QWidget* parent, const QString& name, const QString& caption) {
    auto* box = new QCheckBox(caption, parent);
    box->setObjectName(name);
    box->setAccessibleName(QString(caption).remove(QLatin1Char('&')));
    return box;
}

// A new frame at the foot of the tab's right-hand column.
QGroupBox* FrameOnTab(QTabWidget* tabs, const char* tabName, const QString& title,
                      const char* name) {
    auto* page = tabs->findChild<QWidget*>(QLatin1String(tabName));
    auto* frame = new QGroupBox(title, page);
    frame->setObjectName(QLatin1String(name));
    auto* columns = qobject_cast<QBoxLayout*>(page->layout());
    auto* right = columns
                      ? qobject_cast<QBoxLayout*>(columns->itemAt(columns->count() - 1)->layout())
                      : nullptr;
    if (right)
        right->insertWidget(right->count() - 1, frame);  // above the column's stretch
    else
        page->layout()->addWidget(frame);
    new QVBoxLayout(frame);
    return frame;
}

}  // namespace

DiscFactsOptions::DiscFactsOptions(QTabWidget* tabs) : QObject(tabs) {
    QGroupBox* discs =
        FrameOnTab(tabs, "tabGeneral", QStringLiteral("Discs Mounted and Scanned"), "fraDiscFacts");
    chkScanUnknown = Box(discs, QStringLiteral("chkScanUnknown"),
                         QStringLiteral("Sca&n a disc the catalog does not know when it is "
                                        "mounted"));
    chkHashContents = Box(discs, QStringLiteral("chkHashContents"),
                          QStringLiteral("Read every file for a content &hash while scanning "
                                         "(slower)"));
    discs->layout()->addWidget(chkScanUnknown);
    discs->layout()->addWidget(chkHashContents);

    QGroupBox* columns =
        FrameOnTab(tabs, "tabResults", QStringLiteral("More Disc List Columns"), "fraFactColumns");
    int index = 0;
    for (const auto& column : discfacts::FactColumnNames()) {
        QString caption = QString::fromUtf8(column.header).trimmed();
        chkFactCol.push_back(Box(columns, QStringLiteral("chkFactCol%1").arg(index++), caption));
        columns->layout()->addWidget(chkFactCol.back());
    }
    std::vector<QCheckBox*> all = chkFactCol;
    all.push_back(chkScanUnknown);
    all.push_back(chkHashContents);
    for (QCheckBox* box : all) connect(box, &QCheckBox::toggled, this, &DiscFactsOptions::Changed);
}

void DiscFactsOptions::Show(const AppSettings& settings) {
    chkScanUnknown->setChecked(settings.ScanUnknownDiscs);
    chkHashContents->setChecked(settings.HashContents);
    const auto& names = discfacts::FactColumnNames();
    for (size_t i = 0; i < names.size(); ++i)
        chkFactCol[i]->setChecked((static_cast<unsigned>(settings.FactColumns) & names[i].column) !=
                                  0);
}

void DiscFactsOptions::Read(AppSettings& settings) const {
    settings.ScanUnknownDiscs = chkScanUnknown->isChecked();
    settings.HashContents = chkHashContents->isChecked();
    unsigned columns = 0;
    const auto& names = discfacts::FactColumnNames();
    for (size_t i = 0; i < names.size(); ++i)
        if (chkFactCol[i]->isChecked()) columns |= names[i].column;
    settings.FactColumns = static_cast<int32_t>(columns);
}

}  // namespace kest::gui
