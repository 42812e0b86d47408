#include "app/properties/PropertiesForm.h"

#include "model/history/ChangeSet.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <QStyle>
#include <QTimer>
#include <QWindow>
#include <QToolButton>
#include <QVBoxLayout>

#include "app/CommandGuard.h"
#include "app/properties/DropDownForm.h"
#include "app/properties/ListItemPainter.h"
#include "app/properties/ListModels.h"
#include "app/properties/PropertyEditor.h"
#include "model/actions/Requests.h"
#include "model/editor/Editor.h"
#include "model/view/ViewTransform.h"

namespace terravel {

namespace {

constexpr QSize kWindowSize(264, 287);
constexpr QSize kButtonSize(27, 24);
constexpr QSize kImageSize(20, 18);

// The pictures of the two kind buttons: a few nodes, a triangle.
QIcon KindIcon(bool polygons) {
  QPixmap picture(kImageSize);
  picture.fill(Qt::transparent);
  QPainter p(&picture);
  p.setRenderHint(QPainter::Antialiasing, true);
  if (polygons) {
    p.setPen(QPen(QColor(0, 0, 128), 1.5));
    p.setBrush(QColor(96, 160, 96));
    p.drawPolygon(QPolygonF({QPointF(3, 15), QPointF(10, 3), QPointF(17, 15)}));
  } else {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 160));
    for (const QPointF& at : {QPointF(5, 5), QPointF(14, 7), QPointF(8, 13)}) p.drawEllipse(at, 2.5, 2.5);
  }
  return QIcon(picture);
}

QToolButton* KindButton(QWidget* parent, const char* name, bool polygons, const char* hint) {
  auto* button = new QToolButton(parent);
  button->setObjectName(QString::fromLatin1(name));
  button->setCheckable(true);
  button->setChecked(true);
  button->setAutoRaise(true);
  button->setFixedSize(kButtonSize);
  button->setIconSize(kImageSize);
  button->setIcon(KindIcon(polygons));
  button->setToolTip(QString::fromLatin1(hint));
  return button;
}

}  // namespace

TPropertiesForm::TPropertiesForm(TEditor& editor, TDropDownForm& dropDown)
    : QWidget(nullptr, Qt::Tool | Qt::WindowStaysOnTopHint), editor_(editor), dropDown_(dropDown) {
  setObjectName(QStringLiteral("PropertiesForm"));
  setWindowTitle(QStringLiteral("Properties"));
  resize(kWindowSize);
  CreateControls();
}

void TPropertiesForm::CreateControls() {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(1);

  auto* bar = new QHBoxLayout;
  bar->setContentsMargins(0, 0, 0, 0);
  bar->setSpacing(0);
  nodesButton_ = KindButton(this, "NodesButton", false, "Show nodes.");
  polysButton_ = KindButton(this, "PolysButton", true, "Show polygons.");
  auto* label = new QLabel(QStringLiteral("Group filter: "), this);
  groupBox_ = new TListCombo(this);
  groupBox_->setObjectName(QStringLiteral("GroupBox"));
  bar->addWidget(nodesButton_);
  bar->addWidget(polysButton_);
  bar->addWidget(label);
  bar->addWidget(groupBox_, 1);
  layout->addLayout(bar);

  nameBox_ = new TListCombo(this);
  nameBox_->setObjectName(QStringLiteral("NameBox"));
  layout->addWidget(nameBox_);
  pe_ = new TPropertyEditor(this);
  layout->addWidget(pe_, 1);

  groups_ = new TGroupListModel(QStringLiteral("(all)"), this);
  objects_ = new TObjectListModel(editor_, this);
  groupBox_->setModel(groups_);
  nameBox_->setModel(objects_);

  editPanel_ = new QFrame(pe_->viewport());
  editPanel_->setObjectName(QStringLiteral("EditPanel"));
  editPanel_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  editPanel_->setLineWidth(1);
  editPanel_->setAutoFillBackground(true);
  QPalette white = editPanel_->palette();
  white.setColor(QPalette::Window, Qt::white);
  white.setColor(QPalette::Base, Qt::white);
  editPanel_->setPalette(white);
  edit_ = new QLineEdit(editPanel_);
  edit_->setObjectName(QStringLiteral("Edit"));
  edit_->setFrame(false);
  edit_->installEventFilter(this);
  pe_->viewport()->installEventFilter(this);
  dropDownButton_ = new QToolButton(editPanel_);
  dropDownButton_->setObjectName(QStringLiteral("DropDown"));
  dropDownButton_->setArrowType(Qt::DownArrow);
  dropDownButton_->setFocusPolicy(Qt::NoFocus);
  warningImage_ = new QLabel(editPanel_);
  warningImage_->setObjectName(QStringLiteral("WarningImage"));
  warningImage_->setPixmap(style()->standardIcon(QStyle::SP_MessageBoxWarning).pixmap(16, 16));
  warningImage_->setFixedSize(16, 16);
  editPanel_->hide();

  timer_ = new QTimer(this);
  timer_->setSingleShot(true);
  timer_->setInterval(1);
  connect(timer_, &QTimer::timeout, edit_, &QLineEdit::selectAll);

  connect(nodesButton_, &QToolButton::clicked, this, [this] { Gesture([this] { RebuildGroupFilter(); }); });
  connect(polysButton_, &QToolButton::clicked, this, [this] { Gesture([this] { RebuildGroupFilter(); }); });
  connect(groupBox_, &QComboBox::activated, this,
          [this](int row) { Gesture([this, row] { GroupChosen(row); }); });
  connect(nameBox_, &QComboBox::activated, this,
          [this](int row) { Gesture([this, row] { NameChosen(row); }); });
  connect(pe_, &TPropertyEditor::ModeChanged, this, &TPropertiesForm::ModeChanged);
  connect(pe_, &QListWidget::currentRowChanged, this, [this](int row) {
    if (!selectingRow_) Gesture([this, row] { ClickRow(row); });
  });
  connect(pe_, &QListWidget::clicked, this,
          [this](const QModelIndex& index) { Gesture([this, row = index.row()] { ClickRow(row); }); });
  connect(dropDownButton_, &QToolButton::clicked, this, [this] { Gesture([this] { OpenDropDown(); }); });
  connect(&dropDown_, &TDropDownForm::Chosen, this, &TPropertiesForm::DropDownChosen);
}

void TPropertiesForm::Gesture(const std::function<void()>& command) {
  RunCommand(this, command);
}

// Showing and hiding

void TPropertiesForm::showEvent(QShowEvent* event) {
  QWidget::showEvent(event);
  if (event->spontaneous()) return;
  if (!placed_) {
    placed_ = true;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      move(screen->availableGeometry().center() - rect().center());
    }
  }
  RunCommand(this, [this] {
    editedRow_ = -1;
    rememberedRow_ = -1;
    HideEditor();
    SelectGridRow(-1);
    RebuildGroupFilter();
    ShowValues();
  });
  // The keys work the grid at once: entering it selects the first row.
  pe_->setFocus();
  emit VisibilityChanged(true);
}

void TPropertiesForm::hideEvent(QHideEvent* event) {
  QWidget::hideEvent(event);
  if (event->spontaneous()) return;
  RunCommand(this, [this] { CommitPendingEdit(); });
  dropDown_.close();
  emit VisibilityChanged(false);
}

void TPropertiesForm::changeEvent(QEvent* event) {
  QWidget::changeEvent(event);
  if (event->type() != QEvent::ActivationChange) return;
  // Whatever the user does elsewhere happens after the typed value is in.
  if (!isActiveWindow()) RunCommand(this, [this] { CommitPendingEdit(); });
  emit ActiveChanged(isActiveWindow());
}

bool TPropertiesForm::event(QEvent* event) {
  const bool blocked = event->type() == QEvent::WindowBlocked;
  if ((blocked || event->type() == QEvent::WindowUnblocked) && windowHandle() != nullptr) {
    // A dialog of this window (a message about a typed value) stays above it anyway.
    bool ownDialog = false;
    for (const QWindow* w = QGuiApplication::modalWindow(); w != nullptr && !ownDialog; w = w->transientParent())
      ownDialog = w == windowHandle();
    if (!blocked || !ownDialog) windowHandle()->setFlag(Qt::WindowStaysOnTopHint, !blocked);
  }
  return QWidget::event(event);
}

// Lists

void TPropertiesForm::Changed(const TChangeSet& changes) {
  if (changes.Everything || changes.Records) RefreshLists();
  if (changes.PropertyMode) {
    SetPropertyMode(*changes.PropertyMode);
  } else if (changes.Selection || changes.RecordValues || !changes.MovedNodes.empty() || changes.Topology()) {
    RefreshProperties();
  }
}

void TPropertiesForm::RefreshLists() {
  listsStale_ = true;
  if (isVisible()) RebuildGroupFilter();
}

void TPropertiesForm::RebuildGroupFilter() {
  listsStale_ = false;
  groups_->SetItems(GroupFilterItems(editor_, nodesButton_->isChecked(), polysButton_->isChecked()));
  groupBox_->setCurrentIndex(-1);
  groupBox_->setEnabled(!editor_.Nodes.Empty());
  RebuildObjectList();
}

void TPropertiesForm::RebuildObjectList() {
  const int chosen = groupBox_->currentIndex();
  const TGroupItem* item = chosen > 0 ? groups_->ItemAt(chosen) : nullptr;
  objects_->SetEntries(ObjectListEntries(editor_, nodesButton_->isChecked(), polysButton_->isChecked(),
                                         item != nullptr ? &item->Name : nullptr));
  nameBox_->setCurrentIndex(-1);
  nameBox_->setEnabled(objects_->rowCount() > 0);
}

void TPropertiesForm::GroupChosen(int) {
  CommitPendingEdit();
  RebuildObjectList();
}

void TPropertiesForm::NameChosen(int row) {
  CommitPendingEdit();
  const TObjectRef* entry = objects_->EntryAt(row);
  if (entry == nullptr) return;
  const TObjectRef object = *entry;
  // The selection's redraw below shows the view moved.
  ShowInView(object);
  DoSelectNothing(editor_);
  if (object.Polygon) {
    DoSelectPoly(editor_, object.Index, true);
  } else {
    DoSelectNode(editor_, object.Index, true);
  }
  nameBox_->setCurrentIndex(objects_->RowOf(object));
  RefreshProperties();
}

void TPropertiesForm::ShowInView(const TObjectRef& object) {
  if (object.Polygon) {
    const TPoly* polygon = editor_.Polygons.PolygonAt(object.Index);
    if (polygon == nullptr) return;
    const TCoordList& nodes = editor_.Nodes;
    const T3DCoord* corners[] = {nodes.NodeAt(polygon->Node1), nodes.NodeAt(polygon->Node2),
                                 nodes.NodeAt(polygon->Node3)};
    if (corners[0] == nullptr || corners[1] == nullptr || corners[2] == nullptr) return;
    // The centre, in extended precision as the other positions of the view.
    const long double x = (static_cast<long double>(corners[0]->X) + corners[1]->X + corners[2]->X) / 3;
    const long double y = (static_cast<long double>(corners[0]->Y) + corners[1]->Y + corners[2]->Y) / 3;
    PanToShow(editor_, static_cast<float>(x), static_cast<float>(y));
  } else if (const T3DCoord* node = editor_.Nodes.NodeAt(object.Index)) {
    PanToShow(editor_, node->X, node->Y);
  }
}

void TPropertiesForm::FollowClick(bool onBackground) {
  if (!isVisible() || listsStale_) return;
  if (onBackground) {
    nameBox_->setCurrentIndex(-1);
    return;
  }
  // Back to all groups; a narrowed object list would not hold every object.
  if (groups_->rowCount() > 0 && groupBox_->currentIndex() != 0) {
    const bool narrowed = groupBox_->currentIndex() > 0;
    groupBox_->setCurrentIndex(0);
    if (narrowed) RebuildObjectList();
  }
  TObjectRef first;
  nameBox_->setCurrentIndex(FirstSelectedObject(editor_, first) ? objects_->RowOf(first) : -1);
}

}  // namespace terravel
