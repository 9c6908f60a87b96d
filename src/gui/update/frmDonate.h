#pragma once

#include <QDialog>
#include <array>

#include "core/update/DonationLinks.h"
#include "core/update/UpdateCheck.h"
#include "gui/update/WindowSize.h"
#include "gui/widgets/BusyPointer.h"

class QPushButton;

namespace kest::gui {

// The donation window: its text, and three link buttons that "Get Links"
// fills from the maker's site (the home page until then).
class frmDonate : public QDialog {
    Q_OBJECT
  public:
    // Heights and width in twips: compact (text) and grown (link buttons).
    static constexpr int kCompactHeight = 2250, kGrownHeight = 3765, kWidth = 5550;

    frmDonate(QWidget* main, update::UpdateContext context);

  private:
    void GetLinks();
    void ShowLinks(const update::DonationLinks& links, bool enabled);

    update::UpdateContext m_context;
    update::DonationLinks m_links;
    BusyPointer m_busy;
    QPushButton* m_cmdUp;
    std::array<QPushButton*, 3> m_cmdLink{};
};

}  // namespace kest::gui
