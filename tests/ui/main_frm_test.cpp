#include "ui/main_frm.h"

#include <QAction>
#include <QClipboard>
#include <QDialog>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QSignalSpy>
#include <QTest>
#include <memory>

#include "app/minute_timer.h"
#include "app/paths.h"
#include "app/startup.h"
#include "config/options.h"
#include "platform/autostart.h"
#include "platform/registry.h"
#include "tests/support/test_home.h"
#include "tests/ui/qt_test_support.h"
#include "ui/event_sound.h"
#include "ui/qt_text.h"
#include "ui/tray_icon.h"

namespace nimbalo {

namespace {
constexpr const char* kReport =
    "Alabaster, Shelby County Airport, AL, United States (KEET) 33-11-00N 086-46-58W 173M\n"
    "Dec 12, 2012 - 03:15 PM EST / 2012.12.12 2015 UTC\n"
    "Wind: from the NW (320 degrees) at 5 MPH (4 KT):0\n"
    "Visibility: 10 mile(s):0\n"
    "Sky conditions: mostly cloudy\n"
    "Weather: light rain\n"
    "Temperature: 44 F (7 C)\n"
    "Dew Point: 35 F (2 C)\n"
    "Relative Humidity: 70%\n"
    "Pressure (altimeter): 30.12 in. Hg (1019 hPa)\n";

class FakeClock : public TimerClock {
 public:
  std::int64_t Now = 0;
  std::int64_t NowMs() override { return Now; }
};

RegKey MainKey() {
  return *RegKey::Open(Hive::CurrentUser, kMainKey, /*create=*/true);
}
}  // namespace

class MainFrmTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();

  void closeHidesIntoTheTrayAndTheIconStays();
  void closeWithoutNotificationAreaMinimizesAndTellsOnce();
  void closeIsAllowedOnceTheSessionEnds();
  void trayMenuHasTheEntriesInOrder();
  void trayMenuEntriesReachTheirCommands();
  void exitEndsTheEventLoop();
  void requestIsServedByTheNextSuccessfulDownloadOnce();
  void statusTexts_data();
  void statusTexts();
  void clockRefreshesTheStatusEveryFifteenSeconds();
  void signatureTimerFollowsTheInterval_data();
  void signatureTimerFollowsTheInterval();
  void firstRunAsksToConfigureAndShowsTheWindow();
  void unwritableSigsFolderStopsTheCreation();
  void settingsOkSavesAndReloadsCancelOnlyRefreshes();
  void minimizedSwitchStartsHidden();

 private:
  TMainFrm& Create(const QStringList& arguments = {QStringLiteral("nimbalo")});
  void Advance(int ticks, int milliseconds);
  void WriteTemplates();

  std::unique_ptr<test::TestHome> home_;
  test::ScriptedPrompt prompt_;
  test::RecordingNotices notices_;
  std::vector<std::string> sounds_;
  FakeClock clock_;
  std::unique_ptr<TimerService> timers_;
  std::unique_ptr<TMainFrm> frm_;
  int settings_opened_ = 0;
};

void MainFrmTest::init() {
  home_ = std::make_unique<test::TestHome>();
  FixFolders();
  // An installed program that does not download at start-up unless a test says so.
  MainKey().WriteString("CityState", "Alabaster, Alabama");
  MainKey().WriteDword("SigOnStart", 0);
  LoadSettings();
  prompt_ = {};
  notices_ = {};
  sounds_.clear();
  settings_opened_ = 0;
  SetUiPrompt(&prompt_);
  SetEventSoundPlayer([this](const std::string& name) { sounds_.push_back(name); });
  TTrayIcon::SetTrayAvailability([] { return true; });
  timers_ = std::make_unique<TimerService>(clock_);
}

void MainFrmTest::cleanup() {
  frm_.reset();
  timers_.reset();
  TTrayIcon::SetTrayAvailability(nullptr);
  SetEventSoundPlayer(nullptr);
  SetUiPrompt(nullptr);
  home_.reset();
}

TMainFrm& MainFrmTest::Create(const QStringList& arguments) {
  frm_ = std::make_unique<TMainFrm>(arguments, *timers_);
  frm_->Notices = &notices_;
  frm_->SettingsDialog = [this](QWidget*, SettingsControls&) {
    ++settings_opened_;
    return false;
  };
  return *frm_;
}

// Lets the shared timing service see `ticks` steps of `milliseconds` and delivers the ticks.
void MainFrmTest::Advance(int ticks, int milliseconds) {
  for (int i = 0; i < ticks; ++i) {
    clock_.Now += milliseconds;
    timers_->Poll();
    QCoreApplication::processEvents();
  }
}

void MainFrmTest::WriteTemplates() {
  test::WriteFile(TemplatesFolder() + "nb_text.txt", "Weather: %WEATHER%\r\n");
  test::WriteFile(TemplatesFolder() + "nb_html.htm", "<b>%WEATHER%</b>\r\n");
  test::WriteFile(TemplatesFolder() + "nb_rtf.rtf", "{\\rtf1 %WEATHER%}\r\n");
  test::MakeFolders(DataFolder + "sigs");
}

void MainFrmTest::closeHidesIntoTheTrayAndTheIconStays() {
  TMainFrm& frm = Create();
  frm.FormCreate();
  frm.show();
  QVERIFY(!frm.acTrayIcon1->Icon().isVisible());  // no icon before the first hide

  frm.close();
  QVERIFY(!frm.isVisible());
  QVERIFY(frm.acTrayIcon1->AppHidden());
  QVERIFY(frm.acTrayIcon1->Icon().isVisible());
  QCOMPARE(sounds_, std::vector<std::string>{"window-minimized"});

  frm.acTrayIcon1->RestoreMainWindow();
  QVERIFY(frm.isVisible());
  QVERIFY(!frm.acTrayIcon1->AppHidden());
  QVERIFY(frm.acTrayIcon1->Icon().isVisible());
  QCOMPARE(sounds_.back(), std::string("window-unminimized"));
}

void MainFrmTest::closeWithoutNotificationAreaMinimizesAndTellsOnce() {
  TTrayIcon::SetTrayAvailability([] { return false; });
  TMainFrm& frm = Create();
  frm.FormCreate();
  frm.show();
  frm.close();
  QCoreApplication::processEvents();
  QVERIFY(frm.isMinimized());
  QVERIFY(!frm.acTrayIcon1->AppHidden());
  QVERIFY(!frm.acTrayIcon1->Icon().isVisible());
  QCOMPARE(prompt_.Calls.size(), std::size_t{1});
  QVERIFY(prompt_.Calls[0].Text.find("no notification area") != std::string::npos);

  frm.showNormal();
  frm.close();
  QCoreApplication::processEvents();
  QCOMPARE(prompt_.Calls.size(), std::size_t{1});
}

void MainFrmTest::closeIsAllowedOnceTheSessionEnds() {
  TMainFrm& frm = Create();
  frm.FormCreate();
  frm.show();
  frm.SessionEnd();
  // The close is allowed and ends the program.
  bool closed = false;
  QTimer::singleShot(0, &frm, [&] { closed = frm.close(); });
  QCOMPARE(QApplication::exec(), 0);
  QVERIFY(closed);
  QVERIFY(!frm.acTrayIcon1->AppHidden());
  QVERIFY(!frm.acTrayIcon1->Icon().isVisible());
}

void MainFrmTest::trayMenuHasTheEntriesInOrder() {
  TMainFrm& frm = Create();
  const std::pair<const char*, const char*> expected[] = {
      {"SelectActiveSignature1", "Change Mail Client Default Sig"},
      {"About1", "Create Signature"},
      {"CopySigtoClipboard1", "Copy Sig to Clipboard"},
      {"N1", nullptr},
      {"ShowWindow1", "Show Window"},
      {"MinimizeWindow1", "Minimize Window"},
      {"N2", nullptr},
      {"About2", "About"},
      {"Settings1", "Settings"},
      {"Checkforprogramupdates1", "Check for program updates"},
      {"N3", nullptr},
      {"Exit1", "Exit"},
  };
  const QList<QAction*> actions = frm.TrayPopupMenu->actions();
  QCOMPARE(actions.size(), qsizetype(std::size(expected)));
  for (qsizetype i = 0; i < actions.size(); ++i) {
    const auto& [name, caption] = expected[i];
    QCOMPARE(actions[i]->objectName(), QLatin1String(name));
    QCOMPARE(actions[i]->isSeparator(), caption == nullptr);
    if (caption != nullptr) QCOMPARE(actions[i]->text(), QLatin1String(caption));
  }
  QCOMPARE(actions[0]->menu(), frm.SelectActiveSignature1);
  QCOMPARE(frm.acTrayIcon1->Icon().contextMenu(), frm.TrayPopupMenu);
}

void MainFrmTest::trayMenuEntriesReachTheirCommands() {
  TMainFrm& frm = Create();
  frm.FormCreate();
  frm.show();
  const auto trigger = [&frm](const char* name) {
    QAction* action = frm.TrayPopupMenu->findChild<QAction*>(QLatin1String(name));
    QVERIFY2(action != nullptr, name);
    action->trigger();
  };

  trigger("MinimizeWindow1");
  QVERIFY(!frm.isVisible());
  trigger("ShowWindow1");
  QVERIFY(frm.isVisible());

  trigger("About1");
  QVERIFY(frm.Weather.SigRequested);

  frm.Weather.SigRequested = false;
  trigger("Settings1");
  QCOMPARE(settings_opened_, 1);
  QVERIFY(frm.Weather.SigRequested);

  frm.WindowMemo->setPlainText(QStringLiteral("line one\nline two"));
  trigger("CopySigtoClipboard1");
  QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("line one\nline two"));
  QCOMPARE(notices_.Shown, std::vector<std::string>{"Sig Copied to Clipboard .."});

  QString aboutTitle;
  test::OnNextModal([&aboutTitle](QWidget* modal) {
    aboutTitle = modal->objectName();
    static_cast<QDialog*>(modal)->accept();
  });
  trigger("About2");
  QCOMPARE(aboutTitle, QStringLiteral("AboutBox"));

  // Without an update checker the entry cannot be chosen.
  QMetaObject::invokeMethod(frm.TrayPopupMenu, "aboutToShow");
  QVERIFY(!frm.Checkforprogramupdates1->isEnabled());
  int checks = 0;
  frm.OnStartUpdateCheck = [&checks] { ++checks; };
  QMetaObject::invokeMethod(frm.TrayPopupMenu, "aboutToShow");
  QVERIFY(frm.Checkforprogramupdates1->isEnabled());
  trigger("Checkforprogramupdates1");
  QCOMPARE(checks, 1);
  QVERIFY(frm.ManualUpdateCheck);
}

void MainFrmTest::exitEndsTheEventLoop() {
  TMainFrm& frm = Create();
  frm.FormCreate();
  frm.show();
  QTimer::singleShot(0, &frm, [&frm] {
    frm.TrayPopupMenu->findChild<QAction*>(QStringLiteral("Exit1"))->trigger();
  });
  QCOMPARE(QApplication::exec(), 0);
  QVERIFY(frm.Ending());
  // The window closed without its close check turning it into a hide.
  QVERIFY(!frm.acTrayIcon1->AppHidden());
}

void MainFrmTest::requestIsServedByTheNextSuccessfulDownloadOnce() {
  WriteTemplates();
  TMainFrm& frm = Create();
  frm.FormCreate();
  frm.MainCreateSigBtnClick();
  QVERIFY(frm.Weather.SigRequested);

  // A failed download keeps the request.
  frm.Weather.acHTTP1HostUnreachable();
  QCOMPARE(frm.StatusPanel->text(), QStringLiteral("Host Unreachable"));
  QVERIFY(notices_.Shown.empty());
  QVERIFY(frm.Weather.SigRequested);

  const std::string body = kReport;
  frm.Weather.acHTTP1Done("text/plain", static_cast<int>(body.size()), body);
  QCOMPARE(notices_.Shown, std::vector<std::string>{"New Sig Created!"});
  QVERIFY(!frm.Weather.SigRequested);
  QCOMPARE(frm.LocationLBL->text(), QStringLiteral("Alabaster, Alabama"));
  QVERIFY(frm.TempLBL->text().startsWith(QStringLiteral("44")));
  QVERIFY(frm.WindowMemo->toPlainText().startsWith(
      QStringLiteral("Weather: Currently in Alabaster, Alabama")));
  QVERIFY(frm.acTrayIcon1->Hint().endsWith(QStringLiteral("\nAlabaster, Alabama")));
  QVERIFY(!frm.acTrayIcon1->Hint().contains(QLatin1Char('\r')));

  // The timer's download that follows asks for nothing.
  frm.Weather.acHTTP1Done("text/plain", static_cast<int>(body.size()), body);
  QCOMPARE(notices_.Shown.size(), std::size_t{1});
}

void MainFrmTest::statusTexts_data() {
  QTest::addColumn<int>("event");
  QTest::addColumn<QString>("expected");
  QTest::newRow("auto weather on") << 0
                                   << "Auto Weather:True Interval:10 minute(s) Next update:10 "
                                      "minute(s)";
  QTest::newRow("auto weather off") << 1 << "Auto Weather:False";
  QTest::newRow("404") << 2 << "HTTP Error #404: Document not found";
  QTest::newRow("500") << 3 << "HTTP Error #500: CGI script failed";
  QTest::newRow("other status") << 4 << "HTTP Error #403";
  QTest::newRow("no status") << 5 << "Host Unreachable";
  QTest::newRow("short body") << 6 << "Connection Lost";
  QTest::newRow("no update") << 7 << "AutoUpdate: No Update available";
}

void MainFrmTest::statusTexts() {
  QFETCH(int, event);
  QFETCH(QString, expected);
  TMainFrm& frm = Create();
  Options.UpdateInterval = 10;
  Options.WeatherAutoUpdate = event != 1;
  switch (event) {
    case 0:
    case 1:
      frm.Weather.ShowWeatherStatus();
      break;
    case 2:
      frm.Weather.acHTTP1HTTPError(404);
      break;
    case 3:
      frm.Weather.acHTTP1HTTPError(500);
      break;
    case 4:
      frm.Weather.acHTTP1HTTPError(403);
      break;
    case 5:
      frm.Weather.acHTTP1HostUnreachable();
      break;
    case 6:
      frm.Weather.acHTTP1ConnLost();
      break;
    case 7:
      frm.AutoUpgraderNoUpdateAvailable();
      break;
  }
  QCOMPARE(frm.StatusPanel->text(), expected);
  QVERIFY(prompt_.Calls.empty());
}

void MainFrmTest::clockRefreshesTheStatusEveryFifteenSeconds() {
  TMainFrm& frm = Create();
  frm.FormCreate();
  frm.SetStatusText("placeholder");
  Advance(14, 1000);
  QCOMPARE(frm.StatusPanel->text(), QStringLiteral("placeholder"));
  QVERIFY(!frm.ClockPanel->text().isEmpty());
  Advance(1, 1000);
  QVERIFY(frm.StatusPanel->text().startsWith(QStringLiteral("Auto Weather:True")));

  // With automatic downloads off only the clock runs.
  Options.WeatherAutoUpdate = false;
  frm.SetStatusText("placeholder");
  frm.ClockPanel->clear();
  Advance(30, 1000);
  QCOMPARE(frm.StatusPanel->text(), QStringLiteral("placeholder"));
  QVERIFY(!frm.ClockPanel->text().isEmpty());
}

void MainFrmTest::signatureTimerFollowsTheInterval_data() {
  QTest::addColumn<int>("interval");
  QTest::addColumn<int>("minutes");
  QTest::addColumn<bool>("generated");
  QTest::newRow("zero never") << 0 << 10 << false;
  QTest::newRow("negative never") << -3 << 10 << false;
  QTest::newRow("not yet") << 5 << 4 << false;
  QTest::newRow("due") << 5 << 5 << true;
}

void MainFrmTest::signatureTimerFollowsTheInterval() {
  QFETCH(int, interval);
  QFETCH(int, minutes);
  QFETCH(bool, generated);
  WriteTemplates();
  MainKey().WriteDword("SigUpdateInterval", static_cast<std::uint32_t>(interval));
  MainKey().WriteDword("AutoUpdateSig", 1);
  TMainFrm& frm = Create();
  frm.FormCreate();
  QVERIFY(frm.SigTimer.Active());
  Advance(minutes, 60000);
  QCOMPARE(test::FileExists(DataFolder + "sigs/SIG_nb_text.txt"), generated);
  QVERIFY(frm.SigTimer.Active());
  QVERIFY(prompt_.Calls.empty());
}

void MainFrmTest::firstRunAsksToConfigureAndShowsTheWindow() {
  for (const PromptResult answer : {PromptResult::Cancel, PromptResult::Ok}) {
    RegKey::DeleteKey(Hive::CurrentUser, kMainKey);
    prompt_.Calls.clear();
    prompt_.Answers = {answer};
    settings_opened_ = 0;
    TMainFrm& frm = Create();
    frm.FormCreate();
    QCOMPARE(prompt_.Calls.size(), std::size_t{1});
    QCOMPARE(prompt_.Calls[0].Text,
             std::string("New Nimbalo installation detected ..\n\r\n\rIt's strongly "
                         "recommended you configure Nimbalo now?"));
    QCOMPARE(prompt_.Calls[0].Caption, std::string("Confirm"));
    QCOMPARE(prompt_.Calls[0].Buttons, PromptButtons::OkCancel);
    QCOMPARE(settings_opened_, answer == PromptResult::Ok ? 1 : 0);
    QVERIFY(!NewInstallation);
    QVERIFY(frm.isVisible());
    QVERIFY(!frm.acTrayIcon1->AppHidden());
    frm_.reset();
  }
}

void MainFrmTest::unwritableSigsFolderStopsTheCreation() {
  test::WriteFile(DataFolder + "sigs", "a file where the folder belongs");
  TMainFrm& frm = Create();
  try {
    frm.FormCreate();
    QFAIL("no error raised");
  } catch (const std::exception& error) {
    QCOMPARE(std::string(error.what()), "Cannot create " + DataFolder + "sigs");
  }
  QCOMPARE(frm.windowTitle(), QStringLiteral("Nimbalo v1.5"));
  QVERIFY(frm.SelectActiveSignature1->actions().isEmpty());
}

void MainFrmTest::settingsOkSavesAndReloadsCancelOnlyRefreshes() {
  TMainFrm& frm = Create();
  frm.FormCreate();
  QVERIFY(Options.LaunchStartUp);

  frm.SettingsDialog = [](QWidget*, SettingsControls& controls) {
    controls.CityState = "Paris";
    controls.LaunchAtStartChk = false;
    return false;
  };
  frm.ShowSettings();
  QCOMPARE(Options.CityState, std::string("Alabaster, Alabama"));
  QVERIFY(frm.Weather.SigRequested);

  test::WriteFile(AutostartEntryPath("Nimbalo"), "[Desktop Entry]\n");
  frm.SettingsDialog = [](QWidget*, SettingsControls& controls) {
    controls.CityState = "Paris";
    controls.LaunchAtStartChk = false;
    return true;
  };
  frm.ShowSettings();
  QCOMPARE(Options.CityState, std::string("Paris"));
  QVERIFY(!Options.LaunchStartUp);
  QVERIFY(!test::FileExists(AutostartEntryPath("Nimbalo")));
}

void MainFrmTest::minimizedSwitchStartsHidden() {
  TMainFrm& frm = Create({QStringLiteral("nimbalo"), QStringLiteral("/MINIMIZED")});
  QVERIFY(!Options.StartMin);
  frm.FormCreate();
  QVERIFY(frm.acTrayIcon1->StartsMinimized());
  QVERIFY(frm.acTrayIcon1->AppHidden());
  QVERIFY(!frm.isVisible());
  QVERIFY(frm.acTrayIcon1->Icon().isVisible());
}

}  // namespace nimbalo

NIMBALO_QTEST_MAIN(nimbalo::MainFrmTest)
#include "main_frm_test.moc"
