#pragma once
// File → Backup to Server: saves the document, then uploads it into the
// backup account's WebDAV folder off the UI thread, the transfer's steps in
// the status bar.

namespace orv {

class CMainWindow;

void BackupToServer(CMainWindow& window);

}  // namespace orv
