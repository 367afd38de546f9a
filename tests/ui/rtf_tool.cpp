// Reads an RTF file with our reader. Prints our RTF of it, or with --text the
// text the document shows (list markers before their items, no pictures),
// so that another RTF reader's view of our output can be checked against it.
//
//   rtf_tool [--text] [--codepage NAME] FILE
#include <QApplication>
#include <QTextBlock>
#include <QTextDocument>
#include <cstring>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "ui/rtf/rtf_list_table.h"
#include "ui/rtf/rtf_reader.h"
#include "ui/rtf/rtf_writer.h"

namespace {

QString ShownText(const QTextDocument& doc) {
  QStringList listLines;
  for (QTextBlock block = doc.begin(); block.isValid(); block = block.next()) {
    QString sLine = block.text();
    sLine.remove(QChar::ObjectReplacementCharacter);
    sLine.replace(QChar::LineSeparator, '\n');
    if (block.textList() != nullptr) sLine = orv::ListItemMarker(block) + '\t' + sLine;
    listLines.append(sLine);
  }
  return listLines.join('\n');
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication app(argc, argv);
  bool bText = false;
  std::string sCodePage = "windows-1252";
  std::string sPath;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--text") == 0) {
      bText = true;
    } else if (std::strcmp(argv[i], "--codepage") == 0 && i + 1 < argc) {
      sCodePage = argv[++i];
    } else {
      sPath = argv[i];
    }
  }
  if (sPath.empty()) {
    std::cerr << "usage: rtf_tool [--text] [--codepage NAME] FILE\n";
    return 1;
  }
  std::ifstream in(sPath, std::ios::binary);
  if (!in) {
    std::cerr << "rtf_tool: cannot read " << sPath << "\n";
    return 2;
  }
  std::ostringstream content;
  content << in.rdbuf();
  QTextDocument doc;
  orv::ReadRtf(content.str(), doc, sCodePage);
  if (bText) {
    std::cout << ShownText(doc).toStdString() << '\n';
  } else {
    std::cout << orv::WriteRtf(doc, sCodePage);
  }
  return 0;
}
