#pragma once

#include <QDialog>

class QLabel;

namespace manager {

// The About window: only the product's picture. A click on it, Escape, Enter or Space closes it.
class AboutWindow : public QDialog {
    Q_OBJECT
public:
    explicit AboutWindow(QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_picture = nullptr;
};

} // namespace manager
