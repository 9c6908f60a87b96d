#pragma once

namespace kest::gui {

// The hourglass pointer as a state, the way the classic mouse pointer is one:
// showing it twice and restoring it once leaves the normal pointer. Restored
// when the owner goes.
class BusyPointer {
  public:
    BusyPointer() = default;
    BusyPointer(const BusyPointer&) = delete;
    BusyPointer& operator=(const BusyPointer&) = delete;
    ~BusyPointer() { Set(false); }

    void Set(bool busy);
    bool IsBusy() const { return m_busy; }

  private:
    bool m_busy = false;
};

}  // namespace kest::gui
