// Reads a rich-text note's RTF from arbitrary bytes. No input may crash the
// reader, hang it or make it allocate without bound; the document it makes
// must write out as RTF that reads back to a document written the same way.

#include <QGuiApplication>
#include <QTextDocument>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/rtf/rtf_reader.h"
#include "ui/rtf/rtf_writer.h"

extern "C" int LLVMFuzzerInitialize(int* /*pArgc*/, char*** /*pArgv*/) {
  // Documents need a Gui application (fonts, images) but no screen. It gets
  // arguments of its own: Qt takes out those it knows, and libFuzzer has yet
  // to read its own.
  setenv("QT_QPA_PLATFORM", "offscreen", 1);
  static int s_nArgc = 1;
  static char s_acName[] = "rtf_reader_fuzz";
  static char* s_apArgv[] = {s_acName, nullptr};
  static QGuiApplication s_app(s_nArgc, s_apArgv);
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* pData, size_t nSize) {
  const std::string_view sRtf(reinterpret_cast<const char*>(pData), nSize);
  QTextDocument doc;
  orv::ReadRtf(sRtf, doc);
  const std::string sWritten = orv::WriteRtf(doc);
  QTextDocument again;
  orv::ReadRtf(sWritten, again);
  if (orv::WriteRtf(again) != sWritten) __builtin_trap();
  return 0;
}
