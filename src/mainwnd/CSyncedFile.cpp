#include "mainwnd/CSyncedFile.h"

#include <QApplication>
#include <QFileInfo>
#include <algorithm>

#include "app/Ids.h"
#include "app/Paths.h"
#include "app/QtSettingsStore.h"
#include "app/UIStrings.h"
#include "controls/CMessageBox.h"
#include "mainwnd/CAlarms.h"
#include "mainwnd/CMainWindow.h"
#include "mainwnd/CNoteCommands.h"
#include "notes/Backups.h"

namespace quillet {

CSyncedFile::CSyncedFile(CMainWindow& main) : m_main(main) {
  m_fileCheck.setSingleShot(true);
  connect(&m_fileCheck, &QTimer::timeout, this, &CSyncedFile::CheckDataFile);
  // A sync tool's burst of changes settles first; a busy program looks again each second.
  connect(&m_fileWatcher, &QFileSystemWatcher::fileChanged, this, &CSyncedFile::CheckSoon);
  connect(&m_fileWatcher, &QFileSystemWatcher::directoryChanged, this, [this] {
    m_folderChanged = true;
    CheckSoon();
  });
}

void CSyncedFile::WatchDataFile() {
  const QString path = FromLocal(m_main.Store().DataPath());
  const QStringList wanted = path.isEmpty() ? QStringList() : QStringList{path, QFileInfo(path).absolutePath()};
  // The watcher drops a file that was renamed over; then it is watched anew.
  // The folder too: a file renamed over the data file is another file.
  if (m_fileWatcher.files() + m_fileWatcher.directories() == wanted) return;
  if (!m_fileWatcher.files().isEmpty()) m_fileWatcher.removePaths(m_fileWatcher.files());
  if (!m_fileWatcher.directories().isEmpty()) m_fileWatcher.removePaths(m_fileWatcher.directories());
  if (!wanted.isEmpty()) m_fileWatcher.addPaths(wanted);
}

bool CSyncedFile::NotesMayChangeNow() const {
  return m_main.HasFlag(CMainWindow::kIdle) && !m_main.ActiveEditor() && !m_main.Alarms().AnyRinging() && !QApplication::activeModalWidget() &&
         !QApplication::activePopupWidget();
}

void CSyncedFile::CheckDataFile() {
  if (m_main.IsShutDown()) return;
  if (!m_main.Store().FileChangedOutside()) {
    WatchDataFile();
    // A new file in the folder may be a sync tool's conflict copy.
    if (m_folderChanged && NotesMayChangeNow()) {
      m_folderChanged = false;
      OfferConflictCopies();
    }
    return;
  }
  // The windows are made anew from the merged notes: not under an open editor, menu or dialog.
  if (!NotesMayChangeNow()) return m_fileCheck.start(1000);
  const CNoteStore::MergeResult r = m_main.Store().MergeOutside();
  if (r.status == CNoteStore::MergeResult::Status::Merged) {
    m_main.Commands().ClearUndo();
    m_main.BringLostNotesBack(true);
    Q_EMIT m_main.NotesChanged();
  }
  WatchDataFile();
  if (r.status == CNoteStore::MergeResult::Status::NotReady) return m_fileCheck.start(1000);
  m_folderChanged = false;
  OfferConflictCopies();
  if (!r.changedOnBothSides.empty()) {
    std::string list;
    for (const std::string& text : r.changedOnBothSides) {
      CNote shown;
      shown.SetText(text);
      list += (list.empty() ? "" : "\n") + shown.FirstLine();
    }
    m_main.ShowMessage(FormatUIString(LoadUIString(Str::ChangedOnBothSides), {list}));
  }
}

void CSyncedFile::OfferConflictCopies() {
  const std::string data = m_main.Store().DataPath();
  if (data.empty() || !m_main.Store().Writable()) return;
  CSettings& s = AppSettings();
  // Offered once: a copy the user declined is not asked about again.
  std::vector<std::string> offered = s.GetStringList("ConflictCopies");
  for (const std::string& copy : ConflictCopiesOf(data)) {
    const std::string name = QFileInfo(FromLocal(copy)).fileName().toStdString();
    if (std::find(offered.begin(), offered.end(), name) != offered.end()) continue;
    offered.push_back(name);
    s.WriteStringList("ConflictCopies", offered);
    const LoadResult r = CDataFile::Read(FileSystem::Real(), copy, {});
    const int missing = r.Failed() ? 0 : m_main.Store().CountMissing(r.notes);
    if (missing == 0) continue;  // nothing in it that is not here
    CBusyGuard busy(m_main);
    if (CMessageBox::Show(nullptr, FromLocal(FormatUIString(LoadUIString(Str::ConflictCopyFound), {copy, std::to_string(missing)})),
                          QMessageBox::Yes | QMessageBox::No, QMessageBox::Yes, QMessageBox::Question) == QMessageBox::Yes)
      m_main.LoadNotes(FromLocal(copy), true);
  }
}

}  // namespace quillet
