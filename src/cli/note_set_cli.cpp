#include "cli/note_set_cli.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "cli/note_cli.h"
#include "tree/note_appearance.h"
#include "tree/note_protection.h"

namespace orv::cli {

namespace {

constexpr int32_t kMaxColor = 0xFFFFFF;

struct SSwitch {
  const char* pOption;  // without the dashes; also the word printed
  EAppearanceCommand eCommand;
  std::optional<std::string> state;  // "on" or "off"
};

struct SSetArguments {
  std::string sFile;
  std::string sNote;
  std::optional<int32_t> color;
  std::optional<int32_t> bkColor;
  // In the order they are applied; hide comes last, since hiding selects
  // the parent and every other change is meant for the note itself.
  std::vector<SSwitch> looks{{"bold", EAppearanceCommand::Bold, {}},
                             {"grayed", EAppearanceCommand::Grayed, {}},
                             {"highlighted", EAppearanceCommand::Highlighted, {}},
                             {"checkbox", EAppearanceCommand::CheckBox, {}}};
  SSwitch hide{"hide", EAppearanceCommand::Hide, {}};
  std::optional<int> icon;
  std::optional<std::string> description;
  std::optional<std::string> readOnly;
  std::optional<std::string> password;
  bool bSubnotes = false;

  bool Empty() const {
    for (const SSwitch& look : looks)
      if (look.state) return false;
    return !color && !bkColor && !hide.state && !icon && !description && !readOnly && !password;
  }
};

// Turns a check-marked command on or off; says whether it had to.
std::string Switch(const std::string& sWord, bool bOn, bool bWasOn, auto&& toggle) {
  if (bOn == bWasOn) return sWord + " already " + (bOn ? "on" : "off");
  toggle();
  return sWord + (bOn ? " on" : " off");
}

std::vector<std::string> Apply(CCliSession& session, CNoteTree& tree, XMLelement& note,
                               const SSetArguments& args) {
  CCliUi& ui = session.Ui();
  std::vector<std::string> done;
  auto setColor = [&](const char* pWord, EAppearanceCommand eCommand,
                      std::optional<int32_t> color) {
    if (!color) return;
    ui.SetChosenColor(*color);
    RunAppearanceCommand(tree, eCommand);
    done.push_back(std::string(pWord) + " " + std::to_string(*color));
  };
  setColor("color", EAppearanceCommand::TextColor, args.color);
  setColor("bk-color", EAppearanceCommand::BackgroundColor, args.bkColor);
  auto look = [&](const SSwitch& option) {
    if (!option.state) return;
    done.push_back(Switch(option.pOption, *option.state == "on", IsChecked(tree, option.eCommand),
                          [&] { RunAppearanceCommand(tree, option.eCommand); }));
  };
  for (const SSwitch& option : args.looks) look(option);
  if (args.icon) {
    ui.SetChosenIcon(*args.icon);
    RunAppearanceCommand(tree, EAppearanceCommand::SetIcon);
    done.push_back("icon " + std::to_string(*args.icon));
  }
  if (args.description) {
    ui.SetTextAnswer(kDescriptionCaption, *args.description);
    RunAppearanceCommand(tree, EAppearanceCommand::SetDescription);
    done.push_back("description \"" + *args.description + "\"");
  }
  if (args.readOnly)
    done.push_back(Switch("readonly", *args.readOnly == "on",
                          IsChecked(tree, EProtectionCommand::SetReadOnly),
                          [&] { RunProtectionCommand(tree, EProtectionCommand::SetReadOnly); }));
  if (args.password) {
    const size_t nCount = ProtectWithPassword(tree, note, *args.password, args.bSubnotes);
    done.push_back(
        std::string(args.password->empty() ? "password removed from " : "password set on ") +
        std::to_string(nCount) + (nCount == 1 ? " note" : " notes"));
  }
  look(args.hide);
  return done;
}

}  // namespace

void AddNoteSetCommand(CLI::App& app, const SCliOptions& options) {
  auto args = std::make_shared<SSetArguments>();
  CLI::App* set = NoteCommandGroup(app).add_subcommand(
      "set", "Set a note's look and protection; prints one line per option given");
  set->add_option("FILE", args->sFile, "Orvella document (.orv)")->required();
  set->add_option("NOTE", args->sNote, "Note F:i.j.k: folder index, then note positions from 0")
      ->required();
  const auto colorRange = CLI::Range(0, kMaxColor);
  set->add_option("--color", args->color,
                  "Text colour, a 24-bit RGB value with red in the low byte")
      ->check(colorRange);
  set->add_option("--bk-color", args->bkColor, "Background colour, likewise")->check(colorRange);
  auto addSwitch = [&](SSwitch& option, const char* pHelp) {
    set->add_option(std::string("--") + option.pOption, option.state, pHelp)
        ->check(CLI::IsMember({"on", "off"}));
  };
  addSwitch(args->looks[0], "Bold text");
  addSwitch(args->looks[1], "Drawn dimmed");
  addSwitch(args->looks[2], "Drawn highlighted");
  addSwitch(args->looks[3], "A check box (unticked when added)");
  set->add_option("--icon", args->icon, "Index of its image")->check(CLI::NonNegativeNumber);
  set->add_option("--description", args->description, "Its hover hint");
  set->add_option("--readonly", args->readOnly, "Opened in a read-only editor")
      ->check(CLI::IsMember({"on", "off"}));
  CLI::Option* password = set->add_option("--password", args->password,
                                          "Asked before its content is shown; \"\" removes it");
  set->add_flag("--subnotes", args->bSubnotes, "The password goes to every note below it too")
      ->needs(password);
  addSwitch(args->hide, "Left out of the tree with its subnotes (hiding selects its parent)");
  set->callback(SessionCallback(options, [args](CCliSession& session) {
    if (args->Empty()) throw CCliError("note set: give at least one option to set");
    RunOnNote(session, args->sFile, args->sNote, false, [&](CNoteTree& tree, XMLelement* pNote) {
      const std::string sNote = DescribeNote(tree, *pNote);
      std::string sLines;
      for (const std::string& sDone : Apply(session, tree, *pNote, *args))
        sLines += (sLines.empty() ? "" : "\n") + sNote + ": " + sDone;
      return sLines;
    });
  }));
}

}  // namespace orv::cli
