// Reads a rich-text note's RTF from arbitrary bytes. No input may crash the
// reader, hang it or make it allocate without bound, and RTF we wrote must
// read back to a document we write the same way. (The first writing may
// differ from the second: RTF from elsewhere can say what ours cannot, such
// as two lists of one style with nothing between them.)

#include <QGuiApplication>
#include <QTextDocument>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "ui/rtf/rtf_reader.h"
#include "ui/rtf/rtf_writer.h"

namespace {

std::string ReadAndWrite(std::string_view sRtf) {
  QTextDocument doc;
  orv::ReadRtf(sRtf, doc);
  return orv::WriteRtf(doc);
}

}  // namespace

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
  const std::string_view sInput(reinterpret_cast<const char*>(pData), nSize);
  const std::string sOurs = ReadAndWrite(ReadAndWrite(sInput));
  if (ReadAndWrite(sOurs) != sOurs) __builtin_trap();
  return 0;
}
