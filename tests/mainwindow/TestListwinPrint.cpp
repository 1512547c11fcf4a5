// Page Setup and Print: the report as it lands in a PDF file, read back with poppler's tools.
#include "ListwinFixture.h"

#include <QHeaderView>
#include <QProcess>
#include <QRegularExpression>

namespace {

struct Word {
    double x, bottom;
    std::string text;
};
using Page = std::vector<Word>;

// 630 points wide with margins of 10: 610 printable, 600 for the columns after their left margin.
std::string Paper(int height) {
    return "width=630;height=" + std::to_string(height) + ";orientation=portrait;margins=10,10,10,10";
}

class ListwinPrintTest : public ListwinTest {
protected:
    std::string Pdf() const { return home_.Path() + "/list.pdf"; }
    // What the tool prints about the PDF file; "%" in `arguments` stands for the file.
    QString Poppler(const QString& tool, QStringList arguments) const {
        arguments.replaceInStrings("%", QString::fromStdString(Pdf()));
        QProcess process;
        process.start(tool, arguments);
        EXPECT_TRUE(process.waitForFinished(30000));
        return QString::fromUtf8(process.readAllStandardOutput());
    }
    // File > Print on a page of Paper(height). Every word, with its box in points from the paper's top left,
    // page by page, is checked to lie within the printable area.
    std::vector<Page> Print(int height, std::optional<std::string> setup = {}) {
        modal_.pageSetupChoice = setup.value_or(Paper(height));
        modal_.printToPdf = Pdf();
        EXPECT_TRUE(win_->HandleMenuCommand("FilePrint"));
        static const QRegularExpression tag(
            R"re(<page |xMin="(.*)" yMin="(.*)" xMax="(.*)" yMax="(.*)">(.*)<)re");
        std::vector<Page> pages;
        for (auto it = tag.globalMatch(Poppler("pdftotext", {"-bbox", "%", "-"})); it.hasNext();) {
            const QRegularExpressionMatch m = it.next();
            if (m.captured(0) == "<page ") {
                pages.emplace_back();
                continue;
            }
            const double box[] = {m.captured(1).toDouble(), m.captured(2).toDouble(),
                                  m.captured(3).toDouble(), m.captured(4).toDouble()};
            EXPECT_TRUE(box[0] > 9.5 && box[1] > 9.5 && box[2] < 620.5 && box[3] < height - 9.5)
                << m.captured(5).toStdString();
            pages.back().push_back({box[0], box[3], m.captured(5).toStdString()});
        }
        return pages;
    }
    static Word Find(const Page& page, const std::string& prefix) {
        const auto word =
            std::ranges::find_if(page, [&](const Word& w) { return w.text.rfind(prefix, 0) == 0; });
        EXPECT_NE(word, page.end()) << prefix;
        return word == page.end() ? Word{} : *word;
    }
};

// On-screen widths scaled to the printable width less the left margin give each column its x (the title at
// column 2's); a long URL is cut to one line within its column, 12 below the row before.
TEST_F(ListwinPrintTest, ColumnsScaleToThePrintableWidth) {
    AddBookmark("Alpha", "http://a/", 1);
    AddBookmark("Beta", "http://example.org/" + std::string(300, 'u'), 2);
    SetResult(0, "OK", "200");
    const std::pair<std::array<int, 4>, std::array<int, 4>> cases[] = {
        {{100, 200, 100, 100}, {20, 140, 380, 500}}, // printed 120, 240, 120, 120 after a margin of 10
        {{0, 0, 0, 0}, {20, 170, 320, 470}},         // nothing on screen: equal shares
    };
    for (const auto& [onScreen, x] : cases) {
        for (int k = 0; k < 4; ++k)
            View().horizontalHeader()->resizeSection(quillfen::BookmarkColumn::Name + k, onScreen[k]);
        const Page page = Print(800).at(0);
        const char* columns[2][4] = {{"Name", "URL", "Status", "Code"}, {"Alpha", "http://a/", "OK", "200"}};
        for (const auto& line : columns)
            for (int k = 0; k < 4; ++k)
                EXPECT_NEAR(Find(page, line[k]).x, x[k], 1.0) << line[k];
        EXPECT_NEAR(Find(page, "Safari").x, x[1], 1.0);
        EXPECT_NE(Find(page, "http://example.org/").text.find("\xE2\x80\xA6"), std::string::npos);
        EXPECT_NEAR(Find(page, "http://example.org/").bottom - Find(page, "Alpha").bottom, 12, 0.5);
    }
}

// Rows run on to further pages at 12, in the list's current order, with no title or headings; no line
// reaches below the printable area (a baseline at 198 of 199 would). The pages are laid out first, then the
// print dialog's range, order and copies (collated or not) chosen; a range past the last page prints nothing.
TEST_F(ListwinPrintTest, RowsRunOnToFurtherPages) {
    for (int i = 39; i >= 0; --i)
        AddBookmark("Row" + fw::Format(i, "00"), "http://x/", 40 - i);
    win_->HandleMenuCommand("SortlistbyBookmarkname");
    const std::vector<Page> pages = Print(219);
    std::vector<std::string> rows;
    for (const Page& page : pages) {
        const bool first = &page == &pages[0]; // later pages' rows start at a baseline of 12 instead of 102
        EXPECT_EQ(first, page.at(0).text == "Safari");
        EXPECT_NEAR(Find(page, "Row").bottom, Find(pages[0], "Row").bottom - (first ? 0 : 90), 0.5);
        for (const Word& word : page)
            if (word.text.rfind("Row", 0) == 0)
                rows.push_back(word.text);
    }
    EXPECT_EQ(rows, Column(quillfen::BookmarkColumn::Name)); // Row00 to Row39

    using Choice = fw::PrinterSetup::JobChoice;
    const std::pair<Choice, std::vector<std::string>> choices[] = {
        // from, to, copies, collated, last page first; the first row of each printed page
        {{}, {"Row00", "Row08", "Row24"}},
        {{2, 3}, {"Row08", "Row24"}},
        {{3, 9}, {"Row24"}},
        {{0, 0, 2, true, true}, {"Row24", "Row08", "Row00", "Row24", "Row08", "Row00"}},
        {{1, 2, 2, false}, {"Row00", "Row00", "Row08", "Row08"}},
        {{4, 5}, {}},
    };
    for (const auto& [choice, firstRows] : choices) {
        SCOPED_TRACE(firstRows.size());
        std::filesystem::remove(Pdf());
        modal_.printChoice = choice;
        std::vector<std::string> printed;
        for (const Page& page : Print(219))
            printed.push_back(Find(page, "Row").text);
        EXPECT_EQ(std::pair(printed, std::filesystem::exists(Pdf())),
                  std::pair(firstRows, !firstRows.empty()));
    }
}

// Cancelling either dialog prints nothing; a confirmed page setup outlives a cancelled print and is offered
// next time. An empty list prints the logo (128 pixels in 64 points: 144 per inch), the title and headings.
TEST_F(ListwinPrintTest, PageSetupLastsAsLongAsTheWindow) {
    const std::string fresh = fw::PrinterSetup().SetupString(), a = Paper(800);
    const std::tuple<const char*, std::optional<std::string>, bool, std::string, std::string> steps[] = {
        // command, the page setup confirmed (nothing: cancelled), print confirmed, setup offered, kept
        {"FilePrint", std::nullopt, true, fresh, ""},
        {"FilePrint", a, false, fresh, a},
        {"FilePageSetup", std::nullopt, false, a, a},
    };
    for (const auto& [command, choice, print, offered, kept] : steps) {
        modal_.pageSetupChoice = choice;
        modal_.printToPdf = print ? std::optional(Pdf()) : std::nullopt;
        EXPECT_TRUE(win_->HandleMenuCommand(command));
        EXPECT_EQ(
            std::tuple(modal_.pageSetupsOffered.back(), win_->printSettings, std::filesystem::exists(Pdf())),
            std::tuple(offered, kept, false))
            << command;
    }
    EXPECT_EQ(modal_.printDialogs, 1);

    std::string texts;
    const Page page = Print(800, "").at(0); // confirmed as offered
    for (const Word& word : page)
        texts += word.text + " ";
    EXPECT_EQ(texts, "Safari Quillfen - Bookmark List Name URL Status Code ");
    EXPECT_EQ(modal_.pageSetupsOffered.back(), a);
    const QString images = Poppler("pdfimages", {"-list", "%"}).section('\n', 2, 2).simplified();
    EXPECT_TRUE(images.contains(QRegularExpression("^1 0 image 128 128 .* 144 144 ")))
        << images.toStdString();
}

} // namespace
