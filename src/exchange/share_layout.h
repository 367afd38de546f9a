#pragma once
// The files of a note directory and the note attributes they hold.

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "model/note_keys.h"
#include "model/xml_element.h"

namespace orv {

struct SNoteFile {
  std::string_view sKey;   // the note attribute
  std::string_view sFile;  // its file in the note directory
  bool bWrittenBack;       // changes here go to disk; the others are only read
  bool bOnlyWhenSet;       // no attribute, no file (the check box)
};

inline constexpr SNoteFile kNoteFiles[] = {
    {kNameKey, "Name.txt", true, false},
    {kTypeKey, "Type.txt", true, false},
    {kIconKey, "Icon.txt", true, false},
    {kDescriptionKey, "Describtion.txt", true, false},
    // Which note is open and which branches are shown are each user's own.
    {kExpandKey, "Expand.txt", false, false},
    {kSelectedKey, "Select.txt", false, false},
    {kReadOnlyKey, "ReadOnly.txt", true, false},
    {kPasswordKey, "PasswordProtect.txt", false, false},
    {kCheckedKey, "Check.txt", true, true},
};
inline constexpr std::string_view kContentFile = "Content.rtf";

// What the note's file of `file` should hold now; nullopt: no file.
inline std::optional<std::string> FileValue(const XMLelement& note, const SNoteFile& file) {
  const XMLelement* pAttribute = FindPropertyElement(note, file.sKey);
  if (!pAttribute) return file.bOnlyWhenSet ? std::nullopt : std::optional<std::string>("");
  return pAttribute->m_sValue;
}

// A note directory's "share_path": the root, then each directory name and "/".
inline std::string JoinSharePath(const std::string& sRoot, const std::vector<std::string>& path) {
  std::string sPath = sRoot;
  for (const std::string& sPart : path) sPath += sPart + "/";
  return sPath;
}

}  // namespace orv
