#include "document_generator.h"

#include <random>
#include <string>
#include <vector>

namespace orv::bench {

namespace {

const char* const kWords[] = {"note",   "orvella", "tree",    "folder", "meeting", "idea",
                              "plan",   "summer",  "report",  "draft",  "list",    "budget",
                              "recipe", "travel",  "project", "review", "garden",  "book"};

std::string Words(std::mt19937& rng, size_t nBytes) {
  std::string s;
  while (s.size() < nBytes) {
    s += kWords[rng() % std::size(kWords)];
    s += rng() % 9 == 0 ? ". " : " ";
  }
  s.resize(nBytes);
  return s;
}

std::string RtfText(std::mt19937& rng) {
  // 0.5 to 4 KiB, most near the short end, as notes are.
  double fSkew = std::uniform_real_distribution<double>(0, 1)(rng);
  size_t nBytes = 512 + static_cast<size_t>(fSkew * fSkew * fSkew * fSkew * 3584);
  std::string sRtf =
      "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fswiss Arial;}}\\viewkind4\\uc1\\pard\\f0\\fs20 ";
  sRtf += Words(rng, nBytes > sRtf.size() + 8 ? nBytes - sRtf.size() - 8 : 16);
  sRtf += "\\par\n}";
  return sRtf;
}

}  // namespace

void GenerateDocument(COrvellaDoc& doc, size_t nNotes, unsigned nSeed, SDocumentShape shape) {
  std::mt19937 rng(nSeed);
  doc.OnNewDocument();
  doc.Folders() = CFolderList();
  for (size_t f = 0; f < shape.nFolders; ++f) {
    auto pTree = std::make_unique<CXMLTree>();
    pTree->DeleteNote(*pTree->TopLevel().front());
    pTree->SetFolderName("Folder " + std::to_string(f + 1));
    doc.Folders().Append(std::move(pTree));
  }
  for (size_t f = 0; f < shape.nFolders; ++f) {
    CXMLTree& tree = doc.Folders().At(f);
    size_t nHere = nNotes / shape.nFolders + (f < nNotes % shape.nFolders ? 1 : 0);
    // The path of notes from the top level to where the next note goes.
    std::vector<XMLelement*> path;
    for (size_t i = 0; i < nHere; ++i) {
      // Go down into the last note half of the time, else climb a level or two.
      unsigned nMove = rng() % 4;
      if (nMove >= 2 && !path.empty()) path.pop_back();
      if (nMove == 3 && !path.empty()) path.pop_back();
      XMLelement* pParent = path.empty() ? nullptr : path.back();
      XMLelement* pNote = tree.InsertNote({.sName = Words(rng, 8 + rng() % 24),
                                           .nType = kContentRtf,
                                           .nContentClass = kContentRtf,
                                           .pParent = pParent});
      tree.ContentOf(*pNote)->SetContent(RtfText(rng));
      if (path.size() + 1 < shape.nMaxDepth && nMove < 2) path.push_back(pNote);
    }
  }
}

}  // namespace orv::bench
