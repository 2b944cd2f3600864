#include "list_form.h"

#include <QFontDatabase>
#include <QGuiApplication>
#include <QPagedPaintDevice>
#include <QPalette>
#include <QScreen>
#include <QStringDecoder>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <memory>

namespace lapwerk {
namespace {

constexpr int kClientWidth = 415;
constexpr int kClientHeight = 408;
constexpr int kTabStopCharacters = 8;

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
    return font;
}

} // namespace

QString DecodeFileText(const std::string& text) {
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString decoded = utf8.decode(QByteArrayView(text.data(), qsizetype(text.size())));
    if (!utf8.hasError()) {
        return decoded;
    }
    return QString::fromLatin1(text.data(), qsizetype(text.size()));
}

TListForm::TListForm(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("ListForm"));
    setWindowTitle(QStringLiteral("Track Section List"));
    setFixedSize(kClientWidth, kClientHeight);

    TrackList = new QTextEdit(this);
    TrackList->setObjectName(QStringLiteral("TrackList"));
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

void TListForm::printReport(QPagedPaintDevice& printer) const {
    std::unique_ptr<QTextDocument> document(TrackList->document()->clone());
    document->setDefaultFont(TrackList->document()->defaultFont());
    document->setDocumentMargin(0);

    // A document with a page size is printed page by page as laid out, scaled from the layout's
    // resolution to the printer's, and without the page numbers an unpaginated print adds.
    qreal layoutDpiX = 96.0;
    qreal layoutDpiY = 96.0;
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
        layoutDpiX = screen->logicalDotsPerInchX();
        layoutDpiY = screen->logicalDotsPerInchY();
    }
    const qreal printerDpiX = printer.logicalDpiX() > 0 ? printer.logicalDpiX() : 72.0;
    const qreal printerDpiY = printer.logicalDpiY() > 0 ? printer.logicalDpiY() : 72.0;
    document->setPageSize(QSizeF(printer.width() * layoutDpiX / printerDpiX,
                                 printer.height() * layoutDpiY / printerDpiY));
    document->print(&printer);
}

} // namespace lapwerk
