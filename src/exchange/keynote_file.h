#pragma once
// KeyNote notebooks (.knt): every folder of a document written as a tab of
// nodes, and a notebook's tabs read back as new folders.

#include <string>
#include <string_view>
#include <vector>

#include "exchange/exchange_text.h"
#include "model/folder_list.h"

namespace orv {

inline constexpr std::string_view kNotKeyNote = "This is not KeyNote 1.6.5 file";

struct SKeyNoteTab {
  std::string sName;
  std::vector<SExchangeNode> nodes;
};

// The tabs of a notebook. Throws CExchangeError, with kNotKeyNote and what
// the file is when known, for anything but a 1.0, 2.0 or 2.1 text notebook.
std::vector<SKeyNoteTab> ReadKeyNote(std::string_view sFile, const CCodePage& codePage);

// Appends the notebook's tabs as folders and returns how many; a refused
// file throws before anything changes.
size_t ImportKeyNote(CFolderList& folders, std::string_view sFile, const CCodePage& codePage,
                     const SNoteDefaults& defaults = {});

// All folders as a 2.0 notebook, LF line ends.
std::string WriteKeyNote(const CFolderList& folders);

}  // namespace orv
