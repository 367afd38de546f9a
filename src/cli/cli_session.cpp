#include "cli/cli_session.h"

#include <iostream>

#include "cli/cli_error.h"

namespace orv::cli {

namespace {

std::unique_ptr<CIniSettingsStore> OpenSettingsFile(const std::string& sPath) {
  if (sPath.empty()) return nullptr;
  return std::make_unique<CIniSettingsStore>(sPath);
}

}  // namespace

void AddGlobalOptions(CLI::App& app, SCliOptions& options) {
  app.fallthrough();
  app.add_option("--settings", options.m_sSettingsFile,
                 "INI file of settings to read, and to update when a command changes one; "
                 "without it every setting has its default")
      ->type_name("FILE");
  app.add_option("--passphrase-file", options.m_sPassphraseFile,
                 "Read the passphrase from this file (one trailing line end is dropped); else "
                 "ORVELLA_PASSPHRASE, else the terminal is asked")
      ->type_name("F");
  app.add_flag("--yes", options.m_bYes, "Answer yes to every question");
}

CCliSession::CCliSession(const SCliOptions& options)
    : m_passphrases("--passphrase-file", options.m_sPassphraseFile, "ORVELLA_PASSPHRASE"),
      m_pSettingsFile(OpenSettingsFile(options.m_sSettingsFile)),
      m_settings(m_pSettingsFile ? static_cast<CSettingsStore&>(*m_pSettingsFile)
                                 : m_memorySettings),
      m_ui(m_passphrases, options.m_bYes),
      m_doc(m_ui, m_settings) {
  m_doc.SetLog(
      [](const std::string& sLine) { std::cerr << "orvella-cli: warning: " << sLine << '\n'; });
}

void CCliSession::Open(const std::string& sPath) {
  try {
    m_doc.OnOpenDocument(sPath);
  } catch (const CPassphraseError& e) {
    if (e.IsFatal()) throw;
    throw CPassphraseError(
        std::string(e.what()) + " (give it with " + m_passphrases.Description() + ")", false);
  }
  if (m_doc.IsEncrypted()) m_ui.SetPreviousPassphrase(m_doc.Passphrase());
}

void CCliSession::OpenUnprotected(const std::string& sPath, const std::string& sRefusal) {
  m_ui.SetPassphraseSource(nullptr);
  try {
    m_doc.OnOpenDocument(sPath);
  } catch (const CPassphraseError&) {
    throw CCliError(sRefusal);
  }
  m_ui.SetPassphraseSource(&m_passphrases);
}

void CCliSession::Finish() {
  if (m_pSettingsFile) m_pSettingsFile->Flush();
}

std::function<void()> SessionCallback(const SCliOptions& options,
                                      std::function<void(CCliSession&)> command) {
  return [&options, command = std::move(command)] {
    CCliSession session(options);
    command(session);
    session.Finish();
  };
}

}  // namespace orv::cli
