// CChangeTextureNameDialog: the name box, "...", "Apply" and "Cancel".
#include "dialogs/CChangeTextureNameDialog.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "platform/PathResolver.h"
#include "platform/Prompt.h"

namespace y4 {

CChangeTextureNameDialog::CChangeTextureNameDialog(QWidget* parent)
    : QDialog(parent), name_(new QLineEdit(this)) {
    setWindowTitle(QStringLiteral("Change Texture Name"));
    name_->setObjectName(QStringLiteral("New name:"));
    name_->setAccessibleName(QStringLiteral("New name:"));
    auto* caption = new QLabel(QStringLiteral("New name:"), this);
    caption->setBuddy(name_);

    const auto make = [this](const char* text) {
        auto* button = new QPushButton(QString::fromLatin1(text), this);
        button->setObjectName(QString::fromLatin1(text));
        button->setAutoDefault(false);
        return button;
    };
    QPushButton* browse = make("...");
    browse->setAccessibleName(QStringLiteral("Browse"));
    QPushButton* apply = make("Apply");
    QPushButton* cancel = make("Cancel");
    connect(browse, &QPushButton::clicked, this, &CChangeTextureNameDialog::OnButtonBrowse);
    connect(apply, &QPushButton::clicked, this, &CChangeTextureNameDialog::OnButtonApply);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* nameRow = new QHBoxLayout;
    nameRow->addWidget(caption);
    nameRow->addWidget(name_, 1);
    nameRow->addWidget(browse);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(apply);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(nameRow);
    layout->addLayout(buttons);
    resize(360, 100);
}

void CChangeTextureNameDialog::OnButtonApply() {
    if (!prompt().askYesNo("Changing the texture to an invalid name may cause problems.  Are you "
                           "sure you want to proceed?")) {
        return;
    }
    newTextureName_ = name_->text().toStdString();
    accept();
}

void CChangeTextureNameDialog::OnButtonBrowse() {
    const FileDialogRequest request{"Change Texture Name", "BMP Files (*.BMP *.bmp)", {}, "BMP"};
    const std::optional<std::string> chosen = prompt().chooseOpenFile(request);
    if (!chosen) {
        return;
    }
    const std::string_view file = PathResolver::fileNameOf(*chosen);
    name_->setText(QString::fromStdString(std::string(file.substr(0, file.rfind('.')))));
}

}  // namespace y4
