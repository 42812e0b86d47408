// The welcome and about windows as the user meets them: the start-up switch, the new and open
// pop-ups, the recent files, the about box and its links.
#include <QApplication>
#include <QCheckBox>
#include <QDesktopServices>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <QUrl>

#include <functional>

#include "AppTestSupport.h"
#include "app/URLLabel.h"
#include "model/core/Version.h"
#include "model/project/NewProject.h"
#include "model/projectfile/ProjectFile.h"
#include "support/TempDir.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

namespace {

void Click(QWidget* widget) {
  QTest::mouseClick(widget, Qt::LeftButton, {}, widget->rect().center());
}

// Clicks the button and returns the pop-up it opened.
QMenu* OpenPopup(QPushButton* button) {
  Click(button);
  QMenu* popup = nullptr;
  [&] { QTRY_VERIFY((popup = qobject_cast<QMenu*>(QApplication::activePopupWidget())) != nullptr); }();
  return popup;
}

QStringList Captions(const QMenu* menu) {
  QStringList captions;
  for (const QAction* action : menu->actions()) captions << (action->isSeparator() ? "-" : action->text());
  return captions;
}

}  // namespace

// Stands in for the desktop's handler of web and mail links while it lives.
class TUrlCatcher : public QObject {
  Q_OBJECT
 public:
  TUrlCatcher() {
    for (const char* scheme : {"https", "mailto"}) QDesktopServices::setUrlHandler(scheme, this, "Open");
  }
  ~TUrlCatcher() override {
    for (const char* scheme : {"https", "mailto"}) QDesktopServices::unsetUrlHandler(scheme);
  }
  QList<QUrl> Opened;
 public slots:
  void Open(const QUrl& url) { Opened << url; }
};

class TestWelcomeAbout : public QObject {
  Q_OBJECT
 private slots:
  void init() { ClearSettingsStore(); }

  void closingStoresTheSwitch_data() {
    QTest::addColumn<bool>("showBefore");
    QTest::addColumn<bool>("clickBox");
    QTest::addColumn<QString>("closeBy");
    QTest::newRow("ticked, close box") << true << true << "close box";
    QTest::newRow("unticked, Escape") << false << true << "escape";
    QTest::newRow("untouched, workspace") << true << false << "workspace";
  }
  void closingStoresTheSwitch() {
    QFETCH(bool, showBefore);
    QFETCH(bool, clickBox);
    QFETCH(QString, closeBy);
    auto windows = StartWindows();
    TWelcomeForm* welcome = windows->Tools().Welcome;
    windows->Main().Settings().ShowWelcomeDialog = showBefore;
    StoreShowWelcome(showBefore);
    welcome->show();
    QCOMPARE(welcome->DontShowCheckBox()->isChecked(), !showBefore);
    QCOMPARE(welcome->focusWidget(), welcome->NewProjectButton());
    if (clickBox) Click(welcome->DontShowCheckBox());
    if (closeBy == "close box") welcome->close();
    if (closeBy == "escape") QTest::keyClick(welcome->focusWidget(), Qt::Key_Escape);
    if (closeBy == "workspace") Click(welcome->WorkspaceButton());
    QVERIFY(!welcome->isVisible());
    const bool expected = showBefore != clickBox;
    QCOMPARE(windows->Main().Settings().ShowWelcomeDialog, expected);
    TSettings stored;
    stored.LoadSettings();
    QCOMPARE(stored.ShowWelcomeDialog, expected);
  }

  // The first start shows the welcome window; ticked there, the next start does not, and the
  // "?" menu still shows it, ticked.
  void tickedAtStartupTheNextStartShowsNoWelcome() {
    QObject watcher;
    QWidget* shown = nullptr;
    bool ticked = true;
    const auto tickAndClose = [&](QWidget* modal) {
      shown = modal;
      if (auto* box = modal->findChild<QCheckBox*>()) ticked = box->isChecked(), Click(box);
      QTest::keyClick(modal->focusWidget(), Qt::Key_Escape);
      if (modal->isVisible()) modal->close();  // the test goes on when Escape fails
    };
    auto windows = std::make_unique<TAppWindows>();
    WhenModalShown(&watcher, tickAndClose);
    windows->Main().show();
    QTRY_VERIFY(shown != nullptr);
    QCOMPARE(shown, windows->Tools().Welcome);
    QVERIFY(!ticked);

    windows = nullptr;
    shown = nullptr;
    windows = std::make_unique<TAppWindows>();
    WhenModalShown(&watcher, tickAndClose);
    windows->Main().show();
    QTest::qWait(50);
    QCOMPARE(shown, nullptr);
    windows->Main().Menus().Help_Welcome->trigger();
    QCOMPARE(shown, windows->Tools().Welcome);
    QVERIFY(ticked);
    QVERIFY(!shown->isVisible());
  }

  void newPopupRunsTheCommandAndCloses_data() {
    QTest::addColumn<QList<Qt::Key>>("keys");
    QTest::addColumn<int>("nodes");
    QTest::addColumn<int>("polygons");
    QTest::newRow("triangle") << QList<Qt::Key>{Qt::Key_T} << 3 << 1;
    QTest::newRow("blank") << QList<Qt::Key>{Qt::Key_B} << 0 << 0;
    QTest::newRow("mesh 4 x 4") << QList<Qt::Key>{Qt::Key_M, Qt::Key_4} << 25 << 32;
    QTest::newRow("mesh 16 x 16") << QList<Qt::Key>{Qt::Key_M, Qt::Key_1} << 289 << 512;
  }
  void newPopupRunsTheCommandAndCloses() {
    QFETCH(QList<Qt::Key>, keys);
    QFETCH(int, nodes);
    QFETCH(int, polygons);
    TDialogAnswers dialogs;
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    main.NewProject(false);
    TWelcomeForm* welcome = windows->Tools().Welcome;
    welcome->show();
    QPushButton* button = welcome->NewProjectButton();
    QMenu* popup = OpenPopup(button);
    QCOMPARE(popup, welcome->NewPopup());
    QCOMPARE(popup->pos(), button->mapToGlobal(QPoint(0, button->height())));
    for (Qt::Key key : keys) QTest::keyClick(QApplication::activePopupWidget(), key);
    QCOMPARE(main.Editor().Nodes.Count(), nodes);
    QCOMPARE(main.Editor().Polygons.Count(), polygons);
    QCOMPARE(main.windowTitle(), QStringLiteral("untitled.tvp - Terravel"));
    QVERIFY(!welcome->isVisible());
    QVERIFY(dialogs.Messages.empty());
  }

  void openPopupListsTheRecentFiles_data() {
    QTest::addColumn<QStringList>("recent");
    QTest::addColumn<QStringList>("captions");
    QTest::newRow("none") << QStringList{} << QStringList{"&Open other terrain project..."};
    QTest::newRow("three") << QStringList{"/maps/Valley.tvp", "/maps/old/Dune.tvp", "/x/R&D.tvp"}
                           << QStringList{"&Open other terrain project...", "-", "1 Valley.tvp", "2 Dune.tvp",
                                          "3 R&&D.tvp"};
  }
  void openPopupListsTheRecentFiles() {
    QFETCH(QStringList, recent);
    QFETCH(QStringList, captions);
    auto windows = StartWindows();
    windows->Main().Settings().RecentFiles = recent;
    TWelcomeForm* welcome = windows->Tools().Welcome;
    welcome->show();
    for (int opening = 0; opening < 2; ++opening) {  // opening again lists them once
      QMenu* popup = OpenPopup(welcome->OpenProjectButton());
      QCOMPARE(popup, welcome->OpenPopup());
      QCOMPARE(Captions(popup), captions);
      for (qsizetype i = 0; i < recent.size(); ++i) QCOMPARE(popup->actions()[2 + i]->toolTip(), recent[i]);
      popup->close();
    }
  }

  void recentEntryOpensTheProject_data() {
    QTest::addColumn<bool>("exists");
    QTest::addColumn<bool>("modified");
    QTest::addColumn<int>("answer");
    QTest::newRow("clean") << true << false << int(QMessageBox::NoButton);
    QTest::newRow("modified, no") << true << true << int(QMessageBox::No);
    QTest::newRow("modified, cancel") << true << true << int(QMessageBox::Cancel);
    QTest::newRow("missing file") << false << false << int(QMessageBox::NoButton);
  }
  void recentEntryOpensTheProject() {
    QFETCH(bool, exists);
    QFETCH(bool, modified);
    QFETCH(int, answer);
    TTempFolder folder;
    TDialogAnswers dialogs;
    if (answer != QMessageBox::NoButton) dialogs.Answers = {QMessageBox::StandardButton(answer)};
    const QString valley = QString::fromStdString(folder.Path("Valley.tvp"));
    TEditor saved;
    terravel::NewProject(saved, true);
    if (exists) SaveProjectFile(saved, valley.toStdString());
    auto windows = StartWindows();
    TMainForm& main = windows->Main();
    const TEditor& editor = main.Editor();
    main.NewProject(false);
    main.SetModified(modified);
    main.Settings().RecentFiles = {QStringLiteral("/maps/Other.tvp"), valley};
    TWelcomeForm* welcome = windows->Tools().Welcome;
    welcome->show();

    QMenu* popup = OpenPopup(welcome->OpenProjectButton());
    QAction* entry = popup->actions().value(3);
    QCOMPARE(entry->text(), QStringLiteral("2 Valley.tvp"));
    QTest::mouseClick(popup, Qt::LeftButton, {}, popup->actionGeometry(entry).center());

    const bool cancelled = answer == QMessageBox::Cancel;
    QCOMPARE(welcome->isVisible(), cancelled);
    QCOMPARE(main.Modified(), cancelled);
    QCOMPARE(main.windowTitle(), cancelled ? "untitled.tvp* - Terravel" : valley + " - Terravel");
    QCOMPARE(dialogs.Messages.size(), size_t(modified || !exists ? 1 : 0));
    if (!exists) QCOMPARE(dialogs.Messages.back().Caption, QStringLiteral("Error"));
    if (cancelled) return;
    QCOMPARE(main.Settings().RecentFiles.value(0), valley);
    QCOMPARE(editor.Nodes.Count(), exists ? 3 : 0);
    QCOMPARE(editor.Polygons.Count(), exists ? 1 : 0);
    if (exists) QCOMPARE(editor.Nodes[1].X, -256.0f);
  }

  // The about box opens modally and Escape closes it wherever the focus is; its links change
  // their look under the pointer and open their URL, or without one their caption.
  void aboutWindowAndItsLinks_data() {
    QTest::addColumn<QString>("url");
    QTest::addColumn<QString>("opened");
    QTest::newRow("its URL") << "mailto:me@terravel.quillstone.example?subject=Terravel"
                             << "mailto:me@terravel.quillstone.example?subject=Terravel";
    QTest::newRow("no URL: its caption") << ""
                                         << "https://terravel.quillstone.example/";
  }
  void aboutWindowAndItsLinks() {
    QFETCH(QString, url);
    QFETCH(QString, opened);
    QObject watcher;
    TUrlCatcher catcher;
    auto windows = StartWindows();
    TAboutForm* about = windows->Tools().About;
    QWidget* shown = nullptr;
    QWidget* focus = nullptr;
    WhenModalShown(&watcher, [&](QWidget* modal) {
      shown = modal;
      focus = modal->focusWidget();
      QTest::keyClick(modal->focusWidget(), Qt::Key_Escape);
      if (modal->isVisible()) modal->close();
    });
    windows->Main().Menus().Help_About->trigger();
    QCOMPARE(shown, about);
    QCOMPARE(focus, about->OkButton());
    QVERIFY(!about->isVisible());
    QCOMPARE(about->NameLabel()->text(), QStringLiteral("Terravel ") + QLatin1String(kTerravelVersion));
    QCOMPARE(about->MailLink()->toolTip(),
             QStringLiteral("mailto:%1?subject=Terravel").arg(about->MailLink()->text()));

    about->show();
    QVERIFY(QTest::qWaitForWindowExposed(about));
    TURLLabel* link = about->HomepageLink();
    link->SetURL(url);
    // Through the window, as the pointer moves, so that the label sees it come and go.
    const auto pointTo = [about](QPoint at) { QTest::mouseMove(about->windowHandle(), at); };
    pointTo(QPoint(1, 1));
    QTRY_VERIFY(!link->Hover());
    const QFont normal = link->font();
    int starts = 0, ends = 0;
    connect(link, &TURLLabel::StartHover, this, [&] { ++starts; });
    connect(link, &TURLLabel::EndHover, this, [&] { ++ends; });
    pointTo(link->mapTo(about, link->rect().center()));
    QTRY_VERIFY(link->Hover());
    QVERIFY(link->font().underline());
    QCOMPARE(link->font().pointSizeF(), normal.pointSizeF());
    QCOMPARE(link->palette().color(QPalette::WindowText), QColor(0, 64, 160));
    Click(link);
    link->SetHoverEnabled(false);  // ends the hover as leaving would
    QVERIFY(!link->Hover());
    QCOMPARE(link->font(), normal);
    pointTo(QPoint(1, 1));
    QCOMPARE(starts, 1);
    QCOMPARE(ends, 1);
    QCOMPARE(catcher.Opened, QList<QUrl>{QUrl(opened)});
  }
};

TERRAVEL_TEST(TestWelcomeAbout)
#include "tst_WelcomeAbout.moc"
