// New, open and save from the menus, with the save question and the recent files.
#include <QAction>
#include <QDir>
#include <QTest>

#include <set>

#include "AppTestSupport.h"
#include "model/actions/Requests.h"
#include "model/projectfile/ProjectFile.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

// A saved copy of the single triangle project with the first node moved.
std::string SavedProject(const TTempFolder& folder, const std::string& name, float x) {
  TEditor editor;
  editor.Nodes.NewNode("", "", x, 0, 0);
  editor.Nodes.NewNode("", "", 256, 0, 0);
  editor.Nodes.NewNode("", "", 0, 256, 0);
  editor.Polygons.NewPolygon(0, 1, 2, "GenEarth.Grass", "", "");
  const std::string path = folder.Path(name);
  SaveProjectFile(editor, path);
  return path;
}

// An edit that sets the modified flag.
void Edit(TMainForm& main) {
  DoSetMinZ(main.Editor(), -64);
  QVERIFY(main.Modified());
}

}  // namespace

class TestProjectCommands : public QObject {
  Q_OBJECT
 private slots:
  void init() { ClearSettingsStore(); }

  // The save question before a new project, for each answer, on a named and an untitled project.
  void saveQuestionAnswers_data() {
    QTest::addColumn<bool>("named");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("saveAsPicksName");
    QTest::addColumn<bool>("newProjectMade");
    QTest::newRow("cancel") << true << int(QMessageBox::Cancel) << false << false;
    QTest::newRow("no") << true << int(QMessageBox::No) << false << true;
    QTest::newRow("yes, named") << true << int(QMessageBox::Yes) << false << true;
    QTest::newRow("yes, untitled, save as cancelled") << false << int(QMessageBox::Yes) << false << false;
    QTest::newRow("yes, untitled, saved as") << false << int(QMessageBox::Yes) << true << true;
  }
  void saveQuestionAnswers() {
    QFETCH(bool, named);
    QFETCH(int, answer);
    QFETCH(bool, saveAsPicksName);
    QFETCH(bool, newProjectMade);
    TTempFolder folder;
    TDialogAnswers dialogs;
    const QString path = QString::fromStdString(SavedProject(folder, "named.tvp", -256));
    auto windows = StartWindows(named ? path : QString());
    TMainForm& main = windows->Main();
    Edit(main);
    const QString titleBefore = main.windowTitle();
    if (saveAsPicksName) dialogs.SaveName = QString::fromStdString(folder.Path("chosen.tvp"));
    dialogs.Answers = {QMessageBox::StandardButton(answer)};

    main.Menus().Project_New_Blank->trigger();

    QCOMPARE(dialogs.Messages.size(), size_t(1));
    const TShownMessage& question = dialogs.Messages[0];
    QCOMPARE(question.Caption, QStringLiteral("Information"));
    QCOMPARE(question.Icon, QMessageBox::Question);
    QCOMPARE(question.Text,
             QStringLiteral("The current project has been modified.\rDo you want to save the changes?"));
    QCOMPARE(question.Buttons, QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
    QCOMPARE(dialogs.SaveDialogs, !named && answer == QMessageBox::Yes ? 1 : 0);
    if (newProjectMade) {
      QCOMPARE(main.Editor().Nodes.Count(), 0);
      QCOMPARE(main.windowTitle(), QStringLiteral("untitled.tvp - Terravel"));
      QVERIFY(!main.Modified());
      QCOMPARE(main.Editor().History.UndoCount(), 0);
    } else {
      QCOMPARE(main.Editor().Nodes.Count(), 3);
      QCOMPARE(main.windowTitle(), titleBefore);
      QVERIFY(main.Modified());
      QCOMPARE(main.Editor().Values.MinZ, -64.0f);
    }
    if (answer == QMessageBox::Yes && (named || saveAsPicksName)) {
      // What was saved is the edited project.
      TEditor saved;
      LoadProjectFile(saved, named ? path.toStdString() : folder.Path("chosen.tvp"));
      QCOMPARE(saved.Values.MinZ, -64.0f);
    }
  }

  void saveAsThenSaveKeepsTheRecentFiles() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    const QStringList recentBefore = main.Settings().RecentFiles;
    Edit(main);
    main.Menus().Project_Save->trigger();  // untitled: Save As
    QCOMPARE(dialogs.SaveDialogs, 1);
    QCOMPARE(main.windowTitle(), QStringLiteral("untitled.tvp* - Terravel"));  // cancelled
    dialogs.SaveName = QString::fromStdString(folder.Path("first.tvp"));
    main.Menus().Project_Save->trigger();
    QCOMPARE(main.windowTitle(), dialogs.SaveName + QStringLiteral(" - Terravel"));
    Edit(main);
    main.Menus().Project_Save->trigger();
    QCOMPARE(dialogs.SaveDialogs, 2);
    QVERIFY(!main.Modified());
    QCOMPARE(main.Settings().RecentFiles, recentBefore);
    const QString log = windows->Tools().Log->Text();
    QCOMPARE(log.count(QStringLiteral("LOG: File Save Project [") + dialogs.SaveName + "]"), 2);
  }

  void openAsksAfterTheFileIsChosen() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    Edit(main);
    main.Menus().Project_Open->trigger();  // the dialog is cancelled: no question
    QVERIFY(dialogs.Messages.empty());
    dialogs.OpenName = QString::fromStdString(SavedProject(folder, "Other.tvp", 512));
    dialogs.Answers = {QMessageBox::No};
    main.Menus().Project_Open->trigger();
    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QCOMPARE(main.Editor().Nodes.Count(), 3);
    QCOMPARE(main.Editor().Nodes[0].X, 512.0f);
    QCOMPARE(main.Editor().History.UndoCount(), 0);
    QCOMPARE(main.windowTitle(), dialogs.OpenName + QStringLiteral(" - Terravel"));
    QCOMPARE(main.Settings().RecentFiles.value(0), dialogs.OpenName);
    QVERIFY(windows->Tools().Log->Text().contains("LOG: File Open Project [" + dialogs.OpenName + "]"));
  }

  void openingADamagedFileStillEntersTheRecentFiles() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    const std::string good = SavedProject(folder, "Good.tvp", 0);
    const std::string bytes = ReadWholeFile(good);
    WriteWholeFile(folder.Path("Damaged.tvp"), bytes.substr(0, bytes.size() - 40));
    // The list knows the file (where names ignore letter case, in other letter case): the entry
    // moves up and keeps its spelling.
    const QString known = QString::fromStdString(
        folder.Path(kFileNameCase == TFileNameCase::Ignored ? "DAMAGED.TVP" : "Damaged.tvp"));
    main.Settings().RecentFiles = {QStringLiteral("/x/a.tvp"), known};
    dialogs.OpenName = QString::fromStdString(folder.Path("Damaged.tvp"));

    main.Menus().Project_Open->trigger();

    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QCOMPARE(dialogs.Messages[0].Caption, QStringLiteral("Error"));
    QCOMPARE(main.Settings().RecentFiles, (QStringList{known, QStringLiteral("/x/a.tvp")}));
    TSettings stored;
    stored.LoadSettings();
    QCOMPARE(stored.RecentFiles, main.Settings().RecentFiles);
    QCOMPARE(main.windowTitle(), dialogs.OpenName + QStringLiteral(" - Terravel"));
    QVERIFY(!main.Modified());
    // What stayed is consistent: every corner names a node and the counts match the flags.
    const TEditor& editor = main.Editor();
    for (const TPoly& p : editor.Polygons) {
      for (int corner : {p.Node1, p.Node2, p.Node3}) QVERIFY(corner >= 0 && corner < editor.Nodes.Count());
    }
    int selected = 0;
    for (const T3DCoord& n : editor.Nodes) selected += n.Selected ? 1 : 0;
    QCOMPARE(editor.State.SelectedNodeCount(), selected);
  }

  void aFileThatIsNoProjectLeavesTheProjectUntitled() {
    TTempFolder folder;
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    const std::string other = folder.Path("notes.tvp");
    WriteWholeFile(other, std::string(88, '\0'));
    dialogs.OpenName = QString::fromStdString(other);
    main.Menus().Project_Open->trigger();
    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QVERIFY(dialogs.Messages[0].Text.contains(QStringLiteral("is not a Terravel project file")));
    // A Save now asks for a name instead of overwriting the file.
    QVERIFY(main.FileName().isEmpty());
    QCOMPARE(ReadWholeFile(other), std::string(88, '\0'));
  }

  void meshAndExamples() {
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    main.Menus().Project_New_Mesh.at(1)->trigger();  // 4 x 4
    QCOMPARE(main.Editor().Nodes.Count(), 25);
    QCOMPARE(main.Editor().Polygons.Count(), 32);
    QCOMPARE(main.windowTitle(), QStringLiteral("untitled.tvp - Terravel"));
    // Every shipped example opens cleanly, and together they use several textures and groups.
    const QDir examples(QStringLiteral(TERRAVEL_EXAMPLES_DIR), QStringLiteral("*.tvp"));
    QVERIFY(examples.entryList().size() >= 3);
    std::set<std::string> textures, groups;
    for (const QString& name : examples.entryList()) {
      main.NewProject(false);
      main.OpenProjectFile(examples.filePath(name));
      QVERIFY(main.Editor().Polygons.Count() > 0);
      for (const TPoly& p : main.Editor().Polygons) {
        textures.insert(p.Texture);
        groups.insert(p.Group);
      }
    }
    QVERIFY(dialogs.Messages.empty());
    QVERIFY(textures.size() >= 3);
    QVERIFY(groups.size() >= 3);
  }
};

TERRAVEL_TEST(TestProjectCommands)
#include "tst_ProjectCommands.moc"
