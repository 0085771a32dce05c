// The recovery file's bytes, and the worker that keeps it up to date.
#include "session/RecoveryFile.h"
#include "session/RecoveryFolder.h"
#include "session/RecoveryWriter.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <thread>

namespace orvik {

namespace {

RecoveryHeader Header()
{
    RecoveryHeader header;
    header.archivePath = "/games/Tarn hold\\kqbase.pff";
    header.missionName = "m\xe9l\xe9""e.bms";
    header.missionOffset = 4096;
    header.recordsHash = 0x0123456789abcdefULL;
    header.catalogueHash = 0xfedcba9876543210ULL;
    header.rowCount = 200000;
    return header;
}

const std::map<std::size_t, ItemRow> kRows = {
    {0, {"Soldier", "1", "-2", "3", "90", "11", "N"}},
    {7, {"tab\there", "new\nline", "back\\slash", "cr\rx", "", "12", "Y"}},
    {199999, {"\xc0\xff", "2147483647", "-2147483648", "0", "0", "13", "N"}},
};

TEST(RecoveryFileTest, WhatIsWrittenReadsBackTheSame)
{
    const RecoveryRead read = DecodeRecovery(EncodeRecovery(Header(), 1765000000, kRows));
    ASSERT_EQ(read.status, RecoveryReadStatus::Ok);
    EXPECT_EQ(read.record.header.archivePath, Header().archivePath);
    EXPECT_EQ(read.record.header.missionName, Header().missionName);
    EXPECT_EQ(read.record.header.missionOffset, 4096u);
    EXPECT_EQ(read.record.header.recordsHash, Header().recordsHash);
    EXPECT_EQ(read.record.header.catalogueHash, Header().catalogueHash);
    EXPECT_EQ(read.record.header.rowCount, 200000u);
    EXPECT_EQ(read.record.time, 1765000000);
    EXPECT_EQ(read.record.rows, kRows);
}

TEST(RecoveryFileTest, AFileCutShortOrChangedIsDamagedAndAnotherVersionSaysSo)
{
    const std::string good = EncodeRecovery(Header(), 1765000000, kRows);
    const std::size_t rowAt = good.find("\nrow\t7");
    std::string flipped = good;
    flipped[rowAt + 8] ^= 1; // a digit of a cell
    std::string dropped = good;
    dropped.erase(rowAt, good.find('\n', rowAt + 1) - rowAt); // a whole row, check line kept
    const struct {
        const char* name;
        std::string bytes;
        RecoveryReadStatus status;
    } cases[] = {
        {"empty", "", RecoveryReadStatus::Damaged},
        {"cut before the check", good.substr(0, good.rfind("check")), RecoveryReadStatus::Damaged},
        {"cut inside the check", good.substr(0, good.size() - 3), RecoveryReadStatus::Damaged},
        {"cut in a row", good.substr(0, rowAt + 5), RecoveryReadStatus::Damaged},
        {"a byte changed", flipped, RecoveryReadStatus::Damaged},
        {"a row taken out", dropped, RecoveryReadStatus::Damaged},
        {"another program's file", "PK\x03\x04" + good, RecoveryReadStatus::Damaged},
        {"a later format", "orvik-recovery\t2\nanything at all", RecoveryReadStatus::OtherVersion},
    };
    for (const auto& c : cases)
        EXPECT_EQ(DecodeRecovery(c.bytes).status, c.status) << c.name;
}

TEST(RecoveryWriterTest, EditsReachTheFileWithinASecondAndTheFileGoesWithTheLastEditedRow)
{
    test::ScratchDir dir;
    const std::string path = dir.File("mine.orvr");
    const auto waitFor = [&](bool present) {
        const auto until = std::chrono::steady_clock::now() + std::chrono::seconds(1);
        while (std::filesystem::exists(path) != present && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        return std::filesystem::exists(path) == present;
    };
    RecoveryWriter writer(path);
    writer.Begin(Header());
    writer.SetRow(7, kRows.at(7));
    writer.SetRow(0, kRows.at(0));
    writer.SetRow(0, kRows.at(199999)); // the row's latest cells win
    ASSERT_TRUE(waitFor(true));
    writer.Flush();
    const RecoveryRead read = ReadRecoveryFile(path);
    ASSERT_EQ(read.status, RecoveryReadStatus::Ok);
    EXPECT_EQ(read.record.rows, (std::map<std::size_t, ItemRow>{{0, kRows.at(199999)}, {7, kRows.at(7)}}));

    writer.DropRow(0);
    writer.DropRow(7);
    EXPECT_TRUE(waitFor(false));
    writer.SetRow(3, kRows.at(0));
    writer.Clear();
    writer.Flush();
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST(RecoveryFolderTest, AFileIsLiveWhileItsOwnerRuns)
{
    test::ScratchDir dir;
    std::string path;
    {
        RecoveryOwner owner(dir.Path() + "recovery");
        path = owner.Path();
        WriteRecoveryFile(path, Header(), 0, kRows);
        EXPECT_TRUE(IsRecoveryLive(path));
        const std::vector<RecoveryEntry> listed = ListRecoveryFiles(dir.Path() + "recovery");
        ASSERT_EQ(listed.size(), 1u);
        EXPECT_TRUE(listed[0].live);
        EXPECT_TRUE(listed[0].archiveGone);
    }
    EXPECT_FALSE(IsRecoveryLive(path));
    EXPECT_TRUE(RemoveRecoveryFile(path));
    EXPECT_TRUE(ListRecoveryFiles(dir.Path() + "recovery").empty());
    EXPECT_TRUE(std::filesystem::is_empty(dir.Path() + "recovery"));
}

} // namespace

} // namespace orvik
