// CPlaceholderToolDialog: a text and a "Close" button.
#include "dialogs/CPlaceholderToolDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace y4 {

CPlaceholderToolDialog::CPlaceholderToolDialog(const QString& caption, const QString& text,
                                               QWidget* parent)
    : CToolDialog(caption, parent) {
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(makeCloseButton());
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(text, this), 1, Qt::AlignCenter);
    layout->addLayout(buttons);
    resize(280, 160);
}

}  // namespace y4
