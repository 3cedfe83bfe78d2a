#pragma once
// Daily copies of the data file in a "backups" folder beside it.
#include <string>
#include <vector>

#include "common/DateTime.h"
#include "notes/FileIO.h"

namespace quillet {

std::string BackupFolderOf(const std::string& dataPath);

// The copies one computer kept of a data file, oldest first.
std::vector<std::string> BackupsOf(const std::string& dataPath, const std::string& computer);

// The first change of a day keeps a copy of the data file as it was before
// it: "<name>-YYYY-MM-DD-<computer><extension>" in the backup folder, written
// whole under another name and then renamed, so a copy is never a piece. The
// computer's name keeps two computers that share the folder through a sync
// tool from replacing each other's copies. Only this computer's newest `keep`
// copies stay; 0 keeps none and makes none. Returns the copy's path when one
// was made.
std::string KeepDailyBackup(FileSystem& fs, const std::string& dataPath, const DateTime& today, int keep,
                            const std::string& computer, IoError* error = nullptr);

// Copies that sync tools leave beside a file both sides changed at once:
// Syncthing's "notes.sync-conflict-<date>-<time>-<device>.dat", Nextcloud's
// "notes (conflicted copy 2026-12-07 101010).dat", Dropbox's "notes (Anna's
// conflicted copy 2026-12-07).dat". Sorted by name.
std::vector<std::string> ConflictCopiesOf(const std::string& dataPath);

}  // namespace quillet
