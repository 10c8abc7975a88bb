// Starts the real viewer on a small generated card with --report-start: it
// prints one JSON object with its start times and exits by itself.
#include <gtest/gtest.h>

#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>

#include <string>

#include "tests/support/TestCard.h"
#include "tests/support/ViewerRun.h"

namespace lumora {
namespace {

TEST(StartReport, PrintsStartTimesAsJsonAndExits) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString card = dir.path() + QStringLiteral("/card");
  CardOptions options = test::SmallCard(2, 4);
  options.front_width = 320;
  options.front_height = 180;
  options.with_stills = false;
  std::string error;
  ASSERT_TRUE(MakeCard(card.toStdString(), options, &error)) << error;

  const test::ViewerRun run =
      test::RunViewer({QStringLiteral("--card"), card, QStringLiteral("--report-start")}, false);
  const QByteArray& out = run.out;
  ASSERT_TRUE(run.finished) << run.err.toStdString();
  EXPECT_EQ(run.status, QProcess::NormalExit) << run.err.toStdString();
  EXPECT_EQ(run.exitCode, 0) << run.err.toStdString();

  // Exactly one line of JSON on stdout.
  const QByteArray line = out.trimmed();
  EXPECT_FALSE(line.contains('\n')) << out.toStdString();
  QJsonParseError parseError;
  const QJsonDocument doc = QJsonDocument::fromJson(line, &parseError);
  ASSERT_EQ(parseError.error, QJsonParseError::NoError) << out.toStdString();
  ASSERT_TRUE(doc.isObject()) << out.toStdString();
  const QJsonObject report = doc.object();
  ASSERT_EQ(report.size(), 3) << out.toStdString();
  for (const char* key : {"start_ms", "first_paint_ms", "map_ready_ms"}) {
    ASSERT_TRUE(report.value(QLatin1String(key)).isDouble()) << key << ": " << out.toStdString();
  }
  const double start = report.value(QStringLiteral("start_ms")).toDouble();
  const double firstPaint = report.value(QStringLiteral("first_paint_ms")).toDouble();
  const double mapReady = report.value(QStringLiteral("map_ready_ms")).toDouble();
  // Whole milliseconds since the program started; the window painted, and
  // its first paint came no later than the one with the card open.
  EXPECT_EQ(start, static_cast<double>(static_cast<long long>(start)));
  EXPECT_GT(firstPaint, 0);
  EXPECT_LE(firstPaint, start);
  EXPECT_LT(start, 60000);
  // The map page either loaded after the start of the program or is -1.
  EXPECT_TRUE(mapReady == -1 || mapReady > 0) << mapReady;
  EXPECT_LT(mapReady, 60000);
}

}  // namespace
}  // namespace lumora
