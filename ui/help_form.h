#pragma once

#include <QUrl>
#include <QWidget>

class QTextBrowser;

namespace lapwerk {

/// The help viewer: a browser over the program's bundled help pages, with contents, back and
/// forward buttons. Created hidden; its close box only hides it.
class THelpForm : public QWidget {
    Q_OBJECT

public:
    /// Help context of the main window; F1 there opens its topic.
    static constexpr int kMainWindowContext = 1;

    explicit THelpForm(QWidget* parent = nullptr);

    /// Shows the contents page and brings the window to the front.
    void showContents();

    /// Shows the topic with help context number `context` (the contents for an unknown number)
    /// and brings the window to the front.
    void showContext(int context);

    /// The page a help context number opens.
    static QUrl topicUrl(int context);

    /// The page that the viewer shows.
    QUrl currentUrl() const;

    /// The browser that shows the pages.
    QTextBrowser* HelpBrowser = nullptr;

private:
    void showUrl(const QUrl& url);
};

} // namespace lapwerk
