#include "ui/print/print_commands.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <cstdio>
#include <optional>

#include "model/note_keys.h"
#include "ui/dialogs/busy_box.h"
#include "ui/editors/editor_pane.h"
#include "ui/print/note_document.h"
#include "ui/window/main_window.h"

namespace orv {

namespace {

std::unique_ptr<QTextDocument> SelectedNoteDocument(CMainWindow& window, XMLelement& note,
                                                    bool bSubnotes) {
  CEditorPane& editors = window.Editors();
  const SPrintFonts fonts{editors.PlainEdit().font(), editors.RichEdit().document()->defaultFont(),
                          editors.HtmlEdit().document()->defaultFont()};
  return PrintableDocument(NotesToPrint(window.Tree(), note, bSubnotes), fonts, bSubnotes);
}

// nullopt when the user cancelled.
std::optional<bool> AskSubnotes(CMainWindow& window, XMLelement& note) {
  if (window.Tree().ShownChildren(&note).empty()) return false;
  const std::optional<int> answer = window.Ui().AskChoice(
      QObject::tr("Print the subnotes of \"%1\" too, their names as headings?")
          .arg(QString::fromStdString(GetProperty(note, kNameKey)))
          .toStdString(),
      {QObject::tr("Note and Subnotes").toStdString(), QObject::tr("This Note").toStdString(),
       QObject::tr("Cancel").toStdString()});
  if (!answer || *answer == 2) return std::nullopt;
  return *answer == 0;
}

void Fail(CMainWindow& window, const QString& sReason) {
  window.Ui().ShowMessage("Error", sReason.toStdString(), EMessageIcon::Error);
}

// Written beside the file and moved over it once whole, so a failed export
// leaves an earlier PDF as it was.
QString ExportPdf(QTextDocument& document, QPrinter& printer, const QString& sPath) {
  const QString sPartial = sPath + ".part";
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(sPartial);
  document.print(&printer);
  const QFileInfo written(sPartial);
  if (printer.printerState() == QPrinter::Error || !written.isFile() || written.size() == 0 ||
      std::rename(QFile::encodeName(sPartial).constData(), QFile::encodeName(sPath).constData()) !=
          0) {
    QFile::remove(sPartial);
    return QObject::tr("Could not write the file %1").arg(sPath);
  }
  return {};
}

}  // namespace

QString PrintSelectedNoteOn(CMainWindow& window, QPrinter& printer, bool bSubnotes) {
  window.StoreEditorContent();
  XMLelement* pNote = window.Tree().SelectedNote();
  if (!pNote) return QObject::tr("No note is selected");
  // Without a printer Qt falls back to a PDF file it has no name for.
  const bool bToFile = printer.outputFormat() == QPrinter::PdfFormat;
  if (bToFile ? printer.outputFileName().isEmpty() : printer.printerName().isEmpty())
    return QObject::tr("No printer is set up");
  printer.setDocName(QString::fromStdString(GetProperty(*pNote, kNameKey)));
  std::unique_ptr<QTextDocument> pDocument = SelectedNoteDocument(window, *pNote, bSubnotes);
  if (bToFile) return ExportPdf(*pDocument, printer, printer.outputFileName());
  pDocument->print(&printer);
  return printer.printerState() == QPrinter::Error ? QObject::tr("The printer reported an error")
                                                   : QString();
}

void PrintSelectedNote(CMainWindow& window, EPrintTarget eTarget) {
  window.StoreEditorContent();
  XMLelement* pNote = window.Tree().SelectedNote();
  if (!pNote) {
    window.Ui().ShowMessage("Information",
                            QObject::tr("Select the note to print first.").toStdString(),
                            EMessageIcon::Information);
    return;
  }
  const std::optional<bool> bSubnotes = AskSubnotes(window, *pNote);
  if (!bSubnotes) return;
  QPrinter printer(QPrinter::HighResolution);
  const QString sName = QString::fromStdString(GetProperty(*pNote, kNameKey));
  printer.setDocName(sName);
  // A branch of thousands of notes takes a while to lay out.
  const QString sBusy = QObject::tr("Laying out \"%1\" for print").arg(sName);
  const auto printNow = [&] {
    QString sError;
    {
      CBusyBox busy(window, sBusy);
      sError = PrintSelectedNoteOn(window, printer, *bSubnotes);
    }
    if (!sError.isEmpty()) Fail(window, sError);
  };
  switch (eTarget) {
    case EPrintTarget::Printer: {
      QPrintDialog dialog(&printer, &window);
      if (dialog.exec() == QDialog::Accepted) printNow();
      return;
    }
    case EPrintTarget::Preview: {
      std::unique_ptr<QTextDocument> pDocument;
      {
        CBusyBox busy(window, sBusy);
        pDocument = SelectedNoteDocument(window, *pNote, *bSubnotes);
      }
      QPrintPreviewDialog dialog(&printer, &window);
      QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog,
                       [&pDocument](QPrinter* pPrinter) { pDocument->print(pPrinter); });
      dialog.exec();
      return;
    }
    case EPrintTarget::Pdf: {
      const QString sDocument = QString::fromStdString(window.Doc().PathName());
      const QString sFolder =
          sDocument.isEmpty() ? QDir::homePath() : QFileInfo(sDocument).absolutePath();
      QString sFile = sName;
      sFile.replace('/', '_');
      const std::optional<std::string> path =
          window.Ui().ChooseFile({true, "PDF Files", "*.pdf", "pdf",
                                  QDir(sFolder).filePath(sFile + ".pdf").toStdString()});
      if (!path) return;
      printer.setOutputFormat(QPrinter::PdfFormat);
      printer.setOutputFileName(QString::fromStdString(*path));
      printNow();
      return;
    }
  }
}

}  // namespace orv
