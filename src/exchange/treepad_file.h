#pragma once
// TreePad files (.hjt): the current folder written as a 2.7 file, and a
// file's nodes read back into a new folder or under the selected note.

#include <string>
#include <string_view>
#include <vector>

#include "exchange/exchange_text.h"
#include "model/folder_list.h"

namespace orv {

inline constexpr std::string_view kNotTreePad = "This is not TreePad file";
inline constexpr std::string_view kTreePadFolderName = "from TreePad";

// The nodes of a 2.7 or 7.x file. Throws CExchangeError with kNotTreePad
// for another first line, and with the line for a level that is no number.
std::vector<SExchangeNode> ReadTreePad(std::string_view sFile, const CCodePage& codePage);

// Adds the file's nodes under pSelected, a note of the current folder, or
// without one as a new folder "from TreePad". A refused file throws before
// anything changes. Returns how many notes came in.
size_t ImportTreePad(CFolderList& folders, XMLelement* pSelected, std::string_view sFile,
                     const CCodePage& codePage, const SNoteDefaults& defaults = {});

// The folder's notes as a 2.7 file, LF line ends.
std::string WriteTreePad(const CXMLTree& folder);

}  // namespace orv
