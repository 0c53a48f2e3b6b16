// End+arrow: the jump of the cell cursor to the edge of a block of data.
#pragma once

namespace corvane {

// Virtual key codes of the four arrows.
inline constexpr int kKeyLeft = 37;
inline constexpr int kKeyUp = 38;
inline constexpr int kKeyRight = 39;
inline constexpr int kKeyDown = 40;

// Moves (row, col) to the edge of the data block in the arrow's direction:
// from an occupied cell next to the cursor to the last occupied cell of that
// run; from an empty one to the first occupied cell met, or to the limit
// (minCol, minRow; maxCol, maxRow past the used extent) when there is none. A
// blank cell that only carries attributes counts as empty. Other keys leave
// row and column alone. Ends End mode on the main window either way.
void JumpToBlockEdge(int key, int minRow, int minCol, int& col, int& row, int maxCol, int maxRow);

}  // namespace corvane
