#include "core/engine/IndexedLike.h"

#include <strings.h>

#include <cctype>
#include <vector>

#include "core/engine/EngineError.h"
#include "core/engine/TrigramQuery.h"

namespace kest::engine {

namespace {

enum class Kind { Word, String, Name, Date, Open, Close, Other };

struct Token {
    Kind kind;
    size_t begin, end;  // byte range in the statement
    std::string text;   // Word: as written; String: the literal's value
};

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.' || (c & 0x80);
}

// The end of a quoted run starting at i, and its value (doubled quotes as one).
size_t ReadQuoted(const std::string& in, size_t i, std::string& value) {
    char quote = in[i];
    size_t j = i + 1;
    for (; j < in.size(); ++j) {
        if (in[j] != quote) {
            value += in[j];
        } else if (j + 1 < in.size() && in[j + 1] == quote) {
            value += in[j++];
        } else {
            return j + 1;
        }
    }
    return in.size();
}

// The statement in the Jet dialect's tokens; spaces dropped.
std::vector<Token> Tokens(const std::string& in) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < in.size()) {
        char c = in[i];
        Token t{Kind::Other, i, i + 1, {}};
        if (std::isspace(static_cast<unsigned char>(c))) {
            ++i;
            continue;
        } else if (c == '\'' || c == '"') {
            t.kind = Kind::String;
            t.end = ReadQuoted(in, i, t.text);
        } else if (c == '[' || c == '#') {
            size_t close = in.find(c == '[' ? ']' : '#', i + 1);
            t.kind = c == '[' ? Kind::Name : Kind::Date;
            t.end = close == std::string::npos ? in.size() : close + 1;
        } else if (IsWordChar(c)) {
            t.kind = Kind::Word;
            while (t.end < in.size() && IsWordChar(in[t.end])) ++t.end;
            t.text = in.substr(i, t.end - i);
        } else if (c == '(' || c == ')') {
            t.kind = c == '(' ? Kind::Open : Kind::Close;
        } else {
            t.text = std::string(1, c);
        }
        i = t.end;
        tokens.push_back(std::move(t));
    }
    return tokens;
}

bool IsWord(const Token& t, const char* word) {
    return t.kind == Kind::Word && strcasecmp(t.text.c_str(), word) == 0;
}

bool EndsClause(const Token& t) {
    for (const char* word : {"ORDER", "GROUP", "HAVING", "UNION", "LIMIT"})
        if (IsWord(t, word)) return true;
    return t.kind == Kind::Other && t.text == ";";
}

class WhereScan {
  public:
    explicit WhereScan(const std::vector<Token>& tokens) : m_tokens(tokens) {
        std::vector<size_t> open;
        m_match.assign(tokens.size(), tokens.size());
        for (size_t i = 0; i < tokens.size(); ++i) {
            if (tokens[i].kind == Kind::Open) open.push_back(i);
            if (tokens[i].kind == Kind::Close && !open.empty()) {
                m_match[open.back()] = i;
                open.pop_back();
            }
        }
    }

    // The tokens i at which "<column> LIKE '<pattern>'" stands in a position
    // where only its truth counts.
    std::vector<size_t> TruthOnlyLikes() {
        std::vector<size_t> found;
        size_t where = 0;
        int depth = 0;
        while (where < m_tokens.size() && !(depth == 0 && IsWord(m_tokens[where], "WHERE"))) {
            depth += m_tokens[where].kind == Kind::Open ? 1 : 0;
            depth -= m_tokens[where].kind == Kind::Close ? 1 : 0;
            ++where;
        }
        if (where == m_tokens.size()) return found;
        size_t end = where + 1;
        for (depth = 0; end < m_tokens.size(); ++end) {
            const Token& t = m_tokens[end];
            if (depth == 0 && EndsClause(t)) break;
            depth += t.kind == Kind::Open ? 1 : t.kind == Kind::Close ? -1 : 0;
        }
        Walk(where + 1, end, true, found);
        return found;
    }

  private:
    // Whether the token at next ends an AND/OR operand of the level.
    bool EndsOperand(size_t next, size_t levelEnd) const {
        return next >= levelEnd || IsWord(m_tokens[next], "AND") || IsWord(m_tokens[next], "OR");
    }

    // Walks one bracket level [begin, end); truthOnly tells whether the level
    // itself counts only as true or not.
    void Walk(size_t begin, size_t end, bool truthOnly, std::vector<size_t>& found) {
        bool betweenPending = false;
        bool operandStart = true;  // at the start of an AND/OR operand
        for (size_t i = begin; i < end; ++i) {
            const Token& t = m_tokens[i];
            if (IsWord(t, "BETWEEN")) betweenPending = true;
            if (IsWord(t, "AND") && betweenPending) {
                betweenPending = false;
                operandStart = false;
                continue;
            }
            if (IsWord(t, "AND") || IsWord(t, "OR")) {
                operandStart = true;
                continue;
            }
            bool here = truthOnly && operandStart;
            operandStart = false;
            if (t.kind == Kind::Open) {
                size_t close = std::min(m_match[i], end);
                Walk(i + 1, close, here && EndsOperand(close + 1, end), found);
                i = close;
                continue;
            }
            if (here && t.kind == Kind::Word && i + 2 < end && IsWord(m_tokens[i + 1], "LIKE") &&
                m_tokens[i + 2].kind == Kind::String && EndsOperand(i + 3, end)) {
                found.push_back(i);
                i += 2;
            }
        }
    }

    const std::vector<Token>& m_tokens;
    std::vector<size_t> m_match;
};

}  // namespace

std::string CandidateCondition(const std::string& table, const IndexedColumn& column,
                               const std::string& match) {
    const std::string fts = column.indexTable;
    const std::string found =
        "SELECT rowid FROM " + fts + " WHERE " + fts + " MATCH " + SqlLiteral(match);
    const std::string key = table + "." + column.key;
    if (!column.runsTable) return key + " IN (" + found + ")";
    // Every counter of the runs found, counted up from each run's first.
    return key + " IN (WITH RECURSIVE _kest_ids(n, e) AS (SELECT lo, hi FROM " + column.runsTable +
           " WHERE id IN (" + found +
           ") UNION ALL SELECT n + 1, e FROM _kest_ids WHERE n < e) SELECT n FROM _kest_ids)";
}

std::string ListedCondition(const std::string& table, const IndexedColumn& column,
                            const std::vector<int64_t>& keys) {
    std::string condition = table + "." + column.key + " IN (";
    for (size_t i = 0; i < keys.size(); ++i)
        condition.append(i ? ", " : "").append(std::to_string(keys[i]));
    return condition + ")";
}

std::string StrengthenIndexedLikes(const std::string& jetSql, const ColumnLookup& find,
                                   const CandidateLookup& candidates) {
    std::vector<Token> tokens = Tokens(jetSql);
    if (tokens.empty() || !IsWord(tokens[0], "SELECT")) return jetSql;
    std::string out;
    size_t copied = 0;
    for (size_t i : WhereScan(tokens).TruthOnlyLikes()) {
        const std::string& name = tokens[i].text;
        size_t dot = name.find('.');
        if (dot == std::string::npos || name.find('.', dot + 1) != std::string::npos) continue;
        std::string table = name.substr(0, dot);
        const IndexedColumn* column = find(table, name.substr(dot + 1));
        if (!column) continue;
        std::string query = TrigramQuery(tokens[i + 2].text);
        if (query.empty()) continue;
        std::optional<std::string> condition = candidates(table, *column, query);
        if (!condition) continue;
        size_t after = tokens[i + 2].end;
        out.append(jetSql, copied, after - copied);
        out += " AND " + *condition;
        copied = after;
    }
    if (copied == 0) return jetSql;
    return out.append(jetSql, copied);
}

}  // namespace kest::engine
