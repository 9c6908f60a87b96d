#pragma once

#include <array>
#include <string>

#include "core/ui/Prompter.h"
#include "core/update/HttpClient.h"

namespace kest::update {

// One link button of the donation window.
struct DonationLink {
    std::string caption;
    std::string address;
    friend bool operator==(const DonationLink&, const DonationLink&) = default;
};
using DonationLinks = std::array<DonationLink, 3>;

// Every button leads to the maker's home page under the site's name.
DonationLinks HomePageLinks();

// The links of the links file's text: the prefix word, then caption and
// address pairs (words separated by blanks). Fewer pairs leave the home page
// on the other buttons; words after the third pair are not used. Nullopt
// when the first word is not the prefix.
std::optional<DonationLinks> ParseDonationLinks(const std::string& text);

// cmdUp's fetch of the links file from the site; nullopt when it failed or
// lacks the prefix.
std::optional<DonationLinks> FetchDonationLinks(HttpClient& http, const std::string& base);
// Tells the user the links could not be had (the buttons keep the home page).
void ReportLinksFailure(Prompter& prompter);

// The donation window's text.
std::string DonationText();

}  // namespace kest::update
