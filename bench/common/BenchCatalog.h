#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

namespace kest::bench {

struct CatalogShape {
    int64_t files = 1000000;
    int64_t discs = 200;            // the files are spread evenly over them, in order
    int64_t entriesPerArchive = 0;  // subfile rows under every 50th file (a ".zip")
    // > 0: file i takes the name and size of file i % namesRepeatEvery (one
    // in seven a byte larger), so that copies lie on other discs.
    int64_t namesRepeatEvery = 0;
};

// Creates a catalog with kest-cli create and fills it directly: dates, sizes
// and folders vary so that searches and sorts have work to do. The search
// index is built at the end, as after a scan.
void BuildCatalog(const std::string& path, const CatalogShape& shape);

// The folder and the name of file i: a folder holds 100 consecutive files, as
// a scan writes them, and 997 folder names come in turn.
std::string BenchDirName(int64_t i);
std::string BenchFileName(int64_t i);

// The bench's folder: the first argument, else <temp>/<name>; created.
std::filesystem::path BenchHome(int argc, char** argv, const std::string& name);

// The catalog of a bench over generated files: "--files N" (default
// 1,000,000) and a folder argument (default <temp>/<name>) give
// <folder>/<N>/kest001.kst, built with 200 discs when it is not there yet.
struct SizedCatalog {
    int64_t files = 1000000;
    std::filesystem::path home;     // the program folder kest-cli is given
    std::filesystem::path catalog;  // its default catalog
};
SizedCatalog SizedBenchCatalog(int argc, char** argv, const std::string& name);

}  // namespace kest::bench
