// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// The components in a real Designer session (offscreen): the property editor
// shows their colours as colours and fonts as fonts in the published order,
// edits reach the components, and the forms Designer writes keep the values
// the components' properties take, so QUiLoader and uic set them back.
#include <QApplication>
#include <QBuffer>
#include <QFile>
#include <QFileInfo>
#include <QMetaProperty>
#include <QProcess>
#include <QTemporaryFile>
#include <QTreeWidget>
#include <QUiLoader>
#include <QUndoStack>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QtDesigner>
#include <gtest/gtest.h>

#include <memory>

namespace {

// One Designer for the whole run, never torn down: its plugins outlive any order of destruction at exit.
QDesignerFormEditorInterface* Core() {
  static QDesignerFormEditorInterface* core = [] {
    QCoreApplication::addLibraryPath(QFileInfo(QStringLiteral(TALLYVANE_DESIGNER_PLUGIN)).absolutePath() + "/..");
    QDesignerFormEditorInterface* c = QDesignerComponents::createFormEditor(nullptr);
    QDesignerComponents::initializePlugins(c);
    c->setPropertyEditor(QDesignerComponents::createPropertyEditor(c, nullptr));
    new QDesignerIntegration(c, c);
    return c;
  }();
  return core;
}

std::unique_ptr<QDesignerFormWindowInterface> OpenForm(const QByteArray& contents) {
  std::unique_ptr<QDesignerFormWindowInterface> form(Core()->formWindowManager()->createFormWindow(nullptr));
  form->setContents(QString::fromUtf8(contents));
  return form;
}

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

std::unique_ptr<QWidget> UiLoad(QByteArray contents) {
  QUiLoader loader;
  loader.clearPluginPaths();
  loader.addPluginPath(QFileInfo(QStringLiteral(TALLYVANE_DESIGNER_PLUGIN)).absolutePath());
  QBuffer buffer(&contents);
  return std::unique_ptr<QWidget>(loader.load(&buffer));
}

// Both components at their defaults, but for a header font text the component refuses:
// Designer logs it and goes on, the font stays the default.
const QByteArray kBareForm =
    "<ui version=\"4.0\"><class>Bare</class><widget class=\"QWidget\" name=\"Bare\">"
    "<widget class=\"TPagePrinter\" name=\"PgPrint\"><property name=\"HeaderFontText\" stdset=\"0\">"
    "<string>no height here</string></property></widget><widget class=\"TQVXFlashLabel\" name=\"flblGo\"/>"
    "</widget></ui>";

QDesignerPropertySheetExtension* Sheet(QObject* object) {
  return qt_extension<QDesignerPropertySheetExtension*>(Core()->extensionManager(), object);
}

// What the property editor shows for a property: a colour's name or "family,points[,bold][,italic]".
QString Shown(QObject* object, const char* name) {
  QDesignerPropertySheetExtension* sheet = Sheet(object);
  for (int i = 0; i < sheet->count(); ++i) {
    if (!sheet->isVisible(i) || sheet->propertyName(i).trimmed() != QLatin1String(name)) continue;
    const QVariant value = sheet->property(i);
    if (value.typeId() == QMetaType::QColor) return value.value<QColor>().name();
    const QFont f = value.value<QFont>();
    if (value.typeId() == QMetaType::QFont)
      return QStringLiteral("%1,%2%3%4")
          .arg(f.family())
          .arg(f.pointSize())
          .arg(f.bold() ? ",bold" : "", f.italic() ? ",italic" : "");
    return QStringLiteral("not a colour or font: ") + value.typeName();
  }
  return QStringLiteral("not shown");
}

// Edits a property the way the property editor does: one undoable command on the shown entry.
void Edit(QDesignerFormWindowInterface* form, QWidget* widget, const char* name, const QVariant& value) {
  if (!widget->inherits("TPagePrinter") && !widget->inherits("TQVXFlashLabel")) return;
  QDesignerPropertySheetExtension* sheet = Sheet(widget);
  for (int i = 0; i < sheet->count(); ++i)
    if (sheet->isVisible(i) && sheet->propertyName(i).trimmed() == QLatin1String(name))
      form->cursor()->setWidgetProperty(widget, sheet->propertyName(i), value);
}

QFont Font(const char* family, bool bold, bool italic) {
  QFont font(QString::fromLatin1(family), 12);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

struct ShownCase {
  const char* objectName;
  const char* property;
  const char* shown;
};
void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.objectName << '.' << c.property; }

class DesignerSheetDefault : public ::testing::TestWithParam<ShownCase> {};

}  // namespace

TEST_P(DesignerSheetDefault, ShowsTheComponentsDefaultAsAColourOrFont) {
  const auto form = OpenForm(kBareForm);
  QWidget* widget = form->mainContainer()->findChild<QWidget*>(QString::fromLatin1(GetParam().objectName));
  ASSERT_NE(widget, nullptr);
  EXPECT_EQ(Shown(widget, GetParam().property), GetParam().shown);
}

// System colours (clBtnShadow, clBtnFace, clWindow, clWindowText) show resolved.
INSTANTIATE_TEST_SUITE_P(
    Components, DesignerSheetDefault,
    ::testing::Values(ShownCase{"PgPrint", "ShadowColor", "#808080"}, ShownCase{"PgPrint", "Color", "#c0c0c0"},
                      ShownCase{"PgPrint", "HeaderFontText", "Courier New,10"},
                      ShownCase{"PgPrint", "BodyFontText", "Courier New,10"},
                      ShownCase{"flblGo", "HighlightColor", "#ffff00"}, ShownCase{"flblGo", "Color", "#ffffff"},
                      ShownCase{"flblGo", "FontColor", "#000000"}, ShownCase{"flblGo", "FontName", "MS Sans Serif,8"}),
    [](const auto& p) { return std::string(p.param.objectName) + "_" + p.param.property; });

TEST(DesignerSheet, PropertyEditorListsThePublishedPropertiesInTheirOrder) {
  const auto form = OpenForm(kBareForm);
  for (QWidget* widget : form->mainContainer()->findChildren<QWidget*>()) {
    if (!widget->inherits("TPagePrinter") && !widget->inherits("TQVXFlashLabel")) continue;
    // The label's font height and style are edited inside the font shown at its name.
    QStringList published, listed;
    const QMetaObject* meta = widget->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i)
      if (QByteArray name = meta->property(i).name(); name != "FontHeight" && name != "FontStyle") published << name;
    Core()->propertyEditor()->setObject(widget);
    for (QTreeWidget* tree : Core()->propertyEditor()->findChildren<QTreeWidget*>())
      for (int g = 0; g < tree->topLevelItemCount(); ++g) {
        const QTreeWidgetItem* group = tree->topLevelItem(g);
        for (int i = 0; group->text(0) == meta->className() && i < group->childCount(); ++i)
          listed << group->child(i)->text(0).trimmed();
      }
    EXPECT_EQ(listed.join(' '), published.join(' ')) << meta->className();
  }
}

TEST(DesignerSheet, EditsReachTheComponentsAndTheWrittenFormSetsThemBack) {
  const auto form = OpenForm(ReadFile(QStringLiteral(TALLYVANE_DESIGNER_FORM)));
  QWidget* label = form->mainContainer()->findChild<QWidget*>(QStringLiteral("flblGo"));
  QWidget* printer = form->mainContainer()->findChild<QWidget*>(QStringLiteral("PgPrint"));
  ASSERT_TRUE(label && printer);
  Edit(form.get(), label, "HighlightColor", QColor(255, 0, 0));
  Edit(form.get(), label, "FontName", Font("DejaVu Serif", false, true));
  Edit(form.get(), printer, "ShadowColor", QColor(10, 20, 30));
  Edit(form.get(), printer, "HeaderFontText", Font("DejaVu Sans", true, false));
  Edit(form.get(), printer, "Color", QColor(1, 2, 3));
  form->commandHistory()->undo();  // brings the system colour back, not the colour it showed
  EXPECT_EQ(label->property("HighlightColor").toUInt(), 0x0000FFu);
  EXPECT_EQ(label->property("FontName").toString(), "DejaVu Serif");
  EXPECT_EQ(label->property("FontHeight").toInt(), -16);  // 12 points at 96 pixels per inch
  EXPECT_EQ(label->property("FontStyle").toInt(), 2);     // italic
  EXPECT_EQ(printer->property("ShadowColor").toUInt(), 0x1E140Au);
  EXPECT_EQ(printer->property("HeaderFontText").toString(), "DejaVu Sans,-16,bold,clWindowText");
  EXPECT_EQ(printer->property("Color").toUInt(), 0x8000000Fu);  // clBtnFace

  const QByteArray written = form->contents().toUtf8();
  EXPECT_FALSE(written.contains("<color>") || written.contains("<font>")) << written.toStdString();
  const auto reopened = OpenForm(written);
  EXPECT_EQ(Shown(reopened->mainContainer()->findChild<QWidget*>(QStringLiteral("flblGo")), "FontName"),
            "DejaVu Serif,12,italic");

  // uic sets the numbers the properties take.
  QTemporaryFile ui;
  ASSERT_TRUE(ui.open() && ui.write(written) == written.size() && ui.flush());
  QProcess uic;
  uic.start(QStringLiteral(TALLYVANE_UIC), {ui.fileName()});
  ASSERT_TRUE(uic.waitForFinished());
  const QByteArray code = uic.readAllStandardOutput();
  EXPECT_TRUE(code.contains(QStringLiteral("\"ShadowColor\", QVariant(%1u)").arg(0x1E140A).toUtf8()))
      << code.toStdString();
  EXPECT_FALSE(code.contains("QColor") || code.contains("QFont"));
}

// A colour and a font edited on every component: QUiLoader builds them as they were in Designer.
TEST(DesignerSheet, FormsSavedByDesignerSetTheSameValuesThroughQUiLoader) {
  for (const char* path : {TALLYVANE_SOURCE_DIR "/app/main.ui", TALLYVANE_DESIGNER_FORM}) {
    const auto form = OpenForm(ReadFile(QString::fromLatin1(path)));
    for (QWidget* widget : form->mainContainer()->findChildren<QWidget*>()) {
      Edit(form.get(), widget, "Color", QColor(9, 8, 7));
      Edit(form.get(), widget, widget->inherits("TPagePrinter") ? "FooterFontText" : "FontName",
           Font("DejaVu Sans Mono", true, true));
      EXPECT_TRUE(!widget->inherits("TQVXFlashLabel") ||
                  Shown(widget, "FontName") == QLatin1String("DejaVu Sans Mono,12,bold,italic"));
    }
    const std::unique_ptr<QWidget> loaded = UiLoad(form->contents().toUtf8());
    ASSERT_NE(loaded, nullptr) << path;
    int compared = 0;
    for (QWidget* designed : form->mainContainer()->findChildren<QWidget*>()) {
      if (!designed->inherits("TQVXFlashLabel") && !designed->inherits("TPagePrinter")) continue;
      QWidget* built = loaded->findChild<QWidget*>(designed->objectName());
      ASSERT_NE(built, nullptr) << designed->objectName().toStdString();
      const QMetaObject* meta = designed->metaObject();
      for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i, ++compared)
        EXPECT_EQ(meta->property(i).read(built), meta->property(i).read(designed))
            << designed->objectName().toStdString() << '.' << meta->property(i).name();
    }
    EXPECT_GT(compared, 0) << path;
  }
}
