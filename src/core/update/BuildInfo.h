#pragma once

#include <string>

namespace kest::update {

// A release number: major, minor and revision.
struct Release {
    int major = 0;
    int minor = 0;
    int revision = 0;
    friend bool operator==(const Release&, const Release&) = default;
};

// The release this program was built as (the project version of the build).
Release ProgramRelease();

// The maker's name, home page, e-mail address and the site's short name (the
// captions of the donation window's link buttons). Fixed at build time.
const char* MakerName();
const char* HomePage();
const char* MakerEmail();
const char* SiteName();

// The web address the update and donation-links files are published under:
// KEST_UPDATE_URL when set and not empty, else the build's address.
std::string UpdateBaseAddress();

}  // namespace kest::update
