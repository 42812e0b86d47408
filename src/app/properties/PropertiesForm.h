#pragma once
// TPropertiesForm: the stay-on-top properties window. It shows the values of the selected nodes
// or polygons in the property grid, lays a one-line editor over the value being edited, and turns
// every committed edit into a request; above the grid a group filter and a list of all objects
// by name pick one object. It reads the document and changes it only through the requests.
#include <QPointer>
#include <QWidget>

#include <functional>

#include "app/DocumentHost.h"
#include "model/document/PropertyMode.h"

class QFrame;
class QLabel;
class QLineEdit;
class QTimer;
class QToolButton;

namespace terravel {

class TDropDownForm;
class TEditor;
class TGroupListModel;
class TListCombo;
class TObjectListModel;
class TPropertyEditor;
struct TObjectRef;

class TPropertiesForm : public QWidget, public TDocumentView {
  Q_OBJECT
 public:
  // The drop-down offers the groups and textures while one is edited.
  TPropertiesForm(TEditor& editor, TDropDownForm& dropDown);

  // The window follows the change sets: the lists when records came or went or their names or
  // groups changed, the values when the selection, the selected records or their values did.
  void Changed(const TChangeSet& changes) override;
  // A refresh commits a pending edit first and, while the window shows, refills the values for
  // the mode that fits the selection and re-opens the editor.
  void RefreshProperties();
  void SetPropertyMode(TPropertyMode mode);
  // Rebuilds the group filter and the object list (while hidden, at the next showing).
  void RefreshLists();

  // After a click in the viewport: on the background the object list shows no entry; on an
  // object the group filter goes back to all groups and the object list shows the first
  // selected object.
  void FollowClick(bool onBackground);
  // Shows the window with the editor open on the Texture row (when the mode has one).
  void EditTexture();
  // Applies the value typed into the editor, if it changed since it was filled.
  void CommitPendingEdit();

  // The controls, for the main window and tests.
  TPropertyEditor* PE() const { return pe_; }
  QToolButton* NodesButton() const { return nodesButton_; }
  QToolButton* PolysButton() const { return polysButton_; }
  TListCombo* GroupBox() const { return groupBox_; }
  TListCombo* NameBox() const { return nameBox_; }
  QFrame* EditPanel() const { return editPanel_; }
  QLineEdit* Edit() const { return edit_; }
  QToolButton* DropDown() const { return dropDownButton_; }
  QLabel* WarningImage() const { return warningImage_; }
  // The row whose value the editor shows; -1 when none.
  int EditedRow() const { return editedRow_; }

 signals:
  void VisibilityChanged(bool visible);
  // The window became active or stopped being active.
  void ActiveChanged(bool active);

 protected:
  void showEvent(QShowEvent* event) override;
  void hideEvent(QHideEvent* event) override;
  void changeEvent(QEvent* event) override;
  // An application-modal dialog of another window blocks this one: while it is open the window
  // leaves the stay-on-top layer (without hiding, so that its editor stays as it is), so that
  // the dialog shows above it.
  bool event(QEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  // Runs a gesture of this window inside RunCommand.
  void Gesture(const std::function<void()>& command);

  // Lists (PropertiesForm.cpp).
  void RebuildGroupFilter();
  void RebuildObjectList();
  void GroupChosen(int row);
  void NameChosen(int row);

  // Values and editing (PropertiesEditing.cpp).
  void ShowValues();
  void ModeChanged();
  // A click on a grid row (also Enter, the arrow keys and a refresh): commit, then edit the row.
  void ClickRow(int row);
  void OpenEditor(int row);
  void HideEditor();
  void PlaceEditor(bool dropDown, bool warning);
  void MoveToRow(int row);
  void SelectGridRow(int row);
  void OpenDropDown();
  void DropDownChosen(const QString& value);
  // Escape: the editor shows the row's value again and nothing is applied.
  void CancelEdit();
  // The grid's mode changed under an open editor (a click on another object goes through an
  // empty selection): the row comes back when the same kind of object is selected again.
  void RestoreEditedRow();
  // The object chosen in the list is brought into the top view when it lies outside.
  void ShowInView(const TObjectRef& object);

  TEditor& editor_;
  TDropDownForm& dropDown_;
  TPropertyEditor* pe_ = nullptr;
  QToolButton* nodesButton_ = nullptr;
  QToolButton* polysButton_ = nullptr;
  TListCombo* groupBox_ = nullptr;
  TListCombo* nameBox_ = nullptr;
  TGroupListModel* groups_ = nullptr;
  TObjectListModel* objects_ = nullptr;
  QFrame* editPanel_ = nullptr;
  QLineEdit* edit_ = nullptr;
  QToolButton* dropDownButton_ = nullptr;
  QLabel* warningImage_ = nullptr;
  QTimer* timer_ = nullptr;

  int editedRow_ = -1;
  // The row an editor was open on when the mode last changed, and that mode.
  int rememberedRow_ = -1;
  TPropertyMode rememberedMode_ = TPropertyMode::pmNone;
  // The first click on a freshly opened editor selects its text, as opening it does.
  bool clickSelectsAll_ = false;
  bool listsStale_ = true;
  bool showingValues_ = false;
  bool selectingRow_ = false;
  bool placed_ = false;
};

}  // namespace terravel
