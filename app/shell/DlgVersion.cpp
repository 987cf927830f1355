#include "DlgVersion.h"

#include "FormFont.h"
#include "Pictures.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

TAboutBox::TAboutBox(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ﾊﾞｰｼﾞｮﾝ情報"));
  setFont(formFont());
  setModal(true);
  setFixedSize(298, 124);

  Panel1 = new QFrame(this);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  Panel1->setGeometry(8, 8, 281, 65);
  // The icon and the name sit on the panel, placed in its coordinates: the icon is then
  // centred in the panel's height.

  ProgramIcon = new QLabel(Panel1);
  ProgramIcon->setObjectName(QStringLiteral("ProgramIcon"));
  ProgramIcon->setGeometry(24, 16, 33, 33);
  ProgramIcon->setScaledContents(true);
  ProgramIcon->setPixmap(shellPicture(ShellPicture::Program, 33));

  ProductName = new QLabel(QStringLiteral("Kurvo version 3.2"), Panel1);
  ProductName->setObjectName(QStringLiteral("ProductName"));
  ProductName->move(88, 16);
  ProductName->adjustSize();

  OKButton = new QPushButton(QStringLiteral("OK"), this);
  OKButton->setObjectName(QStringLiteral("OKButton"));
  OKButton->setGeometry(104, 88, 81, 25);
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}
