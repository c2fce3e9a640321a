#include "AboutU.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include "VersionText.h"

bool Splash = false;

TAboutForm::TAboutForm(QWidget* parent) : QDialog(parent) {
  setObjectName("AboutForm");
  setWindowTitle("About Pelmark Invoicing");

  ProgramIcon = new QLabel(this);
  ProgramIcon->setObjectName("ProgramIcon");
  ProgramIcon->setAccessibleName("Program icon");
  ProgramIcon->setPixmap(
      QIcon::fromTheme("accessories-text-editor", style()->standardIcon(QStyle::SP_FileIcon))
          .pixmap(48, 48));

  ProductName = new QLabel("Pelmark Invoicing", this);
  ProductName->setObjectName("ProductName");
  QFont big = ProductName->font();
  big.setPointSizeF(big.pointSizeF() * 1.6);
  big.setBold(true);
  ProductName->setFont(big);

  Version = new QLabel(this);
  Version->setObjectName("Version");
  Copyright = new QLabel("Invoicing, reports and labels for the small business", this);
  Copyright->setObjectName("Copyright");

  OKButton = new QPushButton("OK", this);
  OKButton->setObjectName("OKButton");
  OKButton->setDefault(true);
  connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);

  auto* top = new QHBoxLayout;
  top->addWidget(ProgramIcon, 0, Qt::AlignTop);
  auto* texts = new QVBoxLayout;
  texts->addWidget(ProductName);
  texts->addWidget(Version);
  texts->addWidget(Copyright);
  top->addLayout(texts, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(top);
  layout->addWidget(OKButton, 0, Qt::AlignHCenter);
  setMinimumWidth(360);
}

void TAboutForm::showEvent(QShowEvent* event) {
  FormShow();
  QDialog::showEvent(event);
}

void TAboutForm::FormShow() {
  setWindowTitle("About Pelmark Invoicing " + VersionText());
  Version->setText("Version " + VersionText());
  OKButton->setVisible(!Splash);
}
