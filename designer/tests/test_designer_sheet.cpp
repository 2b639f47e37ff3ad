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
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QUndoStack>
#include <QUiLoader>
#include <QtDesigner/QDesignerComponents>
#include <QtDesigner/QDesignerFormEditorInterface>
#include <QtDesigner/QDesignerFormWindowCursorInterface>
#include <QtDesigner/QDesignerFormWindowInterface>
#include <QtDesigner/QDesignerFormWindowManagerInterface>
#include <QtDesigner/QDesignerIntegration>
#include <QtDesigner/QDesignerPropertyEditorInterface>
#include <QtDesigner/QDesignerPropertySheetExtension>
#include <QtDesigner/QExtensionManager>
#include <gtest/gtest.h>

#include <memory>

namespace {

// One Designer for the whole run, as Designer itself has one; never torn down,
// since its plugins outlive any order of destruction at exit.
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

QDesignerFormWindowInterface* OpenForm(const QString& contents) {
  QDesignerFormWindowInterface* form = Core()->formWindowManager()->createFormWindow(nullptr);
  form->setContents(contents);
  return form;
}

QString TestForm() {
  QFile file(QStringLiteral(TALLYVANE_DESIGNER_FORM));
  return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

// The two components with nothing set: their defaults.
QString BareForm() {
  return QStringLiteral(
      "<ui version=\"4.0\"><class>Bare</class><widget class=\"QWidget\" name=\"Bare\">"
      "<widget class=\"TPagePrinter\" name=\"PgPrint\"/><widget class=\"TQVXFlashLabel\" name=\"flblGo\"/>"
      "</widget></ui>");
}

QDesignerPropertySheetExtension* Sheet(QObject* object) {
  return qt_extension<QDesignerPropertySheetExtension*>(Core()->extensionManager(), object);
}

// The entry the property editor shows for a property.
int ShownIndex(QDesignerPropertySheetExtension* sheet, const QString& name) {
  for (int i = 0; i < sheet->count(); ++i)
    if (sheet->isVisible(i) && sheet->propertyName(i).trimmed() == name) return i;
  return -1;
}

// Edits a property the way the property editor does: one undoable command.
void Edit(QDesignerFormWindowInterface* form, QWidget* widget, const QString& name, const QVariant& value) {
  QDesignerPropertySheetExtension* sheet = Sheet(widget);
  form->cursor()->setWidgetProperty(widget, sheet->propertyName(ShownIndex(sheet, name)), value);
}

QFont DesignerFont(const QString& family, int points, bool bold, bool italic) {
  QFont font(family);
  font.setPointSize(points);
  font.setBold(bold);
  font.setItalic(italic);
  return font;
}

QString Describe(const QVariant& value) {
  if (value.typeId() == QMetaType::QColor) return value.value<QColor>().name();
  if (value.typeId() != QMetaType::QFont) return QStringLiteral("not a colour or font: ") + value.typeName();
  const QFont font = value.value<QFont>();
  return QStringLiteral("%1,%2%3%4").arg(font.family()).arg(font.pointSize())
      .arg(font.bold() ? ",bold" : "", font.italic() ? ",italic" : "");
}

struct ShownCase {
  const char* className;
  const char* objectName;
  const char* property;
  const char* shown;  // colour name or "family,points[,bold]"
};

void PrintTo(const ShownCase& c, std::ostream* os) { *os << c.className << '.' << c.property; }

class DesignerSheetDefault : public ::testing::TestWithParam<ShownCase> {};
class DesignerEditorOrder : public ::testing::TestWithParam<const char*> {};

}  // namespace

TEST_P(DesignerSheetDefault, ShowsTheComponentsDefaultAsAColourOrFont) {
  const ShownCase& c = GetParam();
  std::unique_ptr<QDesignerFormWindowInterface> form(OpenForm(BareForm()));
  QWidget* widget = form->mainContainer()->findChild<QWidget*>(QString::fromLatin1(c.objectName));
  ASSERT_NE(widget, nullptr);
  QDesignerPropertySheetExtension* sheet = Sheet(widget);
  const int index = ShownIndex(sheet, QString::fromLatin1(c.property));
  ASSERT_GE(index, 0);
  EXPECT_EQ(Describe(sheet->property(index)), c.shown);
}

// System colours (clBtnShadow, clBtnFace, clWindow, clWindowText) show resolved.
INSTANTIATE_TEST_SUITE_P(
    Components, DesignerSheetDefault,
    ::testing::Values(ShownCase{"TPagePrinter", "PgPrint", "ShadowColor", "#808080"},
                      ShownCase{"TPagePrinter", "PgPrint", "Color", "#c0c0c0"},
                      ShownCase{"TPagePrinter", "PgPrint", "HeaderFontText", "Courier New,10"},
                      ShownCase{"TPagePrinter", "PgPrint", "FooterFontText", "Courier New,10"},
                      ShownCase{"TPagePrinter", "PgPrint", "BodyFontText", "Courier New,10"},
                      ShownCase{"TQVXFlashLabel", "flblGo", "HighlightColor", "#ffff00"},
                      ShownCase{"TQVXFlashLabel", "flblGo", "Color", "#ffffff"},
                      ShownCase{"TQVXFlashLabel", "flblGo", "FontColor", "#000000"},
                      ShownCase{"TQVXFlashLabel", "flblGo", "FontName", "MS Sans Serif,8"}),
    [](const auto& p) { return std::string(p.param.className) + "_" + p.param.property; });

TEST_P(DesignerEditorOrder, PropertyEditorListsThePublishedPropertiesInTheirOrder) {
  const QString className = QString::fromLatin1(GetParam());
  std::unique_ptr<QDesignerFormWindowInterface> form(OpenForm(BareForm()));
  QWidget* widget = nullptr;
  for (QWidget* child : form->mainContainer()->findChildren<QWidget*>())
    if (className == child->metaObject()->className()) widget = child;
  ASSERT_NE(widget, nullptr);

  // The font's height and style are edited inside the font shown at its name.
  QStringList published;
  const QMetaObject* meta = widget->metaObject();
  for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i) {
    const QString name = QString::fromLatin1(meta->property(i).name());
    if (name != "FontHeight" && name != "FontStyle") published << name;
  }

  Core()->propertyEditor()->setObject(widget);
  QStringList listed;
  for (QTreeWidget* tree : Core()->propertyEditor()->findChildren<QTreeWidget*>())
    for (int g = 0; g < tree->topLevelItemCount(); ++g)
      if (tree->topLevelItem(g)->text(0) == className)
        for (int i = 0; i < tree->topLevelItem(g)->childCount(); ++i)
          listed << tree->topLevelItem(g)->child(i)->text(0).trimmed();
  EXPECT_EQ(listed, published);
}

INSTANTIATE_TEST_SUITE_P(Components, DesignerEditorOrder, ::testing::Values("TPagePrinter", "TQVXFlashLabel"),
                         [](const auto& p) { return std::string(p.param); });

TEST(DesignerSheet, EditsReachTheComponentsAndTheWrittenFormSetsThemBack) {
  std::unique_ptr<QDesignerFormWindowInterface> form(OpenForm(TestForm()));
  QWidget* label = form->mainContainer()->findChild<QWidget*>(QStringLiteral("flblGo"));
  QWidget* printer = form->mainContainer()->findChild<QWidget*>(QStringLiteral("PgPrint"));
  ASSERT_TRUE(label && printer);

  Edit(form.get(), label, QStringLiteral("HighlightColor"), QColor(255, 0, 0));
  Edit(form.get(), label, QStringLiteral("FontName"), DesignerFont(QStringLiteral("DejaVu Serif"), 12, false, true));
  Edit(form.get(), printer, QStringLiteral("ShadowColor"), QColor(10, 20, 30));
  Edit(form.get(), printer, QStringLiteral("HeaderFontText"), DesignerFont(QStringLiteral("DejaVu Sans"), 12, true, false));
  EXPECT_EQ(label->property("HighlightColor").toUInt(), 0x0000FFu);
  EXPECT_EQ(label->property("FontName").toString(), "DejaVu Serif");
  EXPECT_EQ(label->property("FontHeight").toInt(), -16);  // 12 points at 96 pixels per inch
  EXPECT_EQ(label->property("FontStyle").toInt(), 2);     // italic
  EXPECT_EQ(printer->property("ShadowColor").toUInt(), 0x1E140Au);
  // The font text keeps its colour field.
  EXPECT_EQ(printer->property("HeaderFontText").toString(), "DejaVu Sans,-16,bold,clWindowText");

  // Undo and reset go through the same entries; a reset brings back the system colour itself.
  form->cursor()->resetWidgetProperty(printer, Sheet(printer)->propertyName(ShownIndex(Sheet(printer), "Color")));
  Edit(form.get(), printer, QStringLiteral("Color"), QColor(1, 2, 3));
  form->commandHistory()->undo();
  EXPECT_EQ(printer->property("Color").toUInt(), 0x8000000Fu);  // clBtnFace
  for (const QByteArray& name : label->dynamicPropertyNames()) EXPECT_FALSE(name.endsWith(' ')) << name.toStdString();

  const QString written = form->contents();
  EXPECT_FALSE(written.contains(QStringLiteral("<color>")));
  EXPECT_FALSE(written.contains(QStringLiteral("<font>")));

  QUiLoader loader;
  loader.clearPluginPaths();
  loader.addPluginPath(QFileInfo(QStringLiteral(TALLYVANE_DESIGNER_PLUGIN)).absolutePath());
  QByteArray bytes = written.toUtf8();
  QBuffer buffer(&bytes);
  std::unique_ptr<QWidget> loaded(loader.load(&buffer));
  ASSERT_NE(loaded, nullptr) << loader.errorString().toStdString();
  for (QWidget* designed : {label, printer}) {
    QWidget* built = loaded->findChild<QWidget*>(designed->objectName());
    ASSERT_NE(built, nullptr);
    for (const char* name : {"HighlightColor", "FontName", "FontHeight", "FontStyle", "Caption", "TextAngle",
                             "ShadowColor", "HeaderFontText", "Title", "Copies"}) {
      if (designed->metaObject()->indexOfProperty(name) >= 0) {
        EXPECT_EQ(built->property(name), designed->property(name)) << name;
      }
    }
  }

  // Opened again in Designer, the form shows what was edited.
  std::unique_ptr<QDesignerFormWindowInterface> reopened(OpenForm(written));
  QWidget* label2 = reopened->mainContainer()->findChild<QWidget*>(QStringLiteral("flblGo"));
  ASSERT_NE(label2, nullptr);
  EXPECT_EQ(Describe(Sheet(label2)->property(ShownIndex(Sheet(label2), QStringLiteral("HighlightColor")))), "#ff0000");
  EXPECT_EQ(Describe(Sheet(label2)->property(ShownIndex(Sheet(label2), QStringLiteral("FontName")))),
            "DejaVu Serif,12,italic");

  // uic sets the numbers the properties take.
  QTemporaryDir dir;
  QFile ui(dir.filePath(QStringLiteral("edited.ui")));
  ASSERT_TRUE(ui.open(QIODevice::WriteOnly));
  ui.write(bytes);
  ui.close();
  QProcess uic;
  uic.start(QStringLiteral(TALLYVANE_UIC), {ui.fileName()});
  ASSERT_TRUE(uic.waitForFinished());
  const QString code = QString::fromUtf8(uic.readAllStandardOutput());
  EXPECT_TRUE(code.contains(QStringLiteral("setProperty(\"HighlightColor\", QVariant(%1u))")
                                .arg(label->property("HighlightColor").toUInt())))
      << code.toStdString();
  EXPECT_TRUE(code.contains(QStringLiteral("setProperty(\"ShadowColor\", QVariant(%1u))")
                                .arg(printer->property("ShadowColor").toUInt())));
  EXPECT_FALSE(code.contains(QStringLiteral("QColor")));
  EXPECT_FALSE(code.contains(QStringLiteral("QFont")));
}

TEST(DesignerSheet, AFontTextTheComponentRefusesLeavesItsFontAndDesignerRunning) {
  QString contents = BareForm();
  contents.replace(QStringLiteral("name=\"PgPrint\"/>"),
                   QStringLiteral("name=\"PgPrint\"><property name=\"HeaderFontText\" stdset=\"0\">"
                                  "<string>no height here</string></property></widget>"));
  std::unique_ptr<QDesignerFormWindowInterface> form(OpenForm(contents));
  QWidget* printer = form->mainContainer()->findChild<QWidget*>(QStringLiteral("PgPrint"));
  ASSERT_NE(printer, nullptr);
  EXPECT_EQ(Describe(Sheet(printer)->property(ShownIndex(Sheet(printer), QStringLiteral("HeaderFontText")))),
            "Courier New,10");
}

TEST(DesignerSheet, TheMainWindowFormSavedByDesignerSetsTheSameValues) {
  QFile file(QStringLiteral(TALLYVANE_SOURCE_DIR "/app/main.ui"));
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  QByteArray original = file.readAll();
  std::unique_ptr<QDesignerFormWindowInterface> form(OpenForm(QString::fromUtf8(original)));
  QByteArray saved = form->contents().toUtf8();

  QUiLoader loader;
  loader.clearPluginPaths();
  loader.addPluginPath(QFileInfo(QStringLiteral(TALLYVANE_DESIGNER_PLUGIN)).absolutePath());
  QBuffer originalBuffer(&original), savedBuffer(&saved);
  std::unique_ptr<QWidget> before(loader.load(&originalBuffer));
  std::unique_ptr<QWidget> after(loader.load(&savedBuffer));
  ASSERT_TRUE(before && after);
  int compared = 0;
  for (QWidget* widget : before->findChildren<QWidget*>()) {
    if (!widget->inherits("TQVXFlashLabel") && !widget->inherits("TPagePrinter")) continue;
    QWidget* twin = after->findChild<QWidget*>(widget->objectName());
    ASSERT_NE(twin, nullptr) << widget->objectName().toStdString();
    const QMetaObject* meta = widget->metaObject();
    for (int i = meta->propertyOffset(); i < meta->propertyCount(); ++i, ++compared)
      EXPECT_EQ(meta->property(i).read(twin), meta->property(i).read(widget))
          << widget->objectName().toStdString() << '.' << meta->property(i).name();
  }
  EXPECT_GT(compared, 0);
}
