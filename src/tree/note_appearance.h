#pragma once
// How a note's item looks in the tree pane: colours, bold, grayed,
// highlighted, hidden, its check box, icon and description. The commands act
// on the selected note and do nothing without one; the view asks here how to
// draw an item, whether a click ticks its box and what its hover hint says.

#include <cstdint>
#include <optional>
#include <string>

#include "tree/note_tree.h"

namespace orv {

enum class EAppearanceCommand {
  TextColor,
  BackgroundColor,
  Bold,
  Grayed,
  Highlighted,
  Reset,
  Hide,
  CheckBox,
  SetIcon,
  SetDescription,
};

inline constexpr const char* kDescriptionCaption = "Enter a description";

// Whether the menu offers the command now: the colours and Reset need a
// selected note; the others are always offered and do nothing without one.
bool IsEnabled(CNoteTree& tree, EAppearanceCommand eCommand);
// Whether the item carries a check mark: the toggles while their attribute is present.
bool IsChecked(CNoteTree& tree, EAppearanceCommand eCommand);

// Runs the command on the selected note. False when there is none or the
// user said no or cancelled: then nothing changed.
bool RunAppearanceCommand(CNoteTree& tree, EAppearanceCommand eCommand);

// Where the pane draws an item's check box, from nLeft up to (not including) nRight.
struct SBoxSpan {
  int nLeft = 0;
  int nRight = 0;
};

// A click at nClickX in the item of `note`, whose box the pane draws at
// `box`. Ticks or unticks the note's box when it has one and the click hit
// it; true when it did.
bool ClickItem(CNoteTree& tree, XMLelement& note, int nClickX, SBoxSpan box);
// Whether the note shows a check box; cheaper than ItemLook for asking many.
bool HasCheckBox(const XMLelement& note);

enum class ECheckBox { None, Unticked, Ticked };

// What the pane shows for one note.
struct SItemLook {
  std::string sText;
  int32_t nIcon = 0;  // both the image and the selected image
  ECheckBox eCheckBox = ECheckBox::None;
  std::optional<int32_t> textColor;        // null: the tree's text colour
  std::optional<int32_t> backgroundColor;  // null: the tree's background
  bool bBold = false;
  bool bCut = false;              // grayed
  bool bDropHighlighted = false;  // highlighted
  bool bHidden = false;           // shown only because the folder shows hidden notes
  bool bExpanded = false;
  bool bSelected = false;
};
SItemLook ItemLook(const XMLelement& note);

// The hover hint of a note: its description, or "No description:<br>" and
// its name when it has none. Null while tree hints are switched off.
std::optional<std::string> HoverHint(CNoteTree& tree, const XMLelement& note);

}  // namespace orv
