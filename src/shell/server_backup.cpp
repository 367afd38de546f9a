#include "shell/server_backup.h"

#include <cctype>
#include <filesystem>

#include "ports/settings_defaults.h"

namespace orv {

SBackupAccount ReadBackupAccount(CSettingsStore& settings) {
  return {ReadSetting(settings, kBackupAddress), ReadSetting(settings, kBackupLogin), {}};
}

void WriteBackupAccount(CSettingsStore& settings, const SBackupAccount& account) {
  WriteSetting(settings, kBackupAddress, account.sAddress);
  WriteSetting(settings, kBackupLogin, account.sLogin);
}

std::string BackupFileUrl(std::string_view sAddress, std::string_view sFileName) {
  while (!sAddress.empty() && (sAddress.back() == '/' || sAddress.back() == ' '))
    sAddress.remove_suffix(1);
  while (!sAddress.empty() && sAddress.front() == ' ') sAddress.remove_prefix(1);
  std::string sUrl = std::string(sAddress) + "/";
  static constexpr char kHex[] = "0123456789ABCDEF";
  for (const char c : sFileName) {
    const auto b = static_cast<unsigned char>(c);
    if (std::isalnum(b) || c == '-' || c == '.' || c == '_' || c == '~') {
      sUrl += c;
    } else {
      sUrl += '%';
      sUrl += kHex[b >> 4];
      sUrl += kHex[b & 15];
    }
  }
  return sUrl;
}

void UploadBackup(CHttpClient& client, const SBackupAccount& account, const std::string& sPath,
                  const FHttpStatus& status) {
  // Sent under a name of its own first, so a broken transfer never leaves a
  // half backup where the last whole one was.
  const std::string sName = std::filesystem::path(sPath).filename().string();
  const std::string sPartUrl = BackupFileUrl(account.sAddress, sName + ".uploading");
  client.Upload(sPartUrl, sPath, account.sLogin, account.sPassword, status);
  client.Move(sPartUrl, BackupFileUrl(account.sAddress, sName), account.sLogin, account.sPassword,
              status);
}

}  // namespace orv
