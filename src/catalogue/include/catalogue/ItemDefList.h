#pragma once
// The item catalogue (items.def): item names and their kind ids.
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <unordered_map>
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
    std::string GetNameById(std::int32_t id) const { return NameOf(id); }
    const std::string& NameOf(std::int32_t id) const;
    // Id of the first entry with exactly this name (case-sensitive); 0 when there is none.
    std::int32_t GetIdByName(std::string_view name) const;
    // Whether the first entry with this id names a centre ("center" in any case).
    bool IsCenterKind(std::int32_t id) const;
    // GetIdByName(NameOf(id)), without hashing the name: another id when the name is shared.
    std::int32_t IdOfNameOf(std::int32_t id) const;

    std::size_t Size() const { return m_items.size(); }
    const CItemDef& At(std::size_t i) const { return *m_items[i]; }

private:
    // Loading a mission asks for every item's name: by hash, not by walking the list.
    struct NameHash {
        using is_transparent = void;
        std::size_t operator()(std::string_view s) const { return std::hash<std::string_view>{}(s); }
    };
    struct FirstOfId {
        std::size_t index;
        bool center;
        std::int32_t idOfName;
    };
    void Add(std::unique_ptr<CItemDef> def);

    std::vector<std::unique_ptr<CItemDef>> m_items;
    std::unordered_map<std::int32_t, FirstOfId> m_byId;
    std::unordered_map<std::string, std::int32_t, NameHash, std::equal_to<>> m_byName;
};

} // namespace orvik
