#pragma once
// A change to the document's rows that knows how to take itself back.
#include "edit/CellChange.h"
#include "mission/ItemRows.h"

#include <string>
#include <vector>

namespace orvik {

class EditCommand {
public:
    virtual ~EditCommand();

    // Both return the cells they changed, for the notification and for showing the change.
    virtual std::vector<CellRef> Redo(std::vector<ItemRow>& rows) = 0;
    virtual std::vector<CellRef> Undo(std::vector<ItemRow>& rows) = 0;
    // A short text for the menu, as "X Position, row 12".
    virtual std::string Text() const = 0;
    // Each cell it sets, with its text before and after, in the order Redo sets them.
    virtual const std::vector<CellChange>& Changes() const = 0;
};

} // namespace orvik
