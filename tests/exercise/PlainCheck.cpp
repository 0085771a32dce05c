#include "exercise/PlainCheck.h"

#include <cctype>
#include <cstdint>
#include <map>
#include <tuple>

namespace orvik::exercise {

namespace {

// As a save reads a number: blanks, a sign, the digits, the rest ignored, kept modulo 2^32.
std::int32_t Number(const std::string& text)
{
    std::size_t i = text.find_first_not_of(" \t\n\v\f\r");
    if (i == std::string::npos)
        return 0;
    const bool negative = text[i] == '-';
    if (text[i] == '-' || text[i] == '+')
        ++i;
    std::uint32_t value = 0;
    for (; i < text.size() && std::isdigit(static_cast<unsigned char>(text[i])); ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    return static_cast<std::int32_t>(negative ? 0u - value : value);
}

// The first entry of each id and of each name, in file order.
struct Entries {
    std::map<std::int32_t, std::string> nameOfId;
    std::map<std::string, std::int32_t> idOfName;
    explicit Entries(const CItemDefList& catalogue)
    {
        for (std::size_t i = 0; i < catalogue.Size(); ++i) {
            nameOfId.emplace(catalogue.At(i).m_nId, catalogue.At(i).m_strName);
            idOfName.emplace(catalogue.At(i).m_strName, catalogue.At(i).m_nId);
        }
    }
    const std::string* Name(std::int32_t id) const
    {
        const auto it = nameOfId.find(id);
        return it == nameOfId.end() ? nullptr : &it->second;
    }
    std::int32_t Id(const std::string& name) const
    {
        const auto it = idOfName.find(name);
        return it == idOfName.end() ? 0 : it->second;
    }
};

bool NamesCentre(const std::string& name)
{
    std::string lower;
    for (const char c : name)
        lower += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return lower.find("center") != std::string::npos;
}

// Map pixels 0 to 511 east and south of world (0, 0), 131072 units a pixel toward zero.
bool InsideX(std::int32_t x) { return x >= -131071 && x <= 67108863; }
bool InsideY(std::int32_t y) { return y >= -67108863 && y <= 131071; }

} // namespace

std::string Describe(const PlainFinding& f)
{
    return (f.row ? "row " + std::to_string(*f.row + 1) : std::string("mission")) + ", column " +
           std::to_string(f.column) + ", " + (f.error ? "error" : "warning") + ": " + f.text;
}

std::vector<PlainFinding> PlainCheck(const std::vector<ItemRow>& rows, const CMissionModel& model,
                                     const CItemDefList& catalogue)
{
    const Entries entries(catalogue);
    std::vector<PlainFinding> out;
    std::map<std::tuple<std::int32_t, std::int32_t, std::int32_t, std::int32_t>, std::size_t> firstAt;
    bool centre = false;
    for (std::size_t r = 0; r < rows.size(); ++r) {
        const ItemRow& row = rows[r];
        const std::string& typed = row[kColItem];
        std::int32_t id = entries.Id(typed);
        if (r < model.items.size()) {
            const std::int32_t record = model.items[r]->m_nId;
            const std::string* recordName = entries.Name(record);
            if ((recordName ? *recordName : std::string()) == typed)
                id = record;
        }
        const std::int32_t x = Number(row[kColX]), y = Number(row[kColY]), z = Number(row[kColZ]);
        const std::int32_t angle = Number(row[kColAngle]);
        const std::string* name = entries.Name(id);
        const auto add = [&](int column, bool error, std::string text) {
            out.push_back({r, column, error, std::move(text)});
        };
        if (id == 0) // no kind, even where the catalogue names 0
            add(kColItem, true,
                typed.empty() ? "The item has no name: the row cannot be saved."
                              : "\"" + typed + "\" is not an item name of the catalogue: the row cannot be saved.");
        else if (!name)
            add(kColItem, true,
                "Item kind id " + std::to_string(id) + " is not in the catalogue: the row cannot be saved by name.");
        else if (const std::int32_t first = entries.Id(*name); first != id)
            add(kColItem, false,
                "\"" + *name + "\" names kind ids " + std::to_string(first) + " and " + std::to_string(id) +
                    ": a save stores the first, " + std::to_string(first) + ".");
        if (!InsideX(x) || !InsideY(y))
            add(InsideX(x) ? kColY : kColX, false,
                "The item at " + std::to_string(x) + ", " + std::to_string(y) +
                    " lies outside the ground the map covers (X -131071 to 67108863, Y -67108863 to 131071).");
        if (id != 0) {
            const auto [at, fresh] = firstAt.emplace(std::make_tuple(id, x, y, z), r);
            if (!fresh)
                add(kColItem, false,
                    "Same item at the same position as row " + std::to_string(at->second + 1) + ": a double paste?");
            centre = centre || (name && NamesCentre(*name));
        }
        if (angle < 0 || angle > 359)
            add(kColAngle, false, "Angle " + std::to_string(angle) + " is outside 0 to 359.");
    }
    if (!rows.empty() && !centre)
        out.push_back({std::nullopt, -1, false, "No centre item: the map centres on the middle of the items."});
    return out;
}

} // namespace orvik::exercise
