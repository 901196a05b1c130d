// CChooseVertexDialog: the candidate list and the choice applied through the document.
#include "dialogs/CChooseVertexDialog.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "document/ModelDocument.h"

namespace y4 {

CChooseVertexDialog::CChooseVertexDialog(QWidget* parent, const QString& caption,
                                         std::vector<Vertex*> candidates, ModelDocument& document)
    : QDialog(parent), candidates_(std::move(candidates)), document_(document) {
    setWindowTitle(caption);
    setModal(true);
    list_ = new QComboBox(this);
    list_->setObjectName(QStringLiteral("Vertex List"));
    list_->setAccessibleName(QStringLiteral("Vertex List"));
    list_->setMinimumWidth(360);
    list_->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    for (const Vertex* v : candidates_) {
        list_->addItem(QString::fromStdString(entryText(*v)));
    }
    auto* buttons = new QDialogButtonBox(this);
    QPushButton* select =
        buttons->addButton(QStringLiteral("Select"), QDialogButtonBox::AcceptRole);
    select->setObjectName(QStringLiteral("Select"));
    QPushButton* cancel =
        buttons->addButton(QStringLiteral("Cancel"), QDialogButtonBox::RejectRole);
    cancel->setObjectName(QStringLiteral("Cancel"));
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addWidget(buttons);

    // The first candidate is the choice until the user picks another.
    if (!candidates_.empty()) {
        list_->setCurrentIndex(0);
        OnSelchangeVertexList();
    }
    connect(list_, &QComboBox::currentIndexChanged, this,
            &CChooseVertexDialog::OnSelchangeVertexList);
}

std::string CChooseVertexDialog::entryText(const Vertex& v) {
    std::string text;
    if (const SubEntity* s = v.subEntity) {
        if (s->parent) {
            s->parent->appendName(text);
            text += "; ";
        }
        s->appendName(text);
        text += "; ";
    }
    v.appendName(text);
    return text;
}

void CChooseVertexDialog::OnSelchangeVertexList() {
    const int k = list_->currentIndex();
    if (k < 0 || k >= static_cast<int>(candidates_.size())) {
        return;
    }
    document_.choosePickedVertex(candidates_[static_cast<std::size_t>(k)]);
}

void CChooseVertexDialog::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    emit redrawRequested();
}

}  // namespace y4
