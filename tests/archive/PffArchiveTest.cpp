#include "archive/PffArchive.h"
#include "common/FileError.h"
#include "common/Text.h"
#include "support/TestSupport.h"

#include "ArchiveTestData.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <functional>

namespace orvik {
namespace {

using gamedata::PffFile;
using gamedata::PffLayout;
using gamedata::PffWrittenEntry;
using test::Pattern;

class PffArchiveTest : public ::testing::Test {
protected:
    std::string Archive(const std::vector<PffFile>& files, const PffLayout& layout = {},
                        std::vector<PffWrittenEntry>* written = nullptr)
    {
        const std::string path = m_dir.File("archive.pff");
        gamedata::WritePff(path, files, layout, written);
        return path;
    }
    std::string RawArchive(const std::vector<std::uint8_t>& bytes)
    {
        const std::string path = m_dir.File("raw.pff");
        test::WriteBytes(path, bytes);
        return path;
    }

    test::ScratchDir m_dir;
    test::ScratchDir m_out;
};

TEST_F(PffArchiveTest, WalkGivesTableOrderWhateverTheLayout)
{
    const std::vector<PffFile> files = {{"first.txt", Pattern(17, 1)},
                                        {"Mission.BMS", Pattern(300, 2)},
                                        {"empty", {}},
                                        {"SIXTEENCHARSNAME", Pattern(5, 3)},
                                        {"fifteen_chars.x", Pattern(1, 4)}};
    for (const PffLayout layout :
         {PffLayout{1, false, 0}, PffLayout{99, true, 0}, PffLayout{7, false, 13}, PffLayout{12345, true, 3}}) {
        SCOPED_TRACE(layout.seed);
        std::vector<PffWrittenEntry> written;
        const std::string path = Archive(files, layout, &written);
        File archive(path, File::Mode::Read);
        CPffArchive reader;
        std::vector<PffEntry> seen;
        reader.WalkEntries(archive, [&](const PffEntry& e) {
            seen.push_back(e);
            return true;
        });
        ASSERT_EQ(seen.size(), written.size());
        for (std::size_t i = 0; i < seen.size(); ++i) {
            EXPECT_EQ(seen[i].index, i);
            EXPECT_EQ(seen[i].name, files[i].name);
            EXPECT_EQ(static_cast<std::uint32_t>(seen[i].dataOffset), written[i].dataOffset);
            EXPECT_EQ(seen[i].dataSize, written[i].dataSize);
        }
        EXPECT_EQ(reader.EntryCount(), 5);

        // Every entry comes out byte for byte, found by any letter case.
        for (const auto& f : files) {
            std::string mixed = f.name;
            for (std::size_t k = 0; k < mixed.size(); k += 2)
                mixed[k] = static_cast<char>(std::toupper(static_cast<unsigned char>(mixed[k])));
            reader.ExtractFile(path, mixed, m_out.Path());
            EXPECT_EQ(test::ReadBytes(m_out.File(FoldLower(f.name))), f.data) << f.name;
        }
    }
}

TEST_F(PffArchiveTest, WalkStopsWhenTheVisitorSaysSo)
{
    const std::string path = Archive({{"a", {}}, {"b", {}}, {"c", {}}});
    File archive(path, File::Mode::Read);
    CPffArchive reader;
    int visits = 0;
    reader.WalkEntries(archive, [&](const PffEntry& e) {
        ++visits;
        return e.name != "b";
    });
    EXPECT_EQ(visits, 2);
}

TEST_F(PffArchiveTest, NamesFoldedFirstMatchWins)
{
    const std::string path = Archive({{"MAP.PCX", Pattern(40, 1)},
                                      {"Twin.txt", Pattern(8, 2)},
                                      {"TWIN.TXT", Pattern(9, 3)},
                                      {"\xC4RA.BMS", Pattern(12, 4)}});
    CPffArchive reader;
    reader.ExtractFile(path, "map.pcx", m_out.Path());
    reader.ExtractFile(path, "twin.TXT", m_out.Path());
    reader.ExtractFile(path, "\xE4ra.bms", m_out.Path());
    EXPECT_EQ(test::ListFolder(m_out.Path()),
              (std::vector<std::string>{"map.pcx", "twin.txt", test::StoredName("\xE4ra.bms")}));
    EXPECT_EQ(test::ReadBytes(m_out.File("map.pcx")), Pattern(40, 1));
    EXPECT_EQ(test::ReadBytes(m_out.File("twin.txt")), Pattern(8, 2));
    EXPECT_EQ(test::ReadBytes(m_out.File("\xE4ra.bms")), Pattern(12, 4));

    File archive(path, File::Mode::Read);
    const auto found = reader.FindEntry(archive, "TwIn.TxT");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->index, 1u);
    EXPECT_FALSE(reader.FindEntry(archive, "twin").has_value());
}

TEST_F(PffArchiveTest, FullSixteenByteNames)
{
    // A name that fills its field has no NUL: it is taken whole and no further.
    const std::string path =
        Archive({{"ABCDEFGHIJKL.PCX", Pattern(3, 1)}, {"abcdefghijklmno", Pattern(4, 2)}}, PffLayout{77, true, 5});
    CPffArchive reader;
    reader.ExtractFile(path, "abcdefghijkl.pcx", m_out.Path());
    reader.ExtractFile(path, "ABCDEFGHIJKLMNO", m_out.Path());
    reader.ExtractFile(path, "abcdefghijkl.pc", m_out.Path());
    EXPECT_EQ(test::ListFolder(m_out.Path()), (std::vector<std::string>{"abcdefghijkl.pcx", "abcdefghijklmno"}));
    EXPECT_EQ(test::ReadBytes(m_out.File("abcdefghijkl.pcx")), Pattern(3, 1));
    EXPECT_EQ(test::ReadBytes(m_out.File("abcdefghijklmno")), Pattern(4, 2));
}

TEST_F(PffArchiveTest, OutputIsReplacedEmptyOrAbsent)
{
    const std::string path = Archive({{"a.txt", Pattern(10, 1)}, {"zero.dat", {}}});
    test::WriteBytes(m_out.File("a.txt"), Pattern(5000, 9));
    test::WriteBytes(m_out.File("zero.dat"), Pattern(20, 9));
    CPffArchive reader;
    reader.ExtractFile(path, "a.txt", m_out.Path());
    reader.ExtractFile(path, "zero.dat", m_out.Path());
    EXPECT_EQ(test::ReadBytes(m_out.File("a.txt")), Pattern(10, 1));
    EXPECT_TRUE(test::Exists(m_out.File("zero.dat")));
    EXPECT_EQ(test::ReadBytes(m_out.File("zero.dat")).size(), 0u);

    // A name that is not there writes nothing and says nothing.
    EXPECT_NO_THROW(reader.ExtractFile(path, "missing.txt", m_out.Path()));
    EXPECT_FALSE(test::Exists(m_out.File("missing.txt")));
    EXPECT_EQ(test::ListFolder(m_out.Path()).size(), 2u);
}

TEST_F(PffArchiveTest, BlocksJoinUpToTheWholeEntry)
{
    // Larger than one copy block, so the data crosses block boundaries.
    const auto big = Pattern((4u << 20) + 7, 5);
    const std::string path = Archive({{"small", Pattern(3, 1)}, {"big.pcx", big}}, PffLayout{3, false, 11});
    CPffArchive reader;
    reader.ExtractFile(path, "big.pcx", m_out.Path());
    EXPECT_EQ(test::ReadBytes(m_out.File("big.pcx")), big);
}

TEST_F(PffArchiveTest, ExtractToAGivenPath)
{
    const std::string path = Archive({{"DESC.TXT", Pattern(33, 1)}, {"desc.txt", Pattern(2, 2)}});
    CPffArchive reader;
    const std::string target = m_out.File("scratch.bin");
    EXPECT_TRUE(reader.ExtractTo(path, "Desc.txt", target));
    EXPECT_EQ(test::ReadBytes(target), Pattern(33, 1));
    EXPECT_FALSE(reader.ExtractTo(path, "other.txt", m_out.File("other.bin")));
    EXPECT_EQ(test::ListFolder(m_out.Path()), (std::vector<std::string>{"scratch.bin"}));
}

TEST_F(PffArchiveTest, CountOfZeroOrLessScansNothing)
{
    auto bytes = gamedata::BuildPff({{"a.txt", Pattern(4, 1)}}, PffLayout{5, true, 0});
    CPffArchive reader;
    for (const std::int64_t count : {0LL, -1LL, -2147483648LL}) {
        test::Patch32(bytes, 8, count);
        const std::string path = RawArchive(bytes);
        EXPECT_NO_THROW(reader.ExtractFile(path, "a.txt", m_out.Path())) << count;
        EXPECT_EQ(reader.EntryCount(), count);
    }
    EXPECT_TRUE(test::ListFolder(m_out.Path()).empty());
}

void ExpectDamaged(const std::function<void()>& run)
{
    try {
        run();
        ADD_FAILURE() << "no file error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::EndOfFile);
        EXPECT_EQ(e.Message(), "An attempt was made to access an unnamed file past its end.");
    }
}

TEST_F(PffArchiveTest, DamagedArchivesAreEndOfFileErrorsAndWriteNothing)
{
    const std::vector<PffFile> files = {{"one.txt", Pattern(100, 1)}, {"two.txt", Pattern(50, 2)}};
    const auto good = gamedata::BuildPff(files, PffLayout{21, false, 2});
    const auto goodFirst = gamedata::BuildPff(files, PffLayout{22, true, 2});
    using Damage = std::pair<const char*, std::vector<std::uint8_t>>;
    std::vector<Damage> cases;
    cases.push_back({"empty file", {}});
    cases.push_back({"short header", std::vector<std::uint8_t>(good.begin(), good.begin() + 19)});
    {
        auto b = good; // the table's last entry cut off
        b.resize(b.size() - 1);
        cases.push_back({"table cut", b});
    }
    {
        auto b = good; // a count far beyond the file: nothing may be allocated for it
        test::Patch32(b, 8, 0x7FFFFFFF);
        cases.push_back({"huge count", b});
    }
    {
        auto b = good;
        test::Patch32(b, 16, static_cast<std::int64_t>(b.size()));
        cases.push_back({"table past end", b});
    }
    {
        auto b = good;
        test::Patch32(b, 16, -32);
        cases.push_back({"negative table offset", b});
    }
    {
        auto b = goodFirst; // second entry's data one byte past the end
        const auto at = test::EntryField(b, 1, 8);
        test::Patch32(b, at, GetInt32(b.data() + at) + 1);
        cases.push_back({"data past end", b});
    }
    {
        auto b = goodFirst; // a size near 4 GiB
        test::Patch32(b, test::EntryField(b, 1, 8), 0xFFFFFFF0);
        cases.push_back({"huge size", b});
    }
    {
        auto b = good;
        test::Patch32(b, test::EntryField(b, 1, 4), -4);
        cases.push_back({"negative data offset", b});
    }
    {
        auto b = good;
        test::Patch32(b, test::EntryField(b, 1, 4), static_cast<std::int64_t>(b.size()));
        cases.push_back({"data offset past end", b});
    }
    for (const auto& [what, bytes] : cases) {
        SCOPED_TRACE(what);
        const std::string path = RawArchive(bytes);
        // An earlier export of the same name stays as it was.
        test::WriteBytes(m_out.File("two.txt"), {'o', 'l', 'd'});
        CPffArchive reader;
        ExpectDamaged([&] { reader.ExtractFile(path, "two.txt", m_out.Path()); });
        ExpectDamaged([&] { reader.ExtractTo(path, "two.txt", m_out.File("other.bin")); });
        EXPECT_EQ(test::ListFolder(m_out.Path()), (std::vector<std::string>{"two.txt"}));
        EXPECT_EQ(test::ReadText(m_out.File("two.txt")), "old");
    }
}

TEST_F(PffArchiveTest, DamagedEntryDoesNotHideTheGoodOnes)
{
    const std::vector<PffFile> files = {
        {"one.txt", Pattern(100, 1)}, {"two.txt", Pattern(50, 2)}, {"three.txt", Pattern(70, 3)}};
    auto bytes = gamedata::BuildPff(files, PffLayout{23, true, 0});
    test::Patch32(bytes, test::EntryField(bytes, 1, 8), 0x7FFFFFF0); // "two.txt" claims far too much
    const std::string path = RawArchive(bytes);
    CPffArchive reader;
    reader.ExtractFile(path, "three.txt", m_out.Path());
    EXPECT_EQ(test::ReadBytes(m_out.File("three.txt")), Pattern(70, 3));
    ExpectDamaged([&] { reader.ExtractFile(path, "two.txt", m_out.Path()); });
    EXPECT_FALSE(test::Exists(m_out.File("two.txt")));
}

TEST_F(PffArchiveTest, ArchiveThatCannotBeOpened)
{
    CPffArchive reader;
    for (const std::string& path : {m_dir.File("nothing.pff"), std::string()}) {
        try {
            reader.ExtractFile(path, "a.txt", m_out.Path());
            ADD_FAILURE() << "no file error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Kind(), FileErrorKind::FileNotFound);
            EXPECT_EQ(e.Message(), (path.empty() ? "an unnamed file" : path) + " was not found.");
        }
    }
    EXPECT_TRUE(test::ListFolder(m_out.Path()).empty());
}

TEST_F(PffArchiveTest, OutputThatCannotBeCreatedNamesItsPath)
{
    const std::string path = Archive({{"a.txt", Pattern(4, 1)}, {"e", {}}});
    CPffArchive reader;
    for (const char* name : {"a.txt", "e"}) {
        const std::string dest = m_out.File("no-such-folder/");
        try {
            reader.ExtractFile(path, name, dest);
            ADD_FAILURE() << "no file error";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Kind(), FileErrorKind::FileNotFound);
            EXPECT_EQ(e.FileName(), dest + name);
        }
    }
}

TEST_F(PffArchiveTest, UnsafeNamesAreRefusedBeforeAnythingIsWritten)
{
    // The archive really holds entries of these names, so a careless reader would write them.
    const std::string sub = m_out.File("game/");
    std::filesystem::create_directory(sub);
    const std::vector<std::string> names = {"../x",
                                            "a/b",
                                            "a\\b",
                                            "c:x",
                                            ".",
                                            "..",
                                            "",
                                            "a\x01"
                                            "b",
                                            "tab\tx",
                                            "line\nx",
                                            "del\x7F"};
    std::vector<PffFile> files;
    for (const auto& n : names)
        files.push_back({n, Pattern(6, 1)});
    const std::string path = Archive(files);
    CPffArchive reader;
    for (const auto& name : names) {
        SCOPED_TRACE(name);
        try {
            reader.ExtractFile(path, name, sub);
            ADD_FAILURE() << "not refused";
        } catch (const UserError& e) {
            EXPECT_NE(std::string(e.what()).find("\"" + name + "\""), std::string::npos) << e.what();
        }
    }
    // Refused even before the archive is looked at.
    EXPECT_THROW(reader.ExtractFile(m_dir.File("absent.pff"), "../x", sub), UserError);
    EXPECT_EQ(test::ListFolder(m_out.Path()), (std::vector<std::string>{"game"}));
    EXPECT_TRUE(test::ListFolder(sub).empty());
    EXPECT_EQ(test::ListFolder(m_dir.Path()), (std::vector<std::string>{"archive.pff"}));
}

} // namespace
} // namespace orvik
