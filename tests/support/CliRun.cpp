#include "support/CliRun.h"

#include <QProcess>

namespace terravel::test {

TCliResult RunCli(const QStringList& arguments) {
  QProcess cli;
  cli.start(TERRAVEL_CLI_PATH, arguments);
  TCliResult result;
  if (!cli.waitForFinished(60000)) return result;
  result.ExitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
  result.Out = QString::fromUtf8(cli.readAllStandardOutput());
  result.Err = QString::fromUtf8(cli.readAllStandardError());
  return result;
}

}  // namespace terravel::test
