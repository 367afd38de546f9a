#include "exchange/treepad_file.h"

#include <algorithm>
#include <cctype>

#include "base/clock.h"
#include "exchange/exchange_folder.h"

namespace orv {
namespace {

constexpr std::string_view kEndMagic = " 5P9i0s8y19Z";
constexpr std::string_view kEndNode = "<end node> 5P9i0s8y19Z";

bool EqualsNoCase(std::string_view a, std::string_view b) {
  return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
    return std::tolower(static_cast<unsigned char>(x)) ==
           std::tolower(static_cast<unsigned char>(y));
  });
}

// "<Treepad version 2.7>" (also "<hj-Treepad ...>", as the format's own
// description writes it), and TreePad 7.x's "<TreePad version 7.N>".
bool IsKnownVersion(std::string_view sLine) {
  while (sLine.ends_with(' ')) sLine.remove_suffix(1);
  if (!sLine.starts_with('<') || !sLine.ends_with('>')) return false;
  sLine = sLine.substr(1, sLine.size() - 2);
  if (sLine.starts_with("hj-")) sLine.remove_prefix(3);
  constexpr std::string_view kPrefix = "treepad version ";
  if (sLine.size() < kPrefix.size() || !EqualsNoCase(sLine.substr(0, kPrefix.size()), kPrefix))
    return false;
  const std::string_view sVersion = sLine.substr(kPrefix.size());
  const auto isDigit = [](char c) { return std::isdigit(static_cast<unsigned char>(c)) != 0; };
  return sVersion == "2.7" || (sVersion.size() > 2 && sVersion.starts_with("7.") &&
                               std::all_of(sVersion.begin() + 2, sVersion.end(), isDigit));
}

// "YYYYMMDD-HHMMSS" as a note time; empty when it is not one.
std::string NoteTime(std::string_view sStamp) {
  if (sStamp.size() != 15 || sStamp[8] != '-') return {};
  for (size_t i = 0; i < sStamp.size(); ++i)
    if (i != 8 && !std::isdigit(static_cast<unsigned char>(sStamp[i]))) return {};
  std::string sTime;
  sTime.append(sStamp.substr(0, 4)).append("/").append(sStamp.substr(4, 2)).append("/");
  sTime.append(sStamp.substr(6, 2)).append(" ").append(sStamp.substr(9, 2)).append(":");
  sTime.append(sStamp.substr(11, 2)).append(":").append(sStamp.substr(13, 2));
  return sTime;
}

int32_t TypeOf(std::string_view sKind) {
  if (EqualsNoCase(sKind, "RTF")) return 2;
  if (EqualsNoCase(sKind, "HTML")) return 1;
  return 0;  // text, and kinds we have no editor for: their content stays readable
}

// The name of a 7.x block opened by this line ("<bmarks>" -> "bmarks"), else empty.
std::string_view BlockName(std::string_view sLine) {
  for (std::string_view sName : {"bmarks", "options", "scrpbk"})
    if (sLine.size() == sName.size() + 2 && sLine.front() == '<' && sLine.back() == '>' &&
        sLine.substr(1, sName.size()) == sName)
      return sName;
  return {};
}

}  // namespace

std::vector<SExchangeNode> ReadTreePad(std::string_view sFile, const CCodePage& codePage) {
  const std::vector<std::string_view> lines = SplitLines(sFile);
  if (lines.empty() || !IsKnownVersion(lines.front()))
    throw CExchangeError(std::string(kNotTreePad));
  std::vector<SExchangeNode> nodes;
  SExchangeNode pending;  // what the lines before "<node>" say about the next node
  size_t i = 1;
  while (i < lines.size()) {
    const std::string_view sLine = lines[i++];
    if (const std::string_view sBlock = BlockName(sLine); !sBlock.empty()) {
      const std::string sEnd = "<end " + std::string(sBlock) + ">" + std::string(kEndMagic);
      while (i < lines.size() && lines[i] != sEnd) ++i;
      ++i;
    } else if (sLine.starts_with("dt=")) {
      pending.nType = TypeOf(sLine.substr(3));
    } else if (sLine.starts_with("dtcr=")) {
      pending.sCreated = NoteTime(sLine.substr(5));
    } else if (sLine.starts_with("dtch=")) {
      pending.sModified = NoteTime(sLine.substr(5));
    } else if (sLine == "<node>") {
      // Name and level by position: a name may well be "2.1".
      const std::string_view sName = i < lines.size() ? lines[i] : std::string_view{};
      const std::string_view sLevel = i + 1 < lines.size() ? lines[i + 1] : std::string_view{};
      if (!ParseLevel(sLevel, pending.nLevel))
        throw CExchangeError(
            "The level of TreePad node \"" + DecodeForeign(std::string(sName), codePage) +
            "\" is not a number: \"" + DecodeForeign(std::string(sLevel), codePage) + "\"");
      pending.sName = DecodeForeign(std::string(sName), codePage);
      i += 2;
      const size_t nFirst = i;
      while (i < lines.size() && lines[i] != kEndNode) ++i;
      pending.sContent = JoinLines({lines.begin() + nFirst, lines.begin() + i}, codePage);
      ++i;
      nodes.push_back(std::move(pending));
      pending = {};
    }
    // Anything else between nodes (id=, nodeguid=, usrcr=, obj=, blank lines) says nothing we keep.
  }
  return nodes;
}

size_t ImportTreePad(CFolderList& folders, XMLelement* pSelected, std::string_view sFile,
                     const CCodePage& codePage, const SNoteDefaults& defaults) {
  std::vector<SExchangeNode> nodes = ReadTreePad(sFile, codePage);
  const size_t nCount = nodes.size();
  if (pSelected && folders.Current())
    AddNodesAtLevels(*folders.Current(), pSelected, std::move(nodes));
  else
    folders.Append(MakeFolder(kTreePadFolderName, std::move(nodes), defaults));
  return nCount;
}

std::string WriteTreePad(const CXMLTree& folder) {
  const std::vector<SFolderNote> notes = FolderNotes(folder);
  std::string sFile = "<Treepad version 2.7>\n";
  sFile.reserve(ExportSize(notes));
  for (const SFolderNote& node : notes) {
    sFile += "dt=Text\n<node>\n" + OneLine(node.sName) + "\n" + std::to_string(node.nLevel) + "\n";
    AppendContent(sFile, node.sContent, [](std::string_view sLine) { return sLine == kEndNode; });
    sFile += kEndNode;
    sFile += '\n';
  }
  return sFile;
}

}  // namespace orv
