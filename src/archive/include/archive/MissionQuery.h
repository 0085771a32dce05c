#pragma once
// A mission as the command line names it: its entry name (any case) or @OFFSET, the decimal
// offset of its data. The command line and the check find missions through this one reading.
#include <cstdint>
#include <optional>
#include <string>

namespace orvik {

class MissionQuery {
public:
    // wanted is UTF-8, as typed.
    explicit MissionQuery(const std::string& wanted);

    // "@" followed by anything but a decimal number names no mission.
    bool IsValid() const { return !m_badOffset; }
    bool IsOffset() const { return m_offset.has_value() || m_badOffset; }
    // name and text are folded to lower case (text: the list's "name (title)", when it may match too).
    bool Matches(std::int64_t offset, const std::string& name, const std::string& text = {}) const;

private:
    std::optional<std::int64_t> m_offset;
    bool m_badOffset = false;
    std::string m_name; // Windows-1252, folded
};

} // namespace orvik
