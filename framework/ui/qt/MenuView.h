// Shows the application's menu model in one window's Qt menu bar.
#pragma once

class QMainWindow;

namespace fw::detail {

// Builds the window's menu bar from the application's model. Items are enabled from the model each time
// a menu opens; shortcuts run the same enabling pass before they fire.
void InstallMenuBar(QMainWindow& host);

} // namespace fw::detail
