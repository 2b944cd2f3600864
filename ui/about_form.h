#pragma once

#include <QDialog>

namespace lapwerk {

/// The About box: product name and version, a one-line description, a notice and the
/// disclaimer. Fixed size, close box only, centred on the screen when shown.
class TAboutForm : public QDialog {
    Q_OBJECT

public:
    explicit TAboutForm(QWidget* parent = nullptr);

protected:
    void showEvent(QShowEvent* event) override;
};

} // namespace lapwerk
