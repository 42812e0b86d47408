#pragma once
// Where the program's shipped data lives: the example projects ("examples") and the manual
// ("guide"). A build keeps them beside the program; an installed program finds them in
// ../share/terravel next to its bin folder.
#include <QString>
#include <QStringList>

namespace terravel {

// The folders searched for the data folder `name`, in order, for a program in programFolder.
QStringList DataFolderCandidates(const QString& programFolder, const QString& name);
// The first candidate that exists. When none does, the place it belongs: in ../share/terravel
// when that folder is there (an installed program), otherwise beside the program.
QString DataFolder(const QString& programFolder, const QString& name);
// The same for the running program.
QString DataFolder(const QString& name);

}  // namespace terravel
