#include "app/ShapingCommands.h"

#include <QCheckBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QMessageBox>
#include <QRadioButton>
#include <QSpinBox>

#include <memory>

#include "model/actions/Requests.h"
#include "model/editor/Editor.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

// A dialog with a form of rows and OK/Cancel below it.
QDialog* OptionsDialog(QWidget* window, const char* title, QFormLayout*& form) {
  auto* dialog = new QDialog(window);
  dialog->setAttribute(Qt::WA_DeleteOnClose, false);
  dialog->setWindowTitle(QString::fromLatin1(title));
  form = new QFormLayout(dialog);
  auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  form->addRow(buttons);
  return dialog;
}

QSpinBox* CountRow(QFormLayout* form, const char* caption, int low, int high, int value) {
  auto* box = new QSpinBox;
  box->setRange(low, high);
  box->setValue(value);
  form->insertRow(form->rowCount() - 1, QString::fromLatin1(caption), box);
  return box;
}

QDoubleSpinBox* NumberRow(QFormLayout* form, const char* caption, double low, double high, double value,
                          int decimals) {
  auto* box = new QDoubleSpinBox;
  box->setDecimals(decimals);
  box->setRange(low, high);
  box->setValue(value);
  form->insertRow(form->rowCount() - 1, QString::fromLatin1(caption), box);
  return box;
}

}  // namespace

TShapingCommands::TShapingCommands(TEditor& editor, QWidget* window)
    : QObject(window), editor_(editor), window_(window) {}

void TShapingCommands::Triangulate() {
  QFormLayout* form = nullptr;
  const std::unique_ptr<QDialog> dialog(OptionsDialog(window_, "Triangulate nodes", form));
  QDoubleSpinBox* maxEdge =
      NumberRow(form, "&Maximum edge length (0: none):", 0, 1e9, triangulate_.MaxEdge, 0);
  auto* sky = new QCheckBox(QStringLiteral("&Sky polygons"));
  sky->setChecked(triangulate_.Sky);
  form->insertRow(form->rowCount() - 1, sky);
  if (dialog->exec() != QDialog::Accepted) return;
  triangulate_.MaxEdge = static_cast<float>(maxEdge->value());
  triangulate_.Sky = sky->isChecked();
  DoTriangulate(editor_, triangulate_);
}

void TShapingCommands::Simplify() {
  QFormLayout* form = nullptr;
  const std::unique_ptr<QDialog> dialog(OptionsDialog(window_, "Simplify polygons", form));
  auto* byCount = new QRadioButton(QStringLiteral("At most this many &triangles:"));
  auto* byError = new QRadioButton(QStringLiteral("At most this height &error:"));
  auto* count = new QSpinBox;
  count->setRange(1, 100000000);
  count->setValue(simplify_.MaxTriangles > 0 ? simplify_.MaxTriangles : 1000);
  auto* error = new QDoubleSpinBox;
  error->setDecimals(2);
  error->setRange(0, 1e9);
  error->setValue(simplify_.MaxError);
  (simplify_.MaxTriangles > 0 ? byCount : byError)->setChecked(true);
  form->insertRow(form->rowCount() - 1, byCount, count);
  form->insertRow(form->rowCount() - 1, byError, error);
  if (dialog->exec() != QDialog::Accepted) return;
  simplify_.MaxTriangles = byCount->isChecked() ? count->value() : 0;
  simplify_.MaxError = static_cast<float>(error->value());
  const TSimplifyResult result = DoSimplify(editor_, simplify_);
  QMessageBox::information(window_, QStringLiteral("Simplify polygons"),
                           QStringLiteral("%1 polygons became %2; the largest height error is %3.")
                               .arg(result.PolygonsBefore)
                               .arg(result.PolygonsAfter)
                               .arg(QString::fromStdString(FormatGeneral(result.MaxError))));
}

void TShapingCommands::Smooth() {
  QFormLayout* form = nullptr;
  const std::unique_ptr<QDialog> dialog(OptionsDialog(window_, "Smooth heights", form));
  QSpinBox* passes = CountRow(form, "&Passes:", 1, kMaxSmoothPasses, smooth_.Passes);
  QDoubleSpinBox* strength = NumberRow(form, "&Strength:", 0.01, 1, smooth_.Strength, 2);
  strength->setSingleStep(0.05);
  if (dialog->exec() != QDialog::Accepted) return;
  smooth_.Passes = passes->value();
  smooth_.Strength = static_cast<float>(strength->value());
  DoSmoothHeights(editor_, smooth_);
}

void TShapingCommands::Subdivide() {
  DoSubdivide(editor_);
}

}  // namespace terravel
