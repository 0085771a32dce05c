#include "tables/CharSource.h"

#include "common/FileError.h"
#include "common/Unicode.h"

#include <algorithm>
#include <istream>

namespace orvik::cli {

namespace {

std::string Capitalized(std::string text)
{
    if (!text.empty() && text[0] >= 'a' && text[0] <= 'z')
        text[0] = static_cast<char>(text[0] - 'a' + 'A');
    return text;
}

bool IsUtf16(TextEncoding e) { return e == TextEncoding::Utf16Le || e == TextEncoding::Utf16Be; }

} // namespace

const char* EncodingName(TextEncoding encoding)
{
    switch (encoding) {
    case TextEncoding::Utf8: return "UTF-8";
    case TextEncoding::Utf16Le: return "UTF-16 LE";
    case TextEncoding::Utf16Be: return "UTF-16 BE";
    case TextEncoding::Windows1252: return "Windows-1252";
    }
    return "?";
}

CharSource::CharSource(std::istream& in, std::string what) : m_buf(in.rdbuf()), m_what(std::move(what))
{
    if (!m_buf)
        return;
    struct Mark {
        const char* bytes;
        std::size_t size;
        TextEncoding encoding;
    };
    static const Mark marks[] = {{"\xEF\xBB\xBF", 3, TextEncoding::Utf8},
                                 {"\xFF\xFE", 2, TextEncoding::Utf16Le},
                                 {"\xFE\xFF", 2, TextEncoding::Utf16Be}};
    std::string taken;
    for (const Mark& mark : marks) {
        while (taken.size() < mark.size && taken == std::string_view(mark.bytes, taken.size())) {
            const int c = m_buf->sgetc();
            if (c == EOF || static_cast<char>(c) != mark.bytes[taken.size()])
                break;
            taken += static_cast<char>(m_buf->sbumpc());
        }
        if (taken.size() == mark.size) {
            m_marked = mark.encoding;
            m_hasMark = true;
            m_plain = !IsUtf16(m_marked);
            return;
        }
    }
    m_plain = true;
    // The start of a mark that was none is text, checked like the rest.
    for (char c : taken)
        Check(static_cast<unsigned char>(c));
    m_pending = taken;
}

TextEncoding CharSource::Encoding() const
{
    if (IsUtf16(m_marked))
        return m_marked;
    return m_utf8 ? TextEncoding::Utf8 : TextEncoding::Windows1252;
}

int CharSource::PlainByte(int c)
{
    if (c == EOF) {
        if (m_due > 0)
            Check(0); // a sequence cut short by the end
        return EOF;
    }
    Check(static_cast<unsigned char>(c));
    return c;
}

int CharSource::DecodedByte()
{
    m_pending.clear();
    m_next = 0;
    return Decode() ? static_cast<unsigned char>(m_pending[m_next++]) : EOF;
}

std::string_view CharSource::PeekLine(std::size_t limit)
{
    if (m_next == m_pending.size()) {
        m_pending.clear();
        m_next = 0;
    }
    std::size_t scanned = m_next;
    for (;;) {
        const std::size_t end = m_pending.find('\n', scanned);
        if (end != std::string::npos)
            return std::string_view(m_pending).substr(m_next, std::min(end + 1 - m_next, limit));
        scanned = m_pending.size();
        if (scanned - m_next >= limit)
            break;
        if (!m_plain) {
            if (!Decode())
                break;
        } else {
            const int c = PlainByte(m_buf->sbumpc());
            if (c == EOF)
                break;
            m_pending += static_cast<char>(c);
        }
    }
    return std::string_view(m_pending).substr(m_next, std::min(m_pending.size() - m_next, limit));
}

int CharSource::NextUnit()
{
    const int a = m_buf ? m_buf->sbumpc() : EOF;
    if (a == EOF)
        return -1;
    const int b = m_buf->sbumpc();
    if (b == EOF)
        throw UserError(Capitalized(m_what) + " ends in half a UTF-16 character: it is cut short.");
    return m_marked == TextEncoding::Utf16Le ? a | (b << 8) : (a << 8) | b;
}

// One UTF-16 character onto m_pending as UTF-8; false at the end.
bool CharSource::Decode()
{
    const int unit = NextUnit();
    if (unit < 0)
        return false;
    char32_t cp = static_cast<char32_t>(unit);
    if (unit >= 0xD800 && unit <= 0xDFFF) {
        const int low = unit <= 0xDBFF ? NextUnit() : -1;
        if (low < 0xDC00 || low > 0xDFFF)
            throw UserError("Line " + std::to_string(m_line) + " of " + m_what +
                            " holds a broken UTF-16 character (a lone surrogate).");
        cp = 0x10000 + ((cp - 0xD800) << 10) + static_cast<char32_t>(low - 0xDC00);
    }
    if (cp == '\n')
        ++m_line;
    AppendUtf8(m_pending, cp);
    return true;
}

void CharSource::Check(unsigned char byte)
{
    if (byte == '\n')
        ++m_line;
    if (!m_utf8 || (byte < 0x80 && m_due == 0))
        return;
    bool ok = true;
    if (m_due > 0) {
        ok = byte >= m_low && byte <= m_high;
        --m_due;
        m_low = 0x80;
        m_high = 0xBF;
    } else if (byte >= 0xC2 && byte <= 0xDF) {
        m_due = 1;
    } else if (byte >= 0xE0 && byte <= 0xEF) {
        m_due = 2;
        m_low = byte == 0xE0 ? 0xA0 : 0x80;
        m_high = byte == 0xED ? 0x9F : 0xBF;
    } else if (byte >= 0xF0 && byte <= 0xF4) {
        m_due = 3;
        m_low = byte == 0xF0 ? 0x90 : 0x80;
        m_high = byte == 0xF4 ? 0x8F : 0xBF;
    } else {
        ok = false;
    }
    if (ok)
        return;
    m_utf8 = false;
    if (m_hasMark)
        throw UserError("Line " + std::to_string(m_line) + " of " + m_what +
                        " is not UTF-8, though the text starts with UTF-8's byte-order mark: save it again as UTF-8.");
}

} // namespace orvik::cli
