// KeyNote and TreePad files as their programs write them: each fixture in
// tests/data/exchange gives these folders and notes, or is refused with
// this message and changes nothing.

#include <gtest/gtest.h>

#include "exchange/keynote_file.h"
#include "exchange/treepad_file.h"
#include "model/note_keys.h"
#include "model/note_walk.h"
#include "support/test_support.h"

namespace orv::test {
namespace {

// "[folder]" lines, then each note indented by depth: name, (type),
// ": content" with "|" for line breaks, and "{description}".
std::string Outline(const CFolderList& folders, bool bTypes = true) {
  std::string sOutline;
  for (const auto& pFolder : folders) {
    sOutline += "[" + pFolder->FolderName() + "]\n";
    WalkNotes(
        pFolder->TopLevel(), [](const XMLelement&) { return false; },
        [&](const XMLelement& note, const std::vector<size_t>& path) {
          sOutline += std::string(2 * (path.size() - 1), ' ') + GetProperty(note, kNameKey);
          if (bTypes) sOutline += " (" + GetProperty(note, kTypeKey) + ")";
          std::string sContent = pFolder->ContentOf(note)->CachedContent();
          for (char& c : sContent) c = c == '\n' ? '|' : c;
          if (!sContent.empty()) sOutline += ": " + sContent;
          const std::string sDescription = GetProperty(note, kDescriptionKey);
          if (!sDescription.empty()) sOutline += " {" + sDescription + "}";
          sOutline += "\n";
          return true;
        });
  }
  return sOutline;
}

std::string Fixture(const std::string& sName) {
  return ReadWholeFile(std::string(ORVELLA_TEST_DATA) + "/exchange/" + sName);
}

// The outline the file gives, or "!" and the refusal.
std::string Import(const std::string& sName) {
  CFolderList folders;
  try {
    if (sName.ends_with(".knt"))
      ImportKeyNote(folders, Fixture(sName), CCodePage());
    else
      ImportTreePad(folders, nullptr, Fixture(sName), CCodePage());
  } catch (const CExchangeError& e) {
    EXPECT_TRUE(folders.Empty()) << sName;
    return std::string("!") + e.what();
  }
  return Outline(folders);
}

TEST(ExchangeImportTest, RealFilesGiveTheirNotesOrAClearRefusal) {
  const std::pair<const char*, const char*> cases[] = {
      {"tree_lf.knt",
       "[Hints]\nTop (2): {\\rtf1 top}\n  Child (2): {\\rtf1 child}\n    Grandchild (2)\n"
       "  R&D (2): {\\rtf1 r}\nSecond (2): {\\rtf1 s}\n[Readme]\nReadme (2): {\\rtf1 readme}\n"
       "[Tom & Jerry]\n"},
      {"simple_crlf.knt",
       "[Readme]\nReadme (2): {\\rtf1\\ansi{\\fonttbl|{\\f0 Courier;}|}||\\pard one\\par|}||"
       "\\par two|}\n"},
      {"virtual_mixed.knt",
       "[Tree]\nBefore (2): {\\rtf1 before}\ntodo.txt (0) {Linked file: todo.txt}\n"
       "After (2): {\\rtf1 after}\n"},
      {"no_end.knt", "[Open]\nLast (2): {\\rtf1 last}\n"},
      {"cp1252.knt", "[Café]\n€ price (2): {\\rtf1 x}\n[Plain]\nPlain (0): %%|line\n"},
      {"utf8.knt", "[Café]\n€ price ✓ (2): {\\rtf1 x}\n"},
      {"nf21.knt", "[NF]\nOne (2): {\\rtf1 one}\n  Two (2): {\\rtf1 two}\n"},
      {"level_jump.knt", "[Deep]\nA (2)\n  B (2)\n    C (2)\nD (2)\nE (2)\n"},
      {"nf30.knt",
       "!This is not KeyNote 1.6.5 file: it is a KeyNote NF 3.x file, a layout of its own"},
      {"compressed.knt",
       "!This is not KeyNote 1.6.5 file: it is a compressed KeyNote NF file (GFKNZ)"},
      {"token.knt",
       "!This is not KeyNote 1.6.5 file: it is an old KeyNote file that keeps its text in LI= "
       "lines (GFKNX)"},
      {"encrypted.knt", "!This is not KeyNote 1.6.5 file: it is an encrypted KeyNote file (GFKNE)"},
      {"other.knt", "!This is not KeyNote 1.6.5 file"},
      {"levels_lf.hjt",
       "[from TreePad]\nRoot (0): root line|second\n  Child (0)\n    Grandchild (0): g\n"
       "  Child 2 (0): c2\n"},
      {"kinds.hjt",
       "[from TreePad]\nRoot (0)\n  Rich (2): {\\rtf1 rich|\\par}\n    Under rich (0): u\n"
       "  Page (1): <html>|<b>x</b>|</html>\n  Other (0): <?xml?>\n"
       "  No type (0): <end node>|<node>\n"},
      {"numbers.hjt", "[from TreePad]\n1 (0)\n  2.1.1 (0): 3\n   (0): empty title\n"},
      {"v77.hjt", "[from TreePad]\nDated (0): body\n  Undated (0)\n"},
      {"cp1252.hjt", "[from TreePad]\nCafé (0): naïve\n  Über (0): straße\n"},
      {"doubled_cr.hjt", "[from TreePad]\nCopied (0): line\n"},
      {"v28.hjt", "!This is not TreePad file"},
      {"bad_level.hjt", "!The level of TreePad node \"Name\" is not a number: \"two\""},
  };
  for (auto [pFile, pExpected] : cases) EXPECT_EQ(Import(pFile), pExpected) << pFile;
}

TEST(ExchangeImportTest, TreePadSevenGivesItsTimes) {
  CFolderList folders;
  ImportTreePad(folders, nullptr, Fixture("v77.hjt"), CCodePage());
  const XMLelement& dated = *folders.At(0).AllNotes().front();
  EXPECT_EQ(GetProperty(dated, kCreateTimeKey), "2020/03/04 05:06:07");
  EXPECT_EQ(GetProperty(dated, kModifyTimeKey), "2024/01/02 03:04:05");
}

TEST(ExchangeImportTest, TreePadHangsUnderTheSelectedNote) {
  CFolderList folders;
  ImportTreePad(folders, nullptr, Fixture("levels_lf.hjt"), CCodePage());
  CXMLTree& folder = folders.At(0);
  XMLelement* pGrandchild = folder.AllNotes()[2];
  ImportTreePad(folders, pGrandchild, Fixture("numbers.hjt"), CCodePage());
  EXPECT_EQ(Outline(folders, false),
            "[from TreePad]\nRoot: root line|second\n  Child\n    Grandchild: g\n      1\n"
            "        2.1.1: 3\n        : empty title\n  Child 2: c2\n");
}

// Each node one level below the last, far deeper than a call stack goes:
// read, and written as KeyNote.
TEST(ExchangeImportTest, DeepChainsNeedNoRecursion) {
  constexpr int kDepth = 100000;
  std::string sFile = "<Treepad version 2.7>\n";
  for (int i = 0; i < kDepth; ++i)
    sFile += "<node>\nn\n" + std::to_string(i) + "\n<end node> 5P9i0s8y19Z\n";
  CFolderList folders;
  ImportTreePad(folders, nullptr, sFile, CCodePage());
  EXPECT_TRUE(
      WriteKeyNote(folders).ends_with("LV=99999\nND=n\nDI=100000\n"
                                      "NF=000000000000000000000000\nBC=clWindow\nIX=0\n"
                                      "SS=11\n%:\n\n%%"));
}

}  // namespace
}  // namespace orv::test
