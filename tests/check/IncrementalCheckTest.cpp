// The findings kept up to date row by row equal a plain whole check after every edit, undo and
// redo; a load's findings, made from the items, equal those of its rows.
#include "check/ArchiveCheck.h"
#include "check/CheckTestData.h"
#include "check/ItemChecks.h"
#include "edit/EditDocument.h"
#include "exercise/PlainCheck.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace orvik {
namespace {

std::vector<std::string> Described(const std::vector<Finding>& findings)
{
    std::vector<std::string> out;
    for (const Finding& f : findings)
        out.push_back(std::string(FindingKindName(f.kind)) + " " + SeverityName(f.severity) + " " + f.mission + " " +
                      (f.row ? std::to_string(*f.row) : "-") + " " + std::to_string(f.column) + " " + f.message);
    return out;
}

// Where, how bad and what: the part of a finding a plain check states.
std::vector<std::string> Plainly(const std::vector<Finding>& findings)
{
    std::vector<std::string> out;
    for (const Finding& f : findings)
        out.push_back(exercise::Describe({f.row, f.column, f.severity == Severity::Error, f.message}));
    return out;
}

std::vector<std::string> Plainly(const std::vector<exercise::PlainFinding>& findings)
{
    std::vector<std::string> out;
    for (const exercise::PlainFinding& f : findings)
        out.push_back(exercise::Describe(f));
    return out;
}

TEST(IncrementalCheck, EqualsAWholeCheckAfterEveryStep)
{
    CItemDefList catalogue = test::CheckCatalogue();
    // Kind id 0 also means "no kind": a catalogue may still name it.
    catalogue.LoadText(gamedata::BuildItemDef({{"Nought", 0}}));
    // Few values, so that rows meet at one place, share names and lose or gain the centre item.
    const std::vector<std::string> names = {"Tree", "Rock", "Camp Center", "Bush", ""};
    const std::vector<std::string> places = {"5", "-7", "131077", "-131079", "1000", "67108864", "x"};
    const std::vector<std::string> angles = {"0", "359", "360", "-1"};
    const std::int32_t ids[] = {test::kTree, test::kRock, test::kCamp, test::kRock2, test::kUnknown, 0};
    for (std::uint32_t seed = 1; seed <= 60; ++seed) {
        std::mt19937 rng(seed);
        const auto pick = [&rng](std::size_t n) { return static_cast<std::size_t>(rng() % n); };
        CMissionModel model;
        const std::size_t count = pick(12);
        for (std::size_t i = 0; i < count; ++i)
            model.items.push_back(std::make_unique<CMissionItem>(test::Item(
                ids[pick(6)], static_cast<std::int32_t>(pick(3)), static_cast<std::int32_t>(pick(3)),
                static_cast<std::int32_t>(pick(2) * 359))));
        std::vector<ItemRow> loaded;
        for (const auto& item : model.items)
            loaded.push_back(ItemToRow(*item, catalogue));
        EditDocument document;
        document.Load(loaded);
        ItemFindings findings(catalogue, "m.bms");
        findings.Reset(CheckedItemsOfRows(document.Rows(), model, catalogue));
        ItemFindings ofItems(catalogue, "m.bms");
        ofItems.Reset(CheckedItemsOfModel(model, catalogue));
        ASSERT_EQ(Described(ofItems.All()), Described(findings.All())) << "seed " << seed;
        ASSERT_EQ(Plainly(findings.All()), Plainly(exercise::PlainCheck(document.Rows(), model, catalogue)))
            << "seed " << seed;
        document.Subscribe([&](const DocumentChange& change) {
            std::vector<std::size_t> rows;
            for (const CellRef& cell : change.cells)
                rows.push_back(cell.row);
            RecheckRows(findings, document.Rows(), rows, model, catalogue);
        });
        for (int step = 0; step < 80 && count > 0; ++step) {
            const std::size_t what = pick(5);
            if (what == 0) {
                document.Undo();
            } else if (what == 1) {
                document.Redo();
            } else {
                std::vector<CellChange> changes;
                for (std::size_t n = 1 + pick(3); n > 0; --n) {
                    const int column = static_cast<int>(pick(5));
                    const auto& pool = column == kColItem ? names : column == kColAngle ? angles : places;
                    changes.push_back({pick(count), column, {}, pool[pick(pool.size())]});
                }
                document.SetCells(changes);
            }
            const std::vector<exercise::PlainFinding> whole = exercise::PlainCheck(document.Rows(), model, catalogue);
            ASSERT_EQ(Plainly(findings.All()), Plainly(whole)) << "seed " << seed << ", step " << step;
            const auto errors = static_cast<std::size_t>(
                std::count_if(whole.begin(), whole.end(), [](const exercise::PlainFinding& f) { return f.error; }));
            ASSERT_EQ(findings.Count(Severity::Error), errors);
            ASSERT_EQ(findings.Count(Severity::Warning), whole.size() - errors);
        }
    }
}

} // namespace
} // namespace orvik
