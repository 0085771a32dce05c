#include "listedit/RowSorter.h"

#include "common/Text.h"
#include "mission/ItemRows.h"

#include <QCollatorSortKey>
#include <QString>

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace orvik {

namespace {

struct Key {
    bool text = false; // no number: after every number
    std::int64_t number = 0;
    std::uint32_t rank = 0; // of the text, in the collator's order
};

bool Before(const Key& a, const Key& b)
{
    if (a.text != b.text)
        return !a.text;
    return a.text ? a.rank < b.rank : a.number < b.number;
}

// Ranks of the distinct texts, in the collator's order (texts it holds equal share a rank).
std::unordered_map<std::string_view, std::uint32_t> RankTexts(const std::vector<std::string_view>& texts,
                                                             const QCollator& collator)
{
    std::unordered_map<std::string_view, std::uint32_t> ranks;
    for (const std::string_view text : texts)
        ranks.emplace(text, 0);
    std::vector<std::pair<QCollatorSortKey, std::string_view>> keys;
    keys.reserve(ranks.size());
    for (const auto& [text, rank] : ranks)
        keys.emplace_back(collator.sortKey(QString::fromStdString(Cp1252ToUtf8(text))), text);
    std::sort(keys.begin(), keys.end(), [](const auto& a, const auto& b) { return a.first.compare(b.first) < 0; });
    std::uint32_t rank = 0;
    for (std::size_t k = 0; k < keys.size(); ++k) {
        if (k > 0 && keys[k - 1].first.compare(keys[k].first) < 0)
            ++rank;
        ranks[keys[k].second] = rank;
    }
    return ranks;
}

} // namespace

void SortRows(const EditDocument& document, std::vector<std::uint32_t>& rows, int column, bool descending,
              const QCollator& collator)
{
    const bool names = column == kColItem;
    std::vector<Key> keys(document.RowCount());
    std::vector<std::string_view> texts;
    for (const std::uint32_t row : rows) {
        const std::string& cell = document.Cell(row, column);
        const std::optional<std::int32_t> number = names ? std::nullopt : ParseInt32(cell);
        keys[row].text = !number;
        if (number)
            keys[row].number = *number;
        else
            texts.push_back(cell);
    }
    if (!texts.empty()) {
        const auto ranks = RankTexts(texts, collator);
        for (const std::uint32_t row : rows)
            if (keys[row].text)
                keys[row].rank = ranks.at(document.Cell(row, column));
    }
    if (descending)
        std::stable_sort(rows.begin(), rows.end(), [&](std::uint32_t a, std::uint32_t b) { return Before(keys[b], keys[a]); });
    else
        std::stable_sort(rows.begin(), rows.end(), [&](std::uint32_t a, std::uint32_t b) { return Before(keys[a], keys[b]); });
}

} // namespace orvik
