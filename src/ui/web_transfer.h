#pragma once
// Runs a web transfer on a worker thread, so a slow or silent server never
// freezes the window; its status texts go to the window's status bar.

#include <QString>
#include <functional>
#include <string>

#include "shell/http_client.h"

class QMainWindow;

namespace orv {

// work runs on the worker thread and returns its result; a CHttpFailure it
// throws becomes the failure text. done runs on the UI thread afterwards,
// with an empty failure when the work succeeded; never when the window is gone.
void RunWebTransfer(QMainWindow& window, std::function<std::string(const FHttpStatus&)> work,
                    std::function<void(const std::string& sResult, const QString& sFailure)> done);

}  // namespace orv
