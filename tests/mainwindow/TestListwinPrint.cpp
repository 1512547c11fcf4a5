// Page Setup and Print: the report as it lands in a PDF file, read back with poppler's pdftotext.
#include "ListwinFixture.h"

#include "framework/Thread.h"

#include <QHeaderView>
#include <QProcess>
#include <QRegularExpression>

namespace {

struct Word {
    double x, top, right, bottom;
    std::string text;
};
using Page = std::vector<Word>;

// "width=...;margins=m,m,m,m" for an upright page of this size in points.
std::string Paper(int width, int height, int margin) {
    const std::string m = std::to_string(margin);
    return "width=" + std::to_string(width) + ";height=" + std::to_string(height) +
           ";orientation=portrait;margins=" + m + "," + m + "," + m + "," + m;
}

// What a poppler tool writes about the PDF file.
QString Poppler(const QString& tool, QStringList arguments) {
    QProcess process;
    process.start(tool, arguments);
    EXPECT_TRUE(process.waitForFinished(30000)) << tool.toStdString();
    return QString::fromUtf8(process.readAllStandardOutput());
}

// Every word of the PDF with its box in points from the paper's top left, page by page.
std::vector<Page> ReadPdf(const std::string& pdf) {
    const QString html = Poppler("pdftotext", {"-bbox", QString::fromStdString(pdf), "-"});
    static const QRegularExpression tag(
        R"re(<page |<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">([^<]*)</word>)re");
    std::vector<Page> pages;
    for (auto it = tag.globalMatch(html); it.hasNext();) {
        const QRegularExpressionMatch m = it.next();
        if (m.captured(0) == "<page ")
            pages.emplace_back();
        else if (!pages.empty())
            pages.back().push_back({m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(),
                                    m.captured(4).toDouble(), m.captured(5).toStdString()});
    }
    return pages;
}

std::vector<std::string> Texts(const Page& page) {
    std::vector<std::string> texts;
    for (const Word& word : page)
        texts.push_back(word.text);
    return texts;
}

const Word* Find(const Page& page, const std::string& text) {
    for (const Word& word : page)
        if (word.text == text)
            return &word;
    return nullptr;
}

class ListwinPrintTest : public ListwinTest {
protected:
    std::string Pdf() const { return home_.Path() + "/list.pdf"; }
    bool Printed() const { return std::filesystem::exists(Pdf()); }
    // The on-screen widths of Name, URL, Status and Code, as a drag of the heading's edges leaves them.
    void SetWidths(std::array<int, 4> widths) {
        for (int k = 0; k < 4; ++k)
            View().horizontalHeader()->resizeSection(quillfen::BookmarkColumn::Name + k, widths[k]);
    }
    // File > Print, confirming a page setup of `setup` and printing to the PDF file.
    std::vector<Page> Print(const std::string& setup) {
        modal_.pageSetupChoice = setup;
        modal_.printToPdf = Pdf();
        EXPECT_TRUE(win_->HandleMenuCommand("FilePrint"));
        return ReadPdf(Pdf());
    }
    // Every word lies within the printable area of a page `width` x `height` with margins `margin`.
    static void ExpectInside(const std::vector<Page>& pages, int width, int height, int margin) {
        for (const Page& page : pages)
            for (const Word& word : page) {
                EXPECT_GE(word.x, margin - 0.5) << word.text;
                EXPECT_LE(word.right, width - margin + 0.5) << word.text;
                EXPECT_GE(word.top, margin - 0.5) << word.text;
                EXPECT_LE(word.bottom, height - margin + 0.5) << word.text;
            }
    }
};

// The on-screen widths scaled to the printable width less the left margin give each column its x: the title
// at column 2, headings and cells at their columns.
TEST_F(ListwinPrintTest, ColumnsScaleToThePrintableWidth) {
    struct Case {
        int width, height, margin;
        std::array<int, 4> x; // on the paper: the margin plus the column's x
    };
    const Case cases[] = {
        {630, 800, 10, {20, 140, 380, 500}}, // 610 printable: widths 120, 240, 120, 120
        {612, 792, 36, {46, 152, 364, 470}}, // 540 printable: widths 106, 212, 106, 106
    };
    AddBookmark("Alpha", "http://alpha.example/", 1);
    SetResult(0, "OK", "200");
    SetWidths({100, 200, 100, 100});
    for (const Case& c : cases) {
        const std::vector<Page> pages = Print(Paper(c.width, c.height, c.margin));
        ASSERT_EQ(pages.size(), 1u);
        const Page& page = pages[0];
        const char* words[2][4] = {{"Name", "URL", "Status", "Code"}, {"Alpha", "http://alpha.example/", "OK", "200"}};
        for (const auto& line : words)
            for (int k = 0; k < 4; ++k) {
                const Word* word = Find(page, line[k]);
                ASSERT_NE(word, nullptr) << line[k];
                EXPECT_NEAR(word->x, c.x[k], 1.0) << line[k] << " on " << c.width;
            }
        ASSERT_NE(Find(page, "Safari"), nullptr);
        EXPECT_NEAR(Find(page, "Safari")->x, c.x[1], 1.0);
        // Title above headings above the row, 12 points between heading and row.
        EXPECT_LT(Find(page, "Safari")->bottom, Find(page, "Name")->top);
        EXPECT_NEAR(Find(page, "Alpha")->bottom - Find(page, "Name")->bottom, 12, 0.5);
        ExpectInside(pages, c.width, c.height, c.margin);
    }
}

// A name and a URL longer than their columns are cut to one line within them; the next row follows 12 below.
TEST_F(ListwinPrintTest, LongCellsAreShortenedToOneLine) {
    AddBookmark(std::string(200, 'n'), "http://example.org/" + std::string(400, 'u'), 1);
    AddBookmark("next", "http://next/", 2);
    SetWidths({100, 200, 100, 100});
    const std::vector<Page> pages = Print(Paper(630, 800, 10));
    ASSERT_EQ(pages.size(), 1u);
    const Page& page = pages[0];
    const Word* url = nullptr;
    for (const Word& word : page)
        if (word.text.rfind("http://example.org/", 0) == 0)
            url = &word;
    ASSERT_NE(url, nullptr);
    EXPECT_LT(url->text.size(), 400u);
    EXPECT_NE(url->text.find("\xE2\x80\xA6"), std::string::npos); // the ellipsis
    EXPECT_LE(url->right, 140 + 240 + 0.5);
    EXPECT_NEAR(Find(page, "next")->bottom - url->bottom, 12, 0.5);
    EXPECT_EQ(Texts(page).size(), 5u + 4u + 2u * 2u); // title, headings, two rows of name and URL
    ExpectInside(pages, 630, 800, 10);
}

// Rows run on to further pages at 12 with no logo, title or headings, in the list's current order, and no
// line reaches below the printable area.
TEST_F(ListwinPrintTest, RowsRunOnToFurtherPages) {
    constexpr int kRows = 40;
    for (int i = kRows - 1; i >= 0; --i)
        AddBookmark("Row" + fw::Format(i, "00"), "http://x/", kRows - i);
    win_->HandleMenuCommand("SortlistbyBookmarkname");
    const std::vector<Page> pages = Print(Paper(630, 219, 10));
    ASSERT_GE(pages.size(), 3u);
    std::vector<std::string> names;
    double firstRowOnFirstPage = 0;
    for (size_t p = 0; p < pages.size(); ++p) {
        EXPECT_EQ(Find(pages[p], "Name") != nullptr, p == 0) << "page " << p;
        EXPECT_EQ(Find(pages[p], "Safari") != nullptr, p == 0) << "page " << p;
        double previous = 0;
        for (const Word& word : pages[p]) {
            if (word.text.rfind("Row", 0) != 0)
                continue;
            if (previous > 0) {
                EXPECT_NEAR(word.bottom - previous, 12, 0.5) << word.text;
            } else if (p == 0) {
                firstRowOnFirstPage = word.bottom;
            } else { // baseline 12 instead of 102
                EXPECT_NEAR(word.bottom, firstRowOnFirstPage - 90, 0.5) << "page " << p;
            }
            previous = word.bottom;
            names.push_back(word.text);
        }
    }
    ASSERT_EQ(names.size(), size_t(kRows));
    for (int i = 0; i < kRows; ++i)
        EXPECT_EQ(names[i], "Row" + fw::Format(i, "00"));
    ExpectInside(pages, 630, 219, 10);
}

// An empty list prints the logo, the title and the headings only, on one page; the logo's 128 pixels fill 64
// points (144 per inch).
TEST_F(ListwinPrintTest, EmptyListPrintsLogoTitleAndHeadings) {
    const std::vector<Page> pages = Print(Paper(612, 792, 36));
    ASSERT_EQ(pages.size(), 1u);
    EXPECT_EQ(Texts(pages[0]),
              (std::vector<std::string>{"Safari", "Quillfen", "-", "Bookmark", "List", "Name", "URL", "Status", "Code"}));
    const QStringList images = Poppler("pdfimages", {"-list", QString::fromStdString(Pdf())}).split('\n');
    ASSERT_GE(images.size(), 3);
    EXPECT_TRUE(images[2].simplified().startsWith("1 0 image 128 128")) << images[2].toStdString();
    EXPECT_EQ(images[2].simplified().section(' ', 12, 13), "144 144") << images[2].toStdString();
}

// While it prints, threads run between rows: a row changed before it is reached prints its new text, rows
// removed meanwhile are not printed and do not stop the printout.
TEST_F(ListwinPrintTest, RowsChangedWhilePrintingPrintAsTheyAreReached) {
    for (int i = 0; i < 40; ++i)
        AddBookmark("Row" + fw::Format(i, "00"), "http://x/", i + 1);
    fw::Thread thread;
    thread.RunEvent = [this] {
        List().SetCell(20, quillfen::BookmarkColumn::Name, "Changed");
        while (List().ListCount() > 30)
            List().RemoveRow(List().ListCount() - 1);
    };
    thread.Run();
    std::vector<std::string> printed;
    for (const Page& page : Print(Paper(630, 219, 10)))
        for (const std::string& text : Texts(page))
            if (text.rfind("Row", 0) == 0 || text == "Changed")
                printed.push_back(text);
    std::vector<std::string> expected;
    for (int i = 0; i < 30; ++i)
        expected.push_back(i == 20 ? "Changed" : "Row" + fw::Format(i, "00"));
    EXPECT_EQ(printed, expected);
    EXPECT_FALSE(thread.IsRunning());
}

// Cancelling either dialog prints nothing; a confirmed page setup is kept through a cancelled print and offered
// by the next Page Setup and Print; a new main window starts from the default page setup.
TEST_F(ListwinPrintTest, PageSetupLastsAsLongAsTheWindow) {
    const std::string fresh = fw::PrinterSetup().SetupString();
    const std::string chosen = Paper(630, 800, 10);
    struct Step {
        const char* command;
        std::optional<std::string> pageSetup; // nothing: cancelled
        bool print;                            // the print dialog confirmed
        std::string offered, kept;
        int printDialogs;
    };
    const Step steps[] = {
        {"FilePrint", std::nullopt, true, fresh, "", 0},
        {"FilePageSetup", std::nullopt, false, fresh, "", 0},
        {"FilePrint", chosen, false, fresh, chosen, 1},
        {"FilePageSetup", std::nullopt, false, chosen, chosen, 1},
        {"FilePageSetup", Paper(612, 792, 36), false, chosen, Paper(612, 792, 36), 1},
        {"FilePrint", "", true, Paper(612, 792, 36), Paper(612, 792, 36), 2},
    };
    for (const Step& step : steps) {
        modal_.pageSetupChoice = step.pageSetup;
        modal_.printToPdf = step.print ? std::optional(Pdf()) : std::nullopt;
        EXPECT_TRUE(win_->HandleMenuCommand(step.command));
        EXPECT_EQ(modal_.pageSetupsOffered.back(), step.offered) << step.command;
        EXPECT_EQ(win_->printSettings, step.kept) << step.command;
        EXPECT_EQ(modal_.printDialogs, step.printDialogs) << step.command;
        EXPECT_EQ(Printed(), step.printDialogs == 2) << step.command;
    }

    // File > New: the window goes and a new one comes.
    win_->Close();
    fw::detail::FreeRetiredWindows();
    win_ = &fw::Instance<quillfen::Listwin>();
    modal_.pageSetupChoice.reset();
    win_->HandleMenuCommand("FilePageSetup");
    EXPECT_EQ(modal_.pageSetupsOffered.back(), fresh);
    EXPECT_EQ(win_->printSettings, "");
}

} // namespace
