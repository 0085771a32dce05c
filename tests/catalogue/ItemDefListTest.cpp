#include "catalogue/ItemDefList.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvik {
namespace {

struct Entry {
    std::string name;
    std::int32_t id;
    bool operator==(const Entry&) const = default;
};

std::vector<Entry> Parse(std::string_view text)
{
    CItemDefList list;
    list.LoadText(text);
    std::vector<Entry> out;
    for (std::size_t i = 0; i < list.Size(); ++i)
        out.push_back({list.At(i).m_strName, list.At(i).m_nId});
    return out;
}

void PrintTo(const Entry& e, std::ostream* os) { *os << "{\"" << e.name << "\", " << e.id << "}"; }

TEST(ItemDefListCutting, EntriesInFileOrderWithOtherLinesIgnored)
{
    const std::vector<Entry> expected = {{"Soldier", 5}, {"Big Tree", 1234}, {"Tank", -99999}};
    EXPECT_EQ(Parse("; catalogue\n"
                    "begin \"Soldier\"\n"
                    "id 100005\n"
                    "end\n"
                    "\n"
                    "begin \"Big Tree\"\n"
                    "id 101234\n"
                    "colour 3\n"
                    "begin \"Tank\"\n"
                    "id 1\n"),
              expected);
}

TEST(ItemDefListCutting, IdLineSeparators)
{
    // "id", exactly one separator of any kind, then the number; extra blanks are leading white space.
    EXPECT_EQ(Parse("begin \"A\"\nid=100042\n"), (std::vector<Entry>{{"A", 42}}));
    EXPECT_EQ(Parse("begin \"A\"\nid  100042\n"), (std::vector<Entry>{{"A", 42}}));
    EXPECT_EQ(Parse("begin \"A\"\nid\t100042\n"), (std::vector<Entry>{{"A", 42}}));
    EXPECT_EQ(Parse("begin \"A\"\nid = 100042\n"), (std::vector<Entry>{{"A", -100000}}));
    EXPECT_EQ(Parse("begin \"A\"\nkind id 100042 more\n"), (std::vector<Entry>{{"A", 42}}));
    EXPECT_EQ(Parse("begin \"A\"\nid -5\n"), (std::vector<Entry>{{"A", -100005}}));
    EXPECT_EQ(Parse("begin \"A\"\nid\n"), (std::vector<Entry>{{"A", -100000}}));
    EXPECT_EQ(Parse("begin \"A\"\nid x\n"), (std::vector<Entry>{{"A", -100000}}));
    // Case-sensitive "id": "ID" is not found, so the number starts at the third character.
    EXPECT_EQ(Parse("begin \"A\"\nID 100042\n"), (std::vector<Entry>{{"A", 42}}));
    EXPECT_EQ(Parse("begin \"A\"\nab100042\n"), (std::vector<Entry>{{"A", 42}}));
    EXPECT_EQ(Parse("begin \"A\"\nx\n"), (std::vector<Entry>{{"A", -100000}}));
}

TEST(ItemDefListCutting, IdArithmeticWraps)
{
    EXPECT_EQ(Parse("begin \"A\"\nid -2147483648\n"), (std::vector<Entry>{{"A", 2147383648}}));
    EXPECT_EQ(Parse("begin \"A\"\nid 4294967295\n"), (std::vector<Entry>{{"A", -100001}}));
}

TEST(ItemDefListCutting, NameIsFirstQuoteToSecondLastCharacter)
{
    EXPECT_EQ(Parse("begin \"  spaced  name \"\nid 100001\n")[0].name, "  spaced  name ");
    // Whatever follows the closing quote shifts the cut: only the last character is dropped.
    EXPECT_EQ(Parse("begin \"Tank\";\nid 100001\n")[0].name, "Tank\"");
    EXPECT_EQ(Parse("begin \"a\"b\"\nid 100001\n")[0].name, "a\"b");
    // No quote: the whole line less its last character.
    EXPECT_EQ(Parse("begin Tank\nid 100001\n")[0].name, "begin Tan");
    EXPECT_EQ(Parse("begin\nid 100001\n")[0].name, "begi");
    // Nothing between the quote and the last character.
    EXPECT_EQ(Parse("begin \"\nid 100001\n")[0].name, "");
    EXPECT_EQ(Parse("begin \"\"\nid 100001\n")[0].name, "");
    EXPECT_EQ(Parse("begin \"x\nid 100001\n")[0].name, "");
}

TEST(ItemDefListCutting, WhichLinesOpenAnEntry)
{
    EXPECT_EQ(Parse("beginning \"Wall\"\nid 100002\n"), (std::vector<Entry>{{"Wall", 2}}));
    EXPECT_EQ(Parse("x=begin \"Wall\"\nid 100002\n"), (std::vector<Entry>{{"Wall", 2}}));
    EXPECT_TRUE(Parse("Begin \"Wall\"\nid 100002\nBEGIN \"X\"\nid 100003\n").empty());
    EXPECT_TRUE(Parse("").empty());
    EXPECT_TRUE(Parse("\n\n\n").empty());
}

TEST(ItemDefListCutting, NameLineFollowedByNameLine)
{
    // The second name line is the first entry's id line and opens no entry itself.
    EXPECT_EQ(Parse("begin \"A\"\nbegin \"B\" id 100003\nid 100004\n"), (std::vector<Entry>{{"A", 3}}));
    EXPECT_EQ(Parse("begin \"A\"\nbegin \"B\"\nbegin \"C\"\nid 100007\n"),
              (std::vector<Entry>{{"A", -100000}, {"C", 7}}));
}

TEST(ItemDefListCutting, LineEnds)
{
    // CR before LF is not part of the line, or the names would keep their closing quote.
    EXPECT_EQ(Parse("begin \"A\"\r\nid 100001\r\nbegin \"B\"\r\nid 100002\r\n"),
              (std::vector<Entry>{{"A", 1}, {"B", 2}}));
    // A last line without a line end still counts.
    EXPECT_EQ(Parse("begin \"A\"\nid 100009"), (std::vector<Entry>{{"A", 9}}));
    // A name line as the last line gets an empty id line.
    EXPECT_EQ(Parse("begin \"A\"\nid 100001\nbegin \"Last\"\n"), (std::vector<Entry>{{"A", 1}, {"Last", -100000}}));
    EXPECT_EQ(Parse("begin \"Last\""), (std::vector<Entry>{{"Last", -100000}}));
    // A lone CR inside a line stays in it.
    EXPECT_EQ(Parse("begin \"A\r\"\nid 100001\n")[0].name, "A\r");
}

TEST(ItemDefListLookup, FirstMatchAndExactNames)
{
    CItemDefList list;
    list.LoadText("begin \"Tree\"\nid 100010\n"
                  "begin \"Rock\"\nid 100011\n"
                  "begin \"Tree\"\nid 100012\n"
                  "begin \"Bush\"\nid 100011\n"
                  "begin \"Zero\"\nid 100000\n");
    ASSERT_EQ(list.Size(), 5u);
    EXPECT_EQ(list.GetIdByName("Tree"), 10);
    EXPECT_EQ(list.GetNameById(11), "Rock");
    EXPECT_EQ(list.GetIdByName("Bush"), 11);
    EXPECT_EQ(list.GetNameById(12), "Tree");
    // Case-sensitive, whole string.
    EXPECT_EQ(list.GetIdByName("tree"), 0);
    EXPECT_EQ(list.GetIdByName("Tre"), 0);
    EXPECT_EQ(list.GetIdByName("Tree "), 0);
    EXPECT_EQ(list.GetIdByName(""), 0);
    EXPECT_EQ(list.GetNameById(13), "");
    EXPECT_EQ(list.GetNameById(0), "Zero");
}

TEST(ItemDefListLookup, CentresAndSharedNamesFollowTheFirstEntryOfAnId)
{
    CItemDefList list;
    list.LoadText("begin \"Camp Center\"\nid 100020\n"
                  "begin \"Rock\"\nid 100021\n"
                  "begin \"Rock\"\nid 100022\n"
                  "begin \"Tree\"\nid 100020\n"      // a later entry of id 20 changes nothing
                  "begin \"CENTERPIECE\"\nid 100023\n" // any case counts
                  "begin \"Centre\"\nid 100024\n");
    const struct {
        std::int32_t id;
        bool center;
        std::int32_t idOfName;
    } cases[] = {{20, true, 20}, {21, false, 21}, {22, false, 21}, {23, true, 23}, {24, false, 24}, {25, false, 0}};
    for (const auto& c : cases) {
        EXPECT_EQ(list.IsCenterKind(c.id), c.center) << c.id;
        EXPECT_EQ(list.IdOfNameOf(c.id), c.idOfName) << c.id;
    }
}

TEST(ItemDefListLoad, ReadsFileAndAppends)
{
    test::ScratchDir dir;
    const std::string path = dir.File("items.def");
    test::WriteBytes(
        path, {'b', 'e', 'g', 'i', 'n', ' ', '"', 'A', '"', '\r', '\n', 'i', 'd', ' ', '1', '0', '0', '0', '0', '7'});
    CItemDefList list;
    ASSERT_TRUE(list.Load(path));
    ASSERT_TRUE(list.Load(path));
    ASSERT_EQ(list.Size(), 2u);
    EXPECT_EQ(list.At(1).m_strName, "A");
    EXPECT_EQ(list.At(1).m_nId, 7);
}

TEST(ItemDefListLoad, MissingFileLoadsNothing)
{
    test::ScratchDir dir;
    CItemDefList list;
    EXPECT_FALSE(list.Load(dir.File("items.def")));
    EXPECT_FALSE(list.Load(dir.Path())); // a folder is not a catalogue
    EXPECT_FALSE(list.Load(""));
    EXPECT_EQ(list.Size(), 0u);
}

} // namespace
} // namespace orvik
