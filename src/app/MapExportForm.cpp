#include "app/MapExportForm.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSpinBox>

#include "app/DialogButtons.h"

namespace terravel {

namespace {

QString NumberText(double value) {
  return QLocale::c().toString(value, 'g', 10);
}

// The field's number (a point as the decimal separator), or false.
bool ReadNumber(QLineEdit* edit, double& value) {
  bool ok = false;
  value = QLocale::c().toDouble(edit->text().trimmed(), &ok);
  return ok;
}

}  // namespace

TMapExportForm::TMapExportForm(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("MapExportForm"));
  setWindowTitle(QStringLiteral("Unreal Map Options"));
  setModal(true);
  csgBox_ = new QComboBox(this);
  csgBox_->addItems({QStringLiteral("Subtract: the ground is the floor of a space"),
                     QStringLiteral("Add: the ground is the top of a solid"),
                     QStringLiteral("Semisolid: as Add, semisolid")});
  capEdit_ = new QLineEdit(this);
  capEdit_->setPlaceholderText(QStringLiteral("automatic"));
  tileEdit_ = new QLineEdit(this);
  maxPolygonsBox_ = new QSpinBox(this);
  maxPolygonsBox_->setRange(0, 1000000);
  maxPolygonsBox_->setSpecialValueText(QStringLiteral("no limit"));
  snapEdit_ = new QLineEdit(this);
  forceCheck_ = new QCheckBox(QStringLiteral("Write triangles that snapping spoils, and list them"), this);
  sideTextureEdit_ = new QLineEdit(this);
  sideTextureEdit_->setPlaceholderText(QStringLiteral("the ground's most used texture"));
  invisibleCheck_ = new QCheckBox(QStringLiteral("Invisible walls and caps"), this);
  textureScaleEdit_ = new QLineEdit(this);
  roomCheck_ = new QCheckBox(QStringLiteral("Add a room, a light and a player start"), this);
  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("&CSG:"), csgBox_);
  form->addRow(QStringLiteral("C&eiling or floor Z:"), capEdit_);
  form->addRow(QStringLiteral("&Tile size:"), tileEdit_);
  form->addRow(QStringLiteral("&Polygons per brush at most:"), maxPolygonsBox_);
  form->addRow(QStringLiteral("&Grid (0: off):"), snapEdit_);
  form->addRow(QString(), forceCheck_);
  form->addRow(QStringLiteral("&Side texture:"), sideTextureEdit_);
  form->addRow(QString(), invisibleCheck_);
  form->addRow(QStringLiteral("Te&xels per unit:"), textureScaleEdit_);
  form->addRow(QString(), roomCheck_);
  const TOkCancelRow buttons = MakeOkCancelRow(this);
  okButton_ = buttons.Ok;
  connect(okButton_, &QPushButton::clicked, this, [this] {
    if (Take()) accept();
  });
  form->addRow(buttons.Row);
  setLayout(form);
}

void TMapExportForm::Show() {
  csgBox_->setCurrentIndex(static_cast<int>(Options.Csg));
  const auto cap = Options.Csg == TCsgMode::Subtract ? Options.Ceiling : Options.Floor;
  capEdit_->setText(cap ? NumberText(*cap) : QString());
  tileEdit_->setText(NumberText(Options.TileSize));
  maxPolygonsBox_->setValue(Options.MaxBrushPolygons);
  snapEdit_->setText(NumberText(Options.Snap));
  forceCheck_->setChecked(Options.Force);
  sideTextureEdit_->setText(QString::fromStdString(Options.SideTexture));
  invisibleCheck_->setChecked(Options.InvisibleSides);
  textureScaleEdit_->setText(NumberText(Options.TextureScale));
  roomCheck_->setChecked(Options.Room);
}

bool TMapExportForm::Take() {
  TMapExportOptions options;
  const auto refuse = [this](QLineEdit* edit, const QString& text) {
    QMessageBox::warning(this, windowTitle(), text);
    edit->setFocus();
    edit->selectAll();
    return false;
  };
  options.Csg = static_cast<TCsgMode>(csgBox_->currentIndex());
  double value = 0;
  if (!capEdit_->text().trimmed().isEmpty()) {
    if (!ReadNumber(capEdit_, value))
      return refuse(capEdit_, QStringLiteral("The ceiling or floor is no number."));
    (options.Csg == TCsgMode::Subtract ? options.Ceiling : options.Floor) = value;
  }
  if (!ReadNumber(tileEdit_, options.TileSize) || !(options.TileSize > 0))
    return refuse(tileEdit_, QStringLiteral("The tile size must be a number above 0."));
  options.MaxBrushPolygons = maxPolygonsBox_->value();
  if (options.MaxBrushPolygons > 0 && options.MaxBrushPolygons < 8) options.MaxBrushPolygons = 8;
  if (!ReadNumber(snapEdit_, options.Snap) || !(options.Snap >= 0))
    return refuse(snapEdit_, QStringLiteral("The grid must be a number of 0 (off) or more."));
  options.Force = forceCheck_->isChecked();
  options.SideTexture = sideTextureEdit_->text().trimmed().toStdString();
  options.InvisibleSides = invisibleCheck_->isChecked();
  if (!ReadNumber(textureScaleEdit_, options.TextureScale) || !(options.TextureScale > 0))
    return refuse(textureScaleEdit_, QStringLiteral("The texels per unit must be a number above 0."));
  options.Room = roomCheck_->isChecked();
  Options = options;
  return true;
}

bool TMapExportForm::Execute() {
  Show();
  return exec() == QDialog::Accepted;
}

}  // namespace terravel
