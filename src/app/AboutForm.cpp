#include "app/AboutForm.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QShowEvent>
#include <QVBoxLayout>

#include "app/AppPictures.h"
#include "app/URLLabel.h"
#include "model/core/Version.h"
#include "app/WebPage.h"

namespace terravel {

namespace {

// The author's mailbox; the link opens a new mail to it with the subject "Terravel".
const char* const kContactMailbox = "author@terravel.quillstone.example";

constexpr int kLogoSize = 48;
constexpr int kLinkGap = 5;      // between the caption labels and the links
constexpr int kEdgeMargin = 10;  // around everything, and the OK button from the right and bottom
const QColor kLinkColor(0, 0, 224);
const QColor kHoverColor(0, 64, 160);

}  // namespace

TAboutForm::TAboutForm() : QDialog(nullptr, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint) {
  setObjectName(QStringLiteral("AboutForm"));
  setWindowTitle(QStringLiteral("About Terravel"));

  auto* logo = new QLabel(this);
  logo->setObjectName(QStringLiteral("LogoImage"));
  logo->setPixmap(TerravelLogo(kLogoSize));
  logo->setFixedSize(kLogoSize, kLogoSize);

  nameLabel_ = new QLabel(QStringLiteral("Terravel %1").arg(QString::fromLatin1(kTerravelVersion)), this);
  nameLabel_->setObjectName(QStringLiteral("NameLabel"));
  QFont nameFont = nameLabel_->font();
  nameFont.setFamilies({QStringLiteral("Times New Roman"), QStringLiteral("Liberation Serif"),
                        QStringLiteral("DejaVu Serif"), QStringLiteral("serif")});
  nameFont.setStyleHint(QFont::Serif);
  nameFont.setBold(true);
  nameFont.setPointSizeF(nameFont.pointSizeF() * 2.4);
  nameLabel_->setFont(nameFont);

  auto* heading = new QHBoxLayout;
  heading->setSpacing(12);
  heading->addWidget(logo);
  heading->addWidget(nameLabel_, 1);

  const QString webSite = QString::fromLatin1(kWebSiteUrl);
  const QString mailbox = QString::fromLatin1(kContactMailbox);
  homepageLink_ = new TURLLabel(webSite, this);
  homepageLink_->setObjectName(QStringLiteral("HomepageLink"));
  homepageLink_->SetURL(webSite);
  mailLink_ = new TURLLabel(mailbox, this);
  mailLink_->setObjectName(QStringLiteral("MailLink"));
  mailLink_->SetURL(QStringLiteral("mailto:%1?subject=Terravel").arg(mailbox));
  for (TURLLabel* link : {homepageLink_, mailLink_}) link->SetNormalFont(font(), kLinkColor);

  auto* links = new QGridLayout;
  links->setHorizontalSpacing(kLinkGap);
  links->addWidget(new QLabel(QStringLiteral("Homepage:"), this), 0, 0);
  links->addWidget(homepageLink_, 0, 1);
  links->addWidget(new QLabel(QStringLiteral("E-Mail:"), this), 1, 0);
  links->addWidget(mailLink_, 1, 1);
  links->setColumnStretch(1, 1);

  okButton_ = new QPushButton(QStringLiteral("OK"), this);
  okButton_->setObjectName(QStringLiteral("OkButton"));
  okButton_->setDefault(true);
  connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(okButton_);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(kEdgeMargin, kEdgeMargin, kEdgeMargin, kEdgeMargin);
  layout->addLayout(heading);
  layout->addSpacing(8);
  layout->addWidget(new QLabel(QStringLiteral("Easy terrain brush creation for Unreal and UT"), this));
  layout->addWidget(
      new QLabel(QStringLiteral("Feature requests via e-mail with subject \"Terravel\" are welcome!"), this));
  layout->addWidget(new QLabel(QString(), this));
  layout->addLayout(links);
  layout->addSpacing(8);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TAboutForm::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  if (event->spontaneous()) return;
  // Under the pointer a link keeps its face and size, underlined in a darker blue.
  for (TURLLabel* link : {homepageLink_, mailLink_}) {
    QFont hover = link->NormalFont();
    hover.setUnderline(true);
    link->SetHoverFont(hover, kHoverColor);
  }
  okButton_->setFocus();
}

}  // namespace terravel
