#include "mission/MissionItem.h"

namespace orvik {

std::array<std::int32_t, CMissionItem::kWords> CMissionItem::ToWords() const
{
    std::array<std::int32_t, kWords> w{};
    w[0] = m_nWord0;
    w[1] = m_nId;
    w[2] = m_nWord2;
    w[3] = m_nNumber;
    w[4] = m_nFlags;
    w[5] = m_nX;
    w[6] = m_nY;
    w[7] = m_nZ;
    for (int i = 0; i < 6; ++i)
        w[static_cast<std::size_t>(8 + i)] = m_nWords8To13[static_cast<std::size_t>(i)];
    w[14] = m_nAngle;
    for (int i = 0; i < 9; ++i)
        w[static_cast<std::size_t>(15 + i)] = m_nWords15To23[static_cast<std::size_t>(i)];
    return w;
}

void CMissionItem::FromWords(const std::array<std::int32_t, kWords>& w)
{
    m_nWord0 = w[0];
    m_nId = w[1];
    m_nWord2 = w[2];
    m_nNumber = w[3];
    m_nFlags = w[4];
    m_nX = w[5];
    m_nY = w[6];
    m_nZ = w[7];
    for (int i = 0; i < 6; ++i)
        m_nWords8To13[static_cast<std::size_t>(i)] = w[static_cast<std::size_t>(8 + i)];
    m_nAngle = w[14];
    for (int i = 0; i < 9; ++i)
        m_nWords15To23[static_cast<std::size_t>(i)] = w[static_cast<std::size_t>(15 + i)];
}

} // namespace orvik
