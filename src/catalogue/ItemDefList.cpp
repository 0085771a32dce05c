#include "catalogue/ItemDefList.h"

#include "common/File.h"
#include "common/FileError.h"
#include "common/Text.h"

namespace orvik {

namespace {

// items.def stores kind ids offset by this much.
constexpr std::int32_t kIdBias = 100000;

// The name of a name line: the characters after its first double quote, less the line's last
// character (the closing quote). Without a quote the whole line less its last character.
std::string NameFromLine(std::string_view line)
{
    const std::size_t quote = line.find('"');
    const std::size_t first = quote == std::string_view::npos ? 0 : quote + 1;
    // Positions first .. L-2; a quote in the last place, or a one-character line, leaves nothing.
    if (line.empty() || first + 1 >= line.size())
        return {};
    return std::string(line.substr(first, line.size() - 1 - first));
}

// The kind id of an id line: the number that starts three characters after the first "id"
// ("id", one separator of any kind, the number). Without "id" the number text starts at the
// third character, as the cut from a position of -1 gives.
std::int32_t IdFromLine(std::string_view line)
{
    const std::size_t p = line.find("id");
    const std::size_t start = p == std::string_view::npos ? 2 : p + 3;
    const std::string_view number = start < line.size() ? line.substr(start) : std::string_view{};
    // Wraps like the rest of the decimal arithmetic rather than overflowing.
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(DecimalToInt(number)) -
                                     static_cast<std::uint32_t>(kIdBias));
}

} // namespace

bool CItemDefList::Load(const std::string& path)
{
    File file(path, File::Mode::Read);
    if (!file.IsOpen())
        return false;
    // Read to the end in blocks rather than trusting a length: a folder opens but reads nothing.
    std::string text;
    try {
        char block[65536];
        while (const std::size_t got = file.Read(block, sizeof block))
            text.append(block, got);
    } catch (const FileError&) {
        return false;
    }
    LoadText(text);
    return true;
}

void CItemDefList::LoadText(std::string_view text)
{
    // Text-mode lines: split at LF, a CR right before the LF dropped, a last line without LF kept.
    std::size_t pos = 0;
    auto nextLine = [&](std::string_view& line) {
        if (pos >= text.size())
            return false;
        std::size_t end = text.find('\n', pos);
        std::size_t next = end == std::string_view::npos ? text.size() : end + 1;
        if (end == std::string_view::npos)
            end = text.size();
        else if (end > pos && text[end - 1] == '\r')
            --end;
        line = text.substr(pos, end - pos);
        pos = next;
        return true;
    };

    std::string_view line;
    while (nextLine(line)) {
        if (line.find("begin") == std::string_view::npos)
            continue;
        auto def = std::make_unique<CItemDef>();
        def->m_strName = NameFromLine(line);
        // The next line is the id line whatever it holds; at the end of the file it is empty.
        std::string_view idLine;
        if (!nextLine(idLine))
            idLine = {};
        def->m_nId = IdFromLine(idLine);
        Add(std::move(def));
    }
}

void CItemDefList::Add(std::unique_ptr<CItemDef> def)
{
    // The first entry of an id or a name wins; later ones are kept but never found.
    const std::int32_t idOfName = m_byName.try_emplace(def->m_strName, def->m_nId).first->second;
    m_byId.try_emplace(def->m_nId, FirstOfId{m_items.size(), Contains(FoldLower(def->m_strName), "center"), idOfName});
    m_items.push_back(std::move(def));
}

const std::string& CItemDefList::NameOf(std::int32_t id) const
{
    static const std::string kNone;
    const auto it = m_byId.find(id);
    return it == m_byId.end() ? kNone : m_items[it->second.index]->m_strName;
}

std::int32_t CItemDefList::GetIdByName(std::string_view name) const
{
    const auto it = m_byName.find(name);
    return it == m_byName.end() ? 0 : it->second;
}

std::int32_t CItemDefList::IdOfNameOf(std::int32_t id) const
{
    const auto it = m_byId.find(id);
    return it == m_byId.end() ? 0 : it->second.idOfName;
}

bool CItemDefList::IsCenterKind(std::int32_t id) const
{
    const auto it = m_byId.find(id);
    return it != m_byId.end() && it->second.center;
}

} // namespace orvik
