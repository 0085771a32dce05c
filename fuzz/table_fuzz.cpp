// Any table text must be read or refused with a message; what is read must go into a mission as
// Save takes it, and a mission's table written out must read back to the same cells.
#include "common/FileError.h"
#include "FuzzCheck.h"
#include "tables/Tables.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

namespace {

const orvik::CItemDefList& Catalogue()
{
    static const orvik::CItemDefList catalogue = [] {
        orvik::CItemDefList c;
        c.LoadText("begin \"Rifleman\"\nid 100001\nbegin \"Jeep, desert\"\nid 100002\n"
                   "begin \"Map \"\"Center\"\"\"\nid 100003\nbegin \"Tab\there\"\nid 100004\n");
        return c;
    }();
    return catalogue;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    using namespace orvik;
    if (size == 0)
        return 0;
    const auto format = static_cast<cli::TableFormat>(data[0] % 3);
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    std::vector<ItemRow> rows;
    try {
        rows = cli::ReadTable(text, format);
    } catch (const UserError&) {
        return 0;
    }

    CMissionModel model;
    for (std::size_t i = 0; i < std::min<std::size_t>(rows.size(), 64); ++i)
        model.items.push_back(std::make_unique<CMissionItem>());
    ApplyRowsForRefresh(rows, model, Catalogue());
    ApplyRowsForSave(rows, model, Catalogue());

    std::ostringstream out;
    cli::WriteTable(out, model, Catalogue(), format);
    std::vector<ItemRow> again;
    try {
        again = cli::ReadTable(out.str(), format);
    } catch (const UserError& e) {
        std::fprintf(stderr, "%s\n", e.what());
        fuzz::Require(false, "a written table reads back");
    }
    fuzz::Require(again.size() == model.items.size(), "a written table keeps its row count");
    for (std::size_t i = 0; i < again.size(); ++i) {
        const ItemRow shown = ItemToRow(*model.items[i], Catalogue());
        for (int c : {kColItem, kColX, kColY, kColZ, kColAngle})
            fuzz::Require(again[i][static_cast<std::size_t>(c)] == shown[static_cast<std::size_t>(c)],
                          "a written table reads back to the cells shown");
    }
    return 0;
}
