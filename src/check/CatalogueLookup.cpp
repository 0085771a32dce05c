#include "check/CatalogueLookup.h"

#include "common/Text.h"

namespace orvik {

CatalogueLookup::CatalogueLookup(const CItemDefList& catalogue)
{
    for (std::size_t i = 0; i < catalogue.Size(); ++i) {
        const CItemDef& def = catalogue.At(i);
        if (m_names.emplace(def.m_nId, def.m_strName).second)
            m_center[def.m_nId] = Contains(FoldLower(def.m_strName), "center");
        m_ids.emplace(def.m_strName, def.m_nId);
    }
}

const std::string& CatalogueLookup::NameById(std::int32_t id) const
{
    static const std::string kNone;
    const auto it = m_names.find(id);
    return it == m_names.end() ? kNone : it->second;
}

std::int32_t CatalogueLookup::IdByName(std::string_view name) const
{
    const auto it = m_ids.find(std::string(name));
    return it == m_ids.end() ? 0 : it->second;
}

bool CatalogueLookup::IsCenter(std::int32_t id) const
{
    const auto it = m_center.find(id);
    return it != m_center.end() && it->second;
}

} // namespace orvik
