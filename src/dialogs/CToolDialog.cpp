// CToolDialog: show, close and the opening button's enabled state.
#include "dialogs/CToolDialog.h"

#include <QAbstractButton>
#include <QPushButton>

namespace y4 {

CToolDialog::CToolDialog(const QString& caption, QWidget* parent) : QDialog(parent) {
    setWindowTitle(caption);
    setModal(false);
    hide();
}

CToolDialog::~CToolDialog() {
    emit closed();
}

void CToolDialog::openWith(QAbstractButton& opener) {
    connect(&opener, &QAbstractButton::clicked, this, [this, &opener] {
        show();
        raise();
        activateWindow();
        opener.setEnabled(false);
    });
    connect(this, &CToolDialog::closed, &opener, [&opener] { opener.setEnabled(true); });
}

void CToolDialog::OnButtonClose() {
    hide();
    emit redrawRequested();
    emit closed();
}

void CToolDialog::reject() {
    OnButtonClose();
}

QPushButton* CToolDialog::makeCloseButton() {
    auto* button = new QPushButton(QStringLiteral("Close"), this);
    button->setAutoDefault(false);
    connect(button, &QPushButton::clicked, this, &CToolDialog::OnButtonClose);
    return button;
}

}  // namespace y4
