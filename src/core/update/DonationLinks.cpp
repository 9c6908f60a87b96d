#include "core/update/DonationLinks.h"

#include <sstream>
#include <vector>

#include "core/update/BuildInfo.h"
#include "core/update/UpdateCheck.h"
#include "core/update/UpdateFiles.h"

namespace kest::update {
namespace {

std::string UpperCase(std::string word) {
    for (char& c : word)
        if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    return word;
}

}  // namespace

DonationLinks HomePageLinks() {
    DonationLink home{SiteName(), HomePage()};
    return {home, home, home};
}

std::optional<DonationLinks> ParseDonationLinks(const std::string& text) {
    std::istringstream in(text);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    if (words.empty() || UpperCase(words[0]) != kLinksFile.prefix) return std::nullopt;
    DonationLinks links = HomePageLinks();
    for (size_t i = 0; i < links.size(); ++i) {
        size_t caption = 1 + 2 * i;
        if (caption < words.size()) links[i].caption = words[caption];
        if (caption + 1 < words.size()) links[i].address = words[caption + 1];
    }
    return links;
}

std::optional<DonationLinks> FetchDonationLinks(HttpClient& http, const std::string& base) {
    std::optional<std::string> text = Fetch(http, FileAddress(base, kLinksFile));
    return text ? ParseDonationLinks(*text) : std::nullopt;
}

void ReportLinksFailure(Prompter& prompter) {
    prompter.Show(kUpdateErrorTitle,
                  "Could not get the update for the links. Click on one of the\r\n"
                  "links to go to the official Kest website and use the donation links listed "
                  "there.",
                  Icon::Critical);
}

std::string DonationText() {
    return "Kest is free software, written and tested in the makers' spare time. If it keeps "
           "your discs in order and you would like to support its development, a donation of "
           "any size is welcome and goes into hosting, test media and time for new features.\r\n"
           "\r\n"
           "(You will need to be connected to the internet to reach the websites)\r\n"
           "\r\n"
           "Please click on \"Get Links\" to get the selections. Thank You.";
}

}  // namespace kest::update
