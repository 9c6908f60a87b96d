#pragma once

#include <optional>
#include <string>

#include "core/update/BuildInfo.h"
#include "core/update/HttpClient.h"

namespace kest::update {

// The files the maker's site publishes under <base>/files/, with the prefix
// each one's first seven characters carry.
struct UpdateFile {
    const char* name;
    const char* prefix;
};
inline constexpr UpdateFile kVersionFile{"Kest2.ver", "NLV_VER"};
inline constexpr UpdateFile kNewsFile{"Kest2.nwz", "NLV_NWZ"};
inline constexpr UpdateFile kDownloadFile{"Kest2.dlf", "NLV_DLF"};
inline constexpr UpdateFile kLinksFile{"Kest.don", "NLV_DON"};

// The address of a published file under the base address.
std::string FileAddress(const std::string& base, const UpdateFile& file);

// The fetch rule: the answer trimmed of blanks (and line ends) at both ends;
// nullopt when it failed or nothing is left.
std::optional<std::string> Fetch(HttpClient& http, const std::string& address);

// The body of a fetched text (from its ninth character on) when its first
// seven characters, upper-cased, are the prefix; nullopt otherwise.
std::optional<std::string> BodyAfterPrefix(const std::string& text, const char* prefix);

// Fetch and prefix together: the body of the file, nullopt on any failure.
std::optional<std::string> FetchBody(HttpClient& http, const std::string& base,
                                     const UpdateFile& file);

// Reads "major.minor.revision" (three decimal numbers). Anything else raises
// KestError: 13 "Type mismatch", or 6 "Overflow" for a number above 32767.
Release ParseRelease(const std::string& text);
// "major.minor.revision" in plain decimal.
std::string ReleaseText(const Release& release);
// True when web is a later release than current (equal is not later).
bool IsNewer(const Release& web, const Release& current);

}  // namespace kest::update
