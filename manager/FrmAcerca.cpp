#include "FrmAcerca.h"

#include "AboutPicture.h"
#include "Geometry.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>

namespace {

constexpr double kClientWidth = 5415;
constexpr double kClientHeight = 3675;

} // namespace

FrmAcerca::FrmAcerca(QWidget* mainWindow)
    : QWidget(mainWindow, Qt::Dialog), m_mainWindowDisabled(mainWindow, this)
{
    setObjectName("FrmAcerca");
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("Acerca De Tortavela"));
    setFixedSize(platform::twipsSize(kClientWidth, kClientHeight));

    m_image1 = new QLabel(this);
    m_image1->setObjectName("Image1");
    m_image1->setPixmap(QPixmap::fromImage(drawAboutPicture()));
    m_image1->setGeometry(QRect(QPoint(0, 0), kAboutPictureSize));
    m_image1->setCursor(Qt::PointingHandCursor);
    m_image1->installEventFilter(this);
}

void FrmAcerca::closeEvent(QCloseEvent* event)
{
    QWidget::closeEvent(event);
    if (event->isAccepted())
        m_mainWindowDisabled.release();
}

bool FrmAcerca::eventFilter(QObject* watched, QEvent* event)
{
    // A click is a press and release on the picture, as with a button.
    if (watched == m_image1 && event->type() == QEvent::MouseButtonRelease) {
        const auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton &&
            m_image1->rect().contains(mouse->position().toPoint())) {
            close();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}
