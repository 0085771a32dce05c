#pragma once
// The catalogue's lookups by hash instead of by walking it: a check of many missions asks for
// every item's name several times.
#include "catalogue/ItemDefList.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <unordered_map>

namespace orvik {

class CatalogueLookup {
public:
    explicit CatalogueLookup(const CItemDefList& catalogue);

    // Both answer as the catalogue does: the first entry wins.
    const std::string& NameById(std::int32_t id) const;
    std::int32_t IdByName(std::string_view name) const;
    bool IsCenter(std::int32_t id) const;

private:
    std::unordered_map<std::int32_t, std::string> m_names;
    std::unordered_map<std::string, std::int32_t> m_ids;
    std::unordered_map<std::int32_t, bool> m_center;
};

} // namespace orvik
