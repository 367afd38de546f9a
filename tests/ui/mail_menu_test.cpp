// The zip-and-mail items of the menus: the mail reaches the mail client (a
// stub that MAILER names) and its archive stays in the Mail folder.

#include <QAbstractButton>
#include <QMessageBox>
#include <filesystem>

#include "ui/dialog_driver.h"
#include "ui/main_window_fixture.h"

namespace orv::test {
namespace {

class MailMenuTest : public MainWindowTest {};

TEST_F(MailMenuTest, NoteGoesToTheMailClientAsAnArchiveKeptInTheMailFolder) {
  for (const char* pName :
       {"File - Zip and E-Mail All File To ...", "Folders - Advanced - Zip And E-Mail To ...",
        "Notes - Advanced - E-Mail Note - As Zip...",
        "Notes - Advanced - E-Mail Note - As Text..."})
    EXPECT_NE(Window().Command(pName), nullptr) << pName;

  const std::string sStub = m_dir.File("mailer"), sRecord = m_dir.File("mailto");
  WriteWholeFile(sStub, "#!/bin/sh\nprintf '%s' \"$1\" > '" + sRecord + "'\n");
  std::filesystem::permissions(sStub, std::filesystem::perms::owner_all);
  qputenv("MAILER", QByteArray::fromStdString(sStub));
  Choose(FindNoteOfType("2"));
  CDialogDriver driver;
  driver.OnNext<QMessageBox>([](QMessageBox& box) {
    EXPECT_TRUE(box.text().startsWith("Your mail program has the mail, with \"Note.rtf.zip\""))
        << box.text().toStdString();
    for (QAbstractButton* pButton : box.buttons())
      if (pButton->text() == "OK") pButton->click();
  });
  Trigger("Notes - Advanced - E-Mail Note - As Zip...");
  qputenv("MAILER", "true");

  const std::string sArchive = m_dir.File("Mail/Note.rtf.zip");
  EXPECT_TRUE(std::filesystem::exists(sArchive));
  const std::string sUrl = ReadWholeFile(sRecord);
  EXPECT_EQ(sUrl.rfind("mailto:recipient@example.invalid?subject=", 0), 0u) << sUrl;
  EXPECT_NE(sUrl.find("Note.rtf.zip"), std::string::npos) << sUrl;
}

}  // namespace
}  // namespace orv::test
