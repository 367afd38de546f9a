#include "text/gumbo_document.h"

namespace orv {

void SGumboOutputDeleter::operator()(GumboOutput* pOutput) const {
  gumbo_destroy_output(&kGumboDefaultOptions, pOutput);
}

CGumboDocument ParseHtml(std::string_view sHtml) {
  return CGumboDocument(
      gumbo_parse_with_options(&kGumboDefaultOptions, sHtml.data(), sHtml.size()));
}

}  // namespace orv
