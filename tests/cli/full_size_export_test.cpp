// PrintFullSize on a PDF writer: the pages it prints, its progress and its refusals.
#include "design_export.h"

#include "fixtures.h"

#include <QBuffer>
#include <QPageLayout>
#include <QPdfWriter>
#include <gtest/gtest.h>

#include <utility>
#include <vector>

namespace lapwerk {
namespace {

/// A 600 mm square board with its empty track at the centre, on A4 pages less 10 mm margins:
/// 4 x 3 cells, every one of them holding the outline or the begin circle.
struct FullSizeJob {
    test::Records records;
    QByteArray bytes;
    QBuffer buffer{&bytes};
    QPdfWriter writer{&buffer};

    explicit FullSizeJob(int dotsPerInch, QPageSize::PageSizeId paper = QPageSize::A4) {
        records.design->boardX = 23.62f;
        records.design->boardY = 23.62f;
        buffer.open(QIODevice::WriteOnly);
        writer.setResolution(dotsPerInch);
        writer.setPageLayout(QPageLayout(QPageSize(paper), QPageLayout::Portrait,
                                         QMarginsF(10, 10, 10, 10), QPageLayout::Millimeter));
    }

    ExportError print(const PageProgress& progress = {}) {
        // An empty board: every page, as no page holds a section.
        ExportError error = PrintFullSize(*records.design, *records.library, writer,
                                          FullSizePages::Every, progress);
        buffer.close();
        return error;
    }
};

TEST(PrintFullSize, PrintsTheOverviewAndEveryPageAtAnyResolution) {
    for (const int dotsPerInch : {72, 300, 1200}) {
        FullSizeJob job(dotsPerInch);
        std::vector<std::pair<int, int>> told;
        const ExportError error = job.print([&](int page, int pageCount) {
            told.emplace_back(page, pageCount);
            return true;
        });
        ASSERT_FALSE(error.has_value()) << *error;
        ASSERT_EQ(told.size(), 13u) << dotsPerInch;
        EXPECT_EQ(told.front(), std::make_pair(0, 13));
        EXPECT_EQ(told.back(), std::make_pair(12, 13));
        EXPECT_EQ(job.bytes.count("/Type /Page\n"), 13) << dotsPerInch;
    }
}

TEST(PrintFullSize, CancelStopsBeforeTheNextPage) {
    FullSizeJob job(300);
    const ExportError error = job.print([](int page, int) { return page < 3; });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(*error, "Printing was cancelled.");
    EXPECT_EQ(job.bytes.count("/Type /Page\n"), 3);
}

TEST(PrintFullSize, CancelBeforeTheOverviewStartsNoJob) {
    FullSizeJob job(300);
    const ExportError error = job.print([](int, int) { return false; });
    ASSERT_TRUE(error.has_value());
    EXPECT_EQ(*error, "Printing was cancelled.");
    EXPECT_TRUE(job.bytes.isEmpty());
}

TEST(PrintFullSize, RefusesAPageTooSmallBeforeTheJobStarts) {
    FullSizeJob job(300, QPageSize::A6); // 85 mm wide inside the margins
    const ExportError error = job.print();
    ASSERT_TRUE(error.has_value());
    EXPECT_NE(error->find("120 mm"), std::string::npos) << *error;
    EXPECT_TRUE(job.bytes.isEmpty());
}

TEST(PrintFullSize, LeavesTheDesignAsItWas) {
    FullSizeJob job(72);
    job.records.design->zoom = 7;
    job.records.design->tracks[0].lane1Length = 123;
    ASSERT_FALSE(job.print().has_value());
    EXPECT_EQ(job.records.design->zoom, 7);
    EXPECT_EQ(job.records.design->tracks[0].lane1Length, 123);
}

} // namespace
} // namespace lapwerk
