#pragma once
// The item table's sort: rows ordered by one column's texts. Numbers sort as numbers, and a cell
// that holds none comes after every number, by its text; the Item column sorts its names in the
// collator's order. Each distinct text gets its collation key once. Equal keys keep their order.
#include "edit/EditDocument.h"

#include <QCollator>

#include <cstdint>
#include <vector>

namespace orvik {

// rows (document rows, in the order to keep among equals) sorted by column; descending reverses
// the order of the keys but still keeps equals in their order.
void SortRows(const EditDocument& document, std::vector<std::uint32_t>& rows, int column, bool descending,
              const QCollator& collator);

} // namespace orvik
