#pragma once
// A table's header line, as `orvik save` and Paste both read it: the titles it names and the
// separator that splits it into them.
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace orvik::cli {

// The column a header field names (blanks around it do not count), if any.
std::optional<int> ColumnOfTitle(std::string_view field);

struct SeparatorChoice {
    char sep;
    std::size_t titles; // fields that name a column
};

// Tab, comma or semicolon, whichever splits line (CSV quoting) into the most column titles;
// preferred wins a tie, and is the choice when none names any.
SeparatorChoice ChooseSeparator(std::string_view line, char preferred);

// "tabs", "commas" or "semicolons", for messages.
const char* SeparatorName(char sep);

} // namespace orvik::cli
