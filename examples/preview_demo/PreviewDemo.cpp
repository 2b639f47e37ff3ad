// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
// Page printer preview demo: builds a loan schedule of a few pages (a header,
// a footer, borders, a column heading repeated on every page, table rows laid
// out by TableFormat, a totals row and a wrapped paragraph) and shows it in
// the component's own preview, with page and zoom controls and a Print button.
//
// It prints to the system's default printer when CUPS has one, otherwise to a
// PDF file in the temporary directory, so it runs anywhere.
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QLabel>
#include <QLocale>
#include <QMainWindow>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>
#include <cmath>
#include <memory>

#include "Application.h"
#include "Conversions.h"
#include "Graphics.h"
#include "PagePrnt.h"
#include "Printer.h"

namespace {

// The system printer when one is usable, otherwise a PDF file.
QString InstallPrinter() {
  std::unique_ptr<TPrinter> system = MakeSystemPrinter();
  try {
    system->Handle();
    SetPrinter(std::move(system));
    return QStringLiteral("Printer: system default queue");
  } catch (const EPrinter&) {
  }
  const QString file = QDir::temp().filePath(QStringLiteral("pageprinter-preview-demo.pdf"));
  SetPrinter(MakePdfPrinter(file));
  return QStringLiteral("No system printer: printing goes to ") + QDir::toNativeSeparators(file);
}

QString Money(double v) { return QLocale(QLocale::English, QLocale::UnitedStates).toString(v, 'f', 2); }

class DemoWindow : public QMainWindow {
 public:
  explicit DemoWindow(const QString& printerNote) {
    setWindowTitle(QStringLiteral("Page printer preview demo"));

    preview_ = new TPagePrinter(this);
    setCentralWidget(preview_);
    SetUpDocument();
    BuildDocument();

    QToolBar* bar = addToolBar(QStringLiteral("Preview"));
    bar->setMovable(false);
    previous_ = bar->addAction(QStringLiteral("< Previous"), this, [this] { Turn(-1); });
    next_ = bar->addAction(QStringLiteral("Next >"), this, [this] { Turn(+1); });
    pageLabel_ = new QLabel(this);
    pageLabel_->setContentsMargins(12, 0, 12, 0);
    bar->addWidget(pageLabel_);
    bar->addSeparator();
    bar->addWidget(new QLabel(QStringLiteral(" Zoom "), this));
    zoom_ = new QComboBox(this);
    for (int percent : {25, 50, 75, 100, 150, 200}) zoom_->addItem(QStringLiteral("%1 %").arg(percent), percent);
    zoom_->setCurrentIndex(2);
    connect(zoom_, &QComboBox::currentIndexChanged, this,
            [this](int) { preview_->SetZoomPercent(uint32_t(zoom_->currentData().toInt())); });
    bar->addWidget(zoom_);
    bar->addSeparator();
    bar->addAction(QStringLiteral("Print"), this, [this] { PrintDocument(); });

    statusBar()->showMessage(printerNote);
    preview_->SetZoomPercent(75);
    UpdatePageControls();
  }

 private:
  void SetUpDocument() {
    TPagePrinter& pp = *preview_;
    pp.SetTitle(QStringLiteral("Loan Schedule"));
    pp.SetMarginTop(0.75);
    pp.SetMarginBottom(0.75);
    pp.SetMarginLeft(0.6);
    pp.SetMarginRight(0.6);
    // Column widths follow the printer's sheet (Letter, A4, ...), so that the
    // table, header and footer always span the text area exactly.
    const double content = pp.ContentWidth();
    auto width = [](double inches) { return FormatFixed(std::floor(inches * 100) / 100, 2); };
    const double numberColumn = 0.9;
    const QString moneyColumn = width((content - numberColumn) / 4);
    pp.SetHeader(QStringLiteral("{$TITLE}|{$DATE}"));
    pp.SetHeaderFormat(QStringLiteral("<%1|>%2").arg(width(content / 2), width(content / 2)));
    pp.SetFooter(QStringLiteral("Page {$PAGE}"));
    pp.SetFooterFormat(QStringLiteral("^%1").arg(width(content)));
    pp.SetAutoHeaderFont(false);
    pp.HeaderFont().SetStyle(fsBold);
    pp.SetAutoFooterFont(false);
    pp.FooterFont().SetStyle(fsItalic);
    pp.SetPageBorders(BorderBit(pbTop) | BorderBit(pbBottom) | BorderBit(pbLeft) | BorderBit(pbRight));
    pp.SetPageBorderOffset(0.1);
    pp.SetTableFormat(QStringLiteral("^%1|>%2|>%2|>%2|>%2").arg(width(numberColumn), moneyColumn));
    pp.SetShowMargins(false);
    pp.SetZoomLocation(zlTopCenter);
    pp.SetColor(0x00A08070);  // a slate blue under the gradient
    // The column heading opens every page.
    pp.SetOnNewPage([this](QObject*) {
      TPagePrinter& p = *preview_;
      p.Font().SetStyle(fsBold);
      p.WriteTableLine(QStringLiteral("No.|Payment|Principal|Interest|Balance"));
      p.Font().SetStyle(0);
      p.NewLine();
    });
  }

  // 120 monthly payments of a 25,000 loan at 6.5 % a year.
  void BuildDocument() {
    TPagePrinter& pp = *preview_;
    const double amount = 25000, rate = 0.065 / 12;
    const int count = 120;
    const double payment = std::round(amount * rate / (1 - std::pow(1 + rate, -count)) * 100) / 100;
    pp.BeginDoc();
    double balance = amount, totalInterest = 0, totalPrincipal = 0;
    for (int n = 1; n <= count; ++n) {
      const double interest = std::round(balance * rate * 100) / 100;
      double principal = payment - interest;
      if (n == count) principal = balance;
      balance -= principal;
      totalInterest += interest;
      totalPrincipal += principal;
      pp.WriteTableLine(
          QStringLiteral("%1|%2|%3|%4|%5")
              .arg(n)
              .arg(Money(principal + interest), Money(principal), Money(interest), Money(std::abs(balance))));
    }
    pp.NewLine();
    pp.Font().SetStyle(fsBold);
    pp.WriteTableLine(QStringLiteral("Total|%1|%2|%3|")
                          .arg(Money(totalPrincipal + totalInterest), Money(totalPrincipal), Money(totalInterest)));
    pp.Font().SetStyle(0);
    pp.NewLine();
    pp.WriteLine(
        QStringLiteral("Every page of this document was recorded by TPagePrinter: the header and footer rows carry "
                       "the {$TITLE}, {$DATE} and {$PAGE} tokens, the borders sit a tenth of an inch outside the "
                       "margins, the column heading is written by the OnNewPage handler, and long lines such as "
                       "this one wrap at the right margin."));
    pp.EndDoc();
  }

  void Turn(int delta) {
    const int page = preview_->PageNumber() + delta;
    if (page >= 1 && page <= preview_->PageCount()) preview_->SetPageNumber(page);
    UpdatePageControls();
  }

  void UpdatePageControls() {
    const int page = preview_->PageNumber(), count = preview_->PageCount();
    pageLabel_->setText(QStringLiteral("Page %1 of %2").arg(page).arg(count));
    previous_->setEnabled(page > 1);
    next_->setEnabled(page < count);
  }

  void PrintDocument() {
    if (preview_->PrintRunning()) return;
    const int pages = preview_->PageCount();
    bool printed = false;
    const bool ok = Application::Run([&] { printed = preview_->Print(); });
    if (ok)
      statusBar()->showMessage(printed ? QStringLiteral("Printed %1 pages").arg(pages)
                                       : QStringLiteral("Printing cancelled"));
  }

  TPagePrinter* preview_ = nullptr;
  QAction* previous_ = nullptr;
  QAction* next_ = nullptr;
  QLabel* pageLabel_ = nullptr;
  QComboBox* zoom_ = nullptr;
};

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  InstallFontSubstitutions();
  FormatSettings::SetCurrent(FormatSettings::FromLocale(QLocale::system()));
  Application::SetTitle(QStringLiteral("Page printer preview demo"));
  const QString printerNote = InstallPrinter();

  DemoWindow window(printerNote);
  window.resize(1000, 960);
  window.show();
  return app.exec();
}
