#include "archive/MissionQuery.h"

#include "common/Text.h"

#include <charconv>

namespace orvik {

MissionQuery::MissionQuery(const std::string& wanted)
{
    if (!wanted.empty() && wanted[0] == '@') {
        std::int64_t offset = 0;
        const char* first = wanted.data() + 1;
        const char* last = wanted.data() + wanted.size();
        const auto [ptr, ec] = std::from_chars(first, last, offset);
        if (ec == std::errc() && ptr == last && first != last)
            m_offset = offset;
        else
            m_badOffset = true;
        return;
    }
    m_name = FoldLower(Utf8ToCp1252(wanted));
}

bool MissionQuery::Matches(std::int64_t offset, const std::string& name, const std::string& text) const
{
    if (IsOffset())
        return m_offset && *m_offset == offset;
    return m_name == name || (!text.empty() && m_name == text);
}

} // namespace orvik
