#include "framework/ui/Printing.h"

#include "framework/ui/Modal.h"
#include "framework/ui/qt/Bridge.h"
#include "framework/ui/qt/PrinterImpl.h"

#include <QApplication>
#include <QPageLayout>
#include <QPainter>
#include <QStringList>

#include <cmath>
#include <optional>

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

struct PrinterGraphics::Job {
    std::shared_ptr<QPrinter> printer;
    QPainter painter;
    int width = 0;
    int height = 0;
};

PrinterGraphics::PrinterGraphics(std::unique_ptr<Job> job)
    : Graphics(&job->painter, job->width, job->height), job_(std::move(job)) {}

PrinterGraphics::~PrinterGraphics() {
    job_->painter.end();
}

void PrinterGraphics::NextPage() {
    job_->printer->newPage();
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
    if (!job->painter.begin(job->printer.get()))
        return nullptr;
    // A pixel size, so that text is measured alike on the printer and off it.
    QFont font = QApplication::font();
    font.setPixelSize(kDefaultTextPoints);
    job->painter.setFont(font);
    return std::make_unique<PrinterGraphics>(std::move(job));
}

} // namespace fw
