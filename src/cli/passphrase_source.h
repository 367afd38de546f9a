#pragma once
// Where a passphrase comes from: a file named on the command line, else an
// environment variable, else a prompt on the terminal. Files and variables
// suit scripts; the terminal keeps the passphrase out of the process list.

#include <optional>
#include <string>

namespace orv::cli {

class CPassphraseSource {
 public:
  // `sFile` (empty: none) is read now, so a bad path fails before anything
  // is opened or written; throws CCliError when it can't be read. An empty
  // variable counts as unset. `sPromptNote` follows the caption of the
  // terminal prompt, to tell two sources apart.
  CPassphraseSource(const std::string& sOptionName, const std::string& sFile,
                    const char* pVariableName, std::string sPromptNote = {});

  // The passphrase for a prompt with this caption; the terminal is asked
  // every time. nullopt when there is none.
  std::optional<std::string> Ask(const std::string& sCaption) const;

  // "--passphrase-file F, ORVELLA_PASSPHRASE or on a terminal", for messages.
  const std::string& Description() const { return m_sDescription; }

 private:
  std::optional<std::string> m_given;
  std::string m_sPromptNote;
  std::string m_sDescription;
};

}  // namespace orv::cli
