#include "support/CliRun.h"

#include <QProcess>

#include <sys/resource.h>

namespace terravel::test {

TCliResult RunCli(const QStringList& arguments, long long fileSizeLimit) {
  QProcess cli;
  if (fileSizeLimit >= 0) {
    cli.setChildProcessModifier([fileSizeLimit] {
      rlimit limit{};
      getrlimit(RLIMIT_FSIZE, &limit);
      limit.rlim_cur = static_cast<rlim_t>(fileSizeLimit);
      setrlimit(RLIMIT_FSIZE, &limit);
    });
  }
  cli.start(TERRAVEL_CLI_PATH, arguments);
  TCliResult result;
  if (!cli.waitForFinished(60000)) return result;
  result.ExitCode = cli.exitStatus() == QProcess::NormalExit ? cli.exitCode() : -1;
  result.Out = QString::fromUtf8(cli.readAllStandardOutput());
  result.Err = QString::fromUtf8(cli.readAllStandardError());
  return result;
}

}  // namespace terravel::test
