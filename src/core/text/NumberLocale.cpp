#include "core/text/VbFormat.h"

namespace kest::text {
namespace {

NumberLocale& Current() {
    static NumberLocale locale;
    return locale;
}

}  // namespace

void SetNumberLocale(const NumberLocale& locale) {
    Current() = locale;
}
const NumberLocale& CurrentNumberLocale() {
    return Current();
}

}  // namespace kest::text
