// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "QVXAbout.h"

#include <QFrame>
#include <QLabel>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <QPushButton>
#include <memory>

#include "WindowHelpers.h"
#include "ui_QVXAbout.h"

const char* const QVXFlashLabelVersion = "1.2.1";
const char* const QVXMakerName = "Tallyvane Controls";
const char* const QVXMakerCopyright = "Copyright \u00A9 2024 Tallyvane Controls";

namespace {
// The about property's 32 x 32 icon: a caption with its glow, drawn rather than stored.
QPixmap LogoPixmap() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter p(&pixmap);
  p.setRenderHint(QPainter::Antialiasing);
  p.setPen(QPen(QColor(0, 0, 128), 1));
  p.setBrush(QColor(255, 255, 224));
  p.drawRoundedRect(QRectF(1.5, 5.5, 29, 21), 4, 4);
  QFont f(QStringLiteral("Arial"));
  f.setPixelSize(14);
  f.setBold(true);
  p.setFont(f);
  const QRect box(1, 5, 30, 22);
  p.setPen(QColor(0, 200, 200));
  p.drawText(box.translated(-1, -1), Qt::AlignCenter, QStringLiteral("Ab"));
  p.drawText(box.translated(1, 1), Qt::AlignCenter, QStringLiteral("Ab"));
  p.setPen(Qt::black);
  p.drawText(box, Qt::AlignCenter, QStringLiteral("Ab"));
  return pixmap;
}

// Left that centres a widget of this width over another widget, dividing toward zero.
int CentredLeft(const QWidget* over, int width) { return over->x() + (over->width() - width) / 2; }
}  // namespace

TfrmQVXAbout::TfrmQVXAbout(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), ui(new Ui::TfrmQVXAbout) {
  ui->setupUi(this);
  imgLogo = ui->imgLogo;
  lblVersion = ui->lblVersion;
  lblAuthor = ui->lblAuthor;
  lblCopyright = ui->lblCopyright;
  cmdOK = ui->cmdOK;
  bvlSepBar = ui->bvlSepBar;
  lblComponent = ui->lblComponent;
  UseFormPixelFonts(this);
  setFixedSize(315, 208);
  imgLogo->setPixmap(LogoPixmap());
  imgLogo->resize(imgLogo->pixmap().size());
  for (QLabel* label : {lblComponent, lblVersion, lblAuthor, lblCopyright}) label->adjustSize();
  connect(cmdOK, &QPushButton::clicked, this, &TfrmQVXAbout::cmdOKClick);
  CentreOnScreen(this);
}

TfrmQVXAbout::~TfrmQVXAbout() { delete ui; }

void TfrmQVXAbout::cmdOKClick() { close(); }

void SetAboutInfo(TfrmQVXAbout* form, const QString& componentName, const QString& version, const QString& copyright,
                  const QString& author) {
  form->setWindowTitle(QStringLiteral("About ") + componentName + QStringLiteral(" v") + version);

  QLabel* component = form->lblComponent;
  component->setText(componentName);
  component->adjustSize();
  component->move(CentredLeft(form->bvlSepBar, component->width()),
                  form->imgLogo->y() + (form->imgLogo->height() - component->height()) / 2);

  form->lblVersion->setText(QStringLiteral("v") + version);
  form->lblAuthor->setText(QStringLiteral("by ") + author);
  form->lblCopyright->setText(copyright);
  for (QLabel* label : {form->lblVersion, form->lblAuthor, form->lblCopyright}) {
    label->adjustSize();
    label->move(CentredLeft(component, label->width()), label->y());
  }
}

void TAboutProperty::Edit() {
  // Freed when this returns, also when showing throws.
  auto form = std::make_unique<TfrmQVXAbout>();
  SetAboutInfo(form.get(), QStringLiteral("TQVXFlashLabel"), QString::fromLatin1(QVXFlashLabelVersion),
               QString::fromUtf8(QVXMakerCopyright), QString::fromLatin1(QVXMakerName));
  form->exec();
}

TPropertyAttributes TAboutProperty::GetAttributes() const { return paDialog | paMultiSelect | paReadOnly; }

QString TAboutProperty::GetValue() const { return QStringLiteral("(about)"); }
