#include "framework/ui/Printing.h"

#include "framework/ui/Modal.h"
#include "framework/ui/qt/Bridge.h"
#include "framework/ui/qt/PrinterImpl.h"

#include <QApplication>
#include <QPageLayout>
#include <QPainter>
#include <QPicture>
#include <QStringList>

#include <algorithm>
#include <cmath>
#include <optional>
#include <vector>

namespace fw {
namespace {

// Larger than any paper a printer takes (200 inches); keeps a stray setup string from making absurd pages.
constexpr double kMaxPaperPoints = 14400;
// The surface's default text: small enough for one line in the 12 points a report line has.
constexpr int kDefaultTextPoints = 10;

std::optional<double> Points(const QString& text) {
    bool ok = false;
    const double value = text.toDouble(&ok);
    if (!ok || !std::isfinite(value) || value < 0 || value > kMaxPaperPoints)
        return std::nullopt;
    return value;
}

// The page layout a setup string describes, or nothing when it describes none that can be printed.
std::optional<QPageLayout> ParseSetup(const std::string& setup) {
    QString width, height, orientation, margins;
    for (const QString& field : detail::Q(setup).split(';')) {
        const QString key = field.section('=', 0, 0);
        const QString value = field.section('=', 1);
        if (key == "width")
            width = value;
        else if (key == "height")
            height = value;
        else if (key == "orientation")
            orientation = value;
        else if (key == "margins")
            margins = value;
    }
    const std::optional<double> w = Points(width);
    const std::optional<double> h = Points(height);
    const QStringList edges = margins.split(',');
    if (!w || !h || *w < 1 || *h < 1 || edges.size() != 4 ||
        (orientation != "portrait" && orientation != "landscape"))
        return std::nullopt;
    double edge[4];
    for (int i = 0; i < 4; ++i) {
        const std::optional<double> e = Points(edges[i]);
        if (!e)
            return std::nullopt;
        edge[i] = *e;
    }
    const bool landscape = orientation == "landscape";
    const double across = landscape ? *h : *w;
    const double down = landscape ? *w : *h;
    // Margins are those of the page as it is printed; they must leave something to print on.
    if (edge[0] + edge[2] >= across || edge[1] + edge[3] >= down)
        return std::nullopt;
    return QPageLayout(QPageSize(QSizeF(*w, *h), QPageSize::Point),
                       landscape ? QPageLayout::Landscape : QPageLayout::Portrait,
                       QMarginsF(edge[0], edge[1], edge[2], edge[3]), QPageLayout::Point);
}

// The pages (from 1) the print dialog chose, in its order, once for each copy the printer does not make
// itself: a PDF file or a printer without copies of its own leaves range, order and copies to the program.
std::vector<int> ChosenPages(const QPrinter& printer, int count) {
    const QPageRanges ranges =
        printer.printRange() == QPrinter::PageRange ? printer.pageRanges() : QPageRanges();
    std::vector<int> set;
    for (int page = 1; page <= count; ++page)
        if (ranges.isEmpty() || ranges.contains(page))
            set.push_back(page);
    if (printer.pageOrder() == QPrinter::LastPageFirst)
        std::reverse(set.begin(), set.end());
    const int copies = printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount());
    std::vector<int> chosen;
    if (printer.collateCopies()) {
        for (int copy = 0; copy < copies; ++copy)
            chosen.insert(chosen.end(), set.begin(), set.end());
    } else {
        for (const int page : set)
            chosen.insert(chosen.end(), copies, page);
    }
    return chosen;
}

} // namespace

PrinterSetup::PrinterSetup() : impl_(std::make_unique<Impl>()) {}

PrinterSetup::~PrinterSetup() = default;

std::string PrinterSetup::SetupString() const {
    const QPageLayout layout = impl_->printer->pageLayout();
    const QSizeF points = layout.pageSize().size(QPageSize::Point);
    const QMarginsF m = layout.margins(QPageLayout::Point);
    const QString text = QStringLiteral("width=%1;height=%2;orientation=%3;margins=%4,%5,%6,%7")
                             .arg(points.width())
                             .arg(points.height())
                             .arg(layout.orientation() == QPageLayout::Landscape ? "landscape" : "portrait")
                             .arg(m.left())
                             .arg(m.top())
                             .arg(m.right())
                             .arg(m.bottom());
    return detail::S(text);
}

void PrinterSetup::SetSetupString(const std::string& setup) {
    if (const std::optional<QPageLayout> layout = ParseSetup(setup))
        impl_->printer->setPageLayout(*layout);
}

bool PrinterSetup::PageSetupDialog() {
    return Modal().PageSetupDialog(*this);
}

// Whole points within the printable area, never past it.
int PrinterSetup::PageWidth() const {
    return static_cast<int>(std::floor(impl_->printer->pageLayout().paintRect(QPageLayout::Point).width()));
}

int PrinterSetup::PageHeight() const {
    return static_cast<int>(std::floor(impl_->printer->pageLayout().paintRect(QPageLayout::Point).height()));
}

void PrinterSetup::PrintToFile(const std::string& path) {
    impl_->printer->setOutputFormat(QPrinter::PdfFormat);
    impl_->printer->setOutputFileName(detail::Q(path));
}

void PrinterSetup::SetJobChoice(const JobChoice& choice) {
    QPrinter& printer = *impl_->printer;
    const bool range = choice.fromPage > 0;
    printer.setPrintRange(range ? QPrinter::PageRange : QPrinter::AllPages);
    printer.setFromTo(range ? choice.fromPage : 0, range ? std::max(choice.fromPage, choice.toPage) : 0);
    printer.setCopyCount(choice.copies);
    printer.setCollateCopies(choice.collate);
    printer.setPageOrder(choice.lastPageFirst ? QPrinter::LastPageFirst : QPrinter::FirstPageFirst);
}

struct PrinterGraphics::Job {
    std::shared_ptr<QPrinter> printer;
    // Every page is laid out before any is printed: the dialog's order may put the last one first.
    std::vector<QPicture> pages;
    // Draws on the last of the pages.
    QPainter painter;
    int width = 0;
    int height = 0;

    void StartPage(const QFont& font) {
        pages.emplace_back();
        painter.begin(&pages.back());
        painter.setFont(font);
    }
    void Print() {
        const std::vector<int> chosen = ChosenPages(*printer, static_cast<int>(pages.size()));
        // A range past the last page prints nothing, not even an empty page.
        QPainter out;
        if (chosen.empty() || !out.begin(printer.get()))
            return;
        // A picture plays back scaled from its own resolution to the printer's; the pages were drawn in the
        // printer's units already.
        const QPicture& first = pages.front();
        out.scale(qreal(first.logicalDpiX()) / printer->logicalDpiX(),
                  qreal(first.logicalDpiY()) / printer->logicalDpiY());
        for (size_t i = 0; i < chosen.size(); ++i) {
            if (i > 0)
                printer->newPage();
            out.drawPicture(0, 0, pages[chosen[i] - 1]);
        }
    }
};

PrinterGraphics::PrinterGraphics(std::unique_ptr<Job> job)
    : Graphics(&job->painter, job->width, job->height), job_(std::move(job)) {}

PrinterGraphics::~PrinterGraphics() {
    job_->painter.end();
    job_->Print();
}

void PrinterGraphics::NextPage() {
    const QFont font = job_->painter.font();
    job_->painter.end();
    job_->StartPage(font);
}

std::unique_ptr<PrinterGraphics> OpenPrinter(PrinterSetup& setup) {
    if (!Modal().PrintDialog(setup))
        return nullptr;
    auto job = std::make_unique<PrinterGraphics::Job>();
    job->printer = setup.impl().printer;
    job->width = setup.PageWidth();
    job->height = setup.PageHeight();
    // Device units of one point, whatever printer the dialog chose: what is drawn at 72 lands an inch in.
    job->printer->setResolution(72);
    // A pixel size, so that text is measured alike on the printer and off it.
    QFont font = QApplication::font();
    font.setPixelSize(kDefaultTextPoints);
    job->StartPage(font);
    return std::make_unique<PrinterGraphics>(std::move(job));
}

} // namespace fw
