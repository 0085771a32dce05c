#pragma once
// The item table's filter: a few terms, all of which a row must pass. A word matches any cell; a
// column term (item:tank, x>1000, id=12..40) tests one cell; is:changed / error / warning / selected
// test the row's state; a leading '-' negates a term. Texts are Windows-1252, as the document keeps
// them; case is ignored.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace orvik {

// What a query may ask about a row. The cells are the document's texts.
class RowFacts {
public:
    virtual ~RowFacts() = default;
    virtual std::string_view Cell(std::size_t row, int column) const = 0;
    virtual bool IsChanged(std::size_t row) const = 0;
    virtual bool HasError(std::size_t row) const = 0;
    virtual bool HasWarning(std::size_t row) const = 0;
    virtual bool IsSelected(std::size_t row) const = 0;
};

class RowQuery {
public:
    // The query of text, or none with error naming the first term it cannot read.
    static std::optional<RowQuery> Parse(std::string_view text, std::string& error);

    // No terms: every row passes.
    bool IsEmpty() const { return m_terms.empty(); }
    bool Matches(std::size_t row, const RowFacts& facts) const;
    // Whether any term asks about the selection (such a filter is not kept up by selection changes).
    bool AsksSelection() const;

private:
    enum class Kind { Word, Contains, Exact, Range, Changed, Error, Warning, Selected };
    struct Term {
        Kind kind = Kind::Word;
        bool negated = false;
        int column = -1;
        std::string text; // folded
        std::int64_t low = 0;
        std::int64_t high = 0;
    };
    static bool Passes(const Term& term, std::size_t row, const RowFacts& facts);

    std::vector<Term> m_terms;
};

} // namespace orvik
