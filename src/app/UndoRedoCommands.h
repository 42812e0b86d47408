#pragma once
// The Undo and Redo commands of the main window: the two Edit menu items, the two tool buttons and
// the history popup that pressing and holding a tool button opens. The captions and hints name the
// action that would be undone or redone; each command is enabled only when there is one.
//
// The object is a child of the window; the window puts the actions into its Edit menu and the
// buttons on its tool bar (with their icons); it follows the change sets that say the history changed.
#include <QObject>
#include <QPointer>
#include <QTimer>

#include "app/DocumentHost.h"

class QAction;
class QToolButton;
class QWidget;

namespace terravel {

class TEditor;
class THistoryPopup;

class TUndoRedoCommands : public QObject, public TDocumentView {
  Q_OBJECT

 public:
  static constexpr int kHoldMilliseconds = 500;

  // The steps chosen in the history popup suspend the redraws of the document's views through
  // its host.
  TUndoRedoCommands(TEditor& editor, THost& host, QWidget* window);
  ~TUndoRedoCommands() override;

  // Menu_Edit_Undo ("&Undo", Ctrl+Z) and Menu_Edit_Redo ("&Redo", Ctrl+Y).
  QAction* UndoAction() const { return undoAction_; }
  QAction* RedoAction() const { return redoAction_; }
  // UndoToolButton and RedoToolButton, 27 x 26, captions "Undo" and "Redo".
  QToolButton* UndoButton() const;
  QToolButton* RedoButton() const;

  // Captions, hints and enabled states of the four controls from the history.
  void RefreshUndoRedo();
  void Changed(const TChangeSet& changes) override;

  // One step back or forward, then a refresh (the menu items, their keys and a click on a button).
  void UndoClick();
  void RedoClick();

  // The list that the history popup shows: true for the redo list. Set by the last left press on
  // one of the buttons.
  bool PopupRedo() const { return popupRedo_; }
  void SetPopupRedo(bool redo) { popupRedo_ = redo; }
  // Whether a press on a button is being held and the popup is still to come.
  bool HoldPending() const { return holdTimer_.isActive(); }

  // What the press-and-hold timer does: releases the held button and shows the popup below it.
  void ShowHistoryPopup();
  // Fills the popup with the chosen list, newest first, without showing it.
  THistoryPopup* BuildHistoryPopup();
  // The popup as last built; null before the first.
  THistoryPopup* HistoryPopup() const;
  // Choosing the popup's entry at the position (0 at the top) takes position + 1 steps in the
  // chosen direction with a single redraw at the end.
  void ChooseHistoryEntry(int entry);

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  QToolButton* MakeButton(const char* name, const char* caption);
  void TakeSteps(bool redo, int count);

  TEditor& editor_;
  THost& host_;
  QPointer<QWidget> window_;
  QAction* undoAction_;
  QAction* redoAction_;
  QPointer<QToolButton> undoButton_;
  QPointer<QToolButton> redoButton_;
  QPointer<THistoryPopup> popup_;
  QTimer holdTimer_;
  bool popupRedo_ = false;
};

}  // namespace terravel
