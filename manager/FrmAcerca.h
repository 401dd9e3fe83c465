#pragma once

#include "DisabledWhileOpen.h"

#include <QWidget>

class QLabel;

// The About window: only the product's picture; a click on it closes the window.
class FrmAcerca : public QWidget {
    Q_OBJECT
public:
    // Disables `mainWindow` until this window closes. Deletes itself when closed.
    explicit FrmAcerca(QWidget* mainWindow);

protected:
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    DisabledWhileOpen m_mainWindowDisabled;
    QLabel* m_image1 = nullptr;
};
