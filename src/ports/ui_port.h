#pragma once
// Everything a core command asks the user or tells them goes through this
// port: the desktop app answers with dialogs, the command line with its
// options and the terminal, tests with scripted answers.

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace orv {

enum class EMessageIcon { Information, Warning, Error, Question };

// The note-type dialog's answer: 0 "Text", 1 "HTML", 2 "RTF", and whether
// the box that makes the choice the default was ticked.
struct SNoteTypeAnswer {
  int32_t nType = 2;
  bool bMakeDefault = false;
};

// A file open or save dialog.
struct SFileDialog {
  bool bSave = false;
  std::string sFilterName;        // "Orvella files"
  std::string sPattern;           // "*.orv"
  std::string sDefaultExtension;  // "orv"
  std::string sStart;             // folder or file the dialog starts at
};

struct SConfirmAnswer {
  bool bYes = false;
  bool bDontAskAgain = false;  // the "Don't ask me again" box was ticked
};

class CUiPort {
 public:
  virtual ~CUiPort() = default;
  // A single-line text input with `sCaption` as its caption; nullopt on Cancel.
  // `bSecret` hides what is typed (passphrases).
  virtual std::optional<std::string> AskText(const std::string& sCaption,
                                             const std::string& sInitial, bool bSecret) = 0;
  // The passphrase of the document at sPath, asked with `sCaption`; nullopt on
  // Cancel. Fronts that can name the file say which document wants it.
  virtual std::optional<std::string> AskPassphrase(const std::string& sCaption,
                                                   const std::string& /*sPath*/) {
    return AskText(sCaption, "", true);
  }
  // A message box with the title ("Information", "Warning", "Error", "Question") and icon.
  virtual void ShowMessage(const std::string& sTitle, const std::string& sText,
                           EMessageIcon eIcon) = 0;
  // A yes/no question with a "Don't ask me again" box.
  virtual SConfirmAnswer AskConfirm(const std::string& sText, const std::string& sCaption) = 0;
  // A question titled "Question" with a button per answer; the index of the
  // one pressed (Escape presses the last), nullopt when the box was closed.
  virtual std::optional<int> AskChoice(const std::string& sText,
                                       const std::vector<std::string>& answers) = 0;
  // A folder browser titled `sTitle`, starting at `sStart`; nullopt on Cancel.
  virtual std::optional<std::string> ChooseFolder(const std::string& sTitle,
                                                  const std::string& sStart) = 0;
  // The icon picker, opened on icon `nCurrent`; the chosen index, nullopt on Cancel.
  virtual std::optional<int> ChooseIcon(int nCurrent) = 0;
  // The colour picker (RGB, red in the low byte) opened on nCurrent; nullopt on Cancel.
  virtual std::optional<int32_t> ChooseColor(int32_t nCurrent) = 0;
  // The note-type dialog with nCurrent preselected; nullopt on Cancel.
  virtual std::optional<SNoteTypeAnswer> AskNoteType(int32_t nCurrent) = 0;
  // The chosen path, nullopt on Cancel.
  virtual std::optional<std::string> ChooseFile(const SFileDialog& dialog) = 0;
  // The clipboard's text; nullopt when it holds none.
  virtual std::optional<std::string> ClipboardText() = 0;
};

}  // namespace orv
