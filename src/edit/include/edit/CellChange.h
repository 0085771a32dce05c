#pragma once
// Plain descriptions of cells and of changes to them, shared by the document, its commands and
// the views that listen to it.
#include <cstddef>
#include <string>
#include <vector>

namespace orvik {

struct CellRef {
    std::size_t row = 0;
    int column = 0;
    bool operator==(const CellRef&) const = default;
};

// One cell's text before and after a change.
struct CellChange {
    std::size_t row = 0;
    int column = 0;
    std::string before;
    std::string after;
};

// What a listener is told. A reset replaces every row (a load); cells name what an edit, an undo
// or a redo changed.
struct DocumentChange {
    enum class Kind { AboutToReset, Reset, Cells, CleanState };
    Kind kind = Kind::Cells;
    std::vector<CellRef> cells;
};

} // namespace orvik
