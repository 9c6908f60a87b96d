#pragma once

class QWidget;

namespace kest::gui {

// Gives a window a fixed size in twips, grown where its contents need more
// (larger fonts, scaled screens).
void SetTwipsSize(QWidget* window, int heightTwips, int widthTwips);

// The hourglass for the length of a fetch, taken back as often as it was set.
class BusyPointer {
  public:
    ~BusyPointer();
    void Set(bool busy);

  private:
    int m_depth = 0;
};

}  // namespace kest::gui
