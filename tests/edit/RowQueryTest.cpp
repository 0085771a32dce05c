// The filter's language: what each kind of term lets through, and the terms it cannot read.
#include "edit/RowQuery.h"

#include "mission/ItemRows.h"

#include <gtest/gtest.h>

#include <set>

namespace orvik::test {
namespace {

// Four rows with their states written out by hand.
class Facts : public RowFacts {
public:
    std::vector<ItemRow> rows = {
        {"Tank", "1000", "-5", "0", "90", "12", "N"},
        {"Dead Tree", "2000001", "7", "-3", "180", "40", "Y"},
        {"tank trap", "abc", "8", "1", "90", "41", "N"},
        {"Bunker \xC4", "20000001", "9", "", "0", "7", "N"},
    };
    std::set<std::size_t> changed{1}, errors{2}, warnings{2, 3}, selected{0, 3};

    std::string_view Cell(std::size_t row, int column) const override
    {
        return rows[row][static_cast<std::size_t>(column)];
    }
    bool IsChanged(std::size_t row) const override { return changed.count(row) > 0; }
    bool HasError(std::size_t row) const override { return errors.count(row) > 0; }
    bool HasWarning(std::size_t row) const override { return warnings.count(row) > 0; }
    bool IsSelected(std::size_t row) const override { return selected.count(row) > 0; }
};

std::vector<std::size_t> Matching(const std::string& text)
{
    const Facts facts;
    std::string error;
    const auto query = RowQuery::Parse(text, error);
    EXPECT_TRUE(query.has_value()) << text << ": " << error;
    std::vector<std::size_t> rows;
    if (query)
        for (std::size_t row = 0; row < facts.rows.size(); ++row)
            if (query->Matches(row, facts))
                rows.push_back(row);
    return rows;
}

TEST(RowQueryTest, EachTermLetsThroughItsRows)
{
    const struct {
        const char* text;
        std::vector<std::size_t> rows;
    } cases[] = {
        {"", {0, 1, 2, 3}},
        {"TANK", {0, 2}},
        {"90", {0, 2}},                 // a word looks in every cell
        {"item:tank", {0, 2}},
        {"Item:\"dead tree\"", {1}},
        {"\"tank trap\"", {2}},
        {"bunker \xE4", {3}},           // Windows-1252 capitals fold too
        {"x>1000000", {1, 3}},
        {"x>=1000", {0, 1, 3}},
        {"x<2000001", {0}},             // "abc" is no number
        {"x<=2000001", {0, 1}},
        {"z<0", {1}},
        {"angle=90", {0, 2}},
        {"id=12..40", {0, 1}},
        {"id=40..12", {}},
        {"id=-5..7", {3}},
        {"item=tank", {0}},             // exact, not a part
        {"item=TANK trap", {}},         // two terms: "trap" is a word of its own
        {"mp:y", {1}},
        {"is:changed", {1}},
        {"is:error", {2}},
        {"is:warning", {2, 3}},
        {"is:selected", {0, 3}},
        {"tank -item:trap", {0}},
        {"-is:warning -is:selected", {1}},
        {"item:t x>1000 ", {1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Matching(c.text), c.rows) << c.text;
}

TEST(RowQueryTest, ATermItCannotReadIsNamed)
{
    const struct {
        const char* text;
        const char* error; // the start of the message
    } cases[] = {
        {"foo:1", "Unknown column: foo"},
        {"tank is:big", "Unknown state: big"},
        {"x>abc", "Not a number: x>abc"},
        {"angle<=", "Not a number: angle<="},
        {"item:\"dead tree", "Unclosed quote"},
        {"id=..", "Not a range of numbers: id=.."},
        {"id=3..", "Not a range of numbers: id=3.."},
        {"tank -", "Nothing after -"},
    };
    for (const auto& c : cases) {
        std::string error;
        EXPECT_FALSE(RowQuery::Parse(c.text, error).has_value()) << c.text;
        EXPECT_EQ(error.substr(0, std::string(c.error).size()), c.error) << c.text;
    }
}

} // namespace
} // namespace orvik::test
