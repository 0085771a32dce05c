#pragma once
// One 96-byte item record of a mission file, as 24 signed words.
#include <array>
#include <cstdint>

namespace orvik {

class CMissionItem {
public:
    static constexpr int kWords = 24;
    static constexpr int kRecordSize = 96;
    static constexpr std::int32_t kMpOnlyFlag = 16;

    std::int32_t m_nWord0 = 0;  // not kept: always 0 in memory and on disk after a save
    std::int32_t m_nId = 0;     // word 1, item kind id
    std::int32_t m_nX = 0;      // word 5
    std::int32_t m_nY = 0;      // word 6
    std::int32_t m_nWord2 = 0;  // word 2
    std::int32_t m_nNumber = 0; // word 3, item number
    std::int32_t m_nFlags = 0;  // word 4
    std::int32_t m_nZ = 0;      // word 7
    std::array<std::int32_t, 6> m_nWords8To13{};
    std::int32_t m_nAngle = 0; // word 14
    std::array<std::int32_t, 9> m_nWords15To23{};

    bool IsMpOnly() const { return (m_nFlags & kMpOnlyFlag) != 0; }

    // The record's words in file order, word 0 first.
    std::array<std::int32_t, kWords> ToWords() const;
    void FromWords(const std::array<std::int32_t, kWords>& words);
};

} // namespace orvik
