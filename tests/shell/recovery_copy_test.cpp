// The recovery copy of unsaved work: written while a writer lives, offered
// back once it died (a child killed with SIGKILL), gone after a clean end.

#include "shell/recovery_copy.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>

#include "ports/memory_settings.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

namespace orv {
namespace {

using test::CScriptedUi;
using test::CTempDir;

const std::string kEdit = "typed after the last save: \xC3\xA9t\xC3\xA9, \r\n\t and \x01";

// A document with a user interface and settings of its own.
struct SUser {
  CScriptedUi ui;
  CMemorySettingsStore settings;
};
struct SUserDoc : SUser, COrvellaDoc {
  SUserDoc() : COrvellaDoc(ui, settings) {}
};

std::string FirstNoteText(COrvellaDoc& doc) {
  CXMLTree& tree = *doc.Folders().Current();
  return tree.ContentOf(*tree.TopLevel()[0])->GetContent();
}

void SetFirstNoteText(COrvellaDoc& doc, const std::string& sText) {
  CXMLTree& tree = *doc.Folders().Current();
  tree.ContentOf(*tree.TopLevel()[0])->SetContent(sText);
  doc.MarkModified();
}

class RecoveryCopyTest : public testing::Test {
 protected:
  RecoveryCopyTest() {
    SUserDoc doc;
    SetFirstNoteText(doc, "as saved");
    doc.OnSaveDocument(m_sDocument);
  }

  // A child opens the document (or starts an untitled one), makes an edit,
  // writes its recovery copy and is killed before it can save or clean up.
  void EditAndGetKilled(const std::string& sPassphrase = "", bool bUntitled = false) {
    int ready[2];
    ASSERT_EQ(::pipe(ready), 0);
    pid_t pid = ::fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      SUserDoc doc;
      doc.ui.QueueText(sPassphrase);
      CRecoveryCopy copy(CFileSystem::Default(), m_sFolder);
      try {
        if (!bUntitled) doc.OnOpenDocument(m_sDocument);
        SetFirstNoteText(doc, kEdit);
        copy.Write(doc);
      } catch (...) {
        ::_exit(1);
      }
      (void)!::write(ready[1], "k", 1);
      ::pause();
      ::_exit(0);
    }
    ::close(ready[1]);
    char c = 0;
    const bool bReady = ::read(ready[0], &c, 1) == 1;
    ::close(ready[0]);
    ::kill(pid, SIGKILL);
    int nStatus = 0;
    ::waitpid(pid, &nStatus, 0);
    ASSERT_TRUE(bReady) << "the child wrote no copy";
    ASSERT_TRUE(WIFSIGNALED(nStatus));
  }

  size_t FilesInFolder() const {
    if (!std::filesystem::exists(m_sFolder)) return 0;
    return static_cast<size_t>(std::distance(std::filesystem::directory_iterator(m_sFolder),
                                             std::filesystem::directory_iterator()));
  }

  CTempDir m_dir;
  const std::string m_sDocument = m_dir.File("notes.orv");
  const std::string m_sFolder = m_dir.File("Recovery");
};

TEST_F(RecoveryCopyTest, AKilledWritersEditComesBackByteForByteAndUnsaved) {
  const std::string sSaved = test::ReadWholeFile(m_sDocument);
  EditAndGetKilled();

  std::vector<SOrphanedCopy> copies = FindOrphanedCopies(CFileSystem::Default(), m_sFolder);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].sDocument, m_sDocument);
  EXPECT_EQ(copies[0].documentStamp, CFileSystem::Default().Stamp(m_sDocument));
  // While one start offers it, another does not.
  EXPECT_TRUE(FindOrphanedCopies(CFileSystem::Default(), m_sFolder).empty());

  SUserDoc doc;
  RestoreOrphanedCopy(doc, copies[0]);
  EXPECT_EQ(FirstNoteText(doc), kEdit);
  EXPECT_EQ(doc.PathName(), m_sDocument);
  EXPECT_TRUE(doc.IsModified());
  EXPECT_FALSE(doc.ChangedOnDisk());
  EXPECT_EQ(test::ReadWholeFile(m_sDocument), sSaved);  // nothing saved behind the user's back

  RemoveOrphanedCopy(CFileSystem::Default(), copies[0]);
  EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(RecoveryCopyTest, AProtectedDocumentsCopyIsEncipheredAndAsksForThePassphrase) {
  {
    SUserDoc doc;
    doc.OnOpenDocument(m_sDocument);
    doc.SetProtection("open sesame");
    doc.OnSaveDocument(m_sDocument);
  }
  EditAndGetKilled("open sesame");
  std::vector<SOrphanedCopy> copies = FindOrphanedCopies(CFileSystem::Default(), m_sFolder);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(test::ReadWholeFile(copies[0].sCopyPath).find("typed after"), std::string::npos);

  SUserDoc doc;
  SetFirstNoteText(doc, "untouched");
  doc.ClearModified();
  doc.ui.QueueText(std::nullopt);  // Cancel leaves everything as it was
  EXPECT_THROW(RestoreOrphanedCopy(doc, copies[0]), CPassphraseError);
  EXPECT_EQ(FirstNoteText(doc), "untouched");
  EXPECT_FALSE(doc.IsModified());
  doc.ui.QueueText("open sesame");
  RestoreOrphanedCopy(doc, copies[0]);
  EXPECT_EQ(FirstNoteText(doc), kEdit);
  EXPECT_EQ(doc.Passphrase(), "open sesame");
  EXPECT_TRUE(doc.IsModified());
}

TEST_F(RecoveryCopyTest, ALiveCopyIsNotOfferedAndACleanEndLeavesNothing) {
  {
    SUserDoc doc;
    CRecoveryCopy copy(CFileSystem::Default(), m_sFolder);
    SetFirstNoteText(doc, kEdit);  // untitled
    copy.Write(doc);
    EXPECT_TRUE(FindOrphanedCopies(CFileSystem::Default(), m_sFolder).empty());
    copy.Discard();  // saved
    EXPECT_EQ(FilesInFolder(), 0u);
    copy.Write(doc);  // changed again
    copy.Write(doc);
    EXPECT_EQ(FilesInFolder(), 3u);  // lock, info, copy
  }
  EXPECT_EQ(FilesInFolder(), 0u);
}

TEST_F(RecoveryCopyTest, AnUntitledDocumentComesBackUntitled) {
  EditAndGetKilled("", true);
  // A lock file of a writer that died before its first copy is swept away.
  CFileSystem::Default().Open(m_sFolder + "/orvella-1-2.lock", EOpenMode::CreateNew);

  std::vector<SOrphanedCopy> copies = FindOrphanedCopies(CFileSystem::Default(), m_sFolder);
  ASSERT_EQ(copies.size(), 1u);
  EXPECT_EQ(copies[0].sDocument, "");
  EXPECT_EQ(FilesInFolder(), 3u);
  SUserDoc doc;
  RestoreOrphanedCopy(doc, copies[0]);
  EXPECT_EQ(doc.PathName(), "");
  EXPECT_EQ(FirstNoteText(doc), kEdit);
  EXPECT_TRUE(doc.IsModified());
}

}  // namespace
}  // namespace orv
