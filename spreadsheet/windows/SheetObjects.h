// Objects on a sheet: macro buttons, which run a macro text when clicked,
// and graph boxes, which show a named graph inside the sheet. Each object is
// anchored to a cell of the first pane and keeps its offset from that cell's
// top-left corner, so it moves with the cell as the pane scrolls. The record
// an object keeps is the one the worksheet file stores for it.
//
// The rules here are the window's decisions without its windows: where a
// rubber rectangle puts a new object, which cell anchors it, where it shows
// in a scrolled pane, and what the "User Button" dialog stores.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "classlib/ControlHost.h"
#include "classlib/Graphics.h"
#include "spreadsheet/engine/WindowServices.h"

namespace corvane {

class TGridModel;

enum class TSheetObjectKind : std::uint8_t { kMacroButton = 1, kGraphBox = 2 };

struct TSheetObject {
  TSheetButton record;  // caption, macro text or graph name, anchor, offsets, size
  TSheetObjectKind kind = TSheetObjectKind::kMacroButton;
  bool movable = true;   // the user may move and resize it
  bool deleted = false;  // taken off the sheet by the user: hidden and no longer saved
  bool selected = false; // being placed or moved: drawn with an outline
  // Placed by the user, or given its macro by the user in the "User Button"
  // dialog; the others came with the file and are refused with the
  // document's other macros when the user said No to them.
  bool userMade = false;
};

inline constexpr std::size_t kObjectCaptionChars = 20;
inline constexpr std::size_t kObjectTextChars = 255;
inline constexpr std::size_t kGraphBoxNameChars = 16;
inline constexpr int kDefaultObjectWidth = 40;
inline constexpr int kDefaultObjectHeight = 20;
inline constexpr int kMinDragSize = 8;

// The rectangle a rubber-band drag from `from` to `to` places: corners in
// order; a width under 8 pixels becomes 40 and a height under 8 becomes 20,
// so a click without a drag gives a 40 x 20 object.
classlib::TRect PlacementRect(classlib::TPoint from, classlib::TPoint to);

// Anchors `record` at the cell under the point `at` of the pane's cell area
// and sets its offsets from that cell's top-left corner.
void AnchorAt(const TGridModel& pane, classlib::TPoint at, TSheetButton& record);

// Where the object shows in the pane's cell area: the anchor cell's top-left
// corner relative to the pane's top-left visible cell, plus the offsets, at
// the stored size.
classlib::TRect ObjectBounds(const TGridModel& pane, const TSheetButton& record);

// The named graph a graph box shows: its graph name cut to 16 characters.
std::string GraphBoxName(const TSheetObject& object);

// The address of the anchor cell ("B3"), which a new object shows as its
// caption.
std::string AnchorAddress(const TSheetButton& record);

// ---- Moving and sizing a button while User Button placing is on -------------------------
// What a press at `p` grabs of a button whose bounds, inset by 2, are `inset`
// (screen coordinates): 15 the whole button (more than 3 pixels inside every
// edge), 0 nothing (more than 3 pixels outside an edge), otherwise the edges
// within 3 pixels: 1 left, 2 right, 4 top, 8 bottom, added.
inline constexpr int kGrabLeft = 1, kGrabRight = 2, kGrabTop = 4, kGrabBottom = 8, kGrabMove = 15;
int SheetButtonGrab(const classlib::TRect& inset, classlib::TPoint p);
// The mouse cursor over a button for a grab code.
int GrabCursor(int grab);
// The outline a drag by (dx, dy) shows: the grabbed edges moved.
classlib::TRect DragOutline(const classlib::TRect& inset, int grab, int dx, int dy);
// Where a dropped outline puts the button, in the pane's coordinates
// (`origin` is the pane's top-left corner on the screen): corners in order,
// grown by 2 again. False when its left edge would lie left of the pane: the
// button then stays where it was.
bool DroppedBounds(const classlib::TRect& outline, classlib::TPoint origin, classlib::TRect& bounds);
// Step `step` (0..21) of the outline that travels from `from` to `to`.
inline constexpr int kOutlineSteps = 22;
classlib::TRect OutlineStep(const classlib::TRect& from, const classlib::TRect& to, int step);

// The "User Button" dialog's fields: the caption and the macro as lines.
struct TButtonDialogValue {
  std::string caption;
  std::vector<std::string> macroLines;
};
TButtonDialogValue ButtonDialogValue(const TSheetObject& object);
// Stores the dialog's fields: the caption (at most 20 characters, as the
// file keeps it) and the macro lines run together, cut to 255 characters. A
// macro the user changes there is the user's own from then on.
void ApplyButtonDialog(const TButtonDialogValue& value, TSheetObject& object);

}  // namespace corvane
