#pragma once
// The "3-D view" dock: a row of camera commands over the 3-D view, or, where OpenGL cannot start,
// one sentence why. The dock follows the document through its widget.
#include <QDockWidget>

#include "app/Settings.h"
#include "app/view3d/View3DWidget.h"

class QCheckBox;
class QDoubleSpinBox;
class QLabel;
class QStackedWidget;
class QToolButton;

namespace terravel {

class TDocumentHost;

class TView3DDock : public QDockWidget {
  Q_OBJECT
 public:
  // The view is made, and follows the host, when the dock is first shown; it leaves the host
  // when OpenGL fails.
  TView3DDock(TEditor& editor, TDocumentHost& host, TView3DControls controls, QWidget* parent);
  ~TView3DDock() override;

  // Null before the dock was first shown and when OpenGL could not start.
  TView3DWidget* View() const { return view_; }
  // The sentence shown instead of the view; empty while the view works.
  QString FailureText() const;

  void LoadSettings(const TView3DSettings& settings);
  void StoreSettings(TView3DSettings& settings) const;

 signals:
  void VisibilityChanged(bool visible);

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void CreateView();
  void ShowFailure(const QString& why);

  TEditor& editor_;
  TDocumentHost& host_;
  TView3DControls controls_;
  TView3DSettings settings_;  // as loaded, for a view made later
  bool tried_ = false;
  QToolButton* frameAll_ = nullptr;
  QToolButton* frameSelection_ = nullptr;
  TView3DWidget* view_ = nullptr;
  QStackedWidget* stack_ = nullptr;
  QLabel* failure_ = nullptr;
  QLabel* note_ = nullptr;  // what the view leaves out
  QCheckBox* wireframe_ = nullptr;
  QCheckBox* nodes_ = nullptr;
  QDoubleSpinBox* exaggeration_ = nullptr;
};

// Whether this system can make an OpenGL 3.3 core context; otherwise the sentence why. software
// tells whether the context draws on the processor.
bool OpenGLAvailable(QString& why, bool* software = nullptr);

}  // namespace terravel
