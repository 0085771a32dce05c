#pragma once
// Sets the texts of one or more cells, of one or more rows, as one step.
#include "edit/EditCommand.h"

namespace orvik {

class SetCellsCommand : public EditCommand {
public:
    // changes must name cells inside the rows; label names a step of several cells ("Move item");
    // without one the text is made from the cells.
    explicit SetCellsCommand(std::vector<CellChange> changes, std::string label = {});

    std::vector<CellRef> Redo(std::vector<ItemRow>& rows) override;
    std::vector<CellRef> Undo(std::vector<ItemRow>& rows) override;
    std::string Text() const override;

    const std::vector<CellChange>& Changes() const { return m_changes; }

private:
    std::vector<CellRef> Apply(std::vector<ItemRow>& rows, bool forward) const;

    std::vector<CellChange> m_changes;
    std::string m_label;
};

} // namespace orvik
