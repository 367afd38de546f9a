// Passphrase protection and the properties dialog's rules.

#include "ports/memory_settings.h"
#include "storage/compound_stream.h"
#include "storage/orvella_doc.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"
#include "tree/file_properties.h"

namespace orv {
namespace {

using test::CScriptedUi;
using test::CTempDir;
using test::Message;
using test::TextPrompt;
using namespace std::string_literals;

struct SUser {
  CScriptedUi ui;
  CMemorySettingsStore settings;
};

// A document with a note text worth protecting, saved encrypted with sPassphrase.
void SaveProtected(const std::string& sPath, const std::string& sPassphrase) {
  SUser user;
  COrvellaDoc doc(user.ui, user.settings);
  CXMLTree& tree = *doc.Folders().Current();
  tree.ContentOf(*tree.TopLevel()[0])->SetContent("the secret text");
  doc.SetProtection(sPassphrase);
  doc.OnSaveDocument(sPath);
}

TEST(Protection, AProtectedDocumentOpensOnlyWithItsPassphrase) {
  CTempDir dir;
  std::string sPath = dir.File("secret.orv");
  std::string sLong(60, 'k');
  sLong[57] = 'x';  // beyond the 56 bytes the cipher uses
  SaveProtected(sPath, sLong);

  EXPECT_EQ(test::ReadRootStream(sPath, "CommonInformation"), "\x01\0\0\0\x01"s);
  EXPECT_EQ(test::ReadRootStream(sPath, "Bookmark").substr(0, 8),
            "\x01\0\0\0\x0a\0\0\0"s);  // plain
  std::string sContents = test::ReadRootStream(sPath, "Contents");
  EXPECT_EQ(sContents.size() % 8, 0u);
  EXPECT_EQ(sContents.find("secret"), std::string::npos);

  SUser user;
  COrvellaDoc doc(user.ui, user.settings);
  doc.Folders().Current()->SetFolderName("Untouched");
  // Cancel, a wrong passphrase and an empty one: the document stays as it was.
  const std::string sWrong = "Password is incorrect ! Application will close now !!!";
  for (auto [answer, sMessage] : {std::pair{std::optional<std::string>(), "Pasword not enterd"s},
                                  {"wrong passphrase", sWrong},
                                  {"", sWrong}}) {
    user.ui.QueueText(answer);
    try {
      doc.OnOpenDocument(sPath);
      ADD_FAILURE() << "opened with " << answer.value_or("no passphrase");
    } catch (const CPassphraseError& e) {
      EXPECT_EQ(e.what(), sMessage);
      EXPECT_EQ(e.IsFatal(), answer.has_value());
    }
  }
  EXPECT_EQ(doc.Folders().Current()->FolderName(), "Untouched");
  EXPECT_FALSE(doc.IsEncrypted());

  // The first 56 bytes are the whole key.
  user.ui.QueueText(sLong.substr(0, 56));
  doc.OnOpenDocument(sPath);
  CXMLTree& tree = *doc.Folders().Current();
  EXPECT_EQ(tree.ContentOf(*tree.TopLevel()[0])->GetContent(), "the secret text");
  EXPECT_TRUE(doc.IsEncrypted());
  EXPECT_EQ(user.ui.Calls().back(), TextPrompt("Enter a passphrase", "", true));

  // Saving again keeps the protection with the passphrase entered at open.
  doc.OnSaveDocument(sPath);
  user.ui.QueueText(sLong);
  COrvellaDoc again(user.ui, user.settings);
  again.OnOpenDocument(sPath);
  EXPECT_TRUE(again.IsEncrypted());
}

TEST(Protection, GarbageFromAWrongKeyIsRefusedForAnyKey) {
  CTempDir dir;
  std::string sPath = dir.File("secret.orv");
  SaveProtected(sPath, "right passphrase");
  SUser user;
  for (int i = 0; i < 200; ++i) {
    user.ui.QueueText("wrong " + std::to_string(i));
    COrvellaDoc doc(user.ui, user.settings);
    EXPECT_THROW(doc.OnOpenDocument(sPath), CPassphraseError);
  }
}

// The Qt dialog's tests drive the matching and wrong-passphrase paths; these
// are the rules only this layer shows.
TEST(Protection, PropertiesDialogRefusesShortOrUnrepeatedPassphrases) {
  SUser user;
  COrvellaDoc doc(user.ui, user.settings);
  CFileProperties dialog(doc, user.ui);
  user.ui.QueueText("abcd");
  dialog.OnCheckBoxClicked();
  EXPECT_FALSE(dialog.IsChecked());
  user.ui.QueueText("abcdefg");
  user.ui.QueueText(std::nullopt);  // the repeat cancelled
  dialog.OnCheckBoxClicked();
  EXPECT_FALSE(dialog.IsChecked());
  EXPECT_EQ(dialog.PassphraseCopy(), "");
  dialog.OnOk(doc);
  EXPECT_FALSE(doc.IsEncrypted());
  EXPECT_FALSE(doc.IsModified());
  EXPECT_EQ(user.ui.Messages(),
            std::vector{Message("Information", "Please enter a 5 or more symbols",
                                EMessageIcon::Information)});
  EXPECT_EQ(user.ui.PendingAnswers(), 0u);
}

TEST(Protection, TurningProtectionOffThenOnAgainNeedsANewPassphrase) {
  SUser user;
  COrvellaDoc doc(user.ui, user.settings);
  doc.SetProtection("old passphrase");
  CFileProperties dialog(doc, user.ui);
  user.ui.QueueText("old passphrase");
  dialog.OnCheckBoxClicked();
  EXPECT_FALSE(dialog.IsChecked());
  // Ticking again without one leaves protection off: it never goes on without a passphrase.
  user.ui.QueueText(std::nullopt);
  dialog.OnCheckBoxClicked();
  dialog.OnOk(doc);
  EXPECT_FALSE(doc.IsEncrypted());
  EXPECT_EQ(doc.Passphrase(), "");
}

}  // namespace
}  // namespace orv
