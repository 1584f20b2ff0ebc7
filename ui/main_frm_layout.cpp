// The main window's components and menus.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPlainTextEdit>
#include <QStatusBar>

#include "app/program_info.h"
#include "ui/error_handler.h"
#include "ui/image_button.h"
#include "ui/main_frm.h"
#include "ui/pictures.h"
#include "ui/tray_icon.h"

namespace nimbalo {

namespace {
// Colours of the window, given as 0x00BBGGRR values.
QColor FromBgr(quint32 bgr) {
  return QColor(static_cast<int>(bgr & 0xFF), static_cast<int>((bgr >> 8) & 0xFF),
                static_cast<int>((bgr >> 16) & 0xFF));
}
const QColor kWindowColor = FromBgr(11683841);  // #0148b2
const QColor kMemoColor = FromBgr(3413249);     // #011534
const QColor kStatusColor = FromBgr(9583105);   // #013a92

constexpr int kHintMs = 9000;

QLabel* Label(QWidget* parent, const char* name, const QRect& place, const QColor& color,
              qreal pointSize, bool bold) {
  auto* label = new QLabel(parent);
  label->setObjectName(name);
  label->setGeometry(place);
  label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
  QFont font = label->font();
  font.setPointSizeF(pointSize);
  font.setBold(bold);
  label->setFont(font);
  QPalette palette = label->palette();
  palette.setColor(QPalette::WindowText, color);
  label->setPalette(palette);
  return label;
}

TImageButton* Button(QWidget* parent, const char* name, const char* picture, int top,
                     const QString& hint) {
  auto* button = new TImageButton(QLatin1String(name), QStringLiteral("btn_%1.svg").arg(picture),
                                  QStringLiteral("btn_%1_hover.svg").arg(picture), parent);
  button->move(12, top);
  button->setToolTip(hint);
  button->setToolTipDuration(kHintMs);
  return button;
}
}  // namespace

void TMainFrm::CreateComponents() {
  auto* client = new QWidget(this);
  client->setObjectName("ClientArea");
  client->setAutoFillBackground(true);
  QPalette palette = client->palette();
  palette.setColor(QPalette::Window, kWindowColor);
  client->setPalette(palette);
  setCentralWidget(client);

  Image2 = new QLabel(client);
  Image2->setObjectName("Image2");
  Image2->setGeometry(4, 4, 136, 320);
  Image2->setPixmap(Picture(QStringLiteral("side_panel.svg"), QSize(136, 320)));

  IBtn1 = Button(client, "IBtn1", "settings", 114,
                 QStringLiteral("Settings: weather station, signatures and mail program"));
  MainCreateSigBtn = Button(client, "MainCreateSigBtn", "create", 164,
                            QStringLiteral("Download the weather and create your signatures now"));
  IBtn3 = Button(client, "IBtn3", "help", 214, QStringLiteral("Open the Nimbalo manual"));
  CopyBtn = Button(client, "CopyBtn", "copy", 264,
                   QStringLiteral("Copy the plain-text signature to the clipboard"));
  connect(IBtn1, &QAbstractButton::clicked, this, [this] { Guarded([this] { ShowSettings(); }); });
  connect(MainCreateSigBtn, &QAbstractButton::clicked, this,
          [this] { Guarded([this] { MainCreateSigBtnClick(); }); });
  connect(IBtn3, &QAbstractButton::clicked, this, [this] { Guarded([this] { IBtn3Click(); }); });
  connect(CopyBtn, &QAbstractButton::clicked, this,
          [this] { Guarded([this] { CopyBtnClick(); }); });

  MainScreenImage = new QLabel(client);
  MainScreenImage->setObjectName("MainScreenImage");
  MainScreenImage->setGeometry(144, 4, 384, 320);
  MainScreenImage->setPixmap(Picture(QStringLiteral("main_screen.svg"), QSize(384, 320)));
  MainScreenImage->setCursor(Qt::PointingHandCursor);
  MainScreenImage->setToolTip(QStringLiteral("About Nimbalo"));
  MainScreenImage->setToolTipDuration(kHintMs);
  MainScreenImage->installEventFilter(this);

  ProgLabel = Label(MainScreenImage, "ProgLabel", QRect(164, 8, 210, 18), Qt::white, 9, true);
  LocationLBL = Label(MainScreenImage, "LocationLBL", QRect(44, 28, 330, 22), Qt::cyan, 11, false);
  TempLBL = Label(MainScreenImage, "TempLBL", QRect(164, 50, 210, 40), Qt::cyan, 24, true);
  ProgLabel->setText(QLatin1String(ProgramTitle));

  WindowMemo = new QPlainTextEdit(client);
  WindowMemo->setObjectName("WindowMemo");
  WindowMemo->setGeometry(4, 328, 524, 64);
  WindowMemo->setReadOnly(true);
  WindowMemo->setFrameShape(QFrame::NoFrame);
  WindowMemo->setLineWrapMode(QPlainTextEdit::NoWrap);
  QFont memoFont = WindowMemo->font();
  memoFont.setPointSizeF(8.5);
  WindowMemo->setFont(memoFont);
  WindowMemo->setStyleSheet(
      QStringLiteral("QPlainTextEdit#WindowMemo { background: %1; color: white;"
                     " selection-background-color: #2f86f0; padding: 1px 4px; }"
                     " QScrollBar { background: %1; border: none; }"
                     " QScrollBar:horizontal { height: 8px; } QScrollBar:vertical { width: 8px; }"
                     " QScrollBar::handle { background: #2f5fa8; border-radius: 3px; }"
                     " QScrollBar::handle:horizontal { min-width: 24px; }"
                     " QScrollBar::handle:vertical { min-height: 16px; }"
                     " QScrollBar::add-line, QScrollBar::sub-line { width: 0; height: 0; }"
                     " QScrollBar::add-page, QScrollBar::sub-page { background: none; }")
          .arg(kMemoColor.name()));

  StatusBar1 = new QStatusBar(this);
  StatusBar1->setObjectName("StatusBar1");
  StatusBar1->setSizeGripEnabled(false);
  StatusBar1->setStyleSheet(
      QStringLiteral("QStatusBar#StatusBar1 { background: %1; } QStatusBar::item { border: none; }"
                     " QStatusBar#StatusBar1 QLabel { color: white; padding: 0 4px; }"
                     " QLabel#ClockPanel { border-right: 1px solid #3d6fc0; }")
          .arg(kStatusColor.name()));
  ClockPanel = new QLabel(StatusBar1);
  ClockPanel->setObjectName("ClockPanel");
  ClockPanel->setFixedWidth(100);
  StatusPanel = new QLabel(StatusBar1);
  StatusPanel->setObjectName("StatusPanel");
  StatusBar1->addWidget(ClockPanel);
  StatusBar1->addWidget(StatusPanel, 1);
  setStatusBar(StatusBar1);

  setFixedSize(532, 396 + StatusBar1->sizeHint().height());
}

void TMainFrm::CreateTrayMenu() {
  TrayPopupMenu = new QMenu(this);
  TrayPopupMenu->setObjectName("TrayPopupMenu");
  const auto item = [this](const char* name, const char* caption, auto handler) {
    QAction* action = TrayPopupMenu->addAction(QLatin1String(caption));
    action->setObjectName(name);
    connect(action, &QAction::triggered, this,
            [this, handler] { Guarded([&] { handler(this); }); });
    return action;
  };
  const auto separator = [this](const char* name) {
    TrayPopupMenu->addSeparator()->setObjectName(name);
  };

  SelectActiveSignature1 = TrayPopupMenu->addMenu(QStringLiteral("Change Mail Client Default Sig"));
  SelectActiveSignature1->setObjectName("SelectActiveSignature1");
  SelectActiveSignature1->menuAction()->setObjectName("SelectActiveSignature1");
  item("About1", "Create Signature", [](TMainFrm* f) { f->MainCreateSigBtnClick(); });
  item("CopySigtoClipboard1", "Copy Sig to Clipboard", [](TMainFrm* f) { f->CopyBtnClick(); });
  separator("N1");
  item("ShowWindow1", "Show Window", [](TMainFrm* f) { f->acTrayIcon1->RestoreMainWindow(); });
  item("MinimizeWindow1", "Minimize Window", [](TMainFrm* f) { f->acTrayIcon1->HideMainWindow(); });
  separator("N2");
  item("About2", "About", [](TMainFrm* f) { f->MainScreenImageClick(); });
  item("Settings1", "Settings", [](TMainFrm* f) { f->ShowSettings(); });
  Checkforprogramupdates1 = item("Checkforprogramupdates1", "Check for program updates",
                                 [](TMainFrm* f) { f->Checkforprogramupdates1Click(); });
  connect(TrayPopupMenu, &QMenu::aboutToShow, this,
          [this] { Checkforprogramupdates1->setEnabled(static_cast<bool>(OnStartUpdateCheck)); });
  separator("N3");
  item("Exit1", "Exit", [](TMainFrm* f) { f->Exit1Click(); });
}

void TMainFrm::CreateHelpMenu() {
  // Linux windows have no system menu to extend: Readme, History and About sit in the
  // window's context menu instead.
  QWidget* client = centralWidget();
  client->setContextMenuPolicy(Qt::ActionsContextMenu);
  const auto item = [this, client](const char* name, const char* caption, auto handler) {
    auto* action = new QAction(QLatin1String(caption), client);
    action->setObjectName(name);
    connect(action, &QAction::triggered, this,
            [this, handler] { Guarded([&] { handler(this); }); });
    client->addAction(action);
  };
  const auto separator = [client] {
    auto* action = new QAction(client);
    action->setSeparator(true);
    client->addAction(action);
  };
  item("ReadmeItem", "Readme", [](TMainFrm* f) { f->OpenReadme(); });
  item("HistoryItem", "History", [](TMainFrm* f) { f->OpenHistory(); });
  separator();
  item("AboutItem", "About", [](TMainFrm* f) { f->MainScreenImageClick(); });
}

}  // namespace nimbalo
