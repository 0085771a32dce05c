#pragma once
// The item catalogue (items.def): item names and their kind ids.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orvik {

class CItemDef {
public:
    std::int32_t m_nId = 0; // the number in items.def minus 100000
    std::string m_strName;
};

class CItemDefList {
public:
    // Reads items.def at path and appends its entries. Returns false, and appends nothing, when the
    // file cannot be opened or read.
    bool Load(const std::string& path);
    // Appends the entries of the text of an items.def file.
    void LoadText(std::string_view text);

    // Name of the first entry with this id; "" when there is none.
    std::string GetNameById(std::int32_t id) const;
    // Id of the first entry with exactly this name (case-sensitive); 0 when there is none.
    std::int32_t GetIdByName(std::string_view name) const;

    std::size_t Size() const { return m_items.size(); }
    const CItemDef& At(std::size_t i) const { return *m_items[i]; }

private:
    std::vector<std::unique_ptr<CItemDef>> m_items;
};

} // namespace orvik
