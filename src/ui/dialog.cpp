#include "ui/dialog.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>

#include "ui/services.h"

namespace ui {

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
