#pragma once
// The button row of every window that closes with OK or Cancel.
class QDialog;
class QLayout;
class QPushButton;

namespace terravel {

struct TOkCancelRow {
  QPushButton* Ok;
  QPushButton* Cancel;
  QLayout* Row;  // both buttons at the right; the window places it below its fields
};

// "&OK" (the default button) and "&Cancel" in this order. Cancel rejects the dialog, as Escape
// does; the window connects OK to what it takes.
TOkCancelRow MakeOkCancelRow(QDialog* dialog);

}  // namespace terravel
