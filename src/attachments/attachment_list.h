#pragma once
// A note's attachments as its attributes hold them: "attcount", then for each
// i "attachment"+i (the file's name) and "attdatecreate"+i (when it was
// added). "attstream"+i names the store's stream when it is not the file's
// name; older readers ignore it and read the stream of the name.

#include <string>
#include <vector>

#include "model/xml_element.h"

namespace orv {

// The form of "attdatecreate"+i: the locale's date and time.
inline constexpr const char* kAttCreatedFormat = "%x %X";

struct CAttachment {
  std::string sName;        // the file's name with its extension, as shown
  std::string sSourcePath;  // where it was added from; in memory only
  std::string sCreated;     // local time of adding, kAttCreatedFormat
  std::string sStream;      // the store's stream; empty when it is sName

  const std::string& StreamName() const { return sStream.empty() ? sName : sStream; }
};

// The note's list in order. A count larger than the note's attributes could
// hold is not believed, and an entry without a name is left out.
std::vector<CAttachment> ReadAttachments(const XMLelement& note);
// Writes the whole list afresh: every earlier entry goes, the list's entries
// are numbered from 0 and "attcount" is its size.
void WriteAttachments(XMLelement& note, const std::vector<CAttachment>& list);
bool HasAttachments(const XMLelement& note);

}  // namespace orv
