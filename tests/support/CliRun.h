#pragma once
// Runs terravel-cli as a script would and collects what it said.
#include <QString>
#include <QStringList>

namespace terravel::test {

struct TCliResult {
  int ExitCode = -1;  // -1 when it crashed or did not finish within a minute
  QString Out;
  QString Err;
};

// A file-size limit (bytes, as `ulimit -f` sets it) applies to the tool's writes when not negative.
TCliResult RunCli(const QStringList& arguments, long long fileSizeLimit = -1);

}  // namespace terravel::test
