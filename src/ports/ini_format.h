#pragma once
// The text form of a settings file:
//
//   [Section]
//   name=value
//
// A value is a decimal integer (`12`, `-3`), a text in double quotes
// (`"two words"`) or bytes in hex (`hex:00ff`). Texts, section names and value
// names escape a backslash as `\\`, a double quote as `\"`, newline, carriage
// return and tab as `\n`, `\r`, `\t`, and every other control byte as `\xHH`.
// Names also escape `=`, `[`, `]`, `;`, `#` and blanks at either end as `\xHH`,
// since those would end or hide them. Every other byte, UTF-8 included, is
// written as it is, so any text survives the round trip. Blanks around names
// and values are ignored, so are blank lines and lines starting with `;` or `#`.

#include <stdexcept>
#include <string>
#include <string_view>

#include "ports/memory_settings.h"

namespace orv {

// A settings file that cannot be read as settings.
class CSettingsError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// `sWhere` names the file in error messages.
CMemorySettingsStore::TSections ParseIni(std::string_view sText, const std::string& sWhere);
std::string FormatIni(const CMemorySettingsStore::TSections& sections);

}  // namespace orv
