#pragma once
// Nobody answers during a benchmark: every question is cancelled or answered
// no, and messages go nowhere. Questions a benchmark needs answered are
// silenced through their "Don't ask me again" settings instead.

#include "ports/ui_port.h"

namespace orv::bench {

class CNoUserUi : public CUiPort {
 public:
  std::optional<std::string> AskText(const std::string&, const std::string&, bool) override {
    return std::nullopt;
  }
  void ShowMessage(const std::string&, const std::string&, EMessageIcon) override {}
  SConfirmAnswer AskConfirm(const std::string&, const std::string&) override { return {}; }
  std::optional<int> AskChoice(const std::string&, const std::vector<std::string>&) override {
    return std::nullopt;
  }
  std::optional<std::string> ChooseFolder(const std::string&, const std::string&) override {
    return std::nullopt;
  }
  std::optional<int> ChooseIcon(int) override { return std::nullopt; }
  std::optional<int32_t> ChooseColor(int32_t) override { return std::nullopt; }
  std::optional<SNoteTypeAnswer> AskNoteType(int32_t) override { return std::nullopt; }
  std::optional<std::string> ChooseFile(const SFileDialog&) override { return std::nullopt; }
  std::optional<std::string> ClipboardText() override { return std::nullopt; }
};

}  // namespace orv::bench
