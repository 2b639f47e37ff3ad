// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The Designer plugin as Designer and QUiLoader use it: loaded from its file,
// its widgets listed, created and described, a form with both components built.
#include <QAction>
#include <QApplication>
#include <QDomDocument>
#include <QFile>
#include <QFileInfo>
#include <QMetaProperty>
#include <QPluginLoader>
#include <QTimer>
#include <QUiLoader>
#include <QWidget>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerTaskMenuExtension>
#include <QtDesigner/QExtensionManager>
#include <QtUiPlugin/QDesignerCustomWidgetCollectionInterface>
#include <gtest/gtest.h>

#include <memory>

#include "WarningCollector.h"

namespace {

QDesignerCustomWidgetCollectionInterface* Collection() {
  static QPluginLoader loader(QStringLiteral(TALLYVANE_DESIGNER_PLUGIN));
  return qobject_cast<QDesignerCustomWidgetCollectionInterface*>(loader.instance());
}

QDesignerCustomWidgetInterface* Entry(const QString& name) {
  for (QDesignerCustomWidgetInterface* widget : Collection()->customWidgets())
    if (widget->name() == name) return widget;
  return nullptr;
}

struct EntryCase {
  const char* className;
  const char* extends;
  const char* objectName;
  QSize size;
};

// A form editor with only what the plugin's extensions need: an extension manager.
struct ExtensionsOnlyCore : QDesignerFormEditorInterface {
  ExtensionsOnlyCore() { setExtensionManager(new QExtensionManager(this)); }
};

class DesignerEntry : public ::testing::TestWithParam<EntryCase> {};

}  // namespace

TEST(DesignerPlugin, LoadsAndListsBothComponentsUnderTallyvane) {
  ASSERT_NE(Collection(), nullptr) << "plugin did not load";
  QStringList names;
  for (QDesignerCustomWidgetInterface* widget : Collection()->customWidgets()) {
    names << widget->name();
    EXPECT_EQ(widget->group(), "Tallyvane");
    EXPECT_FALSE(widget->icon().isNull()) << widget->name().toStdString();
    EXPECT_FALSE(widget->toolTip().isEmpty()) << widget->name().toStdString();
    EXPECT_FALSE(widget->isContainer());
  }
  EXPECT_EQ(names, (QStringList{"TPagePrinter", "TQVXFlashLabel"}));
}

TEST_P(DesignerEntry, CreatesTheComponentAtItsDefaultsAndDescribesItsSnippet) {
  const EntryCase& c = GetParam();
  ASSERT_NE(Collection(), nullptr);
  QDesignerCustomWidgetInterface* entry = Entry(QString::fromLatin1(c.className));
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->includeFile(),
            QString::fromLatin1(c.className) == "TPagePrinter" ? "PagePrnt.h" : "QVXFlashLabel.h");

  QWidget parent;
  std::unique_ptr<QWidget> widget(entry->createWidget(&parent));
  ASSERT_NE(widget, nullptr);
  EXPECT_STREQ(widget->metaObject()->className(), c.className);
  EXPECT_TRUE(widget->inherits(c.extends));
  EXPECT_EQ(widget->size(), c.size);

  QDomDocument dom;
  ASSERT_TRUE(dom.setContent(entry->domXml()));
  const QDomElement form = dom.documentElement().firstChildElement(QStringLiteral("widget"));
  EXPECT_EQ(form.attribute(QStringLiteral("class")), c.className);
  EXPECT_EQ(form.attribute(QStringLiteral("name")), c.objectName);
  const QDomElement rect = form.firstChildElement(QStringLiteral("property")).firstChildElement(QStringLiteral("rect"));
  EXPECT_EQ(rect.firstChildElement(QStringLiteral("width")).text().toInt(), c.size.width());
  EXPECT_EQ(rect.firstChildElement(QStringLiteral("height")).text().toInt(), c.size.height());
  const QDomElement custom =
      dom.documentElement().firstChildElement(QStringLiteral("customwidgets")).firstChildElement();
  EXPECT_EQ(custom.firstChildElement(QStringLiteral("class")).text(), c.className);
  EXPECT_EQ(custom.firstChildElement(QStringLiteral("extends")).text(), c.extends);
}

INSTANTIATE_TEST_SUITE_P(Components, DesignerEntry,
                         ::testing::Values(EntryCase{"TPagePrinter", "QScrollArea", "PgPrint", QSize(89, 115)},
                                           EntryCase{"TQVXFlashLabel", "QWidget", "flblLabel", QSize(45, 18)}),
                         [](const auto& p) { return std::string(p.param.className); });

TEST(DesignerPlugin, FlashLabelSnippetCarriesItsDefaultCaption) {
  ASSERT_NE(Collection(), nullptr);
  EXPECT_TRUE(Entry(QStringLiteral("TQVXFlashLabel"))->domXml().contains(QStringLiteral("<string>Caption</string>")));
}

TEST(DesignerPlugin, AboutPropertyReadsAboutWhateverIsWrittenAndIsNotStored) {
  ASSERT_NE(Collection(), nullptr);
  std::unique_ptr<QWidget> label(Entry(QStringLiteral("TQVXFlashLabel"))->createWidget(nullptr));
  const QMetaObject* meta = label->metaObject();
  const int index = meta->indexOfProperty("About");
  ASSERT_GE(index, 0);
  EXPECT_FALSE(meta->property(index).isStored());
  EXPECT_EQ(label->property("About").toString(), "(about)");
  label->setProperty("About", QStringLiteral("typed over"));
  EXPECT_EQ(label->property("About").toString(), "(about)");
}

TEST(DesignerPlugin, FlashLabelTaskMenuOpensTheAboutDialog) {
  ASSERT_NE(Collection(), nullptr);
  ExtensionsOnlyCore core;
  for (QDesignerCustomWidgetInterface* widget : Collection()->customWidgets()) widget->initialize(&core);

  std::unique_ptr<QWidget> label(Entry(QStringLiteral("TQVXFlashLabel"))->createWidget(nullptr));
  std::unique_ptr<QWidget> printer(Entry(QStringLiteral("TPagePrinter"))->createWidget(nullptr));
  EXPECT_EQ(qt_extension<QDesignerTaskMenuExtension*>(core.extensionManager(), printer.get()), nullptr);
  auto* menu = qt_extension<QDesignerTaskMenuExtension*>(core.extensionManager(), label.get());
  ASSERT_NE(menu, nullptr);
  const QList<QAction*> actions = menu->taskActions();
  ASSERT_EQ(actions.size(), 1);
  EXPECT_EQ(actions.first()->text(), "About...");

  QString shownTitle;
  QTimer::singleShot(0, [&shownTitle] {
    if (QWidget* dialog = QApplication::activeModalWidget()) {
      shownTitle = dialog->windowTitle();
      dialog->close();
    }
  });
  actions.first()->trigger();
  EXPECT_EQ(shownTitle, "About TQVXFlashLabel v1.2.1");
}

TEST(DesignerPlugin, UiLoaderBuildsAFormWithBothComponentsAndItsValues) {
  QUiLoader loader;
  loader.clearPluginPaths();
  loader.addPluginPath(QFileInfo(QStringLiteral(TALLYVANE_DESIGNER_PLUGIN)).absolutePath());
  EXPECT_TRUE(loader.availableWidgets().contains(QStringLiteral("TPagePrinter")));
  EXPECT_TRUE(loader.availableWidgets().contains(QStringLiteral("TQVXFlashLabel")));

  QFile file(QStringLiteral(TALLYVANE_DESIGNER_FORM));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  std::unique_ptr<QWidget> form(loader.load(&file));
  ASSERT_NE(form, nullptr) << loader.errorString().toStdString();

  QWidget* label = form->findChild<QWidget*>(QStringLiteral("flblGo"));
  ASSERT_NE(label, nullptr);
  EXPECT_STREQ(label->metaObject()->className(), "TQVXFlashLabel");
  EXPECT_EQ(label->property("Caption").toString(), "Calculate");
  EXPECT_EQ(label->property("HighlightColor").toUInt(), 16776960u);
  EXPECT_TRUE(label->property("Transparent").toBool());
  EXPECT_EQ(label->property("TextAngle").toInt(), 90);
  EXPECT_EQ(label->toolTip(), "Calculate table");
  EXPECT_EQ(label->geometry(), QRect(10, 10, 73, 17));
  EXPECT_EQ(label->property("NormalColor").toUInt(), 0u);  // not in the form: the default

  QWidget* printer = form->findChild<QWidget*>(QStringLiteral("PgPrint"));
  ASSERT_NE(printer, nullptr);
  EXPECT_STREQ(printer->metaObject()->className(), "TPagePrinter");
  EXPECT_EQ(printer->property("MeasureUnit").toInt(), 1);  // muMillimeters
  EXPECT_EQ(printer->property("LineSpacing").toInt(), 3);  // lsDoubleSpace
  EXPECT_EQ(printer->property("Copies").toUInt(), 3u);
  EXPECT_EQ(printer->property("Footer").toString(), "Page - {$PAGE}");
  EXPECT_EQ(printer->property("Title").toString(), "Loan schedule");
  EXPECT_EQ(printer->property("TokenSeparator").toChar(), QChar('|'));  // not in the form: the default
}

// A form whose page printer holds font texts the component refuses loads
// completely: each refusal is one warning, the fonts keep their values, and
// the properties and widgets after them are set.
TEST(DesignerPlugin, UiLoaderLoadsAFormWithRefusedValuesCompletely) {
  QUiLoader loader;
  loader.clearPluginPaths();
  loader.addPluginPath(QFileInfo(QStringLiteral(TALLYVANE_DESIGNER_PLUGIN)).absolutePath());
  std::unique_ptr<QWidget> fresh(Entry(QStringLiteral("TPagePrinter"))->createWidget(nullptr));
  QFile file(QStringLiteral(TALLYVANE_REFUSED_FORM));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  WarningCollector collector;
  std::unique_ptr<QWidget> form(loader.load(&file));
  ASSERT_NE(form, nullptr) << loader.errorString().toStdString();

  QWidget* printer = form->findChild<QWidget*>(QStringLiteral("PgPrint"));
  ASSERT_NE(printer, nullptr);
  const QStringList refused{"HeaderFontText", "BodyFontText", "FooterFontText"};
  QStringList warned;
  for (const QString& warning : collector.Warnings())
    for (const QString& property : refused)
      if (warning.startsWith(QStringLiteral("TPagePrinter \"PgPrint\": property %1 not set: ").arg(property)))
        warned << property;
  EXPECT_EQ(warned, refused) << collector.Warnings().join('\n').toStdString();
  for (const QString& property : refused)
    EXPECT_EQ(printer->property(qPrintable(property)), fresh->property(qPrintable(property))) << property.toStdString();
  EXPECT_EQ(printer->property("Title").toString(), "Loaded on");
  QWidget* label = form->findChild<QWidget*>(QStringLiteral("flblAfter"));
  ASSERT_NE(label, nullptr);
  EXPECT_EQ(label->property("Caption").toString(), "After");
}
