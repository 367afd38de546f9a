#pragma once
// An HTML document read by gumbo, the one HTML parser of the core, freed
// with its owner.

#include <gumbo.h>

#include <memory>
#include <string_view>

namespace orv {

struct SGumboOutputDeleter {
  void operator()(GumboOutput* pOutput) const;
};

using CGumboDocument = std::unique_ptr<GumboOutput, SGumboOutputDeleter>;

// Any bytes are read; what is not HTML is read as text, as a browser would.
// Tags nested beyond a thousand levels are left out (their text stays), so
// that no note can freeze the parser or exhaust the stack.
CGumboDocument ParseHtml(std::string_view sHtml);

}  // namespace orv
