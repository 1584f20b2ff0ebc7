// TMainFrm: the main window. Shows the last observation, the plain-text signature, a clock
// and the status; owns the download pipeline, the timers, the tray icon with its menu and
// the notice box. Closing it hides it into the notification area; the tray menu's "Exit"
// or the end of the session ends the program.
#pragma once

#include <QMainWindow>
#include <QStringList>
#include <functional>

#include "app/minute_timer.h"
#include "config/options.h"
#include "signature/template_converter.h"
#include "ui/info_box.h"
#include "ui/run_entry.h"
#include "weather/weather_download.h"

class QAction;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QStatusBar;

namespace nimbalo {

class TImageButton;
class TTrayIcon;

class TMainFrm : public QMainWindow, public WeatherHost {
  Q_OBJECT

 public:
  // `arguments` is the command line ("/minimized" starts hidden in the tray); the timers
  // run on `timers`.
  explicit TMainFrm(const QStringList& arguments, TimerService& timers = TimerService::Shared());
  ~TMainFrm() override;

  // The creation steps; raises "Cannot create <DataFolder>sigs".
  void FormCreate();

  // Commands.
  void ShowSettings();
  void MainCreateSigBtnClick();
  void CopyBtnClick();
  void IBtn3Click();
  void MainScreenImageClick();
  void OpenReadme();
  void OpenHistory();
  void Checkforprogramupdates1Click();
  void AutoUpgraderNoUpdateAvailable();
  void AutoUpgraderLaterUpgrade();
  void Exit1Click();
  // The session is ending: closing is allowed from now on.
  void SessionEnd();
  // Ends the program at once (a termination signal).
  void EndProgram();
  // "Exit" or a termination signal has asked the program to end.
  bool Ending() const { return ending_; }

  // Timer ticks.
  void SigTimerTimer();
  void acAccurateTimer2Timer();

  // The tray's signature menu.
  void BuildTraySigMenu();
  void TraySigClick(QAction* item);

  // WeatherHost.
  void SetStatusText(const std::string& text) override;
  void ShowObservation(const std::string& location, const std::string& temperature) override;
  void SetTrayHint(const std::string& hint) override;
  void GenerateSignatures() override;
  void ShowSigCreatedNotice() override;
  void ActivateSigTimer() override;
  void ConfigureUpdateCheck(bool automatic, const HttpProxySettings& proxy) override;
  void StartUpdateCheck() override;

  // Components, named as the program's other parts refer to them.
  QLabel* MainScreenImage = nullptr;
  QLabel* Image2 = nullptr;
  TImageButton* IBtn1 = nullptr;
  TImageButton* MainCreateSigBtn = nullptr;
  TImageButton* IBtn3 = nullptr;
  TImageButton* CopyBtn = nullptr;
  QLabel* ProgLabel = nullptr;
  QLabel* LocationLBL = nullptr;
  QLabel* TempLBL = nullptr;
  QPlainTextEdit* WindowMemo = nullptr;
  QStatusBar* StatusBar1 = nullptr;
  QLabel* ClockPanel = nullptr;   // status panel 0
  QLabel* StatusPanel = nullptr;  // status panel 1
  QMenu* TrayPopupMenu = nullptr;
  QMenu* SelectActiveSignature1 = nullptr;
  QAction* Checkforprogramupdates1 = nullptr;
  TTrayIcon* acTrayIcon1 = nullptr;
  TInfoBox acInfoBox1;
  DuzTextTemplateConverter acTemplateConverter1;
  // acHTTP1, WeatherTimer and the request flags StartupSigPending and SigRequested.
  WeatherDownload Weather;
  MinuteTimer SigTimer;
  MinuteTimer acAccurateTimer2;

  bool ManualUpdateCheck = false;
  bool SessionEnding = false;

  // The settings dialog: shows `controls` for editing and answers whether it closed with OK.
  std::function<bool(QWidget* parent, SettingsControls& controls)> SettingsDialog;
  // Where the notices go; the notice box unless replaced.
  NoticePresenter* Notices = &acInfoBox1;
  RunEntry* RunEntries = &run_entry_;
  // The program update check; while none is installed its menu item is disabled.
  std::function<void(bool automatic, const HttpProxySettings& proxy)> OnConfigureUpdateCheck;
  std::function<void()> OnStartUpdateCheck;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateComponents();
  void CreateTrayMenu();
  void CreateHelpMenu();

  DesktopRunEntry run_entry_;
  bool minimized_switch_ = false;
  bool shown_once_ = false;
  bool ending_ = false;
};

}  // namespace nimbalo
