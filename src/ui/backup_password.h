#pragma once
// The server backup's password, kept by the desktop's keyring (the Secret
// Service: GNOME Keyring, KWallet, KeePassXC…), never in the settings file.
// Where no keyring answers, nothing is kept and the password is asked for
// at each backup.

#include <optional>
#include <string>

#include "shell/server_backup.h"

namespace orv {

// The kept password of the account's address and login; none when none is
// kept or no keyring answers.
std::optional<std::string> LoadBackupPassword(const SBackupAccount& account);

// Keeps account.sPassword (an empty one forgets it). False when no keyring answers.
bool StoreBackupPassword(const SBackupAccount& account);

}  // namespace orv
