#include "Faults.h"

namespace kest::damage {
namespace {

uint32_t Pick(const std::vector<uint32_t>& pages, std::mt19937& random) {
    return pages.empty() ? 0 : pages[random() % pages.size()];
}

size_t Start(const PageMap& map, uint32_t page) {
    return static_cast<size_t>(page - 1) * map.pageSize;
}

void Scribble(std::string& bytes, size_t from, size_t length, std::mt19937& random, int count) {
    for (int i = 0; i < count; ++i) bytes[from + random() % length] = static_cast<char>(random());
}

std::vector<uint32_t> Join(std::vector<uint32_t> a, const std::vector<uint32_t>& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

}  // namespace

const char* FaultName(Fault fault) {
    static const char* names[] = {"leaf bytes",     "interior bytes", "zeroed header", "truncated",
                                  "torn last page", "free list",      "schema",        "lock",
                                  "index page",     "whole page"};
    return names[static_cast<int>(fault)];
}

bool Damage(std::string& bytes, const PageMap& map, Fault fault, std::mt19937& random,
            std::string& what) {
    uint32_t page = 0;
    switch (fault) {
        case Fault::LeafBytes:
            page = Pick(map.Pages(13, "tbl"), random);
            if (page) Scribble(bytes, Start(map, page), map.pageSize, random, 1 + random() % 16);
            break;
        case Fault::InteriorBytes:
            page = Pick(Join(map.Pages(5), map.Pages(2)), random);
            if (page) Scribble(bytes, Start(map, page), map.pageSize, random, 1 + random() % 8);
            break;
        case Fault::ZeroedHeader:
            page = Pick(random() % 2 ? map.Pages(13, "tblFiles") : map.Pages(5, "tbl"), random);
            if (page) {
                for (size_t i = 0; i < 12; ++i) bytes[Start(map, page) + i] = 0;
            }
            break;
        case Fault::Truncated: {
            size_t keep = bytes.size() / 2 + random() % (bytes.size() / 2);
            bytes.resize(random() % 2 ? keep - keep % map.pageSize : keep);
            what = "cut at " + std::to_string(bytes.size());
            return true;
        }
        case Fault::TornLastPage:
            page = map.pageCount;
            if (random() % 2) {
                bytes.resize(bytes.size() - map.pageSize / 2);
            } else {
                for (size_t i = map.pageSize / 2; i < map.pageSize; ++i)
                    bytes[Start(map, page) + i] = static_cast<char>(random());
            }
            break;
        case Fault::FreeList:
            if (map.freePages.empty()) return false;
            page = Pick(map.freePages, random);
            // The header's first trunk or the trunk's own pointers.
            if (random() % 2) {
                Scribble(bytes, 32, 8, random, 2);
            } else {
                Scribble(bytes, Start(map, map.freePages.front()), 64, random, 4);
            }
            break;
        case Fault::Schema:
            page = 1;
            Scribble(bytes, 100, map.pageSize - 100, random, 1 + random() % 8);
            break;
        case Fault::Lock:
            page = Pick(Join(map.Pages(13, "_kest_lock"), {}), random);
            if (!page || map.pages.at(page).owner != "_kest_lock") return false;
            if (random() % 2) {
                for (size_t i = 0; i < 8; ++i) bytes[Start(map, page) + i] = 0;
            } else {
                Scribble(bytes, Start(map, page), map.pageSize, random, 4);
            }
            break;
        case Fault::IndexPage:
            page = Pick(random() % 2 ? Join(map.Pages(10), map.Pages(2))
                                     : Join(map.Pages(13, "_kest_fx"), map.Pages(5, "_kest_fx")),
                        random);
            if (page) Scribble(bytes, Start(map, page), map.pageSize, random, 1 + random() % 16);
            break;
        case Fault::WholePage:
            page = static_cast<uint32_t>(2 + random() % (map.pageCount - 1));
            Scribble(bytes, Start(map, page), map.pageSize, random, static_cast<int>(map.pageSize));
            break;
        case Fault::Count:
            return false;
    }
    if (!page) return false;
    auto it = map.pages.find(page);
    what =
        "page " + std::to_string(page) + (it == map.pages.end() ? "" : " of " + it->second.owner);
    return true;
}

}  // namespace kest::damage
