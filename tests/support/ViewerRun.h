#pragma once
// Runs the real lumora-viewer program as a user starts it and hands back its
// output or the window picture it saved with --screenshot; counts pixels.

#include <gtest/gtest.h>

#include <QImage>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRect>
#include <QStringList>

#include <algorithm>

namespace lumora::test {

struct ViewerRun {
  bool finished = false;
  QProcess::ExitStatus status = QProcess::CrashExit;
  int exitCode = -1;
  QByteArray out;  // standard output (with the errors too when merged)
  QByteArray err;
};

// Starts lumora-viewer with ARGS offscreen, without sound and browser sandbox,
// and waits up to a minute for it to end by itself.
inline ViewerRun RunViewer(const QStringList& args, bool mergeOutput) {
  QProcess viewer;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  env.insert(QStringLiteral("SDL_AUDIODRIVER"), QStringLiteral("dummy"));
  env.insert(QStringLiteral("QTWEBENGINE_DISABLE_SANDBOX"), QStringLiteral("1"));
  viewer.setProcessEnvironment(env);
  if (mergeOutput) viewer.setProcessChannelMode(QProcess::MergedChannels);
  viewer.start(QStringLiteral(LUMORA_BINARY_DIR "/app/lumora-viewer"), args);
  ViewerRun run;
  if (!viewer.waitForStarted(10000)) return run;
  run.finished = viewer.waitForFinished(60000);
  if (!run.finished) viewer.kill();
  run.status = viewer.exitStatus();
  run.exitCode = viewer.exitCode();
  run.out = viewer.readAllStandardOutput();
  if (!mergeOutput) run.err = viewer.readAllStandardError();
  return run;
}

// Runs the viewer with ARGS plus --screenshot FILE --after SECONDS and returns
// the saved picture as RGB32; a null picture (with the failure recorded) when
// the viewer did not end normally or saved nothing.
inline QImage ShootViewer(const QString& file, QStringList args, double seconds) {
  args << QStringLiteral("--screenshot") << file << QStringLiteral("--after")
       << QString::number(seconds);
  const ViewerRun run = RunViewer(args, true);
  EXPECT_TRUE(run.finished) << run.out.toStdString();
  EXPECT_EQ(run.status, QProcess::NormalExit) << run.out.toStdString();
  EXPECT_EQ(run.exitCode, 0) << run.out.toStdString();
  QImage image(file);
  EXPECT_FALSE(image.isNull()) << run.out.toStdString();
  return image.convertToFormat(QImage::Format_RGB32);
}

struct PixelCount {
  int pixels = 0;
  double sumX = 0;
  double sumY = 0;
  int minX = 1 << 20;
  double CentreX() const { return pixels ? sumX / pixels : 0; }
  double CentreY() const { return pixels ? sumY / pixels : 0; }
};

// The pixels of AREA (edges included) that MATCH, with their centre.
template <typename Match>
PixelCount CountPixels(const QImage& image, const QRect& area, Match match) {
  PixelCount count;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) {
      if (!match(image.pixel(x, y))) continue;
      ++count.pixels;
      count.sumX += x;
      count.sumY += y;
      count.minX = std::min(count.minX, x);
    }
  }
  return count;
}

inline PixelCount CountColour(const QImage& image, const QRect& area, QRgb colour) {
  return CountPixels(image, area, [colour](QRgb p) { return (p | 0xFF000000) == colour; });
}

}  // namespace lumora::test
