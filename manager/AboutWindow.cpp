#include "manager/AboutWindow.h"

#include "manager/AboutPicture.h"
#include "manager/ObjectNames.h"
#include "platform/gui/Geometry.h"

#include <QKeyEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

namespace manager {

namespace {

constexpr double kClientWidth = 5415;
constexpr double kClientHeight = 3675;

} // namespace

AboutWindow::AboutWindow(QWidget* parent) : QDialog(parent)
{
    setObjectName(objectName::aboutWindow);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Acerca De Tortavela"));
    setFixedSize(platform::twipsSize(kClientWidth, kClientHeight));
    // The picture takes no focus: the window itself does, so that its keys reach it.
    setFocusPolicy(Qt::StrongFocus);

    m_picture = new QLabel(this);
    m_picture->setObjectName(objectName::aboutPicture);
    m_picture->setPixmap(QPixmap::fromImage(drawAboutPicture()));
    m_picture->setGeometry(QRect(QPoint(0, 0), kAboutPictureSize));
    m_picture->setCursor(Qt::PointingHandCursor);
    // What the picture shows, for those who cannot see it.
    m_picture->setAccessibleName(QStringLiteral("Tortavela, tu libreta de cumpleaños"));
    m_picture->setAccessibleDescription(QStringLiteral(
        "Una tarta de cumpleaños de dos pisos con tres velas encendidas, entre globos, "
        "banderines y confeti. Un clic, Intro, Espacio o Escape cierran esta ventana."));
    m_picture->installEventFilter(this);
}

void AboutWindow::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    activateWindow();
    setFocus();
}

void AboutWindow::keyPressEvent(QKeyEvent* event)
{
    // Escape is the dialog's own; Enter and Space close it as they would press its only button.
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        accept();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}

bool AboutWindow::eventFilter(QObject* watched, QEvent* event)
{
    // A click is a press and release on the picture, as with a button.
    if (watched == m_picture && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_picture->rect().contains(mouse->position().toPoint())) {
            accept();
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

} // namespace manager
