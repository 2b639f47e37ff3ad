// SPDX-FileCopyrightText: 2024-2026 The Tallyvane authors
// SPDX-License-Identifier: MIT
#include "SchedulePreview.h"

#include <QAbstractListModel>
#include <QApplication>
#include <QCache>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLabel>
#include <QListView>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSpinBox>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <algorithm>
#include <array>
#include <cmath>

#include "Application.h"
#include "Device.h"
#include "Dialogs.h"
#include "Metafile.h"
#include "PagePrnt.h"
#include "PrintChoice.h"
#include "ScheduleExport.h"
#include "main.h"

namespace {

constexpr std::array<int, 13> kZoomSteps = {10, 25, 33, 50, 67, 75, 100, 125, 150, 200, 300, 400, 800};
constexpr int kThumbnailWidth = 96;

// The sheet and where its recording starts, in the printer's pixels.
struct SheetGeometry {
  int width = 0, height = 0, offsetX = 0, offsetY = 0, dpi = 0;
};

SheetGeometry GeometryOf(const TPagePrinter& pages) {
  SheetGeometry g;
  try {
    const TDeviceContext* dc = pages.Printer()->Handle();
    g.width = GetDeviceCaps(dc, PHYSICALWIDTH);
    g.height = GetDeviceCaps(dc, PHYSICALHEIGHT);
    g.offsetX = GetDeviceCaps(dc, PHYSICALOFFSETX);
    g.offsetY = GetDeviceCaps(dc, PHYSICALOFFSETY);
    g.dpi = GetDeviceCaps(dc, LOGPIXELSX);
  } catch (const EPrinter&) {
  }
  return g;
}

}  // namespace

// The pages as small pictures, drawn when first shown and kept for a while.
class PageThumbnails : public QAbstractListModel {
 public:
  PageThumbnails(TPagePrinter* pages, QListView* view) : QAbstractListModel(view), pages_(pages), view_(view) {
    sheet_ = GeometryOf(*pages);
  }
  int rowCount(const QModelIndex& parent = {}) const override { return parent.isValid() ? 0 : pages_->PageCount(); }
  QVariant data(const QModelIndex& index, int role) const override {
    if (!index.isValid()) return {};
    const int page = index.row() + 1;
    switch (role) {
      case Qt::DisplayRole: return QString::number(page);
      case Qt::AccessibleTextRole:
      case Qt::ToolTipRole: return QStringLiteral("Page %1").arg(page);
      case Qt::DecorationRole: return Picture(page);
      case Qt::TextAlignmentRole: return int(Qt::AlignHCenter | Qt::AlignBottom);
      default: return {};
    }
  }
  QSize PictureSize() const {
    const double aspect = sheet_.width > 0 ? double(sheet_.height) / sheet_.width : 11.0 / 8.5;
    return {kThumbnailWidth, int(std::lround(kThumbnailWidth * aspect))};
  }

 private:
  QPixmap Picture(int page) const {
    const qreal ratio = view_->devicePixelRatioF();
    const quint64 key = quint64(page) << 8 | quint64(std::lround(ratio * 4));
    if (QPixmap* cached = cache_.object(key)) return *cached;
    const QSize size = PictureSize();
    auto* picture = new QPixmap(size * ratio);
    picture->setDevicePixelRatio(ratio);
    picture->fill(Qt::white);
    {
      QPainter painter(picture);
      painter.setRenderHint(QPainter::Antialiasing);
      painter.setRenderHint(QPainter::TextAntialiasing);
      if (sheet_.width > 0) {
        const double scale = double(size.width()) / sheet_.width;
        const TMetafile& recorded = *pages_->Pages(page);
        const QRect target(int(std::lround(sheet_.offsetX * scale)), int(std::lround(sheet_.offsetY * scale)),
                           std::max(1, int(std::lround(recorded.Width() * scale))),
                           std::max(1, int(std::lround(recorded.Height() * scale))));
        recorded.Play(painter, target);
      }
      painter.setPen(Qt::darkGray);
      painter.drawRect(QRectF(0.5, 0.5, size.width() - 1, size.height() - 1));
    }
    cache_.insert(key, picture);
    return *picture;
  }

  TPagePrinter* pages_;
  QListView* view_;
  SheetGeometry sheet_;
  mutable QCache<quint64, QPixmap> cache_{240};
};

SchedulePreview::SchedulePreview(TMainForm* form, const ScheduleDocument& document) : QDialog(form), form_(form) {
  setWindowTitle(QStringLiteral("Print Preview"));
  setAccessibleName(windowTitle());
  const auto& choice = ChosenPrint();
  pages_ = new TPagePrinter(choice ? choice->printer : nullptr, this);
  pages_->setObjectName(QStringLiteral("previewPages"));
  pages_->setAccessibleName(QStringLiteral("Page"));
  pages_->setFocusPolicy(Qt::StrongFocus);
  ApplySchedulePrinterSettings(*pages_);
  pages_->Font().Assign(form->PgPrint->Font());
  if (choice) pages_->SetOrientation(choice->orientation);
  pages_->SetShowProgress(form->PgPrint->ShowProgress());
  BuildScheduleDocument(*pages_, document);
  const int count = pages_->PageCount();

  pageBox_ = new QSpinBox(this);
  pageBox_->setObjectName(QStringLiteral("pageNumber"));
  pageBox_->setRange(1, std::max(1, count));
  pageBox_->setPrefix(QStringLiteral("Page "));
  pageBox_->setSuffix(QStringLiteral(" of %1").arg(count));
  pageBox_->setKeyboardTracking(false);
  pageBox_->setAccessibleName(QStringLiteral("Page number"));
  pageBox_->setAccessibleDescription(QStringLiteral("Type a page number and press Enter"));
  connect(pageBox_, &QSpinBox::valueChanged, this, [this](int page) { ShowPage(page); });

  zoomLabel_ = new QLabel(this);
  zoomLabel_->setAccessibleName(QStringLiteral("Zoom"));
  zoomLabel_->setMinimumWidth(zoomLabel_->fontMetrics().horizontalAdvance(QStringLiteral("8888 %")));

  auto* bar = new QHBoxLayout;
  bar->addWidget(pageBox_);
  bar->addSpacing(12);
  QPushButton* fitPage = Button(QStringLiteral("Fit P&age"), QStringLiteral("Fit page"), &SchedulePreview::FitPage);
  QPushButton* fitWidth = Button(QStringLiteral("Fit &Width"), QStringLiteral("Fit width"), &SchedulePreview::FitWidth);
  QPushButton* actual = Button(QStringLiteral("&100 %"), QStringLiteral("Actual size"), &SchedulePreview::ActualSize);
  QPushButton* zoomIn = Button(QStringLiteral("Zoom &In"), QStringLiteral("Zoom in"), &SchedulePreview::ZoomIn);
  QPushButton* zoomOut = Button(QStringLiteral("Zoom &Out"), QStringLiteral("Zoom out"), &SchedulePreview::ZoomOut);
  for (QWidget* w : std::initializer_list<QWidget*>{fitPage, fitWidth, actual, zoomIn, zoomOut, zoomLabel_})
    bar->addWidget(w);
  bar->addStretch(1);
  QPushButton* print = Button(QStringLiteral("&Print"), QStringLiteral("Print"), &SchedulePreview::PrintPages);
  QPushButton* pdf =
      Button(QStringLiteral("Save as P&DF..."), QStringLiteral("Save as PDF"), &SchedulePreview::SavePdf);
  auto* close = new QPushButton(QStringLiteral("Close"), this);
  close->setAccessibleName(QStringLiteral("Close"));
  close->setAutoDefault(false);
  connect(close, &QPushButton::clicked, this, &QDialog::reject);
  for (QWidget* w : std::initializer_list<QWidget*>{print, pdf, close}) bar->addWidget(w);

  thumbnails_ = new QListView(this);
  thumbnails_->setObjectName(QStringLiteral("pageThumbnails"));
  thumbnails_->setAccessibleName(QStringLiteral("Page thumbnails"));
  thumbnailModel_ = new PageThumbnails(pages_, thumbnails_);
  thumbnails_->setModel(thumbnailModel_);
  thumbnails_->setViewMode(QListView::ListMode);
  thumbnails_->setFlow(QListView::TopToBottom);
  thumbnails_->setUniformItemSizes(true);
  thumbnails_->setIconSize(thumbnailModel_->PictureSize());
  thumbnails_->setSpacing(4);
  thumbnails_->setSelectionMode(QAbstractItemView::SingleSelection);
  thumbnails_->setFixedWidth(thumbnailModel_->PictureSize().width() + 60);
  connect(thumbnails_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex& current) {
            if (current.isValid()) ShowPage(current.row() + 1);
          });

  auto* body = new QHBoxLayout;
  body->addWidget(thumbnails_);
  body->addWidget(pages_, 1);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(bar);
  layout->addLayout(body, 1);

  const auto key = [this](const QKeySequence& keys, auto&& action) {
    auto* shortcut = new QShortcut(keys, this);
    connect(shortcut, &QShortcut::activated, this, action);
  };
  key(QKeySequence(Qt::Key_PageDown), [this] { ShowPage(CurrentPage() + 1); });
  key(QKeySequence(Qt::Key_PageUp), [this] { ShowPage(CurrentPage() - 1); });
  key(QKeySequence(Qt::Key_Home), [this] { ShowPage(1); });
  key(QKeySequence(Qt::Key_End), [this] { ShowPage(PageCount()); });
  key(QKeySequence::ZoomIn, [this] { ZoomIn(); });
  key(QKeySequence(Qt::CTRL | Qt::Key_Equal), [this] { ZoomIn(); });
  key(QKeySequence::ZoomOut, [this] { ZoomOut(); });
  key(QKeySequence(Qt::CTRL | Qt::Key_0), [this] { ActualSize(); });

  pages_->viewport()->installEventFilter(this);
  pageBox_->installEventFilter(this);
  const QWidget* order[] = {pageBox_, fitPage, fitWidth, actual,      zoomIn, zoomOut,
                            print,    pdf,     close,    thumbnails_, pages_};
  for (size_t i = 1; i < std::size(order); ++i)
    setTabOrder(const_cast<QWidget*>(order[i - 1]), const_cast<QWidget*>(order[i]));
  resize(960, 720);
  ShowPage(1);
  SetZoom(int(pages_->ZoomPercent()));
}

SchedulePreview::~SchedulePreview() = default;

QPushButton* SchedulePreview::Button(const QString& text, const QString& accessibleName,
                                     void (SchedulePreview::*command)()) {
  auto* button = new QPushButton(text, this);
  button->setAccessibleName(accessibleName);
  // Enter in the page box turns to the page; it never presses a button.
  button->setAutoDefault(false);
  connect(button, &QPushButton::clicked, this, [this, command] { Application::Run([&] { (this->*command)(); }); });
  return button;
}

int SchedulePreview::CurrentPage() const { return pages_->PageNumber(); }
int SchedulePreview::PageCount() const { return pages_->PageCount(); }

void SchedulePreview::ShowPage(int page) {
  if (PageCount() == 0) return;
  page = std::clamp(page, 1, PageCount());
  if (page != pages_->PageNumber()) pages_->SetPageNumber(page);
  {
    const QSignalBlocker quiet(pageBox_);
    pageBox_->setValue(page);
  }
  const QModelIndex index = thumbnailModel_->index(page - 1);
  if (thumbnails_->currentIndex() != index) {
    const QSignalBlocker quiet(thumbnails_->selectionModel());
    thumbnails_->selectionModel()->setCurrentIndex(index, QItemSelectionModel::ClearAndSelect);
    thumbnails_->scrollTo(index);
    thumbnails_->viewport()->update();
  }
}

void SchedulePreview::SetZoom(int percent) {
  percent = std::clamp(percent, kZoomSteps.front(), kZoomSteps.back());
  pages_->SetZoomPercent(uint32_t(percent));
  zoomLabel_->setText(QStringLiteral("%1 %").arg(percent));
}

namespace {
// The sheet's extent at 100 %, in screen pixels.
double FullExtent(const TPagePrinter& pages, bool horizontal) {
  return double(pages.PageExtentOnScreen(horizontal)) * 100.0 / std::max(1u, pages.ZoomPercent());
}
}  // namespace

void SchedulePreview::FitPage() {
  const QSize room = pages_->maximumViewportSize() - QSize(2, 2) * int(pages_->ShadowOffset() + 8);
  const double w = FullExtent(*pages_, true), h = FullExtent(*pages_, false);
  if (w <= 0 || h <= 0) return;
  pages_->SetZoomLocation(zlCenter);
  SetZoom(int(std::floor(100.0 * std::min(room.width() / w, room.height() / h))));
}

void SchedulePreview::FitWidth() {
  const int bar = pages_->verticalScrollBar()->sizeHint().width();
  const int room = pages_->maximumViewportSize().width() - bar - 2 * int(pages_->ShadowOffset() + 8);
  const double w = FullExtent(*pages_, true);
  if (w <= 0) return;
  pages_->SetZoomLocation(zlTopCenter);
  SetZoom(int(std::floor(100.0 * room / w)));
}

void SchedulePreview::ActualSize() {
  pages_->SetZoomLocation(zlTopLeft);
  SetZoom(100);
}

void SchedulePreview::ZoomIn() {
  const int now = int(pages_->ZoomPercent());
  const auto next = std::upper_bound(kZoomSteps.begin(), kZoomSteps.end(), now);
  pages_->SetZoomLocation(zlCenter);
  SetZoom(next == kZoomSteps.end() ? kZoomSteps.back() : *next);
}

void SchedulePreview::ZoomOut() {
  const int now = int(pages_->ZoomPercent());
  auto below = std::lower_bound(kZoomSteps.begin(), kZoomSteps.end(), now);
  pages_->SetZoomLocation(zlCenter);
  SetZoom(below == kZoomSteps.begin() ? kZoomSteps.front() : *(below - 1));
}

void SchedulePreview::PrintPages() {
  if (pages_->PrintRunning() || form_->PgPrint->PrintRunning()) return;
  ChoiceInEffect choice(*pages_);
  QString outside;
  if (!choice.SelectPages(outside)) {
    TheDialogs().ShowMessage(Application::Title(), outside);
    return;
  }
  pages_->Print();
}

void SchedulePreview::SavePdf() {
  if (pages_->PrintRunning()) return;
  QString fileName = QStringLiteral("loan-schedule.pdf");
  if (!TheDialogs().SaveFileQuery(QStringLiteral("Save as PDF"), QStringLiteral("PDF files (*.pdf)"), fileName) ||
      fileName.isEmpty())
    return;
  // The PDF's sheet is the one the pages were laid out on, when it has a name.
  const SheetGeometry sheet = GeometryOf(*pages_);
  QPageSize::PageSizeId paper = ChosenOrLocalePaper();
  if (sheet.dpi > 0) {
    const QPageSize::PageSizeId laidOut =
        QPageSize::id(QSizeF(double(sheet.width) / sheet.dpi, double(sheet.height) / sheet.dpi), QPageSize::Inch,
                      QPageSize::FuzzyMatch);
    if (laidOut != QPageSize::Custom) paper = laidOut;
  }
  SaveSchedulePdf(fileName, paper, [&](const std::shared_ptr<TPrinter>& pdf) {
    // The recorded pages themselves, scaled from the printer's resolution to the PDF's.
    pdf->SetTitle(pages_->Title());
    if (pages_->Orientation() == poLandscape) pdf->SetOrientation(poLandscape);
    const int pdfDpi = GetDeviceCaps(pdf->Handle(), LOGPIXELSX);
    const double scale = sheet.dpi > 0 ? double(pdfDpi) / sheet.dpi : 1.0;
    pdf->BeginDoc();
    try {
      for (int page = 1; page <= PageCount(); ++page) {
        if (page > 1) pdf->NewPage();
        const TMetafile& recorded = *pages_->Pages(page);
        pdf->Canvas()->StretchDraw(
            QRect(0, 0, int(std::lround(recorded.Width() * scale)), int(std::lround(recorded.Height() * scale))),
            recorded);
      }
      pdf->EndDoc();
    } catch (...) {
      if (pdf->Printing()) pdf->Abort();
      throw;
    }
    return true;
  });
}

void SchedulePreview::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The first view shows the whole page, once the window has its size.
  if (!fitted_) {
    fitted_ = true;
    FitPage();
    pages_->setFocus();
  }
}

bool SchedulePreview::eventFilter(QObject* watched, QEvent* event) {
  if (watched == pageBox_ && event->type() == QEvent::ShortcutOverride) {
    // The page keys turn pages in the page box too, instead of moving its caret.
    switch (static_cast<QKeyEvent*>(event)->key()) {
      case Qt::Key_Home:
      case Qt::Key_End:
      case Qt::Key_PageUp:
      case Qt::Key_PageDown: event->ignore(); return true;
      default: break;
    }
  }
  if (watched == pages_->viewport() && event->type() == QEvent::Wheel) {
    auto* wheel = static_cast<QWheelEvent*>(event);
    if (wheel->modifiers() & Qt::ControlModifier) {
      const int steps = wheel->angleDelta().y();
      if (steps > 0) ZoomIn();
      if (steps < 0) ZoomOut();
      return true;
    }
  }
  return QDialog::eventFilter(watched, event);
}
