// The document commands that ask the user or follow the settings: backup to
// a folder, saving on minimise, and the question before saving over a file
// another program wrote.

#include "tree/document_commands.h"

#include <filesystem>

#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

namespace orv {
namespace {

using test::CTempDir;
using test::Message;

struct SUser {
  test::CScriptedUi ui;
  CMemorySettingsStore settings;
};

TEST(DocumentCommands, BackupToCopiesTheSavedFileAndRemembersTheFolder) {
  CTempDir dir;
  SUser user;
  COrvellaDoc doc(user.ui, user.settings);
  BackupTo(doc, user.ui, user.settings);
  EXPECT_EQ(user.ui.Messages().back(),
            Message("Warning", "Now document not saved to disk.", EMessageIcon::Warning));

  std::string sPath = dir.File("notes.orv");
  doc.OnSaveDocument(sPath);
  std::filesystem::create_directory(dir.Path() / "safe");
  std::string sSafe = (dir.Path() / "safe").string();
  user.ui.QueueFolder(sSafe);
  doc.Folders().Current()->SetFolderName("Changed");
  BackupTo(doc, user.ui, user.settings);
  EXPECT_EQ(test::ReadWholeFile(sSafe + "/notes.orv"), test::ReadWholeFile(sPath));
  EXPECT_TRUE(std::filesystem::exists(sPath + ".1.bak"));  // saved with backups first

  user.ui.QueueFolder(std::nullopt);
  BackupTo(doc, user.ui, user.settings);
  EXPECT_EQ(user.ui.Calls().back(), test::FolderPrompt("Select backup folder", sSafe));
}

TEST(DocumentCommands, SaveOnMinimizeOnlyWhenBothSettingsAreOn) {
  CTempDir dir;
  SUser user;
  COrvellaDoc doc(user.ui, user.settings);
  std::string sPath = dir.File("notes.orv");
  doc.OnSaveDocument(sPath);
  doc.Folders().Current()->SetFolderName("Changed");
  WriteSetting(user.settings, kAutoSaveByMinimize, 1);
  SaveOnMinimize(doc, user.settings);
  EXPECT_FALSE(std::filesystem::exists(sPath + ".1.bak"));
  WriteSetting(user.settings, kMinimizeToTray, 1);
  SaveOnMinimize(doc, user.settings);
  EXPECT_TRUE(std::filesystem::exists(sPath + ".1.bak"));

  // Not over a save of another program's: nobody is there to be asked.
  COrvellaDoc other(user.ui, user.settings);
  other.OnSaveDocument(sPath);
  const std::string sTheirs = test::ReadWholeFile(sPath);
  SaveOnMinimize(doc, user.settings);
  EXPECT_EQ(test::ReadWholeFile(sPath), sTheirs);
}

TEST(DocumentCommands, AFileWrittenElsewhereIsNotSavedOverUnasked) {
  CTempDir dir;
  std::string sPath = dir.File("notes.orv");
  using EAnswer = ESaveOverChange;
  const std::vector<std::string> answers = {"Save anyway", "Reload", "Cancel"};
  const std::string sQuestion =
      sPath +
      " was changed by another program since it was opened here.\n\nSave anyway (the other "
      "program's changes are lost), reload it (the changes made here are lost), or cancel?";
  const std::vector<std::pair<std::optional<int>, EAnswer>> cases = {
      {0, EAnswer::Save},
      {1, EAnswer::Reload},
      {2, EAnswer::Cancel},
      {std::nullopt, EAnswer::Cancel}};
  for (const auto& [answer, eExpected] : cases) {
    SUser user;
    COrvellaDoc doc(user.ui, user.settings);
    doc.OnSaveDocument(sPath);
    EXPECT_EQ(AskBeforeSavingOverChange(doc, user.ui), EAnswer::Save);  // nobody else wrote it
    COrvellaDoc other(user.ui, user.settings);
    other.OnSaveDocument(sPath);
    user.ui.QueueChoice(answer);
    EXPECT_EQ(AskBeforeSavingOverChange(doc, user.ui), eExpected);
    EXPECT_EQ(user.ui.Calls(), std::vector<test::SUiCall>{test::Choice(sQuestion, answers)});
  }
}

}  // namespace
}  // namespace orv
