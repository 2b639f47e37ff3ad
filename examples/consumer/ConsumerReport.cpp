// A small report built with the installed page printer: a table with a header
// and a footer, written through PrintToFile as text, then laid out again into
// the component's preview window and printed. A hover label is the command that
// builds it. Pages go to a PDF file through the PDF printer, or with --system
// to the system's default printer.
//
//   consumer-report TEXTFILE PDFFILE
//   consumer-report TEXTFILE --system
#include <QApplication>
#include <QMainWindow>
#include <QVBoxLayout>
#include <cstdio>
#include <memory>

#include <tallyvane/PagePrnt.h>
#include <tallyvane/Printer.h>
#include <tallyvane/QVXFlashLabel.h>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList args = app.arguments();
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: consumer-report TEXTFILE (PDFFILE | --system)\n");
    return 2;
  }
  const QString textFile = args.at(1);
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
      preview->SetTitle(QStringLiteral("Quarterly figures"));
      preview->SetHeader(QStringLiteral("{$TITLE}|{$DATE}"));
      preview->SetHeaderFormat(QStringLiteral("<3|>2"));
      preview->SetFooter(QStringLiteral("Page {$PAGE}"));
      preview->SetFooterFormat(QStringLiteral("^1"));
      preview->SetTableFormat(QStringLiteral("<2|>1.5|>1.5"));
      preview->SetFileName(textFile);
      preview->SetShowProgress(false);
      for (const bool toFile : {true, false}) {
        preview->SetPrintToFile(toFile);
        preview->BeginDoc();
        preview->WriteLine(QStringLiteral("Sales by region"));
        preview->WriteTableLine(QStringLiteral("Region|Units|Revenue"));
        preview->WriteTableLine(QStringLiteral("North|1200|36,000.00"));
        preview->WriteTableLine(QStringLiteral("South|950|28,500.00"));
        preview->EndDoc();
      }
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
  return status;
}
