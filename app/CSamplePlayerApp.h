#pragma once
// The application object: prepares Qt, builds the main window with its
// player, track, map and list, runs it, and ends when it closes. Beyond the
// camera software it accepts a card folder or recordings to open, and can
// save a picture of the window after some seconds (for scripted checks), or
// report how long it took to start.

#include <QElapsedTimer>
#include <QString>

#include <string>
#include <vector>

namespace lumora {

class CSamplePlayerApp {
 public:
  struct Options {
    std::string card;
    std::vector<std::string> files;
    QString screenshot;
    double after = 3.0;
    // Control ids run as commands once the card or files are open
    // ("--commands 8200,1006" shows DIT mode replaying the first drive).
    std::vector<int> commands;
    // Prints the start times as one JSON object on stdout and exits.
    bool reportStart = false;
  };

  // Starts the clock of the start-time report: construct this first in main.
  CSamplePlayerApp() { m_started.start(); }

  // Parses the program's arguments (without the program name). False with a
  // message for unknown options or missing values.
  static bool ParseArguments(const std::vector<std::string>& args, Options* options,
                             std::string* error);

  // Runs the program; returns its exit status.
  int Run(int argc, char** argv);

 private:
  QElapsedTimer m_started;
};

}  // namespace lumora
