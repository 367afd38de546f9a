// What a save must never lose: backup copies when the disk fills or the
// process dies, disk space to stale scratch files, a second writer's change,
// and a protected document to a read error taken for a wrong passphrase.

#include <algorithm>
#include <filesystem>
#include <set>

#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"
#include "storage/orvella_doc.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

namespace orv {
namespace {

using test::CFaultyFileSystem;
using test::CTempDir;
using test::ReadWholeFile;

struct SUser {
  test::CScriptedUi ui;
  CMemorySettingsStore settings;
};

// Files in the folder whose names hold the scratch mark.
std::vector<std::string> ScratchFiles(const CTempDir& dir) {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(dir.Path()))
    if (entry.path().filename().string().find(".orvtmp") != std::string::npos)
      names.push_back(entry.path().filename().string());
  return names;
}

// notes.orv saved three times as "Version 0..2", so that both copies exist.
struct SSavedThrice {
  CTempDir dir;
  std::string sPath = dir.File("notes.orv");
  SUser user;
  std::set<std::string> versions;  // every state the file has had

  SSavedThrice() {
    COrvellaDoc doc(user.ui, user.settings);
    for (int i = 0; i < 3; ++i) Save(doc, "Version " + std::to_string(i));
  }
  void Save(COrvellaDoc& doc, const std::string& sName) {
    doc.Folders().Current()->SetFolderName(sName);
    doc.OnSaveDocument(sPath);
    versions.insert(ReadWholeFile(sPath));
  }
  std::vector<std::string> Files() const {
    std::vector<std::string> files;
    for (const std::string& sName : {sPath, sPath + ".1.bak", sPath + ".2.bak"})
      files.push_back(std::filesystem::exists(sName) ? ReadWholeFile(sName) : "<none>");
    return files;
  }
};

TEST(SaveSafety, AFullDiskLeavesTheDocumentAndEveryCopyAsTheyWere) {
  SSavedThrice saved;
  const std::vector<std::string> before = saved.Files();
  CFaultyFileSystem fs;
  COrvellaDoc doc(saved.user.ui, saved.user.settings, fs);
  doc.OnOpenDocument(saved.sPath);
  doc.Folders().Current()->SetFolderName("Version 3");
  for (int n = 1;; ++n) {
    fs.FillDiskAt(n);
    try {
      doc.OnSaveDocument(saved.sPath);
    } catch (const CDocumentError&) {
      EXPECT_EQ(saved.Files(), before) << "disk full from operation " << n;
      EXPECT_EQ(ScratchFiles(saved.dir), std::vector<std::string>{}) << n;
      continue;
    }
    break;  // the save needed fewer writes than that
  }
  // The save that went through moved every copy one up; the default keeps two.
  std::vector<std::string> after = saved.Files();
  EXPECT_EQ(after[1], before[0]);
  EXPECT_EQ(after[2], before[1]);
  EXPECT_FALSE(std::filesystem::exists(saved.sPath + ".3.bak"));
}

TEST(SaveSafety, AnInterruptedSaveKeepsWholeCopiesAndTheNextSaveCleansUp) {
  SSavedThrice saved;
  CFaultyFileSystem fs;
  COrvellaDoc doc(saved.user.ui, saved.user.settings, fs);
  doc.OnOpenDocument(saved.sPath);
  int nSave = 3;
  for (int n = 1;; ++n) {
    fs.FailFrom(n);  // as a kill at that point would leave things, or nearly
    doc.Folders().Current()->SetFolderName("Version " + std::to_string(nSave));
    bool bDone = true;
    try {
      doc.OnSaveDocument(saved.sPath);
    } catch (const CDocumentError&) {
      bDone = false;
    }
    fs.FailFrom(0);
    std::string sNow = ReadWholeFile(saved.sPath);
    if (bDone) {
      EXPECT_EQ(saved.versions.count(sNow), 0u) << n;
    }
    saved.versions.insert(ReadWholeFile(saved.sPath));
    for (int k = 1; k <= 2; ++k) {
      std::string sCopy = BackupCopyName(saved.sPath, k);
      if (std::filesystem::exists(sCopy)) {
        EXPECT_EQ(saved.versions.count(ReadWholeFile(sCopy)), 1u) << "copy " << k << ", " << n;
      }
    }
    // The next save goes through and leaves distinct copies, nothing else.
    saved.Save(doc, "Version " + std::to_string(++nSave));
    ++nSave;
    EXPECT_EQ(ScratchFiles(saved.dir), std::vector<std::string>{}) << n;
    std::vector<std::string> files = saved.Files();
    EXPECT_NE(files[0], files[1]) << n;
    if (bDone) break;
  }
}

TEST(SaveSafety, ASaveStoppedAfterRotatingDoesNotRotateAgain) {
  SSavedThrice saved;
  std::vector<std::string> before = saved.Files();
  // As the rotation leaves it: the copies moved up, P.1.bak a second name of P.
  std::filesystem::rename(saved.sPath + ".1.bak", saved.sPath + ".2.bak");
  std::filesystem::create_hard_link(saved.sPath, saved.sPath + ".1.bak");
  COrvellaDoc doc(saved.user.ui, saved.user.settings);
  doc.OnOpenDocument(saved.sPath);
  saved.Save(doc, "Version 3");
  std::vector<std::string> after = saved.Files();
  EXPECT_EQ(after[1], before[0]);
  EXPECT_EQ(after[2], before[1]);
}

TEST(SaveSafety, StaleScratchFilesGoUnlessALiveWriterHoldsThem) {
  CTempDir dir;
  std::string sPath = dir.File("notes.orv");
  for (const char* pName : {"notes.orv.orvtmp123456", "notes.orv.1.bak.orvtmp0a1b2c3d4e5f",
                            "notes.orv.orvtmpnothex", "other.orv.orvtmp123456"})
    test::WriteWholeFile(dir.File(pName), "left by a killed save");
  std::string sHeld;
  std::unique_ptr<COsFile> pHeld = CreateScratchFile(CFileSystem::Default(), sPath, sHeld);
  std::string sSecond;
  CreateScratchFile(CFileSystem::Default(), sPath, sSecond);
  EXPECT_NE(sSecond, sHeld);  // and it is stale at once

  SUser user;
  COrvellaDoc doc(user.ui, user.settings);
  doc.OnSaveDocument(sPath);
  std::vector<std::string> left = ScratchFiles(dir);
  std::vector<std::string> expected = {"notes.orv.orvtmpnothex", "other.orv.orvtmp123456",
                                       std::filesystem::path(sHeld).filename().string()};
  std::sort(left.begin(), left.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);
}

TEST(SaveSafety, ASecondWriterWaitsForTheLockThenFails) {
  CTempDir dir;
  std::string sPath = dir.File("notes.orv");
  SUser user;
  COrvellaDoc first(user.ui, user.settings);
  first.OnSaveDocument(sPath);
  first.LockForChange(sPath);
  first.OnOpenDocument(sPath);  // reading needs no second lock
  const std::string sBefore = ReadWholeFile(sPath);

  COrvellaDoc second(user.ui, user.settings);
  second.OnOpenDocument(sPath);  // nor does reading alongside
  second.Folders().Current()->SetFolderName("Second");
  auto started = std::chrono::steady_clock::now();
  EXPECT_THROW_MSG(second.OnSaveDocument(sPath), CDocumentError,
                   "Can't save " + sPath + ": The file " + sPath + " is in use by another program");
  EXPECT_GE(std::chrono::steady_clock::now() - started, kChangeLockWait);
  EXPECT_EQ(ReadWholeFile(sPath), sBefore);

  // The holder saves: its lock stays on the file it renamed into place.
  first.Folders().Current()->SetFolderName("First");
  first.OnSaveDocument(sPath);
  EXPECT_THROW(CFileSystem::Default().LockForChange(sPath, std::chrono::milliseconds(0)), CIoError);
}

TEST(SaveSafety, TheDocumentTellsWhenAnotherProgramWroteItsFile) {
  CTempDir dir;
  std::string sPath = dir.File("notes.orv");
  SUser user;
  COrvellaDoc doc(user.ui, user.settings);
  EXPECT_FALSE(doc.ChangedOnDisk());  // never saved
  doc.OnSaveDocument(sPath);
  EXPECT_FALSE(doc.ChangedOnDisk());

  COrvellaDoc other(user.ui, user.settings);
  other.OnOpenDocument(sPath);
  other.OnSaveDocument(sPath);
  EXPECT_TRUE(doc.ChangedOnDisk());  // replaced by a rename
  doc.OnOpenDocument(sPath);
  EXPECT_FALSE(doc.ChangedOnDisk());

  std::string sBytes = ReadWholeFile(sPath);
  {
    auto pFile = CFileSystem::Default().Open(sPath, EOpenMode::ReadWrite);
    pFile->WriteAt(sBytes.size(), "x", 1);  // written in place
  }
  EXPECT_TRUE(doc.ChangedOnDisk());
  std::filesystem::remove(sPath);
  EXPECT_FALSE(doc.ChangedOnDisk());  // nothing there to lose
}

TEST(SaveSafety, AReadErrorInAProtectedDocumentIsNoWrongPassphrase) {
  CTempDir dir;
  std::string sPath = dir.File("secret.orv");
  SUser user;
  {
    COrvellaDoc doc(user.ui, user.settings);
    CXMLTree& tree = *doc.Folders().Current();
    tree.ContentOf(*tree.TopLevel()[0])->SetContent(std::string(20000, 's'));
    doc.SetProtection("right passphrase");
    doc.OnSaveDocument(sPath);
  }
  CFaultyFileSystem fs;
  COrvellaDoc doc(user.ui, user.settings, fs);
  user.ui.QueueText("right passphrase");
  doc.OnOpenDocument(sPath);
  int nReads = fs.ReadCount();
  ASSERT_GT(nReads, 3);
  for (int n = 1; n <= nReads; ++n) {
    SUser asked;
    COrvellaDoc fresh(asked.ui, asked.settings, fs);
    fs.FailReadsFrom(n);
    asked.ui.QueueText("right passphrase");
    try {
      fresh.OnOpenDocument(sPath);
      ADD_FAILURE() << "read " << n << " failed and the open went through";
    } catch (const CPassphraseError& e) {
      ADD_FAILURE() << "read " << n << ": " << e.what();
    } catch (const CDocumentError& e) {
      EXPECT_NE(std::string(e.what()).find("injected"), std::string::npos) << e.what();
    }
    EXPECT_TRUE(fresh.PathName().empty());
  }
  fs.FailReadsFrom(0);
}

}  // namespace
}  // namespace orv
