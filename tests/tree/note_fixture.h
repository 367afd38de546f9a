#pragma once
// A document whose current folder is built from, and read back as, an outline
// of note names: "A(A1 A2(A21)) B" is A with subnotes A1 and A2, then B.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "ports/memory_settings.h"
#include "support/recording_view.h"
#include "support/scripted_ui.h"
#include "support/test_support.h"

namespace orv::test {

class CNoteFixture : public testing::Test {
 protected:
  CNoteFixture() { view.m_pTree = &tree; }

  CXMLTree& Folder() { return tree.CurrentFolder(); }

  // Replaces the folder's notes; nothing selected, nothing recorded.
  void Build(const std::string& sOutline) {
    BuildOutline(Folder(), sOutline);
    view.m_calls.clear();
    doc.ClearModified();
  }

  // Adds a rich-text note at the end of `pUnder`'s subnotes (top level when null).
  XMLelement* AddNote(XMLelement* pUnder, const std::string& sName) {
    return Folder().InsertNote(
        {.sName = sName, .nType = kContentRtf, .nContentClass = kContentRtf, .pParent = pUnder});
  }

  std::string Outline(XMLelement* pParent = nullptr) {
    std::string sText;
    for (const auto& pChild : Folder().GetNoteList(pParent)) {
      if (!pChild->IsNote()) continue;
      if (!sText.empty()) sText += ' ';
      sText += GetProperty(*pChild, "name");
      if (HasChildNotes(*pChild)) sText += "(" + Outline(pChild.get()) + ")";
    }
    return sText;
  }

  // The note at a path of names, e.g. N("A", "A2").
  template <typename... TNames>
  XMLelement* N(const TNames&... names) {
    XMLelement* pNote = nullptr;
    for (const std::string& sName : {std::string(names)...}) {
      XMLelement* pFound = nullptr;
      for (const auto& pChild : Folder().GetNoteList(pNote))
        if (pChild->IsNote() && GetProperty(*pChild, "name") == sName) pFound = pChild.get();
      if (!pFound) ADD_FAILURE() << "no note " << sName;
      pNote = pFound;
    }
    return pNote;
  }

  std::string SelectedName() {
    XMLelement* pSelected = tree.SelectedNote();
    return pSelected ? GetProperty(*pSelected, "name") : "(none)";
  }

  CScriptedUi ui;
  CMemorySettingsStore settings;
  CRecordingView view;
  COrvellaDoc doc{ui, settings};
  CNoteTree tree{doc, ui, settings, view};
};

// For one family of menu commands, all run by `pRunCommand`.
template <auto pRunCommand>
class CNoteCommandFixture : public CNoteFixture {
 protected:
  // Runs a command, which must report `bExpectDone`; gives what it asked of the view.
  template <typename TCommand>
  std::vector<std::string> Run(TCommand eCommand, bool bExpectDone = true) {
    view.m_calls.clear();
    EXPECT_EQ(pRunCommand(tree, eCommand), bExpectDone);
    return view.m_calls;
  }
};

}  // namespace orv::test
