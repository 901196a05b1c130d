// CToolDialog: the pattern every modeless tool dialog follows. It is created hidden and lives
// until the editor exits; its opening button in the main window shows it and disables itself;
// "Close" (and Escape or the window's close button) hides it, asks for a redraw and enables the
// opening button again, as its destruction does.
#pragma once

#include <QDialog>

class QAbstractButton;
class QPushButton;

namespace y4 {

class CToolDialog : public QDialog {
    Q_OBJECT

public:
    CToolDialog(const QString& caption, QWidget* parent);
    ~CToolDialog() override;

    // A click on `opener` shows this dialog in front and disables `opener` until the dialog
    // closes.
    void openWith(QAbstractButton& opener);

signals:
    // The dialog was closed or is being destroyed: its opening button may be used again.
    void closed();
    // The 3D view should draw a new frame.
    void redrawRequested();

public slots:
    void OnButtonClose();
    // Escape and the window's close button end the dialog as "Close" does.
    void reject() override;

protected:
    // A "Close" push button wired to OnButtonClose.
    QPushButton* makeCloseButton();
};

}  // namespace y4
