#include "app/CSamplePlayerApp.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QImage>
#include <QPointer>
#include <QTimer>

#include <unistd.h>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <memory>

#include "app/CSamplePlayerDlg.h"
#include "app/ViewerParts.h"
#include "data/qt/CMapView.h"
#include "platform/qt/CDriveWatcher.h"
#include "platform/qt/MessageBox.h"

namespace lumora {

namespace {

// Longest wait for the map page before a screenshot is taken without it.
constexpr int kMapWaitMs = 30000;
// Time for the map's frame after its calls have run.
constexpr int kMapFrameMs = 500;

// Tells the first paint of a widget, and the first one after Arm().
class PaintWatch : public QObject {
 public:
  PaintWatch(const QElapsedTimer& clock, std::function<void()> armedPaint)
      : m_clock(clock), m_armedPaint(std::move(armedPaint)) {}

  qint64 firstPaintMs = -1;
  qint64 armedPaintMs = -1;
  void Arm() { m_armed = true; }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      if (firstPaintMs < 0) firstPaintMs = m_clock.elapsed();
      if (m_armed && armedPaintMs < 0) {
        armedPaintMs = m_clock.elapsed();
        m_armedPaint();
      }
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  const QElapsedTimer& m_clock;
  std::function<void()> m_armedPaint;
  bool m_armed = false;
};

// Shows the real message boxes, telling first that one is about to show: a
// box that comes up while the card opens (a recording that cannot be played)
// is part of the window the user sees at the start.
class NotifyingMessageBoxes : public IMessageBoxHandler {
 public:
  explicit NotifyingMessageBoxes(std::function<void()> showing)
      : m_showing(std::move(showing)), m_previous(SetMessageBoxHandler(this)) {}
  ~NotifyingMessageBoxes() override { SetMessageBoxHandler(m_previous); }

  int Show(QWidget* parent, const MessageBoxRequest& request) override {
    m_showing();
    SetMessageBoxHandler(m_previous);
    const int answer =
        ShowMessageBox(parent, request.text, request.caption, request.buttons, request.icon);
    SetMessageBoxHandler(this);
    return answer;
  }

 private:
  std::function<void()> m_showing;
  IMessageBoxHandler* m_previous;
};

}  // namespace

bool CSamplePlayerApp::ParseArguments(const std::vector<std::string>& args, Options* options,
                                      std::string* error) {
  for (std::size_t i = 0; i < args.size(); ++i) {
    const std::string& arg = args[i];
    auto value = [&](std::string* out) {
      if (i + 1 >= args.size()) {
        *error = "missing value after " + arg;
        return false;
      }
      *out = args[++i];
      return true;
    };
    if (arg == "--card") {
      if (!value(&options->card)) return false;
    } else if (arg == "--screenshot") {
      std::string file;
      if (!value(&file)) return false;
      options->screenshot = QString::fromStdString(file);
    } else if (arg == "--after") {
      std::string seconds;
      if (!value(&seconds)) return false;
      char* end = nullptr;
      options->after = std::strtod(seconds.c_str(), &end);
      if (end == seconds.c_str() || *end != '\0' || options->after < 0) {
        *error = "--after needs a number of seconds, not \"" + seconds + "\"";
        return false;
      }
    } else if (arg == "--report-start") {
      options->reportStart = true;
    } else if (arg == "--commands") {
      std::string list;
      if (!value(&list)) return false;
      std::size_t start = 0;
      while (start <= list.size()) {
        const std::size_t comma = std::min(list.find(',', start), list.size());
        const std::string item = list.substr(start, comma - start);
        char* end = nullptr;
        const long id = std::strtol(item.c_str(), &end, 10);
        if (item.empty() || *end != '\0' || id <= 0 || id > 65535) {
          *error = "--commands needs control ids separated by commas, not \"" + list + "\"";
          return false;
        }
        options->commands.push_back(static_cast<int>(id));
        start = comma + 1;
      }
    } else if (arg == "--help" || arg == "-h") {
      *error =
          "usage: lumora-viewer [--card DIR] [--commands ID,...] "
          "[--screenshot FILE --after SECONDS] [--report-start] [FILE...]";
      return false;
    } else if (!arg.empty() && arg[0] == '-') {
      *error = "unknown option " + arg;
      return false;
    } else {
      options->files.push_back(arg);
    }
  }
  return true;
}

int CSamplePlayerApp::Run(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  Options options;
  std::string error;
  if (!ParseArguments(args, &options, &error)) {
    std::fprintf(stderr, "%s\n", error.c_str());
    return 2;
  }
  // The web map refuses to start as root unless its sandbox is off.
  if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
  QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
  QApplication app(argc, argv);
  QCoreApplication::setOrganizationName(QStringLiteral("HVN"));
  QCoreApplication::setApplicationName(QStringLiteral("Lumora"));
  // Title bars and the task bar show the program's icon; the desktop file
  // names the same icon.
  QApplication::setWindowIcon(CSamplePlayerDlg::ProgramIcon());
  QGuiApplication::setDesktopFileName(QStringLiteral("lumora-viewer"));

  CDriveWatcher watcher;
  watcher.Start();
  CSamplePlayerDlg::Parts parts = MakeViewerParts(options.card);
  parts.driveWatcher = &watcher;
  QPointer<CMapView> map = qobject_cast<CMapView*>(parts.mapWidget);
  CSamplePlayerDlg window(std::move(parts));
  window.OnInitDialog();
  window.show();
  // The picture is asked for before the card is opened: opening it can bring
  // up a message box whose own loop runs until it is answered. Leaving that
  // loop ends every loop after it, and the program ends without the main one.
  int screenshotResult = -1;
  if (!options.screenshot.isEmpty()) {
    const QString file = options.screenshot;
    auto shoot = [&window, &screenshotResult, file] {
      if (screenshotResult >= 0) return;  // taken already
      const QImage picture = window.GrabClient();
      screenshotResult = 0;
      if (!picture.save(file, "PNG")) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        screenshotResult = 1;
      }
      QCoreApplication::exit(screenshotResult);
    };
    // The picture shows the map: on a busy machine its page may still be
    // loading, and its drawing lags behind the calls. A call made after the
    // others answers once they have run; the frame with their drawing follows.
    auto whenMapDrawn = [&window, map, shoot] {
      if (!map) return shoot();
      map->CallScript("javascript:MapState()", [&window, shoot](const QString&, bool) {
        QTimer::singleShot(kMapFrameMs, &window, shoot);
      });
    };
    QTimer::singleShot(static_cast<int>(options.after * 1000), &window,
                       [&window, map, shoot, whenMapDrawn] {
                         if (!map || map->LoadFailed()) return shoot();
                         if (map->IsPageLoaded()) return whenMapDrawn();
                         QObject::connect(map, &CMapView::PageLoaded, &window, whenMapDrawn);
                         QTimer::singleShot(kMapWaitMs, &window, shoot);
                       });
  }
  // The start report: from the program's start to the window's first paint
  // with the card's list filled and its first recording open, and to the
  // map page's load (or -1 when it failed or did not load in time).
  int reportResult = -1;
  qint64 mapReadyMs = -1;
  bool mapSettled = false;
  std::function<void()> report;
  PaintWatch paints(m_started, [&report] { report(); });
  auto armPaints = [&paints, &window] {
    paints.Arm();
    window.update();
  };
  std::unique_ptr<NotifyingMessageBoxes> boxes;
  if (options.reportStart) {
    // The card is open once OpenCard returns, or when it brings up a box.
    boxes = std::make_unique<NotifyingMessageBoxes>(armPaints);
    report = [&] {
      if (reportResult >= 0 || paints.armedPaintMs < 0 || !mapSettled) return;
      std::printf("{\"start_ms\": %lld, \"first_paint_ms\": %lld, \"map_ready_ms\": %lld}\n",
                  static_cast<long long>(paints.armedPaintMs),
                  static_cast<long long>(paints.firstPaintMs), static_cast<long long>(mapReadyMs));
      std::fflush(stdout);
      reportResult = 0;
      QCoreApplication::exit(0);
    };
    window.installEventFilter(&paints);
    if (!map || map->LoadFailed()) {
      mapSettled = true;
    } else if (map->IsPageLoaded()) {
      mapSettled = true;
      mapReadyMs = m_started.elapsed();
    } else {
      QObject::connect(map, &CMapView::PageLoaded, &window, [&](bool ok) {
        if (mapSettled) return;
        mapSettled = true;
        if (ok) mapReadyMs = m_started.elapsed();
        report();
      });
    }
    QTimer::singleShot(kMapWaitMs, &window, [&] {
      if (reportResult >= 0) return;
      if (paints.armedPaintMs < 0) {
        std::fprintf(stderr, "the window did not paint within %d ms\n", kMapWaitMs);
        reportResult = 1;
        QCoreApplication::exit(1);
        return;
      }
      mapSettled = true;
      report();
    });
  }
  // Files named on the command line (a file manager's "open with") open as a
  // drop of them does: recordings play, a folder opens as a card.
  if (!options.files.empty())
    window.OnDrop(options.files);
  else if (!options.card.empty())
    window.OpenCard(options.card);
  for (int id : options.commands) {
    if (!window.OnCommand(id)) std::fprintf(stderr, "no command %d\n", id);
  }
  if (options.reportStart) armPaints();
  if (screenshotResult >= 0) return screenshotResult;
  if (reportResult >= 0) return reportResult;
  return app.exec();
}

}  // namespace lumora
