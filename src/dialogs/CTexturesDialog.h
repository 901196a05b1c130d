// CTexturesDialog ("Textures"): the tool window over the model's bitmap list, whose positions
// the sub-entities and faces draw by. It adds a bitmap chosen as a file, removes one, moves one
// up or down and renames one through "Change Texture Name"; each is one edit of ModelDocument,
// and the list is shown afresh whenever the document's bitmaps change. Faces keep their bitmap
// numbers, so after a removal or a move they draw whatever now stands at their position.
#pragma once

#include "dialogs/CToolDialog.h"
#include "document/DocumentObserver.h"

class QListWidget;
class QPushButton;

namespace y4 {

class ModelDocument;

class CTexturesDialog : public CToolDialog, private DocumentObserver {
    Q_OBJECT

public:
    // `document` must outlive the dialog. Messages and file dialogs go through the
    // process-wide prompt.
    CTexturesDialog(ModelDocument& document, QWidget* parent);
    ~CTexturesDialog() override;

    // Lists the bitmap names ("[n] name") and selects the entry at `position` (none when the
    // list has no such entry).
    void fillTextureList(int position = 0);
    void selectTextureItem(int position);
    // The selected position; -1 when none is selected.
    int selectedPosition() const;

public slots:
    void OnButtonAddTexture();
    void OnButtonRemoveTexture();
    void OnButtonRenameTexture();
    void OnButtonUp();
    void OnButtonDown();
    void OnSelchangedTextureTree();

private:
    void move(int offset);

    void modelAboutToBeReplaced() override;
    void modelReplaced() override { fillTextureList(); }
    void bitmapsChanged() override;

    ModelDocument& document_;
    // The entry to select when the document next announces its bitmaps.
    int selectAfterChange_ = 0;
    QListWidget* list_;
    QPushButton* add_;
    QPushButton* remove_;
    QPushButton* rename_;
    QPushButton* up_;
    QPushButton* down_;
};

}  // namespace y4
