#pragma once
// What every document command shares: the options valid on every command,
// the settings store, the UI port that answers from them, and the document
// built over both.

#include <CLI/CLI.hpp>
#include <functional>
#include <memory>
#include <string>

#include "cli/cli_ui.h"
#include "cli/passphrase_source.h"
#include "cli/settings_override.h"
#include "ports/ini_settings.h"
#include "ports/memory_settings.h"
#include "storage/orvella_doc.h"

namespace orv::cli {

struct SCliOptions {
  std::string m_sSettingsFile;    // empty: settings in memory for this run
  std::string m_sPassphraseFile;  // empty: ORVELLA_PASSPHRASE or the terminal
  bool m_bYes = false;            // answer yes to every question
};

// --settings, --passphrase-file and --yes, accepted before or after the
// subcommand. Call before the subcommands are added: they inherit the
// fall-through that makes this work.
void AddGlobalOptions(CLI::App& app, SCliOptions& options);

class CCliSession {
 public:
  // Reads the settings file and the passphrase file; throws when they can't be.
  explicit CCliSession(const SCliOptions& options);

  COrvellaDoc& Doc() { return m_doc; }
  CCliUi& Ui() { return m_ui; }
  CSettingsOverride& Settings() { return m_settings; }
  const CPassphraseSource& Passphrases() const { return m_passphrases; }

  // Opens the document, asking the passphrase source when it is protected.
  void Open(const std::string& sPath);
  // Opens a document that must not be protected: no passphrase is asked for,
  // and a protected one is refused with `sRefusal`.
  void OpenUnprotected(const std::string& sPath, const std::string& sRefusal);
  // Writes the settings file when there is one and something changed.
  void Finish();

 private:
  CPassphraseSource m_passphrases;
  std::unique_ptr<CIniSettingsStore> m_pSettingsFile;
  CMemorySettingsStore m_memorySettings;
  CSettingsOverride m_settings;
  CCliUi m_ui;
  COrvellaDoc m_doc;
};

// A subcommand callback: runs `command` over a new session and writes the
// settings when it succeeds. `options` must outlive the callback.
std::function<void()> SessionCallback(const SCliOptions& options,
                                      std::function<void(CCliSession&)> command);

}  // namespace orv::cli
