// The values of the property grid and the editor laid over the value cell: refreshing, opening
// the editor on a row, committing what was typed, the keys of the editor and the drop-down.
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QScopedValueRollback>
#include <QStyle>
#include <QTimer>
#include <QToolButton>

#include "app/UserDialogs.h"
#include "app/properties/DropDownForm.h"
#include "app/properties/ListModels.h"
#include "app/properties/PropertiesForm.h"
#include "app/properties/PropertyCommit.h"
#include "app/properties/PropertyEditor.h"
#include "app/properties/PropertyValues.h"
#include "model/editor/Editor.h"

namespace terravel {

namespace {

const char* const kInvalidInput = "Invalid input.";
const char* const kSnapWarning = "Snap to grid active; values are rounded to next grid cell.";

QString Local(const std::string& text) {
  return QString::fromLocal8Bit(text);
}

std::string Local(const QString& text) {
  return text.toLocal8Bit().toStdString();
}

}  // namespace

void TPropertiesForm::RefreshProperties() {
  // Inside a running action no new request may start: a pending edit waits for the next refresh.
  if (!editor_.History.Performing()) CommitPendingEdit();
  if (isVisible()) ShowValues();
}

void TPropertiesForm::SetPropertyMode(TPropertyMode mode) {
  if (!editor_.History.Performing()) CommitPendingEdit();
  if (isVisible()) {
    ShowValues();
  } else {
    pe_->SetMode(mode);
  }
}

void TPropertiesForm::ShowValues() {
  {
    const QScopedValueRollback guard(showingValues_, true);
    // The grid always shows the template that fits the selection, so that no row offers a value
    // (a name, a corner) for objects it does not describe.
    const TBufferState& state = editor_.State;
    const TPropertyMode before = pe_->Mode();
    const int edited = editedRow_;
    pe_->SetMode(PropertyModeFor(state.SelectedNodeCount(), state.SelectedPolygonCount()));
    if (edited >= 0 && pe_->Mode() != before) {
      rememberedRow_ = edited;
      rememberedMode_ = before;
    }
    pe_->ClearValues();
    const TPropertyValues values = PropertyValues(editor_, pe_->Mode());
    for (int row = 0; row < kPropertyValueCount; ++row) pe_->SetValue(row, Local(values[std::size_t(row)]));
  }
  if (pe_->currentRow() >= 0) {
    OpenEditor(pe_->currentRow());
  } else {
    RestoreEditedRow();
  }
  // A rename shows in the closed object list too.
  objects_->NamesChanged();
}

void TPropertiesForm::RestoreEditedRow() {
  const TPropertyMode mode = pe_->Mode();
  // An empty selection between two objects keeps the row waiting.
  if (rememberedRow_ < 0 || mode == TPropertyMode::pmNone) return;
  const int row = rememberedRow_;
  rememberedRow_ = -1;
  if (mode != rememberedMode_ || row >= pe_->count()) return;
  SelectGridRow(row);
  OpenEditor(row);
}

void TPropertiesForm::ModeChanged() {
  HideEditor();
  editedRow_ = -1;
  dropDown_.close();
  if (!showingValues_ && isVisible()) ShowValues();
}

void TPropertiesForm::CommitPendingEdit() {
  if (editedRow_ < 0 || !edit_->isModified()) return;
  const std::string typed = Local(edit_->text());
  edit_->setModified(false);
  const int row = editedRow_;
  const std::string previous = Local(pe_->GetValue(row));
  const TCommitResult result = CommitPropertyEdit(editor_, pe_->Mode(), row, typed, previous);
  if (result == TCommitResult::InvalidNumber) {
    edit_->setText(Local(previous));
    UserDialogs().Message(this, QStringLiteral("Information"), QString::fromLatin1(kInvalidInput),
                          QMessageBox::Information, QMessageBox::Ok);
  } else if (result == TCommitResult::NodeIndexOutOfRange) {
    UserDialogs().Message(this, QStringLiteral("Error"), QString::fromLatin1(kInvalidInput),
                          QMessageBox::Critical, QMessageBox::Ok);
  }
  if (isVisible()) ShowValues();
  if (editedRow_ >= 0 && !edit_->isModified()) {
    edit_->setText(pe_->GetValue(editedRow_));
    edit_->setModified(false);
    edit_->selectAll();
    clickSelectsAll_ = true;
  }
  if (result != TCommitResult::Applied && editedRow_ >= 0 && isVisible()) {
    // After the message box the keyboard is back in the editor, ready for the next try.
    activateWindow();
    edit_->setFocus();
    edit_->selectAll();
  }
}

void TPropertiesForm::CancelEdit() {
  if (editedRow_ < 0) return;
  edit_->setText(pe_->GetValue(editedRow_));
  edit_->setModified(false);
  edit_->selectAll();
  clickSelectsAll_ = true;
}

void TPropertiesForm::ClickRow(int row) {
  if (row < 0) return;
  CommitPendingEdit();
  if (row < pe_->count()) OpenEditor(row);
}

void TPropertiesForm::OpenEditor(int row) {
  if (pe_->RowKindAt(row) != TPropertyRowKind::Child) {
    HideEditor();
    editedRow_ = -1;
    pe_->setFocus();
    return;
  }
  const TPropertyMode mode = pe_->Mode();
  const TPropertyField field = FieldAt(mode, row);
  const bool dropDown =
      (field == TPropertyField::Group && mode != TPropertyMode::pmBoth) || field == TPropertyField::Texture;
  const bool warning = editor_.SnapToGrid && (field == TPropertyField::X || field == TPropertyField::Y);
  // A refresh that arrives while an edit waits keeps the typed text.
  const bool keepText = row == editedRow_ && edit_->isModified();
  editedRow_ = row;
  PlaceEditor(dropDown, warning);
  warningImage_->setToolTip(warning ? QString::fromLatin1(kSnapWarning) : QString());
  editPanel_->show();
  edit_->setFocus();
  if (keepText) return;
  edit_->setText(pe_->GetValue(row));
  edit_->setModified(false);
  edit_->selectAll();
  clickSelectsAll_ = true;
}

void TPropertiesForm::HideEditor() {
  editPanel_->hide();
  dropDownButton_->hide();
  warningImage_->hide();
}

void TPropertiesForm::PlaceEditor(bool dropDown, bool warning) {
  const int splitter = pe_->SplitterPos();
  const int height = pe_->ItemHeight();
  const int top = pe_->visualItemRect(pe_->item(editedRow_)).top();
  editPanel_->setGeometry(splitter, top, std::max(0, pe_->viewport()->width() - splitter), height + 1);
  const QRect client = editPanel_->contentsRect();
  const int buttonWidth = style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, pe_);
  int right = client.right() + 1;
  dropDownButton_->setVisible(dropDown);
  if (dropDown) {
    right -= buttonWidth;
    dropDownButton_->setGeometry(right, client.top(), buttonWidth, client.height());
  }
  warningImage_->setVisible(warning);
  if (warning) {
    right -= warningImage_->width();
    warningImage_->move(right, client.top() + (client.height() - warningImage_->height()) / 2);
  }
  edit_->setGeometry(client.left() + 1, client.top() + 1, std::max(0, right - client.left() - 2),
                     std::max(0, client.height() - 2));
}

void TPropertiesForm::SelectGridRow(int row) {
  const QScopedValueRollback guard(selectingRow_, true);
  pe_->setCurrentRow(row);
}

void TPropertiesForm::MoveToRow(int row) {
  SelectGridRow(row);
  ClickRow(row);
  timer_->start();
}

void TPropertiesForm::EditTexture() {
  show();
  raise();
  activateWindow();
  const int row = RowOf(pe_->Mode(), TPropertyField::Texture);
  if (row < 0) return;
  SelectGridRow(row);
  ClickRow(row);
}

bool TPropertiesForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pe_->viewport() && event->type() == QEvent::Resize && editedRow_ >= 0 &&
      !editPanel_->isHidden()) {
    // The editor strip spans the value column whatever the window's width.
    PlaceEditor(!dropDownButton_->isHidden(), !warningImage_->isHidden());
  }
  if (watched == edit_ && event->type() == QEvent::ShortcutOverride) {
    // The editor keeps Ctrl+Z and Ctrl+Y only while it has typing to take back; otherwise they
    // undo and redo the document, as everywhere in the program.
    auto* key = static_cast<QKeyEvent*>(event);
    if ((key->matches(QKeySequence::Undo) && !edit_->isUndoAvailable()) ||
        (key->matches(QKeySequence::Redo) && !edit_->isRedoAvailable())) {
      key->ignore();
      return true;
    }
  }
  if (watched == edit_ && event->type() == QEvent::MouseButtonRelease) {
    // The first click on an editor whose text is untouched selects it all, as opening it does;
    // the clicks after it place the cursor.
    if (clickSelectsAll_ && !edit_->isModified() && !edit_->hasSelectedText()) edit_->selectAll();
    clickSelectsAll_ = false;
  }
  if (watched == edit_ && event->type() == QEvent::KeyPress) {
    const int key = static_cast<QKeyEvent*>(event)->key();
    const int row = editedRow_;
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
      Gesture([this, row] { ClickRow(row); });
      return true;
    }
    if (key == Qt::Key_Up) {
      if (row >= 1) Gesture([this, row] { MoveToRow(row - 1); });
      return true;
    }
    if (key == Qt::Key_Down) {
      if (row >= 0 && row + 1 < pe_->count()) Gesture([this, row] { MoveToRow(row + 1); });
      return true;
    }
    if (key == Qt::Key_Escape) {
      CancelEdit();
      return true;
    }
  }
  return QWidget::eventFilter(watched, event);
}

void TPropertiesForm::OpenDropDown() {
  if (editedRow_ < 0) return;
  const TPropertyField field = FieldAt(pe_->Mode(), editedRow_);
  const QRect row = pe_->visualItemRect(pe_->item(editedRow_));
  const int splitter = pe_->SplitterPos();
  const QPoint topLeft = pe_->viewport()->mapToGlobal(QPoint(splitter, row.bottom() + 1));
  const QRect area(topLeft, QSize(std::max(0, pe_->viewport()->width() - splitter), 0));
  if (field == TPropertyField::Group) {
    dropDown_.ShowGroups(groups_->Items(), edit_->text(), area);
  } else if (field == TPropertyField::Texture) {
    dropDown_.ShowTextures(UsedTextures(editor_), area);
  }
}

void TPropertiesForm::DropDownChosen(const QString& value) {
  if (editedRow_ < 0 || !editPanel_->isVisible()) return;
  edit_->setText(value);
  edit_->setModified(true);
  activateWindow();
  edit_->setFocus();
}

}  // namespace terravel
