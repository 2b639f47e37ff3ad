// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "DesignerWidgets.h"

#include <QPainter>
#include <QPixmap>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QExtensionManager>

#include "ComponentPropertySheet.h"
#include "FlashLabelTaskMenu.h"
#include "Graphics.h"
#include "PagePrnt.h"
#include "QVXFlashLabel.h"

namespace {

// The form snippet Designer drops: the component at its constructed size, plus
// the base class, so Designer treats it as the widget it extends.
QString DomXml(const QString& className, const QString& objectName, const QString& extends, QSize size,
               const QString& properties) {
  return QStringLiteral(
             "<ui language=\"c++\">\n"
             " <widget class=\"%1\" name=\"%2\">\n"
             "  <property "
             "name=\"geometry\"><rect><x>0</x><y>0</y><width>%4</width><height>%5</height></rect></property>\n"
             "%6"
             " </widget>\n"
             " <customwidgets>\n"
             "  <customwidget><class>%1</class><extends>%3</extends></customwidget>\n"
             " </customwidgets>\n"
             "</ui>\n")
      .arg(className, objectName, extends)
      .arg(size.width())
      .arg(size.height())
      .arg(properties);
}

// Icons are drawn rather than shipped, so the plugin is one file.
QIcon PagePrinterIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setPen(QPen(Qt::darkGray, 1));
  painter.setBrush(Qt::gray);
  painter.drawRect(7, 4, 22, 27);  // shadow
  painter.setBrush(Qt::white);
  painter.setPen(QPen(Qt::black, 1));
  painter.drawRect(4, 1, 22, 27);  // sheet
  painter.setPen(QPen(Qt::darkBlue, 2));
  for (int y = 7; y <= 23; y += 4) painter.drawLine(8, y, y == 23 ? 16 : 22, y);
  return QIcon(pixmap);
}

QIcon FlashLabelIcon() {
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  QFont font(QStringLiteral("DejaVu Sans"));
  font.setPixelSize(20);
  font.setBold(true);
  painter.setFont(font);
  painter.setPen(QColor(Qt::yellow).darker(110));
  painter.drawText(QRect(0, 0, 32, 32), Qt::AlignCenter, QStringLiteral("Ab"));
  painter.drawText(QRect(2, 2, 32, 32), Qt::AlignCenter, QStringLiteral("Ab"));
  painter.setPen(Qt::black);
  painter.drawText(QRect(1, 1, 32, 32), Qt::AlignCenter, QStringLiteral("Ab"));
  return QIcon(pixmap);
}

// Shows the colour and font properties as colours and fonts in Designer's
// property editor.
void RegisterSheet(QDesignerFormEditorInterface* core, const QString& className, const QList<SheetView>& views) {
  if (QExtensionManager* manager = core->extensionManager())
    manager->registerExtensions(new ComponentPropertySheetFactory(manager, className, views),
                                Q_TYPEID(QDesignerPropertySheetExtension));
}

template <typename Component>
std::function<const TFont*(QObject*)> FontOf(TFont& (Component::*font)()) {
  return [font](QObject* object) -> const TFont* {
    auto* component = qobject_cast<Component*>(object);
    return component ? &(component->*font)() : nullptr;
  };
}

QList<SheetView> PagePrinterViews() {
  return {{QStringLiteral("FooterFontText"), SheetView::FontText, FontOf(&TPagePrinter::FooterFont), {}},
          {QStringLiteral("HeaderFontText"), SheetView::FontText, FontOf(&TPagePrinter::HeaderFont), {}},
          {QStringLiteral("ShadowColor"), SheetView::Colour, {}, {}},
          {QStringLiteral("Color"), SheetView::Colour, {}, {}},
          {QStringLiteral("BodyFontText"), SheetView::FontText, FontOf(&TPagePrinter::Font), {}}};
}

QList<SheetView> FlashLabelViews() {
  // The font shows where its name is published; its height and style are part of it.
  return {{QStringLiteral("HighlightColor"), SheetView::Colour, {}, {}},
          {QStringLiteral("NormalColor"), SheetView::Colour, {}, {}},
          {QStringLiteral("Color"), SheetView::Colour, {}, {}},
          {QStringLiteral("FontName"),
           SheetView::FontParts,
           FontOf(&TQVXFlashLabel::Font),
           {QStringLiteral("FontName"), QStringLiteral("FontHeight"), QStringLiteral("FontStyle")}},
          {QStringLiteral("FontHeight"), SheetView::Hidden, {}, {}},
          {QStringLiteral("FontStyle"), SheetView::Hidden, {}, {}},
          {QStringLiteral("FontColor"), SheetView::Colour, {}, {}}};
}

}  // namespace

DesignerWidget::DesignerWidget(DesignerWidgetInfo info, QObject* parent) : QObject(parent), info_(std::move(info)) {}

void DesignerWidget::initialize(QDesignerFormEditorInterface* core) {
  if (initialized_) return;
  initialized_ = true;
  // Forms name the window font of their first platform; draw them with the
  // installed font the program itself uses for it.
  static const bool fontsMapped = (InstallFontSubstitutions(), true);
  Q_UNUSED(fontsMapped);
  if (info_.setUp && core) info_.setUp(core);
}

DesignerWidgetInfo PagePrinterEntry() {
  DesignerWidgetInfo info;
  info.className = QStringLiteral("TPagePrinter");
  info.includeFile = QStringLiteral("PagePrnt.h");
  info.toolTip = QStringLiteral("Page printer: builds, previews and prints paged reports");
  info.whatsThis = QStringLiteral(
      "Lays out lines and table rows on pages with headers, footers and borders, shows them in a zoomable "
      "preview, prints them with copies and collation, or writes them to a text file.");
  info.domXml = DomXml(info.className, QStringLiteral("PgPrint"), QStringLiteral("QScrollArea"), QSize(89, 115), {});
  info.icon = PagePrinterIcon();
  info.create = [](QWidget* parent) -> QWidget* { return new TPagePrinter(parent); };
  info.setUp = [className = info.className](QDesignerFormEditorInterface* core) {
    RegisterSheet(core, className, PagePrinterViews());
  };
  return info;
}

DesignerWidgetInfo FlashLabelEntry() {
  DesignerWidgetInfo info;
  info.className = QStringLiteral("TQVXFlashLabel");
  info.includeFile = QStringLiteral("QVXFlashLabel.h");
  info.toolTip = QStringLiteral("Hover label: a flat text button that glows under the mouse pointer");
  info.whatsThis = QStringLiteral(
      "Draws its caption at any angle, surrounds it with a glow in the highlight colour while the pointer is "
      "over it, and raises OnClick when a mouse button is released over it.");
  info.domXml =
      DomXml(info.className, QStringLiteral("flblLabel"), QStringLiteral("QWidget"), QSize(45, 18),
             QStringLiteral("  <property name=\"Caption\" stdset=\"0\"><string>Caption</string></property>\n"));
  info.icon = FlashLabelIcon();
  info.create = [](QWidget* parent) -> QWidget* { return new TQVXFlashLabel(parent); };
  info.setUp = [className = info.className](QDesignerFormEditorInterface* core) {
    RegisterSheet(core, className, FlashLabelViews());
    QExtensionManager* manager = core->extensionManager();
    if (manager)
      manager->registerExtensions(new FlashLabelTaskMenuFactory(manager), Q_TYPEID(QDesignerTaskMenuExtension));
  };
  return info;
}
