// CChangeTextureNameDialog ("Change Texture Name"): the modal dialog of "Rename Texture". The
// new name is typed or taken from a chosen file's name; "Apply" asks once more, since a name
// the game cannot find breaks the texture.
#pragma once

#include <QDialog>
#include <string>

class QLineEdit;

namespace y4 {

class CChangeTextureNameDialog : public QDialog {
    Q_OBJECT

public:
    explicit CChangeTextureNameDialog(QWidget* parent);

    // The name confirmed with "Apply"; empty until then.
    const std::string& newTextureName() const { return newTextureName_; }

public slots:
    void OnButtonApply();
    // "...": the name of a chosen bitmap file, without folder and extension.
    void OnButtonBrowse();

private:
    QLineEdit* name_;
    std::string newTextureName_;
};

}  // namespace y4
