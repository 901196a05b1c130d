// VertexRowControls: the row's widgets, its signs and its number fields.
#include "dialogs/VertexRowControls.h"

#include <QComboBox>
#include <QGridLayout>
#include <QLineEdit>
#include <QListView>

#include "dialogs/VertexListModel.h"
#include "shell/NumericFields.h"

namespace y4 {

namespace {

enum Column { kX, kY, kZ, kTextureU, kTextureV, kNormalX, kNormalY, kNormalZ };

}  // namespace

const std::array<const char*, VertexRowControls::kBoxes> VertexRowControls::kColumns = {
    "X", "Y", "Z", "TextureU", "TextureV", "NormalX", "NormalY", "NormalZ"};

VertexRowControls::VertexRowControls(QWidget& parent, QGridLayout& grid, int row,
                                     int firstBoxColumn, const QString& rowName,
                                     const QString& listName)
    : list_(new QComboBox(&parent)), model_(new VertexListModel(list_)) {
    list_->setObjectName(listName);
    list_->setAccessibleName(listName);
    // The list may hold every vertex of a large sub-entity: its width must not be measured
    // over the entries, its rows are all of one height, and its drop-down shows a few rows
    // below the box (the style's own drop-down measures every row before it opens, seconds
    // for half a million vertices).
    list_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    list_->setMinimumContentsLength(12);
    auto* view = new QListView(list_);
    view->setUniformItemSizes(true);
    list_->setView(view);
    list_->setModel(model_);
    list_->setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    grid.addWidget(list_, row, 0);
    for (int c = 0; c < kBoxes; ++c) {
        auto* box = new QLineEdit(&parent);
        const QString name = rowName + QLatin1Char(' ') + QLatin1String(kColumns[c]);
        box->setObjectName(name);
        box->setAccessibleName(name);
        box->setMinimumWidth(64);
        boxes_[static_cast<std::size_t>(c)] = box;
        grid.addWidget(box, row, firstBoxColumn + c);
    }
}

Vertex* VertexRowControls::chosenVertex() const {
    return model_->vertexAt(list_->currentIndex());
}

void VertexRowControls::show(const VertexValues& v) {
    const float shown[kBoxes] = {-v.X,       -v.Y,       -v.Z,       v.textureU,
                                 v.textureV, -v.normalX, -v.normalY, -v.normalZ};
    for (int c = 0; c < kBoxes; ++c) {
        putFloat(box(c), shown[c]);
    }
}

VertexValues VertexRowControls::read() const {
    float typed[kBoxes];
    for (int c = 0; c < kBoxes; ++c) {
        typed[c] = getFloat(box(c));
    }
    VertexValues v;
    v.X = -typed[kX];
    v.Y = -typed[kY];
    v.Z = -typed[kZ];
    v.textureU = typed[kTextureU];
    v.textureV = typed[kTextureV];
    v.normalX = -typed[kNormalX];
    v.normalY = -typed[kNormalY];
    v.normalZ = -typed[kNormalZ];
    return v;
}

void VertexRowControls::showNotApplicable() {
    for (QLineEdit* box : boxes_) {
        box->setText(QStringLiteral("n/a"));
    }
}

void VertexRowControls::clearBoxes() {
    for (QLineEdit* box : boxes_) {
        box->clear();
    }
}

void VertexRowControls::setEnabled(bool enabled) {
    list_->setEnabled(enabled);
    for (QLineEdit* box : boxes_) {
        box->setEnabled(enabled);
    }
}

void VertexRowControls::setReadOnly(bool readOnly, bool normals) {
    for (int c = 0; c < kBoxes; ++c) {
        if (normals || c < kNormalX) {
            box(c).setReadOnly(readOnly);
        }
    }
}

}  // namespace y4
