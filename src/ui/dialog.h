#pragma once
// Base of every window: Enter does nothing unless a default button is set (only the
// string tool has one); Escape and the close box run OnCancel; runs go through the
// modal service so tests can drive them.
#include <QDialog>

class QPushButton;

namespace ui {

class Dialog : public QDialog {
    Q_OBJECT
public:
    explicit Dialog(QWidget* parent = nullptr);

    // Runs the dialog modally through services(); QDialog::Accepted or Rejected.
    int DoModal();
    // Ends the modal run with result.
    void EndDialog(int result) { done(result); }

    // The window's cancel command (Escape, the close box): OnCancel.
    void reject() override { OnCancel(); }

    // Whether windows keep their size and place between runs, per window class, in the
    // program's settings file. Off unless the application turns it on.
    static void SetRememberPlaces(bool on);

protected:
    // Enter (the dialog's default command): does nothing unless overridden or a
    // default button is set.
    virtual void OnOK() {}
    // Escape / close box: ends with Rejected unless overridden.
    virtual void OnCancel() { EndDialog(QDialog::Rejected); }

    // Enter in a one-line edit presses button.
    void SetDefaultButton(QPushButton* button);

    void keyPressEvent(QKeyEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
public:
    // The first show puts the window where it was last time, if a screen still shows it;
    // the end of a run remembers where it is.
    void setVisible(bool visible) override;
    void done(int result) override;

private:
    QPushButton* m_pDefault = nullptr;
    bool m_bPlaced = false;
};

}  // namespace ui
