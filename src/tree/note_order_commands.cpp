#include "tree/note_order_commands.h"

#include <string>
#include <utility>
#include <vector>

#include "model/note_keys.h"
#include "model/note_walk.h"
#include "ports/confirm.h"
#include "ports/settings_defaults.h"

namespace orv {
namespace {

using enum EOrderCommand;

struct SSortCommand {
  std::string_view sAttribute;
  const SIntSetting& dontAsk;
  bool bAll;
};

SSortCommand SortCommandOf(EOrderCommand eCommand) {
  switch (eCommand) {
    case SortSubnotesByName:
      return {kNameKey, kDontAskNodeSort, false};
    case SortSubnotesByCreateTime:
      return {kCreateTimeKey, kDontAskSortCrTime, false};
    case SortSubnotesByModifyTime:
      return {kModifyTimeKey, kDontAskSortMdTime, false};
    case SortAllByName:
      return {kNameKey, kDontAskSortAllTree, true};
    case SortAllByCreateTime:
      return {kCreateTimeKey, kDontAskSortCrTimeAll, true};
    default:
      return {kModifyTimeKey, kDontAskSortMdTimeAll, true};
  }
}

bool IsSort(EOrderCommand eCommand) {
  return eCommand >= SortSubnotesByName && eCommand <= SortAllByModifyTime;
}

bool ConfirmOrder(CNoteTree& tree, const SIntSetting& dontAsk) {
  return Confirm(tree.Ui(), tree.Settings(), "Are you sure", dontAsk.sName, "Question");
}

void SetBranchExpanded(XMLelement& root, bool bExpanded) {
  ForEachInBranch(
      root, [&](XMLelement& note) { SetProperty(note, kExpandKey, bExpanded ? "true" : "false"); });
}

void SetFolderExpanded(CXMLTree& folder, bool bExpanded) {
  for (const auto& pTop : folder.TopLevel())
    if (pTop->IsNote()) SetBranchExpanded(*pTop, bExpanded);
}

// "1. Plan", its second subnote "1.2. Costs", that one's first "1.2.1. ...";
// child notes are counted, other child elements are not.
void NumberBranch(XMLelement& root) {
  std::vector<std::pair<XMLelement*, std::string>> pending{{&root, "1."}};
  while (!pending.empty()) {
    auto [pNote, sPrefix] = std::move(pending.back());
    pending.pop_back();
    SetProperty(*pNote, kNameKey, sPrefix + " " + GetProperty(*pNote, kNameKey));
    int nChild = 0;
    for (const auto& pChild : pNote->m_children)
      if (pChild->IsNote())
        pending.emplace_back(pChild.get(), sPrefix + std::to_string(++nChild) + ".");
  }
}

bool IsTopLevel(CXMLTree& folder, const XMLelement& note) {
  for (const auto& pTop : folder.TopLevel())
    if (pTop.get() == &note) return true;
  return false;
}

void CollapseFolder(CNoteTree& tree) {
  CXMLTree& folder = tree.CurrentFolder();
  // A subnote's item disappears into its closed branch.
  if (XMLelement* pSelected = tree.SelectedNote(); pSelected && !IsTopLevel(folder, *pSelected))
    ForEachInBranch(*pSelected, [](XMLelement& note) { SetProperty(note, kSelectedKey, "false"); });
  SetFolderExpanded(folder, false);
}

bool Sort(CNoteTree& tree, EOrderCommand eCommand, XMLelement* pSelected) {
  const SSortCommand sort = SortCommandOf(eCommand);
  if (!ConfirmOrder(tree, sort.dontAsk)) return false;
  // Null sorts each top-level note's subnotes, then the top level.
  tree.CurrentFolder().SortNotes(sort.bAll ? nullptr : pSelected, sort.sAttribute);
  tree.MarkModified();
  return true;
}

}  // namespace

bool IsEnabled(CNoteTree& tree, EOrderCommand eCommand) {
  switch (eCommand) {
    case SortAllByName:
    case SortAllByCreateTime:
    case SortAllByModifyTime:
    case CollapseAll:
    case ExpandAll:
      return true;
    default:
      return tree.SelectedNote() != nullptr;
  }
}

bool RunOrderCommand(CNoteTree& tree, EOrderCommand eCommand) {
  if (!IsEnabled(tree, eCommand)) return false;
  XMLelement* pSelected = tree.SelectedNote();
  if (IsSort(eCommand)) {
    if (!Sort(tree, eCommand, pSelected)) return false;
  } else {
    switch (eCommand) {
      case AutoNumber:
        if (!ConfirmOrder(tree, kDontAskNumbering)) return false;
        NumberBranch(*pSelected);
        tree.MarkModified();
        break;
      case CollapseSubnotes:
      case ExpandSubnotes:
        SetBranchExpanded(*pSelected, eCommand == ExpandSubnotes);
        break;
      case CollapseSingleLevel:
      case ExpandSingleLevel:
        SetProperty(*pSelected, kExpandKey, eCommand == ExpandSingleLevel ? "true" : "false");
        break;
      case CollapseAll:
        CollapseFolder(tree);
        break;
      default:  // ExpandAll
        SetFolderExpanded(tree.CurrentFolder(), true);
        break;
    }
  }
  tree.RefreshTree(true);
  return true;
}

void OnBranchToggled(CNoteTree& tree, XMLelement& note, bool bExpanded) {
  if (tree.IsRefreshing()) return;
  SetProperty(note, kExpandKey, bExpanded ? "true" : "false");
}

}  // namespace orv
