#include "about_form.h"

#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QScreen>
#include <QShowEvent>
#include <QVBoxLayout>

namespace lapwerk {
namespace {

constexpr int kClientWidth = 305;
constexpr int kClientHeight = 311;
constexpr int kMargin = 12;

// The disclaimer's lines are fixed; a smaller type keeps them whole in the fixed-size box.
QFont FittingFont(QFont font, const QString& text, int widthPixels) {
    for (qreal size = font.pointSizeF(); size > 5.0; size -= 0.5) {
        font.setPointSizeF(size);
        const QRect bounds = QFontMetrics(font).boundingRect(QRect(), Qt::AlignLeft, text);
        if (bounds.width() <= widthPixels) {
            break;
        }
    }
    return font;
}

QLabel* NewLabel(const QString& name, const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(name);
    return label;
}

} // namespace

TAboutForm::TAboutForm(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint) {
    setObjectName(QStringLiteral("AboutForm"));
    setWindowTitle(QStringLiteral("About Lapwerk 2.1"));
    setFixedSize(kClientWidth, kClientHeight);
    setModal(true);

    QLabel* product = NewLabel(QStringLiteral("ProductName"), QStringLiteral("Lapwerk"), this);
    QFont productFont = product->font();
    productFont.setPointSize(24);
    productFont.setBold(true);
    product->setFont(productFont);

    QLabel* version = NewLabel(QStringLiteral("Version"), QStringLiteral("V2.1"), this);
    QFont versionFont = version->font();
    versionFont.setPointSize(14);
    versionFont.setBold(true);
    version->setFont(versionFont);
    QPalette versionPalette = version->palette();
    versionPalette.setColor(QPalette::WindowText, Qt::red);
    version->setPalette(versionPalette);

    auto* titleRow = new QHBoxLayout;
    titleRow->addWidget(product, 0, Qt::AlignBottom);
    titleRow->addSpacing(8);
    titleRow->addWidget(version, 0, Qt::AlignBottom);
    titleRow->addStretch(1);

    QLabel* description = NewLabel(QStringLiteral("Comments"),
                                   QStringLiteral("Generic Slot race track design program"), this);
    QLabel* notice = NewLabel(QStringLiteral("Copyright"),
                              QStringLiteral("Free to use and share among slot racers"), this);

    QLabel* disclaimer =
        NewLabel(QStringLiteral("Disclaimer"),
                 QStringLiteral("Dit programma is zoals het is.  Door het gebruik ervan kunnen\n"
                                "geen rechten, garanties, verwachtingen of andere rechts-\n"
                                "achtig geneuzel worden ontleend... Have fun!"),
                 this);
    disclaimer->setTextFormat(Qt::PlainText);
    disclaimer->setFont(
        FittingFont(disclaimer->font(), disclaimer->text(), kClientWidth - 2 * kMargin));

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(kMargin, kMargin, kMargin, kMargin);
    layout->addLayout(titleRow);
    layout->addSpacing(12);
    layout->addWidget(description);
    layout->addSpacing(8);
    layout->addWidget(notice);
    layout->addStretch(1);
    layout->addWidget(disclaimer);
}

void TAboutForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    const QScreen* screen =
        parentWidget() != nullptr ? parentWidget()->screen() : QGuiApplication::primaryScreen();
    if (screen != nullptr) {
        const QRect area = screen->availableGeometry();
        QRect frame = frameGeometry();
        frame.moveCenter(area.center());
        move(frame.topLeft());
    }
}

} // namespace lapwerk
