// Opening the note list (to its first paint) with 1,000 and 32,767 notes, one
// search over all of them, Select All, Ctrl+A and a sort with every row
// selected, on the offscreen platform.
#include "BenchApp.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QTableView>
#include <QTemporaryDir>
#include <cstdio>

#include "app/QtSettingsStore.h"
#include "controls/CMessageBox.h"
#include "mainwnd/CMainWindow.h"
#include "notelist/CNoteListWnd.h"
#include "notelist/Search.h"
#include "notes/NoteStore.h"

using namespace quillet;

int main(int argc, char** argv) {
  BenchApp bench(argc, argv);
  QApplication& app = *bench.app;
  const QTemporaryDir& home = bench.home;
  std::printf("%8s %18s %18s %14s %14s %14s %14s\n", "notes", "open to paint ms", "refill ms", "search ms",
              "select all ms", "ctrl+a ms", "sort ms");
  for (const int count : {1000, qEnvironmentVariableIntValue("LIST_BENCH_NOTES") > 0 ? qEnvironmentVariableIntValue("LIST_BENCH_NOTES") : kMaxNotes}) {
    const std::string path = (home.path() + QStringLiteral("/list-%1.dat").arg(count)).toStdString();
    {
      CNoteStore store;
      store.SetDataPath(path);
      store.LoadNotes();  // a new file: nothing to load, but writes wait for a load
      for (int i = 0; i < count; ++i) {
        CNote n;
        n.SetText("Note " + std::to_string(i) + (i % 50 == 0 ? " with the word budget" : "") +
                  "\r\nsome more text on a second line");
        n.Rect = {10 + i % 900, 10 + i % 500, 160, 50};
        n.SetFolder(i % 3 ? "" : "Work");
        n.Modified = DateTime::FromDate(46000 + i / 100.0);
        store.CreateNote(std::move(n));
      }
      store.SaveAllNotes();
    }
    CMainWindow main(QString::fromStdString(path));
    main.OnCreate();
    QElapsedTimer t;
    t.start();
    app.processEvents();  // the notes' own windows come up first
    std::fprintf(stderr, "note windows up in %.1f ms\n", t.nsecsElapsed() / 1e6);
    t.start();
    CNoteListWnd list(main);
    const double built = t.nsecsElapsed() / 1e6;
    list.show();
    std::fprintf(stderr, "built %.1f ms, shown %.1f ms\n", built, t.nsecsElapsed() / 1e6);
    list.Table()->viewport()->repaint();
    app.processEvents();
    const double open = t.nsecsElapsed() / 1e6;
    t.restart();
    list.Fill();
    list.Table()->viewport()->repaint();
    const double refill = t.nsecsElapsed() / 1e6;
    t.restart();
    int hits = 0;
    for (int i = 0; i < main.NoteCount(); ++i) hits += MatchesSearch(main.GetNote(i)->Text(), "BUDGET", false, true);
    const double search = t.nsecsElapsed() / 1e6;
    // Select All from the menu, then Ctrl+A in the table, each to the next paint.
    list.Table()->clearSelection();
    t.restart();
    list.Command(32309);
    list.Table()->viewport()->repaint();
    const double selectAll = t.nsecsElapsed() / 1e6;
    list.Table()->clearSelection();
    app.processEvents();
    t.restart();
    list.Table()->selectAll();
    list.Table()->viewport()->repaint();
    const double ctrlA = t.nsecsElapsed() / 1e6;
    // A sort by Last Modified with every row selected, which the selection follows.
    t.restart();
    list.Table()->model()->sort(1, Qt::AscendingOrder);
    list.Table()->viewport()->repaint();
    const double sort = t.nsecsElapsed() / 1e6;
    std::printf("%8d %18.1f %18.1f %14.2f %14.1f %14.1f %14.1f  (%d found)\n", count, open, refill, search, selectAll,
                ctrlA, sort, hits);
    list.hide();
    main.Shutdown();
  }
  return 0;
}
