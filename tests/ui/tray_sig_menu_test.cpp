#include "ui/tray_sig_menu.h"

#include <QAction>
#include <QMenu>
#include <QTest>
#include <memory>

#include "app/startup.h"
#include "config/options.h"
#include "platform/registry.h"
#include "tests/support/test_home.h"
#include "tests/ui/qt_test_support.h"
#include "ui/main_frm.h"
#include "ui/qt_text.h"
#include "ui/tray_icon.h"

namespace nimbalo {

using Pairs = QList<QPair<QString, QString>>;  // template file -> display name

class TraySigMenuTest : public QObject {
  Q_OBJECT

 private slots:
  void init();
  void cleanup();
  void submenuAndChoice_data();
  void submenuAndChoice();
  void missingSigsKeyIsCreatedAndGivesAnEmptyMenu();

 private:
  std::unique_ptr<test::TestHome> home_;
  test::ScriptedPrompt prompt_;
};

void TraySigMenuTest::init() {
  home_ = std::make_unique<test::TestHome>();
  FixFolders();
  LoadSettings();
  prompt_ = {};
  SetUiPrompt(&prompt_);
  TTrayIcon::SetTrayAvailability([] { return true; });
}

void TraySigMenuTest::cleanup() {
  TTrayIcon::SetTrayAvailability(nullptr);
  SetUiPrompt(nullptr);
  home_.reset();
}

void TraySigMenuTest::submenuAndChoice_data() {
  QTest::addColumn<Pairs>("values");
  QTest::addColumn<QString>("sigFile");
  QTest::addColumn<QStringList>("captions");  // as the menu shows them
  QTest::addColumn<QString>("checked");       // "" for none
  QTest::addColumn<int>("click");
  QTest::addColumn<QString>("sigFileAfter");

  QTest::newRow("one display name for two templates")
      << Pairs{{"a.htm", "Blue Sky"}, {"z.txt", "Alpha"}, {"b.htm", "Blue Sky"}} << "z.txt"
      << QStringList{"Alpha", "Blue Sky"} << "Alpha" << 1 << "b.htm";
  QTest::newRow("sorted without regard to case, case twins once")
      << Pairs{{"1.htm", "beta"}, {"2.htm", "Zulu"}, {"3.htm", "alpha"}, {"4.htm", "Beta"}}
      << "4.htm" << QStringList{"alpha", "beta", "Zulu"} << "" << 0 << "3.htm";
  QTest::newRow("a name with an ampersand")
      << Pairs{{"nb_html.htm", "Default Signature"}, {"tj.htm", "Tom & Jerry"}} << "nb_html.htm"
      << QStringList{"Default Signature", "Tom && Jerry"} << "Default Signature" << 1 << "tj.htm";
  QTest::newRow("current template without an entry")
      << Pairs{{"nb_html.htm", "Default Signature"}, {"nb_text.txt", "Text Only"}} << "gone.htm"
      << QStringList{"Default Signature", "Text Only"} << "" << 1 << "nb_text.txt";
}

void TraySigMenuTest::submenuAndChoice() {
  QFETCH(Pairs, values);
  QFETCH(QString, sigFile);
  QFETCH(QStringList, captions);
  QFETCH(QString, checked);
  QFETCH(int, click);
  QFETCH(QString, sigFileAfter);

  auto sigs = *RegKey::Open(Hive::CurrentUser, kSigsKey, /*create=*/true);
  for (const auto& [file, name] : values)
    sigs.WriteString(ToCp1252(file), ToCp1252(name));
  Options.Sig_File = ToCp1252(sigFile);

  TMainFrm frm({QStringLiteral("nimbalo")});
  frm.BuildTraySigMenu();
  const QList<QAction*> entries = frm.SelectActiveSignature1->actions();
  QStringList shown;
  QString checkedCaption;
  for (qsizetype i = 0; i < entries.size(); ++i) {
    shown << entries[i]->text();
    QCOMPARE(entries[i]->data().toInt(), i + 1);
    if (entries[i]->isChecked()) {
      QVERIFY2(checkedCaption.isEmpty(), "more than one entry checked");
      checkedCaption = entries[i]->property("displayName").toString();
    }
  }
  QCOMPARE(shown, captions);
  QCOMPARE(checkedCaption, checked);

  entries[click]->trigger();
  QCOMPARE(QString::fromStdString(Options.Sig_File), sigFileAfter);
  const auto stored = RegKey::Open(Hive::CurrentUser, kMainKey, false)->Read("Sig_File");
  QVERIFY(stored.has_value());
  QCOMPARE(QString::fromStdString(stored->Data), sigFileAfter);
  for (qsizetype i = 0; i < entries.size(); ++i)
    QCOMPARE(entries[i]->isChecked(), i == click);
  QVERIFY(frm.Weather.SigRequested);
  QVERIFY(prompt_.Calls.empty());

  // Rebuilding starts from scratch.
  frm.BuildTraySigMenu();
  QCOMPARE(frm.SelectActiveSignature1->actions().size(), captions.size());
}

void TraySigMenuTest::missingSigsKeyIsCreatedAndGivesAnEmptyMenu() {
  const TraySigEntries entries = ReadTraySigEntries();
  QVERIFY(entries.Names.empty());
  QVERIFY(entries.Current.empty());
  QVERIFY(RegKey::Open(Hive::CurrentUser, kSigsKey, false).has_value());
  QVERIFY(!SigFileForDisplayName("Default Signature").has_value());
}

}  // namespace nimbalo

NIMBALO_QTEST_MAIN(nimbalo::TraySigMenuTest)
#include "tray_sig_menu_test.moc"
