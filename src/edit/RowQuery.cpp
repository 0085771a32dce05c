#include "edit/RowQuery.h"

#include "common/Text.h"
#include "mission/ItemRows.h"

#include <algorithm>
#include <limits>

namespace orvik {

namespace {

constexpr std::int64_t kLowest = std::numeric_limits<std::int64_t>::min();
constexpr std::int64_t kHighest = std::numeric_limits<std::int64_t>::max();

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// The column a name gives: the first word of its title (item, x, y, z, angle, id, mp), any case.
int ColumnNamed(std::string_view name)
{
    const std::string folded = FoldLower(name);
    const auto& titles = ItemColumnTitles();
    for (int column = 0; column < kColumnCount; ++column) {
        const std::string_view title = titles[static_cast<std::size_t>(column)];
        if (folded == FoldLower(title.substr(0, title.find(' '))))
            return column;
    }
    return -1;
}

// The text without its quotes: they only keep blanks and operators inside one term.
std::string Unquoted(std::string_view text)
{
    std::string out;
    out.reserve(text.size());
    for (const char c : text)
        if (c != '"')
            out += c;
    return out;
}

// The terms as typed, split at blanks outside quotes; false for an unclosed quote.
bool SplitTerms(std::string_view text, std::vector<std::string_view>& terms)
{
    std::size_t k = 0;
    while (k < text.size()) {
        while (k < text.size() && IsBlank(text[k]))
            ++k;
        if (k == text.size())
            break;
        const std::size_t start = k;
        bool quoted = false;
        while (k < text.size() && (quoted || !IsBlank(text[k]))) {
            if (text[k] == '"')
                quoted = !quoted;
            ++k;
        }
        if (quoted)
            return false;
        terms.push_back(text.substr(start, k - start));
    }
    return true;
}

// Where the operator of a column term starts, outside quotes, or npos.
std::size_t OperatorAt(std::string_view term)
{
    for (std::size_t k = 0; k < term.size(); ++k) {
        if (term[k] == '"')
            return std::string_view::npos;
        if (term[k] == ':' || term[k] == '=' || term[k] == '<' || term[k] == '>')
            return k;
    }
    return std::string_view::npos;
}

// Whether text holds part (already folded), ignoring case, without a folded copy of text: the
// filter reads every cell of every row at each keystroke.
bool HoldsFolded(std::string_view text, std::string_view part)
{
    if (part.empty())
        return true;
    if (part.size() > text.size())
        return false;
    for (std::size_t start = 0; start + part.size() <= text.size(); ++start) {
        std::size_t k = 0;
        while (k < part.size() && FoldChar(text[start + k]) == part[k])
            ++k;
        if (k == part.size())
            return true;
    }
    return false;
}

bool EqualsFolded(std::string_view text, std::string_view folded)
{
    return text.size() == folded.size() &&
           std::equal(text.begin(), text.end(), folded.begin(), [](char a, char b) { return FoldChar(a) == b; });
}

std::optional<std::int64_t> Number(std::string_view text)
{
    if (const auto value = ParseInt32(text))
        return *value;
    return std::nullopt;
}

} // namespace

std::optional<RowQuery> RowQuery::Parse(std::string_view text, std::string& error)
{
    error.clear();
    std::vector<std::string_view> raw;
    if (!SplitTerms(text, raw)) {
        error = "Unclosed quote";
        return std::nullopt;
    }
    RowQuery query;
    const auto fail = [&error](const std::string& reason) {
        error = reason;
        return std::nullopt;
    };
    for (std::string_view typed : raw) {
        Term term;
        std::string_view body = typed;
        if (body.size() > 1 && body.front() == '-') {
            term.negated = true;
            body.remove_prefix(1);
        } else if (body == "-") {
            return fail("Nothing after -");
        }
        const std::size_t at = OperatorAt(body);
        if (at == std::string_view::npos || at == 0) {
            term.text = FoldLower(Unquoted(body));
            query.m_terms.push_back(std::move(term));
            continue;
        }
        const std::string_view name = body.substr(0, at);
        std::string_view op = body.substr(at, 1);
        if (body.size() > at + 1 && (op == "<" || op == ">") && body[at + 1] == '=')
            op = body.substr(at, 2);
        const std::string value = Unquoted(body.substr(at + op.size()));
        const std::string typedText(typed);
        if (FoldLower(name) == "is" && op == ":") {
            const std::string state = FoldLower(value);
            if (state == "changed")
                term.kind = Kind::Changed;
            else if (state == "error")
                term.kind = Kind::Error;
            else if (state == "warning")
                term.kind = Kind::Warning;
            else if (state == "selected")
                term.kind = Kind::Selected;
            else
                return fail("Unknown state: " + value + " (is:changed, is:error, is:warning, is:selected)");
            query.m_terms.push_back(std::move(term));
            continue;
        }
        term.column = ColumnNamed(name);
        if (term.column < 0)
            return fail("Unknown column: " + std::string(name) + " (item, x, y, z, angle, id, mp)");
        if (op == ":") {
            term.kind = Kind::Contains;
            term.text = FoldLower(value);
        } else if (const std::size_t dots = value.find(".."); op == "=" && dots != std::string::npos) {
            const auto low = Number(value.substr(0, dots));
            const auto high = Number(value.substr(dots + 2));
            if (!low || !high)
                return fail("Not a range of numbers: " + typedText + " (write A..B)");
            term.kind = Kind::Range;
            term.low = *low;
            term.high = *high;
        } else if (const auto number = Number(value)) {
            term.kind = Kind::Range;
            term.low = op == "<" || op == "<=" ? kLowest : op == ">" ? *number + 1 : *number;
            term.high = op == ">" || op == ">=" ? kHighest : op == "<" ? *number - 1 : *number;
        } else if (op == "=") {
            term.kind = Kind::Exact;
            term.text = FoldLower(value);
        } else {
            return fail("Not a number: " + typedText);
        }
        query.m_terms.push_back(std::move(term));
    }
    return query;
}

bool RowQuery::Passes(const Term& term, std::size_t row, const RowFacts& facts)
{
    switch (term.kind) {
    case Kind::Word:
        for (int column = 0; column < kColumnCount; ++column)
            if (HoldsFolded(facts.Cell(row, column), term.text))
                return true;
        return false;
    case Kind::Contains: return HoldsFolded(facts.Cell(row, term.column), term.text);
    case Kind::Exact: return EqualsFolded(facts.Cell(row, term.column), term.text);
    case Kind::Range: {
        const auto value = Number(facts.Cell(row, term.column));
        return value && *value >= term.low && *value <= term.high;
    }
    case Kind::Changed: return facts.IsChanged(row);
    case Kind::Error: return facts.HasError(row);
    case Kind::Warning: return facts.HasWarning(row);
    case Kind::Selected: return facts.IsSelected(row);
    }
    return false;
}

bool RowQuery::Matches(std::size_t row, const RowFacts& facts) const
{
    return std::all_of(m_terms.begin(), m_terms.end(),
                       [&](const Term& term) { return Passes(term, row, facts) != term.negated; });
}

bool RowQuery::AsksSelection() const
{
    return std::any_of(m_terms.begin(), m_terms.end(), [](const Term& t) { return t.kind == Kind::Selected; });
}

} // namespace orvik
