#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

#include <string>
#include <vector>

class QPrinter;
class QTextEdit;

namespace lapwerk {

/// The track section list window: one read-only text box that shows the last report built.
/// Created hidden; its close box only hides it.
class TListForm : public QWidget {
    Q_OBJECT

public:
    explicit TListForm(QWidget* parent = nullptr);

    /// Replaces the whole text with the report, one paragraph per line.
    void setReportLines(const std::vector<std::string>& lines);

    /// The report text as shown, one entry per paragraph.
    QStringList reportLines() const;

    /// Prints the text as shown, followed by `closingLines` (one paragraph each), on whole pages
    /// of `printer` (the page range it was given, or all pages): the printable area without
    /// further margins, no header, footer or page numbers. False when the printer could not
    /// start the job.
    bool printReport(QPrinter& printer, const std::vector<std::string>& closingLines = {}) const;

    /// The read-only rich text box that holds the report.
    QTextEdit* TrackList = nullptr;
};

} // namespace lapwerk
