// The properties window as a user works it: the rows and values per selection, typing values into
// the editor and committing them with Enter, the arrow keys or a click elsewhere, the two error
// messages, the snap warning, the group filter and the object list, and the drop-down.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <QWindow>

#include <memory>

#include "AppTestSupport.h"
#include "app/MainMenus.h"
#include "app/UndoRedoCommands.h"
#include "app/ViewportPopups.h"
#include "app/ViewportWidget.h"
#include "app/properties/DropDownForm.h"
#include "app/properties/ListItemPainter.h"
#include "app/properties/ListModels.h"
#include "app/properties/PropertyEditor.h"
#include "model/actions/Requests.h"
#include "model/text/NumberText.h"
#include "model/view/ViewTransform.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

// A blank project with the nodes (x, y, group) and polygons of a case, nothing selected, an empty
// history, snapping off; the properties window not yet shown.
class TScene {
 public:
  explicit TScene(int nodes = 3, int polygons = 1)
      : windows_(StartWindows()),
        main(windows_->Main()),
        editor(main.Editor()),
        form(*windows_->Tools().Properties) {
    SetDecimalSeparator('.');
    main.NewProject(false);
    for (int i = 0; i < nodes; ++i) editor.Nodes.NewNode("", "", float(64 * (i % 4)), float(64 * (i / 4)), 0);
    for (int i = 0; i < polygons; ++i) editor.Polygons.NewPolygon(0, 1, 2, kDefaultTexture, "", "");
    editor.History.ClearHistory();
    main.Menus().Edit_Snap->setChecked(false);
    editor.SnapToGrid = false;
  }

  void Show() {
    main.Menus().View_ShowProperties->trigger();
    QVERIFY(QTest::qWaitForWindowExposed(&form));
  }
  // A click on the name part of the row.
  void ClickRow(int row) {
    const QRect r = form.PE()->visualItemRect(form.PE()->item(row));
    QTest::mouseClick(form.PE()->viewport(), Qt::LeftButton, {}, QPoint(r.left() + 40, r.center().y()));
  }
  // Opens the row's editor, replaces its text by typing and presses Enter.
  void Type(int row, const QString& text, bool enter = true) {
    ClickRow(row);
    QCOMPARE(form.EditedRow(), row);
    form.Edit()->selectAll();
    if (text.isEmpty()) QTest::keyClick(form.Edit(), Qt::Key_Delete);
    QTest::keyClicks(form.Edit(), text);
    if (enter) QTest::keyClick(form.Edit(), Qt::Key_Return);
  }
  // Chooses an entry of a drop-down list from its opened list with the keys.
  static void Choose(QComboBox* box, int row) {
    box->showPopup();
    QAbstractItemView* view = box->view();
    QTRY_VERIFY(view->isVisible());
    QTest::keyClick(view, Qt::Key_Home);
    for (int i = 0; i < row; ++i) QTest::keyClick(view, Qt::Key_Down);
    QTest::keyClick(view, Qt::Key_Return);
    QTRY_VERIFY(!view->isVisible());
  }
  QString Value(int row) const { return form.PE()->GetValue(row); }
  QString LastAction() const {
    const int n = editor.History.UndoCount();
    return n > 0 ? QString::fromStdString(editor.History.UndoAt(n - 1).Description()) : QString();
  }

 private:
  std::unique_ptr<TAppWindows> windows_;

 public:
  TMainForm& main;
  TEditor& editor;
  TPropertiesForm& form;
  TDialogAnswers dialogs;
};

}  // namespace

class TestPropertiesForm : public QObject {
  Q_OBJECT

 private slots:
  void rowsAndValues_data() {
    QTest::addColumn<QString>("selection");  // n<i> or p<i>, blank separated
    QTest::addColumn<QString>("groups");     // node groups, one letter each, "." for none
    QTest::addColumn<int>("rows");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("value");
    QTest::newRow("one node: X") << "n0"
                                 << "..." << 7 << 4 << "0.000000";
    QTest::newRow("one node: name") << "n1"
                                    << "..." << 7 << 2 << "Node2";
    QTest::newRow("two nodes: X differs") << "n0 n1"
                                          << "..." << 6 << 3 << "";
    QTest::newRow("two nodes: Y common") << "n0 n1"
                                         << "..." << 6 << 4 << "0.000000";
    QTest::newRow("group missing first") << "n0 n1"
                                         << ".a." << 6 << 1 << "";
    QTest::newRow("group missing last") << "n1 n2"
                                        << ".a." << 6 << 1 << "";
    QTest::newRow("group ignoring case") << "n0 n1"
                                         << "aA." << 6 << 1 << "a";
    QTest::newRow("one polygon: color") << "p0"
                                        << "..." << 10 << 8 << "$FFFFFFFF";
    QTest::newRow("one polygon: corner") << "p0"
                                         << "..." << 10 << 6 << "2";
    QTest::newRow("two polygons: texture") << "p0 p1"
                                           << "..." << 9 << 8 << kDefaultTexture;
    QTest::newRow("both kinds: group") << "n0 p0"
                                       << "..." << 2 << 1 << "";
    QTest::newRow("nothing") << ""
                             << "..." << 1 << 0 << "";
  }
  void rowsAndValues() {
    QFETCH(QString, selection);
    QFETCH(QString, groups);
    QFETCH(int, rows);
    QFETCH(int, row);
    QFETCH(QString, value);
    TScene s(3, 2);
    for (int i = 0; i < 3; ++i) {
      if (groups[i] != '.') s.editor.Nodes[i].Group = groups.mid(i, 1).toStdString();
    }
    s.Show();
    for (const QString& object : selection.split(' ', Qt::SkipEmptyParts)) {
      const int index = object.mid(1).toInt();
      object.startsWith('n') ? DoSelectNode(s.editor, index, true) : DoSelectPoly(s.editor, index, true);
    }
    QCOMPARE(s.form.PE()->count(), rows);
    QCOMPARE(s.Value(row), value);
    if (rows == 1) QCOMPARE(s.form.PE()->RowLine(0), QStringLiteral("-no object selected"));
  }

  void gridModeChangesOnce() {
    TPropertyEditor grid;
    int changes = 0;
    connect(&grid, &TPropertyEditor::ModeChanged, this, [&] { ++changes; });
    grid.SetValue(4, "kept");
    grid.SetMode(TPropertyMode::pmNode);
    grid.SetMode(TPropertyMode::pmNode);
    QCOMPARE(changes, 1);
    QCOMPARE(grid.count(), 7);
    QCOMPARE(grid.GetValue(4), QStringLiteral("kept"));
  }

  // What a typed value does: the history entries it adds and the message it shows.
  void commitTypedValue_data() {
    QTest::addColumn<QString>("selection");
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("row");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QStringList>("entries");  // history entries added, oldest first
    QTest::addColumn<QString>("caption");      // message caption, empty for none
    QTest::addColumn<QString>("value");        // the row's value afterwards
    QTest::newRow("X") << "n1" << 3 << 4 << " 12.5 " << QStringList{"Set Node X Coordinate to 12.5"} << ""
                       << "12.500000";
    QTest::newRow("letters in X") << "n1" << 3 << 4 << "abc" << QStringList{} << "Information"
                                  << "64.000000";
    QTest::newRow("X beyond a float") << "n1" << 3 << 4 << "1e40" << QStringList{} << "Information"
                                      << "64.000000";
    QTest::newRow("node index out of range") << "p0" << 10 << 4 << "99" << QStringList{} << "Error"
                                             << "0";
    QTest::newRow("node index") << "p0" << 10 << 4 << "9" << QStringList{"Set Polygon Node Index 1 to 9"}
                                << ""
                                << "9";
    QTest::newRow("color") << "p0" << 3 << 8 << "$FF0000" << QStringList{"Set Polygon Color to $00FF0000"}
                           << ""
                           << "$FF0000";
    QTest::newRow("color in decimal")
        << "p0" << 3 << 8 << "255" << QStringList{"Set Polygon Color to $000000FF"} << ""
        << "$0000FF";
    QTest::newRow("empty X") << "n1" << 3 << 4 << "" << QStringList{} << "Information"
                             << "64.000000";
    QTest::newRow("texture") << "p0" << 3 << 9 << "Sand" << QStringList{"Set Polygon Texture to Sand"} << ""
                             << "Sand";
    QTest::newRow("group of both kinds")
        << "n0 p0" << 3 << 1 << "hill" << QStringList{"Set Node Group to hill", "Set Polygon Group to hill"}
        << ""
        << "hill";
    QTest::newRow("name taken by another node")
        << "n0" << 3 << 2 << "node2" << QStringList{"Set Node Name to Node1"} << ""
        << "Node1";
  }
  void commitTypedValue() {
    QFETCH(QString, selection);
    QFETCH(int, nodes);
    QFETCH(int, row);
    QFETCH(QString, text);
    QFETCH(QStringList, entries);
    QFETCH(QString, caption);
    QFETCH(QString, value);
    TScene s(nodes, 1);
    s.Show();
    for (const QString& object : selection.split(' ')) {
      const int index = object.mid(1).toInt();
      object.startsWith('n') ? DoSelectNode(s.editor, index, true) : DoSelectPoly(s.editor, index, true);
    }
    const int before = s.editor.History.UndoCount();
    s.Type(row, text);
    QCOMPARE(s.editor.History.UndoCount() - before, int(entries.size()));
    for (int i = 0; i < entries.size(); ++i) {
      QCOMPARE(QString::fromStdString(s.editor.History.UndoAt(before + i).Description()), entries[i]);
    }
    QCOMPARE(s.dialogs.Messages.size(), size_t(caption.isEmpty() ? 0 : 1));
    if (!caption.isEmpty()) {
      QCOMPARE(s.dialogs.Messages[0].Caption, caption);
      QCOMPARE(s.dialogs.Messages[0].Text, QStringLiteral("Invalid input."));
      QCOMPARE(s.dialogs.Messages[0].Icon,
               caption == "Error" ? QMessageBox::Critical : QMessageBox::Information);
    }
    QCOMPARE(s.Value(row), value);
    QCOMPARE(s.form.Edit()->text(), value);
    // Each change is undone on its own.
    for (int i = 0; i < entries.size(); ++i) s.main.UndoRedo().UndoAction()->trigger();
    QCOMPARE(s.editor.History.UndoCount(), before);
  }

  void snapWarningOnXAndYOnly() {
    TScene s;
    s.Show();
    DoSelectNode(s.editor, 0, true);
    s.main.Menus().Edit_Snap->trigger();
    QVERIFY(s.editor.SnapToGrid);
    for (int row : {4, 5, 6}) {
      s.ClickRow(row);
      QCOMPARE(s.form.WarningImage()->isVisible(), row != 6);
      QCOMPARE(s.form.WarningImage()->toolTip().isEmpty(), row == 6);
    }
    s.ClickRow(1);
    QVERIFY(s.form.DropDown()->isVisible());
    QVERIFY(!s.form.WarningImage()->isVisible());
  }

  // Up and Down walk the rows from the editor, each committing what was typed.
  void arrowKeysCommitAndMove() {
    TScene s;
    DoSelectNode(s.editor, 2, true);
    s.Show();
    s.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.form));
    // The grid has the keys at once: from the first row, Down opens the Group editor.
    QCOMPARE(s.form.PE()->currentRow(), 0);
    QTest::keyClick(s.form.PE(), Qt::Key_Down);
    QCOMPARE(s.form.EditedRow(), 1);
    QVERIFY(s.form.Edit()->hasFocus());
    QTest::keyClicks(s.form.Edit(), "rim");
    QTest::keyClick(s.form.Edit(), Qt::Key_Return);
    QCOMPARE(s.editor.Nodes[2].Group, std::string("rim"));
    s.Type(4, "7", false);
    QTest::keyClick(s.form.Edit(), Qt::Key_Down);
    QCOMPARE(s.editor.Nodes[2].X, 7.0f);
    QCOMPARE(s.form.EditedRow(), 5);
    QTRY_COMPARE(s.form.Edit()->selectedText(), QStringLiteral("0.000000"));
    QTest::keyClick(s.form.Edit(), Qt::Key_Up);
    QTest::keyClick(s.form.Edit(), Qt::Key_Up);
    QCOMPARE(s.form.EditedRow(), -1);  // the category row "Position"
    QVERIFY(!s.form.EditPanel()->isVisible());
  }

  void groupFilterNarrowsObjectList() {
    TScene s(4, 2);
    s.editor.Nodes[1].Group = "hill";
    s.editor.Nodes[3].Group = "HILL";
    s.editor.Polygons[1].Group = "lake";
    s.Show();
    TListCombo* groups = s.form.GroupBox();
    QCOMPARE(groups->count(), 3);  // (all), hill, lake
    QCOMPARE(groups->model()->index(1, 0).data(kLettersRole).toString(), QStringLiteral("N"));
    QCOMPARE(s.form.NameBox()->count(), 6);
    TScene::Choose(groups, 1);
    QCOMPARE(s.form.NameBox()->count(), 2);
    TScene::Choose(s.form.NameBox(), 1);
    QVERIFY(s.editor.Nodes[3].Selected);
    QCOMPARE(s.editor.State.SelectedNodeCount(), 1);
    QCOMPARE(s.editor.State.SelectedPolygonCount(), 0);
    QCOMPARE(s.Value(2), QStringLiteral("Node4"));
    // Without the Nodes button the list holds the polygons only.
    QTest::mouseClick(s.form.NodesButton(), Qt::LeftButton);
    QCOMPARE(s.form.NameBox()->count(), 2);
    QCOMPARE(s.form.NameBox()->model()->index(0, 0).data().toString(), QStringLiteral("Polygon1"));
  }

  void deleteKeyEditsText() {
    TScene s;
    s.Show();
    DoSelectNode(s.editor, 1, true);
    s.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.form));
    s.ClickRow(2);
    s.form.Edit()->setCursorPosition(0);
    QTest::keyClick(s.form.Edit(), Qt::Key_Delete);
    QCOMPARE(s.form.Edit()->text(), QStringLiteral("ode2"));
    QCOMPARE(s.editor.Nodes.Count(), 3);
    QVERIFY(s.editor.Nodes[1].Selected);
  }

  void dropDownFillsEditor() {
    TScene s(3, 2);
    s.editor.Polygons[1].Texture = "Rock.Wall";
    s.editor.Nodes[0].Group = "hill";
    s.Show();
    DoSelectPoly(s.editor, 0, true);
    s.ClickRow(9);
    QTest::mouseClick(s.form.DropDown(), Qt::LeftButton);
    auto* drop = qobject_cast<TDropDownForm*>(QApplication::activePopupWidget());
    QVERIFY(drop != nullptr);
    QCOMPARE(drop->GroupList()->model()->rowCount(), 3);  // (undefined), the two textures
    QCOMPARE(drop->height(), 3 * kListItemHeight + 2);
    const QRect r = drop->GroupList()->visualRect(drop->GroupList()->model()->index(2, 0));
    QTest::mouseMove(drop->GroupList()->viewport(), r.center());
    QCOMPARE(drop->GroupList()->currentIndex().row(), 2);  // hovering highlights
    QTest::mouseClick(drop->GroupList()->viewport(), Qt::LeftButton, {}, r.center());
    QVERIFY(!drop->isVisible());
    QCOMPARE(s.form.Edit()->text(), QStringLiteral("Rock.Wall"));
    QTest::keyClick(s.form.Edit(), Qt::Key_Return);
    QCOMPARE(s.LastAction(), QStringLiteral("Set Polygon Texture to Rock.Wall"));
    QCOMPARE(s.editor.Polygons[0].Texture, std::string("Rock.Wall"));
  }

  void longEntriesEndWithDots() {
    const QFontMetrics metrics(QApplication::font());
    const QString name = QStringLiteral("A.Very.Long.Texture.Name");
    QCOMPARE(ShortenedText(metrics, name, 1000), name);
    const QString cut = ShortenedText(metrics, name, metrics.horizontalAdvance(name) / 2);
    QVERIFY(cut.endsWith(QStringLiteral("...")));
    QVERIFY(name.startsWith(cut.chopped(3)));
    QVERIFY(metrics.horizontalAdvance(cut) <= metrics.horizontalAdvance(name) / 2);
  }

  // Clicking into the viewport activates the main window first: the typed value is in before
  // the click changes the selection.
  void typedValueCommittedOnViewportClick() {
    TScene s;
    s.Show();
    DoSelectNode(s.editor, 1, true);
    s.form.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.form));
    s.Type(6, "42", false);
    s.main.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&s.main));
    QTest::mouseClick(s.main.Viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QCOMPARE(s.editor.Nodes[1].Z, 42.0f);
    QCOMPARE(s.editor.State.SelectedNodeCount(), 0);
  }

  // A click in the viewport: the object list follows, an empty click hides the window, a double
  // click on a selection shows it again.
  void viewportClicksFollow() {
    TScene s(4, 1);
    s.editor.Nodes[3].Group = "hill";
    s.Show();
    TScene::Choose(s.form.GroupBox(), 1);
    QCOMPARE(s.form.NameBox()->count(), 1);
    DoSelectPoly(s.editor, 0, true);
    s.form.FollowClick(false);
    QCOMPARE(s.form.GroupBox()->currentIndex(), 0);
    QCOMPARE(s.form.NameBox()->currentText(), QStringLiteral("Polygon1"));
    s.form.FollowClick(true);
    QCOMPARE(s.form.NameBox()->currentIndex(), -1);

    s.editor.View.Zoom = 1;
    s.main.Host().ViewChanged(true);
    const TScreenPoint node = WorldToScreen(s.editor, s.editor.Nodes[3].X, s.editor.Nodes[3].Y);
    QTest::mouseClick(s.main.Viewport(), Qt::LeftButton, {}, QPoint(5, 5));
    QVERIFY(!s.form.isVisible());
    // The first click of a double click selects, the second opens the window.
    QTest::mouseClick(s.main.Viewport(), Qt::LeftButton, {}, QPoint(node.X, node.Y));
    QVERIFY(!s.form.isVisible());
    QTest::mouseDClick(s.main.Viewport(), Qt::LeftButton, {}, QPoint(node.X, node.Y));
    QVERIFY(s.editor.Nodes[3].Selected);
    QVERIFY(s.form.isVisible());
    QCOMPARE(s.form.PE()->count(), 7);
  }

  // The menu item and the tool button follow the window; "&Other..." opens it on the Texture row.
  void entryPointsShowTheWindow() {
    TScene s;
    QVERIFY(!s.main.Menus().View_ShowProperties->isChecked());
    DoSelectPoly(s.editor, 0, true);
    s.main.Menus().Tool_Properties->trigger();
    QVERIFY(s.form.isVisible());
    QVERIFY(s.main.Menus().View_ShowProperties->isChecked());
    s.main.Menus().Tool_Properties->trigger();  // pressing it again keeps it down
    QVERIFY(s.main.Menus().Tool_Properties->isChecked());
    s.form.close();
    QVERIFY(!s.main.Menus().View_ShowProperties->isChecked());
    QVERIFY(!s.main.Menus().Tool_Properties->isChecked());
    s.main.ViewportPopups().Prepare();
    auto* other = s.main.ViewportPopups().findChild<QAction*>("DefaultPopup_Texture_Other");
    QVERIFY(other != nullptr);
    other->trigger();
    QVERIFY(s.form.isVisible());
    QCOMPARE(s.form.EditedRow(), 9);
    QVERIFY(s.form.EditPanel()->isVisible());
    QVERIFY(s.dialogs.Messages.empty());
  }

  // A click on another node keeps the editor on its row; a click on a polygon closes it.
  void editorStaysOnItsRowAcrossObjects() {
    TScene s(4, 1);
    s.editor.Nodes[2].Y = 64;  // the polygon 0-1-2 gets an area
    s.editor.Nodes[2].Z = 7;
    s.editor.View.Zoom = 1;
    s.Show();
    DoSelectNode(s.editor, 1, true);
    s.ClickRow(6);
    const auto clickAt = [&](float x, float y) {
      const TScreenPoint at = WorldToScreen(s.editor, x, y);
      QTest::mouseClick(s.main.Viewport(), Qt::LeftButton, {}, QPoint(at.X, at.Y));
    };
    clickAt(s.editor.Nodes[2].X, s.editor.Nodes[2].Y);
    QVERIFY(s.editor.Nodes[2].Selected && !s.editor.Nodes[1].Selected);
    QCOMPARE(s.form.EditedRow(), 6);
    QCOMPARE(s.form.PE()->currentRow(), 6);
    QVERIFY(s.form.EditPanel()->isVisible());
    QCOMPARE(s.form.Edit()->text(), QStringLiteral("7.000000"));
    // The polygon's label sits at its centre, where a click picks it.
    clickAt(128.f / 3, 64.f / 3);
    QVERIFY(s.editor.Polygons[0].Selected);
    QCOMPARE(s.form.EditedRow(), -1);
    QVERIFY(!s.form.EditPanel()->isVisible());
  }

  // Escape puts the value back; the first click on an untouched editor selects its text, the
  // next one places the cursor; the strip follows the window's width.
  void editorKeysAndClicks() {
    TScene s;
    s.Show();
    DoSelectNode(s.editor, 1, true);
    s.Type(6, "42", false);
    QTest::keyClick(s.form.Edit(), Qt::Key_Escape);
    QCOMPARE(s.form.Edit()->text(), QStringLiteral("0.000000"));
    QVERIFY(!s.form.Edit()->isModified());
    QTest::keyClick(s.form.Edit(), Qt::Key_Return);
    QCOMPARE(s.editor.History.UndoCount(), 1);  // the selection only
    QCOMPARE(s.editor.Nodes[1].Z, 0.f);

    s.form.Edit()->deselect();
    QTest::mouseClick(s.form.Edit(), Qt::LeftButton, {}, QPoint(4, 4));
    QCOMPARE(s.form.Edit()->selectedText(), QStringLiteral("0.000000"));
    QTest::mouseClick(s.form.Edit(), Qt::LeftButton, {}, QPoint(4, 4));
    QVERIFY(!s.form.Edit()->hasSelectedText());

    s.form.resize(s.form.width() + 100, s.form.height());
    QTRY_COMPARE(s.form.EditPanel()->geometry().right() + 1, s.form.PE()->viewport()->width());
  }

  // With only the Nodes button down the group filter lists node groups; a rename shows in the
  // closed object list; choosing an object outside the view brings it into the view.
  void listsFollowTheDocument() {
    TScene s(4, 2);
    s.editor.Nodes[1].Group = "hill";
    s.editor.Polygons[1].Group = "lake";
    s.editor.Nodes[3].X = 100000;
    s.Show();
    QTest::mouseClick(s.form.PolysButton(), Qt::LeftButton);
    QCOMPARE(s.form.GroupBox()->count(), 2);  // (all), hill
    QTest::mouseClick(s.form.PolysButton(), Qt::LeftButton);
    QCOMPARE(s.form.GroupBox()->count(), 3);

    TScene::Choose(s.form.NameBox(), 3);
    QVERIFY(s.editor.Nodes[3].Selected);
    const TScreenPoint at = WorldToScreen(s.editor, s.editor.Nodes[3].X, s.editor.Nodes[3].Y);
    QVERIFY(at.X >= 0 && at.X < s.editor.View.Size.Width && at.Y >= 0 && at.Y < s.editor.View.Size.Height);
    const float panX = s.editor.View.PanX;
    TScene::Choose(s.form.NameBox(), 3);  // already in view: the view stays
    QCOMPARE(s.editor.View.PanX, panX);

    QSignalSpy shown(s.form.NameBox(), &QComboBox::currentTextChanged);
    s.Type(2, "Summit");
    QCOMPARE(s.form.NameBox()->currentText(), QStringLiteral("Summit"));
    QVERIFY(!shown.isEmpty());
  }

  // A modal dialog of another window shows above the properties window, which stays open and
  // is back on top once the dialog closes; one of its own keeps it where it is.
  void modalDialogsShowAboveIt_data() {
    QTest::addColumn<bool>("ofTheForm");
    QTest::newRow("dialog of the main window") << false;
    QTest::newRow("dialog of the properties window") << true;
  }
  void modalDialogsShowAboveIt() {
    QFETCH(bool, ofTheForm);
    TScene s;
    s.Show();
    const auto onTop = [&s] { return s.form.windowHandle()->flags().testFlag(Qt::WindowStaysOnTopHint); };
    QVERIFY(onTop());
    bool onTopDuring = !ofTheForm;
    WhenModalShown(this, [&](QWidget* dialog) {
      onTopDuring = onTop() && s.form.isVisible();
      dialog->close();
    });
    QDialog dialog(ofTheForm ? static_cast<QWidget*>(&s.form) : &s.main);
    dialog.exec();
    QCOMPARE(onTopDuring, ofTheForm);
    QVERIFY(onTop());
    QVERIFY(s.form.isVisible());
  }
};

TERRAVEL_TEST(TestPropertiesForm)
#include "tst_PropertiesForm.moc"
