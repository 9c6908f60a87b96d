#include "core/engine/JetFunctions.h"

#include <sqlite3.h>

#include <string>

#include "core/engine/JetLike.h"
#include "core/text/DateParse.h"
#include "core/text/TextOrder.h"
#include "core/text/VbFormat.h"

namespace kest::engine {

namespace {

std::string_view ArgText(sqlite3_value* v) {
    auto text = reinterpret_cast<const char*>(sqlite3_value_text(v));
    return text ? std::string_view(text, static_cast<size_t>(sqlite3_value_bytes(v)))
                : std::string_view();
}

void ResultText(sqlite3_context* ctx, const std::string& text) {
    sqlite3_result_text(ctx, text.data(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
}

// X LIKE P calls like(P, X). The compiled pattern is kept with the statement.
void JetLike(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    auto* pattern = static_cast<JetLikePattern*>(sqlite3_get_auxdata(ctx, 0));
    if (!pattern) {
        pattern = new JetLikePattern(ArgText(argv[0]));
        sqlite3_set_auxdata(ctx, 0, pattern,
                            [](void* p) { delete static_cast<JetLikePattern*>(p); });
        // The engine may drop the auxdata at once; fetch it back to be safe.
        pattern = static_cast<JetLikePattern*>(sqlite3_get_auxdata(ctx, 0));
        if (!pattern) {
            JetLikePattern once(ArgText(argv[0]));
            sqlite3_result_int(ctx, once.Matches(ArgText(argv[1])));
            return;
        }
    }
    sqlite3_result_int(ctx, pattern->Matches(ArgText(argv[1])));
}

void JetFormat(sqlite3_context* ctx, int argc, sqlite3_value** argv) {
    sqlite3_value* value = argv[0];
    std::string_view format = argc > 1 ? ArgText(argv[1]) : std::string_view();
    switch (sqlite3_value_type(value)) {
        case SQLITE_NULL:
            sqlite3_result_null(ctx);
            return;
        case SQLITE_INTEGER:
        case SQLITE_FLOAT:
            ResultText(ctx, text::FormatNumber(sqlite3_value_double(value), format));
            return;
        default:
            break;
    }
    std::string_view textValue = ArgText(value);
    if (auto date = text::ParseIsoDateTime(textValue)) {
        ResultText(ctx, format.empty() ? text::FormatDate(*date, "General Date")
                                       : text::FormatDate(*date, format));
    } else if (auto number = text::ParseNumberText(textValue)) {
        ResultText(ctx, text::FormatNumber(*number, format));
    } else {
        ResultText(ctx, std::string(textValue));
    }
}

void JetIIf(sqlite3_context* ctx, int, sqlite3_value** argv) {
    bool condition =
        sqlite3_value_type(argv[0]) != SQLITE_NULL && sqlite3_value_double(argv[0]) != 0;
    sqlite3_result_value(ctx, condition ? argv[1] : argv[2]);
}

// Len(text): its length in characters; NULL stays NULL.
void JetLen(sqlite3_context* ctx, int, sqlite3_value** argv) {
    if (sqlite3_value_type(argv[0]) == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    int64_t characters = 0;
    for (char c : ArgText(argv[0]))
        if ((static_cast<unsigned char>(c) & 0xC0) != 0x80) ++characters;
    sqlite3_result_int64(ctx, characters);
}

// Jet's "+": two texts are joined, numbers (and texts that read as numbers
// beside a number) added; NULL on either side gives NULL.
void JetPlus(sqlite3_context* ctx, int, sqlite3_value** argv) {
    int a = sqlite3_value_type(argv[0]);
    int b = sqlite3_value_type(argv[1]);
    if (a == SQLITE_NULL || b == SQLITE_NULL) {
        sqlite3_result_null(ctx);
        return;
    }
    if (a == SQLITE_TEXT && b == SQLITE_TEXT) {
        ResultText(ctx, std::string(ArgText(argv[0])) + std::string(ArgText(argv[1])));
        return;
    }
    a = sqlite3_value_numeric_type(argv[0]);
    b = sqlite3_value_numeric_type(argv[1]);
    if ((a != SQLITE_INTEGER && a != SQLITE_FLOAT) || (b != SQLITE_INTEGER && b != SQLITE_FLOAT)) {
        sqlite3_result_error(ctx, "Data type mismatch in criteria expression.", -1);
        return;
    }
    int64_t sum = 0;
    if (a == SQLITE_INTEGER && b == SQLITE_INTEGER &&
        !__builtin_add_overflow(sqlite3_value_int64(argv[0]), sqlite3_value_int64(argv[1]), &sum)) {
        sqlite3_result_int64(ctx, sum);
        return;
    }
    sqlite3_result_double(ctx, sqlite3_value_double(argv[0]) + sqlite3_value_double(argv[1]));
}

int CompareTextCollation(void*, int sizeA, const void* a, int sizeB, const void* b) {
    return text::CompareText(
        std::string_view(static_cast<const char*>(a), static_cast<size_t>(sizeA)),
        std::string_view(static_cast<const char*>(b), static_cast<size_t>(sizeB)));
}

}  // namespace

void RegisterJetFunctions(sqlite3* db) {
    const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
    sqlite3_create_function(db, "like", 2, flags, nullptr, JetLike, nullptr, nullptr);
    sqlite3_create_function(db, "format", 1, flags, nullptr, JetFormat, nullptr, nullptr);
    sqlite3_create_function(db, "format", 2, flags, nullptr, JetFormat, nullptr, nullptr);
    sqlite3_create_function(db, "iif", 3, flags, nullptr, JetIIf, nullptr, nullptr);
    sqlite3_create_function(db, "len", 1, flags, nullptr, JetLen, nullptr, nullptr);
    sqlite3_create_function(db, "jet_plus", 2, flags, nullptr, JetPlus, nullptr, nullptr);
    sqlite3_create_collation_v2(db, kTextCollation, SQLITE_UTF8, nullptr, CompareTextCollation,
                                nullptr);
}

}  // namespace kest::engine
