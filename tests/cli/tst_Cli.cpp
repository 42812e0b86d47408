// terravel-cli as a script would use it.
#include <QProcess>
#include <QTest>

#include "support/TestRegistry.h"

class TestCli : public QObject {
  Q_OBJECT
 private slots:
  void runs() {
    QProcess cli;
    cli.start(TERRAVEL_CLI_PATH, {});
    QVERIFY(cli.waitForFinished(30000));
  }
};

TERRAVEL_TEST(TestCli)
#include "tst_Cli.moc"
