#include "ui/tray_icon.h"

#include <QMenu>
#include <QTest>
#include <QWidget>

#include "tests/ui/qt_test_support.h"
#include "ui/event_sound.h"

namespace nimbalo {

class TrayIconTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void minimizedSwitch_data();
  void minimizedSwitch();
  void hintFallsBackToTheTitleAndKeepsLongTexts();
  void leftClickRestoresOnlyAHiddenWindow();
  void otherClicksDoNothing();
  void hidingTwiceOrWhileEndingDoesNothing();

 private:
  test::ScriptedPrompt prompt_;
  std::vector<std::string> sounds_;
};

void TrayIconTest::init() {
  prompt_ = {};
  sounds_.clear();
  SetUiPrompt(&prompt_);
  SetEventSoundPlayer([this](const std::string& name) { sounds_.push_back(name); });
  TTrayIcon::SetTrayAvailability([] { return true; });
}

void TrayIconTest::cleanup() {
  TTrayIcon::SetTrayAvailability(nullptr);
  SetEventSoundPlayer(nullptr);
  SetUiPrompt(nullptr);
}

void TrayIconTest::minimizedSwitch_data() {
  QTest::addColumn<QStringList>("arguments");
  QTest::addColumn<bool>("expected");
  QTest::newRow("none") << QStringList{"nimbalo"} << false;
  QTest::newRow("lower case") << QStringList{"nimbalo", "/minimized"} << true;
  QTest::newRow("upper case") << QStringList{"nimbalo", "/MINIMIZED"} << true;
  QTest::newRow("among others") << QStringList{"nimbalo", "x", "/Minimized"} << true;
  QTest::newRow("other prefix") << QStringList{"nimbalo", "-minimized"} << false;
  QTest::newRow("longer") << QStringList{"nimbalo", "/minimized2"} << false;
  QTest::newRow("program name") << QStringList{"/minimized"} << false;
}

void TrayIconTest::minimizedSwitch() {
  QFETCH(QStringList, arguments);
  QFETCH(bool, expected);
  QCOMPARE(TTrayIcon::MinimizedSwitch(arguments), expected);
}

void TrayIconTest::hintFallsBackToTheTitleAndKeepsLongTexts() {
  QWidget window;
  QMenu menu;
  TTrayIcon tray(&window, &menu);
  QCOMPARE(tray.Hint(), QStringLiteral("Nimbalo"));
  const QString longHint =
      QStringLiteral("Light Rain, 44°F(7°C)\n") + QString(200, QLatin1Char('x'));
  tray.SetHint(longHint);
  QCOMPARE(tray.Hint(), longHint);
  tray.SetHint(QString());
  QCOMPARE(tray.Hint(), QStringLiteral("Nimbalo"));
}

void TrayIconTest::leftClickRestoresOnlyAHiddenWindow() {
  QWidget window;
  QMenu menu;
  TTrayIcon tray(&window, &menu);
  window.show();
  emit tray.Icon().activated(QSystemTrayIcon::Trigger);
  QVERIFY(window.isVisible());
  QVERIFY(sounds_.empty());

  tray.HideMainWindow();
  QVERIFY(!window.isVisible());
  emit tray.Icon().activated(QSystemTrayIcon::Trigger);
  QVERIFY(window.isVisible());
  QVERIFY(!tray.AppHidden());
  QCOMPARE(sounds_, (std::vector<std::string>{"window-minimized", "window-unminimized"}));
}

void TrayIconTest::otherClicksDoNothing() {
  QWidget window;
  QMenu menu;
  TTrayIcon tray(&window, &menu);
  window.show();
  tray.HideMainWindow();
  for (const auto reason :
       {QSystemTrayIcon::DoubleClick, QSystemTrayIcon::MiddleClick, QSystemTrayIcon::Context}) {
    emit tray.Icon().activated(reason);
    QVERIFY(!window.isVisible());
  }
}

void TrayIconTest::hidingTwiceOrWhileEndingDoesNothing() {
  QWidget window;
  QMenu menu;
  TTrayIcon tray(&window, &menu);
  window.show();
  tray.HideMainWindow();
  tray.HideMainWindow();
  QCOMPARE(sounds_.size(), std::size_t{1});

  tray.SetEnding();
  tray.RestoreMainWindow();
  QVERIFY(!window.isVisible());
  QCOMPARE(sounds_.size(), std::size_t{1});
}

}  // namespace nimbalo

NIMBALO_QTEST_MAIN(nimbalo::TrayIconTest)
#include "tray_icon_test.moc"
