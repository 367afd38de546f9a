#pragma once
// The key of every attribute a note carries, as stored in documents: one
// table, so that no caller spells a key differently ("selected" was once
// written five ways). Booleans come in two kinds: value attributes compared
// with "true" (expand, selected, checked, readonly) and presence attributes
// whose existence alone counts (bold, grayed, highlighted, hide).

#include <string_view>

namespace orv {

inline constexpr std::string_view kSharePathKey = "share_path";
inline constexpr std::string_view kNameKey = "name";
inline constexpr std::string_view kExpandKey = "expand";
inline constexpr std::string_view kTypeKey = "type";  // content type code, decimal
inline constexpr std::string_view kDescriptionKey = "description";
inline constexpr std::string_view kSelectedKey = "selected";
inline constexpr std::string_view kPasswordKey = "password";
inline constexpr std::string_view kReadOnlyKey = "readonly";
inline constexpr std::string_view kCreateTimeKey = "Create time";
inline constexpr std::string_view kModifyTimeKey = "Modificate time";
inline constexpr std::string_view kIconKey = "icon";
inline constexpr std::string_view kCheckedKey = "checked";
inline constexpr std::string_view kScrollPosKey = "scroll_pos";
inline constexpr std::string_view kCurLineKey = "curline";
inline constexpr std::string_view kSaveKey = "save";  // "false" while shown without its password
inline constexpr std::string_view kAttCountKey = "attcount";
inline constexpr std::string_view kContentKey = "content";  // the content object's key
// How the note looks in the tree.
inline constexpr std::string_view kColorKey = "color";
inline constexpr std::string_view kBkColorKey = "bk_color";
inline constexpr std::string_view kBoldKey = "bold";
inline constexpr std::string_view kGrayedKey = "grayed";
inline constexpr std::string_view kHighlightedKey = "highlighted";
inline constexpr std::string_view kHideKey = "hide";

}  // namespace orv
