#pragma once
// The characters of a table's text, whatever a spreadsheet saved it as: the encoding is found from
// the bytes, and what comes out is UTF-8, or the bytes as they stand once they proved not to be.
#include <cstddef>
#include <streambuf>
#include <string>
#include <string_view>

namespace orvik::cli {

enum class TextEncoding { Utf8, Utf16Le, Utf16Be, Windows1252 };

// "UTF-8", "UTF-16 LE", "UTF-16 BE" or "Windows-1252", for messages.
const char* EncodingName(TextEncoding encoding);

// A byte-order mark says UTF-8 or UTF-16 (LE or BE), and is dropped; UTF-16 comes out as UTF-8.
// Without one, the bytes come out as they are, and the text is UTF-8 while every byte read so far
// is well-formed UTF-8, Windows-1252 from the first one that is not. Separators, quotes and line
// ends are ASCII and so mean the same in both. Broken UTF-16, and text after UTF-8's mark that is not
// UTF-8, throw UserError naming `what`.
class CharSource {
public:
    CharSource(std::istream& in, std::string what);

    // The next character (a byte of UTF-8, or of Windows-1252), or EOF. Inline: it runs per byte.
    int Get()
    {
        if (m_next < m_pending.size())
            return static_cast<unsigned char>(m_pending[m_next++]);
        if (m_plain) {
            const int c = m_buf->sbumpc();
            if (c >= 0 && c < 0x80 && c != '\n' && m_due == 0)
                return c;
            return PlainByte(c);
        }
        return DecodedByte();
    }
    // The text up to and including the next line end, at most limit bytes, left to be read.
    std::string_view PeekLine(std::size_t limit);
    TextEncoding Encoding() const;

private:
    int PlainByte(int c);
    int DecodedByte();
    bool Decode();
    int NextUnit();
    void Check(unsigned char byte);

    std::streambuf* m_buf;
    std::string m_what;
    TextEncoding m_marked = TextEncoding::Utf8; // what a byte-order mark said, or Utf8
    bool m_hasMark = false;
    bool m_plain = false; // bytes as they stand (no UTF-16), from a stream
    std::string m_pending; // decoded bytes not yet handed out
    std::size_t m_next = 0;
    // UTF-8 checking of unmarked bytes: continuation bytes still due and the range of the next one.
    int m_due = 0;
    unsigned char m_low = 0x80, m_high = 0xBF;
    bool m_utf8 = true;
    std::size_t m_line = 1;
};

} // namespace orvik::cli
