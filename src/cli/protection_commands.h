#pragma once
// `orvella-cli encrypt|decrypt|passwd|save|backup-to`: passphrase protection
// and backup copies. Each opens FILE, saves it with backup rotation and
// prints one line saying what it did.

#include <CLI/CLI.hpp>
#include <string>

#include "cli/cli_session.h"

namespace orv::cli {

void AddProtectionCommands(CLI::App& app, const SCliOptions& options);

// Turns protection on with a new passphrase from the UI's passphrase source,
// through the properties dialog's rules (length, repetition). Throws
// CPassphraseError when no passphrase was given and CCliError when the
// dialog refused it; the document is then unchanged.
void ProtectWithNewPassphrase(CCliSession& session, const std::string& sFile);

}  // namespace orv::cli
