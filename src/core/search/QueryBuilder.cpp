#include "core/search/QueryBuilder.h"

#include <cmath>
#include <cstdio>
#include <limits>

#include "core/common/Errors.h"
#include "core/search/SearchText.h"
#include "core/search/SqlText.h"
#include "core/text/DateParse.h"

namespace kest::search {
namespace {

const char* const kFromPlain =
    "FROM tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId ";
const char* const kFromWithSub =
    "FROM (tblDiscs INNER JOIN tblFiles ON tblDiscs.KestId = tblFiles.KestId) "
    "LEFT JOIN tblSubFiles ON tblFiles.FileId = tblSubFiles.FileId ";

// The plain expressions of the columns (the size, date and identifier columns
// are built apart).
const char* const kFileFields[kFileColumns] = {"",
                                               "tblDiscs.DiscSer",
                                               "tblDiscs.DiscFSys",
                                               "tblDiscs.DiscLbl",
                                               "tblDiscs.DiscDesc",
                                               "tblDiscs.DiscNumF",
                                               "tblFiles.FileDir",
                                               "tblFiles.FileName",
                                               "tblFiles.FileAtt",
                                               "",
                                               "",
                                               "tblFiles.FileDesc"};
const char* const kSubFileFields[kSubFileColumns] = {
    "tblSubFiles.SubFileDir",
    "tblSubFiles.SubFileName",
    "tblSubFiles.SubFileAtt",
    "",
    "",
    "tblSubFiles.SubFileRatio",
    "",
    "tblSubFiles.SubFileCRC",
    "IIf(tblSubFiles.SubFileEncr=True, 'Yes', ' ')",
    "tblSubFiles.SubFileComm"};

// Joins a condition on the lower and upper bound in the three ways the
// statement uses: BETWEEN, ">=" alone, "<=" alone. Empty when neither is given.
std::string RangeCondition(const std::string& field, const std::string& from, const std::string& to,
                           const std::string& fence) {
    if (!from.empty() && !to.empty())
        return " AND (" + field + " BETWEEN " + fence + from + fence + " AND " + fence + to +
               fence + ")";
    if (!from.empty()) return " AND (" + field + " >= " + fence + from + fence + ")";
    if (!to.empty()) return " AND (" + field + " <= " + fence + to + fence + ")";
    return {};
}

double NumberOrMismatch(const std::string& text) {
    auto value = text::ParseNumberText(text);
    if (!value) throw err::TypeMismatch();
    return *value;
}

std::string SizeLiteral(const std::string& text, int sizeFormat) {
    if (text.empty()) return {};
    double value = NumberOrMismatch(text);
    if (sizeFormat == kSizeKilobytes)
        value *= 1024;
    else if (sizeFormat != kSizeBytes)
        value *= 1048576;
    return SqlNumber(value);
}

// The date literal's inside, as "m/d/yyyy hh:nn:ss": a two-digit year would
// move 1925 to 2025 and 2100 to 2000. A time alone falls on day zero.
std::string DateLiteral(const std::string& text) {
    if (text.empty()) return {};
    auto date = text::ParseUserDate(text);
    if (!date) throw err::TypeMismatch();
    char buf[64];
    std::snprintf(buf, sizeof buf, "%d/%d/%04d %02d:%02d:%02d", date->month, date->day, date->year,
                  date->hour, date->minute, date->second);
    return buf;
}

// Rounds the bound to a long integer (halves to even) and writes it back.
std::string DiscLiteral(std::string& text) {
    if (text.empty()) return {};
    double rounded = std::nearbyint(NumberOrMismatch(text));
    if (!(rounded >= std::numeric_limits<int32_t>::min() &&
          rounded <= std::numeric_limits<int32_t>::max()))
        throw err::Overflow();
    text = std::to_string(static_cast<int32_t>(rounded));
    return text;
}

std::string DateExpression(const std::string& field, const std::string& dateFormat) {
    if (!TrimBlanks(dateFormat).empty())
        return " FORMAT(" + field + "," + SqlQuote(dateFormat) + ")";
    return " FORMAT(" + field + ",'MM/DD/YY HH:NN:SS AMPM')";
}

std::string SizeExpression(const std::string& field, const std::string& caption,
                           const SearchOptions& options) {
    std::string pattern = SizeNumberPattern(options.sizeNumDec);
    std::string value = options.sizeFormat == kSizeBytes       ? field
                        : options.sizeFormat == kSizeKilobytes ? "(" + field + ")/1024"
                                                               : "(" + field + ")/1048576";
    return " FORMAT(" + value + ",'" + pattern + "') AS [" + caption +
           SizeUnitText(options.sizeFormat) + "]";
}

}  // namespace

std::string BuildWhere(const std::string& searchText, SearchBounds& bounds,
                       const SearchOptions& options) {
    const std::string connector = options.logicalOp == kLogicalAnd ? " AND " : " OR ";
    struct Field {
        const char* name;
        bool on;
    };
    const bool sub = options.searchSub;
    const Field fields[] = {
        {"tblFiles.FileName", options.inFileName},
        {"tblFiles.FileDir", options.inDirectory},
        {"tblFiles.FileDesc", options.inFileDescription},
        {"tblSubFiles.SubFileName", sub && options.inSubFileName},
        {"tblSubFiles.SubFileDir", sub && options.inSubDirectory},
        {"tblSubFiles.SubFileComm", sub && options.inSubComment},
    };

    std::vector<std::string> terms;
    for (const auto& entry : SplitEntries(TrimBlanks(searchText))) {
        std::string term = options.autoAsterisks ? "*" + entry + "*" : entry;
        if (!term.empty()) terms.push_back(SqlQuote(SqlEscape(term)));
    }

    std::string where;
    for (const auto& field : fields) {
        if (!field.on || terms.empty()) continue;
        std::string group;
        for (const auto& term : terms) {
            if (!group.empty()) group += connector;
            group += "(" + std::string(field.name) + " LIKE " + term + ")";
        }
        if (!where.empty()) where += " OR ";
        where += "(" + group + ")";
    }
    where = "(" + where + ")";

    if (options.advanced) {
        // A bound of blanks only is no bound.
        for (std::string* bound : {&bounds.sizeFrom, &bounds.sizeTo, &bounds.dateFrom,
                                   &bounds.dateTo, &bounds.discFrom, &bounds.discTo}) {
            *bound = TrimBlanks(*bound);
        }
        where +=
            RangeCondition("tblFiles.FileSize", SizeLiteral(bounds.sizeFrom, options.sizeFormat),
                           SizeLiteral(bounds.sizeTo, options.sizeFormat), "");
        where += RangeCondition("tblFiles.FileDate", DateLiteral(bounds.dateFrom),
                                DateLiteral(bounds.dateTo), "#");
        std::string discFrom = DiscLiteral(bounds.discFrom);
        std::string discTo = DiscLiteral(bounds.discTo);
        where += RangeCondition("tblFiles.KestID", discFrom, discTo, "");
    }
    return "WHERE (" + where + ")";
}

std::string BuildSelectList(const SearchOptions& options) {
    std::string list;
    for (size_t i = 0; i < kFileColumns; ++i) {
        if (options.showCol[i] != 1) continue;
        const std::string& caption = options.fileCaptions[i];
        switch (i) {
            case 0:
                list += "tblFiles.KestId AS [" + caption + " ], tblFiles.FileId AS [FileId], ";
                break;
            case 9:
                list += SizeExpression("tblFiles.FileSize", "File Size", options) + ", ";
                break;
            case 10:
                list += DateExpression("tblFiles.FileDate", options.dateFormat) + " AS [" +
                        caption + " ], FORMAT(tblFiles.FileDate,'YYYYMMDDHHNNSS') AS [SortDate ], ";
                break;
            default:
                list += std::string(kFileFields[i]) + " AS [" + caption + " ], ";
        }
    }
    if (options.searchSub) {
        for (size_t j = 0; j < kSubFileColumns; ++j) {
            if (options.showSubCol[j] != 1) continue;
            const std::string& caption = options.subFileCaptions[j];
            switch (j) {
                case 3:
                    list += SizeExpression("tblSubFiles.SubFileSize", caption, options) + ", ";
                    break;
                case 4:
                    list += SizeExpression("tblSubFiles.SubFileCSize", caption, options) + ", ";
                    break;
                case 6:
                    list +=
                        DateExpression("tblSubFiles.SubFileDate", options.dateFormat) + " AS [" +
                        caption +
                        " ], FORMAT(tblSubFiles.SubFileDate,'YYYYMMDDHHNNSS') AS [SubSortDate ], ";
                    break;
                default:
                    list += std::string(kSubFileFields[j]) + " AS [" + caption + " ], ";
            }
        }
    }
    if (list.size() >= 2) list.resize(list.size() - 2);
    return "SELECT " + list + (options.searchSub ? kFromWithSub : kFromPlain);
}

std::string BuildSortClause(const SearchOptions& options) {
    if (options.searchSub)
        return "ORDER BY tblFiles.KestId, tblFiles.FileDir, tblFiles.FileName, "
               "tblSubFiles.SubFileDir, tblSubFiles.SubFileName;";
    return "ORDER BY tblFiles.KestId, tblFiles.FileDir, tblFiles.FileName;";
}

std::string BuildSearchStatement(const std::string& searchText, SearchBounds& bounds,
                                 const SearchOptions& options) {
    std::string select = BuildSelectList(options);
    return select + BuildWhere(searchText, bounds, options) + " " + BuildSortClause(options);
}

}  // namespace kest::search
