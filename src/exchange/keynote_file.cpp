#include "exchange/keynote_file.h"

#include <array>
#include <memory>

#include "exchange/exchange_folder.h"

namespace orv {
namespace {

// The kinds of file the signature names, other than the readable ones.
void CheckSignature(std::string_view sFile, std::string_view sFirstLine) {
  const std::string_view sHead = sFile.substr(0, 12);
  const auto refuse = [](std::string_view sWhat) {
    throw CExchangeError(std::string(kNotKeyNote) + ": it is " + std::string(sWhat));
  };
  if (sHead.find("GFKNE") != std::string_view::npos) refuse("an encrypted KeyNote file (GFKNE)");
  if (sHead.find("GFKNZ") != std::string_view::npos) refuse("a compressed KeyNote NF file (GFKNZ)");
  if (sHead.find("GFKNX") != std::string_view::npos)
    refuse("an old KeyNote file that keeps its text in LI= lines (GFKNX)");
  while (sFirstLine.ends_with(' ') || sFirstLine.ends_with('\t')) sFirstLine.remove_suffix(1);
  if (sFirstLine == "#!GFKNT 2.0" || sFirstLine == "#!GFKNT 1.0" || sFirstLine == "#!GFKNT 2.1")
    return;
  if (sFirstLine.starts_with("#!GFKNT 3")) refuse("a KeyNote NF 3.x file, a layout of its own");
  throw CExchangeError(std::string(kNotKeyNote));
}

// A tab name as KeyNote shows it: "&" marks the accelerator, "&&" is an "&".
std::string WithoutAccelerators(std::string_view sName) {
  std::string sShown;
  for (size_t i = 0; i < sName.size(); ++i) {
    if (sName[i] == '&' && i + 1 < sName.size()) ++i;
    sShown += sName[i];
  }
  return sShown;
}

std::string WithAccelerators(std::string_view sName) {
  std::string sMarked;
  for (char c : sName) sMarked += c == '&' ? std::string_view("&&") : std::string_view(&c, 1);
  return sMarked;
}

bool IsMarker(std::string_view sLine) {
  for (std::string_view sMarker : {"%+", "%", "%-", "%:", "%%", "%BK", "%S", "%I", "%EI"})
    if (sLine == sMarker) return true;
  return false;
}

bool IsKey(std::string_view sLine, std::string_view sKey) {
  return sLine.size() >= 3 && sLine.substr(0, 2) == sKey && sLine[2] == '=';
}

// Reads the records after the header, one line at a time; a record ends at
// the next marker line, whatever it is.
class CKeyNoteReader {
 public:
  explicit CKeyNoteReader(const CCodePage& codePage) : m_codePage(codePage) {}

  // False once the lines are over for this reader (end marker, image data).
  bool Take(std::string_view sLine) {
    if (sLine == "%+" || sLine == "%") {
      FinishNode();
      StartTab(sLine == "%");
    } else if (sLine == "%-") {
      FinishNode();
      m_bNodeOpen = true;
      m_eState = EState::NodeProperties;
    } else if (sLine == "%:") {
      m_eState = m_bNodeOpen ? EState::Data : EState::Skip;
    } else if (sLine == "%%" || sLine == "%EI") {
      // Image data holds raw bytes: nothing after it is lines.
      FinishNode();
      return false;
    } else if (sLine == "%BK" || sLine == "%S" || sLine == "%I") {
      FinishNode();
      m_eState = EState::Skip;  // bookmarks and image lists: nothing a note uses
    } else {
      TakeText(sLine);
    }
    return true;
  }

  std::vector<SKeyNoteTab> Finish() {
    FinishNode();
    return std::move(m_tabs);
  }

 private:
  enum class EState { TabProperties, NodeProperties, Data, Skip };

  void StartTab(bool bSimple) {
    m_tabs.emplace_back();
    m_bPlainTab = false;
    m_bSimpleTab = bSimple;
    m_bNodeOpen = bSimple;  // a simple tab is one note of its own name
    m_eState = EState::TabProperties;
  }

  void TakeText(std::string_view sLine) {
    switch (m_eState) {
      case EState::Data:
        // Plain-text tabs guard each line with ";" so that none reads as a marker.
        if (m_bPlainTab && sLine.starts_with(';')) sLine.remove_prefix(1);
        m_data.push_back(sLine);
        break;
      case EState::TabProperties:
        if (IsKey(sLine, "NN")) m_tabs.back().sName = WithoutAccelerators(Decode(sLine.substr(3)));
        if (IsKey(sLine, "FL")) m_bPlainTab = sLine.size() >= 3 + 24 && sLine[3 + 5] == '1';
        break;
      case EState::NodeProperties:
        if (IsKey(sLine, "LV") && !ParseLevel(sLine.substr(3), m_node.nLevel)) m_node.nLevel = 0;
        if (IsKey(sLine, "ND")) m_node.sName = Decode(sLine.substr(3));
        // The relative path comes first; either names the linked file.
        if ((IsKey(sLine, "RV") || IsKey(sLine, "VF")) && m_node.sDescription.empty())
          m_node.sDescription = "Linked file: " + Decode(sLine.substr(3));
        break;
      case EState::Skip:
        break;
    }
  }

  void FinishNode() {
    if (!m_bNodeOpen) return;
    SKeyNoteTab& tab = m_tabs.back();
    if (m_bSimpleTab) m_node.sName = tab.sName;
    m_node.sContent = JoinLines(m_data, m_codePage);
    // Editors may leave a NUL after the closing brace (and a line end before it).
    while (m_node.sContent.ends_with('\0') || m_node.sContent.ends_with('\r'))
      m_node.sContent.pop_back();
    const bool bVirtual = !m_node.sDescription.empty() && m_data.empty();
    m_node.nType = m_bPlainTab || bVirtual ? 0 : 2;
    tab.nodes.push_back(std::move(m_node));
    m_node = {};
    m_data.clear();
    m_bNodeOpen = false;
    m_eState = EState::Skip;
  }

  std::string Decode(std::string_view s) const { return DecodeForeign(std::string(s), m_codePage); }

  const CCodePage& m_codePage;
  std::vector<SKeyNoteTab> m_tabs;
  EState m_eState = EState::Skip;
  bool m_bSimpleTab = false;
  bool m_bPlainTab = false;
  bool m_bNodeOpen = false;
  SExchangeNode m_node;
  std::vector<std::string_view> m_data;
};

constexpr std::array<std::string_view, 24> kTabLines = {"ID=1",
                                                        "II=0",
                                                        "DC=",
                                                        "TI=0",
                                                        "TS=4",
                                                        "CX=0",
                                                        "CY=0",
                                                        "BG=clWindow",
                                                        "CH=1",
                                                        "FC=clWindowText",
                                                        "FN=MS Sans Serif",
                                                        "FS=8",
                                                        "LN=1049",
                                                        "ST=",
                                                        "FL=101110000000100001000000",
                                                        "SN=0",
                                                        "TW=188",
                                                        "EN=New node",
                                                        "TB=clWindow",
                                                        "TH=1",
                                                        "TC=clWindowText",
                                                        "TN=MS Sans Serif",
                                                        "TZ=8",
                                                        "TY="};

}  // namespace

std::vector<SKeyNoteTab> ReadKeyNote(std::string_view sFile, const CCodePage& codePage) {
  const std::vector<std::string_view> lines = SplitLines(sFile);
  CheckSignature(sFile, lines.empty() ? std::string_view{} : lines.front());
  size_t i = 1;
  while (i < lines.size() && (lines[i].empty() || lines[i].starts_with('#'))) ++i;
  if (i < lines.size() && lines[i] != "%+" && lines[i] != "%" && lines[i] != "%%")
    throw CExchangeError(std::string(kNotKeyNote) + ": no tab follows its header");
  CKeyNoteReader reader(codePage);
  while (i < lines.size() && reader.Take(lines[i])) ++i;
  return reader.Finish();
}

size_t ImportKeyNote(CFolderList& folders, std::string_view sFile, const CCodePage& codePage,
                     const SNoteDefaults& defaults) {
  std::vector<SKeyNoteTab> tabs = ReadKeyNote(sFile, codePage);
  std::vector<std::unique_ptr<CXMLTree>> made;
  made.reserve(tabs.size());
  for (SKeyNoteTab& tab : tabs)
    made.push_back(MakeFolder(tab.sName, std::move(tab.nodes), defaults));
  for (auto& pFolder : made) folders.Append(std::move(pFolder));
  return made.size();
}

std::string WriteKeyNote(const CFolderList& folders) {
  std::vector<std::vector<SFolderNote>> notesOfFolders;
  size_t nSize = 0;
  for (const auto& pFolder : folders)  // and room for the header and each tab's lines
    nSize += ExportSize(notesOfFolders.emplace_back(FolderNotes(*pFolder))) + 512;
  std::string sFile =
      "#!GFKNT 2.0\n# This is an automatically generated file. Do not edit.\n#/\n#?\n#$2\n"
      "#C17-05-2005 15:42:04\n#^011000000000000000000000\n";
  sFile.reserve(nSize);
  for (size_t nFolder = 0; nFolder < folders.Count(); ++nFolder) {
    sFile += "%+\nNN=" + WithAccelerators(OneLine(folders.At(nFolder).FolderName())) + "\n";
    for (std::string_view sLine : kTabLines) (sFile += sLine) += '\n';
    size_t nPosition = 0;
    for (const SFolderNote& node : notesOfFolders[nFolder]) {
      sFile += "%-\nLV=" + std::to_string(node.nLevel) + "\nND=" + OneLine(node.sName) +
               "\nDI=" + std::to_string(++nPosition) +
               "\nNF=000000000000000000000000\nBC=clWindow\nIX=0\nSS=11\n%:\n";
      AppendContent(sFile, node.sContent, IsMarker);
    }
  }
  sFile += "%%";
  return sFile;
}

}  // namespace orv
