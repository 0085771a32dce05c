#pragma once
// The catalogue's lookups as the checks ask them: a check of many missions asks for every item's
// name several times, which the catalogue answers by hash.
#include "catalogue/ItemDefList.h"

#include <cstdint>
#include <string>
#include <string_view>

namespace orvik {

class CatalogueLookup {
public:
    // catalogue must outlive this.
    explicit CatalogueLookup(const CItemDefList& catalogue) : m_catalogue(catalogue) {}

    // All answer as the catalogue does: the first entry wins.
    const std::string& NameById(std::int32_t id) const { return m_catalogue.NameOf(id); }
    std::int32_t IdByName(std::string_view name) const { return m_catalogue.GetIdByName(name); }
    bool IsCenter(std::int32_t id) const { return m_catalogue.IsCenterKind(id); }
    std::int32_t IdOfNameOf(std::int32_t id) const { return m_catalogue.IdOfNameOf(id); }

private:
    const CItemDefList& m_catalogue;
};

} // namespace orvik
