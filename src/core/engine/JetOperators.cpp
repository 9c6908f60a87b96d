#include "core/engine/JetOperators.h"

#include <strings.h>

#include <cctype>
#include <vector>

namespace kest::engine {
namespace {

enum class Kind { Space, Word, Number, String, Name, Op, Open, Close, Comma, Semi };

struct Token {
    Kind kind;
    std::string text;
};

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || (c & 0x80);
}

size_t QuotedEnd(const std::string& s, size_t i, char close) {
    size_t j = i + 1;
    while (j < s.size()) {
        if (s[j] == close) {
            if (close != ']' && j + 1 < s.size() && s[j + 1] == close) {
                j += 2;
                continue;
            }
            return j + 1;
        }
        ++j;
    }
    return s.size();
}

std::vector<Token> Tokenize(const std::string& s) {
    std::vector<Token> tokens;
    size_t i = 0;
    while (i < s.size()) {
        char c = s[i];
        size_t end = i + 1;
        Kind kind = Kind::Op;
        if (std::isspace(static_cast<unsigned char>(c))) {
            while (end < s.size() && std::isspace(static_cast<unsigned char>(s[end]))) ++end;
            kind = Kind::Space;
        } else if (c == '\'') {
            end = QuotedEnd(s, i, '\'');
            kind = Kind::String;
        } else if (c == '"' || c == '`' || c == '[') {
            end = QuotedEnd(s, i, c == '[' ? ']' : c);
            kind = Kind::Name;
        } else if (std::isdigit(static_cast<unsigned char>(c))) {
            while (end < s.size() &&
                   (std::isdigit(static_cast<unsigned char>(s[end])) || s[end] == '.' ||
                    s[end] == 'e' || s[end] == 'E' ||
                    ((s[end] == '+' || s[end] == '-') && (s[end - 1] == 'e' || s[end - 1] == 'E'))))
                ++end;
            kind = Kind::Number;
        } else if (IsWordChar(c)) {
            while (end < s.size() && IsWordChar(s[end])) ++end;
            kind = Kind::Word;
        } else if (c == '(') {
            kind = Kind::Open;
        } else if (c == ')') {
            kind = Kind::Close;
        } else if (c == ',') {
            kind = Kind::Comma;
        } else if (c == ';') {
            kind = Kind::Semi;
        } else if (i + 1 < s.size()) {
            static const char* kPairs[] = {"||", "<=", ">=", "<>", "!=", "==", "<<", ">>"};
            for (const char* pair : kPairs)
                if (s.compare(i, 2, pair) == 0) end = i + 2;
        }
        tokens.push_back({kind, s.substr(i, end - i)});
        i = end;
    }
    return tokens;
}

// Words that end an operand of "+": clauses, logic and the operators that
// bind more loosely.
bool IsKeyword(const Token& token) {
    static const char* kWords[] = {
        "SELECT",      "FROM", "WHERE",  "AND",    "OR",      "NOT",    "AS",     "ORDER",
        "GROUP",       "BY",   "HAVING", "LIMIT",  "OFFSET",  "UNION",  "ALL",    "DISTINCT",
        "ON",          "JOIN", "INNER",  "LEFT",   "RIGHT",   "OUTER",  "CROSS",  "WHEN",
        "THEN",        "ELSE", "END",    "CASE",   "BETWEEN", "LIKE",   "GLOB",   "IS",
        "IN",          "SET",  "VALUES", "INTO",   "UPDATE",  "DELETE", "INSERT", "COLLATE",
        "ESCAPE",      "ASC",  "DESC",   "EXISTS", "TOP",     "WITH",   "EXCEPT", "INTERSECT",
        "DISTINCTROW", "MOD"};
    if (token.kind != Kind::Word) return false;
    for (const char* word : kWords)
        if (strcasecmp(token.text.c_str(), word) == 0) return true;
    return false;
}

bool IsOp(const Token& token, const char* op) {
    return token.kind == Kind::Op && token.text == op;
}

// Operators that bind at least as tightly as "+" (and the dot of a name).
bool TightOp(const Token& token) {
    return IsOp(token, "+") || IsOp(token, "-") || IsOp(token, "*") || IsOp(token, "/") ||
           IsOp(token, "%") || IsOp(token, ".");
}

bool EndsOperand(const Token& token) {
    switch (token.kind) {
        case Kind::Number:
        case Kind::String:
        case Kind::Name:
        case Kind::Close:
            return true;
        case Kind::Word:
            return !IsKeyword(token);
        default:
            return false;
    }
}

size_t Matching(const std::vector<Token>& t, size_t at, int step) {
    int depth = 0;
    for (size_t i = at; i < t.size(); i += static_cast<size_t>(step)) {
        if (t[i].kind == Kind::Open) depth += step;
        if (t[i].kind == Kind::Close) depth -= step;
        if (depth == 0) return i;
    }
    return at;
}

std::string Join(const std::vector<Token>& t, size_t from, size_t to) {
    std::string text;
    for (size_t i = from; i < to && i < t.size(); ++i) text += t[i].text;
    return text;
}

// The operand's tokens without blanks: a single number written out?
bool IsNumberLiteral(const std::vector<Token>& t, size_t from, size_t to) {
    std::vector<const Token*> solid;
    for (size_t i = from; i < to; ++i)
        if (t[i].kind != Kind::Space) solid.push_back(&t[i]);
    if (solid.size() == 2 && (IsOp(*solid[0], "-") || IsOp(*solid[0], "+")))
        solid.erase(solid.begin());
    return solid.size() == 1 && solid[0]->kind == Kind::Number;
}

// Rewrites the "+" at `plus` when it joins two operands; false to leave it.
bool RewritePlus(std::string& sql, const std::vector<Token>& t, size_t plus) {
    size_t before = plus;
    while (before > 0 && t[before - 1].kind == Kind::Space) --before;
    if (before == 0 || !EndsOperand(t[before - 1])) return false;  // a sign
    // The left operand: back to the nearest looser operator at this depth.
    size_t start = plus;
    for (size_t i = plus; i > 0;) {
        const Token& token = t[--i];
        if (token.kind == Kind::Close) {
            i = Matching(t, i, -1);
            start = i;
            continue;
        }
        if (token.kind == Kind::Space) continue;
        if (token.kind == Kind::Open || token.kind == Kind::Comma || token.kind == Kind::Semi ||
            (token.kind == Kind::Op && !TightOp(token)) || IsKeyword(token))
            break;
        start = i;
    }
    // The right operand: up to the next operator that binds as loosely.
    size_t end = plus + 1;
    bool first = true;
    for (size_t i = plus + 1; i < t.size(); ++i) {
        const Token& token = t[i];
        if (token.kind == Kind::Space) continue;
        if (token.kind == Kind::Open) {
            i = Matching(t, i, 1);
            end = i + 1;
            first = false;
            continue;
        }
        bool sign = first && (IsOp(token, "-") || IsOp(token, "+"));
        if (!sign && (token.kind == Kind::Close || token.kind == Kind::Comma ||
                      token.kind == Kind::Semi || IsOp(token, "+") || IsOp(token, "-") ||
                      (token.kind == Kind::Op && !TightOp(token)) || IsKeyword(token)))
            break;
        end = i + 1;
        first = false;
    }
    if (start == plus || end == plus + 1) return false;
    if (IsNumberLiteral(t, start, plus) || IsNumberLiteral(t, plus + 1, end)) return false;
    std::string left = Join(t, start, before);
    size_t rightStart = plus + 1;
    while (rightStart < end && t[rightStart].kind == Kind::Space) ++rightStart;
    sql = Join(t, 0, start) + "jet_plus(" + left + ", " + Join(t, rightStart, end) + ")" +
          Join(t, end, t.size());
    return true;
}

std::string RewritePluses(std::string sql) {
    size_t skip = 0;  // the "+" signs left as they are, in order
    for (;;) {
        std::vector<Token> t = Tokenize(sql);
        size_t seen = 0, at = t.size();
        for (size_t i = 0; i < t.size() && at == t.size(); ++i)
            if (IsOp(t[i], "+") && seen++ == skip) at = i;
        if (at == t.size()) return sql;
        if (!RewritePlus(sql, t, at)) ++skip;
    }
}

// "SELECT [DISTINCT] TOP n ..." loses "TOP n" and ends with "LIMIT n".
std::string RewriteTop(std::string sql) {
    for (;;) {
        std::vector<Token> t = Tokenize(sql);
        size_t top = t.size(), number = 0;
        for (size_t i = 0, previous = t.size(); i < t.size(); ++i) {
            if (t[i].kind == Kind::Space) continue;
            bool afterSelect = previous < t.size() && t[previous].kind == Kind::Word &&
                               (strcasecmp(t[previous].text.c_str(), "SELECT") == 0 ||
                                strcasecmp(t[previous].text.c_str(), "DISTINCT") == 0 ||
                                strcasecmp(t[previous].text.c_str(), "ALL") == 0);
            if (afterSelect && t[i].kind == Kind::Word &&
                strcasecmp(t[i].text.c_str(), "TOP") == 0) {
                number = i + 1;
                while (number < t.size() && t[number].kind == Kind::Space) ++number;
                if (number < t.size() && t[number].kind == Kind::Number) {
                    top = i;
                    break;
                }
            }
            previous = i;
        }
        if (top == t.size()) return sql;
        size_t end = number + 1;
        for (; end < t.size(); ++end) {
            if (t[end].kind == Kind::Open) {
                end = Matching(t, end, 1);
                continue;
            }
            if (t[end].kind == Kind::Close || t[end].kind == Kind::Semi) break;
        }
        size_t after = number + 1;
        if (after < t.size() && t[after].kind == Kind::Space) ++after;
        sql = Join(t, 0, top) + Join(t, after, end) + " LIMIT " + t[number].text +
              Join(t, end, t.size());
    }
}

bool HasWord(const std::string& sql, const char* word) {
    size_t length = std::char_traits<char>::length(word);
    for (size_t i = 0; i + length <= sql.size(); ++i)
        if (strncasecmp(sql.c_str() + i, word, length) == 0) return true;
    return false;
}

}  // namespace

std::string RewriteJetOperators(const std::string& sql) {
    std::string out = sql;
    if (HasWord(out, "TOP")) out = RewriteTop(out);
    if (out.find('+') != std::string::npos) out = RewritePluses(out);
    return out;
}

}  // namespace kest::engine
