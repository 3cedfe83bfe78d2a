#pragma once
#include <QFileSystemWatcher>
#include <QObject>
#include <QTimer>

namespace quillet {

class CMainWindow;

// The data file as another program (a sync tool) may change it: watches the
// file and its folder, merges an outside change with the changes made here
// once nothing is being edited, and offers the conflict copies a sync tool
// leaves beside the file.
class CSyncedFile : public QObject {
  Q_OBJECT
 public:
  explicit CSyncedFile(CMainWindow& main);

  // Watches the data file the store now has.
  void WatchDataFile();
  // Looks at the file after a sync tool's burst of changes has settled.
  void CheckSoon() { m_fileCheck.start(250); }
  // Merges what changed outside; waits while a note is being edited or a dialog is open.
  void CheckDataFile();
  // Conflict copies a sync tool left beside the data file, offered for import once.
  void OfferConflictCopies();

 private:
  bool NotesMayChangeNow() const;

  CMainWindow& m_main;
  QFileSystemWatcher m_fileWatcher;
  QTimer m_fileCheck;  // single shot
  bool m_folderChanged = false;  // since the last look for conflict copies
};

}  // namespace quillet
