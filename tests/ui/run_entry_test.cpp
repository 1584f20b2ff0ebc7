#include "ui/run_entry.h"

#include <QTest>
#include <memory>

#include "platform/autostart.h"
#include "platform/registry.h"
#include "tests/support/test_home.h"
#include "tests/ui/qt_test_support.h"

namespace nimbalo {

class RunEntryTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { home_ = std::make_unique<test::TestHome>(); }
  void cleanup() { home_.reset(); }
  void addWritesTheValueAndTheAutostartEntry();
  void removeDeletesBothAndToleratesTheirAbsence();

 private:
  std::unique_ptr<test::TestHome> home_;
};

void RunEntryTest::addWritesTheValueAndTheAutostartEntry() {
  DesktopRunEntry entry;
  entry.AddRunEntry("Nimbalo", "/opt/nimbalo/nimbalo");
  const auto run = RegKey::Open(Hive::CurrentUser, kRunKey, false);
  QVERIFY(run.has_value());
  QCOMPARE(run->Read("Nimbalo")->Data, std::string("/opt/nimbalo/nimbalo"));
  const std::string desktop = test::ReadFile(AutostartEntryPath("Nimbalo"));
  QVERIFY(desktop.find("\nExec=/opt/nimbalo/nimbalo /minimized\n") != std::string::npos);
}

void RunEntryTest::removeDeletesBothAndToleratesTheirAbsence() {
  DesktopRunEntry entry;
  entry.RemoveRunEntry("Nimbalo");
  entry.AddRunEntry("Nimbalo", "/opt/nimbalo/nimbalo");
  entry.RemoveRunEntry("Nimbalo");
  QVERIFY(!RegKey::Open(Hive::CurrentUser, kRunKey, false)->ValueExists("Nimbalo"));
  QVERIFY(!test::FileExists(AutostartEntryPath("Nimbalo")));
}

}  // namespace nimbalo

NIMBALO_QTEST_MAIN(nimbalo::RunEntryTest)
#include "run_entry_test.moc"
