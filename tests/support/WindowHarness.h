#pragma once
// The one main-window harness: the window built on the test doubles of
// FakeParts.h, and the event loop run until a condition holds.

#include <QApplication>
#include <QElapsedTimer>
#include <QThread>
#include <QWidget>

#include <memory>

#include "app/CSamplePlayerDlg.h"
#include "tests/support/FakeParts.h"

namespace lumora::test {

// Runs the event loop until `done` holds or `ms` pass; returns done().
template <typename Done>
bool RunUntil(Done done, int ms) {
  QElapsedTimer clock;
  clock.start();
  while (!done() && clock.elapsed() < ms) {
    QApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  return done();
}

// Parts of the window with a fake player, track and map; the pointers to
// them stay valid while the window lives.
struct FakeWindowParts {
  FakePlayer* player = nullptr;
  FakeTrack* track = nullptr;
  FakeMap* map = nullptr;
  CSamplePlayerDlg::Parts parts;

  FakeWindowParts() {
    auto p = std::make_unique<FakePlayer>();
    auto t = std::make_unique<FakeTrack>();
    auto m = std::make_unique<FakeMap>();
    player = p.get();
    track = t.get();
    map = m.get();
    parts.player = std::move(p);
    parts.track = std::move(t);
    parts.map = std::move(m);
    parts.mapWidget = new QWidget;  // the window takes it as its child
    parts.leftButtonHeld = [] { return false; };
  }
};

}  // namespace lumora::test
