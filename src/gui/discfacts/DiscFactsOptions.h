#pragma once

#include <QObject>
#include <vector>

#include "core/settings/AppSettings.h"

class QCheckBox;
class QTabWidget;

namespace kest::gui {

// The options of the disc facts in the options dialog, beside the classic
// ones: on the General tab, scanning an unknown disc once it is mounted and
// hashing file contents while scanning; on the Results tab, the disc list's
// optional columns. All off by default.
class DiscFactsOptions : public QObject {
    Q_OBJECT
  public:
    explicit DiscFactsOptions(QTabWidget* tabs);

    void Show(const AppSettings& settings);
    void Read(AppSettings& settings) const;

  signals:
    void Changed();

  private:
    QCheckBox *chkScanUnknown, *chkHashContents;
    std::vector<QCheckBox*> chkFactCol;  // in the order of FactColumnNames()
};

}  // namespace kest::gui
