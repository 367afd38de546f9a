#pragma once
// The server backup: the saved document is uploaded by HTTP PUT into a
// WebDAV folder (Nextcloud, ownCloud and most storage services speak it),
// under its own file name, with the backup account's login and password.
// The address and the login are settings; the password is kept by the
// desktop's keyring, never in the settings file.

#include <string>
#include <string_view>

#include "ports/settings_store.h"
#include "shell/http_client.h"

namespace orv {

struct SBackupAccount {
  std::string sAddress;  // the WebDAV folder, "https://cloud.example/remote.php/dav/files/me/Notes"
  std::string sLogin;
  std::string sPassword;
};

// The address and the login as the settings keep them; no password.
SBackupAccount ReadBackupAccount(CSettingsStore& settings);
void WriteBackupAccount(CSettingsStore& settings, const SBackupAccount& account);

// Where sFileName lands in the folder at sAddress, the name percent-encoded.
std::string BackupFileUrl(std::string_view sAddress, std::string_view sFileName);

// Uploads the file at sPath into the account's folder, over the backup made
// before only once the whole file is there; throws CHttpFailure.
void UploadBackup(CHttpClient& client, const SBackupAccount& account, const std::string& sPath,
                  const FHttpStatus& status);

}  // namespace orv
