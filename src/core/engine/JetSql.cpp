#include "core/engine/JetSql.h"

#include <strings.h>

#include <algorithm>
#include <cctype>
#include <string_view>

#include "core/common/Errors.h"
#include "core/engine/JetFunctions.h"
#include "core/engine/JetOperators.h"
#include "core/text/DateParse.h"
#include "core/text/VbFormat.h"

namespace kest::engine {

namespace {

bool IsWordChar(char c) {
    return std::isalnum(static_cast<unsigned char>(c)) || c == '_' || (c & 0x80);
}

// Copies a quoted run starting at i (the opening quote) and returns the index
// after the closing quote; doubled quotes stay inside the run.
size_t CopyQuoted(const std::string& in, size_t i, char quote, std::string& out) {
    size_t j = i + 1;
    while (j < in.size()) {
        if (in[j] == quote) {
            if (j + 1 < in.size() && in[j + 1] == quote) {
                j += 2;
                continue;
            }
            break;
        }
        ++j;
    }
    if (quote == '"') {
        // A Jet string in double quotes becomes a single-quoted SQL string.
        std::string body = in.substr(i + 1, j - i - 1);
        out += '\'';
        for (size_t k = 0; k < body.size(); ++k) {
            if (body[k] == '"' && k + 1 < body.size() && body[k + 1] == '"') ++k;
            if (body[k] == '\'') out += '\'';
            out += body[k];
        }
        out += '\'';
    } else {
        out.append(in, i, j + 1 - i);
    }
    return j + 1;
}

bool IsWord(const std::string& word, const char* keyword) {
    return strcasecmp(word.c_str(), keyword) == 0;
}

// Whether an ORDER BY term names one of the catalog's counters, alone or
// after its table ("tblFiles.KestId", "[FileId]"): they hold numbers only.
bool NamesCounter(std::string_view term) {
    auto trim = [](std::string_view t) {
        while (!t.empty() && std::isspace(static_cast<unsigned char>(t.front())))
            t.remove_prefix(1);
        while (!t.empty() && std::isspace(static_cast<unsigned char>(t.back()))) t.remove_suffix(1);
        return t;
    };
    term = trim(term);
    const size_t dot = term.rfind('.');
    std::string_view name = dot == std::string_view::npos ? term : term.substr(dot + 1);
    std::string_view table = dot == std::string_view::npos ? "" : term.substr(0, dot);
    auto plain = [](std::string_view t) {
        if (t.size() >= 2 && t.front() == '[' && t.back() == ']') t = t.substr(1, t.size() - 2);
        return !t.empty() && std::all_of(t.begin(), t.end(), IsWordChar) ? t : std::string_view();
    };
    name = plain(name);
    if (dot != std::string_view::npos && plain(table).empty()) return false;
    const std::string word(name);
    return IsWord(word, "KestId") || IsWord(word, "FileId") || IsWord(word, "SubFileId");
}

// Follows the terms of an ORDER BY and gives each the catalog's text order.
// Numbers keep theirs (a collation only compares texts), and a term that
// names a counter gets none, so that an index over the counter can give the
// order (the discs' rows come one disc at a time, each sorted apart).
class OrderByCollation {
  public:
    // A word of the statement at paren depth `depth`; out ends before it.
    void Word(const std::string& word, int depth, std::string& out) {
        if (m_depth < 0) {
            if (IsWord(word, "BY") && IsWord(m_previous, "ORDER"))
                Begin(depth, out.size() + word.size());
            m_previous = word;
            return;
        }
        if (depth != m_depth) return;
        if (IsWord(word, "COLLATE")) {
            m_collated = true;
        } else if (IsWord(word, "ASC") || IsWord(word, "DESC")) {
            if (NeedsCollation(out)) out += std::string("COLLATE ") + kTextCollation + " ";
            m_collated = true;
        } else if (IsWord(word, "LIMIT") || IsWord(word, "OFFSET")) {
            if (NeedsCollation(out)) out += std::string("COLLATE ") + kTextCollation + " ";
            m_depth = -1;
        }
    }
    // A character that may end a term (",") or the clause (")", ";").
    void Punctuation(char c, int depth, std::string& out) {
        if (m_depth < 0 || depth != m_depth) return;
        if (c == ',' || c == ')' || c == ';') End(out);
        if (c == ',') Begin(m_depth, out.size() + 1);
        if (c == ')' || c == ';') m_depth = -1;
    }
    void Finish(std::string& out) {
        if (m_depth >= 0) End(out);
    }

  private:
    void Begin(int depth, size_t termStart) {
        m_depth = depth;
        m_collated = false;
        m_termStart = termStart;
    }
    // Whether the term written so far (up to the end of out) still wants the
    // text order.
    bool NeedsCollation(const std::string& out) const {
        return !m_collated &&
               !NamesCounter(std::string_view(out).substr(std::min(m_termStart, out.size())));
    }
    void End(std::string& out) {
        if (NeedsCollation(out)) out += std::string(" COLLATE ") + kTextCollation;
        m_collated = true;
    }

    std::string m_previous;
    int m_depth = -1;  // the clause's paren depth, -1 outside
    bool m_collated = false;
    size_t m_termStart = 0;  // where the current term starts in out
};

}  // namespace

std::string TranslateJetSql(const std::string& in) {
    std::string out;
    out.reserve(in.size() + 16);
    size_t i = 0;
    int depth = 0;
    OrderByCollation order;
    while (i < in.size()) {
        char c = in[i];
        if (c == '\'' || c == '"') {
            i = CopyQuoted(in, i, c, out);
        } else if (c == '[') {
            size_t end = in.find(']', i);
            end = end == std::string::npos ? in.size() : end + 1;
            out.append(in, i, end - i);
            i = end;
        } else if (c == '#') {
            size_t end = in.find('#', i + 1);
            std::string literal =
                in.substr(i + 1, end == std::string::npos ? std::string::npos : end - i - 1);
            auto date = text::ParseJetDateLiteral(literal);
            if (end == std::string::npos || !date) {
                throw err::SyntaxError("Syntax error in date in query expression '#" + literal +
                                       "#'.");
            }
            out += '\'' + text::ToIso(*date) + '\'';
            i = end + 1;
        } else if (c == '/') {
            out += "* 1.0 /";
            ++i;
        } else if (c == '&') {
            out += "||";
            ++i;
        } else if (IsWordChar(c)) {
            size_t end = i;
            while (end < in.size() && IsWordChar(in[end])) ++end;
            std::string word = in.substr(i, end - i);
            order.Word(word, depth, out);
            out += word;
            i = end;
            bool isDelete = word.size() == 6 && strncasecmp(word.c_str(), "DELETE", 6) == 0;
            if (isDelete) {
                size_t k = i;
                while (k < in.size() && std::isspace(static_cast<unsigned char>(in[k]))) ++k;
                if (k < in.size() && in[k] == '*') i = k + 1;
            }
        } else {
            if (c == ')') order.Punctuation(c, depth--, out);
            if (c == ',' || c == ';') order.Punctuation(c, depth, out);
            if (c == '(') ++depth;
            out += c;
            ++i;
        }
    }
    order.Finish(out);
    return RewriteJetOperators(out);
}

}  // namespace kest::engine
