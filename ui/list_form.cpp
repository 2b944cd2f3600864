#include "list_form.h"

#include "tool_window.h"

#include "file_text.h"
#include "print_job.h"

#include <QAbstractTextDocumentLayout>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPrinter>
#include <QScreen>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <memory>

namespace lapwerk {
namespace {

constexpr int kClientWidth = 415;
constexpr int kClientHeight = 408;
constexpr int kTabStopCharacters = 8;

/// The first family the font database calls fixed pitch, or an empty name when there is none.
QString FirstFixedPitchFamily() {
    for (const QString& family : QFontDatabase::families()) {
        if (QFontDatabase::isFixedPitch(family)) {
            return family;
        }
    }
    return QString();
}

QFont ReportFont() {
    QFont font;
    if (QFontDatabase::families().contains(QStringLiteral("Courier New"))) {
        font = QFont(QStringLiteral("Courier New"));
    } else {
        font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    }
    font.setStyleHint(QFont::TypeWriter);
    font.setPointSize(8);
    font.setBold(true);
    // Some systems name a fixed font that holds a few double-width glyphs (such as Noto Sans
    // Mono), which the font database does not count as fixed pitch; the columns of the list
    // need one whose every glyph is as wide as the next.
    if (!QFontInfo(font).fixedPitch()) {
        if (const QString family = FirstFixedPitchFamily(); !family.isEmpty()) {
            font.setFamily(family);
        }
    }
    return font;
}

} // namespace

TListForm::TListForm(QWidget* parent) : QWidget(parent) {
    MakeToolWindow(*this, Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                              Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setObjectName(QStringLiteral("ListForm"));
    setWindowTitle(QStringLiteral("Track Section List"));
    setFixedSize(kClientWidth, kClientHeight);

    TrackList = new QTextEdit(this);
    TrackList->setObjectName(QStringLiteral("TrackList"));
    TrackList->setAccessibleName(QStringLiteral("Track section list"));
    TrackList->setReadOnly(true);
    TrackList->setLineWrapMode(QTextEdit::NoWrap);
    TrackList->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    TrackList->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);

    const QFont font = ReportFont();
    TrackList->setFont(font);
    TrackList->document()->setDefaultFont(font);
    QPalette palette = TrackList->palette();
    palette.setColor(QPalette::Text, Qt::black);
    palette.setColor(QPalette::Base, Qt::white);
    TrackList->setPalette(palette);
    TrackList->setTabStopDistance(kTabStopCharacters *
                                  QFontMetricsF(font).horizontalAdvance(QLatin1Char(' ')));
    TrackList->setPlainText(QStringLiteral("TrackList"));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(TrackList);
}

void TListForm::setReportLines(const std::vector<std::string>& lines) {
    QStringList paragraphs;
    paragraphs.reserve(qsizetype(lines.size()));
    for (const std::string& line : lines) {
        paragraphs.append(DecodeFileText(line));
    }
    // Plain text keeps tabs and blanks as they are; every line becomes one block.
    TrackList->setPlainText(paragraphs.join(QLatin1Char('\n')));
}

QStringList TListForm::reportLines() const {
    QStringList lines;
    const QTextDocument* document = TrackList->document();
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        lines.append(block.text());
    }
    return lines;
}

bool TListForm::printReport(QPrinter& printer, const std::vector<std::string>& closingLines) const {
    std::unique_ptr<QTextDocument> document(TrackList->document()->clone());
    QTextCursor end(document.get());
    end.movePosition(QTextCursor::End);
    for (const std::string& line : closingLines) {
        end.insertBlock();
        end.insertText(DecodeFileText(line));
    }
    document->setDefaultFont(TrackList->document()->defaultFont());
    document->setDocumentMargin(0);

    // The text is laid out as on the screen, in pages of the printable area measured at the
    // screen's resolution, and scaled to the printer's.
    qreal layoutDpiX = 96.0;
    qreal layoutDpiY = 96.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        layoutDpiX = screen->logicalDotsPerInchX();
        layoutDpiY = screen->logicalDotsPerInchY();
    }
    const qreal printerDpiX = printer.logicalDpiX() > 0 ? printer.logicalDpiX() : 72.0;
    const qreal printerDpiY = printer.logicalDpiY() > 0 ? printer.logicalDpiY() : 72.0;
    const QSizeF pageSize(printer.width() * layoutDpiX / printerDpiX,
                          printer.height() * layoutDpiY / printerDpiY);
    document->setPageSize(pageSize);
    const int pageCount = document->pageCount();
    int firstPage = 1;
    int lastPage = pageCount;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        firstPage = qMax(1, printer.fromPage());
        lastPage = qMin(pageCount, printer.toPage() > 0 ? printer.toPage() : pageCount);
    }

    QPainter painter;
    if (!painter.begin(&printer)) {
        return false;
    }
    SendWholeStateOnFirstDraw(painter);
    painter.scale(printer.width() / pageSize.width(), printer.height() / pageSize.height());
    for (int page = firstPage; page <= lastPage; ++page) {
        if (page > firstPage) {
            printer.newPage();
        }
        const QRectF view(0, (page - 1) * pageSize.height(), pageSize.width(), pageSize.height());
        painter.save();
        painter.translate(0, -view.top());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        context.clip = view;
        context.palette.setColor(QPalette::Text, Qt::black);
        document->documentLayout()->draw(&painter, context);
        painter.restore();
    }
    return painter.end();
}

} // namespace lapwerk
