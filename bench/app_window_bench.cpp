// The desktop app on big documents: how long the window takes, beyond the
// core's own open, to show a document of 100,000 notes, and how a folder of
// 100,000 notes on one level behaves (showing it, selecting a note,
// scrolling to its end). Runs offscreen; times are best of three.
//
//   app_window_bench [--notes N]

#include <QApplication>
#include <QMenuBar>
#include <QScrollBar>
#include <QStandardPaths>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <functional>

#include "document_generator.h"
#include "no_user_ui.h"
#include "ports/memory_settings.h"
#include "ports/settings_defaults.h"
#include "tree/note_navigation.h"
#include "ui/app_paths.h"
#include "ui/window/folder_tab_bar.h"
#include "ui/window/main_window.h"
#include "ui/window/note_tree_view.h"

namespace {

using namespace orv;
using Clock = std::chrono::steady_clock;

double BestOf3(const std::function<void()>& run) {
  double dBest = 1e9;
  for (int i = 0; i < 3; ++i) {
    auto start = Clock::now();
    run();
    dBest = std::min(dBest, std::chrono::duration<double>(Clock::now() - start).count());
  }
  return dBest;
}

void Save(size_t nNotes, size_t nFolders, const std::string& sPath) {
  bench::CNoUserUi ui;
  CMemorySettingsStore settings;
  WriteSetting(settings, kNumBackCopies, 0);
  COrvellaDoc doc(ui, settings);
  // One folder holds every note at its top level; else the generator's own shape.
  bench::GenerateDocument(doc, nNotes, 1,
                          nFolders == 1 ? bench::SDocumentShape{1, 1} : bench::SDocumentShape{});
  doc.OnSaveDocument(sPath);
}

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QStandardPaths::setTestModeEnabled(true);
  QApplication app(argc, argv);
  size_t nNotes = 100000;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::string(argv[i]) == "--notes") nNotes = std::stoul(argv[i + 1]);

  std::filesystem::path dir = std::filesystem::temp_directory_path() / "orvella-app-bench";
  std::filesystem::create_directories(dir);
  qputenv("ORVELLA_HOME", QByteArray::fromStdString(dir.string()));
  for (size_t nFolders : {4u, 1u}) {
    std::string sPath = (dir / ("bench" + std::to_string(nFolders) + ".orv")).string();
    Save(nNotes, nFolders, sPath);

    bench::CNoUserUi ui;
    CMemorySettingsStore settings;
    // One document opened again and again, as the window's is: each open
    // also frees the folders of the one before.
    COrvellaDoc doc(ui, settings);
    double dCore = BestOf3([&] { doc.OnOpenDocument(sPath); });
    CAppPaths paths;
    CMainWindow window(settings, paths);
    window.resize(1024, 768);
    window.show();
    double dWindow = BestOf3([&] {
      window.Doc().ClearModified();
      window.OpenDocument(QString::fromStdString(sPath));
      QCoreApplication::processEvents();
    });
    double dShow = BestOf3([&] {
      window.RebuildTabs();
      window.Tree().RefreshTree(false);
      QCoreApplication::processEvents();
    });
    std::vector<XMLelement*> top = window.Tree().ShownChildren(nullptr);
    double dSelect = BestOf3([&] {
                       SelectByUser(window.Tree(), top[top.size() / 2]);
                       QCoreApplication::processEvents();
                       SelectByUser(window.Tree(), top[top.size() / 3]);
                       QCoreApplication::processEvents();
                     }) /
                     2;
    QMenu* pNotes = nullptr;
    for (QAction* pAction : window.menuBar()->actions())
      if (pAction->text() == "&Notes") pNotes = pAction->menu();
    double dMenu = BestOf3([&] { emit pNotes->aboutToShow(); });
    double dScroll = BestOf3([&] {
                       QScrollBar* pBar = window.TreeView().verticalScrollBar();
                       pBar->setValue(pBar->maximum());
                       window.TreeView().viewport()->repaint();
                       pBar->setValue(0);
                       window.TreeView().viewport()->repaint();
                     }) /
                     2;
    std::printf("%zu notes in %zu folder(s), %zu at the top of the shown folder\n", nNotes,
                nFolders, top.size());
    std::printf(
        "  core open %.3f s; window open and show %.3f s: %.1f ms beyond the core (%.2f x)\n",
        dCore, dWindow, (dWindow - dCore) * 1000, dWindow / dCore);
    std::printf("  refreshing the shown document (tabs, tree pane, editor, painting) %.1f ms\n",
                dShow * 1000);
    std::printf("  selecting a note %.1f ms; scrolling end to end and painting %.1f ms\n",
                dSelect * 1000, dScroll * 1000);
    std::printf("  opening the Notes menu (enabling and check marks) %.1f ms\n", dMenu * 1000);
    window.Doc().ClearModified();
  }
  std::filesystem::remove_all(dir);
  return 0;
}
