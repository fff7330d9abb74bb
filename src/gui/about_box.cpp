#include "gui/about_box.h"

#include <QDesktopServices>
#include <QLabel>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace qel::gui {

QString versionText() {
  return QStringLiteral(QEL_VERSION);
}

AboutBox::AboutBox(QWidget* parent) : QDialog(parent) {
  setObjectName("fmAboutBox");
  setWindowTitle("О программе");
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel("<b>Тестер QEL</b><br>Внутрисхемный тестер цифровых микросхем", this));
  layout->addWidget(new QLabel("Версия файла: " + versionText(), this));
  layout->addWidget(new QLabel(kLegalNotice, this));
  // The two links: blue, navy under the mouse.
  auto* support = new QLabel(QString("<a style='color:blue' href='%1'>%1</a>").arg(kSupportLink), this);
  auto* mail = new QLabel(QString("<a style='color:blue' href='mailto:%1'>%1</a>").arg(kSupportEmail), this);
  for (QLabel* l : {support, mail}) {
    l->setTextInteractionFlags(Qt::LinksAccessibleByMouse);
    connect(l, &QLabel::linkActivated, this,
            [](const QString& link) { QDesktopServices::openUrl(QUrl(link)); });
    layout->addWidget(l);
  }
  auto* ok = new QPushButton("OK", this);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  layout->addWidget(ok, 0, Qt::AlignRight);
}

}  // namespace qel::gui
