// The HTML editor on a 1 MiB note: loading it (the cleanup, Qt's reader,
// closing line breaks) and storing it with our writer after an edit, against
// the size QTextDocument::toHtml() would write. Runs offscreen.
//
//   html_editor_bench

#include <QGuiApplication>
#include <QTextCursor>
#include <QTextDocument>
#include <chrono>
#include <cstdio>
#include <string>

#include "editors/html_cleanup.h"
#include "ui/editors/html_document_writer.h"

namespace {

using Clock = std::chrono::steady_clock;

// Mail and word-processor HTML alike: paragraphs with styles and links,
// lists and tables.
std::string MakeNote(size_t nBytes) {
  std::string sHtml = "<html><head><meta charset=\"utf-8\"></head><body>";
  for (int i = 0; sHtml.size() < nBytes; ++i) {
    sHtml += "<p>Paragraph " + std::to_string(i) + " with <b>bold</b>, <i>italic</i> and a <a " +
             "href=\"https://example.com/" + std::to_string(i) + "\">link</a>; <font color=red " +
             "face=Arial>red</font> text.</p>";
    if (i % 20 == 0) sHtml += "<ul><li>one</li><li>two <u>under</u></li></ul>";
    if (i % 50 == 0)
      sHtml +=
          "<table border=1 cellpadding=3><tr><td>a</td><td>b</td></tr><tr><td>c</td>"
          "<td>d</td></tr></table>";
  }
  return sHtml + "</body></html>";
}

double Seconds(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QGuiApplication app(argc, argv);
  const std::string sNote = MakeNote(1 << 20);
  QTextDocument document;
  auto start = Clock::now();
  const orv::SHtmlCleanup cleanup = orv::CleanHtml(sNote);
  const double dCleanup = Seconds(start);
  document.setHtml(QString::fromStdString(cleanup.bChanged ? cleanup.sHtml : sNote));
  const double dRead = Seconds(start) - dCleanup;
  orv::DropClosingLineBreaks(document);
  const double dLoad = Seconds(start);
  QTextCursor(&document).insertText("edited ");
  start = Clock::now();
  const std::string sStored = orv::WriteHtmlDocument(document);
  const double dSave = Seconds(start);
  const size_t nQt = document.toHtml().toUtf8().size();
  std::printf("1 MiB HTML note (%zu bytes):\n", sNote.size());
  std::printf("  load                   %6.3f s (cleanup %.3f, Qt's reader %.3f)\n", dLoad,
              dCleanup, dRead);
  std::printf("  save (our writer)      %6.3f s\n", dSave);
  std::printf("  load + save            %6.3f s\n", dLoad + dSave);
  std::printf("  stored %zu bytes; toHtml() would write %zu (%.1fx)\n", sStored.size(), nQt,
              static_cast<double>(nQt) / static_cast<double>(sStored.size()));
  return 0;
}
