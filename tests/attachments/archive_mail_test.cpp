#include "attachments/archive_mail.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "ports/settings_defaults.h"
#include "tree/note_fixture.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::Choice;
using test::CTempDir;
using test::Message;
using test::ReadWholeFile;
using test::WriteWholeFile;

// Keeps what it was handed instead of handing it on.
class CKeptMail : public CMailMsg {
 public:
  explicit CKeptMail(bool bAccept = true) : m_bAccept(bAccept) {}
  bool Send() override {
    ++m_nSent;
    return m_bAccept;
  }
  bool m_bAccept;
  int m_nSent = 0;
};

// One entry of a ZIP archive, as unzip reads it.
std::string Unzipped(const std::string& sArchive, const std::string& sName) {
  std::string sBytes;
  FILE* pPipe = popen(("unzip -p '" + sArchive + "' '" + sName + "'").c_str(), "r");
  for (int c; pPipe && (c = fgetc(pPipe)) != EOF;) sBytes += static_cast<char>(c);
  if (!pPipe || pclose(pPipe) != 0) ADD_FAILURE() << "unzip " << sArchive << " " << sName;
  return sBytes;
}

class ArchiveMailTest : public test::CNoteFixture {
 protected:
  ArchiveMailTest() {
    WriteSetting(settings, kNumBackCopies, 0);
    Build("A B");
  }

  XMLelement* AddTyped(const std::string& sName, int32_t nType, const std::string& sContent) {
    XMLelement* pNote =
        Folder().InsertNote({.sName = sName, .nType = nType, .nContentClass = nType % 3});
    Folder().ContentOf(*pNote)->SetContent(sContent);
    return pNote;
  }

  std::optional<SMailResult> Run(EMailCommand eCommand, CMailMsg& mail,
                                 std::optional<int> choice = 1) {
    if (choice) ui.QueueChoice(choice);
    return RunMailCommand(
        tree, eCommand, folders, mail,
        [this] {
          ++nSaves;
          doc.OnSaveDocument(sDocument);
          return true;
        },
        [this](double dDone) { progress.push_back(dDone); });
  }

  std::string HandedOffText(const std::string& sFile) {
    return "Your mail program has the mail, with \"" + sFile +
           "\" attached. Some mail programs leave such attachments out: the file is kept for a "
           "day in\n" +
           folders.sMailDir + "\nto attach by hand.";
  }

  CTempDir dir;
  SMailFolders folders{dir.File("Temp"), dir.File("Mail")};
  std::string sDocument = dir.File("Grüße.orv");
  int nSaves = 0;
  std::vector<double> progress;
};

TEST_F(ArchiveMailTest, DocumentIsSavedThenZippedUnderItsNameAndOfferedToTheUser) {
  // Declining the save (or its name) declines the mail.
  CKeptMail declined;
  EXPECT_FALSE(
      RunMailCommand(tree, EMailCommand::ZipDocument, folders, declined, [] { return false; }));
  EXPECT_FALSE(declined.m_nSent || fs::exists(folders.sMailDir));
  CKeptMail mail;
  ui.QueueChoice(0);
  std::optional<SMailResult> result = Run(EMailCommand::ZipDocument, mail, std::nullopt);
  ASSERT_TRUE(result);
  const std::string sArchive = dir.File("Mail/Grüße.orv.zip");
  EXPECT_EQ(nSaves, 1);
  EXPECT_TRUE(std::is_sorted(progress.begin(), progress.end()));
  EXPECT_EQ(progress.back(), 1.0);
  EXPECT_TRUE(result->bSent && result->bOpenFolder);
  EXPECT_EQ(result->sFile, sArchive);
  EXPECT_EQ(Unzipped(sArchive, "Grüße.orv"), ReadWholeFile(sDocument));
  EXPECT_EQ(mail.m_nSent, 1);
  const std::string sUrl = MailtoUrl(mail);
  EXPECT_TRUE(sUrl.starts_with("mailto:recipient@example.invalid?subject=Gr%C3%BC%C3%9Fe.orv"
                               "&attach=%2F") &&
              sUrl.ends_with("%2FMail%2FGr%C3%BC%C3%9Fe.orv.zip"))
      << sUrl;
  EXPECT_EQ(mail.Attachments().at(0).sName, "File");
  EXPECT_EQ(ui.Calls(),
            (std::vector{Choice(HandedOffText("Grüße.orv.zip"), {"Open Folder", "OK"})}));

  // A second mail replaces the first archive; the client's failure is told.
  AddTyped("C", kContentText, "new");
  CKeptMail refused(false);
  result = Run(EMailCommand::ZipDocument, refused);
  EXPECT_FALSE(result->bSent || result->bOpenFolder);
  EXPECT_EQ(Unzipped(sArchive, "Grüße.orv"), ReadWholeFile(sDocument));
  EXPECT_EQ(ui.Calls().back(),
            Choice("No mail program could be started (xdg-email failed). The file "
                   "\"Grüße.orv.zip\" is kept for a day in\n" +
                       folders.sMailDir + "\nto attach to a mail by hand.",
                   {"Open Folder", "OK"}));
}

TEST_F(ArchiveMailTest, NoteIsZippedAsStoredUnderTheExtensionOfItsType) {
  std::string sNames;  // unknown types are plain text
  for (int32_t nType : {0, 1, 2, 3, 4, 7})
    sNames += NoteFileName(*Folder().InsertNote({.sName = "N", .nType = nType})) + " ";
  EXPECT_EQ(sNames, "Note.txt Note.html Note.rtf Note.txt Note.html Note.txt ");
  tree.Select(AddTyped("Named", kContentHtml, "<p>Grüße</p>"));
  CKeptMail mail;
  std::optional<SMailResult> result = Run(EMailCommand::ZipNote, mail);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->sFile, dir.File("Mail/Note.html.zip"));
  EXPECT_EQ(Unzipped(result->sFile, "Note.html"), "<p>Grüße</p>");
  EXPECT_EQ(mail.Subject(), "Named");
}

TEST_F(ArchiveMailTest, NoteAsTextCarriesWhatTheReaderSeesOrFallsBackToAFile) {
  tree.Select(AddTyped("Rich", kContentRtf, "{\\rtf1 Hello\\par world}"));
  CKeptMail mail;
  std::optional<SMailResult> result = Run(EMailCommand::NoteAsText, mail, std::nullopt);
  ASSERT_TRUE(result && result->bSent);
  EXPECT_EQ(result->sFile, "");
  EXPECT_EQ(mail.Subject(), "Rich");
  EXPECT_EQ(mail.Body(), "Hello\nworld");
  EXPECT_TRUE(mail.Attachments().empty());
  EXPECT_TRUE(ui.Calls().empty());

  // Line breaks and every byte but a few are written three to six times
  // over in the mailto: URL: the limit is of the URL, not of the note.
  const std::string sBig(kMailArgumentLimit / 5, '\n');
  tree.Select(AddTyped("Big", kContentText, sBig));
  CKeptMail big;
  result = Run(EMailCommand::NoteAsText, big);
  ASSERT_TRUE(result);
  EXPECT_EQ(result->sFile, dir.File("Mail/Note.txt"));
  EXPECT_EQ(ReadWholeFile(result->sFile), sBig);
  EXPECT_EQ(big.Body(), "");
  ASSERT_EQ(big.Attachments().size(), 1u);
  EXPECT_EQ(ui.Calls().back(),
            Choice("The note is too large to be mailed as text, so it is attached as a file.\n\n" +
                       HandedOffText("Note.txt"),
                   {"Open Folder", "OK"}));

  CKeptMail unstarted(false);
  tree.Select(AddTyped("Short", kContentText, "short"));
  EXPECT_TRUE(Run(EMailCommand::NoteAsText, unstarted, std::nullopt));
  EXPECT_EQ(ui.Calls().back(),
            Message("Warning", "No mail program could be started (xdg-email failed).",
                    EMessageIcon::Warning));
}

TEST_F(ArchiveMailTest, NothingGoesWithoutASelectedNoteOrWhileItsPasswordIsNotGiven) {
  CKeptMail mail;
  EXPECT_FALSE(IsEnabled(tree, EMailCommand::ZipNote));
  EXPECT_FALSE(RunMailCommand(tree, EMailCommand::NoteAsText, folders, mail, {}));
  XMLelement* pNote = AddTyped("Secret", kContentText, "secret");
  SetProperty(*pNote, "password", "pw");
  tree.Select(pNote);
  for (EMailCommand e : {EMailCommand::ZipNote, EMailCommand::NoteAsText})
    EXPECT_FALSE(RunMailCommand(tree, e, folders, mail, {}));
  EXPECT_EQ(mail.m_nSent, 0);
  EXPECT_FALSE(fs::exists(folders.sMailDir));
  EXPECT_EQ(
      ui.Messages().back(),
      Message("Warning", "This note is protected by a password: open it with its password first.",
              EMessageIcon::Warning));
}

TEST(MailtoUrl, EncodesEveryByteButTheUnreservedOnesAndWritesLineBreaksAsCrLf) {
  CKeptMail mail;
  mail.AddRecipient("a.b@example.invalid");
  mail.AddRecipient("c@example.invalid", "Ann");
  mail.SetSubject("Q&A? 100%");
  mail.SetBody("a\\cb\nc\r\nd\re ü~");
  mail.AddAttachment("/tmp/x y/Note.txt.zip", "File");
  EXPECT_EQ(MailtoUrl(mail),
            "mailto:a.b@example.invalid,Ann%20%3Cc@example.invalid%3E"
            "?subject=Q%26A%3F%20100%25"
            "&body=a%5Ccb%0D%0Ac%0D%0Ad%0D%0Ae%20%C3%BC~"
            "&attach=%2Ftmp%2Fx%20y%2FNote.txt.zip");
  CKeptMail empty;
  EXPECT_EQ(MailtoUrl(empty), "mailto:");
}

// xdg-email hands the URL to the program MAILER names; a stub records it.
TEST(XdgEmail, HandsTheWholeMailToTheMailerAsOneArgument) {
  CTempDir dir;
  const std::string sStub = dir.File("mailer"), sRecord = dir.File("args");
  WriteWholeFile(sStub, "#!/bin/sh\nprintf '%s\\n' \"$#\" \"$@\" > '" + sRecord +
                            "'\nexit ${MAILER_EXIT:-0}\n");
  fs::permissions(sStub, fs::perms::owner_all);
  setenv("MAILER", sStub.c_str(), 1);
  CXdgEmailMsg mail;
  mail.AddRecipient(kPlaceholderRecipient);
  mail.SetSubject("Grüße");
  mail.SetBody("line 1\\c\n$(touch " + dir.File("pwned") + ") `x` 'q' \"d\"");
  EXPECT_TRUE(mail.Send());
  EXPECT_EQ(ReadWholeFile(sRecord), "1\n" + MailtoUrl(mail) + "\n");
  EXPECT_FALSE(fs::exists(dir.File("pwned")));

  setenv("MAILER_EXIT", "1", 1);
  EXPECT_FALSE(mail.Send());
  unsetenv("MAILER_EXIT");
  unsetenv("MAILER");
}

TEST(RemoveOldMail, RemovesFilesOlderThanADayOnly) {
  CTempDir dir;
  for (const char* pName : {"old.zip", "new.zip"}) WriteWholeFile(dir.File(pName), "x");
  fs::create_directory(dir.File("folder"));
  for (const char* pName : {"old.zip", "folder"})
    fs::last_write_time(dir.File(pName), fs::file_time_type::clock::now() - std::chrono::hours(25));
  RemoveOldMail(dir.Path().string());
  EXPECT_FALSE(fs::exists(dir.File("old.zip")));
  EXPECT_TRUE(fs::exists(dir.File("new.zip")));
  EXPECT_TRUE(fs::exists(dir.File("folder")));
  RemoveOldMail(dir.File("missing"));  // no folder yet: nothing to do
}

}  // namespace
}  // namespace orv
