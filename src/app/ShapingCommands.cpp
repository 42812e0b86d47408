#include "app/ShapingCommands.h"

#include <QCheckBox>
#include <QDialog>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>

#include <algorithm>
#include <memory>

#include "app/DialogButtons.h"
#include "model/actions/Requests.h"
#include "model/editor/Editor.h"
#include "model/shaping/ShapingScope.h"
#include "model/text/NumberText.h"

namespace terravel {

namespace {

// A dialog with a form of rows and OK/Cancel below it.
QDialog* OptionsDialog(QWidget* window, const char* title, QFormLayout*& form) {
  auto* dialog = new QDialog(window);
  dialog->setAttribute(Qt::WA_DeleteOnClose, false);
  dialog->setWindowTitle(QString::fromLatin1(title));
  form = new QFormLayout(dialog);
  const TOkCancelRow buttons = MakeOkCancelRow(dialog);
  QObject::connect(buttons.Ok, &QPushButton::clicked, dialog, &QDialog::accept);
  form->addRow(buttons.Row);
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

// Runs the work with a progress window that keeps the main window painting; Cancel stops it
// before the document is touched. Returns false when cancelled.
template <typename TWork>
bool WithProgress(QWidget* window, const char* title, TWork work) {
  QProgressDialog progress(QStringLiteral("Working..."), QStringLiteral("&Cancel"), 0, 100, window);
  progress.setWindowTitle(QString::fromLatin1(title));
  progress.setWindowModality(Qt::WindowModal);
  progress.setMinimumDuration(400);
  const TShapingProgress told = [&progress](int done, int total) {
    progress.setMaximum(std::max(total, 1));
    progress.setValue(std::min(done, std::max(total, 1)));
    return !progress.wasCanceled();
  };
  bool finished = true;
  try {
    work(told);
  } catch (const EShapingCancelled&) {
    finished = false;
  }
  return finished;
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
  TTriangulateResult result;
  const bool finished = WithProgress(window_, "Triangulate nodes", [&](const TShapingProgress& progress) {
    result = DoTriangulate(editor_, triangulate_, progress);
  });
  if (!finished) return;
  const std::string leftOut = LeftOutReport(result, triangulate_.Sky);
  if (leftOut.empty()) return;
  QMessageBox::information(window_, QStringLiteral("Triangulate nodes"),
                           QStringLiteral("Added %1 polygons; %2.")
                               .arg(QString::fromStdString(FormatCount(result.Added)))
                               .arg(QString::fromStdString(leftOut)));
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
  TSimplifyResult result;
  const bool finished = WithProgress(window_, "Simplify polygons", [&](const TShapingProgress& progress) {
    result = DoSimplify(editor_, simplify_, progress);
  });
  if (!finished) return;
  QString text = QStringLiteral("%1 polygons became %2; the largest height error is %3.")
                     .arg(result.PolygonsBefore)
                     .arg(result.PolygonsAfter)
                     .arg(QString::fromStdString(FormatGeneral(result.MaxError)));
  if (result.Budget > 0 && result.PolygonsAfter > result.Budget) {
    text += QStringLiteral(" The outline and the edges between groups or textures keep more than %1.")
                .arg(result.Budget);
  }
  QMessageBox::information(window_, QStringLiteral("Simplify polygons"), text);
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
  WithProgress(window_, "Smooth heights", [this](const TShapingProgress& progress) {
    DoSmoothHeights(editor_, smooth_, progress);
  });
}

void TShapingCommands::Subdivide() {
  DoSubdivide(editor_);
}

}  // namespace terravel
