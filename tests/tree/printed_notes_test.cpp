#include "tree/printed_notes.h"

#include "note_fixture.h"

namespace orv {
namespace {

class PrintedNotesTest : public test::CNoteFixture {
 protected:
  PrintedNotesTest() {
    Build("A(A1(A11) A2 A3) B");
    for (XMLelement* pNote : Folder().AllNotes())
      Folder().ContentOf(*pNote)->SetContent("text of " + GetProperty(*pNote, "name"));
    SetProperty(*N("A", "A2"), "password", "secret");
    SetProperty(*N("A", "A3"), "hide", "");
  }

  // "name/depth/content" of each note printed.
  std::vector<std::string> Printed(XMLelement* pNote, bool bSubnotes) {
    std::vector<std::string> printed;
    for (const SPrintedNote& note : NotesToPrint(tree, *pNote, bSubnotes))
      printed.push_back(note.sName + "/" + std::to_string(note.nDepth) + "/" + note.sContent);
    return printed;
  }
};

TEST_F(PrintedNotesTest, TheNoteAloneOrWithTheSubnotesThePaneShows) {
  EXPECT_EQ(Printed(N("A", "A1"), false), (std::vector<std::string>{"A1/0/text of A1"}));
  // A2's password is not known here: its name is printed, its text is not.
  EXPECT_EQ(Printed(N("A"), true), (std::vector<std::string>{"A/0/text of A", "A1/1/text of A1",
                                                             "A11/2/text of A11", "A2/1/"}));
  Folder().RememberPassword("secret");
  Folder().SetShowHidden(true);
  EXPECT_EQ(Printed(N("A"), true).back(), "A3/1/text of A3");
  EXPECT_EQ(Printed(N("A"), true)[3], "A2/1/text of A2");
}

}  // namespace
}  // namespace orv
