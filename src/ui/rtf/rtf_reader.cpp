#include "ui/rtf/rtf_reader.h"

#include <QTextDocument>

#include "ui/rtf/rtf_parser.h"

namespace orv {

void ReadRtf(std::string_view sRtf, QTextDocument& doc, std::string_view sCodePage) {
  doc.clear();
  std::string_view sStart = sRtf;
  while (!sStart.empty() && (sStart.front() == ' ' || sStart.front() == '\t' ||
                             sStart.front() == '\r' || sStart.front() == '\n')) {
    sStart.remove_prefix(1);
  }
  if (!sStart.starts_with("{\\rtf")) {
    doc.setPlainText(QString::fromUtf8(sRtf.data(), static_cast<qsizetype>(sRtf.size())));
    return;
  }
  CRtfParser parser(doc, sCodePage);
  parser.Parse(sStart);
}

}  // namespace orv
