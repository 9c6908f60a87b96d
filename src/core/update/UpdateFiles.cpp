#include "core/update/UpdateFiles.h"

#include <tuple>

#include "core/common/Errors.h"

namespace kest::update {
namespace {

constexpr size_t kPrefixLength = 7;
// A release number is a small integer.
constexpr long kLargestNumber = 32767;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string Trimmed(const std::string& text) {
    size_t first = 0, last = text.size();
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
    return text.substr(first, last - first);
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? char(c - 'a' + 'A') : c;
}

int ReleaseNumber(const std::string& part) {
    std::string digits = Trimmed(part);
    if (digits.empty()) throw err::TypeMismatch();
    long value = 0;
    for (char c : digits) {
        if (c < '0' || c > '9') throw err::TypeMismatch();
        value = value * 10 + (c - '0');
        if (value > kLargestNumber) throw err::Overflow();
    }
    return int(value);
}

}  // namespace

std::string FileAddress(const std::string& base, const UpdateFile& file) {
    std::string address = base;
    while (!address.empty() && address.back() == '/') address.pop_back();
    return address + "/files/" + file.name;
}

std::optional<std::string> Fetch(HttpClient& http, const std::string& address) {
    std::optional<std::string> answer = http.Get(address);
    if (!answer) return std::nullopt;
    std::string text = Trimmed(*answer);
    if (text.empty()) return std::nullopt;
    return text;
}

std::optional<std::string> BodyAfterPrefix(const std::string& text, const char* prefix) {
    if (text.size() < kPrefixLength) return std::nullopt;
    for (size_t i = 0; i < kPrefixLength; ++i)
        if (Upper(text[i]) != prefix[i]) return std::nullopt;
    return text.size() > kPrefixLength + 1 ? text.substr(kPrefixLength + 1) : std::string();
}

std::optional<std::string> FetchBody(HttpClient& http, const std::string& base,
                                     const UpdateFile& file) {
    std::optional<std::string> text = Fetch(http, FileAddress(base, file));
    if (!text) return std::nullopt;
    return BodyAfterPrefix(*text, file.prefix);
}

Release ParseRelease(const std::string& text) {
    std::string parts[3];
    size_t start = 0;
    for (int i = 0; i < 3; ++i) {
        size_t dot = text.find('.', start);
        if ((i < 2) != (dot != std::string::npos)) throw err::TypeMismatch();
        parts[i] = text.substr(start, i < 2 ? dot - start : std::string::npos);
        start = dot + 1;
    }
    return {ReleaseNumber(parts[0]), ReleaseNumber(parts[1]), ReleaseNumber(parts[2])};
}

std::string ReleaseText(const Release& release) {
    return std::to_string(release.major) + "." + std::to_string(release.minor) + "." +
           std::to_string(release.revision);
}

bool IsNewer(const Release& web, const Release& current) {
    return std::tie(web.major, web.minor, web.revision) >
           std::tie(current.major, current.minor, current.revision);
}

}  // namespace kest::update
