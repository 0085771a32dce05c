#include "session/RecoveryFile.h"

#include "common/File.h"
#include "common/OutputFile.h"

#include <charconv>
#include <cstring>

namespace orvik {

namespace {

const char* const kMagic = "orvik-recovery";

// Cells and names may hold any byte; the separators and the escape itself are escaped.
void AppendEscaped(std::string& out, const std::string& text)
{
    for (const char c : text) {
        switch (c) {
        case '\\': out += "\\\\"; break;
        case '\t': out += "\\t"; break;
        case '\n': out += "\\n"; break;
        case '\r': out += "\\r"; break;
        default: out += c;
        }
    }
}

bool Unescape(std::string_view text, std::string& out)
{
    out.clear();
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\') {
            out += text[i];
            continue;
        }
        if (++i == text.size())
            return false;
        switch (text[i]) {
        case '\\': out += '\\'; break;
        case 't': out += '\t'; break;
        case 'n': out += '\n'; break;
        case 'r': out += '\r'; break;
        default: return false;
        }
    }
    return true;
}

std::vector<std::string_view> Fields(std::string_view line)
{
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    for (;;) {
        const std::size_t tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab == std::string_view::npos ? std::string_view::npos : tab - start));
        if (tab == std::string_view::npos)
            return fields;
        start = tab + 1;
    }
}

template <class Int>
bool ParseNumber(std::string_view text, Int& value, int base = 10)
{
    if (text.empty())
        return false;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value, base);
    return ec == std::errc() && end == text.data() + text.size();
}

std::string Hex(std::uint64_t value)
{
    char digits[17];
    const auto end = std::to_chars(digits, digits + 16, value, 16).ptr;
    return std::string(16 - static_cast<std::size_t>(end - digits), '0') + std::string(digits, end);
}

void AppendLine(std::string& out, std::initializer_list<std::string_view> fields)
{
    bool first = true;
    for (const std::string_view f : fields) {
        if (!first)
            out += '\t';
        out += f;
        first = false;
    }
    out += '\n';
}

// Splits the next line off rest; false at the end.
bool NextLine(std::string_view& rest, std::string_view& line)
{
    if (rest.empty())
        return false;
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos)
        return false; // every line ends with a line feed; one without was cut short
    line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    return true;
}

} // namespace

std::uint64_t HashBytes(const void* data, std::size_t size)
{
    // FNV-1a over 64-bit words, the tail byte by byte: the records of a large mission hash in a few
    // milliseconds at load.
    constexpr std::uint64_t kPrime = 0x100000001b3ULL;
    std::uint64_t hash = 0xcbf29ce484222325ULL ^ size;
    const auto* p = static_cast<const unsigned char*>(data);
    std::size_t i = 0;
    for (; i + 8 <= size; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + i, 8);
        hash = (hash ^ word) * kPrime;
        hash ^= hash >> 29;
    }
    for (; i < size; ++i)
        hash = (hash ^ p[i]) * kPrime;
    return hash;
}

std::uint64_t HashFileBytes(const std::string& path)
{
    try {
        const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
        return HashBytes(bytes.data(), bytes.size());
    } catch (const std::exception&) {
        return 0;
    }
}

std::string EncodeRecovery(const RecoveryHeader& header, std::int64_t time, const std::map<std::size_t, ItemRow>& rows)
{
    std::string out;
    out.reserve(256 + rows.size() * 64);
    AppendLine(out, {kMagic, std::to_string(kRecoveryFormatVersion)});
    std::string text;
    AppendEscaped(text, header.archivePath);
    AppendLine(out, {"archive", text});
    text.clear();
    AppendEscaped(text, header.missionName);
    AppendLine(out, {"mission", text, std::to_string(header.missionOffset)});
    AppendLine(out, {"records", Hex(header.recordsHash)});
    AppendLine(out, {"catalogue", Hex(header.catalogueHash)});
    AppendLine(out, {"time", std::to_string(time)});
    AppendLine(out, {"rows", std::to_string(header.rowCount)});
    AppendLine(out, {"edited", std::to_string(rows.size())});
    for (const auto& [index, row] : rows) {
        out += "row\t";
        out += std::to_string(index);
        for (const std::string& cell : row) {
            out += '\t';
            AppendEscaped(out, cell);
        }
        out += '\n';
    }
    AppendLine(out, {"check", Hex(HashBytes(out.data(), out.size()))});
    return out;
}

RecoveryRead DecodeRecovery(const std::string& bytes)
{
    RecoveryRead read;
    std::string_view rest(bytes);
    std::string_view line;
    if (!NextLine(rest, line))
        return read;
    std::vector<std::string_view> f = Fields(line);
    if (f.size() != 2 || f[0] != kMagic || !ParseNumber(f[1], read.version))
        return read;
    if (read.version != kRecoveryFormatVersion) {
        read.status = RecoveryReadStatus::OtherVersion;
        return read;
    }
    // The check line covers every byte before it.
    const std::size_t checkAt = bytes.rfind("check\t");
    std::uint64_t check = 0;
    if (checkAt == std::string::npos || (checkAt > 0 && bytes[checkAt - 1] != '\n') || bytes.back() != '\n' ||
        !ParseNumber(std::string_view(bytes).substr(checkAt + 6, bytes.size() - checkAt - 7), check, 16) ||
        check != HashBytes(bytes.data(), checkAt))
        return read;
    rest = std::string_view(bytes).substr(0, checkAt).substr(line.size() + 1);

    RecoveryRecord& record = read.record;
    RecoveryHeader& header = record.header;
    std::size_t edited = 0;
    std::string text;
    const auto expect = [&](const char* key, std::size_t count) {
        if (!NextLine(rest, line))
            return false;
        f = Fields(line);
        return f.size() == count && f[0] == key;
    };
    if (!expect("archive", 2) || !Unescape(f[1], header.archivePath) || !expect("mission", 3) ||
        !Unescape(f[1], header.missionName) || !ParseNumber(f[2], header.missionOffset) || !expect("records", 2) ||
        !ParseNumber(f[1], header.recordsHash, 16) || !expect("catalogue", 2) ||
        !ParseNumber(f[1], header.catalogueHash, 16) || !expect("time", 2) || !ParseNumber(f[1], record.time) ||
        !expect("rows", 2) || !ParseNumber(f[1], header.rowCount) || !expect("edited", 2) ||
        !ParseNumber(f[1], edited))
        return read;
    while (NextLine(rest, line)) {
        f = Fields(line);
        std::size_t index = 0;
        if (f.size() != 2 + kColumnCount || f[0] != "row" || !ParseNumber(f[1], index) || index >= header.rowCount)
            return read;
        ItemRow row;
        for (std::size_t c = 0; c < row.size(); ++c)
            if (!Unescape(f[2 + c], row[c]))
                return read;
        if (!record.rows.emplace(index, std::move(row)).second)
            return read;
    }
    if (!rest.empty() || record.rows.size() != edited)
        return read;
    read.status = RecoveryReadStatus::Ok;
    return read;
}

void WriteRecoveryFile(const std::string& path, const RecoveryHeader& header, std::int64_t time,
                       const std::map<std::size_t, ItemRow>& rows)
{
    WriteOutputFile(path, EncodeRecovery(header, time, rows));
}

RecoveryRead ReadRecoveryFile(const std::string& path)
{
    try {
        const std::vector<std::uint8_t> bytes = ReadWholeFile(path);
        return DecodeRecovery(std::string(bytes.begin(), bytes.end()));
    } catch (const std::exception&) {
        return {};
    }
}

} // namespace orvik
