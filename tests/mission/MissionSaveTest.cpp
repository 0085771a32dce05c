// Save into the archive: in place, inside the entry, atomic through the journal, and never over
// another program's changes.
#include "mission/MissionSave.h"
#include "archive/SaveJournal.h"
#include "common/FaultPoint.h"
#include "common/FileError.h"
#include "mission/MissionTestData.h"
#include "support/Process.h"
#include "support/TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <memory>

#ifdef _WIN32
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include "common/NativePath.h"
#endif

namespace orvik {
namespace {

using gamedata::MissionSpec;
using test::MakeItem;

const SaveOptions kOverwrite{true, true};
const SaveOptions kNoBackup{false, false};

CItemDefList MakeCatalogue()
{
    CItemDefList catalogue;
    catalogue.LoadText("begin \"Soldier\"\nid 100005\nbegin \"Tank\"\nid 100020\nbegin \"Crate\"\nid 100030\n");
    return catalogue;
}

class MissionSaveTest : public ::testing::Test {
public:
    // Two missions with junk between them; the first has count items.
    void Build(std::size_t count = 3, bool endMark = true, std::uint32_t gap = 7, std::uint32_t tail = 24)
    {
        MissionSpec first;
        for (std::size_t i = 0; i < count; ++i)
            first.items.push_back(
                MakeItem(i % 3 == 1 ? 20 : 5, static_cast<std::uint32_t>(i + 1), i == 0 ? 16 | 8 : 0));
        first.endMark = endMark;
        first.tailSize = tail;
        MissionSpec second;
        second.items = {MakeItem(5, 4), MakeItem(30, 5, 16)};
        second.seed = 3;
        gamedata::PffLayout layout;
        layout.seed = 8;
        layout.gapBetween = gap;
        gamedata::WritePff(path,
                           {{"One.bms", gamedata::BuildMission(first)}, {"two.bms", gamedata::BuildMission(second)}},
                           layout, &entries);
        original = test::ReadBytes(path);
        mission = {"one.bms", "", entries[0].dataOffset, entries[0].dataSize};
    }

    bool Load(CMissionModel& into, const std::string& from = {}) const
    {
        into.Clear();
        File f(from.empty() ? path : from, File::Mode::Read);
        return into.ReadItems(f, mission.offset, mission.size);
    }

    // The loaded rows with every X moved by dx.
    std::vector<ItemRow> Moved(const CMissionModel& from, int dx) const
    {
        std::vector<ItemRow> rows;
        for (const auto& item : from.items) {
            rows.push_back(ItemToRow(*item, catalogue));
            rows.back()[kColX] = std::to_string(item->m_nX + dx);
        }
        return rows;
    }

    // The archive as a successful save of rows leaves it, made on a copy.
    std::vector<std::uint8_t> SavedCopy(const std::vector<ItemRow>& rows) const
    {
        const std::string copy = dir.File("copy.pff");
        test::WriteBytes(copy, original);
        CMissionModel m;
        Load(m, copy);
        EXPECT_TRUE(SaveMission(copy, mission, m, rows, catalogue).saved);
        return test::ReadBytes(copy);
    }

    bool JournalLeft() const { return test::Exists(JournalPath(path)); }

    test::ScratchDir dir;
    std::string path = dir.File("kqbase.pff");
    std::vector<gamedata::PffWrittenEntry> entries;
    std::vector<std::uint8_t> original;
    MissionInfo mission;
    const CItemDefList catalogue = MakeCatalogue();
    CMissionModel model;
};

TEST_F(MissionSaveTest, SavesTheEditedRecordsInPlaceAndNothingElse)
{
    Build();
    ASSERT_TRUE(Load(model));
    std::vector<ItemRow> rows = Moved(model, 0);
    rows[1][kColItem] = "Soldier";
    rows[1][kColX] = "-1000";
    rows[2][kColAngle] = "270";
    rows[0][kColMpOnly] = "N"; // shown only
    rows[0][kColId] = "12345"; // shown only
    const SaveOutcome outcome = SaveMission(path, mission, model, rows, catalogue);
    EXPECT_EQ(outcome.status, SaveStatus::Saved);
    EXPECT_EQ(outcome.message, "Data saved!");
    EXPECT_FALSE(JournalLeft());

    CMissionModel saved;
    ASSERT_TRUE(Load(saved));
    ASSERT_EQ(saved.items.size(), 3u);
    EXPECT_EQ(saved.items[0]->m_nFlags, 16 | 8);
    EXPECT_EQ(saved.items[1]->m_nId, 5);
    EXPECT_EQ(saved.items[1]->m_nX, -1000);
    EXPECT_EQ(saved.items[2]->m_nAngle, 270);
    EXPECT_EQ(saved.loadedRecords, model.loadedRecords) << "the model knows what the disk holds now";

    const auto now = test::ReadBytes(path);
    ASSERT_EQ(now.size(), original.size());
    const std::size_t begin = mission.offset + 264, end = begin + 3 * 96;
    for (std::size_t i = 0; i < now.size(); ++i) {
        if (i < begin || i >= end) {
            ASSERT_EQ(now[i], original[i]) << "byte " << i;
        }
    }

    // A second save of the same table finds its own records on disk: no conflict.
    EXPECT_TRUE(SaveMission(path, mission, model, rows, catalogue).saved);
}

TEST_F(MissionSaveTest, RefusalsWriteNothing)
{
    Build();
    ASSERT_TRUE(Load(model));
    std::vector<ItemRow> rows = Moved(model, 5);
    rows[2][kColItem] = "tank"; // the catalogue spells it "Tank"
    SaveOutcome outcome = SaveMission(path, mission, model, rows, catalogue);
    EXPECT_EQ(outcome.status, SaveStatus::InvalidName);
    EXPECT_EQ(outcome.badRow, 2u);
    EXPECT_EQ(outcome.message, "Invalid item name \"tank\" aborting save.");
    EXPECT_EQ(test::ReadBytes(path), original);
    // A refused name never even opens the archive.
    EXPECT_FALSE(SaveMission(dir.File("nothere.pff"), mission, model, rows, catalogue).saved);
    EXPECT_FALSE(test::Exists(dir.File("nothere.pff")));

    struct Case {
        const char* what;
        std::string archive;
        FileErrorKind kind;
    };
    std::filesystem::create_directory(dir.File("folder.pff"));
    for (const Case& c : {Case{"missing", dir.File("nothere.pff"), FileErrorKind::FileNotFound},
                          Case{"folder", dir.File("folder.pff"), FileErrorKind::AccessDenied}}) {
        try {
            SaveMission(c.archive, mission, model, Moved(model, 1), catalogue);
            ADD_FAILURE() << c.what << ": saved";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Kind(), c.kind) << c.what;
            EXPECT_EQ(e.FileName(), c.archive) << c.what << ": the message names the archive";
        }
    }
    EXPECT_FALSE(test::Exists(dir.File("nothere.pff")));

    std::filesystem::permissions(path, std::filesystem::perms::owner_read, std::filesystem::perm_options::replace);
    if (!File(path, File::Mode::ReadWrite).IsOpen()) {
        try {
            SaveMission(path, mission, model, Moved(model, 1), catalogue);
            ADD_FAILURE() << "saved into a read-only archive";
        } catch (const FileError& e) {
            EXPECT_EQ(e.Message(), "Access to " + path + " was denied.");
        }
    }
    std::filesystem::permissions(path, std::filesystem::perms::owner_all, std::filesystem::perm_options::replace);
    EXPECT_EQ(test::ReadBytes(path), original);
    EXPECT_FALSE(JournalLeft());
}

TEST_F(MissionSaveTest, AnotherProgramsChangesAreNeverOverwrittenSilently)
{
    // Each case changes the archive between the load and the save.
    struct Case {
        const char* what;
        std::function<void(MissionSaveTest&)> change;
        SaveStatus status;
    };
    const Case cases[] = {
        {"repacked: the mission moved", [](MissionSaveTest& t) { t.Build(3, true, 40); }, SaveStatus::EntryMoved},
        {"repacked: the mission grew", [](MissionSaveTest& t) { t.Build(3, true, 7, 60); }, SaveStatus::EntryMoved},
        {"another save in between",
         [](MissionSaveTest& t) {
             CMissionModel other;
             t.Load(other);
             ASSERT_TRUE(SaveMission(t.path, t.mission, other, t.Moved(other, 77), t.catalogue).saved);
         },
         SaveStatus::ChangedOnDisk},
        {"nothing", [](MissionSaveTest&) {}, SaveStatus::Saved},
    };
    for (const Case& c : cases) {
        Build();
        const MissionInfo loaded = mission;
        ASSERT_TRUE(Load(model));
        c.change(*this);
        const auto before = test::ReadBytes(path);
        const SaveOutcome outcome = SaveMission(path, loaded, model, Moved(model, 1), catalogue);
        EXPECT_EQ(outcome.status, c.status) << c.what;
        EXPECT_EQ(outcome.saved, c.status == SaveStatus::Saved) << c.what;
        if (c.status == SaveStatus::Saved)
            continue;
        EXPECT_EQ(test::ReadBytes(path), before) << c.what;
        if (c.status == SaveStatus::ChangedOnDisk) {
            EXPECT_EQ(outcome.message, "one.bms changed on disk since it was loaded. Overwrite those changes?");
            // A yes overwrites them.
            EXPECT_TRUE(SaveMission(path, loaded, model, Moved(model, 1), catalogue, kOverwrite).saved) << c.what;
            CMissionModel now;
            Load(now);
            EXPECT_EQ(now.items[0]->m_nX, model.items[0]->m_nX);
        }
    }
}

TEST_F(MissionSaveTest, AMissionIsFoundByItsListedNameNeverByItsPlaceAlone)
{
    Build();
    // After a repack another mission may stand where the list saw this one.
    const std::uint32_t second = entries[1].dataOffset;
    EXPECT_FALSE(FindMissionEntry(path, second, "one.bms").has_value());
    EXPECT_EQ(FindMissionEntry(path, second, "TWO.bms")->name, "two.bms");
    // A name with a blank is listed up to the blank, and found by that part.
    gamedata::WritePff(path, {{"my one.bms", gamedata::BuildMission({})}}, {}, &entries);
    EXPECT_EQ(FindMissionEntry(path, entries[0].dataOffset, "my")->name, "my one.bms");
    EXPECT_FALSE(FindMissionEntry(path, entries[0].dataOffset, "my o").has_value());
}

TEST_F(MissionSaveTest, RecordsStayInsideTheirEntry)
{
    // No end mark inside the entry: the next entry's bytes (an end mark among them) are not items.
    Build(3, false, 0);
    ASSERT_FALSE(Load(model)) << "reported as damaged";
    EXPECT_EQ(model.items.size(), 3u);
    EXPECT_TRUE(SaveMission(path, mission, model, Moved(model, 0), catalogue).saved);
    // Unchanged rows write what was there: word 0 of the demo items is not kept, but nothing past
    // the entry moves.
    const auto now = test::ReadBytes(path);
    const std::size_t entryEnd = mission.offset + mission.size;
    EXPECT_TRUE(std::equal(now.begin() + static_cast<long>(entryEnd), now.end(),
                           original.begin() + static_cast<long>(entryEnd)));

    // A model with more records than the entry holds is refused whole.
    model.items.push_back(std::make_unique<CMissionItem>(MakeItem(5, 9)));
    std::vector<ItemRow> rows = Moved(model, 0);
    EXPECT_THROW(SaveMission(path, mission, model, rows, catalogue, kOverwrite), FileError);
    EXPECT_EQ(test::ReadBytes(path), now);
}

TEST_F(MissionSaveTest, AJournalLeftBehindIsSettledAtTheNextOpen)
{
    using Outcome = SettleResult::Outcome;
    struct Case {
        const char* what;
        std::function<void(std::vector<std::uint8_t>& archive, std::vector<std::uint8_t>& journal)> state;
        Outcome outcome;
        bool archiveNew; // otherwise untouched
    };
    const std::size_t lastByte = 264 + 3 * 96 - 1;
    auto put = [&](std::vector<std::uint8_t>& bytes, const std::vector<std::uint8_t>& from, std::size_t n) {
        std::copy_n(from.begin() + mission.offset + 264, n, bytes.begin() + mission.offset + 264);
    };
    std::vector<std::uint8_t> saved;
    const Case cases[] = {
        {"crash before the patch", [](auto&, auto&) {}, Outcome::RolledForward, true},
        {"crash half-way", [&](auto& a, auto&) { put(a, saved, 150); }, Outcome::RolledForward, true},
        {"crash before the journal went", [&](auto& a, auto&) { put(a, saved, 3 * 96); }, Outcome::RolledForward, true},
        {"journal cut short", [](auto&, auto& j) { j.pop_back(); }, Outcome::Dropped, false},
        {"journal damaged", [](auto&, auto& j) { j[j.size() / 2] ^= 1; }, Outcome::Dropped, false},
        {"journal names a range outside its entry",
         [&](auto& a, auto& j) {
             // Bytes just past the entry, which hold the journal's old value.
             const std::size_t past = mission.offset + mission.size;
             ArchivePatch outside{"One.bms", mission.offset, mission.size, static_cast<std::int64_t>(past), {}, {}};
             outside.oldBytes.assign(a.begin() + static_cast<long>(past), a.begin() + static_cast<long>(past) + 8);
             outside.newBytes = std::vector<std::uint8_t>(8, 0xEE);
             WriteJournal(path, outside);
             j = test::ReadBytes(JournalPath(path));
         },
         Outcome::Kept, false},
        {"changed by another program since", [&](auto& a, auto&) { a[mission.offset + lastByte] ^= 0x5A; },
         Outcome::Kept, false},
    };
    for (const Case& c : cases) {
        Build();
        ASSERT_TRUE(Load(model));
        const std::vector<ItemRow> rows = Moved(model, 3);
        saved = SavedCopy(rows);
        // The journal of that save, as a crash right after it was written would leave it.
        ArchivePatch patch;
        patch.entryName = "One.bms";
        patch.entryOffset = mission.offset;
        patch.entrySize = mission.size;
        patch.rangeStart = mission.offset + 264;
        patch.oldBytes.assign(original.begin() + patch.rangeStart, original.begin() + patch.rangeStart + 3 * 96);
        patch.newBytes.assign(saved.begin() + patch.rangeStart, saved.begin() + patch.rangeStart + 3 * 96);
        WriteJournal(path, patch);
        std::vector<std::uint8_t> archive = original, journal = test::ReadBytes(JournalPath(path));
        c.state(archive, journal);
        test::WriteBytes(path, archive);
        test::WriteBytes(JournalPath(path), journal);

        const SettleResult result = SettleJournal(path);
        EXPECT_EQ(result.outcome, c.outcome) << c.what;
        EXPECT_FALSE(result.message.empty()) << c.what;
        EXPECT_EQ(test::ReadBytes(path), c.archiveNew ? saved : archive) << c.what;
        EXPECT_EQ(JournalLeft(), c.outcome == Outcome::Kept) << c.what;
        if (c.outcome == Outcome::Kept) {
            // No save goes into an archive whose journal could not be settled.
            EXPECT_THROW(SaveMission(path, mission, model, rows, catalogue, kOverwrite), UserError) << c.what;
            EXPECT_EQ(test::ReadBytes(path), archive) << c.what;
        }
    }
    EXPECT_EQ(SettleJournal(path).outcome, Outcome::Kept) << "a kept journal stays until the user acts";
    std::filesystem::remove(JournalPath(path));
    EXPECT_EQ(SettleJournal(path).outcome, Outcome::Nothing);
}

TEST_F(MissionSaveTest, TheFirstSaveKeepsACopyOfTheOriginal)
{
    const std::string copy = path + ".orig";
    const std::string told = "Your original kqbase.pff was copied to kqbase.pff.orig before this first save.";
    struct Case {
        const char* what;
        std::vector<std::uint8_t> before; // what lies at kqbase.pff.orig first (none when empty)
        SaveOptions options;
        int fileSizeLimit; // 0: none
        bool saved;
        bool copied;
    };
    const std::vector<std::uint8_t> users = {'m', 'i', 'n', 'e'};
    const Case cases[] = {
        {"first save", {}, {}, 0, true, true},
        {"a copy is already there", users, {}, 0, true, false},
        {"no backup asked", {}, kNoBackup, 0, true, false},
        {"the copy cannot be made", {}, {}, 64, false, false},
    };
    for (const Case& c : cases) {
        Build();
        std::filesystem::remove(copy);
        if (!c.before.empty())
            test::WriteBytes(copy, c.before);
        if (c.fileSizeLimit && !test::CanFork())
            continue; // a file-size limit needs a child process of its own (POSIX)
        const std::function<int()> body = [&] {
            CMissionModel m;
            Load(m);
            try {
                const SaveOutcome outcome = SaveMission(path, mission, m, Moved(m, 2), catalogue, c.options);
                return outcome.saved && outcome.notice == (c.copied ? told : "") ? 0 : 1;
            } catch (const UserError& e) {
                return std::string(e.what()).find("could not be copied") != std::string::npos ? 3 : 2;
            }
        };
        const int status = c.fileSizeLimit ? test::RunInChild(body, c.fileSizeLimit) : body();
        EXPECT_EQ(status, c.saved ? 0 : 3) << c.what;
        EXPECT_EQ(test::ReadBytes(path) != original, c.saved) << c.what;
        if (c.copied)
            EXPECT_EQ(test::ReadBytes(copy), original) << c.what;
        else
            EXPECT_EQ(test::Exists(copy) ? test::ReadBytes(copy) : std::vector<std::uint8_t>{}, c.before) << c.what;
        EXPECT_EQ(test::ListFolder(dir.Path()).size(), 1 + test::Exists(copy)) << c.what << ": no temporary file left";
    }
}

// A mission big enough that its journal and its patch take several writes each.
constexpr std::size_t kBigMission = 3000;

TEST_F(MissionSaveTest, KilledAtAnyWriteOrSyncTheArchiveIsOldOrNew)
{
    if (!test::CanFork())
        GTEST_SKIP() << test::kNoFork;
    Build(kBigMission);
    ASSERT_TRUE(Load(model));
    const std::vector<ItemRow> rows = Moved(model, -9);
    const std::vector<std::uint8_t> saved = SavedCopy(rows);
    int points = 0, torn = 0;
    for (int killAt = 1;; ++killAt) {
        test::WriteBytes(path, original);
        const int status = test::RunInChild([&] {
            int calls = 0;
            SetFaultHook([&](const char*) {
                if (++calls == killAt)
                    test::KillThisProcess();
            });
            return SaveMission(path, mission, model, rows, catalogue).saved ? 0 : 1;
        });
        if (status == 0)
            break;
        ASSERT_EQ(status, test::KilledStatus()) << "kill at " << killAt;
        ++points;
        const SettleResult settled = SettleJournal(path);
        const auto now = test::ReadBytes(path);
        torn += now != original && now != saved;
        EXPECT_NE(settled.outcome, SettleResult::Outcome::Kept) << "kill at " << killAt;
        EXPECT_FALSE(JournalLeft());
    }
    EXPECT_GT(points, 10) << "the save should pass through many writes";
    EXPECT_EQ(torn, 0) << "of " << points << " kills";
    EXPECT_EQ(test::ReadBytes(path), saved);
}

TEST_F(MissionSaveTest, AWriteFailingHalfWayLeavesTheArchiveAsItWas)
{
    Build(kBigMission);
    ASSERT_TRUE(Load(model));
    const std::vector<ItemRow> rows = Moved(model, 4);
    // Every write and sync of the save fails in turn, as a full disk or a failing device would.
    for (int failAt = 1;; ++failAt) {
        test::WriteBytes(path, original);
        CMissionModel m;
        Load(m);
        int calls = 0;
        SetFaultHook([&](const char*) {
            if (++calls == failAt)
                throw FileError(FileErrorKind::DiskFull, path);
        });
        bool saved = false;
        try {
            saved = SaveMission(path, mission, m, rows, catalogue).saved;
        } catch (const FileError& e) {
            EXPECT_EQ(e.Kind(), FileErrorKind::DiskFull);
        }
        SetFaultHook({});
        if (saved)
            break;
        ASSERT_EQ(test::ReadBytes(path), original) << "failure at " << failAt;
        ASSERT_FALSE(JournalLeft()) << "failure at " << failAt;
    }

    // A real limit on file size: the journal cannot be written whole.
    if (!test::CanFork())
        return;
    test::WriteBytes(path, original);
    const int status = test::RunInChild(
        [&] {
            try {
                SaveMission(path, mission, model, rows, catalogue, kNoBackup);
            } catch (const FileError& e) {
                return e.Kind() == FileErrorKind::DiskFull ? 0 : 2;
            }
            return 1;
        },
        100000);
    EXPECT_EQ(status, 0);
    EXPECT_EQ(test::ReadBytes(path), original);
    EXPECT_FALSE(JournalLeft());
}

TEST_F(MissionSaveTest, TwoProcessesSavingAtOnceTakeTurns)
{
    if (!test::CanFork())
        GTEST_SKIP() << test::kNoFork;
    Build(kBigMission);
    ASSERT_TRUE(Load(model));
    for (int round = 0; round < 4; ++round) {
        test::WriteBytes(path, original);
        std::vector<std::function<std::function<int()>()>> savers;
        for (int dx : {100, 200})
            savers.push_back([&, dx] {
                auto m = std::make_shared<CMissionModel>();
                Load(*m);
                return std::function<int()>([&, m, dx] {
                    const SaveOutcome outcome = SaveMission(path, mission, *m, Moved(*m, dx), catalogue);
                    return outcome.saved ? 0 : outcome.status == SaveStatus::ChangedOnDisk ? 3 : 1;
                });
            });
        const std::vector<int> statuses = test::RunTogether(savers);
        // One saved, the other found the first one's records and wrote nothing.
        ASSERT_EQ(statuses[0] + statuses[1], 3) << statuses[0] << " " << statuses[1];
        EXPECT_EQ(test::ReadBytes(path), SavedCopy(Moved(model, statuses[0] == 0 ? 100 : 200)));
    }
}

// The game and its packing tool open the archive without sharing; only Windows enforces that.
TEST_F(MissionSaveTest, AnArchiveHeldOpenWithoutSharingIsRefusedSayingWhatToDo)
{
#ifdef _WIN32
    Build();
    ASSERT_TRUE(Load(model));
    const HANDLE held = ::CreateFileW(WidePath(path).c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(held, INVALID_HANDLE_VALUE);
    std::string message;
    try {
        SaveMission(path, mission, model, Moved(model, 5), catalogue, kNoBackup);
    } catch (const UserError& e) {
        message = e.what();
    }
    ::CloseHandle(held);
    EXPECT_NE(message.find("sharing violation"), std::string::npos) << message;
    EXPECT_NE(message.find("close it and save again"), std::string::npos) << message;
    EXPECT_EQ(test::ReadBytes(path), original);
    EXPECT_FALSE(JournalLeft());
#else
    GTEST_SKIP() << "only Windows keeps other programs out of a file opened without sharing";
#endif
}

} // namespace
} // namespace orvik
