#include "ui/qt_prompt.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QTest>

#include "tests/ui/qt_test_support.h"

namespace nimbalo {

class QtPromptTest : public QObject {
  Q_OBJECT

 private slots:
  void lineBreaks_data();
  void lineBreaks();
  void showsCaptionIconAndButtons_data();
  void showsCaptionIconAndButtons();
};

void QtPromptTest::lineBreaks_data() {
  QTest::addColumn<QByteArray>("text");
  QTest::addColumn<QString>("expected");
  QTest::newRow("LF CR as written") << QByteArray("a ..\n\r\n\rb?") << "a ..\n\nb?";
  QTest::newRow("CR LF") << QByteArray("a\r\nb") << "a\nb";
  QTest::newRow("LF") << QByteArray("a\nb") << "a\nb";
  QTest::newRow("Windows-1252") << QByteArray(
                                       "44\xb0"
                                       "F \x95 x")
                                << QString::fromUtf8("44°F • x");
}

void QtPromptTest::lineBreaks() {
  QFETCH(QByteArray, text);
  QFETCH(QString, expected);
  QCOMPARE(PromptText(text.toStdString()), expected);
}

void QtPromptTest::showsCaptionIconAndButtons_data() {
  QTest::addColumn<int>("buttons");
  QTest::addColumn<int>("press");
  QTest::addColumn<int>("expected");
  QTest::newRow("OK") << int(PromptButtons::Ok) << int(QMessageBox::Ok) << int(PromptResult::Ok);
  QTest::newRow("Cancel") << int(PromptButtons::OkCancel) << int(QMessageBox::Cancel)
                          << int(PromptResult::Cancel);
  QTest::newRow("Yes") << int(PromptButtons::YesNo) << int(QMessageBox::Yes)
                       << int(PromptResult::Yes);
  QTest::newRow("No") << int(PromptButtons::YesNoCancel) << int(QMessageBox::No)
                      << int(PromptResult::No);
}

void QtPromptTest::showsCaptionIconAndButtons() {
  QFETCH(int, buttons);
  QFETCH(int, press);
  QFETCH(int, expected);
  QtPrompt prompt;
  QString caption;
  QMessageBox::Icon icon = QMessageBox::NoIcon;
  test::OnNextModal([&](QWidget* modal) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    QVERIFY(box != nullptr);
    caption = box->windowTitle();
    icon = box->icon();
    box->button(static_cast<QMessageBox::StandardButton>(press))->click();
  });
  const PromptResult result =
      prompt.MessageBox("Settings Saved", "Information", PromptIcon::Information,
                        static_cast<PromptButtons>(buttons));
  QCOMPARE(int(result), expected);
  QCOMPARE(caption, QStringLiteral("Information"));
  QCOMPARE(icon, QMessageBox::Information);
}

}  // namespace nimbalo

NIMBALO_QTEST_MAIN(nimbalo::QtPromptTest)
#include "qt_prompt_test.moc"
