#include "help_form.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QTextBrowser>
#include <QVBoxLayout>

// Resources in a static library are registered by hand, and only from the global namespace.
static void InitHelpResources() {
    Q_INIT_RESOURCE(help);
}

namespace lapwerk {
namespace {

const QUrl kContentsUrl(QStringLiteral("qrc:/help/index.html"));

} // namespace

THelpForm::THelpForm(QWidget* parent) : QWidget(parent, Qt::Window) {
    InitHelpResources();

    setObjectName(QStringLiteral("HelpForm"));
    setWindowTitle(QStringLiteral("Lapwerk Help"));
    resize(560, 480);

    HelpBrowser = new QTextBrowser(this);
    HelpBrowser->setObjectName(QStringLiteral("HelpBrowser"));
    HelpBrowser->setAccessibleName(QStringLiteral("Help"));
    HelpBrowser->setOpenExternalLinks(true);

    auto* contents = new QPushButton(QStringLiteral("&Contents"), this);
    auto* back = new QPushButton(QStringLiteral("&Back"), this);
    auto* forward = new QPushButton(QStringLiteral("&Forward"), this);
    back->setEnabled(false);
    forward->setEnabled(false);
    connect(contents, &QPushButton::clicked, this, [this] { showUrl(kContentsUrl); });
    connect(back, &QPushButton::clicked, HelpBrowser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, HelpBrowser, &QTextBrowser::forward);
    connect(HelpBrowser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(HelpBrowser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(HelpBrowser, &QTextBrowser::sourceChanged, this, [this] {
        const QString title = HelpBrowser->documentTitle();
        setWindowTitle(title.isEmpty() ? QStringLiteral("Lapwerk Help")
                                       : title + QStringLiteral(" - Lapwerk Help"));
    });

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(contents);
    buttons->addWidget(back);
    buttons->addWidget(forward);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(HelpBrowser);
}

QUrl THelpForm::topicUrl(int context) {
    switch (context) {
    case kMainWindowContext:
        return QUrl(QStringLiteral("qrc:/help/mainwindow.html"));
    default:
        return kContentsUrl;
    }
}

void THelpForm::showContents() {
    showUrl(kContentsUrl);
}

void THelpForm::showContext(int context) {
    showUrl(topicUrl(context));
}

QUrl THelpForm::currentUrl() const {
    return HelpBrowser->source();
}

void THelpForm::showUrl(const QUrl& url) {
    if (HelpBrowser->source() != url) {
        HelpBrowser->setSource(url);
    }
    show();
    raise();
    activateWindow();
}

} // namespace lapwerk
