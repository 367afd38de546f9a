// Shared folders on disk: the layout a new one gets, loading in number
// order, changes written back (and renumbered on moves), other users'
// changes never written over unasked, and nothing ever written outside the
// folder's root whatever a document or the disk holds.

#include "exchange/shared_folder.h"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "ports/settings_defaults.h"
#include "tree/note_commands.h"
#include "tree/note_fixture.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;

class SharedFolder : public CNoteFixture {
 protected:
  SharedFolder() {
    fs::create_directory(Root());
    fs::create_directory(Outside());
  }
  fs::path Root() const { return dir.Path() / "share"; }
  fs::path Outside() const { return dir.Path() / "outside"; }
  std::string Read(const fs::path& path) { return ReadWholeFile(path.string()); }
  void Create() {
    ui.QueueFolder(Root().string());
    ASSERT_TRUE(shares.Create(tree));
  }
  void Refresh() { shares.Refresh(Folder(), ui); }
  // Names by note directory: "00000=A 00000/00000=A1 00001=B".
  std::string Disk() {
    std::map<std::string, std::string> names;
    for (const auto& entry : fs::recursive_directory_iterator(Root()))
      if (entry.is_directory() && NoteDirNumber(entry.path().filename().string()))
        names[fs::relative(entry.path(), Root()).string()] = Read(entry.path() / "Name.txt");
    std::string sDisk;
    for (const auto& [sPath, sName] : names)
      sDisk += (sDisk.empty() ? "" : " ") + sPath + "=" + sName;
    return sDisk;
  }
  // Every file below `path`, with its bytes: what must not change.
  std::map<std::string, std::string> Snapshot(const fs::path& path) {
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(path))
      files[entry.path().string()] = entry.is_regular_file() ? Read(entry.path()) : "<dir>";
    return files;
  }
  void WriteNote(const fs::path& noteDir, const std::string& sName) {
    fs::create_directories(noteDir);
    WriteWholeFile((noteDir / "Name.txt").string(), sName);
  }

  CTempDir dir;
  CSharedFolders shares;
};

TEST_F(SharedFolder, ANewOneGetsItsFirstNoteAndTheSameRootAgainWritesNothing) {
  Create();
  EXPECT_EQ(ui.Calls()[0], FolderPrompt("Select a shared folder",
                                        std::string(getenv("HOME")) + "/SharedOrvella/"));
  EXPECT_EQ(ui.Messages().back(),
            Message("Information", std::string(kSharedFolderCreated), EMessageIcon::Information));
  EXPECT_EQ(Read(Root() / "description.txt"), "Orvella Shared Folder");
  std::string sFirst;  // every file of the first note, by name
  for (const auto& [sPath, sBytes] : Snapshot(Root() / "00000"))
    sFirst += fs::path(sPath).filename().string() + "=" + sBytes + ";";
  EXPECT_EQ(sFirst,
            "Content.rtf=;Describtion.txt=;Expand.txt=false;Icon.txt=0;Name.txt=New Shared Note;"
            "PasswordProtect.txt=;ReadOnly.txt=;Select.txt=true;Type.txt=2;");
  EXPECT_EQ(Folder().FolderName(), "Shared Folder #1");
  EXPECT_EQ(Folder().SharePath(), fs::canonical(Root()).string() + "/");
  EXPECT_EQ(Outline(), "New Shared Note");
  EXPECT_EQ(GetProperty(*N("New Shared Note"), "share_path"),
            fs::canonical(Root()).string() + "/00000/");

  const auto before = Snapshot(Root());
  const size_t nMessages = ui.Messages().size();
  Create();
  EXPECT_EQ(doc.Folders().Count(), 3u);
  EXPECT_EQ(Outline(), "New Shared Note");
  EXPECT_EQ(ui.Messages().size(), nMessages);
  EXPECT_EQ(Snapshot(Root()), before);

  // The note commands name a shared folder's new notes so.
  WriteSetting(settings, kSetDef, 1);
  tree.Select(N("New Shared Note"));
  RunNoteCommand(tree, ENoteCommand::NewNote);
  EXPECT_EQ(Outline(), "New Shared Note New Note");
}

TEST_F(SharedFolder, LoadsInNumberOrderAndWritesChangesBack) {
  WriteWholeFile((Root() / "description.txt").string(), "Orvella Shared Folder");
  WriteNote(Root() / "00010", "C");
  WriteNote(Root() / "00002", "B\r\n");
  WriteNote(Root() / "00001", "A");
  WriteNote(Root() / "00001" / "00000", "A1");
  WriteNote(Root() / "notes", "not a note");
  Create();
  EXPECT_EQ(Outline(), "A(A1) B C");

  // Rename, description and check box go to their files at once.
  SetProperty(*N("B"), "name", "Bee");
  SetProperty(*N("C"), "description", "see");
  SetProperty(*N("A"), "checked", "true");
  Refresh();
  EXPECT_EQ(Read(Root() / "00002" / "Name.txt"), "Bee");
  EXPECT_EQ(Read(Root() / "00010" / "Describtion.txt"), "see");
  EXPECT_EQ(Read(Root() / "00001" / "Check.txt"), "true");

  // A new note takes the number after the last.
  AddNote(nullptr, "D");
  Refresh();
  EXPECT_EQ(Disk(), "00001=A 00001/00000=A1 00002=Bee 00010=C 00011=D");

  // A note moved under another goes with its branch; a changed order renumbers.
  std::unique_ptr<XMLelement> pA = std::move(Folder().TopLevel()[0]);
  Folder().TopLevel().erase(Folder().TopLevel().begin());
  Folder().GetNoteList(N("D")).push_back(std::move(pA));
  Refresh();
  EXPECT_EQ(Outline(), "Bee C D(A(A1))");
  EXPECT_EQ(Disk(), "00002=Bee 00010=C 00011=D 00011/00000=A 00011/00000/00000=A1");
  std::swap(Folder().TopLevel()[1], Folder().TopLevel()[2]);
  Refresh();
  EXPECT_EQ(Outline(), "Bee D(A(A1)) C");
  EXPECT_EQ(Disk(), "00000=Bee 00001=D 00001/00000=A 00001/00000/00000=A1 00002=C");

  // A deleted note's directory is set aside, not read again.
  Folder().DeleteNote(*N("C"));
  Refresh();
  EXPECT_EQ(Outline(), "Bee D(A(A1))");
  EXPECT_EQ(Disk(), "00000=Bee 00001=D 00001/00000=A 00001/00000/00000=A1");
  EXPECT_EQ(Read(Root() / "notes" / "Name.txt"), "not a note");
}

TEST_F(SharedFolder, AnotherUsersChangeIsNotWrittenOverUnasked) {
  Create();
  const fs::path name = Root() / "00000" / "Name.txt";
  for (auto [nAnswer, sExpected] : {std::pair{0, "Mine"}, std::pair{1, "Theirs"}}) {
    // Another program changes the file after we read it.
    if (pid_t pid = fork(); pid == 0) {
      WriteWholeFile(name.string(), "Theirs");
      _exit(0);
    } else {
      waitpid(pid, nullptr, 0);
    }
    SetProperty(*Folder().TopLevel()[0], "name", "Mine");
    ui.QueueChoice(nAnswer);
    Refresh();
    EXPECT_EQ(ui.Calls().back().sTitle, "Keep mine|Take theirs");
    EXPECT_EQ(Read(name), sExpected);
    EXPECT_EQ(Outline(), sExpected);
  }
  // Nothing changed elsewhere: nothing is asked, nothing to load.
  const size_t nCalls = ui.Calls().size();
  Refresh();
  EXPECT_EQ(ui.Calls().size(), nCalls);
  EXPECT_FALSE(shares.ChangedOnDisk(Folder()));
  WriteNote(Root() / "00000" / "00000", "sub");
  EXPECT_TRUE(shares.ChangedOnDisk(Folder()));
  Refresh();
  EXPECT_FALSE(shares.ChangedOnDisk(Folder()));
  WriteWholeFile((Root() / "00000" / "Content.rtf").string(), "{\\rtf1 new}");
  EXPECT_TRUE(shares.ChangedOnDisk(Folder()));
}

TEST_F(SharedFolder, TwoProgramsAddingNotesAtOnceLoseNeither) {
  Create();
  std::vector<pid_t> children;
  for (const char* pName : {"first", "second"}) {
    if (pid_t pid = fork(); pid == 0) {
      AddNote(nullptr, pName);
      shares.Store(Folder(), ui);
      _exit(0);
    } else {
      children.push_back(pid);
    }
  }
  for (pid_t pid : children) {
    int nStatus = 0;
    waitpid(pid, &nStatus, 0);
    EXPECT_EQ(nStatus, 0);
  }
  Refresh();
  const std::string sOutline = Outline();
  EXPECT_TRUE(sOutline == "New Shared Note first second" ||
              sOutline == "New Shared Note second first")
      << sOutline;
}

TEST_F(SharedFolder, NothingIsWrittenOutsideTheRoot) {
  Create();
  WriteWholeFile((Outside() / "secret.txt").string(), "secret");
  fs::create_directory(Outside() / "00000");
  // Links on disk lead out: a note directory and a note's file.
  fs::create_directory_symlink(Outside(), Root() / "00001");
  fs::remove(Root() / "00000" / "Describtion.txt");
  fs::create_symlink(Outside() / "secret.txt", Root() / "00000" / "Describtion.txt");
  Refresh();
  EXPECT_EQ(Outline(), "New Shared Note");
  EXPECT_EQ(GetProperty(*N("New Shared Note"), "description"), "");

  const std::string sRoot = Folder().SharePath();
  const auto outside = Snapshot(Outside());
  for (const std::string& sPath :
       {Outside().string() + "/", std::string("../outside/"), sRoot + "../outside/",
        sRoot + "00000/../../outside/", sRoot + "00001/", std::string("/")}) {
    // A document or a paste brings notes whose "share_path" leads anywhere.
    XMLelement* pNote = AddNote(nullptr, "X");
    SetProperty(*pNote, "share_path", sPath);
    SetProperty(*N("New Shared Note"), "share_path", sPath);
    SetProperty(*pNote, "description", "written");
    Refresh();
    EXPECT_EQ(Snapshot(Outside()), outside) << sPath;
  }
  EXPECT_EQ(Read(Outside() / "secret.txt"), "secret");
  // The link itself was replaced, never what it points at.
  EXPECT_FALSE(fs::is_symlink(Root() / "00000" / "Describtion.txt"));

  // A root that is no shared folder is not written to.
  fs::remove(Root() / "description.txt");
  SetProperty(*Folder().TopLevel()[0], "name", "renamed");
  EXPECT_THROW(Refresh(), CShareError);
  EXPECT_EQ(Disk().find("renamed"), std::string::npos);
}

}  // namespace
}  // namespace orv::test
