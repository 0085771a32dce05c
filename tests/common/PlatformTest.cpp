// What the platform layer promises on every system: UTF-8 paths of any script reach the file
// system whole, Windows' error codes mean what errno's mean, and locks are taken in turn without
// stopping the holder's own reads and writes.
#include "archive/PffArchive.h"
#include "common/File.h"
#include "common/FileError.h"
#include "common/MappedFile.h"
#include "common/NativePath.h"
#include "common/OutputFile.h"
#include "common/Paths.h"
#include "common/Text.h"
#include "common/Unicode.h"
#include "gamedata/PffWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

using namespace orvik;

namespace {

TEST(Unicode, Utf8AndUtf16ConvertBothWays)
{
    struct Case {
        const char* what;
        std::string utf8;
        std::u16string utf16;
        bool roundTrip; // whether utf16 converts back to the same bytes
    };
    const Case cases[] = {
        {"ascii", "kqbase.pff", u"kqbase.pff", true},
        {"two bytes", "caf\xC3\xA9", u"caf\u00E9", true},
        {"Cyrillic", "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0", u"\u0418\u0433\u0440\u0430", true},
        {"three bytes", "\xE2\x98\x83", u"\u2603", true},
        {"emoji, a surrogate pair", "\xF0\x9F\x8E\xAE!", u"\U0001F3AE!", true},
        {"highest code point", "\xF4\x8F\xBF\xBF", u"\U0010FFFF", true},
        {"a Windows-1252 byte alone", "\xE4ra", u"\u00E4ra", false},
        {"Windows-1252 euro sign", "\x80", u"\u20AC", false},
        {"cut short", "a\xC3", u"a\u00C3", false},
        {"overlong slash", "\xC0\xAF", u"\u00C0\u00AF", false},
        {"encoded surrogate", "\xED\xA0\x80", u"\u00ED\u00A0\u20AC", false},
        {"past U+10FFFF", "\xF4\x90\x80\x80", u"\u00F4\u0090\u20AC\u20AC", false},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16) << c.what;
        EXPECT_EQ(Utf16ToUtf8(c.utf16) == c.utf8, c.roundTrip) << c.what;
    }
    // An unpaired surrogate cannot be written as UTF-8.
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xD800') + u"x"), "\xEF\xBF\xBDx");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, u'\xDC00')), "\xEF\xBF\xBD");
}

TEST(Unicode, MessagesConvertOnlyWhatIsNotUtf8Already)
{
    const std::pair<std::string, std::string> cases[] = {
        {"plain", "plain"},
        {"/home/\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0/kq.pff was not found.",
         "/home/\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0/kq.pff was not found."},
        {"Caf\xE9 (Night)", "Caf\xC3\xA9 (Night)"},
        {"\x80 5", "\xE2\x82\xAC 5"},
    };
    for (const auto& [in, out] : cases)
        EXPECT_EQ(MessageToUtf8(in), out) << in;
}

TEST(WindowsErrors, CodesMeanWhatErrnoMeans)
{
    const std::pair<unsigned long, FileErrorKind> cases[] = {
        {0, FileErrorKind::None},
        {2, FileErrorKind::FileNotFound}, // ERROR_FILE_NOT_FOUND
        {3, FileErrorKind::FileNotFound}, // ERROR_PATH_NOT_FOUND, as ENOENT for a missing folder
        {4, FileErrorKind::TooManyOpenFiles},
        {5, FileErrorKind::AccessDenied},
        {6, FileErrorKind::InvalidFile},
        {19, FileErrorKind::AccessDenied}, // write-protected, as EROFS
        {32, FileErrorKind::SharingViolation},
        {33, FileErrorKind::LockViolation},
        {39, FileErrorKind::DiskFull},
        {112, FileErrorKind::DiskFull},
        {1295, FileErrorKind::DiskFull},   // quota, as EDQUOT
        {80, FileErrorKind::AccessDenied}, // exists, as EEXIST
        {123, FileErrorKind::BadPath},
        {206, FileErrorKind::BadPath},
        {267, FileErrorKind::BadPath},
        {131, FileErrorKind::BadSeek},
        {23, FileErrorKind::HardIO},
        {1117, FileErrorKind::HardIO},
        {999999, FileErrorKind::Generic},
    };
    for (const auto& [code, kind] : cases) {
        EXPECT_EQ(FileErrorKindFromWindowsError(code), kind) << code;
        // Every mapped code has its errno, and that errno gives the same kind.
        if (const int err = ErrnoFromWindowsError(code)) {
            EXPECT_EQ(FileErrorKindFromErrno(err), kind) << code;
        }
    }
    EXPECT_EQ(FileErrorKindFromErrorCode({}), FileErrorKind::None);
    EXPECT_EQ(FileErrorKindFromErrorCode(std::make_error_code(std::errc::no_such_file_or_directory)),
              FileErrorKind::FileNotFound);
}

// Folder and file names in scripts the system's 8-bit code page cannot hold.
const char* const kUnicodeNames[] = {
    "\xD0\x98\xD0\xB3\xD1\x80\xD0\xB0 \xD0\xA2\xD0\xB0\xD1\x80\xD0\xBD", // Cyrillic with a blank
    "\xF0\x9F\x8E\xAE mods",                                             // an emoji
    "\xE4\xB8\xAD\xE6\x96\x87",                                          // Chinese
};

TEST(UnicodePaths, EveryFileCallTakesTheNameWhole)
{
    test::ScratchDir scratch;
    for (const char* name : kUnicodeNames) {
        SCOPED_TRACE(name);
        const std::string dir = scratch.File(name) + "/";
        ASSERT_TRUE(std::filesystem::create_directory(PathFromUtf8(dir)));
        const auto listed = test::ListFolder(scratch.Path());
        EXPECT_NE(std::find(listed.begin(), listed.end(), name), listed.end());

        const std::string file = dir + name + ".pff";
        gamedata::WritePff(file, {{"m.bms", {1, 2, 3}}, {"kq.ter", {4}}});
        MappedFile mapped;
        ASSERT_TRUE(mapped.Open(file));
        EXPECT_EQ(static_cast<std::int64_t>(mapped.Size()), File(file, File::Mode::Read).Length());
        EXPECT_EQ(FindInFolder(dir, FoldLower(std::string(name) + ".PFF")), file);

        CPffArchive archive;
        ASSERT_TRUE(archive.ExtractFile(file, "m.bms", dir));
        EXPECT_EQ(test::ReadBytes(dir + "m.bms"), (std::vector<std::uint8_t>{1, 2, 3}));

        WriteOutputFile(dir + name + ".txt", std::string("new"));
        WriteOutputFile(dir + name + ".txt", std::string("newer"));
        EXPECT_EQ(test::ReadText(dir + name + ".txt"), "newer");
        EXPECT_EQ(test::ListFolder(dir).size(), 3u) << "no temporary file left";

        File missing(dir + "absent.pff", File::Mode::Read);
        try {
            missing.Length();
            ADD_FAILURE() << "a missing file read";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Kind(), FileErrorKind::FileNotFound);
            EXPECT_EQ(e.FileName(), dir + "absent.pff");
        }
    }
}

TEST(SafeNames, WindowsDevicesAndNamesItWouldAlterAreRefusedThere)
{
#ifdef _WIN32
    const bool windows = true;
#else
    const bool windows = false;
#endif
    // name, safe on Windows; every one is safe elsewhere.
    const std::pair<const char*, bool> cases[] = {
        {"nul", false},      {"NUL.pcx", false}, {"con.bms", false},  {"Aux.ter", false}, {"prn", false},
        {"com1.txt", false}, {"LPT9", false},    {"nul .pcx", false}, {"map.", false},    {"map ", false},
        {"com0", true},      {"com10", true},    {"null.pcx", true},  {"console", true},  {"a.nul", true},
        {"lpt.bms", true},   {"raid.bms", true},
    };
    for (const auto& [name, safeOnWindows] : cases)
        EXPECT_EQ(IsSafeFileName(name), windows ? safeOnWindows : true) << name;
}

TEST(FileLocks, TakenInTurnWithoutStoppingTheHoldersOwnReadsAndWrites)
{
    test::ScratchDir scratch;
    const std::string path = scratch.File("kqbase.pff");
    test::WriteBytes(path, {1, 2, 3, 4});
    File holder(path, File::Mode::ReadWrite), other(path, File::Mode::ReadWrite);
    holder.Lock();
    EXPECT_FALSE(other.TryLock()) << "a second open of the file must wait its turn";
    // The lock is advisory: the data stays readable and writable through any handle.
    other.Seek(1);
    std::uint8_t b = 0;
    other.ReadExact(&b, 1);
    EXPECT_EQ(b, 2);
    other.Seek(2);
    other.Write("\x09", 1);
    other.Sync();
    EXPECT_EQ(test::ReadBytes(path), (std::vector<std::uint8_t>{1, 2, 9, 4}));
    holder.Close();
    EXPECT_TRUE(other.TryLock());
}

} // namespace
