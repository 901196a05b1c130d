// CNewFaceDialog: the three corner rows, their choices and made vertices, Change Winding and
// Apply.
#include "dialogs/CNewFaceDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include "dialogs/VertexListModel.h"
#include "document/ModelDocument.h"
#include "model/SubEntity.h"
#include "model/Vertex.h"
#include "platform/Prompt.h"

namespace y4 {

namespace {

QPushButton* button(const QString& text, QWidget* parent) {
    auto* made = new QPushButton(text, parent);
    made->setObjectName(text);
    made->setAutoDefault(false);
    return made;
}

}  // namespace

CNewFaceDialog::CNewFaceDialog(ModelDocument& document, SubEntity& subEntity, QWidget* parent)
    : QDialog(parent),
      document_(document),
      subEntity_(&subEntity),
      nextVertexNumber_(document.nextVertexNumber(&subEntity)) {
    setWindowTitle(QStringLiteral("New Face"));
    auto* grid = new QGridLayout;
    const char* const headings[] = {"Use Existing", "Create New"};
    for (int c = 0; c < 2; ++c) {
        grid->addWidget(new QLabel(QString::fromLatin1(headings[c]), this), 0, c);
    }
    for (int c = 0; c < VertexRowControls::kBoxes; ++c) {
        grid->addWidget(new QLabel(QString::fromLatin1(
                                       VertexRowControls::kColumns[static_cast<std::size_t>(c)]),
                                   this),
                        0, c + 2, Qt::AlignHCenter);
    }
    void (CNewFaceDialog::*const choices[])() = {&CNewFaceDialog::OnSelchangeVertex1,
                                                 &CNewFaceDialog::OnSelchangeVertex2,
                                                 &CNewFaceDialog::OnSelchangeVertex3};
    void (CNewFaceDialog::*const makers[])() = {&CNewFaceDialog::OnButtonNewVertex1,
                                                &CNewFaceDialog::OnButtonNewVertex2,
                                                &CNewFaceDialog::OnButtonNewVertex3};
    // Every vertex of the sub-entity may be a corner, also one marked deleted.
    const auto listed = std::make_shared<const std::vector<Vertex*>>(subEntity.vertices.toVector());
    for (int k = 0; k < 3; ++k) {
        const QString name = QStringLiteral("Vertex %1").arg(k + 1);
        rows_.push_back(std::make_unique<VertexRowControls>(
            *this, *grid, k + 1, 2, name, name + QStringLiteral(" Use Existing")));
        VertexRowControls& row = *rows_.back();
        row.model().setVertices(listed);
        row.list().setCurrentIndex(-1);
        row.setReadOnly(!listed->empty());
        connect(&row.list(), &QComboBox::activated, this, choices[k]);
        QPushButton* make = button(QStringLiteral("New Vertex"), this);
        make->setObjectName(name + QStringLiteral(" New Vertex"));
        make->setAccessibleName(name + QStringLiteral(" New Vertex"));
        connect(make, &QPushButton::clicked, this, makers[k]);
        grid->addWidget(make, k + 1, 1);
    }

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    QPushButton* apply = button(QStringLiteral("Apply"), this);
    QPushButton* winding = button(QStringLiteral("Change Winding"), this);
    QPushButton* close = button(QStringLiteral("Close"), this);
    connect(apply, &QPushButton::clicked, this, &CNewFaceDialog::OnButtonApply);
    connect(winding, &QPushButton::clicked, this, &CNewFaceDialog::OnButtonChangeWinding);
    connect(close, &QPushButton::clicked, this, &CNewFaceDialog::OnButtonClose);
    for (QPushButton* b : {apply, winding, close}) {
        buttons->addWidget(b);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    document_.addObserver(this);
}

CNewFaceDialog::~CNewFaceDialog() {
    document_.removeObserver(this);
}

void CNewFaceDialog::chooseExisting(int row) {
    VertexRowControls& controls = *rows_[static_cast<std::size_t>(row)];
    Vertex* vertex = controls.chosenVertex();
    if (vertex == nullptr) {
        return;
    }
    discardMade(row);
    corners_[static_cast<std::size_t>(row)] = FaceCorner::existing(vertex);
    showCorner(row);
}

void CNewFaceDialog::makeVertex(int row) {
    if (subEntity_ == nullptr) {
        return;
    }
    discardMade(row);
    corners_[static_cast<std::size_t>(row)] = FaceCorner::created({}, nextVertexNumber_++);
    rows_[static_cast<std::size_t>(row)]->list().setCurrentIndex(-1);
    showCorner(row);
}

void CNewFaceDialog::discardMade(int row) {
    FaceCorner& corner = corners_[static_cast<std::size_t>(row)];
    if (corner.source == FaceCorner::kCreated) {
        corner = FaceCorner{};
        --nextVertexNumber_;
    }
}

void CNewFaceDialog::showCorner(int row) {
    const FaceCorner& corner = corners_[static_cast<std::size_t>(row)];
    VertexRowControls& controls = *rows_[static_cast<std::size_t>(row)];
    const bool made = corner.source == FaceCorner::kCreated;
    controls.setReadOnly(!made);
    if (made) {
        controls.show(corner.values);
    } else if (corner.vertex != nullptr) {
        controls.show(VertexValues::of(*corner.vertex));
    } else {
        controls.clearBoxes();
    }
}

void CNewFaceDialog::readMade(int row) {
    FaceCorner& corner = corners_[static_cast<std::size_t>(row)];
    if (corner.source == FaceCorner::kCreated) {
        corner.values = rows_[static_cast<std::size_t>(row)]->read();
    }
}

void CNewFaceDialog::OnButtonApply() {
    if (subEntity_ == nullptr) {
        return;
    }
    for (int k = 0; k < 3; ++k) {
        readMade(k);
    }
    // The made vertices are numbered by the document in corner order after the sub-entity's
    // last, so no two of them share a name whichever order the rows were made in.
    std::array<FaceCorner, 3> corners = corners_;
    for (FaceCorner& corner : corners) {
        corner.number = -1;
    }
    created_ = document_.addFace(subEntity_, corners);
    if (created_ != nullptr) {
        accept();
    }
}

void CNewFaceDialog::OnButtonChangeWinding() {
    for (const FaceCorner& corner : corners_) {
        if (corner.source == FaceCorner::kUnset) {
            prompt().showMessage("All vertices need to be set before winding can be changed",
                                 MessageIcon::Exclamation);
            return;
        }
    }
    readMade(0);
    readMade(2);
    std::swap(corners_[0], corners_[2]);
    QComboBox& first = rows_[0]->list();
    QComboBox& third = rows_[2]->list();
    const int firstEntry = first.currentIndex();
    first.setCurrentIndex(third.currentIndex());
    third.setCurrentIndex(firstEntry);
    showCorner(0);
    showCorner(2);
}

void CNewFaceDialog::OnButtonClose() {
    reject();
}

void CNewFaceDialog::giveUp() {
    // The rows may list records that are about to go.
    subEntity_ = nullptr;
    corners_ = {};
    for (const auto& row : rows_) {
        row->model().clear();
    }
    reject();
}

}  // namespace y4
