#include "app/DialogButtons.h"

#include <QDialog>
#include <QHBoxLayout>
#include <QPushButton>

namespace terravel {

TOkCancelRow MakeOkCancelRow(QDialog* dialog) {
  auto* ok = new QPushButton(QStringLiteral("&OK"), dialog);
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("&Cancel"), dialog);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok);
  row->addWidget(cancel);
  return {ok, cancel, row};
}

}  // namespace terravel
