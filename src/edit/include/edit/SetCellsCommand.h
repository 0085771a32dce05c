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

    const std::vector<CellChange>& Changes() const override { return m_changes; }

    // A step that later steps may join (EditDocument::MergeCells).
    bool IsMergeable() const { return m_mergeable; }
    void SetMergeable() { m_mergeable = true; }
    // Takes already applied changes into this step: a cell it holds keeps its first "before".
    void Absorb(const std::vector<CellChange>& more, std::string label);

private:
    std::vector<CellRef> Apply(std::vector<ItemRow>& rows, bool forward) const;

    std::vector<CellChange> m_changes;
    std::string m_label;
    bool m_mergeable = false;
};

} // namespace orvik
