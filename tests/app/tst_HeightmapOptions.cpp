// The heightmap options window on its own: what it offers for a flat Z range, and how it refuses
// a setting the picture cannot take, in its own words.
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSpinBox>
#include <QTest>

#include "AppTestSupport.h"
#include "app/HeightmapOptionsForm.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

class TestHeightmapOptions : public QObject {
  Q_OBJECT
 private slots:
  // Equal MinZ and MaxZ would give a flat terrain without an error: black and white start at 0
  // and 4096 instead, and the window says why.
  void flatZRangeGetsARange_data() {
    QTest::addColumn<float>("minZ");
    QTest::addColumn<float>("maxZ");
    QTest::addColumn<QString>("low");
    QTest::addColumn<QString>("high");
    QTest::newRow("equal") << 500.f << 500.f << "0.00" << "4096.00";
    QTest::newRow("apart") << -10.f << 1024.f << "-10.00" << "1024.00";
  }
  void flatZRangeGetsARange() {
    QFETCH(float, minZ);
    QFETCH(float, maxZ);
    QFETCH(QString, low);
    QFETCH(QString, high);
    TDialogAnswers dialogs;
    THeightmapOptionsForm form(nullptr);
    bool noteShown = false;
    QString note, lowShown, highShown;
    WhenModalShown(&form, [&](QWidget*) {
      noteShown = form.ZNote()->isVisible();
      note = form.ZNote()->text();
      lowShown = form.LowEdit()->text();
      highShown = form.HighEdit()->text();
      form.OkButton()->click();
    });
    QVERIFY(form.Execute(64, 64, minZ, maxZ));
    QCOMPARE(lowShown, low);
    QCOMPARE(highShown, high);
    QCOMPARE(noteShown, minZ == maxZ);
    if (noteShown) QVERIFY2(note.contains("start at 0.00 and 4096.00"), qPrintable(note));
    QCOMPARE(*form.Options.LowZ, low.toFloat());
    QCOMPARE(*form.Options.HighZ, high.toFloat());
    QVERIFY(dialogs.Messages.empty());
  }

  // A refusal names the window's field (never a command-line option) and puts the keyboard there;
  // the window stays open until the value is one the picture can take.
  void refusalsNameTheField_data() {
    QTest::addColumn<QString>("cell");
    QTest::addColumn<QString>("bound");  // empty: no error bound
    QTest::addColumn<QString>("message");
    QTest::newRow("cell too large") << "3e38" << "" << "Size of a pixel: The size of a pixel is too large";
    QTest::newRow("cell too small") << "1e-45" << "" << "Size of a pixel: The size of a pixel is too small";
    QTest::newRow("negative error bound") << "64" << "-2" << "Invalid input.";
  }
  void refusalsNameTheField() {
    QFETCH(QString, cell);
    QFETCH(QString, bound);
    QFETCH(QString, message);
    TDialogAnswers dialogs;
    THeightmapOptionsForm form(nullptr);
    QWidget* focused = nullptr;
    WhenModalShown(&form, [&](QWidget*) {
      form.CellEdit()->setText(cell);
      form.ErrorCheck()->setChecked(!bound.isEmpty());
      if (!bound.isEmpty()) form.ErrorEdit()->setText(bound);
      form.SeamlessCheck()->setChecked(true);
      form.OkButton()->click();
      focused = form.focusWidget();
      form.CellEdit()->setText(QStringLiteral("32"));
      form.ErrorEdit()->setText(QStringLiteral("7.5"));
      form.OkButton()->click();
    });
    QVERIFY(form.Execute(64, 64, 0, 1024));
    QCOMPARE(dialogs.Messages.size(), std::size_t(1));
    const QString text = dialogs.Messages.front().Text;
    QVERIFY2(text.startsWith(message) && !text.contains("--"), qPrintable(text));
    QCOMPARE(focused, bound.isEmpty() ? static_cast<QWidget*>(form.CellEdit()) : form.ErrorEdit());
    QCOMPARE(form.Options.CellSize, 32.f);
    QCOMPARE(form.Options.MaxError.has_value(), !bound.isEmpty());
    if (!bound.isEmpty()) QCOMPARE(*form.Options.MaxError, 7.5f);
    QVERIFY(form.Options.SeamlessBorder);
  }
};

TERRAVEL_TEST(TestHeightmapOptions)
#include "tst_HeightmapOptions.moc"
