#include "text/note_text.h"

#include "text/html_plain_text.h"
#include "text/rtf_plain_text.h"

namespace orv {

std::string VisibleNoteText(std::string_view sContent, int32_t nType, std::string_view sCodePage) {
  switch (nType) {
    case 1:
    case 4:
      return HtmlToPlainText(sContent);
    case 2:
      return RtfToPlainText(sContent, sCodePage);
    default:
      return std::string(sContent);
  }
}

}  // namespace orv
