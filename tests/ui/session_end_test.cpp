#include "ui/session_end.h"

#include <signal.h>

#include <QTest>

#include "tests/ui/qt_test_support.h"

namespace nimbalo {

class SessionEndTest : public QObject {
  Q_OBJECT

 private slots:
  void terminationSignalsReachTheEventLoop_data();
  void terminationSignalsReachTheEventLoop();
};

void SessionEndTest::terminationSignalsReachTheEventLoop_data() {
  QTest::addColumn<int>("number");
  QTest::newRow("SIGTERM") << SIGTERM;
  QTest::newRow("SIGINT") << SIGINT;
  QTest::newRow("SIGHUP") << SIGHUP;
}

void SessionEndTest::terminationSignalsReachTheEventLoop() {
  QFETCH(int, number);
  SessionEndWatcher watcher;
  int terminated = 0;
  watcher.OnTerminate = [&terminated] { ++terminated; };
  ::raise(number);
  // Not from inside the handler: only once the loop runs.
  QCOMPARE(terminated, 0);
  QTRY_COMPARE(terminated, 1);
}

}  // namespace nimbalo

NIMBALO_QTEST_MAIN(nimbalo::SessionEndTest)
#include "session_end_test.moc"
