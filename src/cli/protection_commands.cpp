#include "cli/protection_commands.h"

#include <filesystem>
#include <iostream>
#include <optional>

#include "cli/cli_error.h"
#include "ports/settings_defaults.h"
#include "tree/document_commands.h"
#include "tree/file_properties.h"

namespace orv::cli {

namespace {

// Ticks the box of the properties dialog; its messages have been shown.
void TickProtection(CCliSession& session, CFileProperties& properties,
                    const CPassphraseSource& source, const std::string& sFile) {
  properties.OnCheckBoxClicked();
  if (properties.IsChecked()) return;
  if (session.Ui().PassphraseMissing())
    throw CPassphraseError(
        "No new passphrase was given (give it with " + source.Description() + ")", false);
  throw CCliError(sFile + " was not changed");
}

// Clears the box with the passphrase the document was opened with.
void UntickProtection(CFileProperties& properties, const std::string& sFile) {
  properties.OnCheckBoxClicked();
  if (properties.IsChecked()) throw CCliError(sFile + " was not changed");
}

void Encrypt(CCliSession& session, const std::string& sFile) {
  session.Doc().LockForChange(sFile);
  session.OpenUnprotected(sFile,
                          sFile + " is already encrypted; change its passphrase with passwd");
  ProtectWithNewPassphrase(session, sFile);
  session.Doc().OnSaveDocument(sFile);
  std::cout << "encrypted " << sFile << '\n';
  if (std::filesystem::exists(BackupCopyName(sFile, 1)))
    std::cerr << "orvella-cli: warning: the backup copies " << BackupCopyName(sFile, 1)
              << " and older still hold the document unencrypted; remove them if that matters\n";
}

// Opens a protected document to change it.
void OpenProtected(CCliSession& session, const std::string& sFile) {
  session.Doc().LockForChange(sFile);
  session.Open(sFile);
  if (!session.Doc().IsEncrypted()) throw CCliError(sFile + " is not encrypted");
}

void Decrypt(CCliSession& session, const std::string& sFile) {
  OpenProtected(session, sFile);
  CFileProperties properties(session.Doc(), session.Ui());
  UntickProtection(properties, sFile);
  properties.OnOk(session.Doc());
  session.Doc().OnSaveDocument(sFile);
  std::cout << "decrypted " << sFile << '\n';
}

void ChangePassphrase(CCliSession& session, const std::string& sFile,
                      const std::string& sNewPassphraseFile) {
  CPassphraseSource newPassphrases("--new-passphrase-file", sNewPassphraseFile,
                                   "ORVELLA_NEW_PASSPHRASE", " (new)");
  OpenProtected(session, sFile);
  CFileProperties properties(session.Doc(), session.Ui());
  // Off and on again, as in the dialog; "protection will be off" is not news here.
  session.Ui().SetInformationMuted(true);
  UntickProtection(properties, sFile);
  session.Ui().SetInformationMuted(false);
  session.Ui().SetPassphraseSource(&newPassphrases);
  TickProtection(session, properties, newPassphrases, sFile);
  properties.OnOk(session.Doc());
  session.Doc().OnSaveDocument(sFile);
  std::cout << "changed the passphrase of " << sFile << '\n';
}

std::string CopiesText(int32_t nCopies) {
  if (nCopies < 1) return "no backup copies";
  return "up to " + std::to_string(nCopies) + (nCopies == 1 ? " backup copy" : " backup copies");
}

void Save(CCliSession& session, const std::string& sFile, std::optional<int32_t> backups) {
  session.Doc().LockForChange(sFile);
  session.Open(sFile);
  if (backups) session.Settings().Override(kNumBackCopies, *backups);
  session.Doc().OnSaveDocument(sFile);
  std::cout << "saved " << sFile << ", keeping "
            << CopiesText(ReadSetting(session.Settings(), kNumBackCopies)) << '\n';
}

// The folder as a folder browser would give it: absolute, without a trailing "/".
std::string ChosenFolder(const std::string& sDirectory) {
  if (!std::filesystem::is_directory(sDirectory)) throw CCliError(sDirectory + " is not a folder");
  std::filesystem::path folder = std::filesystem::absolute(sDirectory).lexically_normal();
  if (!folder.has_filename() && folder != folder.root_path()) folder = folder.parent_path();
  return folder.string();
}

void BackupTo(CCliSession& session, const std::string& sFile, const std::string& sDirectory) {
  std::string sFolder = ChosenFolder(sDirectory);
  session.Ui().SetChosenFolder(sFolder);
  session.Doc().LockForChange(sFile);
  session.Open(sFile);
  orv::BackupTo(session.Doc(), session.Ui(), session.Settings());
  std::cout << "saved " << sFile << " and copied it to "
            << (std::filesystem::path(sFolder) / std::filesystem::path(sFile).filename()).string()
            << '\n';
}

}  // namespace

void ProtectWithNewPassphrase(CCliSession& session, const std::string& sFile) {
  COrvellaDoc& doc = session.Doc();
  CFileProperties properties(doc, session.Ui());
  TickProtection(session, properties, session.Passphrases(), sFile);
  properties.OnOk(doc);
}

void AddProtectionCommands(CLI::App& app, const SCliOptions& options) {
  // The argument holders live as long as the program.
  struct SArguments {
    std::string sFile;
    std::string sDirectory;
    std::string sNewPassphraseFile;
    std::optional<int32_t> backups;
  };
  auto args = std::make_shared<SArguments>();
  const char* pFileHelp = "Orvella document (.orv)";

  CLI::App* encrypt = app.add_subcommand(
      "encrypt", "Protect a document with a passphrase (asked twice on the terminal)");
  encrypt->add_option("FILE", args->sFile, pFileHelp)->required();
  encrypt->callback(SessionCallback(options, [args](CCliSession& s) { Encrypt(s, args->sFile); }));

  CLI::App* decrypt = app.add_subcommand("decrypt", "Remove a document's passphrase protection");
  decrypt->add_option("FILE", args->sFile, pFileHelp)->required();
  decrypt->callback(SessionCallback(options, [args](CCliSession& s) { Decrypt(s, args->sFile); }));

  CLI::App* passwd = app.add_subcommand(
      "passwd", "Change a document's passphrase (the new one is asked twice on the terminal)");
  passwd->add_option("FILE", args->sFile, pFileHelp)->required();
  passwd
      ->add_option("--new-passphrase-file", args->sNewPassphraseFile,
                   "Read the new passphrase from this file; else ORVELLA_NEW_PASSPHRASE, else "
                   "the terminal is asked")
      ->type_name("F");
  passwd->callback(SessionCallback(options, [args](CCliSession& s) {
    ChangePassphrase(s, args->sFile, args->sNewPassphraseFile);
  }));

  CLI::App* save = app.add_subcommand(
      "save", "Save a document again, rotating its backup copies FILE.1.bak, FILE.2.bak, ...");
  save->add_option("FILE", args->sFile, pFileHelp)->required();
  save->add_option("--backups", args->backups,
                   "Keep this many backup copies this time (the setting iNumBackCopies, "
                   "default 2, is left as it is)")
      ->check(CLI::Range(0, 999))
      ->type_name("N");
  save->callback(
      SessionCallback(options, [args](CCliSession& s) { Save(s, args->sFile, args->backups); }));

  CLI::App* backupTo = app.add_subcommand(
      "backup-to", "Save a document, then copy it into a folder (remembered as BackupFolder)");
  backupTo->add_option("FILE", args->sFile, pFileHelp)->required();
  backupTo->add_option("DIR", args->sDirectory, "Folder to copy the document into")->required();
  backupTo->callback(SessionCallback(
      options, [args](CCliSession& s) { BackupTo(s, args->sFile, args->sDirectory); }));
}

}  // namespace orv::cli
