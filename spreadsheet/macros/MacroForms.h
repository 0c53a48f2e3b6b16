// The values of the two forms that macros ask the user through: the macro
// menu (pick one of a list of items) and the one-line input box. The forms
// only copy these to and from their controls.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace corvane {

inline constexpr const char* kMacroMenuCaption = "Macro Menu";
inline constexpr const char* kMacroMenuTitle = "Menu";
inline constexpr const char* kInputBoxCaption = "Input?";

// The list menu's geometry: 20-pixel items below a margin of 8.
inline constexpr int kMenuItemHeight = 20;
inline constexpr int kMenuMargin = 8;

struct TMacroMenu {
  std::vector<std::string> items;

  // The list's greatest width and height for items whose widest text is
  // `widestText` pixels: that + 32, and the items + first item top + 32.
  int ListWidth(int widestText) const { return widestText + 32; }
  int ListHeight() const { return static_cast<int>(items.size()) * kMenuItemHeight + kMenuMargin + 1 + 32; }
  // The form's size around the list: height = the list's greatest height +
  // the form's non-client height + 8; width = 108 while the list's greatest
  // width is below 100, else that width + 8.
  int FormWidth(int listWidth) const { return listWidth < 100 ? 108 : listWidth + 8; }
  int FormHeight(int listHeight, int nonClientHeight) const { return listHeight + nonClientHeight + 8; }

  // The choice: Enter on item `index` gives index + 1 (1..n); Esc, Enter
  // with no item chosen, and any other way of closing the menu give one
  // beyond the last item.
  int Cancelled() const { return static_cast<int>(items.size()) + 1; }
  int Chosen(int index) const {
    return index >= 0 && index < static_cast<int>(items.size()) ? index + 1 : Cancelled();
  }
};

struct TMacroInputBox {
  std::optional<std::string> answer;

  // Takes the edit's text when the box was closed by its Ok button; a box
  // closed any other way (Esc, a close) gives no answer at all, so neither a
  // half-typed line nor an empty one takes the place of what the cell holds.
  void Apply(bool byOk, const std::string& editText) { answer = byOk ? std::optional(editText) : std::nullopt; }
};

}  // namespace corvane
