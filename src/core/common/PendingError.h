#pragma once

#include <optional>

#include "core/common/KestError.h"

namespace kest {

// For commands that run every step even after one failed and report the
// last error at their end: each step runs through Step, which keeps the
// error it raised in place of any earlier one.
class PendingError {
  public:
    template <typename Fn>
    void Step(Fn&& fn) {
        try {
            fn();
        } catch (const KestError& e) {
            m_error = e;
        }
    }
    bool Pending() const { return m_error.has_value(); }
    const KestError& Error() const { return *m_error; }
    void Clear() { m_error.reset(); }

  private:
    std::optional<KestError> m_error;
};

}  // namespace kest
