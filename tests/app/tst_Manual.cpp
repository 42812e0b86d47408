// The manual: shipped beside the program with its anchors and pictures, opened as a file URL,
// and reported when it is missing.
#include <QAction>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTest>

#include "AppTestSupport.h"
#include "app/WebPage.h"
#include "support/TestRegistry.h"

using namespace terravel;
using namespace terravel::test;

class TestManual : public QObject {
  Q_OBJECT
 private slots:
  void shippedBesideTheProgram() {
    const QDir guide(QFileInfo(QStringLiteral(TERRAVEL_APP_PATH)).dir().filePath(QStringLiteral("guide")));
    QFile page(guide.filePath(QStringLiteral("index.html")));
    QVERIFY2(page.open(QIODevice::ReadOnly), qPrintable(page.fileName()));
    const QString html = QString::fromUtf8(page.readAll());
    for (const char* anchor : {"id=\"q3\"", "id=\"q4\""}) QVERIFY2(html.contains(anchor), anchor);
    QVERIFY(!html.contains(QStringLiteral("<script"), Qt::CaseInsensitive));
    // Every local file the page links to lies beside it.
    const QRegularExpression link(QStringLiteral("(?:src|href)=\"([^\"#:]+)\""));
    int files = 0;
    for (const QRegularExpressionMatch& match : link.globalMatch(html)) {
      QVERIFY2(QFileInfo::exists(guide.filePath(match.captured(1))), qPrintable(match.captured(1)));
      ++files;
    }
    QVERIFY(files >= 2);
  }

  void openedAsFileUrl() {
    QCOMPARE(ManualUrl(QStringLiteral("/opt/my terravel"), 3).toString(QUrl::FullyEncoded),
             QStringLiteral("file:///opt/my%20terravel/guide/index.html#q3"));
  }

  void missingManualIsReported_data() {
    QTest::addColumn<QString>("item");
    QTest::newRow("F1") << "Menu_Help_Manual";
    QTest::newRow("FAQ") << "Menu_Help_FAQ";
    QTest::newRow("Visit website") << "Menu_Help_Website";
  }
  void missingManualIsReported() {
    QFETCH(QString, item);
    TDialogAnswers dialogs;
    auto windows = StartWindows(QString(), false);
    // The test program's own folder holds no manual.
    auto* action = windows->Main().findChild<QAction*>(item);
    QVERIFY(action != nullptr);
    action->trigger();
    QCOMPARE(dialogs.Messages.size(), size_t(1));
    QCOMPARE(dialogs.Messages[0].Caption, QStringLiteral("Information"));
    QVERIFY(dialogs.Messages[0].Text.contains(QStringLiteral("guide/index.html")));
  }
};

TERRAVEL_TEST(TestManual)
#include "tst_Manual.moc"
