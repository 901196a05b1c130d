// CTexturesDialog: the list, its buttons and their enabled states.
#include "dialogs/CTexturesDialog.h"

#include <QGridLayout>
#include <QListWidget>
#include <QPushButton>

#include "dialogs/CChangeTextureNameDialog.h"
#include "document/ModelDocument.h"
#include "platform/Prompt.h"

namespace y4 {

CTexturesDialog::CTexturesDialog(ModelDocument& document, QWidget* parent)
    : CToolDialog(QStringLiteral("Textures"), parent),
      document_(document),
      list_(new QListWidget(this)) {
    list_->setObjectName(QStringLiteral("Texture List"));
    list_->setAccessibleName(QStringLiteral("Texture List"));
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setDragDropMode(QAbstractItemView::NoDragDrop);
    connect(list_, &QListWidget::itemSelectionChanged, this,
            &CTexturesDialog::OnSelchangedTextureTree);

    const auto make = [this](const char* caption, void (CTexturesDialog::*handler)()) {
        auto* button = new QPushButton(QString::fromLatin1(caption), this);
        button->setObjectName(QString::fromLatin1(caption));
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, handler);
        return button;
    };
    add_ = make("Add Texture", &CTexturesDialog::OnButtonAddTexture);
    remove_ = make("Remove Texture", &CTexturesDialog::OnButtonRemoveTexture);
    rename_ = make("Rename Texture", &CTexturesDialog::OnButtonRenameTexture);
    up_ = make("Up", &CTexturesDialog::OnButtonUp);
    down_ = make("Down", &CTexturesDialog::OnButtonDown);

    auto* layout = new QGridLayout(this);
    layout->addWidget(list_, 0, 0, 7, 1);
    int row = 0;
    for (QPushButton* button : {add_, remove_, rename_, up_, down_}) {
        layout->addWidget(button, row++, 1);
    }
    layout->setRowStretch(row++, 1);
    layout->addWidget(makeCloseButton(), row, 1);
    layout->setColumnStretch(0, 1);
    resize(360, 260);

    document_.addObserver(this);
    fillTextureList();
}

CTexturesDialog::~CTexturesDialog() {
    document_.removeObserver(this);
}

void CTexturesDialog::fillTextureList(int position) {
    list_->clear();
    if (const Reader* reader = document_.reader()) {
        int n = 0;
        for (const std::string& name : reader->bitmapNames) {
            list_->addItem(QStringLiteral("[%1] %2").arg(n++).arg(QString::fromStdString(name)));
        }
    }
    selectTextureItem(position);
    OnSelchangedTextureTree();
}

void CTexturesDialog::selectTextureItem(int position) {
    if (position >= 0 && position < list_->count()) {
        list_->setCurrentRow(position);
    } else {
        list_->clearSelection();
        list_->setCurrentRow(-1);
    }
}

int CTexturesDialog::selectedPosition() const {
    const QList<QListWidgetItem*> selected = list_->selectedItems();
    return selected.isEmpty() ? -1 : list_->row(selected.front());
}

void CTexturesDialog::OnSelchangedTextureTree() {
    const int p = selectedPosition();
    // A terrain's own bitmap stays last and keeps its name: the document refuses to touch it,
    // so its buttons are not offered.
    remove_->setEnabled(document_.canRemoveBitmap(p));
    rename_->setEnabled(document_.canRenameBitmap(p));
    up_->setEnabled(document_.canMoveBitmap(p, -1));
    down_->setEnabled(document_.canMoveBitmap(p, 1));
}

void CTexturesDialog::OnButtonAddTexture() {
    const Reader* reader = document_.reader();
    const FileDialogRequest request{"Add Texture", "BMP Files (*.BMP *.bmp)",
                                    reader ? reader->besideModel("") : std::string(), "BMP"};
    const std::optional<std::string> chosen = prompt().chooseOpenFile(request);
    if (chosen && document_.hasModel()) {
        selectAfterChange_ = 0;
        document_.addTextureFile(*chosen);
    }
    emit redrawRequested();
}

void CTexturesDialog::OnButtonRemoveTexture() {
    const int p = selectedPosition();
    if (!document_.canRemoveBitmap(p) ||
        !prompt().askYesNo("Are you sure you want to remove this texture?  You MUST remember to "
                           "update the object texture mapping if you do so")) {
        return;
    }
    selectAfterChange_ = 0;
    document_.removeBitmap(p);
    emit redrawRequested();
}

void CTexturesDialog::OnButtonRenameTexture() {
    const int p = selectedPosition();
    if (document_.canRenameBitmap(p)) {
        CChangeTextureNameDialog dialog(this);
        if (dialog.exec() == QDialog::Accepted && !dialog.newTextureName().empty()) {
            selectAfterChange_ = 0;
            document_.renameBitmap(p, dialog.newTextureName());
        }
    }
    emit redrawRequested();
}

void CTexturesDialog::OnButtonUp() {
    move(-1);
}

void CTexturesDialog::OnButtonDown() {
    move(1);
}

void CTexturesDialog::move(int offset) {
    const int p = selectedPosition();
    if (!document_.canMoveBitmap(p, offset)) {
        return;
    }
    // The moved bitmap stays selected.
    selectAfterChange_ = p + offset;
    document_.moveBitmap(p, offset);
    emit redrawRequested();
}

void CTexturesDialog::modelAboutToBeReplaced() {
    list_->clear();
}

void CTexturesDialog::bitmapsChanged() {
    fillTextureList(selectAfterChange_);
    selectAfterChange_ = 0;
}

}  // namespace y4
