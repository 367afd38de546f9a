#include "tree/note_links.h"

#include <gtest/gtest.h>

namespace orv {
namespace {

std::vector<std::string> LinksIn(std::string_view sText) {
  std::vector<std::string> links;
  for (const STextLink& link : FindTextLinks(sText))
    links.emplace_back(sText.substr(link.nStart, link.nLength));
  return links;
}

TEST(NoteLinksTest, LinksStandingAsTextAreFoundByTheirLook) {
  using TLinks = std::vector<std::string>;
  const std::pair<std::string_view, TLinks> cases[] = {
      {"see https://example.org/a?b=1 now", {"https://example.org/a?b=1"}},
      {"HTTP://Example.org.", {"HTTP://Example.org"}},
      {"(www.example.org), then", {"www.example.org"}},
      {"mailto:someone@example.com; ftp://host/x", {"mailto:someone@example.com", "ftp://host/x"}},
      {"a file:///home/me/a%20b.txt\tb file:///C:\\My%20Notes\\a.doc",
       {"file:///home/me/a%20b.txt", "file:///C:\\My%20Notes\\a.doc"}},
      {"wais://Work:Plans+2024/+_+/the+plans!", {"wais://Work:Plans+2024/+_+/the+plans"}},
      {"https://en.wikipedia.org/wiki/C_(language) and [http://x.org/]",
       {"https://en.wikipedia.org/wiki/C_(language)", "http://x.org/"}},
      {"\"http://q.org\"<https://r.org>", {"http://q.org", "https://r.org"}},
      {"caf\xc3\xa9 http://x.org/\xc3\xa9t\xc3\xa9", {"http://x.org/\xc3\xa9t\xc3\xa9"}},
      // Not links: inside a word, or a start with nothing after it.
      {"xhttp://example.org awww.x.org", {}},
      {"http:// www. mailto:, file:", {}},
      {"", {}},
  };
  for (const auto& [sText, expected] : cases) EXPECT_EQ(LinksIn(sText), expected) << sText;
}

TEST(NoteLinksTest, FileLinksHaveThreeSlashesAndNoBlanks) {
  EXPECT_EQ(FileLink("/home/me/My Notes/a b.doc"), "file:///home/me/My%20Notes/a%20b.doc");
  EXPECT_EQ(FileLink("C:\\My Notes\\a b.doc"), "file:///C:\\My%20Notes\\a%20b.doc");
}

TEST(NoteLinksTest, AnInternalLinkShowsItsFolderAndThePathOfItsNote) {
  CXMLTree folder;
  folder.SetFolderName("Work");
  XMLelement* pTop = folder.TopLevel().front().get();
  SetProperty(*pTop, "name", "Plans");
  XMLelement* pChild =
      folder.InsertNote({.sName = "2024", .nType = 2, .nContentClass = 2, .pParent = pTop});
  ASSERT_NE(pChild, nullptr);
  EXPECT_EQ(InternalLinkCaption(folder, *pTop), "Work: Plans");
  EXPECT_EQ(InternalLinkCaption(folder, *pChild), "Work: Plans/2024");
}

}  // namespace
}  // namespace orv
