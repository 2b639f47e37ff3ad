// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// A small report built with the installed page printer: a table of several
// pages with a header and a "Page X of Y" footer, written through PrintToFile
// as text, then laid out again into the component's preview window and printed.
// A hover label is the command that builds it. Pages go to a PDF file through
// the PDF printer, or with --system to the system's default printer. Then a
// form that uses both components is loaded through the installed Qt Designer
// plugin, as QUiLoader (and Designer) do.
//
//   consumer-report TEXTFILE PDFFILE
//   consumer-report TEXTFILE --system
#include <QApplication>
#include <QBuffer>
#include <QMainWindow>
#include <QUiLoader>
#include <QVBoxLayout>
#include <cstdio>
#include <memory>

#include <tallyvane/PagePrnt.h>
#include <tallyvane/Printer.h>
#include <tallyvane/QVXFlashLabel.h>

namespace {

// One page per part, so the count means something in the text file too (its
// pages are the ones the caller starts).
constexpr int kParts = 3;
constexpr int kRowsPerPart = 20;

void BuildReport(TPagePrinter& report, const QString& textFile) {
  report.SetTitle(QStringLiteral("Quarterly figures"));
  report.SetHeader(QStringLiteral("{$TITLE}|{$DATE}"));
  report.SetHeaderFormat(QStringLiteral("<3|>2"));
  report.SetFooter(QStringLiteral("Page {$PAGE} of {$PAGECOUNT}"));
  report.SetFooterFormat(QStringLiteral("^4"));
  report.SetTableFormat(QStringLiteral("<2|>1.5|>1.5"));
  report.SetFileName(textFile);
  report.SetShowProgress(false);
  for (const bool toFile : {true, false}) {
    report.SetPrintToFile(toFile);
    report.BeginDoc();
    report.WriteLine(QStringLiteral("Sales by region"));
    report.WriteTableLine(QStringLiteral("Region|Units|Revenue"));
    report.WriteTableLine(QStringLiteral("North|1200|36,000.00"));
    report.WriteTableLine(QStringLiteral("South|950|28,500.00"));
    for (int part = 1; part <= kParts; ++part) {
      if (part > 1) report.NewPage();
      report.WriteLine(QStringLiteral("Branches, part %1").arg(part));
      for (int row = 1; row <= kRowsPerPart; ++row) {
        const int i = (part - 1) * kRowsPerPart + row;
        report.WriteTableLine(QStringLiteral("Branch %1|%2|%3.00").arg(i).arg(i * 10).arg(i * 300));
      }
    }
    report.EndDoc();
  }
}

// Both components from a form, created by the installed Designer plugin.
bool LoadDesignerForm(const QString& pluginDir) {
  static const char kForm[] = R"(<ui version="4.0"><class>Form</class>
 <widget class="QWidget" name="Form">
  <widget class="TQVXFlashLabel" name="flblGo">
   <property name="Caption" stdset="0"><string>Calculate</string></property>
  </widget>
  <widget class="TPagePrinter" name="PgPrint">
   <property name="Footer" stdset="0"><string>Page {$PAGE} of {$PAGECOUNT}</string></property>
  </widget>
 </widget>
 <customwidgets>
  <customwidget><class>TQVXFlashLabel</class><extends>QWidget</extends><header>QVXFlashLabel.h</header></customwidget>
  <customwidget><class>TPagePrinter</class><extends>QScrollArea</extends><header>PagePrnt.h</header></customwidget>
 </customwidgets></ui>)";
  QUiLoader loader;
  loader.clearPluginPaths();
  loader.addPluginPath(pluginDir);
  const QStringList available = loader.availableWidgets();
  QByteArray bytes(kForm);
  QBuffer form(&bytes);
  form.open(QIODevice::ReadOnly);
  std::unique_ptr<QWidget> widget(loader.load(&form));
  if (!widget) {
    std::fprintf(stderr, "the form did not load: %s\n", qPrintable(loader.errorString()));
    return false;
  }
  auto* label = widget->findChild<TQVXFlashLabel*>(QStringLiteral("flblGo"));
  auto* printer = widget->findChild<TPagePrinter*>(QStringLiteral("PgPrint"));
  if (!label || !printer || !available.contains(QStringLiteral("TQVXFlashLabel")) ||
      !available.contains(QStringLiteral("TPagePrinter"))) {
    std::fprintf(stderr, "the Designer plugin in %s did not make both components\n", qPrintable(pluginDir));
    return false;
  }
  std::printf("designer form: %s \"%s\", %s \"%s\"\n", label->metaObject()->className(), qPrintable(label->Caption()),
              printer->metaObject()->className(), qPrintable(printer->Footer()));
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: consumer-report TEXTFILE (PDFFILE | --system)\n");
    return 2;
  }
  // Where pages go; the layout, also of the text file, follows that printer's page.
  if (args.at(2) == QLatin1String("--system")) {
    SetPrinter(MakeSystemPrinter());
  } else {
    SetPrinter(MakePdfPrinter(args.at(2)));
  }

  QMainWindow window;
  auto* central = new QWidget(&window);
  auto* layout = new QVBoxLayout(central);
  auto* command = new TQVXFlashLabel(central);
  command->SetCaption(QStringLiteral("Build report"));
  auto* preview = new TPagePrinter(central);
  layout->addWidget(command);
  layout->addWidget(preview, 1);
  window.setCentralWidget(central);

  int status = 1;
  command->SetOnClick([&](QObject*) {
    try {
      BuildReport(*preview, args.at(1));
      status = preview->Print() ? 0 : 1;
    } catch (const Exception& e) {
      std::fprintf(stderr, "report failed: %s\n", e.what());
    }
  });
  window.resize(640, 480);
  window.show();
  // The command as a user would give it: the label's click.
  command->OnClick()(command);
  std::printf("pages in the preview: %d\n", preview->PageCount());
#ifdef TALLYVANE_DESIGNER_PLUGIN_DIR
  if (!LoadDesignerForm(QStringLiteral(TALLYVANE_DESIGNER_PLUGIN_DIR))) status = 1;
#endif
  return status;
}
