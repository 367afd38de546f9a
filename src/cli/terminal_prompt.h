#pragma once
// Asking for a secret on the controlling terminal, as passwd and ssh do: the
// prompt goes to the terminal, not to standard output, so scripts that read
// the tool's output never see it, and what is typed is not echoed.

#include <optional>
#include <string>

namespace orv::cli {

// Shows `sPrompt` and reads one line without echo. nullopt when there is no
// terminal or the user ended the input (Ctrl-D) before typing anything.
std::optional<std::string> AskSecretOnTerminal(const std::string& sPrompt);

}  // namespace orv::cli
