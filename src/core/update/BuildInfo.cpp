#include "core/update/BuildInfo.h"

#include <cstdlib>

// The build passes the project version and the site's addresses (one place:
// cmake/KestRelease.cmake).
#if !defined(KEST_VERSION_MAJOR) || !defined(KEST_HOME_PAGE) || !defined(KEST_UPDATE_BASE)
#error "BuildInfo.cpp needs the release definitions of cmake/KestRelease.cmake"
#endif

namespace kest::update {

Release ProgramRelease() {
    return {KEST_VERSION_MAJOR, KEST_VERSION_MINOR, KEST_VERSION_PATCH};
}

const char* MakerName() {
    return KEST_MAKER_NAME;
}

const char* HomePage() {
    return KEST_HOME_PAGE;
}

const char* MakerEmail() {
    return KEST_MAKER_EMAIL;
}

const char* SiteName() {
    return KEST_SITE_NAME;
}

std::string UpdateBaseAddress() {
    const char* overridden = std::getenv("KEST_UPDATE_URL");
    return overridden && *overridden ? overridden : KEST_UPDATE_BASE;
}

}  // namespace kest::update
