#include "tables/HeaderLine.h"

#include "common/FileError.h"
#include "common/Text.h"
#include "mission/ItemRows.h"
#include "tables/RecordReader.h"

#include <sstream>
#include <vector>

namespace orvik::cli {

namespace {

constexpr char kSeparators[] = {'\t', ',', ';'};

} // namespace

std::optional<int> ColumnOfTitle(std::string_view field)
{
    const std::string name = Trim(field);
    for (int c = 0; c < kColumnCount; ++c)
        if (name == ItemColumnTitles()[static_cast<std::size_t>(c)])
            return c;
    return std::nullopt;
}

SeparatorChoice ChooseSeparator(std::string_view line, char preferred)
{
    SeparatorChoice best{preferred, 0};
    std::vector<std::string> fields;
    for (char sep : kSeparators) {
        std::istringstream in{std::string(line)};
        RecordReader reader(in, sep, true, "the header line");
        std::size_t titles = 0;
        try {
            if (reader.Next(fields))
                for (const std::string& field : fields)
                    titles += ColumnOfTitle(field) ? 1 : 0;
        } catch (const UserError&) {
            continue; // a quote this separator leaves open: not the header's separator
        }
        if (titles > best.titles || (titles == best.titles && titles > 0 && sep == preferred))
            best = {sep, titles};
    }
    return best;
}

const char* SeparatorName(char sep)
{
    switch (sep) {
    case '\t': return "tabs";
    case ',': return "commas";
    case ';': return "semicolons";
    default: return "an unknown separator";
    }
}

} // namespace orvik::cli
