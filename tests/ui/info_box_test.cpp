#include "ui/info_box.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <memory>

#include "config/options.h"
#include "platform/registry.h"
#include "tests/support/test_home.h"
#include "tests/ui/qt_test_support.h"

namespace nimbalo {

class InfoBoxTest : public QObject {
  Q_OBJECT

 private slots:
  void init() { home_ = std::make_unique<test::TestHome>(); }
  void cleanup() { home_.reset(); }
  void showsTitleTextAndAnUntickedBox();
  void dontShowAgain_data();
  void dontShowAgain();

 private:
  std::unique_ptr<test::TestHome> home_;
};

void InfoBoxTest::showsTitleTextAndAnUntickedBox() {
  TInfoBox box;
  QString title, text;
  bool ticked = true;
  test::OnNextModal([&](QWidget* modal) {
    title = modal->windowTitle();
    text = modal->findChild<QLabel*>(QStringLiteral("NoticeText"))->text();
    ticked = modal->findChild<QCheckBox*>(QStringLiteral("DontShowAgain"))->isChecked();
    static_cast<QDialog*>(modal)->accept();
  });
  const NoticeAnswer answer = box.PresentNotice("Nimbalo", "New Sig Created!");
  QCOMPARE(title, QStringLiteral("Nimbalo"));
  QCOMPARE(text, QStringLiteral("New Sig Created!"));
  QVERIFY(!ticked);
  QVERIFY(answer.Ok);
  QVERIFY(!answer.DontShowAgain);
}

void InfoBoxTest::dontShowAgain_data() {
  QTest::addColumn<bool>("tick");
  QTest::addColumn<bool>("pressOk");
  QTest::addColumn<bool>("stored");
  QTest::newRow("ticked, OK") << true << true << true;
  QTest::newRow("ticked, closed") << true << false << false;
  QTest::newRow("unticked, OK") << false << true << false;
}

void InfoBoxTest::dontShowAgain() {
  QFETCH(bool, tick);
  QFETCH(bool, pressOk);
  QFETCH(bool, stored);
  TInfoBox box;
  int shown = 0;
  const auto answerNext = [&] {
    test::OnNextModal([&, tick, pressOk](QWidget* modal) {
      ++shown;
      modal->findChild<QCheckBox*>(QStringLiteral("DontShowAgain"))->setChecked(tick);
      if (pressOk) {
        modal->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
      } else {
        static_cast<QDialog*>(modal)->reject();
      }
    });
  };
  answerNext();
  ShowNotice(box, kSigCopiedNotice, kSigCopiedValue);
  QCOMPARE(shown, 1);
  const auto key = RegKey::Open(Hive::CurrentUser, kMainKey, false);
  const auto value = key ? key->Read(kSigCopiedValue) : std::nullopt;
  QCOMPARE(value.has_value(), stored);
  if (stored) QCOMPARE(value->AsDword(), 1u);

  if (!stored) answerNext();
  ShowNotice(box, kSigCopiedNotice, kSigCopiedValue);
  QCOMPARE(shown, stored ? 1 : 2);
  // The other notice keeps its own value.
  QVERIFY(!key || !key->ValueExists(kSigCreatedValue));
}

}  // namespace nimbalo

NIMBALO_QTEST_MAIN(nimbalo::InfoBoxTest)
#include "info_box_test.moc"
