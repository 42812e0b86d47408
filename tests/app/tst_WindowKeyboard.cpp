// The keyboard between the main window and its tool windows: the main window's shortcuts from
// the properties window, the keyboard back in the editor after an error box, Alt+P, question
// boxes that belong to the window that asked, and windows that come back where they were left.
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QTest>

#include <memory>

#include "AppTestSupport.h"
#include "app/GradientPanel.h"
#include "app/properties/PropertyEditor.h"
#include "model/actions/Requests.h"
#include "model/text/NumberText.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

// Three polygons over four nodes, nothing selected, an empty history; the properties window
// showing, active, and its editor open on the given row of the polygons' grid.
class TScene {
 public:
  TScene()
      : windows_(StartWindows()),
        main(windows_->Main()),
        editor(main.Editor()),
        tools(windows_->Tools()),
        form(*tools.Properties) {
    SetDecimalSeparator('.');
    main.NewProject(false);
    for (int i = 0; i < 4; ++i) editor.Nodes.NewNode("", "", float(64 * (i % 2)), float(64 * (i / 2)), 0);
    for (int i = 0; i < 3; ++i) editor.Polygons.NewPolygon(0, 1 + i % 2, 2 + i % 2, kDefaultTexture, "", "");
    editor.History.ClearHistory();
  }
  void ShowProperties() {
    main.Menus().View_ShowProperties->trigger();
    QVERIFY(QTest::qWaitForWindowActive(&form));
  }
  void OpenRow(int row) {
    const QRect r = form.PE()->visualItemRect(form.PE()->item(row));
    QTest::mouseClick(form.PE()->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 40, r.center().y()));
    QCOMPARE(form.EditedRow(), row);
  }
  void TypeInEditor(const QString& text) {
    form.Edit()->selectAll();
    QTest::keyClicks(form.Edit(), text);
    QTest::keyClick(form.Edit(), Qt::Key_Return);
  }

 private:
  std::unique_ptr<TAppWindows> windows_;

 public:
  TMainForm& main;
  TEditor& editor;
  const TToolWindows& tools;
  TPropertiesForm& form;
  TDialogAnswers dialogs;
};

constexpr int kTextureRow = 8;  // of several polygons
constexpr int kZRow = 6;        // of one node

}  // namespace

class TestWindowKeyboard : public QObject {
  Q_OBJECT
 private slots:
  void init() { ClearSettingsStore(); }

  // Three polygons chosen with Ctrl+click get a texture in the properties window; Ctrl+Z there
  // takes it back, Ctrl+Y brings it again, Ctrl+S saves: the keys of the main window work while
  // the tool window is active.
  void mainShortcutsFromThePropertiesWindow() {
    TScene s;
    for (int i = 0; i < 3; ++i) DoSelectPoly(s.editor, i, true);
    s.ShowProperties();
    s.OpenRow(kTextureRow);
    s.TypeInEditor(QStringLiteral("Rock.Wall"));
    QCOMPARE(s.editor.Polygons[2].Texture, std::string("Rock.Wall"));
    QVERIFY(s.form.isActiveWindow());
    QCOMPARE(QApplication::focusWidget(), s.form.Edit());
    QTest::keyClick(s.form.Edit(), Qt::Key_Z, Qt::ControlModifier);
    for (int i = 0; i < 3; ++i) QCOMPARE(s.editor.Polygons[i].Texture, std::string(kDefaultTexture));
    QTest::keyClick(s.form.Edit(), Qt::Key_Y, Qt::ControlModifier);
    QCOMPARE(s.editor.Polygons[0].Texture, std::string("Rock.Wall"));

    const TTempFolder folder;
    s.dialogs.SaveName = QString::fromStdString(folder.Path("keys.tvp"));
    QTest::keyClick(s.form.PE(), Qt::Key_S, Qt::ControlModifier);
    QCOMPARE(s.dialogs.SaveDialogs, 1);
    QVERIFY(QFile::exists(s.dialogs.SaveName));
    QVERIFY(!s.main.Modified());

    // A key the editor uses itself stays with it: Ctrl+Z undoes the typing, not an action.
    const int steps = s.editor.History.UndoCount();
    s.OpenRow(kTextureRow);
    QTest::keyClicks(s.form.Edit(), QStringLiteral("X"));
    QTest::keyClick(s.form.Edit(), Qt::Key_Z, Qt::ControlModifier);
    QCOMPARE(s.editor.History.UndoCount(), steps);
    QCOMPARE(s.form.Edit()->text(), QStringLiteral("Rock.Wall"));
  }

  // The error box takes the keyboard; afterwards the editor has it again, its text selected.
  void keyboardBackInTheEditorAfterAnError() {
    TScene s;
    DoSelectNode(s.editor, 1, true);
    s.ShowProperties();
    s.OpenRow(kZRow);
    UserDialogs().Message = [&](QWidget*, const QString&, const QString& text, QMessageBox::Icon,
                                QMessageBox::StandardButtons) {
      s.dialogs.Messages.push_back({{}, text, QMessageBox::Information, QMessageBox::Ok, nullptr});
      s.main.activateWindow();  // as a box does, it takes the keyboard away
      s.main.ViewportFocusButton()->setFocus();
      return QMessageBox::Ok;
    };
    s.TypeInEditor(QStringLiteral("high"));
    QCOMPARE(s.dialogs.Messages.size(), std::size_t(1));
    QCOMPARE(s.dialogs.Messages[0].Text, QStringLiteral("Invalid input."));
    QTRY_VERIFY(s.form.isActiveWindow());
    QCOMPARE(QApplication::focusWidget(), s.form.Edit());
    QCOMPARE(s.form.Edit()->selectedText(), QStringLiteral("0.000000"));
    QTest::keyClicks(s.form.Edit(), QStringLiteral("32"));
    QTest::keyClick(s.form.Edit(), Qt::Key_Return);
    QCOMPARE(s.editor.Nodes[1].Z, 32.f);
  }

  // Alt+P opens the Project menu; the PgInc field answers to Alt+G.
  void altPOpensTheProjectMenu() {
    TScene s;
    s.main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.main));
    QLineEdit* pgInc = s.main.GradientPanel()->Edit(TUnitField::PgInc);
    QTest::keyClick(&s.main, Qt::Key_P, Qt::AltModifier);
    QTRY_VERIFY(s.main.Menus().Project->isVisible());
    QVERIFY(!pgInc->hasFocus());
    s.main.Menus().Project->close();
    QTRY_VERIFY(!s.main.Menus().Project->isVisible());
    QTest::keyClick(&s.main, Qt::Key_G, Qt::AltModifier);
    QVERIFY(pgInc->hasFocus());
  }

  // A question stays with the window that asked it, and every tool window stays above the main
  // window and comes back where the user left it.
  void windowsStayWithTheirOwners() {
    TScene s;
    QWidget* const windows[] = {s.tools.Welcome, s.tools.FormatIE, s.tools.Log, s.tools.TextureReport,
                                s.tools.About};
    for (QWidget* window : windows) {
      QVERIFY(window->isWindow());
      QCOMPARE(window->parentWidget(), &s.main);
    }
    s.main.SetModified(true);
    QWidget* asked = nullptr;
    WhenModalShown(this, [&](QWidget* modal) {
      asked = modal;
      s.dialogs.Answers.push_back(QMessageBox::Cancel);
      s.main.Menus().Project_New_Triangle->trigger();
      modal->close();
    });
    s.tools.Welcome->exec();
    QVERIFY(asked != nullptr);
    QCOMPARE(s.dialogs.Messages.size(), std::size_t(1));
    QCOMPARE(s.dialogs.Messages[0].Parent, asked);

    QWidget* about = s.tools.About;
    about->show();
    about->move(123, 77);
    about->hide();
    about->show();
    QCOMPARE(about->pos(), QPoint(123, 77));
    about->hide();
  }
};

TERRAVEL_TEST(TestWindowKeyboard)
#include "tst_WindowKeyboard.moc"
