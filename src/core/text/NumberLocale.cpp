#include <langinfo.h>
#include <locale.h>

#include <cstdlib>
#include <string_view>

#include "core/text/VbFormat.h"

namespace kest::text {
namespace {

NumberLocale& Current() {
    static NumberLocale locale;
    return locale;
}

// Whether the environment's numbers follow the C locale (as the C locales
// and their UTF-8 variants do): then there is no locale to read.
bool NumbersFollowC() {
    for (const char* variable : {"LC_ALL", "LC_NUMERIC", "LANG"}) {
        const char* value = std::getenv(variable);
        if (!value || !*value) continue;
        std::string_view name = value;
        return name == "C" || name == "POSIX" || name.starts_with("C.");
    }
    return true;
}

}  // namespace

void SetNumberLocale(const NumberLocale& locale) {
    Current() = locale;
}
const NumberLocale& CurrentNumberLocale() {
    return Current();
}

NumberLocale UserNumberLocale() {
    NumberLocale result;
    if (NumbersFollowC()) return result;
    // Read the user's LC_NUMERIC without switching the program's own locale,
    // which the C library's number parsing depends on.
    locale_t user = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(0));
    if (!user) return result;
    std::string decimal = nl_langinfo_l(RADIXCHAR, user);
    std::string thousands = nl_langinfo_l(THOUSEP, user);
    freelocale(user);
    // The C locale has no grouping character; keep the usual one then.
    if (!decimal.empty() && !thousands.empty() && decimal != thousands) {
        result.decimal = decimal;
        result.thousands = thousands;
    }
    return result;
}

}  // namespace kest::text
