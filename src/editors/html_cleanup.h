#pragma once
// The cleanup every HTML goes through before the HTML editor shows it (a
// note's content, a paste): what the editor cannot handle, and anything that
// could run, is taken out.
//
// - Elements of the unsupported list (COLGROUP SCRIPT NOSCRIPT IFRAME LAYER
//   SELECT OBJECT APPLET CAPTION MAP) are removed with their content and
//   reported, each tag once, in the order met.
// - <style> and <meta> refreshing the page are removed without a word.
// - Event attributes (on...) and attributes whose value is a script URL
//   (javascript:, vbscript:) are removed from every element.
// - A body left with nothing to show gets "<DIV></DIV>".
// Everything else stays as it is, head and body alike; the document is
// written back from what the parser read.

#include <string>
#include <string_view>

namespace orv {

inline constexpr std::string_view kUnsupportedTagsTitle = "Unsupported Tags";

struct SHtmlCleanup {
  std::string sHtml;
  // " <SCRIPT> <IFRAME>": a space and the tag for each kind removed.
  std::string sReport;
  // What the note holds that the editor keeps but cannot show ("absolute
  // positioning, form fields"); empty when it shows everything.
  std::string sNotShown;
  // Whether anything was removed or added. When not, sHtml is the original
  // HTML, byte for byte.
  bool bChanged = false;
};

SHtmlCleanup CleanHtml(std::string_view sHtml);

// The text of the "Unsupported Tags" warning for a report that is not empty.
std::string UnsupportedTagsMessage(std::string_view sReport);

}  // namespace orv
