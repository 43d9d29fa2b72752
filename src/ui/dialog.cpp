#include "ui/dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QSettings>
#include <QGuiApplication>

#include "ui/app_settings.h"

#include "ui/services.h"

namespace ui {
namespace {

bool g_rememberPlaces = false;

QString PlaceKey(const QWidget* window) {
    return QStringLiteral("Windows/") + QString::fromLatin1(window->metaObject()->className()).replace(QLatin1Char(':'), QLatin1Char('_'));
}

// Whether a screen shows enough of the place to take hold of the window: its top edge
// and a good part of its width.
bool OnSomeScreen(const QRect& place) {
    for (const QScreen* screen : QGuiApplication::screens()) {
        const QRect seen = screen->availableGeometry().intersected(place);
        if (seen.width() >= 100 && seen.height() >= 30 && seen.top() == place.top()) return true;
    }
    return false;
}

}  // namespace

void Dialog::SetRememberPlaces(bool on) { g_rememberPlaces = on; }

void Dialog::setVisible(bool visible) {
    if (visible && !m_bPlaced && g_rememberPlaces && isWindow()) {
        m_bPlaced = true;
        const std::unique_ptr<QSettings> settings = OpenSettings();
        const QRect place = settings ? settings->value(PlaceKey(this)).toRect() : QRect();
        if (place.isValid() && OnSomeScreen(place)) setGeometry(place);
    }
    QDialog::setVisible(visible);
}

void Dialog::done(int result) {
    if (g_rememberPlaces && isWindow() && isVisible()) {
        if (const std::unique_ptr<QSettings> settings = OpenSettings()) settings->setValue(PlaceKey(this), geometry());
    }
    QDialog::done(result);
}

Dialog::Dialog(QWidget* parent) : QDialog(parent) {
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
}

int Dialog::DoModal() { return services().RunModal(this); }

void Dialog::SetDefaultButton(QPushButton* button) {
    m_pDefault = button;
    if (button) button->setDefault(true);
}

void Dialog::keyPressEvent(QKeyEvent* event) {
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
            event->accept();
            // The default button answers Enter from a one-line edit; elsewhere Enter is
            // the dialog's default command.
            if (m_pDefault && m_pDefault->isEnabled() && qobject_cast<QLineEdit*>(focusWidget())) {
                m_pDefault->click();
            } else {
                OnOK();
            }
            return;
        case Qt::Key_Escape:
            event->accept();
            OnCancel();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void Dialog::closeEvent(QCloseEvent* event) {
    // The close box is the cancel command; OnCancel decides whether the window goes.
    event->ignore();
    if (isVisible()) OnCancel();
}

}  // namespace ui
