#pragma once
// A note is an element named "source"; each of its attributes is a child
// element whose name is the attribute key and whose text is the value, and
// its subnotes are further "source" children. All values are strings.

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

inline constexpr std::string_view kNotFound = "<Not Found>";
inline constexpr std::string_view kNoteTag = "source";

// A name/value pair written inside a start tag of the text form.
struct XMLattribute {
  std::string m_sName;
  std::string m_sValue;
};

struct XMLelement;
using CElementList = std::vector<std::unique_ptr<XMLelement>>;

struct XMLelement {
  XMLelement() = default;
  XMLelement(XMLelement&&) = default;
  XMLelement& operator=(XMLelement&&) = default;
  // Frees the subtree without recursion, so that no depth exhausts the stack.
  ~XMLelement();

  // 0 for notes and for elements read with a separate end tag; 1 for
  // attribute elements made by AddProperty and for "<x/>" elements.
  int32_t m_nKind = 0;
  std::string m_sName;
  std::string m_sValue;
  CElementList m_children;
  std::vector<std::unique_ptr<XMLattribute>> m_attributes;

  bool IsNote() const { return m_sName == kNoteTag; }
};

// The value of the first child named `key` (case-sensitive), or kNotFound.
std::string GetProperty(const XMLelement& element, std::string_view key);
// Whether the first child named `key` has the value `value`; unlike
// comparing GetProperty's copy, this allocates nothing (walks over whole
// folders ask it of every note).
bool PropertyIs(const XMLelement& element, std::string_view key, std::string_view value);
// The first child named `key`, or null.
XMLelement* FindPropertyElement(const XMLelement& element, std::string_view key);
// Appends a new attribute element (kind 1) without looking for an existing one.
XMLelement& AddProperty(XMLelement& element, std::string_view key, std::string_view value);
// Adds the attribute when missing, then gives every child named `key` the value.
// (Notes of shared folders will also mirror "expand", "selected", "color",
// "bk_color" and "hide" to files in their "share_path" here.)
void SetProperty(XMLelement& element, std::string_view key, std::string_view value);
// At least one child is a note.
bool HasChildNotes(const XMLelement& element);
bool HasChildNotes(const CElementList& list);
// A deep copy; contents are not touched (see CXMLTree::CopySubtree).
std::unique_ptr<XMLelement> CopyElement(const XMLelement& element);

// Icon numbers of old files mapped to the current numbering; others unchanged.
int32_t ConvertOldIcon(int32_t nIcon);

}  // namespace orv
