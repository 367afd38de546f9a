// No Qt here: glib's headers and Qt's keywords do not mix.
#include "ui/backup_password.h"

#include <libsecret/secret.h>

namespace orv {

namespace {

const SecretSchema* Schema() {
  static const SecretSchema schema = {"org.orvella.Orvella.BackupPassword",
                                      SECRET_SCHEMA_NONE,
                                      {{"address", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {"login", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                       {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                      0,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr,
                                      nullptr};
  return &schema;
}

}  // namespace

std::optional<std::string> LoadBackupPassword(const SBackupAccount& account) {
  GError* pError = nullptr;
  gchar* pPassword =
      secret_password_lookup_sync(Schema(), nullptr, &pError, "address", account.sAddress.c_str(),
                                  "login", account.sLogin.c_str(), nullptr);
  if (pError) g_error_free(pError);
  if (!pPassword) return std::nullopt;
  std::string sPassword(pPassword);
  secret_password_free(pPassword);
  return sPassword;
}

bool StoreBackupPassword(const SBackupAccount& account) {
  GError* pError = nullptr;
  if (account.sPassword.empty()) {
    secret_password_clear_sync(Schema(), nullptr, &pError, "address", account.sAddress.c_str(),
                               "login", account.sLogin.c_str(), nullptr);
  } else {
    const std::string sLabel = "Orvella server backup (" + account.sLogin + ")";
    secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, sLabel.c_str(),
                               account.sPassword.c_str(), nullptr, &pError, "address",
                               account.sAddress.c_str(), "login", account.sLogin.c_str(), nullptr);
  }
  if (!pError) return true;
  g_error_free(pError);
  return false;
}

}  // namespace orv
