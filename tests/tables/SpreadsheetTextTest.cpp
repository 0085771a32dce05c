// Table text in the encodings and with the separators spreadsheets write, read as orvik save reads
// it, and the refusals that say what to change.
#include "common/FileError.h"
#include "tables/TableReader.h"

#include <gtest/gtest.h>

#include <sstream>

namespace orvik::test {
namespace {

using cli::TextEncoding;

cli::TableRows Read(const std::string& bytes)
{
    std::istringstream in(bytes);
    return cli::ReadTableRows(in, cli::TableFormat::Csv, 100);
}

// UTF-16 of ASCII text with "é" written as \x01, after the mark.
std::string Utf16(const std::string& ascii, bool littleEndian)
{
    std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
    for (char c : ascii) {
        const char unit[2] = {c == '\x01' ? '\xE9' : c, '\0'};
        out += littleEndian ? std::string{unit[0], unit[1]} : std::string{unit[1], unit[0]};
    }
    return out;
}

TEST(SpreadsheetText, EncodingsAndSeparatorsAreFoundFromTheBytes)
{
    struct Case {
        const char* what;
        std::string bytes;
        TextEncoding encoding;
        std::vector<ItemRow> rows;
    };
    const ItemRow cafe{"Caf\xE9 Table", "1", "-2", "3", "4", "", ""};
    const ItemRow jeep{"Jeep; \"desert\"", "5", "6", "7", "8", "", ""};
    const Case cases[] = {
        {"UTF-8, comma", "Item,X Position,Y Position,Z Position,Angle\nCaf\xC3\xA9 Table,1,-2,3,4\n", TextEncoding::Utf8,
         {cafe}},
        {"Windows-1252, comma, CRLF", "Item,X Position,Y Position,Z Position,Angle\r\nCaf\xE9 Table,1,-2,3,4\r\n",
         TextEncoding::Windows1252, {cafe}},
        {"UTF-8 mark, semicolon, quoted header and cell",
         "\xEF\xBB\xBF\"Item\";\"X Position\";Y Position;Z Position;Angle;ID\n\"Jeep; \"\"desert\"\"\";5;6;7;8;1\n",
         TextEncoding::Utf8, {jeep}},
        {"UTF-16 LE, tab", Utf16("Item\tX Position\tY Position\tZ Position\tAngle\r\nCaf\x01 Table\t1\t-2\t3\t4\r\n", true),
         TextEncoding::Utf16Le, {cafe}},
        {"UTF-16 BE, tab", Utf16("Item\tX Position\tY Position\tZ Position\tAngle\nCaf\x01 Table\t1\t-2\t3\t4", false),
         TextEncoding::Utf16Be, {cafe}},
        {"rows of empty cells anywhere, empty columns past the last title",
         "Item;X Position;Y Position;Z Position;Angle;;\n;;;;;;\nCaf\xC3\xA9 Table;1;-2;3;4;;\n\n;;;;\n"
         "\"Jeep; \"\"desert\"\"\";5;6;7;8;;\n;;;;;;\n",
         TextEncoding::Utf8, {cafe, jeep}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const cli::TableRows table = Read(c.bytes);
        EXPECT_EQ(table.rows, c.rows);
        EXPECT_EQ(table.encoding, c.encoding);
    }
}

TEST(SpreadsheetText, RefusalsSayWhatToChange)
{
    const std::string header = "Item;X Position;Y Position;Z Position;Angle\n";
    const std::string hint = " A spreadsheet shows large numbers in short (1.79E+07) or with thousands separators";
    const std::pair<std::string, std::string> cases[] = {
        {header + "Jeep;1.79E+07;0;0;0\n", "Row 1 (line 2): \"X Position\" is \"1.79E+07\", not a whole number." + hint},
        {header + "Jeep;0;\"17,910,457\";0;0\n", "Row 1 (line 2): \"Y Position\" is \"17,910,457\", not a whole number." + hint},
        {header + "Jeep;0;0;17.910.457;0\n", "Row 1 (line 2): \"Z Position\" is \"17.910.457\", not a whole number." + hint},
        {header + "Jeep;0;0;0;-17\xC2\xA0" "910\xC2\xA0" "457\n",
         "Row 1 (line 2): \"Angle\" is \"-17\xC2\xA0" "910\xC2\xA0" "457\", not a whole number." + hint},
        {header + "Jeep;12abc;0;0;0\n", "Row 1 (line 2): \"X Position\" is \"12abc\", not a whole number."},
        {"Item|X Position\n", "The table's first line names none of the columns Item, X Position, Y Position, Z Position, "
                              "Angle: it was read as UTF-8, split at tabs, commas and semicolons."},
        {"Item;X Position;Angle\n", "The table has no column \"Y Position\" (its header line was read as UTF-8, with "
                                    "semicolons between the columns)."},
        {Utf16("Item\tX", true) + "\n", "The table ends in half a UTF-16 character: it is cut short."},
        {"\xFF\xFE" + std::string("I\0\x00\xDC", 4), "Line 1 of the table holds a broken UTF-16 character"},
        {"\xEF\xBB\xBF" + header + "Caf\xE9;0;0;0;0\n", "Line 2 of the table is not UTF-8, though the text starts with "
                                                      "UTF-8's byte-order mark: save it again as UTF-8."},
    };
    for (const auto& [bytes, message] : cases) {
        SCOPED_TRACE(bytes);
        try {
            Read(bytes);
            ADD_FAILURE() << "read";
        } catch (const UserError& e) {
            EXPECT_EQ(std::string(e.what()).substr(0, message.size()), message);
        }
    }
}

} // namespace
} // namespace orvik::test
