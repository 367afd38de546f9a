// Parses arbitrary bytes as the tree text form and writes back what was read:
// no input may crash the parser or make it read outside the text. What it
// read must also read back from its own written text with the same names,
// values and structure, since parsed values never hold markup that the
// writer would pass through unescaped.

#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string_view>

#include "model/mini_xml_parser.h"

namespace {

bool SameShape(const orv::XMLelement& a, const orv::XMLelement& b) {
  if (a.m_sName != b.m_sName || a.m_sValue != b.m_sValue ||
      a.m_children.size() != b.m_children.size())
    return false;
  for (size_t i = 0; i < a.m_children.size(); ++i)
    if (!SameShape(*a.m_children[i], *b.m_children[i])) return false;
  return true;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  orv::CMiniXMLParser parser;
  parser.Parse(std::string_view(reinterpret_cast<const char*>(pData), nSize));
  std::ostringstream out;
  for (const auto& pElement : parser.m_elements) orv::WriteElementText(out, *pElement);
  if (parser.m_elements.empty()) return 0;

  orv::CMiniXMLParser reread;
  if (!reread.Parse(out.str()) || reread.m_elements.size() != parser.m_elements.size())
    __builtin_trap();
  for (size_t i = 0; i < parser.m_elements.size(); ++i)
    if (!SameShape(*parser.m_elements[i], *reread.m_elements[i])) __builtin_trap();
  return 0;
}
