#include "common/File.h"
#include "common/FileError.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>

using namespace orvik;

TEST(FileErrorText, KindsCarryTheirMessagesAndNames)
{
    EXPECT_EQ(FileError(FileErrorKind::FileNotFound).Message(), "an unnamed file was not found.");
    EXPECT_EQ(FileError(FileErrorKind::AccessDenied).Message(), "Access to an unnamed file was denied.");
    EXPECT_EQ(FileError(FileErrorKind::DiskFull, "/g/kqbase.pff").Message(),
              "Disk full while accessing /g/kqbase.pff.");
    EXPECT_EQ(FileError(FileErrorKind::BadSeek).Message(), "Seek failed on an unnamed file");
    EXPECT_EQ(FileErrorMessage(FileErrorKind::None, ""), "No error occurred.");
    EXPECT_EQ(FileErrorMessage(FileErrorKind::EndOfFile, "x"), "An attempt was made to access x past its end.");
    EXPECT_EQ(FileErrorMessage(FileErrorKind::TooManyOpenFiles, "f"),
              "f could not be opened because there are too many open files.");
    EXPECT_EQ(FileErrorKindFromErrno(ENOENT), FileErrorKind::FileNotFound);
    EXPECT_EQ(FileErrorKindFromErrno(EACCES), FileErrorKind::AccessDenied);
    EXPECT_EQ(FileErrorKindFromErrno(ENOSPC), FileErrorKind::DiskFull);
    EXPECT_EQ(FileErrorKindFromErrno(EMFILE), FileErrorKind::TooManyOpenFiles);
    EXPECT_EQ(FileErrorKindFromErrno(ENOTDIR), FileErrorKind::BadPath);
    EXPECT_EQ(FileErrorKindFromErrno(EIO), FileErrorKind::HardIO);
    EXPECT_EQ(FileErrorKindFromErrno(EDOM), FileErrorKind::Generic);
}

TEST(FileModel, AFailedOpenThrowsItsReasonAtFirstUse)
{
    test::ScratchDir dir;
    File missing(dir.File("absent.bin"), File::Mode::Read);
    EXPECT_FALSE(missing.IsOpen());
    char b[4];
    try {
        missing.Read(b, 4);
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::FileNotFound);
        EXPECT_EQ(e.FileName(), dir.File("absent.bin")) << "a failed open names its file";
    }
    EXPECT_THROW(missing.Seek(0), FileError);
    // A write names the full path.
    File unwritable(dir.File("no/such/folder/out.bin"), File::Mode::CreateWrite);
    try {
        unwritable.Write("x", 1);
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::FileNotFound);
        EXPECT_EQ(e.FileName(), dir.File("no/such/folder/out.bin"));
    }
    // Opening an existing file for update never creates or truncates it.
    File update(dir.File("absent.bin"), File::Mode::ReadWrite);
    EXPECT_FALSE(update.IsOpen());
    EXPECT_FALSE(test::Exists(dir.File("absent.bin")));
}

TEST(FileModel, ShortReadsSeeksAndUpdatesInPlace)
{
    test::ScratchDir dir;
    const std::string path = dir.File("data.bin");
    test::WriteBytes(path, {1, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0xFF, 9});
    File f(path, File::Mode::Read);
    EXPECT_EQ(f.Length(), 9);
    EXPECT_EQ(f.ReadInt32(), 1);
    EXPECT_EQ(f.ReadInt32(), -1);
    char rest[4];
    EXPECT_EQ(f.Read(rest, 4), 1u);
    f.Seek(6);
    try {
        f.ReadExact(rest, 4);
        FAIL();
    } catch (const FileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::EndOfFile);
    }
    EXPECT_THROW(f.Seek(-1), FileError);
    f.Close();

    File rw(path, File::Mode::ReadWrite);
    rw.Seek(4);
    rw.WriteInt32(0x01020304);
    rw.Sync();
    rw.Close();
    EXPECT_EQ(test::ReadBytes(path), (std::vector<std::uint8_t>{1, 0, 0, 0, 4, 3, 2, 1, 9}));
}

TEST(TextHelpers, DecimalConversionFollowsTheEditorsRule)
{
    EXPECT_EQ(DecimalToInt("12abc"), 12);
    EXPECT_EQ(DecimalToInt("abc"), 0);
    EXPECT_EQ(DecimalToInt(" -7"), -7);
    EXPECT_EQ(DecimalToInt("\t\n+42"), 42);
    EXPECT_EQ(DecimalToInt("- 5"), 0);
    EXPECT_EQ(DecimalToInt(""), 0);
    EXPECT_EQ(DecimalToInt("2147483648"), -2147483647 - 1); // wraps modulo 2^32
    EXPECT_EQ(DecimalToInt("4294967297"), 1);
    EXPECT_EQ(DecimalToInt("-2147483648"), -2147483647 - 1);
    EXPECT_EQ(FormatLong(-5), "-5");
    EXPECT_EQ(FormatLong(-2147483647 - 1), "-2147483648");
}

TEST(TextHelpers, FoldingAndOrderFollowWindows1252)
{
    EXPECT_EQ(FoldLower("M07_ASSAULT.BMS"), "m07_assault.bms");
    EXPECT_EQ(FoldLower("\xC0\xDE\xD7\x8A\x8C\x8E\x9F"), "\xE0\xFE\xD7\x9A\x9C\x9E\xFF");
    EXPECT_EQ(FoldLower("\xDF"), "\xDF");
    EXPECT_LT(CompareFolded("Alpha", "beta"), 0);
    EXPECT_EQ(CompareFolded("ABC", "abc"), 0);
    EXPECT_LT(CompareFolded("ab", "abc"), 0);
    // Bytes compare unsigned: accented letters after ASCII.
    EXPECT_LT(CompareFolded("z", "\xE9"), 0);
    EXPECT_LT(CompareFolded("_", "a"), 0);
}

TEST(TextHelpers, Utf8ConversionKeepsEveryByte)
{
    EXPECT_EQ(Cp1252ToUtf8("caf\xE9 \x80"), "caf\xC3\xA9 \xE2\x82\xAC");
    for (int b = 1; b < 256; ++b) {
        const std::string one(1, static_cast<char>(b));
        EXPECT_EQ(Utf8ToCp1252(Cp1252ToUtf8(one)), one) << b;
    }
    EXPECT_EQ(Utf8ToCp1252("\xE4\xB8\xAD"), "?"); // not in Windows-1252
    EXPECT_EQ(Utf8ToCp1252("a\xC3"), "a?");       // cut short
    EXPECT_EQ(Trim(" \t\v\f x y \r\n"), "x y");
}

TEST(PathHelpers, GameFolderNamesAndScratchFolders)
{
    EXPECT_EQ(GameDirectory("/games/tarn/kqbase.pff"), "/games/tarn/");
    EXPECT_EQ(GameDirectory("kqbase.pff"), "");
    for (const char* bad : {"", ".", "..", "a/b", "a\\b", "c:x", "tab\there", "\x01"})
        EXPECT_FALSE(IsSafeFileName(bad)) << bad;
    EXPECT_TRUE(IsSafeFileName("desert_c.pcx"));
    EXPECT_TRUE(IsSafeFileName("..x"));
    for (const char* bad : {"a b", "a&b", "a|b", "a<b", "a>b", "a^b", "50%", "a\"b"})
        EXPECT_FALSE(IsSafeScriptName(bad)) << bad;
    EXPECT_TRUE(IsSafeScriptName("m01_outpost.bms"));

    test::ScratchDir dir;
    test::WriteBytes(dir.File("ITEMS.DEF"), {1});
    EXPECT_EQ(FindInFolder(dir.Path(), "items.def"), dir.File("ITEMS.DEF"));
    test::WriteBytes(dir.File("items.def"), {2});
    if (test::ListFolder(dir.Path()).size() == 2) { // only where letter case tells names apart
        EXPECT_EQ(FindInFolder(dir.Path(), "items.def"), dir.File("items.def"));
    }
    EXPECT_EQ(FindInFolder(dir.Path(), "kq.pff"), dir.File("kq.pff"));

    std::string kept;
    {
        TempDir a, b;
        EXPECT_NE(a.Path(), b.Path());
        EXPECT_TRUE(std::filesystem::is_directory(a.Path()));
        test::WriteBytes(a.Path() + "temp.pcx", {1, 2});
        kept = a.Path();
    }
    EXPECT_FALSE(test::Exists(kept));
}
