// The MinZ, MaxZ and PgInc boxes: every change that reads as a number is an action; undo and redo
// write the box again without making one.
#include <QCheckBox>
#include <QLineEdit>
#include <QTest>

#include "AppTestSupport.h"
#include "app/GradientPanel.h"
#include "app/UndoRedoCommands.h"
#include "formats/T3DTestMaps.h"
#include "model/formats/UnrealTextImport.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

float Value(const TEditor& editor, TUnitField field) {
  switch (field) {
    case TUnitField::MinZ:
      return editor.Values.MinZ;
    case TUnitField::MaxZ:
      return editor.Values.MaxZ;
    case TUnitField::PgInc:
      return editor.Values.PgInc;
  }
  return 0;
}

}  // namespace

class TestGradientPanel : public QObject {
  Q_OBJECT
 private slots:
  void init() { ClearSettingsStore(); }

  void typingRecordsOneActionPerNumber_data() {
    QTest::addColumn<int>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QStringList>("descriptions");
    QTest::newRow("MinZ 128") << int(TUnitField::MinZ) << "128"
                              << QStringList{"Set MinZ to 1", "Set MinZ to 12", "Set MinZ to 128"};
    QTest::newRow("MinZ minus") << int(TUnitField::MinZ) << "-" << QStringList{};
    QTest::newRow("MinZ -5") << int(TUnitField::MinZ) << "-5" << QStringList{"Set MinZ to -5"};
    QTest::newRow("MaxZ 2.5") << int(TUnitField::MaxZ) << "2.5"
                              << QStringList{"Set MaxZ to 2", "Set MaxZ to 2", "Set MaxZ to 2.5"};
    QTest::newRow("PgInc 1e") << int(TUnitField::PgInc) << "1e" << QStringList{"Set PgInc to 1"};
  }
  void typingRecordsOneActionPerNumber() {
    QFETCH(int, field);
    QFETCH(QString, typed);
    QFETCH(QStringList, descriptions);
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    QLineEdit* edit = main.GradientPanel()->Edit(TUnitField(field));
    edit->clear();
    QTest::keyClicks(edit, typed);
    QStringList recorded;
    for (int i = 0; i < main.Editor().History.UndoCount(); ++i) {
      recorded.append(QString::fromStdString(main.Editor().History.UndoAt(i).Description()));
    }
    QCOMPARE(recorded, descriptions);
    QCOMPARE(edit->text(), typed);  // the box is not rewritten while typing
    QCOMPARE(main.Modified(), !descriptions.isEmpty());
  }

  void undoAndRedoRewriteTheBox() {
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    TEditor& editor = main.Editor();
    for (TUnitField field : {TUnitField::MinZ, TUnitField::MaxZ, TUnitField::PgInc}) {
      QLineEdit* edit = main.GradientPanel()->Edit(field);
      edit->clear();
      QTest::keyClicks(edit, "-7.25");
      const int actions = editor.History.UndoCount();
      QCOMPARE(Value(editor, field), -7.25f);

      main.UndoRedo().UndoClick();
      QCOMPARE(edit->text(), QStringLiteral("-7.2"));
      QCOMPARE(edit->selectedText(), edit->text());
      QCOMPARE(editor.History.UndoCount(), actions - 1);
      QCOMPARE(editor.History.RedoCount(), 1);

      main.UndoRedo().RedoClick();
      QCOMPARE(edit->text(), QStringLiteral("-7.25"));
      QCOMPARE(editor.History.UndoCount(), actions);
      QCOMPARE(editor.History.RedoCount(), 0);
    }
  }

  // A range that does not come from the boxes (an Unreal text import sets it) shows at once.
  void importShowsTheNewRange() {
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    ApplyImport(main.Editor(), ReadUnrealTextBytes(RealLookingMap(), 1));
    QCOMPARE(main.GradientPanel()->Edit(TUnitField::MinZ)->text(), QStringLiteral("-128"));
    QCOMPARE(main.GradientPanel()->Edit(TUnitField::MaxZ)->text(), QStringLiteral("192"));
  }

  void newProjectShowsTheDefaultsAndShowZFollowsTheMenu() {
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    QTest::keyClicks(main.GradientPanel()->Edit(TUnitField::MaxZ), "9");
    dialogs.Answers = {QMessageBox::No};
    main.Menus().Project_New_Triangle->trigger();
    QCOMPARE(main.GradientPanel()->Edit(TUnitField::MinZ)->text(), QStringLiteral("0"));
    QCOMPARE(main.GradientPanel()->Edit(TUnitField::MaxZ)->text(), QStringLiteral("1024"));
    QCOMPARE(main.GradientPanel()->Edit(TUnitField::PgInc)->text(), QStringLiteral("64"));
    QCOMPARE(main.Editor().History.UndoCount(), 0);

    QCheckBox* showZ = main.GradientPanel()->ShowZCheckBox();
    QTest::mouseClick(showZ, Qt::LeftButton);
    QVERIFY(!main.Editor().View.ShowZ);
    QVERIFY(!main.Menus().View_ShowZ->isChecked());
    main.Menus().View_ShowZ->trigger();
    QVERIFY(main.Editor().View.ShowZ);
    QVERIFY(showZ->isChecked());
    QVERIFY(!main.Modified());
  }
};

TERRAVEL_TEST(TestGradientPanel)
#include "tst_GradientPanel.moc"
