#include "common/FileError.h"
#include "common/OutputFile.h"
#include "support/FileSizeLimit.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <stdexcept>

#include <sys/stat.h>

namespace fs = std::filesystem;
using namespace orvik;

namespace {

std::vector<std::uint8_t> Bytes(std::size_t size, std::uint8_t seed)
{
    std::vector<std::uint8_t> out(size);
    for (std::size_t i = 0; i < size; ++i)
        out[i] = static_cast<std::uint8_t>(seed + i * 7 + (i >> 9));
    return out;
}

unsigned Mode(const std::string& path)
{
    struct stat st {};
    ::stat(path.c_str(), &st);
    return st.st_mode & 07777;
}

TEST(OutputFile, ReplacesWholeAndLeavesNoTemporaryFile)
{
    struct Case {
        const char* what;
        std::size_t oldSize;  // 0: no old file
        std::size_t newSize;
        unsigned oldMode;
    };
    const Case cases[] = {
        {"new file", 0, 300, 0},
        {"longer old file", 5000, 300, 0640},
        {"shorter old file", 10, 70000, 0600},
        {"emptied", 400, 0, 0604},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScratchDir dir;
        const std::string target = dir.File("out.pcx");
        if (c.oldSize) {
            test::WriteBytes(target, Bytes(c.oldSize, 1));
            fs::permissions(target, static_cast<fs::perms>(c.oldMode));
        }
        WriteOutputFile(target, Bytes(c.newSize, 9).data(), c.newSize);
        EXPECT_EQ(test::ReadBytes(target), Bytes(c.newSize, 9));
        EXPECT_EQ(test::ListFolder(dir.Path()), std::vector<std::string>{"out.pcx"});
        if (c.oldSize) {
            EXPECT_EQ(Mode(target), c.oldMode);
        }
    }
}

TEST(OutputFile, LinksAndNonFilesAreRefusedBeforeAnythingIsWritten)
{
    struct Case {
        const char* what;
        void (*make)(const std::string& target, const std::string& victim);
    };
    const Case cases[] = {
        {"link to a file", [](const std::string& t, const std::string& v) { fs::create_symlink(v, t); }},
        {"dangling link", [](const std::string& t, const std::string& v) { fs::create_symlink(v + ".none", t); }},
        {"link to a folder",
         [](const std::string& t, const std::string& v) { fs::create_directory_symlink(fs::path(v).parent_path(), t); }},
        {"folder", [](const std::string& t, const std::string&) { fs::create_directory(t); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScratchDir outside;
        test::ScratchDir dir;
        const std::string victim = outside.File("users.pcx");
        test::WriteBytes(victim, Bytes(100, 3));
        const std::string target = dir.File("out.pcx");
        c.make(target, victim);
        const auto before = test::ListFolder(dir.Path());
        for (int way = 0; way < 2; ++way) {
            try {
                if (way == 0)
                    CheckOutputTarget(target);
                else
                    WriteOutputFile(target, "new", 3);
                ADD_FAILURE() << "not refused";
            } catch (const UserError& e) {
                EXPECT_NE(std::string(e.what()).find(target), std::string::npos) << e.what();
            }
        }
        EXPECT_EQ(test::ListFolder(dir.Path()), before);
        EXPECT_EQ(test::ReadBytes(victim), Bytes(100, 3));
        EXPECT_EQ(test::ListFolder(outside.Path()), std::vector<std::string>{"users.pcx"});
    }
}

TEST(OutputFile, FailureHalfWayKeepsTheOldFileAndRemovesTheTemporaryOne)
{
    // Each way of failing runs in a child; 0 means it failed as expected.
    struct Case {
        const char* what;
        std::uint64_t sizeLimit;
        int (*run)(const std::string& target);
    };
    const Case cases[] = {
        {"file-size limit during a write", 64 * 1024,
         [](const std::string& target) {
             try {
                 WriteOutputFile(target, Bytes(1 << 20, 5).data(), 1 << 20);
             } catch (const FileError& e) {
                 return e.Kind() == FileErrorKind::DiskFull && e.FileName() == target ? 0 : 2;
             }
             return 1;
         }},
        {"exception between writes", 1 << 30,
         [](const std::string& target) {
             try {
                 OutputFile out(target);
                 out.Write(Bytes(5000, 6).data(), 5000);
                 throw std::runtime_error("stopped");
             } catch (const std::runtime_error&) {
                 return 0;
             }
         }},
        {"never committed", 1 << 30,
         [](const std::string& target) {
             OutputFile out(target);
             out.Write("partial", 7);
             return 0;
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        test::ScratchDir dir;
        const std::string target = dir.File("map.pcx");
        test::WriteBytes(target, Bytes(20000, 4));
        EXPECT_EQ(test::RunWithFileSizeLimit(c.sizeLimit, [&] { return c.run(target); }), 0);
        EXPECT_EQ(test::ReadBytes(target), Bytes(20000, 4));
        EXPECT_EQ(test::ListFolder(dir.Path()), std::vector<std::string>{"map.pcx"});
    }
}

TEST(OutputFile, AFolderThatIsNotThereNamesTheTarget)
{
    test::ScratchDir dir;
    const std::string target = dir.File("absent/out.png");
    try {
        WriteOutputFile(target, "x", 1);
        ADD_FAILURE() << "no file error";
    } catch (const FileError& e) {
        EXPECT_EQ(e.Kind(), FileErrorKind::FileNotFound);
        EXPECT_EQ(e.FileName(), target);
    }
    EXPECT_TRUE(test::ListFolder(dir.Path()).empty());
}

} // namespace
