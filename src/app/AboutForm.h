#pragma once
// The about window: the logo, the program's name and version, a few lines, and links to the
// web site and to a new mail to the author.
#include <QDialog>

class QLabel;
class QPushButton;

namespace terravel {

class TURLLabel;

class TAboutForm : public QDialog {
  Q_OBJECT
 public:
  TAboutForm();

  QLabel* NameLabel() const { return nameLabel_; }
  TURLLabel* HomepageLink() const { return homepageLink_; }
  TURLLabel* MailLink() const { return mailLink_; }
  QPushButton* OkButton() const { return okButton_; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* nameLabel_;
  TURLLabel* homepageLink_;
  TURLLabel* mailLink_;
  QPushButton* okButton_;
};

}  // namespace terravel
