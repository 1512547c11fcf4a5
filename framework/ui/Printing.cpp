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

// The pages the print dialog chose besides the printer. A PDF file, or a printer that makes no copies of its
// own, leaves the range, the order and the copies to the program.
struct PageChoice {
    explicit PageChoice(const QPrinter& printer)
        : ranges(printer.printRange() == QPrinter::PageRange ? printer.pageRanges() : QPageRanges()),
          lastFirst(printer.pageOrder() == QPrinter::LastPageFirst),
          copies(printer.supportsMultipleCopies() ? 1 : std::max(1, printer.copyCount())),
          collate(printer.collateCopies()) {}

    // Every page once, in the order drawn.
    bool AsDrawn() const { return ranges.isEmpty() && !lastFirst && copies == 1; }

    // Of `count` pages, those to print (numbered from 1), in printing order.
    std::vector<int> Pages(int count) const {
        std::vector<int> set;
        for (int page = 1; page <= count; ++page)
            if (ranges.isEmpty() || ranges.contains(page))
                set.push_back(page);
        if (lastFirst)
            std::reverse(set.begin(), set.end());
        std::vector<int> pages;
        if (collate) {
            for (int copy = 0; copy < copies; ++copy)
                pages.insert(pages.end(), set.begin(), set.end());
        } else {
            for (const int page : set)
                pages.insert(pages.end(), copies, page);
        }
        return pages;
    }

    QPageRanges ranges;
    bool lastFirst;
    int copies;
    bool collate;
};

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
    PageChoice choice;
    // Drawn on the printer when every page goes there once as drawn; otherwise on the last of the pages,
    // which are all laid out before any is printed, since the chosen order may put the last one first.
    QPainter painter;
    std::vector<QPicture> pages;
    int width = 0;
    int height = 0;

    Job(std::shared_ptr<QPrinter> p, int w, int h)
        : printer(std::move(p)), choice(*printer), width(w), height(h) {}

    bool Start(const QFont& font) {
        if (!painter.begin(choice.AsDrawn() ? static_cast<QPaintDevice*>(printer.get())
                                            : &pages.emplace_back()))
            return false;
        painter.setFont(font);
        return true;
    }
    void NextPage() {
        if (choice.AsDrawn()) {
            printer->newPage();
            return;
        }
        const QFont font = painter.font();
        painter.end();
        Start(font);
    }
    void End() {
        painter.end();
        if (choice.AsDrawn())
            return;
        const std::vector<int> chosen = choice.Pages(static_cast<int>(pages.size()));
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
    job_->End();
}

void PrinterGraphics::NextPage() {
    job_->NextPage();
}

std::unique_ptr<PrinterGraphics> OpenPrinter(PrinterSetup& setup) {
    if (!Modal().PrintDialog(setup))
        return nullptr;
    // Device units of one point, whatever printer the dialog chose: what is drawn at 72 lands an inch in.
    setup.impl().printer->setResolution(72);
    auto job =
        std::make_unique<PrinterGraphics::Job>(setup.impl().printer, setup.PageWidth(), setup.PageHeight());
    // A pixel size, so that text is measured alike on the printer and off it.
    QFont font = QApplication::font();
    font.setPixelSize(kDefaultTextPoints);
    if (!job->Start(font))
        return nullptr;
    return std::make_unique<PrinterGraphics>(std::move(job));
}

} // namespace fw
