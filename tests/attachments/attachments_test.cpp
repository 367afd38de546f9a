// The note's list, the store and the scratch folder: what a user must get
// back, and what a hostile document or a failing disk must not do.

#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <set>

#include "attachments/attachment_commands.h"
#include "attachments/attachment_scratch.h"
#include "base/code_page.h"
#include "storage/compound_file.h"
#include "tree/note_fixture.h"

namespace orv::test {
namespace {

namespace fs = std::filesystem;

class AttachmentsTest : public CNoteFixture {
 protected:
  AttachmentsTest() { Build("A B"); }

  std::string Source(const std::string& sRelative, const std::string& sBytes) {
    const fs::path path = dir.Path() / "src" / sRelative;
    fs::create_directories(path.parent_path());
    WriteWholeFile(path.string(), sBytes);
    return path.string();
  }
  std::string Saved(const CAttachment& attachment) {
    return ReadWholeFile(SaveInFolder(store, attachment, att));
  }
  // Every stream of the store with its bytes, as a reader sees it.
  std::map<std::string, std::string> StoreContents() {
    std::map<std::string, std::string> contents;
    auto pStore = CCompoundFile::Open(store.Path(), CCompoundFile::EMode::ReadOnly);
    for (uint32_t nSid : pStore->Children(CCompoundFile::kRoot))
      contents[pStore->Name(nSid)] = ReadRootStream(store.Path(), pStore->Name(nSid));
    return contents;
  }
  std::string Attributes(const XMLelement& note) {
    std::string s;
    for (const auto& pChild : note.m_children)
      if (pChild->m_sName.starts_with("att")) s += pChild->m_sName + "=" + pChild->m_sValue + ";";
    return s;
  }

  CTempDir dir;
  CPinnedClock clock{2024, 3, 5, 14, 7, 9};
  CAttachmentStore store{dir.File("Attachments.stg")};
  std::string att = dir.File("Att");
};

TEST_F(AttachmentsTest, TheNoteKeepsItsListInTheAttributesOlderReadersKnow) {
  AddAttachments(tree, *N("A"), store, {Source("one.txt", "1"), Source("two.txt", "22")});
  EXPECT_TRUE(doc.IsModified());
  const std::string sNow = "03/05/24 14:07:09";  // "%x %X" of the pinned clock
  EXPECT_EQ(Attributes(*N("A")), "attcount=2;attachment0=one.txt;attdatecreate0=" + sNow +
                                     ";attachment1=two.txt;attdatecreate1=" + sNow + ";");
  AddAttachments(tree, *N("A"), store, {Source("three.txt", "333")});
  ui.QueueConfirm(true);
  ASSERT_TRUE(DeleteAttachment(tree, *N("A"), 1));  // the middle one
  EXPECT_EQ(Attributes(*N("A")), "attcount=2;attachment0=one.txt;attdatecreate0=" + sNow +
                                     ";attachment1=three.txt;attdatecreate1=" + sNow + ";");
  ASSERT_TRUE(MoveAttachment(tree, *N("A"), 1, -1));
  EXPECT_FALSE(MoveAttachment(tree, *N("A"), 0, -1));
  EXPECT_FALSE(MoveAttachment(tree, *N("A"), 1, 1));
  const std::vector<CAttachment> list = ReadAttachments(*N("A"));
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[0].sName + list[1].sName, "three.txtone.txt");
  EXPECT_EQ(Saved(list[0]) + Saved(list[1]), "3331");
  ui.QueueConfirm(true);
  ASSERT_TRUE(DeleteAllAttachments(tree, *N("A")));
  EXPECT_EQ(Attributes(*N("A")), "attcount=0;");
  EXPECT_EQ(Attributes(*N("B")), "attcount=0;");
}

TEST_F(AttachmentsTest, AListFromAFileIsNotBelievedBeyondWhatItHolds) {
  XMLelement& note = *N("A");
  SetProperty(note, "attcount", "4000000000");
  AddProperty(note, "attachment0", "a.txt");
  AddProperty(note, "attachment2", "c.txt");  // a gap: entry 1 has no name
  AddProperty(note, "attachment100000", "far.txt");
  const std::vector<CAttachment> list = ReadAttachments(note);
  ASSERT_EQ(list.size(), 2u);
  EXPECT_EQ(list[1].sName, "c.txt");
  EXPECT_EQ(list[1].sCreated, "");
  WriteAttachments(note, list);
  EXPECT_EQ(Attributes(note),
            "attcount=2;attachment0=a.txt;attdatecreate0=;attachment1=c.txt;attdatecreate1=;");
}

TEST_F(AttachmentsTest, DeletingAsksUnlessTheUserSilencedTheQuestion) {
  AddAttachments(tree, *N("A"), store, {Source("a", "a"), Source("b", "b")});
  ui.QueueConfirm(false);
  EXPECT_FALSE(DeleteAttachment(tree, *N("A"), 0));
  ui.QueueConfirm(false);
  EXPECT_FALSE(DeleteAllAttachments(tree, *N("A")));
  EXPECT_EQ(ReadAttachments(*N("A")).size(), 2u);
  ui.QueueConfirm(true, true);
  EXPECT_TRUE(DeleteAttachment(tree, *N("A"), 0));
  EXPECT_EQ(settings.GetInt("Settings", "AttDel", 0), 1);
  EXPECT_TRUE(DeleteAttachment(tree, *N("A"), 0));  // not asked again
  EXPECT_TRUE(ReadAttachments(*N("A")).empty());
}

// Every attachment keeps its own bytes, whichever note or document added a
// file of the same name, and whatever the name.
TEST_F(AttachmentsTest, EveryAttachmentKeepsItsOwnBytes) {
  CScriptedUi otherUi;
  CRecordingView otherView;
  COrvellaDoc other{otherUi, settings};
  CNoteTree otherTree{other, otherUi, settings, otherView};
  otherView.m_pTree = &otherTree;
  BuildOutline(otherTree.CurrentFolder(), "X");
  XMLelement& x = *otherTree.CurrentFolder().GetNoteList(nullptr).front();

  const std::string sLong(250, 'n');  // as long as a file's name on disk may be
  struct SCase {
    XMLelement* pNote;
    std::string sName;
    std::string sBytes;
  };
  const SCase cases[] = {
      {N("A"), "report.pdf", "first"},
      {N("B"), "report.pdf", "second"},
      {&x, "report.pdf", "other document"},
      {N("A"), "REPORT.PDF", "case only"},
      {N("A"), sLong + ".txt", "long"},
      {N("B"), sLong + ".txt", "long again"},
      {N("A"), "a:b!c.txt", "odd"},
      {N("B"), "a:b!c.txt", "odd again"},
      {N("A"), "日本語の名前がとても長いファイル名前がとても長いファイル.txt", "wide"},
  };
  int n = 0;
  for (const SCase& c : cases) {
    CNoteTree& owner = c.pNote == &x ? otherTree : tree;
    AddAttachments(owner, *c.pNote, store, {Source(std::to_string(n++) + "/" + c.sName, c.sBytes)});
  }
  std::vector<CAttachment> all = ReadAttachments(*N("A"));
  for (const CAttachment& a : ReadAttachments(*N("B"))) all.push_back(a);
  all.push_back(ReadAttachments(x).front());
  std::vector<std::string> bytes, streams;
  for (const CAttachment& a : all) {
    bytes.push_back(ReadRootStream(store.Path(), a.StreamName()));
    streams.push_back(a.StreamName());
    EXPECT_LE(CCodePage::Utf8ToUtf16(a.StreamName()).size(), 31u) << a.StreamName();
    EXPECT_EQ(a.StreamName().find_first_of("/\\:!"), std::string::npos) << a.StreamName();
  }
  EXPECT_EQ(bytes, (std::vector<std::string>{"first", "case only", "long", "odd", "wide", "second",
                                             "long again", "odd again", "other document"}));
  EXPECT_EQ(all[0].sStream, "");  // a free, safe name is the stream's own
  EXPECT_EQ(all[4].sName, cases[8].sName);
}

TEST_F(AttachmentsTest, AnAttachmentOfTheWindowsEditionIsReadFromTheStreamOfItsName) {
  {
    auto pStore = CCompoundFile::Create(store.Path());
    pStore->OpenStream(pStore->CreateStream(CCompoundFile::kRoot, "old.doc"))->Write("old", 3);
    pStore->Commit();
  }
  XMLelement& note = *N("A");
  SetProperty(note, "attcount", "1");
  AddProperty(note, "attachment0", "old.doc");
  AddProperty(note, "attdatecreate0", "03/05/24 14:07:09");
  AddAttachments(tree, note, store, {Source("old.doc", "new")});
  const std::vector<CAttachment> list = ReadAttachments(note);
  EXPECT_EQ(Saved(list[0]) + "|" + Saved(list[1]), "old|new");
  EXPECT_NE(list[1].sStream, "");
}

// Names come from documents anyone may have written: a copy lands directly in
// "Att" or nowhere, and never replaces or writes through what is there.
TEST_F(AttachmentsTest, SavingANameFromADocumentStaysInsideTheFolder) {
  AddAttachments(tree, *N("A"), store, {Source("x", "payload")});
  const std::string sStream = ReadAttachments(*N("A")).front().StreamName();
  fs::create_directories(att);
  const std::string sOutside = dir.File("outside.txt");
  WriteWholeFile(sOutside, "keep");
  fs::create_symlink(sOutside, att + "/link.txt");
  WriteWholeFile(att + "/mine.txt", "the user's own");
  // A name and what it is saved as; empty: refused.
  const std::pair<std::string, std::string> cases[] = {
      {"../../x", "x"},
      {"/etc/passwd", "passwd"},
      {"..\\..\\win.ini", "win.ini"},
      {std::string(300, 'a') + ".txt", std::string(196, 'a') + ".txt"},
      {"a:b!c", "a:b!c"},
      {"link.txt", "link (2).txt"},
      {"mine.txt", "mine (2).txt"},
      {"x", "x"},  // its own earlier copy is used again
      {"..", ""},
      {"dir/..", ""},
      {"", ""},
      {"bell\a.txt", ""},
      {"new\nline", ""},
  };
  for (const auto& [sName, sSavedAs] : cases) {
    const CAttachment attachment{sName, "", "", sStream};
    if (sSavedAs.empty()) {
      EXPECT_THROW(SaveInFolder(store, attachment, att), CAttachmentError) << sName;
      continue;
    }
    const std::string sPath = SaveInFolder(store, attachment, att);
    EXPECT_EQ(sPath, att + "/" + sSavedAs);
    EXPECT_EQ(ReadWholeFile(sPath), "payload");
  }
  EXPECT_EQ(ReadWholeFile(sOutside), "keep");
  EXPECT_EQ(ReadWholeFile(att + "/mine.txt"), "the user's own");
  std::set<std::string> outside;
  for (const auto& entry : fs::recursive_directory_iterator(dir.Path()))
    if (!entry.path().string().starts_with(att + "/")) outside.insert(entry.path().filename());
  EXPECT_EQ(outside, (std::set<std::string>{"Att", "Attachments.stg", "outside.txt", "src", "x"}));
  EXPECT_EQ(fs::path(SaveInFolder(store, {"x", "", "", sStream}, att)).filename(), "x");
  EXPECT_EQ(std::distance(fs::directory_iterator(att), fs::directory_iterator()), 9);
}

// A failure at any step of adding (a disk that fails, fills up or can't be
// read) leaves the store's bytes and the note as they were.
TEST_F(AttachmentsTest, AFailedAddChangesNothing) {
  AddAttachments(tree, *N("A"), store, {Source("kept.txt", "kept")});
  const std::string sBig = Source("big.bin", std::string(3 << 20, 'b'));
  const std::string sSmall = Source("small.txt", "s");
  const std::string sStoreBefore = ReadWholeFile(store.Path());
  const auto storeBefore = StoreContents();
  const std::string sNoteBefore = Attributes(*N("A"));
  const std::vector<CAttachment> listBefore = ReadAttachments(*N("A"));
  CFaultyFileSystem faulty;
  CAttachmentStore faultyStore(store.Path(), faulty);
  for (bool bReads : {false, true}) {
    for (int nStep = 1;; ++nStep) {
      faulty.FailReadsFrom(bReads ? nStep : 0);
      faulty.FillDiskAt(bReads ? 0 : nStep);
      try {
        AddAttachments(tree, *N("A"), faultyStore, {sSmall, sBig});
      } catch (const CAttachmentError&) {
        EXPECT_EQ(StoreContents(), storeBefore) << bReads << " " << nStep;
        EXPECT_EQ(Attributes(*N("A")), sNoteBefore) << nStep;
        continue;
      }
      EXPECT_GT(nStep, 3);
      break;
    }
    WriteAttachments(*N("A"), listBefore);
    WriteWholeFile(store.Path(), sStoreBefore);
  }
  EXPECT_THROW(AddAttachments(tree, *N("A"), store, {sSmall, dir.File("missing")}),
               CAttachmentError);
  const std::string sHuge = Source("huge.bin", "");
  fs::resize_file(sHuge, (uint64_t{2} << 30) + 1);  // sparse: nothing is written
  EXPECT_THROW_MSG(
      AddAttachments(tree, *N("A"), store, {sHuge}), CAttachmentError,
      sHuge + " is larger than 2 GiB, more than a stream of " + store.Path() + " can hold");
  int nAsked = 0;
  EXPECT_THROW(AddAttachments(tree, *N("A"), store, {sBig},
                              [&](uint64_t, uint64_t) { return ++nAsked < 2; }),
               CCopyCancelled);
  WriteWholeFile(store.Path(), "not a compound file, and not ours to replace");
  EXPECT_THROW_MSG(AddAttachments(tree, *N("A"), store, {sSmall}), CAttachmentError,
                   "Can't create storage file!");
  EXPECT_TRUE(ReadWholeFile(store.Path()) == "not a compound file, and not ours to replace");
  EXPECT_EQ(Attributes(*N("A")), sNoteBefore);
  fs::remove(store.Path());
  EXPECT_THROW_MSG(Saved(ReadAttachments(*N("A")).front()), CAttachmentError,
                   "Can't find storage file!");
}

TEST_F(AttachmentsTest, AFolderGivesItsOwnFilesOnly) {
  Source("folder/b.txt", "b");
  Source("folder/a.txt", "a");
  Source("folder/sub/deep.txt", "deep");
  const std::string sFolder = (dir.Path() / "src" / "folder").string();
  EXPECT_EQ(FilesOfFolder(CFileSystem::Default(), sFolder),
            (std::vector<std::string>{sFolder + "/a.txt", sFolder + "/b.txt"}));
}

}  // namespace
}  // namespace orv::test
