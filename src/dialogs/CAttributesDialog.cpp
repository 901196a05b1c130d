// CAttributesDialog: the controls, the refresh for each kind of selection, the vertex-list
// choices and Apply.
#include "dialogs/CAttributesDialog.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStandardItemModel>
#include <QVBoxLayout>

#include "dialogs/VertexListModel.h"
#include "document/ModelDocument.h"
#include "files/Y4TParser.h"
#include "model/Entity.h"
#include "model/Face.h"
#include "model/SubEntity.h"
#include "model/Vertex.h"
#include "shell/NumericFields.h"

namespace y4 {

namespace {

const QString kNotApplicable = QStringLiteral("n/a");

QString textOf(const SceneObject& record) {
    return QString::fromStdString(record.name());
}

QLabel* caption(const char* text, QWidget* parent, QWidget* buddy = nullptr) {
    auto* label = new QLabel(QString::fromLatin1(text), parent);
    label->setBuddy(buddy);
    return label;
}

QPushButton* button(const char* text, QWidget* parent) {
    auto* made = new QPushButton(QString::fromLatin1(text), parent);
    made->setObjectName(QString::fromLatin1(text));
    made->setAutoDefault(false);
    return made;
}

// The sub-entity a selection belongs to, and the entity above it.
SubEntity* subEntityOf(SceneObject* record) {
    switch (record->kind()) {
        case SceneObject::kSubEntity:
            return static_cast<SubEntity*>(record);
        case SceneObject::kFace:
            return static_cast<Face*>(record)->parent;
        case SceneObject::kVertex:
            return static_cast<Vertex*>(record)->subEntity;
        default:
            return nullptr;
    }
}

Entity* entityOf(SceneObject* record) {
    if (record->kind() == SceneObject::kEntity) {
        return static_cast<Entity*>(record);
    }
    SubEntity* subEntity = subEntityOf(record);
    return subEntity ? subEntity->parent : nullptr;
}

}  // namespace

CAttributesDialog::CAttributesDialog(ModelDocument& document, QWidget* parent)
    : CToolDialog(QStringLiteral("Attributes"), parent), document_(document) {
    apply_ = button("Apply", this);
    changeWinding_ = button("Change Winding", this);
    connect(apply_, &QPushButton::clicked, this, &CAttributesDialog::OnButtonApply);
    connect(changeWinding_, &QPushButton::clicked, this, &CAttributesDialog::OnButtonChangeWinding);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(apply_);
    buttons->addWidget(changeWinding_);
    buttons->addWidget(makeCloseButton());

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(makeNameControls());
    layout->addLayout(makePlacementBoxes());
    layout->addLayout(makeVertexRows());
    layout->addLayout(buttons);

    document_.addObserver(this);
    refreshAttributes();
}

CAttributesDialog::~CAttributesDialog() {
    document_.removeObserver(this);
}

QGridLayout* CAttributesDialog::makeNameControls() {
    auto* grid = new QGridLayout;
    const auto nameBox = [this](const char* text) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(text));
        box->setAccessibleName(QString::fromLatin1(text));
        box->setMaxLength(SceneObject::kMaxNameLength);
        return box;
    };
    groupName_ = nameBox("GroupName:");
    subEntityName_ = nameBox("SubEntityName:");

    faceName_ = new QComboBox(this);
    faceName_->setEditable(true);
    faceName_->setInsertPolicy(QComboBox::NoInsert);
    faceName_->setObjectName(QStringLiteral("Face Name:"));
    faceName_->setAccessibleName(QStringLiteral("Face Name:"));
    faceName_->lineEdit()->setMaxLength(SceneObject::kMaxNameLength);
    select_ = button("Select", this);
    connect(select_, &QPushButton::clicked, this, &CAttributesDialog::OnButtonSelect);

    bitmap_ = new QComboBox(this);
    bitmap_->setObjectName(QStringLiteral("Bitmap:"));
    bitmap_->setAccessibleName(QStringLiteral("Bitmap:"));
    bitmap_->setPlaceholderText(kNotApplicable);

    grid->addWidget(caption("GroupName:", this, groupName_), 0, 0);
    grid->addWidget(groupName_, 0, 1, 1, 2);
    grid->addWidget(caption("SubEntityName:", this, subEntityName_), 0, 3);
    grid->addWidget(subEntityName_, 0, 4);
    grid->addWidget(caption("Face Name:", this, faceName_), 1, 0);
    grid->addWidget(faceName_, 1, 1);
    grid->addWidget(select_, 1, 2);
    grid->addWidget(caption("Bitmap:", this, bitmap_), 1, 3);
    grid->addWidget(bitmap_, 1, 4);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(4, 1);
    return grid;
}

QGridLayout* CAttributesDialog::makePlacementBoxes() {
    auto* grid = new QGridLayout;
    const char* const axes[] = {"X", "Y", "Z"};
    const char* const rowNames[] = {"Translate", "Rotate", "Absolute"};
    std::array<QLineEdit*, 3>* const rows[] = {&translate_, &rotate_, &absolute_};
    for (int c = 0; c < 3; ++c) {
        grid->addWidget(caption(axes[c], this), 0, c + 1, Qt::AlignHCenter);
    }
    for (int r = 0; r < 3; ++r) {
        grid->addWidget(caption(rowNames[r], this), r + 1, 0);
        for (int c = 0; c < 3; ++c) {
            auto* box = new QLineEdit(this);
            const QString name =
                QString::fromLatin1(rowNames[r]) + QLatin1Char(' ') + QLatin1String(axes[c]);
            box->setObjectName(name);
            box->setAccessibleName(name);
            (*rows[r])[static_cast<std::size_t>(c)] = box;
            grid->addWidget(box, r + 1, c + 1);
        }
    }
    // Display only: Apply never reads them.
    for (QLineEdit* box : absolute_) {
        box->setReadOnly(true);
    }
    return grid;
}

QGridLayout* CAttributesDialog::makeVertexRows() {
    auto* grid = new QGridLayout;
    grid->addWidget(caption("Vertex", this), 0, 0);
    for (int c = 0; c < VertexRowControls::kBoxes; ++c) {
        grid->addWidget(caption(VertexRowControls::kColumns[static_cast<std::size_t>(c)], this), 0,
                        c + 1, Qt::AlignHCenter);
    }
    void (CAttributesDialog::*const handlers[])() = {&CAttributesDialog::OnSelchangeVertex1,
                                                     &CAttributesDialog::OnSelchangeVertex2,
                                                     &CAttributesDialog::OnSelchangeVertex3};
    for (int k = 0; k < 3; ++k) {
        const QString name = QStringLiteral("Vertex %1").arg(k + 1);
        rows_.push_back(std::make_unique<VertexRowControls>(*this, *grid, k + 1, 1, name, name));
        // Only a user's choice counts, not the refresh's own selection of the corner.
        connect(&rows_.back()->list(), &QComboBox::activated, this, handlers[k]);
    }
    return grid;
}

void CAttributesDialog::enableFor(int kind) {
    const bool entity = kind == SceneObject::kEntity;
    const bool subEntity = kind == SceneObject::kSubEntity;
    const bool face = kind == SceneObject::kFace;
    const bool vertex = kind == SceneObject::kVertex;
    const bool any = kind >= 0;
    groupName_->setEnabled(any);
    subEntityName_->setEnabled(any && !entity);
    faceName_->setEnabled(face || vertex);
    select_->setEnabled(vertex);
    for (const auto* row : {&translate_, &rotate_, &absolute_}) {
        for (QLineEdit* box : *row) {
            box->setEnabled(any);
        }
    }
    bitmap_->setEnabled(subEntity || face || vertex);
    rows_[0]->setEnabled(face || vertex);
    rows_[1]->setEnabled(face);
    rows_[2]->setEnabled(face);
    changeWinding_->setEnabled(face);
}

void CAttributesDialog::forgetRecords() {
    chosen_ = {};
    faces_.clear();
    faceName_->clear();
    for (const auto& row : rows_) {
        row->model().clear();
    }
}

void CAttributesDialog::refreshAttributes() {
    forgetRecords();
    bitmap_->clear();
    SceneObject* record = frozen_ ? nullptr : document_.selectedRecord();
    if (!document_.hasModel() || record == nullptr) {
        showNothing();
        return;
    }
    for (const std::string& name : document_.reader()->bitmapNames) {
        bitmap_->addItem(QString::fromStdString(name));
    }
    const int kind = record->kind();
    enableFor(kind);
    showPlacement(*record);
    const Reader& reader = *document_.reader();
    const bool terrain = reader.fileType == Reader::kY4T;
    // A terrain file has no place for its root's position and angles: the boxes only show them.
    if (terrain && entityOf(record) == reader.root()) {
        for (const auto* row : {&translate_, &rotate_}) {
            for (QLineEdit* box : *row) {
                box->setEnabled(false);
            }
        }
    }
    SubEntity* subEntity = subEntityOf(record);
    if (subEntity == nullptr) {
        subEntityName_->setText(kNotApplicable);
        faceName_->setEditText(kNotApplicable);
        showBitmap(-1);
        for (const auto& row : rows_) {
            row->showNotApplicable();
        }
        return;
    }
    subEntityName_->setText(textOf(*subEntity));
    // The terrain's own record keeps its name and its picture, and no other record can take
    // that picture: a terrain file names each record's bitmap, and the terrain's is known by
    // its own record alone.
    const bool terrainRecord = terrain && subEntity->nameEquals(Y4TParser::kTerrainName);
    subEntityName_->setReadOnly(terrainRecord);
    showBitmap(subEntity->bitmapIndex);
    if (terrainRecord) {
        bitmap_->setEnabled(false);
    } else if (terrain && !reader.bitmapNames.empty() &&
               reader.bitmapNames.back() == Y4TParser::kTerrainName) {
        if (auto* entries = qobject_cast<QStandardItemModel*>(bitmap_->model())) {
            entries->item(entries->rowCount() - 1)->setEnabled(false);
        }
    }
    if (kind == SceneObject::kFace) {
        showFace(*static_cast<Face*>(record));
    } else if (kind == SceneObject::kVertex) {
        showVertex(*static_cast<Vertex*>(record));
    } else {
        faceName_->setEditText(kNotApplicable);
        for (const auto& row : rows_) {
            row->showNotApplicable();
        }
    }
}

void CAttributesDialog::showNothing() {
    enableFor(-1);
    for (QLineEdit* box : {groupName_, subEntityName_}) {
        box->setText(kNotApplicable);
    }
    for (const auto* row : {&translate_, &rotate_, &absolute_}) {
        for (QLineEdit* box : *row) {
            box->setText(kNotApplicable);
        }
    }
    faceName_->setEditText(kNotApplicable);
    for (const auto& row : rows_) {
        row->showNotApplicable();
    }
}

void CAttributesDialog::showPlacement(const SceneObject& record) {
    Entity* entity = entityOf(const_cast<SceneObject*>(&record));
    if (entity == nullptr) {
        groupName_->setText(kNotApplicable);
        for (const auto* row : {&translate_, &rotate_, &absolute_}) {
            for (QLineEdit* box : *row) {
                box->setText(kNotApplicable);
            }
        }
        return;
    }
    groupName_->setText(textOf(*entity));
    const float position[] = {entity->positionX, entity->positionY, entity->positionZ};
    const float rotation[] = {entity->rotateX, entity->rotateY, entity->rotateZ};
    for (std::size_t c = 0; c < 3; ++c) {
        putFloat(*translate_[c], -position[c]);
        putFloat(*rotate_[c], rotation[c]);
        putFloat(*absolute_[c], static_cast<float>(-entity->absolutePosition()[c]));
    }
}

void CAttributesDialog::showBitmap(int bitmapIndex) {
    // A number outside the list (none, or 255 for untextured) selects no entry.
    bitmap_->setCurrentIndex(bitmapIndex < bitmap_->count() ? bitmapIndex : -1);
}

void CAttributesDialog::showFace(Face& face) {
    faces_.push_back(&face);
    faceName_->addItem(textOf(face));
    faceName_->setCurrentIndex(0);
    Vertex* const corners[] = {face.vertexA, face.vertexB, face.vertexC};
    int cornerRows[] = {-1, -1, -1};
    auto listed = std::make_shared<std::vector<Vertex*>>();
    for (Vertex* vertex : face.parent->vertices) {
        if (vertex->deleted) {
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            if (vertex == corners[k] && cornerRows[k] < 0) {
                cornerRows[k] = static_cast<int>(listed->size());
            }
        }
        listed->push_back(vertex);
    }
    for (std::size_t k = 0; k < 3; ++k) {
        VertexRowControls& row = *rows_[k];
        row.model().setVertices(listed);
        row.list().setCurrentIndex(cornerRows[k]);
        row.setReadOnly(false);
        if (corners[k] != nullptr) {
            row.show(VertexValues::of(*corners[k]));
        } else {
            row.showNotApplicable();
        }
    }
}

void CAttributesDialog::showVertex(Vertex& vertex) {
    for (Face* face : vertex.faces) {
        faces_.push_back(face);
        faceName_->addItem(textOf(*face));
    }
    faceName_->setCurrentIndex(faces_.empty() ? -1 : 0);
    VertexRowControls& first = *rows_[0];
    first.model().setVertices(std::make_shared<const std::vector<Vertex*>>(1, &vertex));
    first.list().setCurrentIndex(0);
    first.setReadOnly(false);
    first.show(VertexValues::of(vertex));
    rows_[1]->showNotApplicable();
    rows_[2]->showNotApplicable();
}

void CAttributesDialog::chooseVertex(int row) {
    const SceneObject* record = document_.selectedRecord();
    // The slots re-wire a face's corners; a vertex's own row has nothing to choose.
    if (record == nullptr || record->kind() != SceneObject::kFace) {
        return;
    }
    VertexRowControls& controls = *rows_[static_cast<std::size_t>(row)];
    Vertex* vertex = controls.chosenVertex();
    if (vertex == nullptr) {
        return;
    }
    chosen_[static_cast<std::size_t>(row)] = vertex;
    // The second and third rows keep their normals writable: a normal typed there goes into
    // the chosen vertex.
    controls.setReadOnly(true, row == 0);
    controls.show(VertexValues::of(*vertex));
}

void CAttributesDialog::OnButtonApply() {
    SceneObject* record = document_.hasModel() ? document_.selectedRecord() : nullptr;
    if (record == nullptr) {
        return;
    }
    const int kind = record->kind();
    AttributeValues values = document_.attributesOf(record);
    values.groupName = groupName_->text().toStdString();
    if (kind != SceneObject::kEntity) {
        values.subEntityName = subEntityName_->text().toStdString();
        // Without a choice the sub-entity keeps its number, also one the list does not hold.
        if (bitmap_->currentIndex() >= 0) {
            values.bitmapIndex = bitmap_->currentIndex();
        }
    }
    if (kind == SceneObject::kFace) {
        values.faceName = faceName_->currentText().toStdString();
    }
    for (std::size_t c = 0; c < 3; ++c) {
        values.position[c] = -getFloat(*translate_[c]);
    }
    for (std::size_t c = 0; c < 3; ++c) {
        values.rotation[c] = getFloat(*rotate_[c]);
    }
    if (kind == SceneObject::kFace) {
        values.chosen = chosen_;
        for (std::size_t k = 0; k < 3; ++k) {
            values.rows[k] = rows_[k]->read();
        }
    } else if (kind == SceneObject::kVertex) {
        values.rows[0] = rows_[0]->read();
    }
    document_.applyAttributes(values);
    emit redrawRequested();
}

void CAttributesDialog::OnButtonChangeWinding() {
    SceneObject* record = document_.hasModel() ? document_.selectedRecord() : nullptr;
    if (record != nullptr && document_.canChangeWinding(record)) {
        document_.changeWinding(static_cast<Face*>(record));
    }
}

void CAttributesDialog::OnButtonSelect() {
    const int entry = faceName_->currentIndex();
    const SceneObject* record = document_.hasModel() ? document_.selectedRecord() : nullptr;
    if (record == nullptr || record->kind() != SceneObject::kVertex || entry < 0 ||
        static_cast<std::size_t>(entry) >= faces_.size()) {
        return;
    }
    document_.selectRecord(faces_[static_cast<std::size_t>(entry)]);
}

void CAttributesDialog::modelAboutToBeReplaced() {
    frozen_ = true;
    forgetRecords();
}

void CAttributesDialog::modelReplaced() {
    frozen_ = false;
    refreshAttributes();
}

void CAttributesDialog::recordsChanged(const RecordChange&) {
    refreshAttributes();
}

void CAttributesDialog::recordsAdded(const RecordSet&) {
    refreshAttributes();
}

void CAttributesDialog::recordsAboutToBeRemoved(const RecordSet&) {
    frozen_ = true;
    forgetRecords();
}

void CAttributesDialog::recordsRemoved(const RecordSet&) {
    frozen_ = false;
    refreshAttributes();
}

void CAttributesDialog::selectionChanged(const SelectionChange&) {
    refreshAttributes();
}

void CAttributesDialog::bitmapsChanged() {
    refreshAttributes();
}

}  // namespace y4
