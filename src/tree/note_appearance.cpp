#include "tree/note_appearance.h"

#include <array>
#include <charconv>
#include <string_view>

#include "model/note_keys.h"
#include "ports/confirm.h"
#include "ports/settings_defaults.h"

namespace orv {
namespace {

constexpr std::array<std::string_view, 5> kLookAttributes{kColorKey, kBkColorKey, kBoldKey,
                                                          kGrayedKey, kHighlightedKey};

bool Has(const XMLelement& note, std::string_view key) {
  return FindPropertyElement(note, key) != nullptr;
}

// Removes every attribute element named `key`; subnotes are never touched.
void RemoveProperty(XMLelement& note, std::string_view key) {
  std::erase_if(note.m_children,
                [&](const auto& pChild) { return !pChild->IsNote() && pChild->m_sName == key; });
}

// The value as a number, or null when absent or not a number.
template <typename T>
std::optional<T> NumberProperty(const XMLelement& note, std::string_view key) {
  const XMLelement* pAttribute = FindPropertyElement(note, key);
  if (!pAttribute) return std::nullopt;
  const std::string& sValue = pAttribute->m_sValue;
  T nValue{};
  auto [pEnd, error] = std::from_chars(sValue.data(), sValue.data() + sValue.size(), nValue);
  if (error != std::errc() || pEnd != sValue.data() + sValue.size()) return std::nullopt;
  return nValue;
}

// Colours are written as unsigned decimal colour references.
std::optional<int32_t> ColorProperty(const XMLelement& note, std::string_view key) {
  std::optional<uint32_t> nColor = NumberProperty<uint32_t>(note, key);
  if (!nColor) return std::nullopt;
  return static_cast<int32_t>(*nColor);
}

std::string TextProperty(const XMLelement& note, std::string_view key) {
  const XMLelement* pAttribute = FindPropertyElement(note, key);
  return pAttribute ? pAttribute->m_sValue : std::string();
}

std::string_view ToggleKey(EAppearanceCommand eCommand) {
  switch (eCommand) {
    case EAppearanceCommand::Bold:
      return kBoldKey;
    case EAppearanceCommand::Grayed:
      return kGrayedKey;
    case EAppearanceCommand::Highlighted:
      return kHighlightedKey;
    case EAppearanceCommand::Hide:
      return kHideKey;
    case EAppearanceCommand::CheckBox:
      return kCheckedKey;
    default:
      return {};
  }
}

bool SetColor(CNoteTree& tree, XMLelement& note, std::string_view key,
              const SIntSetting& treeDefault) {
  const int32_t nStart =
      ColorProperty(note, key).value_or(ReadSetting(tree.Settings(), treeDefault));
  std::optional<int32_t> color = tree.Ui().ChooseColor(nStart);
  if (!color) return false;
  SetProperty(note, key, std::to_string(static_cast<uint32_t>(*color)));
  tree.MarkModified();
  tree.RefreshTree(false);
  return true;
}

// Bold, grayed and highlighted: presence alone counts, so a "false" value
// is on too and toggling removes it.
void ToggleLook(CNoteTree& tree, XMLelement& note, std::string_view key) {
  if (Has(note, key))
    RemoveProperty(note, key);
  else
    AddProperty(note, key, "true");
  tree.MarkModified();
  tree.RefreshTree(true);
}

bool ResetLook(CNoteTree& tree, XMLelement& note) {
  if (!Confirm(tree.Ui(), tree.Settings(), "Reset tree colors of current note ?",
               kDontAskOnNotesColorReset.sName, "Question"))
    return false;
  for (std::string_view key : kLookAttributes) RemoveProperty(note, key);
  tree.MarkModified();
  tree.RefreshTree(true);
  return true;
}

// A hidden note leaves the pane, so its parent (nothing for a top-level note) is selected.
void ToggleHide(CNoteTree& tree, XMLelement& note) {
  if (Has(note, kHideKey)) {
    RemoveProperty(note, kHideKey);
  } else {
    AddProperty(note, kHideKey, "true");
    XMLelement* pParent = nullptr;
    tree.CurrentFolder().FindParent(note, pParent);
    tree.Select(pParent);
  }
  tree.MarkModified();
  tree.RefreshTree(false);
}

void ToggleCheckBox(CNoteTree& tree, XMLelement& note) {
  if (Has(note, kCheckedKey))
    RemoveProperty(note, kCheckedKey);
  else
    AddProperty(note, kCheckedKey, "false");
  tree.MarkModified();
  tree.RefreshTree(false);
}

bool SetIcon(CNoteTree& tree, XMLelement& note) {
  std::optional<int> icon =
      tree.Ui().ChooseIcon(NumberProperty<int32_t>(note, kIconKey).value_or(0));
  if (!icon) return false;
  SetProperty(note, kIconKey, std::to_string(*icon));
  tree.MarkModified();
  tree.RefreshTree(false);
  return true;
}

// The item's look does not change, so the pane is not rebuilt.
bool SetDescription(CNoteTree& tree, XMLelement& note) {
  std::optional<std::string> description =
      tree.Ui().AskText(kDescriptionCaption, TextProperty(note, kDescriptionKey), false);
  if (!description) return false;
  SetProperty(note, kDescriptionKey, *description);
  tree.MarkModified();
  return true;
}

}  // namespace

bool IsEnabled(CNoteTree& tree, EAppearanceCommand eCommand) {
  switch (eCommand) {
    case EAppearanceCommand::TextColor:
    case EAppearanceCommand::BackgroundColor:
    case EAppearanceCommand::Reset:
      return tree.SelectedNote() != nullptr;
    default:
      return true;
  }
}

bool IsChecked(CNoteTree& tree, EAppearanceCommand eCommand) {
  const std::string_view key = ToggleKey(eCommand);
  const XMLelement* pNote = key.empty() ? nullptr : tree.SelectedNote();
  return pNote && Has(*pNote, key);
}

bool RunAppearanceCommand(CNoteTree& tree, EAppearanceCommand eCommand) {
  XMLelement* pNote = tree.SelectedNote();
  if (!pNote) return false;
  XMLelement& note = *pNote;
  switch (eCommand) {
    case EAppearanceCommand::TextColor:
      return SetColor(tree, note, kColorKey, kTreeTextColor);
    case EAppearanceCommand::BackgroundColor:
      return SetColor(tree, note, kBkColorKey, kTreeBckColor);
    case EAppearanceCommand::Bold:
    case EAppearanceCommand::Grayed:
    case EAppearanceCommand::Highlighted:
      ToggleLook(tree, note, ToggleKey(eCommand));
      return true;
    case EAppearanceCommand::Reset:
      return ResetLook(tree, note);
    case EAppearanceCommand::Hide:
      ToggleHide(tree, note);
      return true;
    case EAppearanceCommand::CheckBox:
      ToggleCheckBox(tree, note);
      return true;
    case EAppearanceCommand::SetIcon:
      return SetIcon(tree, note);
    case EAppearanceCommand::SetDescription:
      return SetDescription(tree, note);
  }
  return false;
}

bool ClickItem(CNoteTree& tree, XMLelement& note, int nClickX, SBoxSpan box) {
  if (!Has(note, kCheckedKey) || nClickX < box.nLeft || nClickX >= box.nRight) return false;
  SetProperty(note, kCheckedKey, GetProperty(note, kCheckedKey) == "true" ? "false" : "true");
  tree.MarkModified();
  return true;
}

bool HasCheckBox(const XMLelement& note) { return Has(note, kCheckedKey); }

SItemLook ItemLook(const XMLelement& note) {
  SItemLook look;
  look.sText = TextProperty(note, kNameKey);
  look.nIcon = NumberProperty<int32_t>(note, kIconKey).value_or(0);
  if (Has(note, kCheckedKey))
    look.eCheckBox =
        PropertyIs(note, kCheckedKey, "true") ? ECheckBox::Ticked : ECheckBox::Unticked;
  look.textColor = ColorProperty(note, kColorKey);
  look.backgroundColor = ColorProperty(note, kBkColorKey);
  look.bBold = Has(note, kBoldKey);
  look.bCut = Has(note, kGrayedKey);
  look.bDropHighlighted = Has(note, kHighlightedKey);
  look.bHidden = Has(note, kHideKey);
  look.bExpanded = PropertyIs(note, kExpandKey, "true");
  look.bSelected = PropertyIs(note, kSelectedKey, "true");
  return look;
}

std::optional<std::string> HoverHint(CNoteTree& tree, const XMLelement& note) {
  if (ReadSetting(tree.Settings(), kShowTreeHinths) == 0) return std::nullopt;
  std::string sDescription = TextProperty(note, kDescriptionKey);
  if (sDescription.empty()) return "No description:<br>" + TextProperty(note, kNameKey);
  return sDescription;
}

}  // namespace orv
